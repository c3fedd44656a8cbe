#pragma once

#include <QColor>

// The two system colours the window uses. On Windows they are the real
// system colours by index; elsewhere the nearest colours of the palette.

// Index 11 (inactive window border): the colour of the message placeholder.
QColor placeholderColour();
// Index 3 (inactive window caption): the background of the chosen phone row.
QColor chosenRowColour();
// The text colour of a message the user or the modem put in.
inline QColor messageTextColour() {
    return QColor(Qt::black);
}
