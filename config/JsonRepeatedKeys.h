#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Qt's JSON parser keeps the last of two equal keys in one object and says
// nothing, so a hand-edited file with "phoneBook" twice would quietly lose
// the first list. This finds such keys in text that has already parsed as
// JSON.

struct RepeatedKey {
    QString place;    // the key's path: phoneBook, inputs[1].status
    qsizetype offset; // the byte where the key is given again
};

// Every key given again in the object that holds it, in the order of the text.
QList<RepeatedKey> repeatedKeys(const QByteArray& json);
