#pragma once

#include <QColor>

// The colours the window draws its own parts in. On Windows the two system
// colours are the real ones by index; everything else comes from the
// application's palette, so that a dark desktop gets a dark window.

// Index 11 (inactive window border): the colour of the message placeholder.
QColor placeholderColour();
// Index 3 (inactive window caption): the background of the chosen phone row.
QColor chosenRowColour();
// The text colour of a message the user or the modem put in.
QColor messageTextColour();
