#include "model/RxSaveFile.h"

#include <QFile>

#include <cerrno>

#include <sys/stat.h>

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
    return QSaveFile::open(mode | QIODevice::Unbuffered);
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
