#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;
class QMessageBox;

// The modal boxes of the main window. Each is reached through a replaceable
// function, so that a test can answer a box without a person in front of it.
struct Dialogs {
    // "Modem error": information icon, OK only; returns when closed.
    std::function<void(const QString& text)> modemError;
    // "Setting Reset": Yes / No, Yes the default, no icon. True for Yes.
    std::function<bool(const QString& text)> confirm;
    // A warning with Yes / No, No the default, titled as given ("Incomplete
    // read", "No backup", "Double message", "Unsent changes"). True for Yes.
    std::function<bool(const QString& title, const QString& text)> warn;

    // The real boxes, owned by the given window.
    static Dialogs forWindow(QWidget* owner);
};

// The lines of a confirmation box joined as the modem tools always joined
// them: carriage return and line feed.
QString confirmationText(const QStringList& lines);

// The boxes themselves, unshown, for the real hooks and for tests that look at them.
QMessageBox* createModemErrorBox(QWidget* owner, const QString& text);
QMessageBox* createConfirmationBox(QWidget* owner, const QString& text);
QMessageBox* createWarningBox(QWidget* owner, const QString& title, const QString& text);
