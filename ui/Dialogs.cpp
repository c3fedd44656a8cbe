#include "Dialogs.h"

#include <QMessageBox>

#include <memory>

QString confirmationText(const QStringList& lines) {
    return lines.join(QStringLiteral("\r\n"));
}

QMessageBox* createModemErrorBox(QWidget* owner, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Modem error"), text,
                                QMessageBox::Ok, owner);
    box->setObjectName(QStringLiteral("ModemErrorBox"));
    return box;
}

QMessageBox* createConfirmationBox(QWidget* owner, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Setting Reset"), text,
                                QMessageBox::Yes | QMessageBox::No, owner);
    box->setDefaultButton(QMessageBox::Yes);
    box->setObjectName(QStringLiteral("SettingResetBox"));
    return box;
}

QMessageBox* createSendAnywayBox(QWidget* owner, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Incomplete read"), text,
                                QMessageBox::Yes | QMessageBox::No, owner);
    // Sending over what could not be read is the risky answer.
    box->setDefaultButton(QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    box->setObjectName(QStringLiteral("SendAnywayBox"));
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
    dialogs.sendAnyway = [owner](const QString& text) {
        std::unique_ptr<QMessageBox> box(createSendAnywayBox(owner, text));
        return box->exec() == QMessageBox::Yes;
    };
    return dialogs;
}
