#include "ConfigurationCheck.h"

#include "ModemText.h"
#include "PhoneNumberRule.h"

#include <QCoreApplication>

namespace {

void checkMessage(const MessageText& message, const QString& place, QStringList& problems) {
    // A box that shows the placeholder is saved as no message at all.
    if (message.isPlaceholder())
        return;
    const QString& text = message.text;
    if (characterCount(text) > StoredMessageMaxLength)
        problems << QCoreApplication::translate(
                        "ConfigurationCheck", "%1: %2 characters long; a message holds at most %3")
                        .arg(place)
                        .arg(characterCount(text))
                        .arg(StoredMessageMaxLength);
    if (const auto uncarried = firstUncarriedCharacter(text)) {
        const QChar first = uncarried->character[0];
        if (isControlCharacter(first))
            problems << QCoreApplication::translate(
                            "ConfigurationCheck",
                            "%1: holds a control character (code %2) at character %3")
                            .arg(place)
                            .arg(int(first.unicode()))
                            .arg(uncarried->number);
        else
            problems << QCoreApplication::translate(
                            "ConfigurationCheck",
                            "%1: character %2 (\"%3\") cannot be sent to the modem")
                            .arg(place)
                            .arg(uncarried->number)
                            .arg(uncarried->character);
    }
}

// "Position 3: "+" is a "+" without digits", for each position that holds
// text and no number.
QStringList numberProblems(const std::array<QString, PhoneBookSize>& phoneBook) {
    QStringList problems;
    for (int p = 1; p <= PhoneBookSize; ++p) {
        const QString& number = phoneBook[p - 1];
        // An empty number is a free position.
        if (!number.isEmpty() && !isPhoneNumber(number))
            problems << QCoreApplication::translate("ConfigurationCheck", "Position %1: \"%2\" %3")
                            .arg(p)
                            .arg(number, phoneNumberProblem(number));
    }
    return problems;
}

} // namespace

QStringList unsavableParts(const ModemConfiguration& configuration) {
    QStringList problems;
    for (int n = 1; n <= InputCount; ++n) {
        const InputConfig& input = configuration.inputs[n - 1];
        checkMessage(
            input.singleMessage,
            QCoreApplication::translate("ConfigurationCheck", "Input %1, Single message").arg(n),
            problems);
        checkMessage(
            input.doubleMessage,
            QCoreApplication::translate("ConfigurationCheck", "Input %1, Double message").arg(n),
            problems);
    }
    return problems + numberProblems(configuration.phoneBook);
}

QString unsendableNumbersText(const PhoneBook& phoneBook) {
    const QStringList problems = numberProblems(phoneBook);
    if (problems.isEmpty())
        return {};
    return QCoreApplication::translate("ConfigurationCheck",
                                       "The phone numbers were not sent. Complete or empty "
                                       "these positions first:") +
           QStringLiteral("\n- ") + problems.join(QStringLiteral("\n- "));
}
