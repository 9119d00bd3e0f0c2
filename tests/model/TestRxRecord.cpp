#include "model/RxLineReader.h"
#include "model/RxRecord.h"

#include <QBuffer>
#include <QtTest>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

namespace {

std::uint32_t bitsOf(float v)
{
    std::uint32_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

// Hands out its bytes, then reports a read error.
class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(const QByteArray &data)
        : m_data(data)
    { }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *out, qint64 max) override
    {
        const qint64 n = std::min(max, static_cast<qint64>(m_data.size() - m_pos));
        if (n <= 0)
            return -1;
        std::memcpy(out, m_data.constData() + m_pos, static_cast<std::size_t>(n));
        m_pos += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_data;
    qint64 m_pos = 0;
};

} // namespace

class TestRxRecord : public QObject
{
    Q_OBJECT

private slots:
    void readIntKey_data();
    void readIntKey();
    void readFloatKey_data();
    void readFloatKey();
    void writeKey();
    void containsEndsAtNul();

    void lines_data();
    void lines();
    void linesAcrossChunks();
    void lineOverCapFails();
    void readErrorFails();

    void recordIn_data();
    void recordIn();
    void failureSticks();
};

void TestRxRecord::readIntKey_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("value");
    const int unchanged = -77;
    QTest::newRow("key line as written")
        << QByteArray("color") << QByteArray("C\tcolor: 5\n") << 1 << 5;
    QTest::newRow("CRLF line end")
        << QByteArray("color") << QByteArray("C\tcolor: 5\r\n") << 1 << 5;
    QTest::newRow("key anywhere") << QByteArray("color") << QByteArray("xx color yy: 7") << 1 << 7;
    QTest::newRow("key inside a longer key")
        << QByteArray("font") << QByteArray("C\tfontsize: 2\n") << 1 << 2;
    QTest::newRow("no colon") << QByteArray("color") << QByteArray("C\tcolor 5\n") << 0
                              << unchanged;
    QTest::newRow("no key") << QByteArray("font") << QByteArray("C\tcolor: 5\n") << 0 << unchanged;
    QTest::newRow("key in other case")
        << QByteArray("color") << QByteArray("C\tColor: 5\n") << 0 << unchanged;
    QTest::newRow("value after the first colon")
        << QByteArray("color") << QByteArray("C\tcolor: 3: 4\n") << 1 << 3;
    QTest::newRow("first colon before the key")
        << QByteArray("color") << QByteArray("C: 9 color: 5\n") << 1 << 9;
    QTest::newRow("value not a number")
        << QByteArray("color") << QByteArray("C\tcolor: abc\n") << 1 << 0;
    QTest::newRow("leading zero is decimal")
        << QByteArray("color") << QByteArray("C\tcolor: 010\n") << 1 << 10;
    QTest::newRow("hex is not read")
        << QByteArray("color") << QByteArray("C\tcolor: 0x1A\n") << 1 << 0;
    QTest::newRow("key after a NUL is not seen")
        << QByteArray("color") << QByteArray("C\0\tcolor: 5\n", 12) << 0 << unchanged;
    QTest::newRow("value ends at a NUL") << QByteArray("color")
                                         << QByteArray("C\tcolor: 1\0"
                                                       "2\n",
                                                13)
                                         << 1 << 1;
}

void TestRxRecord::readIntKey()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, line);
    QFETCH(int, result);
    QFETCH(int, value);
    int out = -77;
    QCOMPARE(::readIntKey(key.constData(), line.constData(), &out), result);
    QCOMPARE(out, value);
}

void TestRxRecord::readFloatKey_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("result");
    QTest::addColumn<float>("value");
    const float unchanged = -7.5f;
    QTest::newRow("key line as written") << QByteArray("C\tfontsize: 2.5\n") << 1 << 2.5f;
    QTest::newRow("sign and exponent") << QByteArray("C\tfontsize: +1.5e3x\n") << 1 << 1500.0f;
    QTest::newRow("hex float as atof reads it") << QByteArray("C\tfontsize: 0x1p3\n") << 1 << 8.0f;
    QTest::newRow("no colon") << QByteArray("C\tfontsize 2.5\n") << 0 << unchanged;
    QTest::newRow("no key") << QByteArray("C\tfont: 2.5\n") << 0 << unchanged;
    QTest::newRow("not a number") << QByteArray("C\tfontsize: x\n") << 1 << 0.0f;
    QTest::newRow("narrowing overflows") << QByteArray("C\tfontsize: 1e39\n") << 1 << HUGE_VALF;
    QTest::newRow("underflow") << QByteArray("C\tfontsize: 1e-50\n") << 1 << 0.0f;
    QTest::newRow("nan") << QByteArray("C\tfontsize: nan\n") << 1 << std::nanf("");
}

void TestRxRecord::readFloatKey()
{
    QFETCH(QByteArray, line);
    QFETCH(int, result);
    QFETCH(float, value);
    float out = -7.5f;
    QCOMPARE(::readFloatKey("fontsize", line.constData(), &out), result);
    QCOMPARE(bitsOf(out), bitsOf(value));
}

void TestRxRecord::writeKey()
{
    QByteArray out;
    rxWriteIntKey(out, "color", 5);
    rxWriteIntKey(out, "font", -3);
    rxWriteFloatKey(out, "arrowsize", 0.7f);
    rxWriteFloatKey(out, "xplotsize", 1234567.0f);
    rxWriteFloatKey(out, "fontsize", 1e-5f);
    QCOMPARE(out,
        QByteArray("C\tcolor: 5\nC\tfont: -3\nC\tarrowsize: 0.7\nC\txplotsize: 1.23457e+06\n"
                   "C\tfontsize: 1e-05\n"));
}

void TestRxRecord::containsEndsAtNul()
{
    QVERIFY(rxContains(QByteArray("xC scale:\n"), "C scale:"));
    QVERIFY(!rxContains(QByteArray("x\0C scale:\n", 11), "C scale:"));
}

void TestRxRecord::lines_data()
{
    const QByteArray x197(197, 'x');
    const QByteArray x198(198, 'x');
    const qsizetype whole = RxLineReader::maxLine;
    const qsizetype record = RxLineReader::recordLine;
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<qsizetype>("maxChars");
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::newRow("empty device") << QByteArray() << whole << QList<QByteArray>();
    QTest::newRow("final newline")
        << QByteArray("a\nbc\n") << whole << QList<QByteArray> {"a\n", "bc\n"};
    QTest::newRow("no final newline")
        << QByteArray("a\nbc") << whole << QList<QByteArray> {"a\n", "bc"};
    QTest::newRow("CRLF kept") << QByteArray("a\r\nb\r\n") << whole
                               << QList<QByteArray> {"a\r\n", "b\r\n"};
    QTest::newRow("lone carriage return ends a line")
        << QByteArray("a\rb\n\r") << whole << QList<QByteArray> {"a\r", "b\n", "\r"};
    QTest::newRow("byte-order mark passed over") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF\n")
                                                 << whole << QList<QByteArray> {"\xEF\xBB\xBF\n"};
    QTest::newRow("empty lines") << QByteArray("\n\n") << whole << QList<QByteArray> {"\n", "\n"};
    QTest::newRow("NUL bytes inside a line") << QByteArray("a\0b\n\0\n",
        6) << whole << QList<QByteArray> {QByteArray("a\0b\n", 4), QByteArray("\0\n", 2)};
    QTest::newRow("long line read whole")
        << QByteArray(x198 + x198 + "\n") << whole << QList<QByteArray> {x198 + x198 + "\n"};
    QTest::newRow("record line of 198 with its newline")
        << QByteArray(x197 + "\nz\n") << record << QList<QByteArray> {x197 + "\n", "z\n"};
    QTest::newRow("record line of 199 loses its newline to the next")
        << QByteArray(x198 + "\nz\n") << record << QList<QByteArray> {x198, "\n", "z\n"};
    QTest::newRow("long record line in three parts")
        << QByteArray(x198 + x198 + "abc\n") << record << QList<QByteArray> {x198, x198, "abc\n"};
    QTest::newRow("CRLF kept whole at the record limit")
        << QByteArray(x197 + "\r\nz") << record << QList<QByteArray> {x197 + "\r\n", "z"};
    QTest::newRow("198 characters at the end of the file")
        << x198 << record << QList<QByteArray> {x198};
}

void TestRxRecord::lines()
{
    QFETCH(QByteArray, data);
    QFETCH(qsizetype, maxChars);
    QFETCH(QList<QByteArray>, lines);
    QBuffer buffer(&data);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    RxLineReader in(buffer);
    QCOMPARE(in.atEnd(), lines.isEmpty());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray line("stale");
        QVERIFY(in.next(line, maxChars));
        QCOMPARE(line, lines[i]);
        // The end shows exactly after the last line, not before.
        QCOMPARE(in.atEnd(), i == lines.size() - 1);
    }
    QByteArray line("stale");
    QVERIFY(!in.next(line, maxChars));
    QVERIFY(line.isEmpty());
    QVERIFY(!in.failed());
}

void TestRxRecord::linesAcrossChunks()
{
    // Several times the reader's chunk, in lines of every length up to a few thousand
    // bytes and with every line end, some of them read in parts.
    std::mt19937 random(1);
    QByteArray data;
    QList<QByteArray> lines;
    while (data.size() < 1500000) {
        QByteArray line(static_cast<qsizetype>(random() % 3000), '\0');
        for (char &c : line) {
            c = static_cast<char>(random() % 256);
            if (c == '\n' || c == '\r')
                c = 'n';
        }
        static const char *const ends[] = {"\n", "\r\n", "\r"};
        line.append(ends[random() % 3]);
        data.append(line);
        lines.append(line);
    }
    QBuffer buffer(&data);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    RxLineReader in(buffer);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray got;
        if (i % 3 == 0) {
            // Read as record lines: the parts must join up to the line.
            QByteArray part;
            while (!got.endsWith('\n') && !got.endsWith('\r')
                && in.next(part, RxLineReader::recordLine))
                got.append(part);
        } else {
            std::string_view view;
            QVERIFY(in.next(view));
            got = QByteArray(view.data(), static_cast<qsizetype>(view.size()));
        }
        QVERIFY2(got == lines[i], QByteArray("line " + QByteArray::number(i)).constData());
        QCOMPARE(in.lineNumber(), i + 1);
    }
    QVERIFY(in.atEnd());
    QVERIFY(!in.failed());
}

void TestRxRecord::lineOverCapFails()
{
    QByteArray data(RxLineReader::maxLine - 1, 'x');
    data.append("\n");
    data.append(QByteArray(RxLineReader::maxLine, 'y'));
    data.append("\nz\n");
    QBuffer buffer(&data);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    RxLineReader in(buffer);
    QByteArray line;
    QVERIFY(in.next(line));
    QCOMPARE(line.size(), RxLineReader::maxLine);
    QVERIFY(!in.failed());
    QVERIFY(!in.next(line));
    QVERIFY(in.failed());
    // A loop reading to the end must stop here, and the failure must not give lines.
    QVERIFY(in.atEnd());
    QVERIFY(!in.next(line));
}

void TestRxRecord::readErrorFails()
{
    FailingDevice device("a\nb\npartial");
    QVERIFY(device.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    RxLineReader in(device);
    QByteArray line;
    QVERIFY(in.next(line));
    QCOMPARE(line, QByteArray("a\n"));
    QVERIFY(in.next(line));
    QCOMPARE(line, QByteArray("b\n"));
    // The text before the error is not a whole last line.
    QVERIFY(!in.next(line));
    QVERIFY(in.failed());
    QVERIFY(in.atEnd());
}

void TestRxRecord::recordIn_data()
{
    const QByteArray keys("C\talpha: 1\nC\tbeta: 2.5\nC\tgamma: 3\n");
    const QByteArray longLine = QByteArray(500, 'x') + "\n";
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("complete record") << keys + "next\nmore\n" << true << QByteArray("next\n");
    QTest::newRow("CRLF lines") << QByteArray(
        "C\talpha: 1\r\nC\tbeta: 2.5\r\nC\tgamma: 3\r\nnext\r\nmore\r\n")
                                << true << QByteArray("next\r\n");
    QTest::newRow("line after the record read whole") << keys + longLine + "more\n"
                                                      << true << longLine;
    QTest::newRow("end of file right after the last key") << keys << false << QByteArray();
    QTest::newRow("end of file right after the first key")
        << QByteArray("C\talpha: 1\n") << false << QByteArray();
    QTest::newRow("line after the record is the last") << keys + "next\n" << false << QByteArray();
    QTest::newRow("empty") << QByteArray() << false << QByteArray();
    QTest::newRow("missing key") << QByteArray(
        "C\talpha: 1\nC\tdelta: 2.5\nC\tgamma: 3\nnext\nmore\n")
                                 << false << QByteArray();
    QTest::newRow("missing colon")
        << QByteArray("C\talpha: 1\nC\tbeta 2.5\nC\tgamma: 3\nnext\nmore\n") << false
        << QByteArray();
    QTest::newRow("keys out of order")
        << QByteArray("C\tbeta: 2.5\nC\talpha: 1\nC\tgamma: 3\nnext\nmore\n") << false
        << QByteArray();
    QTest::newRow("key line over 198 characters") << QByteArray("C\talpha: 1" + QByteArray(250, ' ')
        + "\nC\tbeta: 2.5\nC\tgamma: 3\n"
          "next\nmore\n") << false << QByteArray();
}

void TestRxRecord::recordIn()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, ok);
    QFETCH(QByteArray, after);
    QBuffer buffer(&data);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    RxLineReader in(buffer);
    QByteArray line("C head:\n");
    int alpha = -1;
    float beta = -1.0f;
    int gamma = -1;
    RxRecordIn record(in, line);
    record.intKey("alpha", &alpha);
    record.floatKey("beta", &beta);
    record.intKey("gamma", &gamma);
    QCOMPARE(record.finish(), ok);
    if (!ok)
        return;
    QCOMPARE(alpha, 1);
    QCOMPARE(beta, 2.5f);
    QCOMPARE(gamma, 3);
    QCOMPARE(line, after);
}

void TestRxRecord::failureSticks()
{
    QByteArray data("C\talpha: 1\nC\tdelta: 2\nC\tgamma: 3\nnext\nmore\n");
    QBuffer buffer(&data);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    RxLineReader in(buffer);
    QByteArray line;
    int alpha = -1;
    float beta = -1.0f;
    int gamma = -1;
    RxRecordIn record(in, line);
    record.intKey("alpha", &alpha);
    record.floatKey("beta", &beta);
    record.intKey("gamma", &gamma);
    QVERIFY(!record.finish());
    QCOMPARE(beta, -1.0f);
    QCOMPARE(gamma, -1);
    // Nothing was read after the failing line.
    QVERIFY(in.next(line));
    QCOMPARE(line, QByteArray("C\tgamma: 3\n"));
}

QTEST_GUILESS_MAIN(TestRxRecord)
#include "TestRxRecord.moc"
