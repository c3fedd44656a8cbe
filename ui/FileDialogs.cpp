#include "FileDialogs.h"

#include "Backups.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include <memory>

namespace {

const char* const nameFilter =
    QT_TRANSLATE_NOOP("FileDialogs", "Tavek configuration (*.tavek);;All files (*)");

QString nameFilters() {
    return QCoreApplication::translate("FileDialogs", nameFilter);
}

// The chosen file, or empty when the dialog was cancelled.
QString chosen(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QFileDialog* createOpenConfigurationDialog(QWidget* owner, const QString& folder) {
    auto* dialog =
        new QFileDialog(owner, QCoreApplication::translate("FileDialogs", "Open configuration"),
                        folder, nameFilters());
    dialog->setObjectName(QStringLiteral("OpenConfigurationDialog"));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    // The automatic backups at hand: restoring one is opening it and sending it.
    // Qt's own dialog shows the side bar; the desktop's may keep its own.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    QDir().mkpath(backupsFolder());
    QList<QUrl> places = dialog->sidebarUrls();
    places << QUrl::fromLocalFile(backupsFolder());
    dialog->setSidebarUrls(places);
    return dialog;
}

QFileDialog* createSaveConfigurationDialog(QWidget* owner, const QString& suggested) {
    auto* dialog =
        new QFileDialog(owner, QCoreApplication::translate("FileDialogs", "Save configuration"),
                        suggested, nameFilters());
    dialog->setObjectName(QStringLiteral("SaveConfigurationDialog"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // A name typed without an extension gets the one the Open dialog looks for.
    dialog->setDefaultSuffix(QStringLiteral("tavek"));
    return dialog;
}

QMessageBox* createFileErrorBox(QWidget* owner, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Warning,
                                QCoreApplication::translate("FileDialogs", "Configuration file"),
                                text, QMessageBox::Ok, owner);
    box->setObjectName(QStringLiteral("FileErrorBox"));
    return box;
}

FileDialogs FileDialogs::forWindow(QWidget* owner) {
    FileDialogs dialogs;
    dialogs.openFileName = [owner](const QString& folder) {
        std::unique_ptr<QFileDialog> dialog(createOpenConfigurationDialog(owner, folder));
        return chosen(*dialog);
    };
    dialogs.saveFileName = [owner](const QString& suggested) {
        std::unique_ptr<QFileDialog> dialog(createSaveConfigurationDialog(owner, suggested));
        return chosen(*dialog);
    };
    dialogs.fileError = [owner](const QString& text) {
        std::unique_ptr<QMessageBox> box(createFileErrorBox(owner, text));
        box->exec();
    };
    return dialogs;
}
