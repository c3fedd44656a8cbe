// Whatever the panels and the grid hold of what the line carries (the box,
// the grid, the file and the command line let in nothing else): every
// record leaves as one command line with exactly one CR, at its end, and no
// control character inside; each character is one Latin-1 byte; and the
// text is in it exactly as given.
#include "AtExchange.h"
#include "FuzzCheck.h"
#include "InputRecords.h"
#include "ModemText.h"
#include "PhoneRecords.h"

#include <cstdint>

namespace {

void check(bool holds, const char* what) {
    if (!holds)
        fuzzFail("fuzz_records", what);
}

// Takes the input apart into the panels' choices and texts.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    int number(int below) { return at_ < size_ ? data_[at_++] % below : 0; }
    QString text() {
        // A length, then that many printable Latin-1 characters: 32 to 126, 160 to 255.
        const int length = number(64);
        QString out;
        for (int i = 0; i < length && at_ < size_; ++i) {
            const int c = data_[at_++] % (95 + 96);
            out += QChar(char16_t(c < 95 ? 32 + c : 65 + c));
        }
        return out;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

void checkLine(const QString& record) {
    const QString line = commandLine(record);
    check(line.endsWith(QChar(13)) && line.count(QChar(13)) == 1 && !line.contains(QChar(10)),
          "a command line that is not ended by exactly one CR");
    for (QChar c : record)
        check(!isControlCharacter(c), "a control character inside a record");
    check(line.toLatin1().size() == line.size() && QString::fromLatin1(line.toLatin1()) == line,
          "a character that is not one Latin-1 byte");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader reader(data, size);
    InputsConfig inputs;
    for (InputConfig& input : inputs) {
        input.status = InputStatus(reader.number(3));
        input.restState = RestState(reader.number(2));
        input.bit = BitMode(reader.number(2));
        input.delayIndex = reader.number(11);
        input.singleMessage = {reader.text(), reader.number(2) == 1};
        input.doubleMessage = {reader.text(), reader.number(2) == 1};
    }
    const QStringList records = inputRecords(inputs);
    check(records.size() == 9, "not nine input records");
    for (const QString& record : records)
        checkLine(record);
    for (int n = 1; n <= InputCount; ++n) {
        const InputConfig& input = inputs[n - 1];
        const bool empty = input.singleMessage.isPlaceholder();
        check(records[3 * n - 2].endsWith(u'"' + (empty ? QString() : input.singleMessage.text) +
                                          u'"') &&
                  records[3 * n - 1].endsWith(
                      u'"' + (empty ? QString() : input.doubleMessage.text) + u'"'),
              "a message that is not in its record exactly as given");
    }
    for (int position = 1; position <= PhoneBookSize; ++position) {
        const QString number = reader.text();
        const QString command = phoneBookCommand(position, number);
        checkLine(command);
        check(number.isEmpty() || command.endsWith(u'"' + number + QStringLiteral("\",128")),
              "a number that is not in its command exactly as given");
    }
    return 0;
}
