#pragma once

// The working state of one read, shared by the sources that read (RxFileRead.cpp,
// RxFileLayout.cpp). Not part of the document's interface.
#include "model/RxFile.h"
#include "model/RxLineReader.h"

#include <QFileDevice>

struct RxFile::ReadState
{
    ReadState(QFileDevice &f, int x, int y, bool append, const RxColumnLayout &l, ReadReport *r)
        : device(f)
        , in(f)
        , xCol(x)
        , yCol(y)
        , appending(append)
        , layout(&l)
        , report(r)
    { }

    // Tells the report why the read failed, unless a reason is known already.
    void fail(const char *why, qint64 line)
    {
        if (report && report->problem.isEmpty()) {
            report->problem = why;
            report->failedLine = line;
        }
    }

    QFileDevice &device;
    RxLineReader in;
    int xCol;
    int yCol;
    bool appending;
    const RxColumnLayout *layout;
    ReadReport *report;
    enum { NotSeen, Seen, Failed } header = NotSeen;
    int firstAdded = 0;
    qsizetype preambleSize = 0;
    RxProfile saved;
    int current = -1;
    RxCurve *curve = nullptr;
    long long rowsRead = 0;
    long long rowsExpected = 1;
};
