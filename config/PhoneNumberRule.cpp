#include "PhoneNumberRule.h"

#include <QCoreApplication>

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Digits, after one "+" at the start if there is one.
bool hasOnlyNumberCharacters(QStringView text) {
    for (qsizetype i = text.startsWith(u'+') ? 1 : 0; i < text.size(); ++i) {
        if (!isDigit(text[i]))
            return false;
    }
    return true;
}

} // namespace

bool isPhoneNumber(QStringView number) {
    return !number.isEmpty() && number != u"+" && number.size() <= PhoneNumberMaxLength &&
           hasOnlyNumberCharacters(number);
}

bool isPhoneNumberStart(QStringView text) {
    return text.isEmpty() || text == u"+" || isPhoneNumber(text);
}

QString phoneNumberProblem(QStringView number) {
    if (!hasOnlyNumberCharacters(number))
        return QCoreApplication::translate("PhoneNumberRule",
                                           "holds something other than digits and one leading "
                                           "\"+\"");
    if (number == u"+")
        return QCoreApplication::translate("PhoneNumberRule", "is a \"+\" without digits");
    if (number.size() > PhoneNumberMaxLength)
        return QCoreApplication::translate("PhoneNumberRule",
                                           "is %1 characters long; a number holds at most %2")
            .arg(number.size())
            .arg(PhoneNumberMaxLength);
    return {};
}
