// "Open configuration…" and "Save configuration…": the panels and the grid to
// and from a .tavek file. Nothing reaches the modem here; the "Set" buttons
// send what was opened.
#include "MainWindow.h"

#include "ConfigFile.h"
#include "ConfigurationCheck.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString folderKey = QStringLiteral("configurationFiles/lastFolder");
const QString suggestedName = QStringLiteral("configuration.tavek");

// Where the file dialogs start: the folder of the last file chosen, as long
// as it is there, else the documents folder, else home. An installer who
// works through fifty modems keeps their files in one place.
QString lastFolder() {
    const QString remembered = QSettings().value(folderKey).toString();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    for (const QString& folder : {remembered, documents}) {
        // A dialog told to start in a folder that is not there takes its name for a file's.
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    }
    return QDir::homePath();
}

void rememberFolderOf(const QString& path) {
    QSettings().setValue(folderKey, QFileInfo(path).absolutePath());
}

QString listed(const QString& heading, const QStringList& items) {
    return heading + QStringLiteral("\n- ") + items.join(QStringLiteral("\n- "));
}

} // namespace

void MainWindow::openConfiguration() {
    // A dialog opened from inside a running command's waits would hold that
    // command until it closed.
    if (session_.busy())
        return;
    const QString path = fileDialogs_.openFileName(lastFolder());
    if (path.isEmpty())
        return;
    rememberFolderOf(path);
    // The whole file is checked first: a bad one changes nothing.
    const ConfigurationFileReading reading = loadConfigurationFile(path);
    if (!reading.configuration) {
        fileDialogs_.fileError(
            tr("%1 was not opened.\n\n%2")
                .arg(QDir::toNativeSeparators(path), problemsText(reading.problems)));
        return;
    }
    // As if the user had typed it all: messages in the ordinary colour, no
    // message as the placeholder in the placeholder colour.
    model_.setConfiguration(*reading.configuration);
    // Nothing shown comes from an incomplete read any more, so the "Set"
    // buttons need not ask before they send it; but it is not what the
    // modem holds until it is sent.
    session_.configurationOpened();
}

void MainWindow::saveConfiguration() {
    if (session_.busy())
        return;
    const ModemConfiguration& shown = model_.configuration();
    // Said in the window's words before a file name is asked for: a file
    // that would not open again is not written.
    const QStringList problems = unsavableParts(shown);
    if (!problems.isEmpty()) {
        fileDialogs_.fileError(
            listed(tr("The configuration was not saved. Change these first:"), problems));
        return;
    }
    const QString path = fileDialogs_.saveFileName(QDir(lastFolder()).filePath(suggestedName));
    if (path.isEmpty())
        return;
    rememberFolderOf(path);
    QString error;
    if (!saveConfigurationFile(path, shown, &error))
        fileDialogs_.fileError(error);
}
