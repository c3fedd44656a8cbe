#pragma once

#include <QLocale>

class QCoreApplication;

// Tavek's texts in the user's language, and Qt's own (the standard buttons of
// message boxes, the file dialogs), installed on the application, which owns
// them. Nothing is installed for a language Tavek has no translation of, so
// English stays as it is. Returns whether Tavek's own translation was found.
bool installTranslations(QCoreApplication& application, const QLocale& locale = QLocale());
