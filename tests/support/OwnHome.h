#pragma once

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

// A home of its own for one test program, in Qt's test mode: the ports folder
// lies under it, so test programs running at the same time cannot relink each
// other's "Com N". Held as a member of the test object, it is in place before
// the first test function runs.
class OwnHome {
public:
    OwnHome() {
        qputenv("HOME", QFile::encodeName(dir_.path()));
        QStandardPaths::setTestModeEnabled(true);
    }
    bool isValid() const { return dir_.isValid(); }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};
