#include "OperationTexts.h"

#include "OperationRunner.h"

#include <QStringList>

QString unconfirmedPositionsText(const QList<int>& positions) {
    QStringList numbers;
    for (int p : positions)
        numbers << QString::number(p);
    return QStringLiteral("The modem did not confirm phone-book position%1 %2.")
        .arg(positions.size() == 1 ? "" : "s", spokenList(numbers));
}

QString unconfirmedInputRecordsText(const QList<int>& records) {
    QStringList what;
    for (int record : records) {
        const int input = (record - 1) / 3 + 1;
        static const char* const kinds[] = {"the settings", "the Single message",
                                            "the Double message"};
        what << QStringLiteral("%1 of input %2")
                    .arg(QLatin1String(kinds[(record - 1) % 3]))
                    .arg(input);
    }
    return QStringLiteral("The modem did not confirm %1.").arg(spokenList(what));
}

QString incompleteReadText(bool inputs, bool phoneBook) {
    if (inputs && phoneBook)
        return QStringLiteral("The input configuration and the phone book could not be read "
                              "completely from the modem. The inputs and rows not read keep what "
                              "they showed.");
    if (inputs)
        return QStringLiteral("The input configuration could not be read completely from the "
                              "modem. The inputs not read keep what they showed.");
    return QStringLiteral("The phone book could not be read completely from the modem. The rows "
                          "not read keep what they showed.");
}

QString sendInputsAfterIncompleteReadQuestion() {
    return QStringLiteral("The input configuration was not read completely from the modem. "
                          "Sending now replaces the modem's input configuration with the panels "
                          "as shown. Send anyway?");
}

QString setNumbersAfterIncompleteReadQuestion() {
    return QStringLiteral("The phone book was not read completely from the modem. Sending now "
                          "replaces the modem's phone book with the grid as shown. Send anyway?");
}
