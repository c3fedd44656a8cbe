#pragma once

#include <QByteArray>
#include <QList>

// Replies framed as the modem sends them: the echo of the query with its CR
// (when echo is on), each information line as CR LF text, then CR LF "OK" CR LF.
inline QByteArray modemDump(const QByteArray& query, const QByteArray& prefix,
                            const QList<QByteArray>& lines, bool echo = true) {
    QByteArray dump = echo ? query + '\r' : QByteArray();
    dump += "\r\n";
    for (const QByteArray& line : lines)
        dump += prefix + line + "\r\n";
    return dump + "\r\nOK\r\n";
}

inline QByteArray inputsDump(const QList<QByteArray>& lines, bool echo = true) {
    return modemDump("AT+EGINP?", "+EGINP: ", lines, echo);
}

inline QByteArray phoneDump(const QList<QByteArray>& lines, bool echo = true) {
    return modemDump("AT+EGPHN?", "+EGPHN: ", lines, echo);
}
