#include "SystemColours.h"

#include <QGuiApplication>
#include <QPalette>

#ifdef Q_OS_WIN
#include <windows.h>

namespace {
QColor systemColour(int index) {
    const DWORD rgb = GetSysColor(index);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}
} // namespace

QColor placeholderColour() {
    return systemColour(COLOR_INACTIVEBORDER);
}

QColor chosenRowColour() {
    return systemColour(COLOR_INACTIVECAPTION);
}
#else
// The palette's own placeholder colour: drawn over the box's background it
// stays apart from typed text in light and dark palettes alike.
QColor placeholderColour() {
    return QGuiApplication::palette().color(QPalette::PlaceholderText);
}

QColor chosenRowColour() {
    return QGuiApplication::palette().color(QPalette::Inactive, QPalette::Highlight);
}
#endif

QColor messageTextColour() {
    return QGuiApplication::palette().color(QPalette::Text);
}
