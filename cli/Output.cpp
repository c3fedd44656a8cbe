#include "Output.h"

#include <cstdio>

void printLine(const QString& text) {
    std::fputs(qPrintable(text + u'\n'), stdout);
    std::fflush(stdout);
}

void printErrorLine(const QString& text) {
    std::fputs(qPrintable(text + u'\n'), stderr);
}

bool printBytes(const QByteArray& bytes) {
    const std::size_t written =
        std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
    return std::fflush(stdout) == 0 && written == std::size_t(bytes.size());
}
