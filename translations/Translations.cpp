#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// Tries the locale's languages in the user's order ("it_IT", then "it");
// the translator is the application's child, so it lives as long as it does.
bool install(QCoreApplication& application, const QLocale& locale, const QString& name,
             const QString& folder) {
    auto* translator = new QTranslator(&application);
    if (translator->load(locale, name, QStringLiteral("_"), folder) &&
        QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

} // namespace

bool installTranslations(QCoreApplication& application, const QLocale& locale) {
    // Qt's own only where Tavek speaks the language too: a window half in
    // another language is worse than one in English.
    if (!install(application, locale, QStringLiteral("tavek"), QStringLiteral(":/i18n")))
        return false;
    // From Debian's qt6-translations-l10n, when it is installed.
    install(application, locale, QStringLiteral("qtbase"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return true;
}
