#include "model/RxInputFile.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The kind of file name is, seen through a descriptor that did not wait to open: a named
// pipe without a writer would block an ordinary open. O_NOCTTY: a terminal named as input
// must not become the process's controlling one.
RxInputOpen probe(const QString &name, struct stat *st, QString *why)
{
    const int fd
        = ::open(QFile::encodeName(name).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *why = qt_error_string(errno);
        return RxInputOpen::Failed;
    }
    RxInputOpen kind = RxInputOpen::Opened;
    if (::fstat(fd, st) != 0) {
        *why = qt_error_string(errno);
        kind = RxInputOpen::Failed;
    } else if (S_ISDIR(st->st_mode)) {
        // A directory is an open failure like any other, worded as QFile words it.
        *why = QStringLiteral("file to open is a directory");
        kind = RxInputOpen::Failed;
    } else if (!S_ISREG(st->st_mode)) {
        *why = QStringLiteral("not a regular file");
        kind = RxInputOpen::NotRegular;
    }
    ::close(fd);
    return kind;
}

} // namespace

RxInputOpen rxOpenInputFile(QFile &file, const QString &name, QString *reason)
{
    QString why;
    struct stat probed = {};
    RxInputOpen result = probe(name, &probed, &why);
    if (result == RxInputOpen::Opened) {
        // Opened again by name, since readers name the document after the QFile's name (a
        // QFile on a descriptor has none), and checked to be the file that was probed.
        file.setFileName(name);
        struct stat opened = {};
        if (!file.open(QIODevice::ReadOnly)) {
            why = file.errorString();
            result = RxInputOpen::Failed;
        } else if (::fstat(file.handle(), &opened) != 0 || opened.st_dev != probed.st_dev
            || opened.st_ino != probed.st_ino) {
            file.close();
            why = QStringLiteral("the file was replaced while it was opened");
            result = RxInputOpen::Failed;
        }
    }
    if (reason)
        *reason = why;
    return result;
}
