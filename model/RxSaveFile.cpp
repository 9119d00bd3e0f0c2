#include "model/RxSaveFile.h"

RxSaveFile::RxSaveFile(const QString &name)
    : QSaveFile(name)
{ }

RxSaveFile::~RxSaveFile() = default;

bool RxSaveFile::open(OpenMode mode)
{
    m_failed = false;
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
