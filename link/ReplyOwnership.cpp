#include "ReplyOwnership.h"

namespace {

bool isLineBreak(QChar c) {
    return c == u'\r' || c == u'\n';
}

// Calls take(start, length) for every whole line of the text, in order,
// until it returns false.
template <typename Take> void forEachWholeLine(QStringView text, qsizetype from, Take take) {
    qsizetype start = from;
    for (qsizetype i = from; i < text.size(); ++i) {
        if (!isLineBreak(text[i]))
            continue;
        if (!take(start, i - start))
            return;
        start = i + 1;
    }
}

} // namespace

std::optional<FinalResult> resultCodeOfLine(QStringView line) {
    if (line == u"OK")
        return FinalResult::Ok;
    if (line == u"ERROR" || line.startsWith(u"+CME ERROR:") || line.startsWith(u"+CMS ERROR:"))
        return FinalResult::Error;
    return std::nullopt;
}

std::optional<FinalResult> finalResultCode(QStringView text) {
    std::optional<FinalResult> found;
    forEachWholeLine(text, 0, [&](qsizetype start, qsizetype length) {
        found = resultCodeOfLine(text.mid(start, length));
        return !found;
    });
    return found;
}

int resultCodeCount(QStringView text) {
    int count = 0;
    forEachWholeLine(text, 0, [&](qsizetype start, qsizetype length) {
        count += resultCodeOfLine(text.mid(start, length)) ? 1 : 0;
        return true;
    });
    return count;
}

QStringView OwnReply::information(QStringView received) const {
    if (!started)
        return {};
    const qsizetype until = resultAt >= 0 ? resultAt : received.size();
    return received.mid(start, until - start);
}

OwnReply ownReply(QStringView received, QStringView command, bool echoes, int owed) {
    OwnReply own;
    qsizetype echoAt = -1;
    if (echoes) {
        // The echo is the command line as it went out: its text and its CR.
        for (qsizetype at = received.indexOf(command); at >= 0;
             at = received.indexOf(command, at + 1)) {
            if (at + command.size() < received.size() && received[at + command.size()] == u'\r') {
                echoAt = at;
                break;
            }
        }
        own.started = own.echoed = echoAt >= 0;
        own.start = own.started ? echoAt + command.size() + 1 : received.size();
    } else {
        own.started = true;
    }
    int owedLeft = echoes ? 0 : owed;
    forEachWholeLine(received, 0, [&](qsizetype start, qsizetype length) {
        const QStringView line = received.mid(start, length);
        const auto code = resultCodeOfLine(line);
        if (!code)
            return true;
        const bool beforeEcho = echoes && (!own.started || start < own.start);
        if (beforeEcho || owedLeft > 0) {
            if (!beforeEcho)
                --owedLeft;
            own.lateCodes << line.toString();
            return true;
        }
        own.result = code;
        own.resultLine = line.toString();
        own.resultAt = start;
        own.end = start + length + 1;
        return false;
    });
    return own;
}

QString judgedText(QStringView command, const OwnReply& own) {
    QString text;
    if (own.echoed)
        text += command.toString() + u'\r';
    if (own.result)
        text += own.resultLine + u'\n';
    return text;
}
