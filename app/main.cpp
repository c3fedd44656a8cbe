// Tavek: configures KVZ GSM alarm modems over a serial port.
#include "MainWindow.h"
#include "Preloader.h"
#include "TrafficRecorder.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <memory>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavek"));

    QCommandLineParser parser;
    const QCommandLineOption log(QStringLiteral("log"),
                                 QStringLiteral("Write the modem traffic to <file> as well."),
                                 QStringLiteral("file"));
    parser.addOption(log);
    parser.process(app);
    // The log is opened before any window, so that a name that cannot be
    // written is said at once.
    std::unique_ptr<TrafficLogFile> trafficLog;
    if (parser.isSet(log)) {
        QString reason;
        trafficLog = TrafficLogFile::open(parser.value(log), &reason);
        if (!trafficLog) {
            std::fprintf(stderr, "tavek: cannot write the log %s: %s\n",
                         qPrintable(parser.value(log)), qPrintable(reason));
            return 1;
        }
    }

    // The splash comes first; at 1.8 s it makes the main window and leaves.
    // Closing the main window ends the program.
    std::unique_ptr<MainWindow> main;
    auto* splash = new Preloader([&main, &trafficLog] {
        main = std::make_unique<MainWindow>();
        main->setTrafficLog(std::move(trafficLog));
        main->show();
    });
    splash->show();
    return app.exec();
}
