#include "Dialogs.h"

#include <QCoreApplication>
#include <QMessageBox>

#include <memory>

QString confirmationText(const QStringList& lines) {
    return lines.join(QStringLiteral("\r\n"));
}

QMessageBox* createModemErrorBox(QWidget* owner, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Information,
                                QCoreApplication::translate("Dialogs", "Modem error"), text,
                                QMessageBox::Ok, owner);
    box->setObjectName(QStringLiteral("ModemErrorBox"));
    return box;
}

QMessageBox* createConfirmationBox(QWidget* owner, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::NoIcon,
                                QCoreApplication::translate("Dialogs", "Setting Reset"), text,
                                QMessageBox::Yes | QMessageBox::No, owner);
    box->setDefaultButton(QMessageBox::Yes);
    box->setObjectName(QStringLiteral("SettingResetBox"));
    return box;
}

QMessageBox* createWarningBox(QWidget* owner, const QString& title, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Warning, title, text,
                                QMessageBox::Yes | QMessageBox::No, owner);
    // Going on is the risky answer: what the modem held, or what the user
    // typed, may be lost.
    box->setDefaultButton(QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    box->setObjectName(QStringLiteral("WarningBox"));
    return box;
}

Dialogs Dialogs::forWindow(QWidget* owner) {
    Dialogs dialogs;
    dialogs.modemError = [owner](const QString& text) {
        std::unique_ptr<QMessageBox> box(createModemErrorBox(owner, text));
        box->exec();
    };
    dialogs.confirm = [owner](const QString& text) {
        std::unique_ptr<QMessageBox> box(createConfirmationBox(owner, text));
        return box->exec() == QMessageBox::Yes;
    };
    dialogs.warn = [owner](const QString& title, const QString& text) {
        std::unique_ptr<QMessageBox> box(createWarningBox(owner, title, text));
        return box->exec() == QMessageBox::Yes;
    };
    return dialogs;
}
