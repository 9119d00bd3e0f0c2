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
    // Reads the device up to position end, as if the data ended there; -1 reads on to the
    // device's end. end lies past what the reader holds already: a few chunks past offset().
    void setEnd(qint64 end)
    {
        Q_ASSERT(end < 0 || end >= m_start + m_read);
        m_left = end < 0 ? -1 : end - m_start - m_read;
        m_deviceAtEnd = false;
    }
    // The device position of the next byte a line would start with.
    qint64 offset() const { return m_start + m_read - static_cast<qint64>(m_end - m_begin); }
    // Goes on at device position pos, which starts line lineNumber + 1, to the device's
    // end. False when the device cannot go there; reading has failed then.
    bool restartAt(qint64 pos, qint64 lineNumber);

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
    // The device position the reading started at, and the bytes read since.
    qint64 m_start;
    qint64 m_read = 0;
    bool m_atLineStart = true;
    bool m_checkMark;
    bool m_deviceAtEnd = false;
    bool m_failed = false;
};
