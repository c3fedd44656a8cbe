#pragma once

#include <QString>

// "major.minor" in decimal without leading zeros: 1.1, 2.10.
QString versionText(int major, int minor);
// The text of this build, from the version record.
QString programVersionText();
// The program's file description, from the version record.
QString programDescription();
