// Tavek: configures KVZ GSM alarm modems over a serial port.
#include "MainWindow.h"
#include "Preloader.h"
#include "StartOptions.h"
#include "TrafficRecorder.h"
#include "Translations.h"

#include <QApplication>
#include <QFileInfo>

#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>

int main(int argc, char* argv[]) {
    // Under a file-size limit (ulimit -f) a save that grows past it would end
    // the program; ignored, the write fails instead and the save says why.
    std::signal(SIGXFSZ, SIG_IGN);
    // Read before any display is needed: --help, --version and a refused
    // command line end here.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // --help and a refused command line speak the user's language too. The
    // window's QApplication needs a display, so a plain application holds the
    // translation meanwhile; without arguments there is nothing to say. It
    // reads no argument, and is given the program's file name alone, which
    // the help shows.
    QByteArray holderName = QFileInfo(arguments.value(0)).fileName().toLocal8Bit();
    int holderArgc = 1;
    char* holderArgv[] = {holderName.data(), nullptr};
    std::optional<QCoreApplication> reading;
    if (argc > 1) {
        reading.emplace(holderArgc, holderArgv);
        installTranslations(*reading);
    }
    const StartOptions options = parseStartOptions(arguments);
    reading.reset();
    if (options.exitCode)
        return *options.exitCode;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavek"));
    // The settings (the folder of the configuration files, the window's place
    // and the Com number last chosen) live beside the ports folder:
    // ~/.config/tavek/Tavek.conf.
    QApplication::setOrganizationName(QStringLiteral("tavek"));
    // Desktops match the window to tavek.desktop by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tavek.Tavek"));
    // The system's language (LANG, LANGUAGE); English where Tavek has none.
    installTranslations(app);

    // The log is opened before any window, so that a name that cannot be
    // written is said at once.
    std::unique_ptr<TrafficLogFile> trafficLog;
    if (!options.logFile.isEmpty()) {
        QString reason;
        trafficLog = TrafficLogFile::open(options.logFile, &reason);
        if (!trafficLog) {
            const QString message =
                QCoreApplication::translate("main", "tavek: cannot write the log %1: %2")
                    .arg(options.logFile, reason);
            std::fprintf(stderr, "%s\n", qPrintable(message));
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
