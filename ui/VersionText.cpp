#include "VersionText.h"

#include "tavek_version.h"

#include <QCoreApplication>

#include <string_view>

namespace {
// The description is kept with the version in CMakeLists.txt; this copy names
// it for the translators, and the assertion keeps the two alike.
constexpr char describedForTranslators[] =
    QT_TRANSLATE_NOOP("VersionText", "Configuration program for GSM Modems Mod. KVZ");
static_assert(std::string_view(describedForTranslators) == tavek::version::description);
} // namespace

QString versionText(int major, int minor) {
    return QString::number(major) + QLatin1Char('.') + QString::number(minor);
}

QString programVersionText() {
    return versionText(tavek::version::major, tavek::version::minor);
}

QString programDescription() {
    return QCoreApplication::translate("VersionText", tavek::version::description);
}
