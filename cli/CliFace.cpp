#include "CliFace.h"

#include "Console.h"

#include <QCoreApplication>

void CliFace::setStatusText(const QString& text) {
    if (verbose_)
        console_.error(text);
}

void CliFace::showModemError(const QString& text) {
    errors_ << text;
    console_.error(QCoreApplication::translate("tavek-cli", "Modem error: %1").arg(text));
}
