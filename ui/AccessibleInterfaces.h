#pragma once

// Makes the windows' own accessible interfaces known to Qt, so that screen
// readers (through AT-SPI on Linux) meet the main window as a frame named by
// its title, the About window as a dialog, drop-down lists by their names and
// the phone grid as a table with column headers. Safe to call more than once.
void installAccessibleInterfaces();
