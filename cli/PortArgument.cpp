#include "PortArgument.h"

#include <QRegularExpression>

QString PortChoice::text() const {
    return device.isEmpty() ? QStringLiteral("Com %1").arg(comNumber) : device;
}

std::optional<PortChoice> parsePortArgument(const QString& argument) {
    if (argument.contains(u'/'))
        return PortChoice{0, argument};
    static const QRegularExpression com(QStringLiteral("^com ?([0-9]{1,3})$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = com.match(argument.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const int number = match.captured(1).toInt();
    if (number < 1 || number > HighestComNumber)
        return std::nullopt;
    return PortChoice{number, {}};
}
