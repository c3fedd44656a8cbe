#include "Output.h"

#include <cstdio>

void printLine(const QString& text) {
    std::fputs(qPrintable(text + u'\n'), stdout);
    std::fflush(stdout);
}

void printErrorLine(const QString& text) {
    std::fputs(qPrintable(text + u'\n'), stderr);
}

void printBytes(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
    std::fflush(stdout);
}
