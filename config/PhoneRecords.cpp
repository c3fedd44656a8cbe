#include "PhoneRecords.h"

#include "ModemText.h"

QString phoneBookCommand(int position, const QString& number) {
    QString command = QStringLiteral("AT+EGPHN=") + QString::number(position);
    if (number.isEmpty())
        return command;
    // Not corrected in any way. The grid, the file and the check before a
    // "Set" let only numbers through; anything else here is a fault of the program.
    Q_ASSERT_X(isCarriedText(number), "phoneBookCommand", "a number the line does not carry");
    return command + QStringLiteral(",\"") + number + QStringLiteral("\",128");
}
