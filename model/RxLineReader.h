#pragma once

#include <QByteArray>

#include <string_view>
#include <vector>

class QIODevice;

// Reads text lines from a device through a buffer of its own, so that a data file of
// millions of rows is read in bounded chunks without copying each line.
//
// A line ends with a line feed, a carriage return and a line feed, or a carriage return
// alone (files from every kind of system), and keeps its line end when it has one. A UTF-8
// byte-order mark at the start of the device is passed over. Lines are read whole, up to
// maxLine characters; a caller may ask for fewer characters (the record grammar reads at
// most 198), and the rest of a longer line then comes with the next call. A read error or
// a line longer than maxLine ends the reading and sets failed().
class RxLineReader
{
public:
    static constexpr qsizetype maxLine = qsizetype(1) << 20;
    static constexpr qsizetype recordLine = 198;

    explicit RxLineReader(QIODevice &device);

    // True when no byte is left to read (or reading failed).
    bool atEnd();
    bool failed() const { return m_failed; }
    // Reads no more than bytes of the device from where it stands, as if the data ended
    // there; call before the first line.
    void setLength(qint64 bytes) { m_left = bytes; }

    // The 1-based number of the line that the last piece returned belongs to; 0 before
    // the first.
    qint64 lineNumber() const { return m_lineNumber; }

    // The next line, or part of it when it is longer than maxChars. The view stays valid
    // until the next call. False at the end of the data or on failure.
    bool next(std::string_view &line, qsizetype maxChars = maxLine);
    bool next(QByteArray &line, qsizetype maxChars = maxLine);

private:
    bool fill();
    std::string_view take(std::size_t n, bool endsLine);

    QIODevice &m_device;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    // No carriage return stands in the buffer from m_begin up to this index.
    std::size_t m_crFree = 0;
    qint64 m_lineNumber = 0;
    // Bytes the device may still give; -1 for all it has.
    qint64 m_left = -1;
    bool m_atLineStart = true;
    bool m_checkMark;
    bool m_deviceAtEnd = false;
    bool m_failed = false;
};
