#include "render/RxDraw.h"
#include "render/RxGhostscript.h"
#include "model/RxTestRecord.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include <algorithm>
#include <cstdlib>

namespace {

// Keeps what the axes code asks of the primitives, then lets them draw.
class Recorder : public RxDraw
{
public:
    QList<QList<QPoint>> lines;
    QStringList texts;

    void drawPolyline(int n, const QPoint *points) override
    {
        lines.append(QList<QPoint>(points, points + n));
        RxDraw::drawPolyline(n, points);
    }
    void drawText(int x, int y, const QByteArray &text, int angle, float size) override
    {
        texts.append(QStringLiteral("%1 at %2,%3 angle %4")
                         .arg(QString::fromLatin1(text))
                         .arg(x)
                         .arg(y)
                         .arg(angle));
        RxDraw::drawText(x, y, text, angle, size);
    }
};

struct Tick
{
    int side;
    int position;
    int length;
};

// Sorts the short two-point lines of a drawing by the side they were drawn on, as the
// sides are numbered in RxDrawAxes.cpp; frame, zero and grid lines are longer.
QList<Tick> ticksOf(const Recorder &d)
{
    QList<Tick> ticks;
    const int maxLength = std::min(d.right() - d.left(), d.top() - d.bottom()) / 4;
    const int x0 = d.mapX(0.0f);
    const int y0 = d.mapY(0.0f);
    for (const auto &l : d.lines) {
        if (l.size() != 2)
            continue;
        const QPoint a = l[0];
        const QPoint b = l[1];
        if (a.y() == b.y() && std::abs(b.x() - a.x()) <= maxLength) {
            const int length = std::abs(b.x() - a.x());
            if (a.x() == d.left() && b.x() > a.x())
                ticks.append({1, a.y(), length});
            else if (a.x() == d.right() && b.x() < a.x())
                ticks.append({3, a.y(), length});
            else if (a.x() == x0 - length / 2 && b.x() == x0 + length / 2)
                ticks.append({8, a.y(), length});
        } else if (a.x() == b.x() && std::abs(b.y() - a.y()) <= maxLength) {
            const int length = std::abs(b.y() - a.y());
            if (a.y() == d.bottom() && b.y() > a.y())
                ticks.append({2, a.x(), length});
            else if (a.y() == d.top() && b.y() < a.y())
                ticks.append({4, a.x(), length});
            else if (a.y() == y0 - length / 2 && b.y() == y0 + length / 2)
                ticks.append({7, a.x(), length});
        }
    }
    return ticks;
}

QList<int> sortedUnique(QList<int> v)
{
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    return v;
}

QList<int> positionsOn(const QList<Tick> &ticks, int side, int length = 0)
{
    QList<int> out;
    for (const Tick &t : ticks) {
        if (t.side == side && (length == 0 || t.length == length))
            out.append(t.position);
    }
    return sortedUnique(out);
}

QList<int> mapped(const Recorder &d, const QList<double> &values, bool xAxis)
{
    QList<int> out;
    for (double v : values)
        out.append(xAxis ? d.mapX(static_cast<float>(v)) : d.mapY(static_cast<float>(v)));
    return sortedUnique(out);
}

QList<double> run(double from, double to, double step)
{
    QList<double> out;
    for (double v = from; v <= to; v += step)
        out.append(v);
    return out;
}

// window: x, y, width, height in data units; a negative width reverses the axis.
RxScale scaleOf(const QRectF &window, int tickMode)
{
    RxScale s;
    s.setXRange(static_cast<float>(window.x() + window.width()), static_cast<float>(window.x()));
    s.setYRange(static_cast<float>(window.y() + window.height()), static_cast<float>(window.y()));
    s.setTickMode(tickMode);
    return s;
}

RxPlotDefs unrotated()
{
    RxPlotDefs defs;
    defs.setRotatePlot(0);
    return defs;
}

// Draws the axes as PostScript. The result is empty when Ghostscript reads the output
// without complaint, else what went wrong.
QByteArray drawPostScript(Recorder &d, const RxScale &scale, const RxPlotDefs &defs, int passes = 1)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    d.setCreationTime(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5), Qt::UTC));
    if (!d.beginPostScript(&buffer, defs, scale))
        return "beginPostScript refused";
    d.lines.clear();
    d.texts.clear();
    for (int i = 0; i < passes; ++i)
        d.drawAxes();
    d.end();
    return rxGhostscriptCheck(buffer.data());
}

} // namespace

class TestRxDrawAxes : public QObject
{
    Q_OBJECT

private slots:
    void linearTicks_data();
    void linearTicks();
    void logTicks_data();
    void logTicks();
    void tickSides_data();
    void tickSides();
    void gridsAlternate();
    void frameAndZeroLines_data();
    void frameAndZeroLines();
    void postScriptLabels_data();
    void postScriptLabels();
    void painterLabels();
};

void TestRxDrawAxes::linearTicks_data()
{
    QTest::addColumn<float>("min");
    QTest::addColumn<float>("max");
    QTest::addColumn<float>("step");
    QTest::addColumn<QList<double>>("values");

    QTest::newRow("start before the window") << 0.5f << 9.5f << 2.0f << QList<double> {2, 4, 6, 8};
    QTest::newRow("ticks on both window ends")
        << 0.0f << 10.0f << 2.5f << QList<double> {0, 2.5, 5, 7.5, 10};
    QTest::newRow("straddling window has 0")
        << -3.0f << 5.0f << 2.0f << QList<double> {-2, 0, 2, 4};
    QTest::newRow("negative window") << -9.5f << -0.5f << 2.0f << QList<double> {-8, -6, -4, -2};
    QTest::newRow("reversed window") << 9.5f << 0.5f << 2.0f << QList<double> {2, 4, 6, 8};
    QTest::newRow("run stops after 1001") << 0.0f << 2000.0f << 1.0f << run(0, 1000, 1);
    QTest::newRow("each half of a straddle stops after 1001")
        << -2000.0f << 2000.0f << 1.0f << run(-1000, 1000, 1);
    QTest::newRow("step below the values' resolution")
        << 1.0e30f << 1.0001e30f << 1.0f << QList<double> {1.0e30};
}

void TestRxDrawAxes::linearTicks()
{
    QFETCH(float, min);
    QFETCH(float, max);
    QFETCH(float, step);
    QFETCH(QList<double>, values);

    RxScale scale = scaleOf(QRectF(min, 0.0, max - static_cast<double>(min), 1.0), 1);
    QVERIFY(scale.setXStep(step));
    QVERIFY(scale.setYStep(step));
    Recorder d;
    const QByteArray error = drawPostScript(d, scale, unrotated());
    QVERIFY2(error.isEmpty(), error.constData());

    const QList<Tick> ticks = ticksOf(d);
    const QList<int> bottom = positionsOn(ticks, 2);
    QCOMPARE(bottom, mapped(d, values, true));
    QCOMPARE(positionsOn(ticks, 4), bottom);
}

void TestRxDrawAxes::logTicks_data()
{
    QTest::addColumn<float>("step");
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<QList<double>>("longer");

    // Window 1 ... 100: the ticks at 1 and 100 fall on the frame and are left out.
    QTest::newRow("ten subdivisions")
        << 10.0f << QList<double> {2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 30, 40, 50, 60, 70, 80, 90}
        << QList<double> {10};
    QTest::newRow("five subdivisions")
        << 5.0f << QList<double> {3, 5, 7, 10, 30, 50, 70} << QList<double> {10};
    QTest::newRow("a count below two draws none") << 1.5f << QList<double> {} << QList<double> {};
    // The first 1001 candidates all lie in the decade below the window.
    QTest::newRow("candidates stop after 1001") << 2000.0f << QList<double> {} << QList<double> {};
    QTest::newRow("a count beyond int") << 1.0e20f << QList<double> {} << QList<double> {};
}

void TestRxDrawAxes::logTicks()
{
    QFETCH(float, step);
    QFETCH(QList<double>, values);
    QFETCH(QList<double>, longer);

    RxScale scale = scaleOf(QRectF(1.0, 1.0, 99.0, 99.0), 1);
    QVERIFY(scale.setXLog(1));
    QVERIFY(scale.setXStep(step));
    Recorder d;
    const QByteArray error = drawPostScript(d, scale, unrotated());
    QVERIFY2(error.isEmpty(), error.constData());

    const QList<Tick> ticks = ticksOf(d);
    const int length = (d.right() - d.left()) / 58;
    QCOMPARE(positionsOn(ticks, 2), mapped(d, values, true));
    QCOMPARE(positionsOn(ticks, 2, length * 3 / 2), mapped(d, longer, true));
    QCOMPARE(positionsOn(ticks, 2, length).size() + longer.size(), values.size());
}

void TestRxDrawAxes::tickSides_data()
{
    QTest::addColumn<bool>("postScript");
    QTest::addRow("screen") << false;
    QTest::addRow("postscript") << true;
}

void TestRxDrawAxes::tickSides()
{
    QFETCH(bool, postScript);

    RxScale scale = scaleOf(QRectF(-1.0, -2.0, 2.0, 4.0), 1);
    QVERIFY(scale.setXStep(0.5f));
    QVERIFY(scale.setYStep(1.0f));
    Recorder d;
    QImage image(500, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (postScript) {
        const QByteArray error = drawPostScript(d, scale, unrotated());
        QVERIFY2(error.isEmpty(), error.constData());
    } else {
        QPainter painter(&image);
        QVERIFY(d.beginScreen(&painter, image.width(), image.height(), RxPlotDefs(), scale));
        d.drawAxes();
        d.end();
    }

    const QList<Tick> ticks = ticksOf(d);
    const QList<double> xValues {-1, -0.5, 0, 0.5, 1};
    const QList<double> yValues {-2, -1, 0, 1, 2};
    const int lengthX = (d.right() - d.left()) / 58;
    const int lengthY = postScript ? lengthX : (d.top() - d.bottom()) / 48;
    for (int side : {1, 2, 3, 4, 7, 8}) {
        const bool xAxis = side == 2 || side == 4 || side == 7;
        QCOMPARE(positionsOn(ticks, side), mapped(d, xAxis ? xValues : yValues, xAxis));
        // The zero-line ticks are centred, so an odd length loses its odd unit.
        const int length = xAxis ? lengthY : lengthX;
        const int expected = side >= 7 ? length / 2 * 2 : length;
        for (const Tick &t : ticks) {
            if (t.side == side)
                QCOMPARE(t.length, expected);
        }
    }
}

void TestRxDrawAxes::gridsAlternate()
{
    RxScale scale = scaleOf(QRectF(0.0, 0.0, 10.0, 10.0), 2);
    QVERIFY(scale.setXStep(2.0f));
    QVERIFY(scale.setYStep(5.0f));
    Recorder d;
    // Two passes: the direction carries over from one drawing to the next.
    const QByteArray error = drawPostScript(d, scale, unrotated(), 2);
    QVERIFY2(error.isEmpty(), error.constData());

    // Per pass: the frame, then 6 grid lines across from the bottom and 3 from the right.
    QCOMPARE(d.lines.size(), 2 * (4 + 6 + 3));
    QList<bool> fromTickPoint;
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 4; i < 13; ++i) {
            const QList<QPoint> &l = d.lines[pass * 13 + i];
            QCOMPARE(l.size(), 2);
            const bool vertical = i < 10;
            const int ends[2] = {vertical ? l[0].y() : l[0].x(), vertical ? l[1].y() : l[1].x()};
            const int tickPoint = vertical ? d.bottom() : d.right();
            const int farEnd = vertical ? d.top() : d.left();
            QVERIFY((ends[0] == tickPoint && ends[1] == farEnd)
                || (ends[0] == farEnd && ends[1] == tickPoint));
            fromTickPoint.append(ends[0] == tickPoint);
        }
    }
    for (int i = 1; i < fromTickPoint.size(); ++i)
        QVERIFY2(fromTickPoint[i] != fromTickPoint[i - 1], qPrintable(QString::number(i)));
}

void TestRxDrawAxes::frameAndZeroLines_data()
{
    QTest::addColumn<int>("plotAxes");
    QTest::addColumn<QRectF>("window");
    QTest::addColumn<int>("xzero");
    QTest::addColumn<int>("yzero");
    QTest::addColumn<bool>("horizontalZero");
    QTest::addColumn<bool>("verticalZero");

    QTest::newRow("y straddles") << 1 << QRectF(0, -1, 1, 3) << 1 << 1 << true << false;
    QTest::newRow("x straddles") << 1 << QRectF(-2, 0, 3, 1) << 1 << 1 << false << true;
    QTest::newRow("both straddle, flags off")
        << 1 << QRectF(-2, -1, 3, 3) << 0 << 0 << false << false;
    QTest::newRow("only the y flag") << 1 << QRectF(-2, -1, 3, 3) << 0 << 1 << true << false;
    QTest::newRow("windows ending at 0") << 1 << QRectF(-1, 0, 1, 1) << 1 << 1 << false << false;
    QTest::newRow("axes switched off") << 0 << QRectF(-2, -1, 3, 3) << 1 << 1 << false << false;
}

void TestRxDrawAxes::frameAndZeroLines()
{
    QFETCH(int, plotAxes);
    QFETCH(QRectF, window);
    QFETCH(int, xzero);
    QFETCH(int, yzero);
    QFETCH(bool, horizontalZero);
    QFETCH(bool, verticalZero);

    RxScale scale = scaleOf(window, 0);
    // The flags travel only in the scale record.
    QCOMPARE(rxReadRecord(scale,
                 "C scale:\nC\txzero: " + QByteArray::number(xzero)
                     + "\nC\tyzero: " + QByteArray::number(yzero) + "\nnext\nmore\n"),
        1);
    RxPlotDefs defs = unrotated();
    QVERIFY(defs.setPlotAxes(plotAxes));

    Recorder d;
    const QByteArray error = drawPostScript(d, scale, defs);
    QVERIFY2(error.isEmpty(), error.constData());

    if (!plotAxes) {
        QVERIFY(d.lines.isEmpty());
        QVERIFY(d.texts.isEmpty());
        return;
    }
    // tick mode 0: the frame and the zero lines only.
    const QPoint corners[4] = {
        {d.left(), d.bottom()}, {d.right(), d.bottom()}, {d.right(), d.top()}, {d.left(), d.top()}};
    QList<QList<QPoint>> expected;
    for (int i = 0; i < 4; ++i)
        expected.append({corners[i], corners[(i + 1) % 4]});
    if (horizontalZero)
        expected.append({{d.left(), d.mapY(0.0f)}, {d.right(), d.mapY(0.0f)}});
    if (verticalZero)
        expected.append({{d.mapX(0.0f), d.bottom()}, {d.mapX(0.0f), d.top()}});
    QCOMPARE(d.lines, expected);
}

void TestRxDrawAxes::postScriptLabels_data()
{
    QTest::addColumn<float>("fontSize");
    QTest::addColumn<QRectF>("window");
    QTest::addColumn<QByteArray>("xLabel");
    QTest::addColumn<QByteArray>("yLabel");
    QTest::addColumn<QStringList>("texts");

    // Plot area 1607 ... 6687 by 1467 ... 5531.
    QTest::newRow("default size with titles")
        << 1.0f << QRectF(0.0, -0.001, 1.0, 2.001) << QByteArray("t") << QByteArray("v(t)")
        << QStringList {"t at 4095,880 angle 0", "v(t) at 1125,3291 angle 90",
               "2 at 1341,5471 angle 0", "-0.001 at 816,1407 angle 0", "1 at 6635,1174 angle 0",
               "0 at 1555,1174 angle 0"};
    QTest::newRow("larger font, four digits, no titles")
        << 1.5f << QRectF(0.5, 0.0, 1234566.5, 1.0e-5) << QByteArray() << QByteArray()
        << QStringList {"1e-05 at 578,5445 angle 0", "0 at 1208,1381 angle 0",
               "1.235e+06 at 5985,1000 angle 0", "0.5 at 1373,1000 angle 0"};
    QTest::newRow("title markup not counted")
        << 1.0f << QRectF(0.0, 0.0, 1.0, 1.0) << QByteArray("x^2") << QByteArray()
        << QStringList {"x^2 at 4043,880 angle 0", "1 at 1341,5471 angle 0",
               "0 at 1341,1407 angle 0", "1 at 6635,1174 angle 0", "0 at 1555,1174 angle 0"};
}

void TestRxDrawAxes::postScriptLabels()
{
    QFETCH(float, fontSize);
    QFETCH(QRectF, window);
    QFETCH(QByteArray, xLabel);
    QFETCH(QByteArray, yLabel);
    QFETCH(QStringList, texts);

    RxScale scale = scaleOf(window, 1);
    scale.setXLabel(xLabel);
    scale.setYLabel(yLabel);
    RxPlotDefs defs = unrotated();
    QVERIFY(defs.setFontSize(fontSize));
    Recorder d;
    const QByteArray error = drawPostScript(d, scale, defs);
    QVERIFY2(error.isEmpty(), error.constData());
    QCOMPARE(d.texts, texts);
}

void TestRxDrawAxes::painterLabels()
{
    const RxScale scale = scaleOf(QRectF(0.0, 0.0, 1.0, 1.0), 0);
    RxPlotDefs defs;
    QVERIFY(defs.setAxesColor(3));
    QImage image(500, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    Recorder d;
    QVERIFY(d.beginScreen(&painter, image.width(), image.height(), defs, scale));
    d.drawAxes();
    d.end();
    painter.end();

    // The numbers go straight to the painter; only titles would pass through drawText.
    QVERIFY(d.texts.isEmpty());
    const auto reddish = [&](QRect area) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 150 && c.green() < 120 && c.blue() < 120)
                    return true;
            }
        }
        return false;
    };
    const int top = image.height() - d.top();
    const int bottom = image.height() - d.bottom();
    QVERIFY2(reddish(QRect(0, top - 5, d.left() - 2, 40)), "ymax is missing");
    QVERIFY2(reddish(QRect(0, bottom - 40, d.left() - 2, 38)), "ymin is missing");
    QVERIFY2(reddish(QRect(d.left() - 20, bottom + 2, 60, 38)), "xmin is missing");
    QVERIFY2(reddish(QRect(d.right() - 40, bottom + 2, 40, 38)), "xmax is missing");
    QCOMPARE(image.pixelColor(d.left(), (top + bottom) / 2), QColor(255, 0, 0));
}

QTEST_MAIN(TestRxDrawAxes)
#include "TestRxDrawAxes.moc"
