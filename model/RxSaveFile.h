#pragma once

#include <QSaveFile>

// The one way the program replaces a file: written beside the target and renamed over it
// only when every byte reached the disk. QSaveFile alone is not enough: its buffer can fail
// to flush inside a later write() that then clears the error, and commit() puts a cut-off
// file in place as a success (a full disk, a file size limit). Here every write goes
// straight to the disk, and a short or failed one fails the whole file.
class RxSaveFile : public QSaveFile
{
public:
    explicit RxSaveFile(const QString &name);
    ~RxSaveFile() override;

    // Opens for writing, unbuffered.
    bool open(OpenMode mode) override;
    // Replaces the target when every write succeeded; else removes the new file, leaves
    // the target as it was and returns false.
    bool finish();

protected:
    qint64 writeData(const char *data, qint64 len) override;

private:
    bool m_failed = false;
};
