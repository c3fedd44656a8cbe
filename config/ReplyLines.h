#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// The lines of a query's listing, as the modem frames them:
//   [echo of the query] CR LF  "+EGINP: " ... CR LF  ...  CR LF "OK" CR LF
// The text is split at every CR and LF. Blank lines, the echo, and result
// codes pass. Lines that begin with the listing's prefix are the listing
// (kept without the prefix). Unsolicited result codes, which a modem may
// send between any two lines ("RING", "+CREG: 1", "+CMTI: "SM",3"), are
// passed over. Any other line is not recognised, a listing line whose
// prefix was damaged on the way for one, and then the listing is not whole.
// A last line whose line break has not come (the reply was cut) is not kept.
struct ListingLines {
    QStringList lines;
    bool unrecognised = false;
};
ListingLines listingLines(QStringView reply, QStringView query, QStringView prefix);

// Whether a whole line is an unsolicited result code of a modem, and not a
// line of the listing whose name is "+EGPHN" or the like: a bare word
// ("RING", "NO CARRIER") or "+NAME: ..." with a NAME unlike the listing's
// (more than two letters apart), so that a listing prefix with one byte
// damaged is never taken for one.
bool isUnsolicitedLine(QStringView line, QStringView listingPrefix);

// The number that text begins with, the way the modem's numbers are read:
// leading blanks, tabs and line feeds skipped, an optional sign, digits, an
// optional fraction; reading stops at the first character that cannot
// continue the number. Rounded half to even to a whole number. Nothing when
// no digit comes first.
std::optional<double> leadingNumber(QStringView text);
