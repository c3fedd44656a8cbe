// Whatever the panels and the grid hold: every record leaves as one command
// line with exactly one CR, at its end, and no control character inside;
// each character is one Latin-1 byte.
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
        // A length, then that many UTF-16 units: any character, surrogates included.
        const int length = number(64);
        QString out;
        for (int i = 0; i < length && at_ + 1 < size_; ++i, at_ += 2)
            out += QChar(char16_t(data_[at_] | data_[at_ + 1] << 8));
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
    for (int position = 1; position <= PhoneBookSize; ++position)
        checkLine(phoneBookCommand(position, reader.text()));
    return 0;
}
