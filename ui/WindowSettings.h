#pragma once

#include <QRect>

#include <optional>

// What the main window keeps from one run to the next, in the user's
// settings (~/.config/tavek/Tavek.conf): its place and size, and the
// "Com N" the user chose last, so that a technician who always works on the
// same adapter finds it chosen.
struct WindowSettings {
    // The content's rectangle, in logical pixels, as it was when closed.
    std::optional<QRect> geometry;
    // 0 when none was chosen.
    int comPort = 0;
};

WindowSettings loadWindowSettings();
// What is not given is forgotten.
void saveWindowSettings(const WindowSettings& settings);
