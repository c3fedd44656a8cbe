// The main window as the face of its session: the connection's state in the
// toolbar, the port selector and the frames; the status line; the boxes.
#include "MainWindow.h"

#include "MainToolbar.h"
#include "PortSelector.h"
#include "StatusLine.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>

void MainWindow::setStatusText(const QString& text) {
    statusBar_->setStatusText(text);
}

void MainWindow::showModemError(const QString& text) {
    dialogs_.modemError(text);
}

void MainWindow::showLinkState(LinkState state) {
    QComboBox& selector = *toolbar_->cmbSerial();
    switch (state) {
    case LinkState::Disconnected:
        toolbar_->showConnectionImage(false);
        toolbar_->setConnectedCommandsEnabled(false);
        selector.setEnabled(true);
        setFramesEnabled(false);
        initMainWindow();
        break;
    case LinkState::Checking:
        toolbar_->showConnectionImage(true);
        toolbar_->setEnabled(false);
        selector.setEnabled(false);
        break;
    case LinkState::CheckFailed:
        toolbar_->showConnectionImage(false);
        selector.setEnabled(true);
        toolbar_->setEnabled(true);
        break;
    case LinkState::Reading:
        // The frames are open while the reads run, so the user can already
        // edit what has arrived.
        setFramesEnabled(true);
        break;
    case LinkState::Connected:
        setFramesEnabled(true);
        toolbar_->setEnabled(true);
        toolbar_->setConnectedCommandsEnabled(true);
        break;
    case LinkState::Lost: {
        // As after a disconnect, but what the window shows stays, and so does
        // the chosen "Com N": the user will plug the adapter in again.
        toolbar_->showConnectionImage(false);
        toolbar_->setConnectedCommandsEnabled(false);
        setFramesEnabled(false);
        toolbar_->setEnabled(true);
        const int chosen = selector.currentIndex();
        fillPortSelector(selector, connection_);
        selectPort(qMax(0, chosen));
        selector.setEnabled(true);
        setStatusText(tr("Modem Disconnected"));
        break;
    }
    }
}

void MainWindow::setControlsEnabled(bool enabled) {
    toolbar_->setEnabled(enabled);
    setFramesEnabled(enabled);
}

bool MainWindow::confirm(const Question& question) {
    QStringList lines;
    for (const QString& line : question.lines)
        lines << QCoreApplication::translate(ModemCommandsContext, line.toUtf8().constData());
    return dialogs_.confirm(confirmationText(lines));
}

bool MainWindow::warn(Warning warning, const QString& text) {
    switch (warning) {
    case Warning::IncompleteRead:
        return dialogs_.warn(tr("Incomplete read"), text);
    case Warning::NoBackup:
        return dialogs_.warn(tr("No backup"), text);
    case Warning::DoubleMessage:
        return dialogs_.warn(tr("Double message"), text);
    case Warning::UnsentChanges:
        return dialogs_.warn(tr("Unsent changes"), text);
    }
    return false;
}
