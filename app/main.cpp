// Tavek: configures KVZ GSM alarm modems over a serial port.
#include "MainWindow.h"
#include "Preloader.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavek"));

    // The splash comes first; at 1.8 s it makes the main window and leaves.
    // Closing the main window ends the program.
    std::unique_ptr<MainWindow> main;
    auto* splash = new Preloader([&main] {
        main = std::make_unique<MainWindow>();
        main->show();
    });
    splash->show();
    return app.exec();
}
