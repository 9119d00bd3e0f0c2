#pragma once

#include <QString>

class QFile;

// How opening an input file ended.
enum class RxInputOpen {
    Opened,
    Failed, // no such file, no permission, a directory, ...
    NotRegular, // a named pipe, a device or a socket: reading it could wait for ever
};

// Opens name read-only into file, refusing anything but a regular file. What name is gets
// checked through an open that does not wait (a named pipe without a writer would block an
// ordinary one) before file opens it; reads then block as they do on any file. On Failed
// and NotRegular file stays closed and reason, when given, says why in a few words.
RxInputOpen rxOpenInputFile(QFile &file, const QString &name, QString *reason = nullptr);
