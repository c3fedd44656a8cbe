#include "TrafficRecorder.h"

Q_LOGGING_CATEGORY(modemTrafficCategory, "tavek.modem", QtInfoMsg)

std::unique_ptr<TrafficLogFile> TrafficLogFile::open(const QString& path, QString* error) {
    std::unique_ptr<TrafficLogFile> log(new TrafficLogFile(path));
    if (!log->file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        if (error)
            *error = log->file_.errorString();
        return nullptr;
    }
    return log;
}

void TrafficLogFile::write(const QString& rowText) {
    file_.write((rowText + u'\n').toUtf8());
}

void TrafficRecorder::clear() {
    rows_.clear();
    if (listener_)
        listener_();
}

void TrafficRecorder::portOpened(const QString& device) {
    record(TrafficKind::Port, QStringLiteral("port opened: ") + device);
}

void TrafficRecorder::portClosed(const QString& device) {
    record(TrafficKind::Port, QStringLiteral("port closed: ") + device);
}

void TrafficRecorder::portLost(const QString& device) {
    record(TrafficKind::Port, QStringLiteral("port lost: ") + device);
}

void TrafficRecorder::sent(const QString& line) {
    record(TrafficKind::Sent, line);
}

void TrafficRecorder::received(const QString& text) {
    record(TrafficKind::Received, text);
}

void TrafficRecorder::discarded(int characters) {
    record(TrafficKind::Discarded,
           characters == 1 ? QStringLiteral("1 late character thrown away")
                           : QStringLiteral("%1 late characters thrown away").arg(characters));
}

void TrafficRecorder::lateResultCode(const QString& code) {
    record(TrafficKind::Late,
           QStringLiteral("late result code %1: it belongs to an earlier command").arg(code));
}

void TrafficRecorder::collectionEnded(CollectionEnd why) {
    switch (why) {
    case CollectionEnd::ReplyComplete:
        record(TrafficKind::CollectionEnd, QStringLiteral("end of reply: complete"));
        break;
    case CollectionEnd::TimedOut:
        record(TrafficKind::CollectionEnd, QStringLiteral("end of reply: time-out"));
        break;
    case CollectionEnd::PortLost:
        record(TrafficKind::CollectionEnd, QStringLiteral("end of reply: port lost"));
        break;
    }
}

void TrafficRecorder::record(TrafficKind kind, const QString& text) {
    rows_.push_back({QTime::currentTime(), kind, text});
    ++end_;
    if (qsizetype(rows_.size()) > maxRows_)
        rows_.pop_front();
    const bool toCategory = modemTrafficCategory().isDebugEnabled();
    if (log_ || toCategory) {
        const QString line = trafficRowText(rows_.back());
        if (log_)
            log_->write(line);
        if (toCategory)
            qCDebug(modemTrafficCategory).noquote() << line;
    }
    if (listener_)
        listener_();
}
