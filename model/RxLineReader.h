#pragma once

#include <QByteArray>

#include <string_view>
#include <vector>

class QIODevice;

// Reads text lines from a device through a buffer of its own, so that a data file of
// millions of rows is read in bounded chunks without copying each line.
//
// A line keeps its newline when it has one. Lines are read whole, up to maxLine
// characters; a caller may ask for fewer characters (the record grammar reads at most 198),
// and the rest of a longer line then comes with the next call. A read error or a line
// longer than maxLine ends the reading and sets failed().
class RxLineReader
{
public:
    static constexpr qsizetype maxLine = qsizetype(1) << 20;
    static constexpr qsizetype recordLine = 198;

    explicit RxLineReader(QIODevice &device);

    // True when no byte is left to read (or reading failed).
    bool atEnd();
    bool failed() const { return m_failed; }

    // The next line, or part of it when it is longer than maxChars. The view stays valid
    // until the next call. False at the end of the data or on failure.
    bool next(std::string_view &line, qsizetype maxChars = maxLine);
    bool next(QByteArray &line, qsizetype maxChars = maxLine);

private:
    bool fill();

    QIODevice &m_device;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    bool m_deviceAtEnd = false;
    bool m_failed = false;
};
