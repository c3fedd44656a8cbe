#pragma once

#include "ModemTraffic.h"
#include "TrafficRows.h"

#include <QFile>
#include <QLoggingCategory>

#include <deque>
#include <functional>
#include <memory>

// "tavek.modem": every traffic row on stderr, at debug level, when enabled
// (QT_LOGGING_RULES="tavek.modem=true").
Q_DECLARE_LOGGING_CATEGORY(modemTrafficCategory)

// The file of "tavek --log FILE": the traffic rows, one a line, in UTF-8,
// each written out as it comes so that nothing is lost when the program is
// killed.
class TrafficLogFile {
public:
    // Opens the file, emptied; null and the system's reason when it cannot be written.
    static std::unique_ptr<TrafficLogFile> open(const QString& path, QString* error);
    QString path() const { return file_.fileName(); }
    void write(const QString& rowText);

private:
    explicit TrafficLogFile(const QString& path) : file_(path) {}
    QFile file_;
};

// The one record of the modem traffic: watches the connection's traffic and
// keeps the last rows, each stamped with the time it came. The traffic
// window shows these rows; the log file and the logging category get each
// row as it is recorded, in the same words. Recording is cheap: a row is
// made into text only for a file or an enabled category.
class TrafficRecorder final : public ModemTraffic {
public:
    static constexpr int DefaultMaxRows = 10000;
    explicit TrafficRecorder(int maxRows = DefaultMaxRows) : maxRows_(maxRows) {}
    int maxRows() const { return maxRows_; }

    // The rows kept, oldest first.
    const std::deque<TrafficRow>& rows() const { return rows_; }
    // Every row recorded gets the next number, from 0; the rows kept are
    // those numbered firstNumber() to endNumber() - 1.
    qint64 firstNumber() const { return end_ - qint64(rows_.size()); }
    qint64 endNumber() const { return end_; }
    // Forgets the rows kept; the file keeps what it was given.
    void clear();

    // Told after every change of the rows; it must not record.
    void setChangeListener(std::function<void()> listener) { listener_ = std::move(listener); }
    // Writes every row from now on to this file too (null: to none).
    void setLogFile(std::unique_ptr<TrafficLogFile> file) { log_ = std::move(file); }
    const TrafficLogFile* logFile() const { return log_.get(); }

    void portOpened(const QString& device) override;
    void portClosed(const QString& device) override;
    void portLost(const QString& device) override;
    void sent(const QString& line) override;
    void received(const QString& text) override;
    void discarded(int characters) override;
    void lateResultCode(const QString& code) override;
    void collectionEnded(CollectionEnd why) override;

private:
    void record(TrafficKind kind, const QString& text);

    int maxRows_;
    std::deque<TrafficRow> rows_;
    qint64 end_ = 0;
    std::function<void()> listener_;
    std::unique_ptr<TrafficLogFile> log_;
};
