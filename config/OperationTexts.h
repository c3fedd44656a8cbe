#pragma once

#include <QList>
#include <QString>

// What the user is told about an upload or a read that did not go through
// whole. Plain sentences for the "Modem error" box and the questions.

// "The modem did not confirm phone-book positions 3, 7 and 12."
QString unconfirmedPositionsText(const QList<int>& positions);
// Records 1 to 9 of the input upload: "The modem did not confirm the
// settings of input 1 and the Double message of input 3."
QString unconfirmedInputRecordsText(const QList<int>& records);

// After a connection's two reads, for the replies that did not end in "OK".
QString incompleteReadText(bool inputs, bool phoneBook);

// Asked before a "Set" of a frame whose last read was incomplete.
QString sendInputsAfterIncompleteReadQuestion();
QString setNumbersAfterIncompleteReadQuestion();
