#pragma once

class MainWindow;

// Tab runs through the main window left to right and top to bottom: the
// toolbar's controls in the toolbar's own order (the port selector in its
// gap), then each input frame top to bottom, the inputs' "Set", the phone
// grid and the phone book's "Set". Disabled controls are passed over, so
// while not connected Tab goes round the connection, the port selector and
// the commands that need no modem.
void setKeyboardOrder(MainWindow& window);
