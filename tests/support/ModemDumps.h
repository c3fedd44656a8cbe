#pragma once

#include <QByteArray>
#include <QList>

// A reply framed as the modem sends it: the echo of the query with its CR
// (when echo is on), each line with its prefix as CR LF text, then CR LF "OK" CR LF.
inline QByteArray modemDump(const QByteArray& query, const QList<QByteArray>& lines,
                            bool echo = true) {
    QByteArray dump = (echo ? query + '\r' : QByteArray()) + "\r\n";
    for (const QByteArray& line : lines)
        dump += '+' + query.mid(3, 5) + ": " + line + "\r\n";
    return dump + "\r\nOK\r\n";
}
