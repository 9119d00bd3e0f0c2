#include "model/RxNumberText.h"

#include <cerrno>
#include <cfloat>
#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

namespace {

// The C library's isspace in the "C" locale.
bool isCSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isAlnum(char c)
{
    return isDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
}

locale_t cLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

// Switches this thread to the "C" locale for the lifetime of the guard.
class CLocaleScope
{
public:
    CLocaleScope() : m_old(uselocale(cLocale())) { }
    ~CLocaleScope() { uselocale(m_old); }
    CLocaleScope(const CLocaleScope &) = delete;
    CLocaleScope &operator=(const CLocaleScope &) = delete;

private:
    locale_t m_old;
};

// The slow paths need a NUL-terminated copy: a view's end is where the C library must stop.
std::string terminated(const char *begin, const char *end)
{
    return std::string(begin, static_cast<std::size_t>(end - begin));
}

struct Sign
{
    const char *p;      // first character after the white space and the sign
    const char *number; // first character after the white space
    bool negative;
};

Sign skipSpaceAndSign(const char *p, const char *end)
{
    while (p < end && isCSpace(*p))
        ++p;
    Sign s{p, p, false};
    if (p < end && (*p == '+' || *p == '-')) {
        s.negative = *p == '-';
        s.p = p + 1;
    }
    return s;
}

// True where from_chars reads exactly what strtod would: a decimal mantissa follows.
bool startsDecimal(const char *p, const char *end)
{
    if (p >= end)
        return false;
    if (isDigit(*p))
        return !(p[0] == '0' && p + 1 < end && (p[1] | 0x20) == 'x');
    return *p == '.' && p + 1 < end && isDigit(p[1]);
}

} // namespace

double rxAtof(std::string_view text)
{
    const char *end = text.data() + text.size();
    const Sign s = skipSpaceAndSign(text.data(), end);
    if (startsDecimal(s.p, end)) {
        double v = 0.0;
        const auto r = std::from_chars(s.p, end, v, std::chars_format::general);
        if (r.ec == std::errc())
            return s.negative ? -v : v;
    }
    const std::string copy = terminated(s.number, end);
    return strtod_l(copy.c_str(), nullptr, cLocale());
}

int rxAtoi(std::string_view text)
{
    const char *end = text.data() + text.size();
    const Sign s = skipSpaceAndSign(text.data(), end);
    const char *p = s.p;
    int v = 0;
    int digits = 0;
    while (p < end && isDigit(*p) && digits < 9) {
        v = v * 10 + (*p++ - '0');
        ++digits;
    }
    if (p < end && isDigit(*p)) {
        const std::string copy = terminated(s.number, end);
        // The narrowing of a long that does not fit is the C library's own behaviour.
        return static_cast<int>(std::strtol(copy.c_str(), nullptr, 10));
    }
    return s.negative ? -v : v;
}

bool rxScanFloat(std::string_view text, float *out)
{
    const char *end = text.data() + text.size();
    const Sign s = skipSpaceAndSign(text.data(), end);
    if (startsDecimal(s.p, end)) {
        float v = 0.0f;
        const auto r = std::from_chars(s.p, end, v, std::chars_format::general);
        // scanf reads greedily: anything that could continue the number goes the slow way.
        if (r.ec == std::errc()
            && (r.ptr == end || !(isAlnum(*r.ptr) || *r.ptr == '.' || *r.ptr == '+'
                                  || *r.ptr == '-'))) {
            *out = s.negative ? -v : v;
            return true;
        }
    }
    const std::string copy = terminated(text.data(), end);
    float v = 0.0f;
    if (rxScanC(copy.c_str(), "%g", &v) != 1)
        return false;
    *out = v;
    return true;
}

bool rxScanInt(std::string_view text, int *out)
{
    const char *end = text.data() + text.size();
    const Sign s = skipSpaceAndSign(text.data(), end);
    const char *p = s.p;
    const bool octalOrHex =
            p < end && *p == '0' && p + 1 < end && (isDigit(p[1]) || (p[1] | 0x20) == 'x');
    if (p < end && isDigit(*p) && !octalOrHex) {
        int v = 0;
        int digits = 0;
        while (p < end && isDigit(*p) && digits < 9) {
            v = v * 10 + (*p++ - '0');
            ++digits;
        }
        if (p == end || !isDigit(*p)) {
            *out = s.negative ? -v : v;
            return true;
        }
    }
    const std::string copy = terminated(text.data(), end);
    int v = 0;
    if (rxScanC(copy.c_str(), "%i", &v) != 1)
        return false;
    *out = v;
    return true;
}

int rxCountValue(std::string_view text)
{
    const char *end = text.data() + text.size();
    const Sign s = skipSpaceAndSign(text.data(), end);
    long long v = 0;
    for (const char *p = s.p; p < end && isDigit(*p); ++p) {
        v = v * 10 + (*p - '0');
        if (v > 1LL << 32)
            break; // saturated either way
    }
    if (s.negative)
        v = -v;
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return static_cast<int>(v);
}

int rxScanC(const char *text, const char *format, ...)
{
    CLocaleScope scope;
    va_list args;
    va_start(args, format);
    const int n = std::vsscanf(text, format, args);
    va_end(args);
    return n;
}

void rxAppendInt(QByteArray &out, int value, int width)
{
    char buf[16];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    const auto n = static_cast<int>(r.ptr - buf);
    if (width > n)
        out.append(width - n, ' ');
    out.append(buf, n);
}

void rxAppendG(QByteArray &out, double value)
{
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 6);
    out.append(buf, static_cast<int>(r.ptr - buf));
}

void rxAppendFixed(QByteArray &out, double value, int width)
{
    // 99 digits of mantissa at most, a sign, "0.", the exponent and the terminator.
    char buf[128];
    char *p = buf;
    *p++ = std::signbit(value) ? '-' : '+';
    if (std::isnan(value)) {
        std::memcpy(p, "NAN", 3);
        p += 3;
    } else if (std::isinf(value)) {
        std::memcpy(p, "INF", 3);
        p += 3;
    } else {
        const auto r = std::to_chars(p, buf + sizeof buf - 1, std::fabs(value),
                                     std::chars_format::scientific, width - 7);
        for (char *e = p; e < r.ptr; ++e) {
            if (*e == 'e')
                *e = 'E';
        }
        p = r.ptr;
    }
    *p = '\0';
    auto n = static_cast<int>(p - buf);
    if (n > width) {
        winFixExpFmt(buf);
        n = static_cast<int>(std::strlen(buf));
    }
    if (width > n)
        out.append(width - n, ' ');
    out.append(buf, n);
}

void winFixExpFmt(char *s)
{
    // Only a leading zero may go: dropping any other digit would write another number.
    char *e = std::strchr(s, 'E');
    if (e && std::strlen(e) == 5 && (e[1] == '+' || e[1] == '-') && e[2] == '0' && isDigit(e[3])
        && isDigit(e[4]))
        std::memmove(e + 2, e + 3, 3);
}

void stripLineEnd(char *s)
{
    std::size_t n = std::strlen(s);
    while (n > 0 && (s[n - 1] == '\n' || s[n - 1] == '\r'))
        s[--n] = '\0';
}

void stripLineEnd(QByteArray &s)
{
    qsizetype n = s.size();
    while (n > 0 && (s[n - 1] == '\n' || s[n - 1] == '\r'))
        --n;
    s.truncate(n);
}

std::string_view stripLineEnd(std::string_view s)
{
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

float rxNarrow(double value)
{
    if (std::isnan(value) || std::fabs(value) <= FLT_MAX)
        return static_cast<float>(value);
    // Halfway between FLT_MAX and 2^128: from here on, rounding to nearest gives infinity.
    constexpr double overflow = 0x1.ffffffp127;
    const float big = std::fabs(value) < overflow ? FLT_MAX : HUGE_VALF;
    return value > 0 ? big : -big;
}
