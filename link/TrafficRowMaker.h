#pragma once

#include "ModemTraffic.h"
#include "TrafficRows.h"

#include <QCoreApplication>

#include <functional>
#include <optional>

// Turns the traffic's events into rows: received text joined into lines,
// every other event a row of its own. The bytes of a reply come in reads of
// any size (one by one on a real line, in bursts through a USB adapter); the
// rows come out the same however they were cut.
//
// A line ends with its line break: LF, CR LF, or a CR followed by anything
// but LF. Line breaks before the first other character begin a line instead
// of ending one, so that a modem's framing reads one row a line, with no
// empty rows between: the echo "AT<CR>", then "<CR><LF>+EGPHN: 1,...<CR><LF>"
// and "<CR><LF>OK<CR><LF>". Any other event ends the line arriving, and so do
// MaxLineCharacters: a modem that never breaks its lines still makes rows of
// bounded length.
class TrafficRowMaker : public ModemTraffic {
    Q_DECLARE_TR_FUNCTIONS(TrafficRowMaker)

public:
    static constexpr int MaxLineCharacters = 256;

    // The received line still arriving, whose row grows as bytes come; null
    // when none is.
    const TrafficRow* lineArriving() const { return arriving_ ? &*arriving_ : nullptr; }
    // Rows are stamped with the time of day this gives (the system's clock
    // unless replaced).
    void setClock(std::function<QTime()> clock) { clock_ = std::move(clock); }

    void portOpened(const QString& device) final;
    void portClosed(const QString& device) final;
    void portLost(const QString& device) final;
    void sent(const QString& line) final;
    void received(const QString& text) final;
    void discarded(int characters) final;
    void lateResultCode(const QString& code) final;
    void collectionEnded(CollectionEnd why) final;

protected:
    // Each row once it is complete, in order. The line arriving is finished
    // before the event that interrupts it.
    virtual void rowFinished(const TrafficRow& row) = 0;
    // After each event, once its rows are made and the line arriving has taken its bytes.
    virtual void changed() {}
    // Ends the line arriving here (when the watcher itself ends): what came
    // of it is its row. changed() is not told.
    void endLine();

private:
    void event(TrafficKind kind, const QString& text);
    void take(QChar c);

    std::function<QTime()> clock_ = &QTime::currentTime;
    std::optional<TrafficRow> arriving_;
    bool lineHasText_ = false;  // a character besides line breaks came
    bool endsInTextCr_ = false; // its text ended in a CR: an LF may still join it
};
