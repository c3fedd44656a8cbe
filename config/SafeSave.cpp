#include "SafeSave.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// The texts below in one translation context, by a name that lupdate reads too.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(SafeSave)
};

QString reasonOf(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
        return Texts::tr("The disk is full");
    case EFBIG:
        return Texts::tr("The file would be larger than this user may write");
    default:
        return QString::fromLocal8Bit(std::strerror(errorNumber));
    }
}

// Every byte, through writes that may each take only a part; errno of the
// write that failed, else 0.
int writeAll(int descriptor, const QByteArray& bytes) {
    const char* next = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, next, std::size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        next += written;
        left -= written;
    }
    return 0;
}

} // namespace

QString notAFileReason(const QString& path) {
    struct stat status {};
    // stat follows symbolic links: what counts is what a link names.
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || S_ISREG(status.st_mode))
        return {};
    if (S_ISDIR(status.st_mode))
        return Texts::tr("It is a folder, not a file");
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))
        return Texts::tr("It is a device, not a file");
    if (S_ISFIFO(status.st_mode))
        return Texts::tr("It is a pipe (FIFO), not a file");
    if (S_ISSOCK(status.st_mode))
        return Texts::tr("It is a socket, not a file");
    return Texts::tr("It is not a file");
}

bool saveWhole(const QString& path, const QByteArray& bytes, QString* error) {
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (const QString reason = notAFileReason(path); !reason.isEmpty())
        return fail(reason);

    // QSaveFile writes beside the target, follows a link to the file it
    // names, and renames only in commit(). Its own buffered write cannot be
    // trusted to report a full disk (commit() flushes, ignores the failure
    // and renames a cut file into place), so the bytes go through its
    // descriptor here, each write checked, and reach the disk before the
    // rename.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (const int failed = writeAll(file.handle(), bytes)) {
        file.cancelWriting();
        return fail(reasonOf(failed));
    }
    // A file system may report a full disk only when the data is written out.
    if (::fsync(file.handle()) != 0 && errno != EINVAL) {
        const int failed = errno;
        file.cancelWriting();
        return fail(reasonOf(failed));
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}
