#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// The information lines of a query's reply, as the modem frames them:
//   [echo of the query] CR LF  "+EGINP: " ... CR LF  ...  CR LF "OK" CR LF
// Carriage returns are dropped and the reply is split at line feeds. The
// echo is taken off the start of the line where it stands, and only lines
// that begin with the information prefix are kept, without it. A last line
// whose line feed has not arrived (the reply was cut short) is not kept.
// Everything else ("OK", blank lines, noise) is passed over, so text inside
// an information line is never touched.
QStringList informationLines(const QString& reply, QStringView query, QStringView prefix);

// The number that text begins with, the way the modem's numbers are read:
// leading blanks, tabs and line feeds skipped, an optional sign, digits, an
// optional fraction; reading stops at the first character that cannot
// continue the number. Rounded half to even to a whole number. Nothing when
// no digit comes first.
std::optional<double> leadingNumber(QStringView text);
