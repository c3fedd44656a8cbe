#pragma once

#include <QString>

#include <functional>

class QFileDialog;
class QMessageBox;
class QWidget;

// The boxes of "Open configuration…" and "Save configuration…", each
// reached through a replaceable function, so that a test can answer them
// without a person in front of the window.
struct FileDialogs {
    // A .tavek file to open, starting in folder; empty when cancelled.
    std::function<QString(const QString& folder)> openFileName;
    // Where to save, starting with the suggested path (the system's dialog
    // asks before it replaces a file); empty when cancelled.
    std::function<QString(const QString& suggested)> saveFileName;
    // "Configuration file": a warning with OK only; returns when closed.
    std::function<void(const QString& text)> fileError;

    // The real dialogs, owned by the given window.
    static FileDialogs forWindow(QWidget* owner);
};

// The dialogs themselves, unshown, for the real hooks and for tests that look at them.
QFileDialog* createOpenConfigurationDialog(QWidget* owner, const QString& folder);
QFileDialog* createSaveConfigurationDialog(QWidget* owner, const QString& suggested);
QMessageBox* createFileErrorBox(QWidget* owner, const QString& text);
