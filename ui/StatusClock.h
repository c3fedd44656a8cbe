#pragma once

#include <QDateTime>
#include <QString>

// The clock panel's text: short date followed by long time, in the system's
// format, without the time zone.
QString clockText(const QDateTime& now);
