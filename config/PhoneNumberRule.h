#pragma once

#include <QString>
#include <QStringView>

// What the modem's phone book takes as a number: "+" or a digit, then digits
// only, at most 20 characters in all. E.164 allows at most 15 digits after
// the "+"; 20 leaves room for national prefixes and the like while keeping
// the phone-book record short. The grid, the configuration file, the check
// before saving or sending and tavek-cli all ask here.

inline constexpr int PhoneNumberMaxLength = 20;

bool isPhoneNumber(QStringView number);

// What a cell may hold while a number is being typed: nothing, a lone "+",
// or a whole number. Every longer number that is a number starts so.
bool isPhoneNumberStart(QStringView text);

// Why a text that is not empty is no number, to follow the number in a
// sentence: holds something other than digits and one leading "+"; is 25
// characters long...; empty when it is a number.
QString phoneNumberProblem(QStringView number);
