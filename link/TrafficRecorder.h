#pragma once

#include "TrafficRowMaker.h"
#include "TrafficRows.h"

#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>

#include <deque>
#include <functional>
#include <memory>

// "tavek.modem": every traffic row on stderr, at debug level, when enabled
// (QT_LOGGING_RULES="tavek.modem=true").
Q_DECLARE_LOGGING_CATEGORY(modemTrafficCategory)

// The file of "tavek --log FILE": the traffic rows, one a line, in UTF-8,
// each written out as it is finished so that nothing is lost when the
// program is killed.
class TrafficLogFile {
    Q_DECLARE_TR_FUNCTIONS(TrafficLogFile)

public:
    // Opens the file, emptied; null and the reason when it cannot be
    // written. A symbolic link at the path is refused and left as it is: the
    // log is never written through a link that someone else may have put there.
    static std::unique_ptr<TrafficLogFile> open(const QString& path, QString* error);
    QString path() const { return path_; }
    // False when the line could not be written whole (a full disk, a file
    // size limit); the file then ends with the last line written whole, and
    // error() says why.
    bool write(const QString& rowText);
    QString error() const { return error_; }

private:
    explicit TrafficLogFile(const QString& path) : path_(path) {}
    QString path_;
    QFile file_;
    qint64 written_ = 0; // the size of the whole lines in the file
    QString error_;
};

// The one record of the modem traffic: watches the connection's traffic and
// keeps the last rows, each stamped with the time it began. The traffic
// window shows these rows and the line still arriving; the log file and the
// logging category get each row once it is finished, in the same words.
// Recording is cheap: a row is made into text only for a file or an enabled
// category.
class TrafficRecorder final : public TrafficRowMaker {
    Q_DECLARE_TR_FUNCTIONS(TrafficRecorder)

public:
    static constexpr int DefaultMaxRows = 10000;
    explicit TrafficRecorder(int maxRows = DefaultMaxRows) : maxRows_(maxRows) {}
    // A line still arriving goes to the log as it is.
    ~TrafficRecorder() override;
    TrafficRecorder(const TrafficRecorder&) = delete;
    TrafficRecorder& operator=(const TrafficRecorder&) = delete;

    // At most this many rows are kept, the line arriving (lineArriving()) included.
    int maxRows() const { return maxRows_; }

    // The finished rows kept, oldest first.
    const std::deque<TrafficRow>& rows() const { return rows_; }
    // Every finished row gets the next number, from 0; the rows kept are
    // those numbered firstNumber() to endNumber() - 1.
    qint64 firstNumber() const { return end_ - qint64(rows_.size()); }
    qint64 endNumber() const { return end_; }
    // Forgets the finished rows kept (the line arriving goes on); the file
    // keeps what it was given.
    void clear();
    // How often clear() was called: a watcher knows what it shows is gone.
    int clears() const { return clears_; }

    // Told after every change of the rows; it must not record.
    void setChangeListener(std::function<void()> listener) { listener_ = std::move(listener); }
    // Writes every row from now on to this file too (null: to none).
    void setLogFile(std::unique_ptr<TrafficLogFile> file) { log_ = std::move(file); }
    const TrafficLogFile* logFile() const { return log_.get(); }
    // Told once, with the message for the user, when the log file cannot be
    // written: the log stops there and the recording goes on. It must not record.
    void setLogFailureListener(std::function<void(const QString& message)> listener) {
        logFailureListener_ = std::move(listener);
    }

protected:
    void rowFinished(const TrafficRow& row) override;
    void changed() override;

private:
    void keepWithinBound();
    void logFailed();

    int maxRows_;
    std::deque<TrafficRow> rows_;
    qint64 end_ = 0;
    int clears_ = 0;
    std::function<void()> listener_;
    std::unique_ptr<TrafficLogFile> log_;
    std::function<void(const QString&)> logFailureListener_;
};
