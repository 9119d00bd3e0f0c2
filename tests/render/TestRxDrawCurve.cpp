#include "model/RxCurve.h"
#include "model/RxFile.h"
#include "render/RxDraw.h"
#include "render/RxGhostscript.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include <climits>
#include <cmath>
#include <limits>

namespace {

// Keeps what the curve code asks of the primitives, then lets them draw.
class Recorder : public RxDraw
{
public:
    struct Line
    {
        int colour;
        QList<QPoint> points;
    };
    QList<Line> lines;
    QList<int> colours;
    int symbols = 0;
    // Lines by colour and texts, in drawing order.
    QStringList events;

    void clear()
    {
        lines.clear();
        colours.clear();
        symbols = 0;
        events.clear();
    }
    void drawPolyline(int n, const QPoint *points) override
    {
        const int colour = colours.isEmpty() ? -1 : colours.last();
        lines.append({colour, QList<QPoint>(points, points + n)});
        events.append(QStringLiteral("line %1").arg(colour));
        RxDraw::drawPolyline(n, points);
    }
    void setColor(int colour) override
    {
        colours.append(colour);
        RxDraw::setColor(colour);
    }
    void drawSymbol(int x, int y, int symbol) override
    {
        ++symbols;
        RxDraw::drawSymbol(x, y, symbol);
    }
    void drawText(int x, int y, const QByteArray &text, int angle, float size) override
    {
        events.append(QStringLiteral("text ") + QString::fromLatin1(text));
        RxDraw::drawText(x, y, text, angle, size);
    }
};

float number(const QString &text)
{
    return text == QLatin1String("nan") ? std::numeric_limits<float>::quiet_NaN() : text.toFloat();
}

// "type:x,y type:x,y ..."
RxCurve curveOf(const QString &points, int colour = 1)
{
    RxCurve c;
    c.setColor(colour);
    const QStringList tokens = points.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &token : tokens) {
        const QStringList parts = token.split(QRegularExpression(QStringLiteral("[:,]")));
        c.addPoint(parts[0].toInt(), number(parts[1]), number(parts[2]));
    }
    return c;
}

// "x,y x,y | x,y ..." in data units, mapped as the renderer maps them.
QList<QList<QPoint>> polylinesOf(const RxDraw &d, const QString &text)
{
    QList<QList<QPoint>> out;
    for (const QString &line : text.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        QList<QPoint> points;
        for (const QString &p : line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QStringList xy = p.split(QLatin1Char(','));
            points.append({d.mapX(number(xy[0])), d.mapY(number(xy[1]))});
        }
        out.append(points);
    }
    return out;
}

// 0 ... 1 on both axes, or 1 ... 100 on a logarithmic y axis.
RxScale windowFor(bool yLog)
{
    RxScale s;
    if (yLog) {
        s.setYRange(100.0f, 1.0f);
        s.setYLog(1);
    }
    return s;
}

// Draws c (whole, unless from and to say otherwise) as unrotated PostScript. Empty when
// Ghostscript reads the output without complaint, else what went wrong.
QByteArray drawPostScript(Recorder &d, const RxCurve &c, const RxScale &scale = RxScale(),
    RxPlotDefs defs = RxPlotDefs(), int offset = 0, QByteArray *out = nullptr, int from = -1,
    int to = 0)
{
    defs.setRotatePlot(0);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    d.setCreationTime(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5), Qt::UTC));
    if (!d.beginPostScript(&buffer, defs, scale))
        return "beginPostScript refused";
    d.clear();
    d.drawCurve(c, from, to, offset);
    d.end();
    if (out)
        *out = buffer.data();
    return rxGhostscriptCheck(buffer.data());
}

QList<QList<QPoint>> pointsOf(const QList<Recorder::Line> &lines)
{
    QList<QList<QPoint>> out;
    for (const auto &l : lines)
        out.append(l.points);
    return out;
}

} // namespace

class TestRxDrawCurve : public QObject
{
    Q_OBJECT

private slots:
    void polylines_data();
    void polylines();
    void longCurveJoins();
    void arrowHead_data();
    void arrowHead();
    void largestHeadStaysInTheBand();
    void colourArithmetic_data();
    void colourArithmetic();
    void characterMarkers();
    void painterSelection();
    void nearestPoint_data();
    void nearestPoint();
    void documentDraw_data();
    void documentDraw();
};

void TestRxDrawCurve::polylines_data()
{
    QTest::addColumn<bool>("yLog");
    QTest::addColumn<int>("plotCurves");
    QTest::addColumn<QString>("points");
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QList<int>>("lineColours");
    QTest::addColumn<int>("symbols");

    // Window 0 ... 1 on both axes, 1 ... 100 on a logarithmic y axis; the curve is blue.
    QTest::newRow("plotcurves 0 draws nothing") << false << 0 << "0:0.1,0.1 1:0.2,0.2 3:0.3,0.3"
                                                << "" << QList<int> {} << 0;
    QTest::newRow("new line switches to black")
        << false << 1 << "0:0.1,0.1 1:0.2,0.2 0:0.3,0.3 1:0.4,0.4 1:0.5,0.5"
        << "0.1,0.1 0.2,0.2 | 0.3,0.3 0.4,0.4 0.5,0.5" << QList<int> {1, 0} << 0;
    QTest::newRow("repeated device point adds nothing")
        << false << 1 << "0:0.1,0.1 1:0.1,0.1 1:0.2,0.2"
        << "0.1,0.1 0.2,0.2" << QList<int> {1} << 0;
    QTest::newRow("segment wholly outside restarts the line")
        << false << 1 << "0:0.2,0.5 1:0.5,0.5 1:2,0.5 1:2,0.8 1:0.5,0.8 1:0.2,0.8"
        << "0.2,0.5 0.5,0.5 1,0.5 | 1,0.8 0.5,0.8 0.2,0.8" << QList<int> {1, 1} << 0;
    QTest::newRow("symbol breaks the line")
        << false << 1 << "0:0.2,0.5 1:0.5,0.5 3:0.6,0.6 1:0.7,0.7"
        << "0.2,0.5 0.5,0.5 | 0.6,0.6 0.7,0.7" << QList<int> {1, 1} << 1;
    QTest::newRow("symbol outside is not drawn, the line starts from it")
        << false << 1 << "0:0.2,0.5 1:0.5,0.5 2:2,0.7 1:0.5,0.7"
        << "0.2,0.5 0.5,0.5 | 1,0.7 0.5,0.7" << QList<int> {1, 1} << 0;
    QTest::newRow("types 13 to 31 draw nothing but break")
        << false << 1 << "0:0.2,0.5 1:0.5,0.5 13:0.6,0.6 31:0.7,0.7 1:0.8,0.8"
        << "0.2,0.5 0.5,0.5 | 0.7,0.7 0.8,0.8" << QList<int> {1, 1} << 0;
    QTest::newRow("log axis value 0 breaks the line")
        << true << 1 << "0:0.1,10 1:0.2,20 1:0.3,0 1:0.4,30 1:0.5,40"
        << "0.1,10 0.2,20 | 0.4,30 0.5,40" << QList<int> {1, 1} << 0;
    QTest::newRow("log axis negative first point") << true << 1 << "0:0.1,-5 1:0.2,20 1:0.4,30"
                                                   << "0.2,20 0.4,30" << QList<int> {1} << 0;
    QTest::newRow("log axis symbol at 0 draws nothing")
        << true << 1 << "0:0.1,10 1:0.2,20 3:0.3,0 1:0.4,30 1:0.5,40"
        << "0.1,10 0.2,20 | 0.4,30 0.5,40" << QList<int> {1, 1} << 0;
    QTest::newRow("not a number breaks the line")
        << false << 1 << "0:0.1,0.1 1:0.2,0.2 1:nan,0.3 1:0.4,0.4 1:0.5,0.5"
        << "0.1,0.1 0.2,0.2 | 0.4,0.4 0.5,0.5" << QList<int> {1, 1} << 0;
}

void TestRxDrawCurve::polylines()
{
    QFETCH(bool, yLog);
    QFETCH(int, plotCurves);
    QFETCH(QString, points);
    QFETCH(QString, lines);
    QFETCH(QList<int>, lineColours);
    QFETCH(int, symbols);

    RxPlotDefs defs;
    QVERIFY(defs.setPlotCurves(plotCurves));
    Recorder d;
    const QByteArray error = drawPostScript(d, curveOf(points), windowFor(yLog), defs);
    QVERIFY2(error.isEmpty(), error.constData());

    if (!plotCurves)
        QVERIFY(d.colours.isEmpty());
    QCOMPARE(pointsOf(d.lines), polylinesOf(d, lines));
    QList<int> colours;
    for (const auto &l : d.lines)
        colours.append(l.colour);
    QCOMPARE(colours, lineColours);
    QCOMPARE(d.symbols, symbols);
}

void TestRxDrawCurve::longCurveJoins()
{
    RxCurve c;
    for (int i = 0; i < 250; ++i)
        c.addPoint(1, 0.05f + 0.9f * static_cast<float>(i) / 250.0f,
            0.5f + 0.3f * std::sin(static_cast<float>(i)));
    QVERIFY(c.setLineType(2));
    Recorder d;
    const QByteArray error = drawPostScript(d, c);
    QVERIFY2(error.isEmpty(), error.constData());

    QList<QPoint> joined;
    for (const auto &l : d.lines) {
        if (!joined.isEmpty())
            QCOMPARE(l.points.first(), joined.takeLast());
        joined += l.points;
    }
    QList<QPoint> all;
    for (int i = 0; i < 250; ++i)
        all.append({d.mapX(c.x(i)), d.mapY(c.y(i))});
    QCOMPARE(joined, all);
    QList<qsizetype> sizes;
    for (const auto &l : d.lines)
        sizes.append(l.points.size());
    QCOMPARE(sizes, (QList<qsizetype> {99, 99, 54}));
}

void TestRxDrawCurve::arrowHead_data()
{
    QTest::addColumn<float>("arrowSize");
    QTest::addColumn<float>("fontSize");
    QTest::addColumn<bool>("filled");
    QTest::addColumn<double>("length");
    QTest::addColumn<int>("outlines");

    // A horizontal arrow from x 0.2 to 0.6 (2032 units) on the 5080 units wide plot.
    QTest::newRow("open, length from the arrow size") << 0.7f << 1.0f << false << 118.533 << 0;
    // Outlines about half a unit apart: 2L - 1 of them, rounded up.
    QTest::newRow("filled, length from the arrow size") << 0.7f << 1.0f << true << 118.533 << 237;
    QTest::newRow("open, length from the shaft") << 0.0f << 0.5f << false << 203.2 << 0;
    QTest::newRow("filled head under one unit gets one") << 0.0f << 0.0001f << true << 1.0 << 1;
    // 34000 outlines half a unit apart would be too many; they are spread wider.
    QTest::newRow("long filled head has at most 4095") << 100.0f << 1.0f << true << 16933.3 << 4095;
}

void TestRxDrawCurve::arrowHead()
{
    QFETCH(float, arrowSize);
    QFETCH(float, fontSize);
    QFETCH(bool, filled);
    QFETCH(double, length);
    QFETCH(int, outlines);

    RxPlotDefs defs;
    QVERIFY(defs.setArrowSize(arrowSize));
    QVERIFY(defs.setFontSize(fontSize));
    Recorder d;
    const RxCurve arrow = curveOf(QStringLiteral("0:0.2,0.5 %1:0.6,0.5").arg(filled ? 12 : 11));
    const QByteArray error = drawPostScript(d, arrow, RxScale(), defs);
    QVERIFY2(error.isEmpty(), error.constData());

    const QPoint tail(d.mapX(0.2f), d.mapY(0.5f));
    const QPoint tip(d.mapX(0.6f), d.mapY(0.5f));
    QCOMPARE(d.lines.size(), 2 + 2 * outlines);
    QCOMPARE(d.lines[0].points, (QList<QPoint> {tail, tip}));
    const QList<QPoint> head = d.lines[1].points;
    QCOMPARE(head.size(), 4);
    QCOMPARE(head[1], tip);
    QCOMPARE(head[3], head[0]);
    // The corners lie L back along the shaft, 25 degrees either side, then truncated.
    const double back = length * std::cos(0.43633196);
    const double aside = length * std::sin(0.43633196);
    QVERIFY(std::abs(head[0].x() - (tip.x() - back)) < 1.0);
    QVERIFY(std::abs(head[0].y() - (tip.y() - aside)) < 1.0);
    QVERIFY(std::abs(head[2].x() - (tip.x() - back)) < 1.0);
    QVERIFY(std::abs(head[2].y() - (tip.y() + aside)) < 1.0);
    for (int k = 2; k < d.lines.size(); k += 2) {
        QCOMPARE(d.lines[k].points.size(), 2);
        QCOMPARE(d.lines[k].points[1], tip);
        QCOMPARE(d.lines[k + 1].points.size(), 3);
        QCOMPARE(d.lines[k + 1].points[0], tip);
    }
}

void TestRxDrawCurve::largestHeadStaysInTheBand()
{
    RxPlotDefs defs;
    QVERIFY(defs.setArrowSize(RxPlotDefs::maxSizeFactor));
    Recorder d;
    QImage image(500, 400, QImage::Format_RGB32);
    QPainter painter(&image);
    QVERIFY(d.beginScreen(&painter, image.width(), image.height(), defs, RxScale()));
    d.drawCurve(curveOf(QStringLiteral("0:0.2,0.5 12:0.6,0.5")), -1, 0, 0);
    d.end();

    QVERIFY(d.lines.size() > 2 && d.lines.size() < 10000);
    for (const auto &l : d.lines) {
        for (const QPoint &p : l.points) {
            QVERIFY(std::abs(p.x()) <= 2 * RxDraw::deviceBand);
            QVERIFY(std::abs(p.y()) <= 2 * RxDraw::deviceBand);
        }
    }
}

void TestRxDrawCurve::colourArithmetic_data()
{
    QTest::addColumn<int>("colour");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("breakType");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QList<int>>("colours");

    // Five points, point 2 of the break type. 1 blue, 2 green, 3 red, 4 cyan; 8 wraps to 1.
    QTest::newRow("selection in the next colour, past the break too")
        << 1 << 1 << -3 << -1 << 0 << QList<int> {2, 4};
    QTest::newRow("offset past white wraps to blue, black to blue")
        << 7 << 1 << 0 << -1 << 0 << QList<int> {1, 1};
    QTest::newRow("offset near the int limit")
        << 7 << INT_MAX << -14 << -1 << 0 << QList<int> {1, 1};
    // -INT_MIN is 2^31, which wraps to green.
    QTest::newRow("break type INT_MIN") << 3 << 0 << INT_MIN << -1 << 0 << QList<int> {3, 2};
    QTest::newRow("range across a new line") << 1 << 1 << 0 << 1 << 4 << QList<int> {2, 1};
    QTest::newRow("range after the break") << 1 << 1 << -3 << 3 << 4 << QList<int> {4};
    QTest::newRow("last segment after the break") << 1 << 0 << -3 << -3 << 0 << QList<int> {3};
}

void TestRxDrawCurve::colourArithmetic()
{
    QFETCH(int, colour);
    QFETCH(int, offset);
    QFETCH(int, breakType);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QList<int>, colours);

    RxCurve c
        = curveOf(QStringLiteral("0:0.1,0.1 1:0.2,0.2 1:0.3,0.3 1:0.4,0.4 1:0.5,0.5"), colour);
    QVERIFY(c.setPoint(2, breakType, 0.3f, 0.3f));
    Recorder d;
    const QByteArray error
        = drawPostScript(d, c, RxScale(), RxPlotDefs(), offset, nullptr, from, to);
    QVERIFY2(error.isEmpty(), error.constData());
    QCOMPARE(d.colours, colours);
}

void TestRxDrawCurve::characterMarkers()
{
    // '$', '(', '\', '^', then 200: not a character, and 2.0 on x: outside.
    const RxCurve c = curveOf(QStringLiteral(
        "0:0.1,0.1 36:0.2,0.2 40:0.3,0.3 92:0.4,0.4 94:0.5,0.5 200:0.6,0.6 65:2,0.5"));
    Recorder d;
    QByteArray out;
    const QByteArray error = drawPostScript(d, c, RxScale(), RxPlotDefs(), 0, &out);
    QVERIFY2(error.isEmpty(), error.constData());

    QVERIFY2(!d.fontList().contains("Symbol"), "a marker was read as markup");
    QVERIFY(d.events.filter("text").isEmpty());
    QCOMPARE(out.count("($) show"), 1);
    QCOMPARE(out.count("(\\() show"), 1);
    QCOMPARE(out.count("(\\\\) show"), 1);
    QCOMPARE(out.count("(^) show"), 1);
    QCOMPARE(out.count("(A) show"), 0);
    QVERIFY(d.fontList().contains("/Helvetica-BoldOblique"));
}

void TestRxDrawCurve::painterSelection()
{
    QImage image(500, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    RxDraw d;
    QVERIFY(d.beginScreen(&painter, image.width(), image.height(), RxPlotDefs(), RxScale()));
    const RxCurve c = curveOf(QStringLiteral("0:0.1,0.5 1:0.4,0.5 1:0.7,0.5 3:0.9,0.2"), 1);
    const int y = image.height() - d.mapY(0.5f);
    const auto pixel = [&](float x) { return image.pixelColor(d.mapX(x), y); };

    d.drawCurve(c, -1, 0, 0);
    QCOMPARE(pixel(0.25f), QColor(0, 0, 255));
    QCOMPARE(pixel(0.55f), QColor(0, 0, 255));
    d.drawCurve(c, 1, 2, 1);
    QCOMPARE(pixel(0.25f), QColor(0, 0, 255));
    QCOMPARE(pixel(0.55f), QColor(0, 255, 0));
    const auto redAround = [&](float px, float py) {
        const int cx = d.mapX(px);
        const int cy = image.height() - d.mapY(py);
        int red = 0;
        for (int dy = -8; dy <= 8; ++dy) {
            for (int dx = -8; dx <= 8; ++dx)
                red += image.pixelColor(cx + dx, cy + dy) == QColor(255, 0, 0);
        }
        return red;
    };
    // The last segment alone: the circle of the last point, not the line before it.
    d.drawCurve(c, -3, 0, 2);
    QVERIFY(redAround(0.9f, 0.2f) > 8);
    QCOMPARE(pixel(0.6f), QColor(0, 255, 0));
    // The mark of one selected point: a circle round it.
    QCOMPARE(redAround(0.1f, 0.5f), 0);
    d.drawCurve(c, -2, 0, 2);
    QVERIFY(redAround(0.1f, 0.5f) > 8);
    d.end();
    painter.end();
}

void TestRxDrawCurve::nearestPoint_data()
{
    QTest::addColumn<QStringList>("curves");
    QTest::addColumn<bool>("yLog");
    QTest::addColumn<QPointF>("click"); // data units
    QTest::addColumn<int>("found");
    QTest::addColumn<int>("curve");
    QTest::addColumn<int>("point");

    const QStringList twoCurves {"0:0.1,0.1 1:0.5,0.5", "0:0.5,0.5 1:0.9,0.9"};
    QTest::newRow("nearest over all curves")
        << twoCurves << false << QPointF(0.85, 0.9) << 1 << 1 << 1;
    QTest::newRow("equal distance keeps the earlier point")
        << twoCurves << false << QPointF(0.5, 0.5) << 1 << 0 << 1;
    QTest::newRow("outside the plot area")
        << twoCurves << false << QPointF(-0.1, 0.5) << 0 << -1 << -1;
    QTest::newRow("no curves") << QStringList {} << false << QPointF(0.5, 0.5) << 0 << -1 << -1;
    QTest::newRow("log axis skips a point at 0")
        << QStringList {"0:0.9,0 1:0.5,10"} << true << QPointF(0.9, 1.0) << 1 << 0 << 1;
    QTest::newRow("only unplaceable points")
        << QStringList {"0:0.5,0 1:0.6,-1"} << true << QPointF(0.5, 1.0) << 0 << -1 << -1;
}

void TestRxDrawCurve::nearestPoint()
{
    QFETCH(QStringList, curves);
    QFETCH(bool, yLog);
    QFETCH(QPointF, click);
    QFETCH(int, found);
    QFETCH(int, curve);
    QFETCH(int, point);

    RxFile file;
    for (const QString &c : curves)
        QVERIFY(file.addCurve(curveOf(c)));
    QImage image(500, 400, QImage::Format_RGB32);
    QPainter painter(&image);
    RxDraw d;
    QVERIFY(d.beginScreen(&painter, image.width(), image.height(), RxPlotDefs(), windowFor(yLog)));
    d.end();
    painter.end();

    // The renderer keeps its mapping after end, as between two paints.
    const int px = d.mapX(static_cast<float>(click.x()));
    const int py = d.mapY(static_cast<float>(click.y()));
    int c = -1;
    int p = -1;
    QCOMPARE(file.nearestPoint(px, py, d, &c, &p), found);
    QCOMPARE(c, curve);
    QCOMPARE(p, point);
}

void TestRxDrawCurve::documentDraw_data()
{
    QTest::addColumn<int>("axes");
    QTest::addColumn<int>("curves");
    QTest::addColumn<int>("comments");
    QTest::addColumn<QStringList>("drawn");

    QTest::newRow("everything") << 1 << 1 << 1
                                << QStringList {"axes", "curve 1", "curve 3", "comment"};
    QTest::newRow("no axes") << 0 << 1 << 1 << QStringList {"curve 1", "curve 3", "comment"};
    QTest::newRow("no curves") << 1 << 0 << 1 << QStringList {"axes", "comment"};
    QTest::newRow("no comments") << 1 << 1 << 0 << QStringList {"axes", "curve 1", "curve 3"};
}

void TestRxDrawCurve::documentDraw()
{
    QFETCH(int, axes);
    QFETCH(int, curves);
    QFETCH(int, comments);
    QFETCH(QStringList, drawn);

    RxFile file;
    QVERIFY(file.addCurve(curveOf(QStringLiteral("0:0.1,0.1 1:0.2,0.2"), 1)));
    QVERIFY(file.addCurve(curveOf(QStringLiteral("0:0.3,0.3 1:0.4,0.4"), 3)));
    RxComments notes;
    QVERIFY(notes.addComment("note", 20.0f, 5.0f, 0));
    QVERIFY(file.setComments(notes));
    // The renderer decides what is shown, by the settings it was begun with.
    RxPlotDefs defs;
    QVERIFY(defs.setRotatePlot(0));
    QVERIFY(defs.setPlotAxes(axes));
    QVERIFY(defs.setPlotCurves(curves));
    QVERIFY(defs.setPlotComments(comments));
    QVERIFY(defs.setAxesColor(5));
    Recorder d;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    d.setCreationTime(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5), Qt::UTC));
    QVERIFY(d.beginPostScript(&buffer, defs, RxScale()));
    d.clear();
    QCOMPARE(file.draw(d), 1);
    file.drawCurve(d, 2, -1, 0, 0);
    file.drawCurve(d, -1, -1, 0, 0);
    d.end();
    const QByteArray error = rxGhostscriptCheck(buffer.data());
    QVERIFY2(error.isEmpty(), error.constData());

    // Collapse the drawing into its parts: axes lines (colour 5) and numbers, each curve's
    // lines, the comment.
    QStringList seen;
    for (const QString &e : d.events) {
        QString part;
        if (e == QLatin1String("line 5") || (e.startsWith("text ") && e != "text note"))
            part = QStringLiteral("axes");
        else if (e == QLatin1String("text note"))
            part = QStringLiteral("comment");
        else
            part = QStringLiteral("curve ") + e.mid(5);
        if (seen.isEmpty() || seen.last() != part)
            seen.append(part);
    }
    QCOMPARE(seen, drawn);
}

QTEST_MAIN(TestRxDrawCurve)
#include "TestRxDrawCurve.moc"
