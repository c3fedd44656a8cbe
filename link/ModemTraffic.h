#pragma once

#include <QList>
#include <QString>

// What crosses the line and what happens to the port, for whoever watches:
// the traffic window, a log file, the command line's --verbose. Every event
// is reported as it happens; a watcher stamps it with its own clock.
class ModemTraffic {
public:
    // Why a collection of a reply ended.
    enum class CollectionEnd {
        ReplyComplete, // the completion rule was met (the final result code came)
        TimedOut,      // its time-out passed first
        PortLost,      // the device went away
    };

    virtual ~ModemTraffic() = default;
    virtual void portOpened(const QString& device) { Q_UNUSED(device); }
    virtual void portClosed(const QString& device) { Q_UNUSED(device); }
    virtual void portLost(const QString& device) { Q_UNUSED(device); }
    // A command line as it is written, its CR included.
    virtual void sent(const QString& line) { Q_UNUSED(line); }
    // What one read brought, exactly as it came: a reply cut or late shows as such.
    virtual void received(const QString& text) { Q_UNUSED(text); }
    // Characters that came after their command's collection ended and were
    // thrown away before the next command (they were reported as received).
    virtual void discarded(int characters) { Q_UNUSED(characters); }
    // A final result code ("OK", "ERROR", ...) that belongs to an earlier
    // command: it came before the current command's echo, or while an
    // earlier command still owed its own. It confirms and fails nothing.
    virtual void lateResultCode(const QString& code) { Q_UNUSED(code); }
    virtual void collectionEnded(CollectionEnd why) { Q_UNUSED(why); }
};

// Hands every event on to any number of watchers.
class ModemTrafficFanOut final : public ModemTraffic {
public:
    void add(ModemTraffic* watcher);
    void remove(ModemTraffic* watcher);
    bool empty() const { return watchers_.isEmpty(); }

    void portOpened(const QString& device) override;
    void portClosed(const QString& device) override;
    void portLost(const QString& device) override;
    void sent(const QString& line) override;
    void received(const QString& text) override;
    void discarded(int characters) override;
    void lateResultCode(const QString& code) override;
    void collectionEnded(CollectionEnd why) override;

private:
    QList<ModemTraffic*> watchers_;
};
