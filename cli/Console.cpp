#include "Console.h"

#include <QJsonDocument>

void Console::line(const QString& text) {
    if (quiet || !out_)
        return;
    std::fputs(qPrintable(text + u'\n'), out_);
    std::fflush(out_);
}

void Console::error(const QString& text) {
    if (!err_)
        return;
    std::fputs(qPrintable(text + u'\n'), err_);
    std::fflush(err_);
}

bool Console::bytes(const QByteArray& bytes) {
    if (!out_)
        return true;
    const std::size_t written = std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), out_);
    return std::fflush(out_) == 0 && written == std::size_t(bytes.size());
}

void Console::json(const QJsonObject& object) {
    bytes(QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
}
