#include "TrafficRecorder.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(modemTrafficCategory, "tavek.modem", QtInfoMsg)

std::unique_ptr<TrafficLogFile> TrafficLogFile::open(const QString& path, QString* error) {
    const QByteArray name = QFile::encodeName(path);
    const int fd =
        ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        const int cause = errno;
        struct stat status {};
        if (error) {
            // O_NOFOLLOW says ELOOP for a link at the path, as for a loop of links before it.
            *error =
                cause == ELOOP && ::lstat(name.constData(), &status) == 0 && S_ISLNK(status.st_mode)
                    ? tr("it is a symbolic link, and a log is not written through one")
                    : qt_error_string(cause);
        }
        return nullptr;
    }
    std::unique_ptr<TrafficLogFile> log(new TrafficLogFile(path));
    if (!log->file_.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered,
                         QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        if (error)
            *error = log->file_.errorString();
        return nullptr;
    }
    return log;
}

bool TrafficLogFile::write(const QString& rowText) {
    const QByteArray line = (rowText + u'\n').toUtf8();
    qint64 done = 0;
    while (done < line.size()) {
        // A short write (the limit reached within the line) is followed by
        // one that fails and says why.
        const qint64 count = file_.write(line.constData() + done, line.size() - done);
        if (count <= 0) {
            error_ = file_.errorString();
            // A reader of the log sees where it stopped, not half a row.
            file_.resize(written_);
            return false;
        }
        done += count;
    }
    written_ += done;
    return true;
}

TrafficRecorder::~TrafficRecorder() {
    listener_ = {};
    endLine();
}

void TrafficRecorder::clear() {
    rows_.clear();
    ++clears_;
    if (listener_)
        listener_();
}

void TrafficRecorder::keepWithinBound() {
    const qsizetype arriving = lineArriving() ? 1 : 0;
    while (!rows_.empty() && qsizetype(rows_.size()) + arriving > maxRows_)
        rows_.pop_front();
}

void TrafficRecorder::rowFinished(const TrafficRow& row) {
    rows_.push_back(row);
    ++end_;
    keepWithinBound();
    const bool toCategory = modemTrafficCategory().isDebugEnabled();
    if (log_ || toCategory) {
        const QString line = trafficRowText(row);
        if (log_ && !log_->write(line))
            logFailed();
        if (toCategory)
            qCDebug(modemTrafficCategory).noquote() << line;
    }
}

void TrafficRecorder::changed() {
    keepWithinBound();
    if (listener_)
        listener_();
}

void TrafficRecorder::logFailed() {
    const QString message =
        tr("The modem traffic log %1 could not be written: %2. The log stops here; the "
           "traffic window still shows the traffic.")
            .arg(log_->path(), log_->error());
    log_.reset();
    if (logFailureListener_)
        logFailureListener_(message);
}
