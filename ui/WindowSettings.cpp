#include "WindowSettings.h"

#include <QSettings>

namespace {
const QString geometryKey = QStringLiteral("mainWindow/geometry");
const QString comPortKey = QStringLiteral("mainWindow/comPort");
} // namespace

WindowSettings loadWindowSettings() {
    const QSettings settings;
    WindowSettings loaded;
    // A value someone edited into something else counts as none.
    if (const QRect geometry = settings.value(geometryKey).toRect(); geometry.isValid())
        loaded.geometry = geometry;
    loaded.comPort = qMax(0, settings.value(comPortKey).toInt());
    return loaded;
}

void saveWindowSettings(const WindowSettings& settings) {
    QSettings stored;
    if (settings.geometry)
        stored.setValue(geometryKey, *settings.geometry);
    else
        stored.remove(geometryKey);
    if (settings.comPort > 0)
        stored.setValue(comPortKey, settings.comPort);
    else
        stored.remove(comPortKey);
}
