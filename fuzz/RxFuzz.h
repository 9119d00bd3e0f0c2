#pragma once

// What the fuzz targets share: taking typed values off the front of an input, the checks
// that end a run with a report, and the PostScript string rule.

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

// A property that failed: the fuzzer keeps the input and the replay test fails.
#define RX_FUZZ_CHECK(condition)                                                                   \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// Reads an input from the front; past its end every value is 0.
class RxFuzzInput
{
public:
    RxFuzzInput(const std::uint8_t *data, std::size_t size)
        : m_data(data)
        , m_size(size)
    { }

    std::uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    // lo ... hi.
    int intIn(int lo, int hi)
    {
        const std::uint32_t span = static_cast<std::uint32_t>(hi - lo) + 1;
        return lo + static_cast<int>(u32() % span);
    }
    std::uint32_t u32()
    {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = (v << 8) | byte();
        return v;
    }
    // Any bit pattern: NaNs, infinities and subnormals included.
    float anyFloat()
    {
        const std::uint32_t bits = u32();
        float v = 0.0f;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    QByteArray rest()
    {
        const std::size_t from = m_pos;
        m_pos = m_size;
        return QByteArray(
            reinterpret_cast<const char *>(m_data + from), static_cast<qsizetype>(m_size - from));
    }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// PostScript strings must close on the line that opens them: the writer escapes every
// parenthesis and backslash of a text, so an open string at a line's end is a leak of
// user text into the program.
inline bool rxPostScriptStringsClosed(const QByteArray &ps)
{
    int depth = 0;
    for (qsizetype i = 0; i < ps.size(); ++i) {
        const char c = ps[i];
        if (c == '\n') {
            if (depth != 0)
                return false;
        } else if (depth > 0 && c == '\\') {
            ++i;
            if (i < ps.size() && ps[i] == '\n')
                return false;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')' && depth > 0) {
            --depth;
        } else if (c == '%' && depth == 0) {
            // A comment runs to the end of its line; parentheses in it mean nothing.
            while (i + 1 < ps.size() && ps[i + 1] != '\n')
                ++i;
        }
    }
    return depth == 0;
}

// Painting needs a GUI application with the offscreen platform; made once per process.
void rxFuzzGuiApplication();
