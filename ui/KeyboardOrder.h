#pragma once

#include <QList>

class QWidget;

// Tab runs through the areas in the order given, and within each area left
// to right and top to bottom; a toolbar gives its controls in its own order
// (the port selector in its gap). Disabled controls are passed over, so
// while not connected Tab goes round the connection, the port selector and
// the commands that need no modem.
void setKeyboardOrder(const QList<QWidget*>& areas);
