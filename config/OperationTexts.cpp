#include "OperationTexts.h"

#include "OperationRunner.h"

#include <QCoreApplication>
#include <QStringList>

QString unconfirmedPositionsText(const QList<int>& positions) {
    QStringList numbers;
    for (int p : positions)
        numbers << QString::number(p);
    // One sentence for one position and one for several, as languages differ in more than an "s".
    return (positions.size() == 1
                ? QCoreApplication::translate("OperationTexts",
                                              "The modem did not confirm phone-book position %1.")
                : QCoreApplication::translate("OperationTexts",
                                              "The modem did not confirm phone-book positions %1."))
        .arg(spokenList(numbers));
}

QString unconfirmedInputRecordsText(const QList<int>& records) {
    QStringList what;
    for (int record : records) {
        const int input = (record - 1) / 3 + 1;
        static const char* const kinds[] = {
            QT_TRANSLATE_NOOP("OperationTexts", "the settings"),
            QT_TRANSLATE_NOOP("OperationTexts", "the Single message"),
            QT_TRANSLATE_NOOP("OperationTexts", "the Double message")};
        what << QCoreApplication::translate("OperationTexts", "%1 of input %2")
                    .arg(QCoreApplication::translate("OperationTexts", kinds[(record - 1) % 3]))
                    .arg(input);
    }
    return QCoreApplication::translate("OperationTexts", "The modem did not confirm %1.")
        .arg(spokenList(what));
}

QString incompleteReadText(bool inputs, bool phoneBook) {
    if (inputs && phoneBook)
        return QCoreApplication::translate(
            "OperationTexts", "The input configuration and the phone book could not be read "
                              "completely from the modem. The inputs and rows not read keep what "
                              "they showed.");
    if (inputs)
        return QCoreApplication::translate(
            "OperationTexts", "The input configuration could not be read completely from the "
                              "modem. The inputs not read keep what they showed.");
    return QCoreApplication::translate(
        "OperationTexts", "The phone book could not be read completely from the modem. The rows "
                          "not read keep what they showed.");
}

QString sendInputsAfterIncompleteReadQuestion() {
    return QCoreApplication::translate(
        "OperationTexts", "The input configuration was not read completely from the modem. "
                          "Sending now replaces the modem's input configuration with the panels "
                          "as shown. Send anyway?");
}

QString setNumbersAfterIncompleteReadQuestion() {
    return QCoreApplication::translate(
        "OperationTexts", "The phone book was not read completely from the modem. Sending now "
                          "replaces the modem's phone book with the grid as shown. Send anyway?");
}
