#include "StatusClock.h"

#include <QLocale>

QString clockText(const QDateTime& now) {
    const QLocale locale;
    // The long time format may name the time zone ('t'); the clock shows the
    // time of day only.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    QString withoutZone;
    bool quoted = false;
    for (const QChar c : timeFormat) {
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u't')
            withoutZone += c;
    }
    return locale.toString(now.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(now.time(), withoutZone.trimmed());
}
