// Whatever bytes a configuration file holds: reading yields either a
// configuration or problems, never both; an accepted configuration holds only
// what the window can show and the line can carry; and it is written and
// read back unchanged.
#include "ConfigFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "fuzz_config_file: %s\n", what);
    std::abort();
}

// Printable Latin-1, the only characters the line carries, at most 160.
bool messageFits(const MessageText& message) {
    if (message.isPlaceholder())
        return true;
    if (message.placeholderColour || message.text.size() > StoredMessageMaxLength)
        return false;
    for (QChar c : message.text) {
        if (c.unicode() < 32 || (c.unicode() >= 127 && c.unicode() < 0xA0) || c.unicode() > 0xFF)
            return false;
    }
    return true;
}

// Free, or "+" or a digit followed by digits, at most 20 characters, not "+" alone.
bool numberFits(const QString& number) {
    if (number.isEmpty())
        return true;
    if (number == QLatin1String("+") || number.size() > 20)
        return false;
    for (qsizetype i = 0; i < number.size(); ++i) {
        const bool digit = number[i] >= u'0' && number[i] <= u'9';
        if (!digit && !(i == 0 && number[i] == u'+'))
            return false;
    }
    return true;
}

bool inputFits(const InputConfig& input) {
    const bool status = input.status == InputStatus::Active ||
                        input.status == InputStatus::Disactive ||
                        input.status == InputStatus::Neither;
    const bool rest =
        input.restState == RestState::NormallyOpen || input.restState == RestState::NormallyClosed;
    const bool bit = input.bit == BitMode::Single || input.bit == BitMode::Double;
    return status && rest && bit && input.delayIndex >= 0 && input.delayIndex <= 10 &&
           messageFits(input.singleMessage) && messageFits(input.doubleMessage);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ConfigurationFileReading reading = readConfigurationFile(bytes);
    if (reading.configuration.has_value() == !reading.problems.isEmpty())
        fail("a reading must give either a configuration or problems");
    if (!reading.configuration)
        return 0;

    // Positions 1 to 20 are the phone book's 20 places by construction.
    const ModemConfiguration& configuration = *reading.configuration;
    for (const InputConfig& input : configuration.inputs) {
        if (!inputFits(input))
            fail("an accepted input holds a value the window cannot show");
    }
    for (const QString& number : configuration.phoneBook) {
        if (!numberFits(number))
            fail("an accepted phone number is no number the modem takes");
    }

    const QByteArray text = configurationFileText(configuration);
    const ConfigurationFileReading again = readConfigurationFile(text);
    if (!again.configuration || !(*again.configuration == configuration))
        fail("written and read back, the configuration changed");
    if (configurationFileText(*again.configuration) != text)
        fail("written twice, the file text changed");
    return 0;
}
