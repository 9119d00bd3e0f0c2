#pragma once

#include <QByteArray>

#include <string_view>

class RxLineReader;

// The "C" records of the data file: a head line, then one line per key written as "C",
// a tab, the key, ": " and the value, in a fixed order, then one more line that the caller
// examines next. Key lines are read with at most 198 characters, as the format has always
// been read; a longer line continues as the next line.

// The header line of a data file holds this text, then the format version.
inline constexpr const char *rxHeaderText = "C ***Ruxa***: ";

// Lines that start with "c" or "C": comments before the header, the header, the records.
inline bool rxIsCLine(std::string_view line)
{
    return !line.empty() && (line.front() == 'c' || line.front() == 'C');
}

inline std::string_view rxView(const QByteArray &line)
{
    return std::string_view(line.constData(), static_cast<std::size_t>(line.size()));
}

// Return 0 when line does not contain key (anywhere) or holds no colon. Otherwise the text
// after the first colon is converted (atoi, atof) into *out and 1 is returned.
int readIntKey(const char *key, const char *line, int *out);
int readFloatKey(const char *key, const char *line, float *out);

// True when line contains text (a head line, the header).
bool rxContains(const QByteArray &line, const char *text);

// Labels, titles and comment texts are single lines of the data file: a copy of s with
// every carriage return and line feed made a blank. outOfMemory is the site's message.
QByteArray rxOneLine(const QByteArray &s, const char *outOfMemory);

// "C\t" key ": " value and a newline.
void rxWriteIntKey(QByteArray &out, const char *key, int value);
void rxWriteFloatKey(QByteArray &out, const char *key, float value);

// Reads the key lines of one record in order. The first failure (a missing key or
// colon, or the end of the file after a line) sticks, and later calls do nothing.
class RxRecordIn
{
public:
    RxRecordIn(RxLineReader &in, QByteArray &line)
        : m_in(in)
        , m_line(line)
    { }

    void intKey(const char *key, int *out);
    void floatKey(const char *key, float *out);
    // Reads the line after the record into the caller's line. True when every key was
    // read and the file goes on after that line.
    bool finish();

private:
    bool nextLine(qsizetype maxChars);

    RxLineReader &m_in;
    QByteArray &m_line;
    bool m_ok = true;
};
