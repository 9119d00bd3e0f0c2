#include "model/RxLineReader.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace {
constexpr std::size_t chunk = std::size_t(1) << 16;
constexpr char byteOrderMark[] = "\xEF\xBB\xBF";
} // namespace

RxLineReader::RxLineReader(QIODevice &device)
    : m_device(device)
    , m_start(device.pos())
    , m_checkMark(m_start == 0)
{ }

bool RxLineReader::restartAt(qint64 pos, qint64 lineNumber)
{
    m_begin = m_end = m_crFree = 0;
    m_lineNumber = lineNumber;
    m_atLineStart = true;
    m_checkMark = false;
    m_deviceAtEnd = false;
    m_left = -1;
    m_start = pos;
    m_read = 0;
    m_failed = !m_device.seek(pos);
    return !m_failed;
}

// Moves the unread rest to the front and reads one more chunk behind it.
bool RxLineReader::fill()
{
    if (m_deviceAtEnd || m_failed)
        return false;
    if (m_begin > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
        m_end -= m_begin;
        m_crFree = m_crFree > m_begin ? m_crFree - m_begin : 0;
        m_begin = 0;
    }
    if (m_buffer.size() < m_end + chunk)
        m_buffer.resize(m_end + chunk);
    const qint64 want = m_left < 0 ? qint64(chunk) : std::min(m_left, static_cast<qint64>(chunk));
    const qint64 n = want > 0 ? m_device.read(m_buffer.data() + m_end, want) : 0;
    if (n < 0) {
        m_failed = true;
        return false;
    }
    if (n == 0) {
        m_deviceAtEnd = true;
        return false;
    }
    m_read += n;
    if (m_left > 0)
        m_left -= n;
    m_end += static_cast<std::size_t>(n);
    if (m_checkMark && m_end >= 3) {
        m_checkMark = false;
        if (m_lineNumber == 0 && m_begin == 0
            && std::memcmp(m_buffer.data(), byteOrderMark, 3) == 0)
            m_begin = 3;
    }
    return true;
}

bool RxLineReader::atEnd()
{
    // After a failure the unread bytes are not the rest of the file: a caller looping
    // until the end must stop here.
    if (m_failed)
        return true;
    while (m_begin == m_end) {
        if (!fill())
            return true;
    }
    return false;
}

std::string_view RxLineReader::take(std::size_t n, bool endsLine)
{
    const std::string_view line(m_buffer.data() + m_begin, n);
    m_begin += n;
    if (m_atLineStart)
        ++m_lineNumber;
    m_atLineStart = endsLine;
    return line;
}

bool RxLineReader::next(std::string_view &line, qsizetype maxChars)
{
    if (m_failed)
        return false;
    if (maxChars < 1)
        maxChars = 1;
    const auto limit = static_cast<std::size_t>(maxChars);
    std::size_t scanned = 0;
    for (;;) {
        const std::size_t available = m_end - m_begin;
        const std::size_t window = available < limit ? available : limit;
        if (window > scanned) {
            const char *start = m_buffer.data() + m_begin;
            const auto *lf
                = static_cast<const char *>(std::memchr(start + scanned, '\n', window - scanned));
            // A carriage return before the line feed (or before the window's end) ends the
            // line. Most files hold none: one search over the whole buffer says so, rather
            // than one a line.
            const std::size_t stop = m_begin + (lf ? static_cast<std::size_t>(lf - start) : window);
            if (m_crFree < stop) {
                const std::size_t from = std::max(m_crFree, m_begin);
                const auto *found = static_cast<const char *>(
                    std::memchr(m_buffer.data() + from, '\r', m_end - from));
                m_crFree = found ? static_cast<std::size_t>(found - m_buffer.data()) : m_end;
            }
            if (m_crFree < stop) {
                const std::size_t at = m_crFree - m_begin;
                const char *cr = start + at;
                if (at + 1 < available) {
                    line = take(at + 1 + (cr[1] == '\n' ? 1 : 0), true);
                    return true;
                }
                // The byte after the carriage return decides between CR and CR LF.
                scanned = at;
                if (!fill()) {
                    if (m_failed)
                        return false;
                    line = take(at + 1, true);
                    return true;
                }
                continue;
            }
            if (lf) {
                line = take(static_cast<std::size_t>(lf - start) + 1, true);
                return true;
            }
            scanned = window;
        }
        if (available >= limit) {
            // No line end within the limit: a caller asking for short lines gets this part;
            // a whole line beyond the cap is refused.
            if (limit >= static_cast<std::size_t>(maxLine)) {
                m_failed = true;
                return false;
            }
            line = take(limit, false);
            return true;
        }
        if (!fill()) {
            if (m_failed || m_begin == m_end)
                return false;
            // The last line of a file without a final line end.
            line = take(m_end - m_begin, true);
            return true;
        }
    }
}

bool RxLineReader::next(QByteArray &line, qsizetype maxChars)
{
    std::string_view view;
    if (!next(view, maxChars)) {
        line.clear();
        return false;
    }
    line = QByteArray(view.data(), static_cast<qsizetype>(view.size()));
    return true;
}
