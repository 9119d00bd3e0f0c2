#include "render/RxDraw.h"

#include "model/RxFile.h"
#include "render/RxGhostscript.h"

#include <QBuffer>
#include <QTimeZone>
#include <QtTest>

#include <cmath>
#include <functional>
#include <numeric>
#include <random>

Q_DECLARE_METATYPE(RxFile)

namespace {

// Writes every point of every line, as the PostScript output would without reduction.
class FullDraw : public RxDraw
{
public:
    void drawPolyline(int n, const QPoint *points) override
    {
        for (int i = 0; i < n; ++i) {
            int x = points[i].x();
            int y = points[i].y();
            transformPoint(x, y);
            const QByteArray xy = QByteArray::number(x) + ' ' + QByteArray::number(y);
            writeLine(i == 0 ? " n " + xy + " m " : xy + " l ");
        }
        writeLine(" s ");
    }
};

// The encapsulated PostScript of doc; empty when refused.
QByteArray postScript(RxDraw &&draw, const RxFile &doc, int join, int rotate)
{
    RxPlotDefs defs;
    defs.setEncapsulated(1);
    defs.setPsJoin(join);
    defs.setRotatePlot(rotate);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    draw.setCreationTime(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9), QTimeZone::utc()));
    if (!draw.beginPostScript(&buffer, defs, doc.scale()))
        return QByteArray();
    doc.draw(draw);
    draw.end();
    return bytes;
}

// doc with curve c added: a noisy sine of n points 0.001 apart in x, type(i) the type of
// point i > 0, offset upwards.
RxFile sine(int n, int (*type)(int) = nullptr, RxFile doc = RxFile(), int c = 0, float offset = 0)
{
    std::mt19937 random(12345);
    std::normal_distribution<float> noise(0.0f, 0.05f);
    for (int i = 0; i < n; ++i) {
        const float x = static_cast<float>(i) * 1e-3f;
        const int t = i == 0 ? PointNewLine : type ? type(i) : PointLine;
        doc.addPoint(c, t, x, offset + std::sin(x) + noise(random));
    }
    doc.autoScale();
    return doc;
}

} // namespace

class TestRxPostScriptReduce : public QObject
{
    Q_OBJECT

private slots:
    void pictureKept_data();
    void pictureKept();
};

void TestRxPostScriptReduce::pictureKept_data()
{
    QTest::addColumn<RxFile>("doc");
    QTest::addColumn<int>("join");
    QTest::addColumn<int>("rotate");
    QTest::addColumn<bool>("reduces");

    QTest::newRow("noisy sine") << sine(100000) << 1 << 1 << true;
    QTest::newRow("landscape") << sine(100000) << 1 << 0 << true;
    // Twenty points up and down at each x.
    RxFile zigzag;
    for (int k = 0; k < 100000; ++k)
        zigzag.addPoint(0, k == 0 ? PointNewLine : PointLine, static_cast<float>(k / 20),
            std::sin(static_cast<float>(k) * 2e-4f) + static_cast<float>(k * 37 % 20) * 0.01f);
    zigzag.autoScale();
    QTest::newRow("zig-zag in columns") << zigzag << 1 << 1 << true;
    const auto breaks = [](int i) { return i % 4999 == 0 ? 3 : i % 997 == 0 ? -(i % 7) : 1; };
    QTest::newRow("new lines, colours and symbols") << sine(100000, breaks) << 1 << 1 << true;
    RxFile clipped = sine(100000);
    RxScale window = clipped.scale();
    window.setXRange(90, 5);
    window.setYRange(0.8f, -0.5f);
    clipped.setScale(window);
    QTest::newRow("clipped") << clipped << 1 << 1 << true;
    RxFile widths;
    for (int c = 0; c < 6; ++c) {
        widths = sine(100000, nullptr, widths, c, 2.5f * static_cast<float>(c));
        widths.setLineWidth(c, c);
    }
    QTest::newRow("line widths") << widths << 1 << 1 << true;

    QTest::newRow("sparse") << sine(400) << 1 << 1 << false;
    RxFile dashed = sine(100000);
    dashed.setLineType(0, 2);
    QTest::newRow("dashed") << dashed << 1 << 1 << false;
    QTest::newRow("mitre join") << sine(100000) << 0 << 1 << false;
    QTest::newRow("bevel join") << sine(100000) << 2 << 1 << false;
}

// Points that cannot show are left out of solid lines with round joins, and only there:
// Ghostscript at the device resolution draws the same pixels either way.
void TestRxPostScriptReduce::pictureKept()
{
    QFETCH(RxFile, doc);
    QFETCH(int, join);
    QFETCH(int, rotate);
    QFETCH(bool, reduces);
    const QByteArray full = postScript(FullDraw(), doc, join, rotate);
    const QByteArray reduced = postScript(RxDraw(), doc, join, rotate);
    QVERIFY(!full.isEmpty());
    if (!reduces) {
        QCOMPARE(reduced, full);
        return;
    }
    QVERIFY2(reduced.size() < full.size(), qPrintable(QString::number(reduced.size())));
    const QByteArray a = rxGhostscriptRender(full, 1016);
    const QByteArray b = rxGhostscriptRender(reduced, 1016);
    QVERIFY(a.size() > 7000 * 5000);
    QCOMPARE(b.size(), a.size());
    const qsizetype differing = std::inner_product(
        a.begin(), a.end(), b.begin(), qsizetype(0), std::plus<>(), std::not_equal_to<>());
    QCOMPARE(differing, 0);
}

QTEST_MAIN(TestRxPostScriptReduce)
#include "TestRxPostScriptReduce.moc"
