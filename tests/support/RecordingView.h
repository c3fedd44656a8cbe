#pragma once

#include "ConfigOperations.h"
#include "ModemConnection.h"
#include "OperationObserver.h"

#include <QStringList>

#include <array>
#include <functional>

// Stands in for the window an operation reports to: holds what the panels
// and the grid show, and records in order what the operations said
// ("status: ...", "error: ..."), with the connection's modemConnected at
// each. A box is answered at once.
class RecordingView : public OperationObserver {
public:
    explicit RecordingView(const ModemConnection* connection = nullptr) : connection_(connection) {}

    InputsConfig inputs{};
    std::array<QString, PhoneBookSize + 1> grid{}; // row p for position p; row 0 is the heading
    QStringList events;
    QList<bool> connectedAt;
    int pumps = 0;
    bool closed = false;                          // the user has closed the window
    std::function<void(const QString&)> onStatus; // lets a test act midway

    PhoneBook phoneBook() const {
        PhoneBook book;
        for (int p = 1; p <= PhoneBookSize; ++p)
            book[p - 1] = grid[p];
        return book;
    }
    void showPhoneBook(const PhoneBook& book) {
        for (int p = 1; p <= PhoneBookSize; ++p)
            grid[p] = book[p - 1];
    }

    QStringList withPrefix(const QString& prefix) const {
        QStringList out;
        for (const QString& event : events)
            if (event.startsWith(prefix))
                out << event.mid(prefix.size());
        return out;
    }
    QStringList statusTexts() const { return withPrefix("status: "); }
    QStringList errors() const { return withPrefix("error: "); }
    QString status() const { return statusTexts().value(statusTexts().size() - 1); }
    // The panels and the filled rows of the grid, as the user would read them.
    QStringList window() const;

    void setStatusText(const QString& text) override {
        record("status: " + text);
        if (onStatus)
            onStatus(text);
    }
    void showModemError(const QString& text) override { record("error: " + text); }
    void pumpEvents() override {
        ++pumps;
        QCoreApplication::processEvents();
    }
    bool cancelled() const override { return closed; }

private:
    const ModemConnection* connection_;

    void record(const QString& event) {
        events << event;
        connectedAt << (connection_ && connection_->modemConnected);
    }
};

// The operations as the window runs them on what it shows: what is sent is
// taken from the view, what is read is put into it.
struct ShownRead {
    OperationEnd end = OperationEnd::Completed;
    bool complete = false;
};
inline OperationResult sendShownInputs(ModemConnection& connection, RecordingView& view) {
    return sendInputs(connection, view, view.inputs);
}
inline OperationResult setShownNumbers(ModemConnection& connection, RecordingView& view) {
    return setNumbers(connection, view, view.phoneBook());
}
inline ShownRead readInputsIntoView(ModemConnection& connection, RecordingView& view) {
    const InputsRead read = getInputs(connection, view);
    if (read.end != OperationEnd::Cancelled)
        view.inputs = applyInputsReading(view.inputs, read.arrived);
    return {read.end, read.complete};
}
inline ShownRead readNumbersIntoView(ModemConnection& connection, RecordingView& view) {
    const PhoneBookRead read = getNumbers(connection, view);
    if (read.end != OperationEnd::Cancelled)
        view.showPhoneBook(applyPhoneBookEntries(view.phoneBook(), read.arrived));
    return {read.end, read.complete};
}

#include "ConfigText.h"

inline QStringList RecordingView::window() const {
    QStringList out = describe(inputs);
    for (int p = 1; p <= PhoneBookSize; ++p)
        if (!grid[p].isEmpty())
            out << QStringLiteral("%1:%2").arg(p).arg(grid[p]);
    return out;
}
