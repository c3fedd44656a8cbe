#pragma once

#include <QKeySequence>
#include <QList>

// The desktop's keys for a standard command, or the usual ones where its
// scheme has none: Qt's Windows scheme, which the offscreen platform takes
// too, knows no keys for Quit.
inline QList<QKeySequence> standardKeys(QKeySequence::StandardKey command,
                                        const QKeySequence& usual) {
    const QList<QKeySequence> keys = QKeySequence::keyBindings(command);
    return keys.isEmpty() ? QList<QKeySequence>{usual} : keys;
}
