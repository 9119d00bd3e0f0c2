#include "model/RxSaveFile.h"

#include <QFile>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// stat(2) of name after following links: 0, or the errno of the failure.
int statTarget(const QString &name, struct stat *st)
{
    const QByteArray path = QFile::encodeName(name);
    return ::stat(path.constData(), st) == 0 ? 0 : errno;
}

} // namespace

RxSaveFile::RxSaveFile(const QString &name)
    : QSaveFile(name)
{ }

RxSaveFile::~RxSaveFile() = default;

bool RxSaveFile::isReplaceable(const QString &name)
{
    struct stat st = {};
    const int error = statTarget(name, &st);
    if (error == 0)
        return S_ISREG(st.st_mode);
    // A dangling link names a new file; a loop of links names none, and QSaveFile would
    // replace the link itself.
    return error != ELOOP;
}

bool RxSaveFile::open(OpenMode mode)
{
    m_failed = false;
    if (!isReplaceable(fileName())) {
        setErrorString(QStringLiteral("not a regular file"));
        return false;
    }
    if (!QSaveFile::open(mode | QIODevice::Unbuffered))
        return false;
    keepOwner();
    return true;
}

// The new file belongs to whoever saves, so a save by root would hand another user's file
// to root. Only root may give a file away; anyone else may still pass it to a group of
// their own, and otherwise keeps it, as with any file they make.
void RxSaveFile::keepOwner()
{
    struct stat target = {};
    struct stat made = {};
    if (statTarget(fileName(), &target) != 0 || ::fstat(handle(), &made) != 0
        || (target.st_uid == made.st_uid && target.st_gid == made.st_gid))
        return;
    if (::fchown(handle(), target.st_uid, target.st_gid) != 0 && target.st_gid != made.st_gid) {
        const int groupOnly = ::fchown(handle(), static_cast<uid_t>(-1), target.st_gid);
        Q_UNUSED(groupOnly);
    }
}

qint64 RxSaveFile::writeData(const char *data, qint64 len)
{
    if (m_failed)
        return -1;
    // A short write means the disk took no more; the rest would never arrive.
    if (QSaveFile::writeData(data, len) != len) {
        m_failed = true;
        if (error() == NoError)
            setErrorString(QStringLiteral("the disk took only part of the file"));
        return -1;
    }
    return len;
}

bool RxSaveFile::finish()
{
    if (m_failed) {
        const QString reason = errorString();
        cancelWriting();
        commit();
        setErrorString(reason);
        return false;
    }
    return commit();
}
