#pragma once

#include <QByteArray>
#include <QString>

// Every file Tavek saves (configuration files, the modem traffic, and any
// file saved later) goes through saveWhole, so that a full disk or a
// file-size limit can never leave a cut file or an emptied one behind a
// message that says "Saved".

// Writes bytes to a new file beside path and renames it over path only once
// every byte is on the disk: an existing file is replaced whole or stays as
// it was. A path that names a device, a pipe, a socket or a folder is
// refused and left alone; a symbolic link to a file is followed, and the
// file it names is replaced (the link stays a link). On failure, returns
// false with the reason in plain words in *error (when given): "The disk is
// full", "It is a pipe (FIFO), not a file", ...
bool saveWhole(const QString& path, const QByteArray& bytes, QString* error);

// What is at path when it is there but is not a file, in words for the
// user: "It is a folder, not a file", "It is a device, not a file", ...;
// empty for a file (also one reached through symbolic links) and for
// nothing at all. Opening and saving ask this first: opening a pipe would
// wait for a writer forever, and saving over a device would replace it.
QString notAFileReason(const QString& path);
