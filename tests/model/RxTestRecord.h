#pragma once

#include "model/RxLineReader.h"

#include <QBuffer>
#include <QByteArray>

// Reads one record of object from text whose first line is the record's head line, as the
// document's reader hands it over. The line the record leaves behind goes to *after.
template <typename T> int rxReadRecord(T &object, QByteArray text, QByteArray *after = nullptr)
{
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    RxLineReader in(buffer);
    QByteArray line;
    in.next(line);
    const int r = object.readFormat(in, line);
    if (after)
        *after = line;
    return r;
}
