#include "model/RxNumberText.h"

#include <QtGlobal>

#include <cerrno>
#include <cfloat>
#include <array>
#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdint>
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
    CLocaleScope()
        : m_old(uselocale(cLocale()))
    { }
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
    const char *p; // first character after the white space and the sign
    const char *number; // first character after the white space
    bool negative;
};

Q_ALWAYS_INLINE Sign skipSpaceAndSign(const char *p, const char *end)
{
    while (p < end && isCSpace(*p))
        ++p;
    Sign s {p, p, false};
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

// Exact fast paths. A short decimal mantissa and a small power of ten are both exact in
// binary, so one IEEE multiplication or division rounds the true value once, as strtod
// does (Clinger's fast path).
struct SimpleDecimal
{
    std::uint64_t mantissa = 0;
    int exponent = 0;
    const char *end = nullptr;
};

// The decimal shape strtod reads: digits, an optional point and digits, an optional
// exponent with at least one digit. False when there are too many digits to hold.
// Inlined: the readers call it once a number, millions of times a file.
Q_ALWAYS_INLINE bool parseSimpleDecimal(const char *p, const char *end, SimpleDecimal &d)
{
    std::uint64_t m = 0;
    int significant = 0;
    while (p < end && *p == '0')
        ++p;
    for (const char *first = p; p < end && isDigit(*p); ++p)
        m = m * 10 + static_cast<unsigned>(*p - '0'), significant = static_cast<int>(p - first) + 1;
    int exponent = 0;
    if (p < end && *p == '.') {
        const char *point = ++p;
        if (m == 0) {
            while (p < end && *p == '0')
                ++p;
        }
        const char *first = p;
        for (; p < end && isDigit(*p); ++p)
            m = m * 10 + static_cast<unsigned>(*p - '0');
        significant += static_cast<int>(p - first);
        exponent = -static_cast<int>(p - point);
    }
    // Past 19 digits the mantissa has wrapped: the exact conversion takes over.
    if (significant > 19)
        return false;
    if (p < end && (*p | 0x20) == 'e') {
        const char *q = p + 1;
        bool negative = false;
        if (q < end && (*q == '+' || *q == '-'))
            negative = *q++ == '-';
        if (q < end && isDigit(*q)) {
            int e = 0;
            for (; q < end && isDigit(*q); ++q) {
                if (e > 9999)
                    return false;
                e = e * 10 + (*q - '0');
            }
            exponent += negative ? -e : e;
            p = q;
        }
    }
    d.mantissa = m;
    d.exponent = exponent;
    d.end = p;
    return true;
}

// 10^0 ... 10^22: every one exact in a double, so the fast path's one operation rounds once.
constexpr double exactPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// 10^k for k in -64 ... 64, each correctly rounded (strtod of "1eK").
const double *powersOfTen()
{
    static const std::array<double, 129> table = [] {
        std::array<double, 129> t {};
        for (int k = -64; k <= 64; ++k) {
            char text[8];
            std::snprintf(text, sizeof text, "1e%d", k);
            t[static_cast<std::size_t>(k + 64)] = strtod_l(text, nullptr, cLocale());
        }
        return t;
    }();
    return table.data() + 64;
}

// The digits of x > 0 rounded to precision + 1 significant digits, and the decimal
// exponent of the first, as "%.*E" gives them. A double product carries a relative error
// of a few units in 2^-53; that only matters when the scaled value lies that close to a
// half, and then the exact conversion decides. False when the fast way cannot be sure.
bool fixedDigits(double x, int precision, std::uint64_t *digits, int *exponent)
{
    if (precision > 8 || !(x >= 1e-46 && x < 1e39))
        return false;
    const double *p10 = powersOfTen();
    std::uint64_t bits = 0;
    std::memcpy(&bits, &x, sizeof bits);
    // x lies in [2^e2, 2^(e2 + 1)); x is a normal double here.
    const int e2 = static_cast<int>((bits >> 52) & 0x7ff) - 1023;
    // floor(e2 * log10(2)) in integers; off by one at worst, which the tests below mend.
    int k = (e2 * 78913) >> 18;
    double scaled = x * p10[precision - k];
    if (scaled >= p10[precision + 1]) {
        ++k;
        scaled = x * p10[precision - k];
    } else if (scaled < p10[precision]) {
        --k;
        scaled = x * p10[precision - k];
    }
    // scaled is positive: truncation is the floor.
    const auto whole = static_cast<std::uint64_t>(scaled);
    const double fraction = scaled - static_cast<double>(whole);
    if (std::fabs(fraction - 0.5) <= scaled * 1e-15)
        return false;
    auto d = whole + (fraction > 0.5 ? 1 : 0);
    if (static_cast<double>(d) >= p10[precision + 1]) {
        d /= 10;
        ++k;
    }
    *digits = d;
    *exponent = k;
    return true;
}

// "%.*E" of digits (precision + 1 of them) times 10 to the exponent, without the sign.
char *writeScientific(char *p, std::uint64_t digits, int precision, int exponent)
{
    for (int i = precision + 1; i > 1; --i) {
        p[i] = static_cast<char>('0' + digits % 10);
        digits /= 10;
    }
    p[0] = static_cast<char>('0' + digits);
    p[1] = '.';
    p += precision + 2;
    *p++ = 'E';
    *p++ = exponent < 0 ? '-' : '+';
    const int e = exponent < 0 ? -exponent : exponent;
    if (e >= 100)
        *p++ = static_cast<char>('0' + e / 100);
    *p++ = static_cast<char>('0' + e / 10 % 10);
    *p++ = static_cast<char>('0' + e % 10);
    return p;
}

// "%g" of a finite, non-zero value from the fast digits: copying a selection of many
// points writes millions of these. nullptr when the fast digits are not certain.
char *writeShortG(char *p, double value)
{
    std::uint64_t digits = 0;
    int k = 0;
    if (!std::isfinite(value) || value == 0.0 || !fixedDigits(std::fabs(value), 5, &digits, &k))
        return nullptr;
    if (std::signbit(value))
        *p++ = '-';
    char d[6];
    for (int i = 5; i >= 0; --i) {
        d[i] = static_cast<char>('0' + digits % 10);
        digits /= 10;
    }
    int n = 6; // significant digits left after dropping trailing zeros
    while (n > 1 && d[n - 1] == '0')
        --n;
    if (k < -4 || k >= 6) {
        *p++ = d[0];
        if (n > 1) {
            *p++ = '.';
            std::memcpy(p, d + 1, static_cast<std::size_t>(n - 1));
            p += n - 1;
        }
        *p++ = 'e';
        *p++ = k < 0 ? '-' : '+';
        const int e = k < 0 ? -k : k;
        if (e >= 100)
            *p++ = static_cast<char>('0' + e / 100);
        *p++ = static_cast<char>('0' + e / 10 % 10);
        *p++ = static_cast<char>('0' + e % 10);
    } else if (k >= 0) {
        for (int i = 0; i <= k; ++i)
            *p++ = i < n ? d[i] : '0';
        if (n > k + 1) {
            *p++ = '.';
            std::memcpy(p, d + k + 1, static_cast<std::size_t>(n - k - 1));
            p += n - k - 1;
        }
    } else {
        *p++ = '0';
        *p++ = '.';
        for (int i = 0; i < -k - 1; ++i)
            *p++ = '0';
        std::memcpy(p, d, static_cast<std::size_t>(n));
        p += n;
    }
    return p;
}

} // namespace

double rxAtof(std::string_view text)
{
    const char *end = text.data() + text.size();
    const Sign s = skipSpaceAndSign(text.data(), end);
    if (startsDecimal(s.p, end)) {
        double v = 0.0;
        SimpleDecimal d;
        if (parseSimpleDecimal(s.p, end, d) && d.mantissa <= (std::uint64_t(1) << 53)
            && d.exponent >= -22 && d.exponent <= 22) {
            v = static_cast<double>(d.mantissa);
            v = d.exponent < 0 ? v / exactPowersOfTen[-d.exponent]
                               : v * exactPowersOfTen[d.exponent];
            return s.negative ? -v : v;
        }
        const auto r = std::from_chars(s.p, end, v, std::chars_format::general);
        if (r.ec == std::errc())
            return s.negative ? -v : v;
    }
    const std::string copy = terminated(s.number, end);
    return strtod_l(copy.c_str(), nullptr, cLocale());
}

namespace {

// The decimal digits at p, when there are at most nine (no int overflows): their value in
// *v and the end of the run. nullptr where more digits follow; the C library decides then.
const char *shortDigits(const char *p, const char *end, int *v)
{
    *v = 0;
    for (int digits = 0; p < end && isDigit(*p); ++digits) {
        if (digits == 9)
            return nullptr;
        *v = *v * 10 + (*p++ - '0');
    }
    return p;
}

} // namespace

int rxAtoi(std::string_view text)
{
    const char *end = text.data() + text.size();
    const Sign s = skipSpaceAndSign(text.data(), end);
    int v = 0;
    if (!shortDigits(s.p, end, &v)) {
        const std::string copy = terminated(s.number, end);
        // The narrowing of a long that does not fit is the C library's own behaviour.
        return static_cast<int>(std::strtol(copy.c_str(), nullptr, 10));
    }
    return s.negative ? -v : v;
}

bool rxScanFloat(std::string_view text, float *out)
{
    static constexpr float powersOfTenF[]
        = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    const char *end = text.data() + text.size();
    const Sign s = skipSpaceAndSign(text.data(), end);
    if (startsDecimal(s.p, end)) {
        float v = 0.0f;
        const char *stop = nullptr;
        SimpleDecimal d;
        if (parseSimpleDecimal(s.p, end, d) && d.mantissa <= (std::uint64_t(1) << 24)
            && d.exponent >= -10 && d.exponent <= 10) {
            v = static_cast<float>(d.mantissa);
            v = d.exponent < 0 ? v / powersOfTenF[-d.exponent] : v * powersOfTenF[d.exponent];
            stop = d.end;
        } else {
            const auto r = std::from_chars(s.p, end, v, std::chars_format::general);
            if (r.ec == std::errc())
                stop = r.ptr;
        }
        // scanf reads greedily: anything that could continue the number goes the slow way.
        if (stop
            && (stop == end || !(isAlnum(*stop) || *stop == '.' || *stop == '+' || *stop == '-'))) {
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
    const bool octalOrHex
        = p < end && *p == '0' && p + 1 < end && (isDigit(p[1]) || (p[1] | 0x20) == 'x');
    int v = 0;
    if (p < end && isDigit(*p) && !octalOrHex && shortDigits(p, end, &v)) {
        *out = s.negative ? -v : v;
        return true;
    }
    const std::string copy = terminated(text.data(), end);
    if (rxScanC(copy.c_str(), "%i", &v) != 1)
        return false;
    *out = v;
    return true;
}

namespace {

bool onlySpace(const char *p, const char *end)
{
    while (p < end && isCSpace(*p))
        ++p;
    return p == end;
}

// The slow path of the strict readers: the C library on a terminated copy, whose end
// (a NUL of the text included) must be followed by nothing but white space.
template <typename T, typename Convert>
bool wholeBySlowPath(std::string_view text, T *out, Convert convert)
{
    const std::string copy(text);
    const char *begin = copy.c_str();
    char *stop = nullptr;
    const T v = convert(begin, &stop);
    if (stop == begin || !onlySpace(stop, begin + copy.size()))
        return false;
    *out = v;
    return true;
}

} // namespace

namespace {

// What the strict readers' fast path needs of their type: where a short decimal and one
// power of ten are both exact, so that one operation rounds once (Clinger's fast path),
// and the C library's own conversion for the rest.
template <typename T> struct WholeNumber;

template <> struct WholeNumber<double>
{
    static constexpr std::uint64_t maxMantissa = std::uint64_t(1) << 53;
    static constexpr int maxExponent = 22;
    static double power(int k) { return exactPowersOfTen[k]; }
    static double slow(const char *p, char **stop) { return strtod_l(p, stop, cLocale()); }
};

template <> struct WholeNumber<float>
{
    static constexpr std::uint64_t maxMantissa = std::uint64_t(1) << 24;
    static constexpr int maxExponent = 10;
    static float power(int k)
    {
        static constexpr float powers[]
            = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
        return powers[k];
    }
    static float slow(const char *p, char **stop) { return strtof_l(p, stop, cLocale()); }
};

// The numbers the fast path leaves: long mantissas, large exponents, hexadecimal,
// infinities and NaN. Kept out of line, so that the fast path stays small where it is
// inlined.
template <typename T> Q_NEVER_INLINE bool wholeNumberSlowly(std::string_view text, T *out)
{
    const char *end = text.data() + text.size();
    const Sign s = skipSpaceAndSign(text.data(), end);
    if (startsDecimal(s.p, end)) {
        T v = 0;
        if (const auto r = std::from_chars(s.p, end, v, std::chars_format::general);
            r.ec == std::errc()) {
            if (!onlySpace(r.ptr, end))
                return false;
            *out = s.negative ? -v : v;
            return true;
        }
    }
    return wholeBySlowPath(text, out, WholeNumber<T>::slow);
}

// Reading a file is mostly this function: a short decimal that the fast path converts
// exactly.
template <typename T> bool wholeNumber(std::string_view text, T *out)
{
    using N = WholeNumber<T>;
    const char *end = text.data() + text.size();
    const Sign s = skipSpaceAndSign(text.data(), end);
    SimpleDecimal d;
    if (startsDecimal(s.p, end) && parseSimpleDecimal(s.p, end, d) && d.mantissa <= N::maxMantissa
        && d.exponent >= -N::maxExponent && d.exponent <= N::maxExponent && onlySpace(d.end, end)) {
        T v = static_cast<T>(d.mantissa);
        v = d.exponent < 0 ? v / N::power(-d.exponent) : v * N::power(d.exponent);
        *out = s.negative ? -v : v;
        return true;
    }
    return wholeNumberSlowly(text, out);
}

} // namespace

bool rxWholeDouble(std::string_view text, double *out)
{
    return wholeNumber(text, out);
}

bool rxWholeFloat(std::string_view text, float *out)
{
    return wholeNumber(text, out);
}

bool rxWholeInt(std::string_view text, int base, int *out)
{
    const char *end = text.data() + text.size();
    const Sign s = skipSpaceAndSign(text.data(), end);
    const char *p = s.p;
    // Base 0 reads a leading 0 as octal and 0x as hexadecimal: those go the slow way.
    const bool prefixed = base == 0 && p + 1 < end && *p == '0';
    int digits = 0;
    const char *digitsEnd
        = p < end && isDigit(*p) && !prefixed ? shortDigits(p, end, &digits) : nullptr;
    if (digitsEnd) {
        if (!onlySpace(digitsEnd, end))
            return false;
        *out = s.negative ? -digits : digits;
        return true;
    }
    long v = 0;
    if (!wholeBySlowPath(text, &v,
            [base](const char *q, char **stop) { return strtol_l(q, stop, base, cLocale()); }))
        return false;
    // The narrowing of a long that does not fit is the C library's own behaviour.
    *out = static_cast<int>(v);
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

char *rxWriteInt(char *p, int value, int width)
{
    char buf[16];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    const auto n = static_cast<int>(r.ptr - buf);
    for (int pad = width - n; pad > 0; --pad)
        *p++ = ' ';
    std::memcpy(p, buf, static_cast<std::size_t>(n));
    return p + n;
}

char *rxWriteG(char *p, double value)
{
    if (char *end = writeShortG(p, value))
        return end;
    return std::to_chars(p, p + 32, value, std::chars_format::general, 6).ptr;
}

namespace {

char *writeFixedRounded(char *out, double value, int width)
{
    std::uint64_t digits = 0;
    int exponent = 0;
    // The common case fills the field exactly and is written in place.
    if (std::isfinite(value) && value != 0.0
        && fixedDigits(std::fabs(value), width - 7, &digits, &exponent) && exponent > -100
        && exponent < 100) {
        *out++ = std::signbit(value) ? '-' : '+';
        return writeScientific(out, digits, width - 7, exponent);
    }
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
        const auto r = std::to_chars(
            p, buf + sizeof buf - 1, std::fabs(value), std::chars_format::scientific, width - 7);
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
    for (int pad = width - n; pad > 0; --pad)
        *out++ = ' ';
    std::memcpy(out, buf, static_cast<std::size_t>(n));
    return out + n;
}

} // namespace

char *rxWriteFixed(char *out, double value, int width)
{
    char *end = writeFixedRounded(out, value, width);
    // Near the top of the float range a short field can round up past it ("+3.403E+38"
    // for FLT_MAX), and the value would come back as infinity. One unit of the last digit
    // less is the nearest text that reads back finite.
    if (std::isfinite(value) && std::fabs(value) > 3.0e38 && std::fabs(value) <= FLT_MAX
        && std::isinf(
            rxNarrow(rxAtof(std::string_view(out, static_cast<std::size_t>(end - out)))))) {
        const double unit = std::pow(10.0, 38 - (width - 7));
        end = writeFixedRounded(out, value - std::copysign(unit, value), width);
    }
    return end;
}

void rxAppendInt(QByteArray &out, int value, int width)
{
    if (width > 99)
        out.append(width - 99, ' ');
    char buf[rxNumberRoom];
    out.append(buf, rxWriteInt(buf, value, width > 99 ? 99 : width) - buf);
}

void rxAppendG(QByteArray &out, double value, int precision)
{
    char buf[rxNumberRoom];
    if (precision == 6) {
        out.append(buf, rxWriteG(buf, value) - buf);
        return;
    }
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general,
        precision < 1        ? 1
            : precision > 17 ? 17
                             : precision);
    out.append(buf, r.ptr - buf);
}

void rxAppendF(QByteArray &out, double value)
{
    // Up to 309 digits before the point for the largest doubles.
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 6);
    out.append(buf, r.ptr - buf);
}

void rxAppendFixed(QByteArray &out, double value, int width)
{
    char buf[rxNumberRoom];
    out.append(buf, rxWriteFixed(buf, value, width) - buf);
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
