#include "VersionText.h"

#include "tavek_version.h"

QString versionText(int major, int minor) {
    return QString::number(major) + QLatin1Char('.') + QString::number(minor);
}

QString programVersionText() {
    return versionText(tavek::version::major, tavek::version::minor);
}

QString programDescription() {
    return QString::fromUtf8(tavek::version::description);
}
