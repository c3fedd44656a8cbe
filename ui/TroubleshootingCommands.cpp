// The toolbar's two windows for finding out what goes wrong: the modem
// traffic and the serial ports.
#include "MainWindow.h"

#include "MainToolbar.h"
#include "PortSelector.h"
#include "PortsDialog.h"
#include "TrafficWindow.h"

#include <QComboBox>
#include <QStatusBar>

#include <cstdio>

namespace {
// Long enough to be read, short enough not to hide the status for good.
constexpr int LogFailureShownMs = 15000;
} // namespace

void MainWindow::setTrafficLog(std::unique_ptr<TrafficLogFile> log) {
    // A log that cannot be written any more is said once, where the user
    // looks and where the log's reader looks, and the work goes on.
    traffic_.setLogFailureListener([this](const QString& message) {
        statusBar_->showMessage(message, LogFailureShownMs);
        std::fprintf(stderr, "tavek: %s\n", qPrintable(message));
        std::fflush(stderr);
    });
    traffic_.setLogFile(std::move(log));
}

void MainWindow::showModemTraffic() {
    if (!trafficWindow_)
        trafficWindow_ = new TrafficWindow(traffic_, this);
    trafficWindow_->show();
    trafficWindow_->raise();
    trafficWindow_->activateWindow();
}

void MainWindow::showSerialPorts() {
    if (!portsDialog_) {
        portsDialog_ = new PortsDialog(this);
        portsDialog_->deviceInUse = [this] {
            return connection_.modemConnected ? connection_.connectedDevice() : QString();
        };
        portsDialog_->linksChanged = [this] { portLinksChanged(); };
    }
    portsDialog_->show();
    // The port the user is at: the one connected, else the chosen "Com N".
    portsDialog_->choose(connection_.modemConnected ? connection_.connectedDevice()
                                                    : connection_.deviceForCommPort());
    portsDialog_->raise();
    portsDialog_->activateWindow();
}

void MainWindow::portLinksChanged() {
    // Only while not connected: the connection's device is fixed until the
    // disconnect, whatever the numbers say.
    QComboBox& selector = *toolbar_->cmbSerial();
    const int chosen = selector.currentIndex();
    fillPortSelector(selector, connection_);
    selectPort(qMax(0, chosen));
}
