// Tavek's main window for the AT-SPI test, as a user has it once a modem is
// connected: the frames enabled, so that a reader can change a delay list
// from the keyboard. Accessibility comes from the environment
// (QT_LINUX_ACCESSIBILITY_ALWAYS_ON), as it does where a screen reader runs.
#include "MainWindow.h"

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true); // the ports folder under the test's home
    MainWindow window;
    // As the window shows while a modem's configuration is read.
    window.showLinkState(SessionFace::LinkState::Reading);
    window.show();
    window.activateWindow();
    return app.exec();
}
