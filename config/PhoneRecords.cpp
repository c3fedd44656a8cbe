#include "PhoneRecords.h"

#include "ModemText.h"

QString phoneBookCommand(int position, const QString& number) {
    QString command = QStringLiteral("AT+EGPHN=") + QString::number(position);
    if (number.isEmpty())
        return command;
    // Not corrected in any way; only kept to what a command line can carry.
    return command + QStringLiteral(",\"") + latin1TextWithoutControls(number) +
           QStringLiteral("\",128");
}
