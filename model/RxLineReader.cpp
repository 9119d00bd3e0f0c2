#include "model/RxLineReader.h"

#include <QIODevice>

#include <cstring>

namespace {
constexpr std::size_t chunk = std::size_t(1) << 16;
}

RxLineReader::RxLineReader(QIODevice &device)
    : m_device(device)
{ }

// Moves the unread rest to the front and reads one more chunk behind it.
bool RxLineReader::fill()
{
    if (m_deviceAtEnd || m_failed)
        return false;
    if (m_begin > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
        m_end -= m_begin;
        m_begin = 0;
    }
    if (m_buffer.size() < m_end + chunk)
        m_buffer.resize(m_end + chunk);
    const qint64 n = m_device.read(m_buffer.data() + m_end, static_cast<qint64>(chunk));
    if (n < 0) {
        m_failed = true;
        return false;
    }
    if (n == 0) {
        m_deviceAtEnd = true;
        return false;
    }
    m_end += static_cast<std::size_t>(n);
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
            const void *nl = std::memchr(start + scanned, '\n', window - scanned);
            if (nl) {
                const auto n = static_cast<std::size_t>(static_cast<const char *>(nl) - start) + 1;
                line = std::string_view(start, n);
                m_begin += n;
                return true;
            }
            scanned = window;
        }
        if (available >= limit) {
            // No newline within the limit: a caller asking for short lines gets this part;
            // a whole line beyond the cap is refused.
            if (limit >= static_cast<std::size_t>(maxLine)) {
                m_failed = true;
                return false;
            }
            line = std::string_view(m_buffer.data() + m_begin, limit);
            m_begin += limit;
            return true;
        }
        if (!fill()) {
            if (m_failed || m_begin == m_end)
                return false;
            // The last line of a file without a final newline.
            line = std::string_view(m_buffer.data() + m_begin, m_end - m_begin);
            m_begin = m_end;
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
