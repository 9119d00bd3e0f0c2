#pragma once

#include <QSaveFile>

// The one way the program replaces a file: written beside the target and renamed over it
// only when every byte reached the disk. QSaveFile alone is not enough: its buffer can fail
// to flush inside a later write() that then clears the error, and commit() puts a cut-off
// file in place as a success (a full disk, a file size limit). Here every write goes
// straight to the disk, and a short or failed one fails the whole file.
//
// A symbolic link is followed: the file it points to is replaced and the link stays. Only a
// regular file is ever replaced; the rename would put a plain file in place of a device or
// a named pipe. The replacement keeps the old file's permission bits, and its owner and
// group as far as the process may set them.
class RxSaveFile : public QSaveFile
{
public:
    explicit RxSaveFile(const QString &name);
    ~RxSaveFile() override;

    // True when name does not exist (a new file is made) or is a regular file, after
    // following symbolic links: the targets that a save may replace.
    static bool isReplaceable(const QString &name);

    // Opens for writing, unbuffered. False, touching nothing, when the target is not
    // replaceable; errorString() then says "not a regular file".
    bool open(OpenMode mode) override;
    // Replaces the target when every write succeeded; else removes the new file, leaves
    // the target as it was and returns false.
    bool finish();

protected:
    qint64 writeData(const char *data, qint64 len) override;

private:
    void keepOwner();

    bool m_failed = false;
};
