#include "model/RxScale.h"

#include "model/RxLineReader.h"
#include "model/RxTestRecord.h"

#include <QBuffer>
#include <QtTest>

#include <cmath>

namespace {

// Both axes go through the same rules; each case runs on X and on Y.
enum class Axis { X, Y };

int setRange(RxScale &s, Axis a, float max, float min)
{
    return a == Axis::X ? s.setXRange(max, min) : s.setYRange(max, min);
}
int setLog(RxScale &s, Axis a, int v)
{
    return a == Axis::X ? s.setXLog(v) : s.setYLog(v);
}
int setStep(RxScale &s, Axis a, float v)
{
    return a == Axis::X ? s.setXStep(v) : s.setYStep(v);
}
float maxOf(const RxScale &s, Axis a)
{
    return a == Axis::X ? s.xmax() : s.ymax();
}
float minOf(const RxScale &s, Axis a)
{
    return a == Axis::X ? s.xmin() : s.ymin();
}
int logOf(const RxScale &s, Axis a)
{
    return a == Axis::X ? s.xLog() : s.yLog();
}
float stepOf(const RxScale &s, Axis a)
{
    return a == Axis::X ? s.xStep() : s.yStep();
}

// Everything a scale holds, to see that a refused call changed nothing.
QByteArray state(const RxScale &s)
{
    QByteArray out;
    for (const float v : {s.xmax(), s.xmin(), s.ymax(), s.ymin(), s.xStep(), s.yStep()})
        out += QByteArray::number(v, 'g', 9) + ' ';
    for (const int v : {s.tickMode(), s.xLog(), s.yLog(), s.xzero(), s.yzero()})
        out += QByteArray::number(v) + ' ';
    return out + s.xLabel() + '|' + s.yLabel();
}

// A scale whose every field differs from the defaults, the zero-line flags included.
RxScale unusualScale()
{
    RxScale s;
    s.setXRange(100.0f, 10.0f);
    s.setYRange(-1.0f, -2.0f);
    s.setXLog(1);
    s.setTickMode(2);
    s.setXStep(5.0f);
    s.setYStep(0.25f);
    s.setXLabel("Time");
    s.setYLabel("Height");
    rxReadRecord(s, "C scale:\nC\txzero: 0\nC\tyzero: 0\nnext\nmore\n");
    return s;
}

} // namespace

class TestRxScale : public QObject
{
    Q_OBJECT

private slots:
    void range_data();
    void range();
    void log_data();
    void log();
    void tickMode_data();
    void tickMode();
    void step_data();
    void step();
    void label_data();
    void label();
    void clearAndAssign();

    void writeFormat();
    void readFormat_data();
    void readFormat();
    void brokenRecordChangesNothing_data();
    void brokenRecordChangesNothing();
};

void TestRxScale::range_data()
{
    const float nan = std::nanf("");
    const float inf = HUGE_VALF;
    QTest::addColumn<bool>("logBefore");
    QTest::addColumn<float>("max");
    QTest::addColumn<float>("min");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("logAfter");
    // The scale starts at max 10, min 1.
    QTest::newRow("equal ends refused") << false << 5.0f << 5.0f << 0 << 0;
    QTest::newRow("equal ends refused keeps log") << true << 5.0f << 5.0f << 0 << 1;
    QTest::newRow("negative end clears log") << true << 10.0f << -1.0f << 1 << 0;
    QTest::newRow("zero end clears log") << true << 10.0f << 0.0f << 1 << 0;
    QTest::newRow("reversed axis clears log") << true << 0.0f << 10.0f << 1 << 0;
    QTest::newRow("reversed positive axis keeps log") << true << 1.0f << 100.0f << 1 << 1;
    QTest::newRow("positive ends keep log") << true << 1000.0f << 0.5f << 1 << 1;
    QTest::newRow("plus and minus zero are equal") << false << 0.0f << -0.0f << 0 << 0;
    QTest::newRow("nan maximum refused") << true << nan << 1.0f << 0 << 1;
    QTest::newRow("nan minimum refused") << true << 1.0f << nan << 0 << 1;
    QTest::newRow("nan both refused") << false << nan << nan << 0 << 0;
    QTest::newRow("infinite maximum refused") << true << inf << 1.0f << 0 << 1;
    QTest::newRow("negative infinite minimum refused") << false << 1.0f << -inf << 0 << 0;
}

void TestRxScale::range()
{
    QFETCH(bool, logBefore);
    QFETCH(float, max);
    QFETCH(float, min);
    QFETCH(int, result);
    QFETCH(int, logAfter);
    for (const Axis a : {Axis::X, Axis::Y}) {
        RxScale s;
        QCOMPARE(setRange(s, a, 10.0f, 1.0f), 1);
        if (logBefore)
            QCOMPARE(setLog(s, a, 1), 1);
        const QByteArray before = state(s);
        QCOMPARE(setRange(s, a, max, min), result);
        if (result) {
            QCOMPARE(maxOf(s, a), max);
            QCOMPARE(minOf(s, a), min);
        } else {
            QCOMPARE(state(s), before);
        }
        QCOMPARE(logOf(s, a), logAfter);
        // A cleared flag cannot come back while an end is not above 0.
        if (result && !(max > 0 && min > 0))
            QCOMPARE(setLog(s, a, 1), 0);
    }
}

void TestRxScale::log_data()
{
    QTest::addColumn<float>("max");
    QTest::addColumn<float>("min");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("log");
    QTest::newRow("1 with positive ends") << 10.0f << 1.0f << 1 << 1 << 1;
    QTest::newRow("1 with reversed positive ends") << 1.0f << 10.0f << 1 << 1 << 1;
    QTest::newRow("1 with a zero end refused") << 10.0f << 0.0f << 1 << 0 << 0;
    QTest::newRow("1 with a negative end refused") << -1.0f << 10.0f << 1 << 0 << 0;
    QTest::newRow("1 on the default range refused") << 1.0f << 0.0f << 1 << 0 << 0;
    QTest::newRow("0 with negative ends") << -1.0f << -10.0f << 0 << 1 << 0;
    QTest::newRow("2 refused") << 10.0f << 1.0f << 2 << 0 << 0;
    QTest::newRow("-1 refused") << 10.0f << 1.0f << -1 << 0 << 0;
}

void TestRxScale::log()
{
    QFETCH(float, max);
    QFETCH(float, min);
    QFETCH(int, value);
    QFETCH(int, result);
    QFETCH(int, log);
    for (const Axis a : {Axis::X, Axis::Y}) {
        RxScale s;
        QCOMPARE(setRange(s, a, max, min), 1);
        QCOMPARE(setLog(s, a, value), result);
        QCOMPARE(logOf(s, a), log);
        // The other axis is not touched.
        QCOMPARE(logOf(s, a == Axis::X ? Axis::Y : Axis::X), 0);
    }
}

void TestRxScale::tickMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("result");
    QTest::newRow("none") << 0 << 1;
    QTest::newRow("grids") << 2 << 1;
    QTest::newRow("3 refused") << 3 << 0;
    QTest::newRow("-1 refused") << -1 << 0;
}

void TestRxScale::tickMode()
{
    QFETCH(int, mode);
    QFETCH(int, result);
    RxScale s;
    QCOMPARE(s.setTickMode(1), 1);
    QCOMPARE(s.setTickMode(mode), result);
    QCOMPARE(s.tickMode(), result ? mode : 1);
}

void TestRxScale::step_data()
{
    QTest::addColumn<float>("step");
    QTest::addColumn<int>("result");
    QTest::newRow("0 refused") << 0.0f << 0;
    QTest::newRow("negative refused") << -1.0f << 0;
    QTest::newRow("nan refused") << std::nanf("") << 0;
    QTest::newRow("infinity refused") << HUGE_VALF << 0;
    QTest::newRow("smallest float accepted") << 1e-45f << 1;
    QTest::newRow("float max accepted") << 3.4028235e38f << 1;
}

void TestRxScale::step()
{
    QFETCH(float, step);
    QFETCH(int, result);
    for (const Axis a : {Axis::X, Axis::Y}) {
        RxScale s;
        QCOMPARE(setStep(s, a, step), result);
        QCOMPARE(stepOf(s, a), result ? step : 0.1f);
    }
}

void TestRxScale::label_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("label");
    QTest::newRow("plain") << QByteArray("Time [s]") << QByteArray("Time [s]");
    QTest::newRow("empty removes") << QByteArray("") << QByteArray();
    QTest::newRow("absent removes") << QByteArray() << QByteArray();
    QTest::newRow("line breaks become blanks") << QByteArray("a\r\nb\n") << QByteArray("a  b ");
}

void TestRxScale::label()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, label);
    RxScale s;
    s.setXLabel("old");
    s.setYLabel("old");
    QCOMPARE(s.setXLabel(text), 1);
    QCOMPARE(s.setYLabel(text), 1);
    QCOMPARE(s.xLabel(), label);
    QCOMPARE(s.yLabel(), label);
    QCOMPARE(s.xLabelLength(), label.size());
    QCOMPARE(s.yLabelLength(), label.size());
}

void TestRxScale::clearAndAssign()
{
    const QByteArray defaults = state(RxScale());
    RxScale s = unusualScale();
    QVERIFY(state(s) != defaults);
    s.clear();
    QCOMPARE(state(s), defaults);

    // Assignment leaves nothing of the target behind, labels included.
    RxScale t = unusualScale();
    t = RxScale();
    QCOMPARE(state(t), defaults);
    QCOMPARE(t.xLabelLength(), 0);

    const RxScale source = unusualScale();
    RxScale copy(source);
    QCOMPARE(state(copy), state(source));
}

void TestRxScale::writeFormat()
{
    QByteArray out("before\n");
    RxScale().writeFormat(out);
    unusualScale().writeFormat(out);
    QCOMPARE(out,
        QByteArray("before\nC scale:\nC\txzero: 1\nC\tyzero: 1\n"
                   "C scale:\nC\txzero: 0\nC\tyzero: 0\n"));
}

void TestRxScale::readFormat_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<int>("xzero");
    QTest::addColumn<int>("yzero");
    QTest::newRow("flags off") << QByteArray("C scale:\nC\txzero: 0\nC\tyzero: 0\n") << 0 << 0;
    QTest::newRow("mixed flags") << QByteArray("C scale:\nC\txzero: 1\nC\tyzero: 0\n") << 1 << 0;
    QTest::newRow("CRLF lines") << QByteArray("C scale:\r\nC\txzero: 0\r\nC\tyzero: 1\r\n") << 0
                                << 1;
    QTest::newRow("flag 2 gives the default")
        << QByteArray("C scale:\nC\txzero: 2\nC\tyzero: 0\n") << 1 << 0;
    QTest::newRow("negative flag gives the default")
        << QByteArray("C scale:\nC\txzero: 0\nC\tyzero: -1\n") << 0 << 1;
    QTest::newRow("head text inside a line")
        << QByteArray("xx C scale: yy\nC\txzero: 0\nC\tyzero: 0\n") << 0 << 0;
}

void TestRxScale::readFormat()
{
    QFETCH(QByteArray, record);
    QFETCH(int, xzero);
    QFETCH(int, yzero);
    RxScale s;
    s.setXLabel("kept");
    QByteArray after;
    QCOMPARE(rxReadRecord(s, record + "next line\nmore\n", &after), 1);
    QCOMPARE(s.xzero(), xzero);
    QCOMPARE(s.yzero(), yzero);
    QCOMPARE(after, QByteArray("next line\n"));
    // The record holds the flags only.
    QCOMPARE(s.xLabel(), QByteArray("kept"));

    // And what is written reads back the same.
    QByteArray written;
    s.writeFormat(written);
    RxScale t;
    QCOMPARE(rxReadRecord(t, written + "next\nmore\n"), 1);
    QCOMPARE(t.xzero(), xzero);
    QCOMPARE(t.yzero(), yzero);
}

void TestRxScale::brokenRecordChangesNothing_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::newRow("no head line") << QByteArray("C plotdefs:\nC\txzero: 1\nC\tyzero: 1\nx\ny\n");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("head line only") << QByteArray("C scale:\n");
    QTest::newRow("truncated after the first key") << QByteArray("C scale:\nC\txzero: 1\n");
    QTest::newRow("no line after the record") << QByteArray("C scale:\nC\txzero: 1\nC\tyzero: 1\n");
    QTest::newRow("keys swapped") << QByteArray("C scale:\nC\tyzero: 1\nC\txzero: 1\nx\ny\n");
    QTest::newRow("key without colon") << QByteArray("C scale:\nC\txzero 1\nC\tyzero: 1\nx\ny\n");
}

void TestRxScale::brokenRecordChangesNothing()
{
    QFETCH(QByteArray, record);
    RxScale s = unusualScale();
    const QByteArray before = state(s);
    QCOMPARE(rxReadRecord(s, record), 0);
    QCOMPARE(state(s), before);
}

QTEST_GUILESS_MAIN(TestRxScale)
#include "TestRxScale.moc"
