#pragma once

class QComboBox;
class ModemConnection;

inline constexpr int PortSelectorEntries = 255;

// Fills the port selector with "Com 1" to "Com 255". Each entry's tooltip
// names the device that "Com N" stands for, or says that none is there. The
// system's list of ports is taken now and handed to the connection, so that the
// numbers the user sees are the numbers the port opens.
void fillPortSelector(QComboBox& selector, ModemConnection& connection);
