#include "CliFace.h"

#include "Console.h"

#include <QCoreApplication>
#include <QRegularExpression>

void CliFace::setStatusText(const QString& text) {
    if (verbose_)
        console_.error(text);
}

void CliFace::showModemError(const QString& text) {
    errors_ << text;
    console_.error(QCoreApplication::translate("TavekCli", "Modem error: %1").arg(text));
}

bool CliFace::warn(Warning warning, const QString& text) {
    // A Double message that would go unsent is the user's own file: --yes
    // says to send it so. The others protect what the modem holds.
    if (warning == Warning::DoubleMessage && yes_)
        return true;
    refused_ = warning;
    // The question at its end is for a window's user; here nothing is sent.
    QString said = text;
    const qsizetype question = said.lastIndexOf(QRegularExpression(QStringLiteral("[.\n] ?")));
    if (said.endsWith(u'?') && question > 0)
        said = said.left(question + 1).trimmed();
    showModemError(said + u' ' + QCoreApplication::translate("TavekCli", "Nothing was sent."));
    return false;
}

void CliFace::showWriteProblems(const QStringList& unconfirmed, const QStringList&) {
    if (!unconfirmed.isEmpty())
        showModemError(unconfirmed.join(u'\n'));
}
