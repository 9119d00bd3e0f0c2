// The number text helpers promise the C library's own results, so every reader is checked
// against the C library itself, on a table of awkward inputs and on a seeded random sweep.
#include "model/RxNumberText.h"

#include <QtTest>

#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

namespace {

std::uint64_t bitsOf(double v)
{
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

std::uint32_t bitsOf(float v)
{
    std::uint32_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

float floatFromBits(std::uint32_t b)
{
    float v;
    std::memcpy(&v, &b, sizeof v);
    return v;
}

double doubleFromBits(std::uint64_t b)
{
    double v;
    std::memcpy(&v, &b, sizeof v);
    return v;
}

// Input text made readable in a failure message.
QByteArray shown(std::string_view text)
{
    QByteArray s("\"");
    for (const char c : text) {
        if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\')
            s.append(c);
        else
            s.append(QByteArray("\\x") + QByteArray::number(static_cast<unsigned char>(c), 16));
    }
    return s.append('"');
}

std::string_view viewOf(const QByteArray &text)
{
    return std::string_view(text.constData(), static_cast<std::size_t>(text.size()));
}

// The references. text must be NUL-terminated; an embedded NUL ends it, as it ends the
// views under test.
struct CScanFloat
{
    int n;
    float value;
};
struct CScanInt
{
    int n;
    int value;
};

CScanFloat cScanFloat(const char *text)
{
    CScanFloat r {0, -12.5f};
    r.n = std::sscanf(text, "%g", &r.value);
    return r;
}

CScanInt cScanInt(const char *text)
{
    CScanInt r {0, -125};
    r.n = std::sscanf(text, "%i", &r.value);
    return r;
}

// The strict forms' reference: the C conversion, then nothing but white space. A NUL
// inside the view (where the reference stops short of it) is neither.
template <typename T, typename Convert>
bool cWhole(std::string_view view, const char *text, T *out, Convert convert)
{
    if (std::strlen(text) != view.size())
        return false;
    char *end = nullptr;
    const T v = convert(text, &end);
    if (end == text)
        return false;
    while (*end == ' ' || (*end >= '\t' && *end <= '\r'))
        ++end;
    if (*end)
        return false;
    *out = v;
    return true;
}

template <typename T, typename Convert>
QByteArray wholeDisagrees(const char *name, std::string_view view, const char *reference,
    bool (*reader)(std::string_view, T *), Convert convert)
{
    T got = T(-12.5);
    T expected = T(-12.5);
    const bool ok = reader(view, &got);
    const bool cOk = cWhole(view, reference, &expected, convert);
    if (ok == cOk && std::memcmp(&got, &expected, sizeof got) == 0)
        return QByteArray();
    return QByteArray(name) + ' ' + QByteArray::number(ok) + ' '
        + QByteArray::number(static_cast<double>(got), 'g', 17) + " C " + QByteArray::number(cOk)
        + ' ' + QByteArray::number(static_cast<double>(expected), 'g', 17);
}

bool wholeDecimal(std::string_view text, int *out)
{
    return rxWholeInt(text, 10, out);
}

bool wholeAnyBase(std::string_view text, int *out)
{
    return rxWholeInt(text, 0, out);
}

int cCount(const char *text)
{
    const long long v = std::strtoll(text, nullptr, 10);
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
}

// Compares every reader on view with the C library on reference, the same text ended
// by a NUL. Returns an empty text when all agree, else what differed.
QByteArray readersDisagree(std::string_view view, const char *reference)
{
    const double d = rxAtof(view);
    const double cd = std::atof(reference);
    if (bitsOf(d) != bitsOf(cd))
        return "rxAtof " + QByteArray::number(d, 'g', 17) + " atof "
            + QByteArray::number(cd, 'g', 17);
    const int i = rxAtoi(view);
    if (i != std::atoi(reference))
        return "rxAtoi " + QByteArray::number(i) + " atoi "
            + QByteArray::number(std::atoi(reference));
    float f = -12.5f;
    const bool fOk = rxScanFloat(view, &f);
    const CScanFloat cf = cScanFloat(reference);
    if (fOk != (cf.n == 1) || bitsOf(f) != bitsOf(cf.value))
        return "rxScanFloat " + QByteArray::number(fOk) + " " + QByteArray::number(f, 'g', 9)
            + " sscanf " + QByteArray::number(cf.n) + " " + QByteArray::number(cf.value, 'g', 9);
    int k = -125;
    const bool kOk = rxScanInt(view, &k);
    const CScanInt ck = cScanInt(reference);
    if (kOk != (ck.n == 1) || k != ck.value)
        return "rxScanInt " + QByteArray::number(kOk) + " " + QByteArray::number(k) + " sscanf "
            + QByteArray::number(ck.n) + " " + QByteArray::number(ck.value);
    if (rxCountValue(view) != cCount(reference))
        return "rxCountValue " + QByteArray::number(rxCountValue(view)) + " strtoll "
            + QByteArray::number(cCount(reference));
    QByteArray whole = wholeDisagrees("rxWholeDouble", view, reference, rxWholeDouble,
        [](const char *t, char **e) { return std::strtod(t, e); });
    if (whole.isEmpty())
        whole = wholeDisagrees("rxWholeFloat", view, reference, rxWholeFloat,
            [](const char *t, char **e) { return std::strtof(t, e); });
    if (whole.isEmpty())
        whole = wholeDisagrees("rxWholeInt base 10", view, reference, wholeDecimal,
            [](const char *t, char **e) { return static_cast<int>(std::strtol(t, e, 10)); });
    if (whole.isEmpty())
        whole = wholeDisagrees("rxWholeInt base 0", view, reference, wholeAnyBase,
            [](const char *t, char **e) { return static_cast<int>(std::strtol(t, e, 0)); });
    return whole;
}

// "%+W.(W-7)E" by the C library, repaired like winFixExpFmt where it is too wide.
QByteArray cFixed(double v, int width)
{
    char buf[256];
    const int n = std::snprintf(buf, sizeof buf, "%+*.*E", width, width - 7, v);
    QByteArray s(buf, n);
    if (s.size() > width) {
        const qsizetype e = s.indexOf('E');
        if (e >= 0 && s.size() - e == 5 && s[e + 2] == '0')
            s.remove(e + 2, 1);
    }
    return s;
}

// What the data file holds: C's text, except where it would read back as infinity for a
// finite float; then the text one unit of the last digit nearer to zero.
QByteArray expectedFixed(double v, int width)
{
    const QByteArray c = cFixed(v, width);
    if (!std::isfinite(v) || std::fabs(v) > FLT_MAX
        || std::isfinite(std::strtof(c.constData(), nullptr)))
        return c;
    return cFixed(v - std::copysign(std::pow(10.0, 38 - (width - 7)), v), width);
}

QByteArray cG(double v)
{
    char buf[64];
    const int n = std::snprintf(buf, sizeof buf, "%g", v);
    return QByteArray(buf, n);
}

// Correctly rounded narrowing, by the C library from the exact hexadecimal text.
float cNarrow(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%a", v);
    return std::strtof(buf, nullptr);
}

} // namespace

class TestRxNumberText : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void readersMatchC_data();
    void readersMatchC();
    void viewEndActsAsNul_data();
    void viewEndActsAsNul();
    void printedFloatsReadLikeC();
    void randomTextReadsLikeC();

    void countValue_data();
    void countValue();

    void appendG_data();
    void appendG();
    void appendGRandom();
    void appendFixed_data();
    void appendFixed();
    void appendFixedRandom();
    void appendFixedBeyondFloatRange_data();
    void appendFixedBeyondFloatRange();
    void appendInt_data();
    void appendInt();

    void winFixExpFmt_data();
    void winFixExpFmt();
    void stripLineEnd_data();
    void stripLineEnd();
    void narrow_data();
    void narrow();
    void narrowRandom();
};

void TestRxNumberText::initTestCase()
{
    // The references must be the "C" locale's conversions; the application object may
    // have adopted another.
    QVERIFY(std::setlocale(LC_ALL, "C"));
}

void TestRxNumberText::readersMatchC_data()
{
    QTest::addColumn<QByteArray>("text");
    const auto row = [](const char *name, const QByteArray &text) { QTest::newRow(name) << text; };
    // The random sweep covers short texts of digits, signs, points, exponents, blanks and
    // the letters of inf, nan and hexadecimal; these are the inputs it cannot reach.
    row("empty", "");
    row("other white space first", "\n\v\f\r 7");
    row("plus then minus", "+-1");
    row("point first", ".5");
    row("point last", "5.");
    row("exponent without digits", "1e");
    row("exponent sign without digits", "1e+");
    row("number then letter", "1e5x");
    row("trailing CRLF", "2.5\r\n");
    row("comma decimal", "1,5");
    row("hex float", "0x1p3");
    row("hex without digits", "0x");
    row("hex float beyond float range", "0x1p200");
    row("leading zero then eight", "08");
    row("octal ten", "010");
    row("INF in capitals", "INF");
    row("infinity", "infinity");
    row("negative Infinity", "-Infinity");
    row("infinity cut short", "infinit");
    row("nan", "nan");
    row("nan with payload", "nan(123)");
    row("nan with open payload", "nan(12");
    row("halfway to 2^128", "340282356779733661637539395458142568448");
    row("below halfway to 2^128", "340282356779733661637539395458142568447");
    row("narrowing to float overflows", "1e39");
    row("double overflow", "-1e400");
    row("float underflow", "1e-50");
    row("float subnormal", "1e-40");
    row("half the smallest float", "7.006492321624085e-46");
    row("above half the smallest float", "7.1e-46");
    row("double subnormal", "4.9e-324");
    row("double underflow", "1e-400");
    row("exponent of many digits", "1e0000000000000000000000005");
    row("exponent far below", "1e-99999");
    row("exact double tie", "0.1000000000000000055511151231257827021181583404541015625");
    row("forty digits", "1234567890123456789012345678901234567890");
    row("int max plus one", "2147483648");
    row("int min minus one", "-2147483649");
    row("two to the 32", "4294967296");
    row("long max plus one", "9223372036854775808");
    row("twenty digits", "12345678901234567890");
    row("negative twenty digits", "-12345678901234567890");
    row("many leading zeros", "0000000000000000001");
    row("garbage", "abc");
    row("high bytes", "\xff\xfe");
    row("embedded NUL", QByteArray("12\0 34", 6));
    row("NUL first", QByteArray("\0 5", 3));
    row("NUL inside exponent", QByteArray("1e\0 5", 5));
    row("NUL after hex prefix", QByteArray("0x\0 1", 5));
}

void TestRxNumberText::readersMatchC()
{
    QFETCH(QByteArray, text);
    // The reference stops at an embedded NUL; the view must stop there too.
    const QByteArray diff = readersDisagree(viewOf(text), text.constData());
    QVERIFY2(diff.isEmpty(), diff.constData());
}

void TestRxNumberText::viewEndActsAsNul_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("length");
    QTest::newRow("integer cut") << QByteArray("12") << 1;
    QTest::newRow("exponent cut") << QByteArray("1e5") << 2;
    QTest::newRow("fraction cut") << QByteArray("1.5") << 2;
    QTest::newRow("nine digits of more") << QByteArray("1234567890123") << 9;
    QTest::newRow("hex prefix cut") << QByteArray("0x1p3") << 2;
    QTest::newRow("octal cut") << QByteArray("0777") << 2;
    QTest::newRow("infinity cut") << QByteArray("infinity") << 5;
    QTest::newRow("nan payload cut") << QByteArray("nan(12)") << 6;
    QTest::newRow("nothing") << QByteArray("7") << 0;
}

void TestRxNumberText::viewEndActsAsNul()
{
    QFETCH(QByteArray, text);
    QFETCH(int, length);
    const std::string_view view(text.constData(), static_cast<std::size_t>(length));
    const QByteArray reference = text.left(length);
    const QByteArray diff = readersDisagree(view, reference.constData());
    QVERIFY2(diff.isEmpty(), diff.constData());
}

void TestRxNumberText::printedFloatsReadLikeC()
{
    // Every float a file can hold, printed the ways files print numbers.
    static const char *const formats[] = {"%.9g", "%g", "%a", "%+.3E", "%f", "%.12e"};
    std::mt19937 random(20240611);
    int mismatches = 0;
    QByteArray first;
    for (int i = 0; i < 60000; ++i) {
        const float v = floatFromBits(static_cast<std::uint32_t>(random()));
        for (const char *format : formats) {
            char text[128];
            std::snprintf(text, sizeof text, format, static_cast<double>(v));
            const QByteArray diff = readersDisagree(text, text);
            if (!diff.isEmpty() && mismatches++ == 0)
                first = shown(std::string_view(text)) + ": " + diff;
        }
    }
    QVERIFY2(mismatches == 0,
        (QByteArray::number(mismatches) + " mismatches, first " + first).constData());
}

void TestRxNumberText::randomTextReadsLikeC()
{
    // Short texts over the characters numbers are made of, each read as a view whose
    // buffer goes on with more such characters: a reader must stop at the view's end.
    static const char alphabet[] = "0123456789+-.eExX pinfa\t";
    const int letters = static_cast<int>(sizeof alphabet) - 1;
    std::mt19937 random(7);
    int mismatches = 0;
    QByteArray first;
    for (int i = 0; i < 150000; ++i) {
        char buffer[32];
        const int length = static_cast<int>(random() % 13);
        const int tail = static_cast<int>(random() % 4);
        for (int k = 0; k < length + tail; ++k)
            buffer[k] = alphabet[random() % static_cast<unsigned>(letters)];
        char reference[32];
        std::memcpy(reference, buffer, static_cast<std::size_t>(length));
        reference[length] = '\0';
        const std::string_view view(buffer, static_cast<std::size_t>(length));
        const QByteArray diff = readersDisagree(view, reference);
        if (!diff.isEmpty() && mismatches++ == 0)
            first = shown(view) + ": " + diff;
    }
    QVERIFY2(mismatches == 0,
        (QByteArray::number(mismatches) + " mismatches, first " + first).constData());
}

void TestRxNumberText::countValue_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("count");
    QTest::newRow("plain") << QByteArray("25") << 25;
    QTest::newRow("leading zero is not octal") << QByteArray("010") << 10;
    QTest::newRow("blanks, sign and line end") << QByteArray(" \t+17\r\n") << 17;
    QTest::newRow("negative") << QByteArray("-3") << -3;
    QTest::newRow("hex is not read") << QByteArray("0x10") << 0;
    QTest::newRow("digits stop at a letter") << QByteArray("12abc") << 12;
    QTest::newRow("no digits") << QByteArray("abc") << 0;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("int max plus one saturates") << QByteArray("2147483648") << INT_MAX;
    QTest::newRow("twenty digits saturate") << QByteArray("99999999999999999999") << INT_MAX;
    QTest::newRow("int min minus one saturates") << QByteArray("-2147483649") << INT_MIN;
    QTest::newRow("negative twenty digits saturate")
        << QByteArray("-99999999999999999999") << INT_MIN;
    QTest::newRow("many leading zeros") << QByteArray("000000000000000000000042") << 42;
    QTest::newRow("embedded NUL ends the text") << QByteArray("1\0"
                                                              "2",
        3) << 1;
}

void TestRxNumberText::countValue()
{
    QFETCH(QByteArray, text);
    QFETCH(int, count);
    QCOMPARE(rxCountValue(viewOf(text)), count);
}

void TestRxNumberText::appendG_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("zero") << 0.0;
    QTest::newRow("negative zero") << -0.0;
    QTest::newRow("nan") << std::nan("");
    QTest::newRow("negative nan") << -std::nan("");
    QTest::newRow("infinity") << HUGE_VAL;
    QTest::newRow("seven digits go to exponent") << 1234567.0;
    QTest::newRow("rounds up to exponent form") << 999999.5;
    QTest::newRow("small exponent") << 0.00001;
    QTest::newRow("float max") << static_cast<double>(FLT_MAX);
    QTest::newRow("negative float max") << -static_cast<double>(FLT_MAX);
    QTest::newRow("rounds past float max at four digits") << 3.4026e38;
    QTest::newRow("float subnormal") << static_cast<double>(FLT_TRUE_MIN);
    QTest::newRow("double subnormal") << 4.9e-324;
    QTest::newRow("tie at the sixth digit") << 0.1234565;
    QTest::newRow("smallest fixed form") << 0.0001;
    QTest::newRow("largest fixed form") << 999999.0;
    QTest::newRow("trailing zeros dropped") << -2.5;
    QTest::newRow("integer with zeros") << 120000.0;
    QTest::newRow("three-digit exponent") << 1.5e-300;
}

void TestRxNumberText::appendG()
{
    QFETCH(double, value);
    QByteArray out("ab");
    rxAppendG(out, value);
    QCOMPARE(out, "ab" + cG(value));
}

void TestRxNumberText::appendGRandom()
{
    std::mt19937_64 random(11);
    int mismatches = 0;
    QByteArray first;
    for (int i = 0; i < 150000; ++i) {
        const std::uint64_t r = random();
        // Floats, as the records write them, and doubles over their whole range.
        // And short decimals of everyday size, where ties and trailing zeros are common.
        const double v = i % 3 == 0
            ? static_cast<double>(floatFromBits(static_cast<std::uint32_t>(r)))
            : i % 3 == 1 ? doubleFromBits(r)
                         : static_cast<double>(static_cast<std::int64_t>(r % 2000001) - 1000000)
                / std::pow(10.0, static_cast<double>(r >> 60));
        QByteArray out;
        rxAppendG(out, v);
        const QByteArray expected = cG(v);
        if (out != expected && mismatches++ == 0)
            first = out + " instead of " + expected;
    }
    QVERIFY2(mismatches == 0,
        (QByteArray::number(mismatches) + " mismatches, first " + first).constData());
}

void TestRxNumberText::appendFixed_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("zero") << 0.0;
    QTest::newRow("negative zero") << -0.0;
    QTest::newRow("nan") << std::nan("");
    QTest::newRow("negative nan") << -std::nan("");
    QTest::newRow("negative infinity") << -HUGE_VAL;
    QTest::newRow("one") << 1.0;
    QTest::newRow("tie to even") << 1.25;
    QTest::newRow("carry into the exponent") << 9.99999;
    QTest::newRow("float max") << static_cast<double>(FLT_MAX);
    QTest::newRow("negative float max") << -static_cast<double>(FLT_MAX);
    QTest::newRow("rounds past float max at four digits") << 3.4026e38;
    QTest::newRow("float smallest subnormal") << static_cast<double>(FLT_TRUE_MIN);
}

void TestRxNumberText::appendFixed()
{
    QFETCH(double, value);
    for (int width = 8; width <= 99; ++width) {
        QByteArray out("ab");
        rxAppendFixed(out, value, width);
        const QByteArray expected = "ab" + expectedFixed(value, width);
        QVERIFY2(out == expected, (out + " instead of " + expected).constData());
        QCOMPARE(out.size(), width + 2);
    }
}

void TestRxNumberText::appendFixedRandom()
{
    std::mt19937 random(3);
    int mismatches = 0;
    QByteArray first;
    for (int i = 0; i < 60000; ++i) {
        const float v = floatFromBits(static_cast<std::uint32_t>(random()));
        const int width = 8 + static_cast<int>(random() % 92);
        QByteArray out;
        rxAppendFixed(out, static_cast<double>(v), width);
        const QByteArray expected = expectedFixed(static_cast<double>(v), width);
        if ((out != expected || out.size() != width) && mismatches++ == 0)
            first = out + " instead of " + expected;
    }
    QVERIFY2(mismatches == 0,
        (QByteArray::number(mismatches) + " mismatches, first " + first).constData());
}

void TestRxNumberText::appendFixedBeyondFloatRange_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("two-digit exponent") << 1e99 << 10 << QByteArray("+1.000E+99");
    // A three-digit exponent cannot be shortened without changing the number: the field
    // grows by one rather than show another value.
    QTest::newRow("three-digit exponent") << 1e100 << 10 << QByteArray("+1.000E+100");
    QTest::newRow("negative three-digit exponent") << -2.5e-300 << 8 << QByteArray("-2.5E-300");
    QTest::newRow("double subnormal") << 4.9e-324 << 10 << QByteArray("+4.941E-324");
    // Written as C would ("+3.403E+38"), the largest float would read back as infinity.
    QTest::newRow("float max stays finite") << double(FLT_MAX) << 10 << QByteArray("+3.402E+38");
}

void TestRxNumberText::appendFixedBeyondFloatRange()
{
    QFETCH(double, value);
    QFETCH(int, width);
    QFETCH(QByteArray, text);
    QByteArray out;
    rxAppendFixed(out, value, width);
    QCOMPARE(out, text);
}

void TestRxNumberText::appendInt_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("width");
    QTest::newRow("no width") << 7 << 0;
    QTest::newRow("padded") << 1 << 3;
    QTest::newRow("negative padded") << -5 << 3;
    QTest::newRow("wider than the field") << 12345 << 3;
    QTest::newRow("exactly the field") << 123 << 3;
    QTest::newRow("int min") << INT_MIN << 0;
    QTest::newRow("int max in a wide field") << INT_MAX << 15;
}

void TestRxNumberText::appendInt()
{
    QFETCH(int, value);
    QFETCH(int, width);
    char expected[32];
    std::snprintf(expected, sizeof expected, "%*i", width, value);
    QByteArray out("ab");
    rxAppendInt(out, value, width);
    QCOMPARE(out, QByteArray("ab") + expected);
}

void TestRxNumberText::winFixExpFmt_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("fixed");
    QTest::newRow("three-digit positive exponent")
        << QByteArray("+1.000E+012") << QByteArray("+1.000E+12");
    QTest::newRow("three-digit negative exponent")
        << QByteArray("-2.500E-001") << QByteArray("-2.500E-01");
    QTest::newRow("two-digit exponent") << QByteArray("+1.000E+12") << QByteArray("+1.000E+12");
    QTest::newRow("four-digit exponent")
        << QByteArray("+1.000E+0012") << QByteArray("+1.000E+0012");
    QTest::newRow("no exponent") << QByteArray("12.5") << QByteArray("12.5");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("lower case e") << QByteArray("1.0e+012") << QByteArray("1.0e+012");
    QTest::newRow("first E decides") << QByteArray("E+012E") << QByteArray("E+012E");
    // Dropping any digit but a leading zero would write another number.
    QTest::newRow("exponent of one hundred")
        << QByteArray("+1.000E+100") << QByteArray("+1.000E+100");
    QTest::newRow("five characters not an exponent")
        << QByteArray("TYPE ABC") << QByteArray("TYPE ABC");
}

void TestRxNumberText::winFixExpFmt()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, fixed);
    char buf[32];
    std::memset(buf, 'x', sizeof buf);
    std::memcpy(buf, text.constData(), static_cast<std::size_t>(text.size()) + 1);
    ::winFixExpFmt(buf);
    QCOMPARE(QByteArray(buf), fixed);
    // Nothing moves past the old terminator.
    QCOMPARE(buf[text.size() + 1], 'x');
}

void TestRxNumberText::stripLineEnd_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("stripped");
    QTest::newRow("newline") << QByteArray("abc\n") << QByteArray("abc");
    QTest::newRow("CRLF") << QByteArray("abc\r\n") << QByteArray("abc");
    QTest::newRow("mixed run") << QByteArray("abc\n\r\n\r") << QByteArray("abc");
    QTest::newRow("line end only") << QByteArray("\r\n") << QByteArray("");
    QTest::newRow("empty") << QByteArray("") << QByteArray("");
    QTest::newRow("inner newline stays") << QByteArray("a\nb\n") << QByteArray("a\nb");
    QTest::newRow("trailing blank stays") << QByteArray("a \n") << QByteArray("a ");
    QTest::newRow("no line end") << QByteArray("abc") << QByteArray("abc");
}

void TestRxNumberText::stripLineEnd()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, stripped);

    QByteArray c = text;
    ::stripLineEnd(c.data());
    QCOMPARE(QByteArray(c.constData()), stripped);

    QByteArray array = text;
    ::stripLineEnd(array);
    QCOMPARE(array, stripped);

    const std::string_view view = ::stripLineEnd(viewOf(text));
    QCOMPARE(QByteArray(view.data(), static_cast<qsizetype>(view.size())), stripped);
}

void TestRxNumberText::narrow_data()
{
    const double fltMax = static_cast<double>(FLT_MAX);
    const double halfway = 0x1.ffffffp127;
    QTest::addColumn<double>("value");
    QTest::newRow("zero") << 0.0;
    QTest::newRow("negative zero") << -0.0;
    QTest::newRow("float max") << fltMax;
    QTest::newRow("just above float max") << std::nextafter(fltMax, HUGE_VAL);
    QTest::newRow("just below halfway to 2^128") << std::nextafter(halfway, 0.0);
    QTest::newRow("halfway to 2^128") << halfway;
    QTest::newRow("2^128") << 0x1p128;
    QTest::newRow("negative huge") << -1e300;
    QTest::newRow("infinity") << HUGE_VAL;
    QTest::newRow("double subnormal") << 4.9e-324;
    QTest::newRow("half the smallest float") << static_cast<double>(FLT_TRUE_MIN) / 2;
    QTest::newRow("three quarters of the smallest float")
        << static_cast<double>(FLT_TRUE_MIN) * 0.75;
}

void TestRxNumberText::narrow()
{
    QFETCH(double, value);
    QCOMPARE(bitsOf(rxNarrow(value)), bitsOf(cNarrow(value)));
}

void TestRxNumberText::narrowRandom()
{
    std::mt19937_64 random(5);
    int mismatches = 0;
    QByteArray first;
    for (int i = 0; i < 150000; ++i) {
        const double v = doubleFromBits(random());
        const float got = rxNarrow(v);
        const float expected = cNarrow(v);
        const bool same = std::isnan(v) ? std::isnan(got) && std::signbit(got) == std::signbit(v)
                                        : bitsOf(got) == bitsOf(expected);
        if (!same && mismatches++ == 0)
            first = QByteArray::number(v, 'g', 17);
    }
    QVERIFY2(mismatches == 0,
        (QByteArray::number(mismatches) + " mismatches, first " + first).constData());
}

QTEST_GUILESS_MAIN(TestRxNumberText)
#include "TestRxNumberText.moc"
