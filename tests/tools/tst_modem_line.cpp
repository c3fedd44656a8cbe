// The modem model on a clock of the test's own: what a modem sends back, in
// which order and when, byte for byte. The pseudo-terminal tests prove the
// pacing on the real clock; these prove what the knobs of the model do.
#include "ModemLine.h"

#include <QtTest>

using Bytes = QByteArray;
using TimePoint = ModemLine::TimePoint;
using std::chrono::milliseconds;

namespace {

// The program's side: every byte with the moment it was handed over.
struct Program final : ModemLine::ProgramSide {
    std::vector<std::pair<TimePoint, char>> bytes;
    bool takesBytes() override { return true; }
    qsizetype hand(const char* data, qsizetype count) override {
        for (qsizetype i = 0; i < count; ++i)
            bytes.push_back({now, data[i]});
        return count;
    }
    TimePoint now{};
    Bytes all() const {
        Bytes out;
        for (const auto& byte : bytes)
            out += byte.second;
        return out;
    }
    // When the n-th byte (from 0) was handed over, in ms from the start.
    double msAt(qsizetype n) const {
        return std::chrono::duration<double, std::milli>(
                   bytes.at(size_t(n)).first.time_since_epoch())
            .count();
    }
};

// Writes the lines at the start and runs the model, a millisecond at a time, for the time given.
Program run(ModemLine& line, const QList<Bytes>& written, int ms) {
    Program program;
    for (const Bytes& bytes : written)
        line.takeFromProgram(bytes, TimePoint{});
    for (int t = 0; t <= ms; ++t) {
        program.now = TimePoint{} + milliseconds(t);
        line.advance(program.now, program);
    }
    return program;
}

ModemLine modem() {
    ModemLine line{TimePoint{}};
    line.setProcessingMs(20);
    return line;
}

} // namespace

class ModemLineTest : public QObject {
    Q_OBJECT

private slots:
    // What comes back for each knob, whole.
    void repliesAsTheKnobsSay_data() {
        QTest::addColumn<QString>("knob");
        QTest::addColumn<QList<Bytes>>("written");
        QTest::addColumn<Bytes>("answer");
        QTest::newRow("echo, then the reply")
            << "" << QList<Bytes>{"AT\r"} << Bytes("AT\r\r\nOK\r\n");
        QTest::newRow("an echo ended by CR LF")
            << "echo CR LF" << QList<Bytes>{"AT\r"} << Bytes("AT\r\n\r\nOK\r\n");
        QTest::newRow("no echo") << "no echo" << QList<Bytes>{"AT\r"} << Bytes("\r\nOK\r\n");
        // A modem busy with one line echoes the next only once it has answered.
        QTest::newRow("one line at a time") << "slow AT" << QList<Bytes>{"AT\r", "AT&W\r"}
                                            << Bytes("AT\r\r\nOK\r\nAT&W\r\r\nOK\r\n");
        QTest::newRow("stray lines in a listing")
            << "strays" << QList<Bytes>{"AT+EGPHN?\r"}
            << Bytes("AT+EGPHN?\r\r\n\r\nRING\r\n+EGPHN: 1,\"+391\",128\r\n\r\n+CREG: 1\r\n"
                     "+EGPHN: 2,\"+392\",128\r\n\r\nOK\r\n");
        QTest::newRow("a damaged reply byte")
            << "damage" << QList<Bytes>{"AT+EGPHN?\r"}
            << Bytes(
                   "AT+EGPHN?\r\r\n+EGPHN: 1,\"+391\",128\r\n+EGPHX: 2,\"+392\",128\r\n\r\nOK\r\n");
        QTest::newRow("a lost reply byte")
            << "lost" << QList<Bytes>{"AT+EGPHN?\r"}
            << Bytes(
                   "AT+EGPHN?\r\r\n+EGPHN: 1,\"+391\",128\r\n+EGPHN: ,\"+392\",128\r\n\r\nOK\r\n");
    }
    void repliesAsTheKnobsSay() {
        QFETCH(QString, knob);
        QFETCH(QList<Bytes>, written);
        QFETCH(Bytes, answer);
        ModemLine line = modem();
        line.commands().phoneBook[0] = "+391";
        line.commands().phoneBook[1] = "+392";
        line.setEcho(knob != "no echo");
        line.setEchoLineFeed(knob == "echo CR LF");
        if (knob == "slow AT")
            line.setProcessingMsFor("AT", 300);
        if (knob == "strays")
            line.commands().strayLinesInListings = {{0, "RING"}, {1, "+CREG: 1"}};
        if (knob == "damage")
            line.setDamage("AT+EGPHN?", 29, 'X');
        if (knob == "lost")
            line.setDamage("AT+EGPHN?", 32, std::nullopt);
        QCOMPARE(run(line, written, 1000).all(), answer);
    }

    // The result code comes so much after the line break in front of it.
    void aLateResultCodeComesLate() {
        ModemLine line = modem();
        line.setLateResultMsFor("AT", 30);
        const Program program = run(line, {"AT\r"}, 500);
        QCOMPARE(program.all(), Bytes("AT\r\r\nOK\r\n"));
        // The CR LF 20 ms after the CR arrived, the "O" 30 ms after it.
        QVERIFY(program.msAt(3) >= 3 * 1.04 + 20 && program.msAt(3) < 3 * 1.04 + 25);
        QVERIFY(program.msAt(5) >= program.msAt(3) + 30);
        const auto& received = line.received();
        QCOMPARE(received.size(), size_t(1));
        QCOMPARE(received[0].echoEnd, 3);   // after "AT\r"
        QCOMPARE(received[0].resultEnd, 8); // after "\r\nOK\r"
    }

    // An unsolicited line comes between lines, never inside the echo of one.
    void anUnsolicitedLineWaitsForTheLineBeingEchoed() {
        ModemLine line = modem();
        line.sendUnsolicitedAt(TimePoint{} + milliseconds(5), "RING");
        const Program program = run(line, {"AT+EGINP=1,1,0,\"O\",\"S\"\r"}, 500);
        QVERIFY2(program.all().startsWith("AT+EGINP=1,1,0,\"O\",\"S\"\r\r\nRING\r\n") ||
                     program.all().startsWith("AT+EGINP=1,1,0,\"O\",\"S\"\r\r\nOK\r\n\r\nRING"),
                 program.all().constData());
    }
};

QTEST_APPLESS_MAIN(ModemLineTest)
#include "tst_modem_line.moc"
