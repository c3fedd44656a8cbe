#include "CliView.h"

#include "Output.h"

void CliView::setStatusText(const QString& text) {
    if (verbose_)
        printErrorLine(text);
}

void CliView::showModemError(const QString& text) {
    errors_ << text;
    printErrorLine(QStringLiteral("Modem error: ") + text);
}
