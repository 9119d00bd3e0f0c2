#include "render/RxDraw.h"

#include "model/RxCurve.h"
#include "model/RxTestRecord.h"
#include "render/RxGhostscript.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QTimeZone>
#include <QtTest>

#include <climits>
#include <clocale>
#include <cmath>
#include <limits>

using Lines = QList<QByteArray>;
using Points = QList<QPoint>;

namespace {

// "Tue Mar 5 14:07:09 2024"
const QDateTime fixedTime(QDate(2024, 3, 5), QTime(14, 7, 9), QTimeZone::utc());

// Settings as a data file may hold them: the setters refuse a negative plot size.
RxPlotDefs plotDefs(int rotate, float x, float y, int encapsulated = 0)
{
    QByteArray text;
    RxPlotDefs().writeFormat(text);
    const auto set = [&text](const QByteArray &key, double value) {
        const qsizetype at = text.indexOf("\t" + key + ": ") + key.size() + 3;
        text.replace(at, text.indexOf('\n', at) - at, QByteArray::number(value));
    };
    set("rotateplot", rotate);
    set("xplotsize", static_cast<double>(x));
    set("yplotsize", static_cast<double>(y));
    set("encapsulated", encapsulated);
    RxPlotDefs defs;
    if (!rxReadRecord(defs, text + "next\nmore\n"))
        qFatal("plot settings refused");
    return defs;
}

// A PostScript document written to memory, with a fixed creation date.
struct PsDoc
{
    explicit PsDoc(const RxPlotDefs &defs = RxPlotDefs())
    {
        buffer.setBuffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        draw.setCreationTime(fixedTime);
        begun = draw.beginPostScript(&buffer, defs, RxScale());
    }
    // Ends the document; the lines written between the prolog and the trailer.
    Lines body()
    {
        draw.end();
        const Lines lines = bytes.split('\n');
        qsizetype from = lines.indexOf("mraisex mraisey rmoveto currentfont isupsub scalefont "
                                       "setfont} def")
            + 1;
        qsizetype to = from;
        while (to < lines.size() && lines[to] != "showpage" && !lines[to].startsWith("%%Doc"))
            ++to;
        return lines.mid(from, to - from);
    }

    QByteArray bytes;
    QBuffer buffer;
    RxDraw draw;
    int begun = 0;
};

#define VERIFY_GHOSTSCRIPT(text)                                                                   \
    do {                                                                                           \
        const QByteArray gsError = rxGhostscriptCheck(text);                                       \
        QVERIFY2(gsError.isEmpty(), gsError.constData());                                          \
    } while (0)

QImage whiteImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

} // namespace

class TestRxDraw : public QObject
{
    Q_OBJECT

private slots:
    void postScriptHeader();
    void postScriptVariants_data();
    void postScriptVariants();
    void sizeCheck_data();
    void sizeCheck();
    void beginRefusedInOtherState();
    void primitiveLines_data();
    void primitiveLines();
    void symbolKeepsTheDash();
    void longPolylineReachesTheFile();
    void fontList();
    void commaLocaleWritesPoints();
    void failedWriteIsReported();
    void colors_data();
    void colors();
    void painterGeometry_data();
    void painterGeometry();
    void mapping_data();
    void mapping();
    void clipping_data();
    void clipping();
    void painterIsUprightAndClipped();
    void painterSymbols_data();
    void painterSymbols();
    void thinningKeepsPixels_data();
    void thinningKeepsPixels();
};

void TestRxDraw::postScriptHeader()
{
    PsDoc doc;
    QCOMPARE(doc.begun, 1);
    QVERIFY(doc.body().isEmpty());
    const Lines expected = {
        "%!PS-Adobe-2.0 EPSF-2.0",
        "%%BoundingBox: 36 36 540 432 ",
        "%%Creator: Ruxa",
        "%%CreationDate: Tue Mar 5 14:07:09 2024",
        "%%EndComments",
        " initmatrix",
        "/Helvetica findfont  [12 0 0 12 0 0] makefont setfont",
        " 30 770 moveto (untitled Tue Mar 5 14:07:09 2024) show ",
        "72 72 scale 0.35 10.46 translate -90 rotate ",
        " .000984 .000984 scale [ ] 0 setdash",
        " /m {moveto} def /l {lineto} def /s {stroke} def /n {newpath} def ",
        " 1 setlinejoin ",
        " /square { m -45 -45 rm 90 0 rl 0 90 rl -90 0 rl closepath } def ",
        " /triangle { m 0 -33 rm 57.7 0 rl -57.7 100 rl -57.7 -100 rl closepath } def ",
        " /cone { m 0 33 rm -57.7 0 rl 57.7 -100 rl 57.7 100 rl closepath } def ",
        " /cross { m -45 -45 rm 90 90 rl -90 0 rm 90 -90 rl } def ",
        " /circle { 50 sf mul 0 360 arc } def ",
        " /rot (Y) def ",
        " /sf 1.000000 def /msf -1 sf mul def ",
        " /rm { (Y) rot eq { [ 0 sf msf 0 0 0 ] dtransform rmoveto } { [ sf 0 0 sf 0 0 ] "
        "dtransform rmoveto } ifelse } def ",
        " /rl { (Y) rot eq { [ 0 sf msf 0 0 0 ] dtransform rlineto } { [ sf 0 0 sf 0 0 ] "
        "dtransform rlineto } ifelse } def ",
        "/fheight 200.000000 def",
        "/drop 0.25 def",
        "/raise 0.6 def",
        "/dropy fheight drop mul def",
        "/dropx fheight 0.0 mul def",
        "/mdropx dropx -1 mul def",
        "/mdropy dropy -1 mul def",
        "/raisey fheight raise mul def",
        "/mraisey raisey -1 mul def",
        "/raisex fheight 0.0 mul def",
        "/mraisex raisex -1 mul def",
        "/supsub 0.8 def",
        "/isupsub 1.0 supsub div def",
        "/subshow { currentfont supsub scalefont setfont mdropx mdropy rmoveto ",
        "show dropx dropy rmoveto currentfont isupsub scalefont setfont} def",
        "/supshow { currentfont supsub scalefont setfont raisex raisey rmoveto show ",
        "mraisex mraisey rmoveto currentfont isupsub scalefont setfont} def",
        "showpage",
        "%%DocumentFonts: ",
        "",
    };
    const Lines lines = doc.bytes.split('\n');
    for (qsizetype i = 0; i < qMin(lines.size(), expected.size()); ++i)
        QVERIFY2(lines[i] == expected[i], qPrintable(QString("line %1: ").arg(i + 1) + lines[i]));
    QCOMPARE(lines.size(), expected.size());
    VERIFY_GHOSTSCRIPT(doc.bytes);
}

void TestRxDraw::postScriptVariants_data()
{
    QTest::addColumn<RxPlotDefs>("defs");
    QTest::addColumn<Lines>("present");
    QTest::addColumn<Lines>("absent");

    QTest::newRow("encapsulated") << plotDefs(1, 5, 4, 1) << Lines {"%%BoundingBox: 36 36 540 432 "}
                                  << Lines {" initmatrix", "showpage"};
    QTest::newRow("landscape") << plotDefs(0, 5, 4)
                               << Lines {"%%BoundingBox: 36 216 468 720 ",
                                      "/Helvetica findfont  [0 -12 12 0 0 0] makefont setfont",
                                      " 590 770 moveto (untitled Tue Mar 5 14:07:09 2024) show ",
                                      " /rot (N) def ", "showpage"}
                               << Lines {" /rot (Y) def "};
    QTest::newRow("fractional size")
        << plotDefs(1, 5.5f, 4.5f) << Lines {"%%BoundingBox: 36 36 576 468 "} << Lines {};
    RxPlotDefs titled;
    titled.setTitle("run (3)\t\\x");
    titled.setPsJoin(2);
    titled.setSymbolSize(1.5f);
    titled.setFontSize(1.1f);
    // A tab would end the comment line for PostScript readers.
    QTest::newRow("title and settings")
        << titled
        << Lines {"%%Title: run (3) \\x",
               " 30 770 moveto (run \\(3\\)\\011\\\\x Tue Mar 5 14:07:09 2024) show ",
               " 2 setlinejoin ", " /sf 1.500000 def /msf -1 sf mul def ",
               "/fheight 220.000000 def"}
        << Lines {};
    // The name of a document after many appends; the title line keeps within 255.
    RxPlotDefs appended;
    appended.setTitle("a.rx" + QByteArray("+b.rx").repeated(1000));
    QTest::newRow("long title cut")
        << appended << Lines {"%%Title: a.rx" + QByteArray("+b.rx").repeated(48) + "+b"}
        << Lines {};
    RxPlotDefs accented;
    accented.setTitle(QByteArray(245, 'x') + "\xc3\xa9.rx");
    QTest::newRow("title cut before a whole UTF-8 character")
        << accented << Lines {"%%Title: " + QByteArray(245, 'x')} << Lines {};
}

void TestRxDraw::postScriptVariants()
{
    QFETCH(RxPlotDefs, defs);
    QFETCH(Lines, present);
    QFETCH(Lines, absent);
    PsDoc doc(defs);
    QCOMPARE(doc.begun, 1);
    doc.body();
    const Lines lines = doc.bytes.split('\n');
    QCOMPARE(lines.first(), QByteArray("%!PS-Adobe-2.0 EPSF-2.0"));
    for (const QByteArray &line : present)
        QVERIFY2(lines.contains(line), line.constData());
    for (const QByteArray &line : absent)
        QVERIFY2(!lines.contains(line), line.constData());
    for (const QByteArray &line : lines) {
        if (line.startsWith("%%"))
            QVERIFY2(line.size() <= 255, line.left(40).constData());
    }
    VERIFY_GHOSTSCRIPT(doc.bytes);
}

void TestRxDraw::sizeCheck_data()
{
    QTest::addColumn<int>("rotate");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<int>("accepted");

    QTest::newRow("portrait widest") << 1 << 6.08f << 4.0f << 1;
    QTest::newRow("portrait too wide") << 1 << 6.09f << 4.0f << 0;
    QTest::newRow("portrait tallest") << 1 << 5.0f << 8.55f << 1;
    QTest::newRow("portrait too tall") << 1 << 5.0f << 8.56f << 0;
    QTest::newRow("portrait narrowest") << 1 << 0.61f << 4.0f << 1;
    QTest::newRow("portrait too narrow") << 1 << 0.60f << 4.0f << 0;
    QTest::newRow("landscape 8.5 wide") << 0 << 8.5f << 4.0f << 1;
    QTest::newRow("landscape 9 wide") << 0 << 9.0f << 4.0f << 0;
    QTest::newRow("landscape too tall") << 0 << 5.0f << 6.1f << 0;
    QTest::newRow("negative by its size") << 1 << -5.0f << -4.0f << 1;
    QTest::newRow("negative too wide") << 1 << -6.09f << 4.0f << 0;
    QTest::newRow("float maximum") << 1 << std::numeric_limits<float>::max() << 4.0f << 0;
}

void TestRxDraw::sizeCheck()
{
    QFETCH(int, rotate);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(int, accepted);
    const RxPlotDefs defs = plotDefs(rotate, x, y);
    RxDraw check;
    QCOMPARE(check.beginPostScript(nullptr, defs, RxScale()), accepted);
    QCOMPARE(check.state(), RxDraw::Idle);

    PsDoc doc(defs);
    QCOMPARE(doc.begun, accepted);
    if (!accepted) {
        QVERIFY(doc.bytes.isEmpty());
        QCOMPARE(doc.draw.state(), RxDraw::Idle);
        return;
    }
    QCOMPARE(doc.draw.right() - doc.draw.left(), static_cast<int>(std::fabs(x) * 1016));
    QCOMPARE(doc.draw.top() - doc.draw.bottom(), static_cast<int>(std::fabs(y) * 1016));
    doc.body();
    VERIFY_GHOSTSCRIPT(doc.bytes);
}

void TestRxDraw::beginRefusedInOtherState()
{
    QImage image = whiteImage(50, 50);
    QPainter painter(&image);
    PsDoc doc;
    QCOMPARE(doc.draw.beginPostScript(&doc.buffer, RxPlotDefs(), RxScale()), 0);
    QCOMPARE(doc.draw.beginScreen(&painter, 50, 50, RxPlotDefs(), RxScale()), 0);
    QCOMPARE(doc.draw.beginPrinter(&painter, 50, 50, RxPlotDefs(), RxScale()), 0);
    QCOMPARE(doc.draw.left(), 1607);
    QVERIFY(doc.body().isEmpty());
    VERIFY_GHOSTSCRIPT(doc.bytes);

    RxDraw screen;
    QCOMPARE(screen.beginScreen(&painter, 50, 50, RxPlotDefs(), RxScale()), 1);
    QCOMPARE(screen.beginPostScript(&doc.buffer, RxPlotDefs(), RxScale()), 0);
    QCOMPARE(screen.state(), RxDraw::PainterState);
}

enum Primitive { LineType, LineWidth, Color, Symbol, Polyline };

void TestRxDraw::primitiveLines_data()
{
    QTest::addColumn<int>("primitive");
    QTest::addColumn<int>("index");
    QTest::addColumn<float>("pattern");
    QTest::addColumn<int>("rotate");
    QTest::addColumn<Lines>("lines");

    const auto lineType = [](const char *name, int type, float p, const char *line) {
        QTest::newRow(name) << int(LineType) << type << p << 1 << Lines {line};
    };
    lineType("solid", 0, 4, " [ ] 0 setdash 0 setlinecap ");
    lineType("dots", 1, 4, " [ 3 196.000000 ] 0 setdash 1 setlinecap ");
    lineType("dashed", 2, 4, " [ 200.000000 ] 0 setdash ");
    lineType("long short", 3, 4,
        " [ 276.000000 40.000000 40.000000 40.000000 ] 0 setdash 0 setlinecap ");
    lineType("long short short", 4, 4,
        " [ 160.000000 40.000000 40.000000 40.000000 40.000000 40.000000 ] 0 setdash 0 "
        "setlinecap ");
    lineType("long dashed", 5, 4, " [ 300.000000 100.000000 ] 0 setdash ");
    lineType("above long dashed", 9, 0.5f, " [ 37.500000 12.500000 ] 0 setdash ");
    lineType("below solid", -1, 4, " [ ] 0 setdash 0 setlinecap ");
    lineType("tiny pattern still dashes", 2, 1e-12f, " [ 0.005000 ] 0 setdash ");

    const char *widths[] = {" 3 setlinewidth 0 setlinecap ", " 6 setlinewidth 0 setlinecap ",
        " 12 setlinewidth 0 setlinecap ", " 18 setlinewidth 0 setlinecap ",
        " 28 setlinewidth 2 setlinecap ", " 36 setlinewidth 0 setlinecap "};
    for (int w = 0; w < 7; ++w)
        QTest::addRow("width %d", w)
            << int(LineWidth) << w << 4.0f << 1 << Lines {widths[w < 6 ? w : 5]};

    QTest::newRow("black") << int(Color) << 0 << 4.0f << 1 << Lines {" 0 setgray "};
    QTest::newRow("saddle brown") << int(Color) << 6 << 4.0f << 1
                                  << Lines {" 0.545098 0.270588 0.074510 setrgbcolor "};
    QTest::newRow("8 is blue") << int(Color) << 8 << 4.0f << 1
                               << Lines {" 0.000000 0.000000 1.000000 setrgbcolor "};

    const auto symbol = [](const char *name, int s, int rotate, const char *line) {
        QTest::newRow(name) << int(Symbol) << s << 4.0f << rotate
                            << Lines {" currentdash pop /t2 exch def [ ] 0 setdash ", line,
                                   " t2 0 setdash "};
    };
    symbol("square turned", 1, 1, " n 10100 100  square  s ");
    symbol("solid circle", 6, 1, " n 10100 100  circle  fill ");
    symbol("solid cone", 8, 1, " n 10100 100  cone  fill ");
    symbol("cross above 9", 12, 1, " n 10100 100  cross  s ");
    symbol("triangle landscape", 3, 0, " n 100 200  triangle  s ");
    QTest::newRow("polyline turned")
        << int(Polyline) << 3 << 4.0f << 1
        << Lines {" n 10100 100 m ", "10000 110 l ", "9900 120 l ", " s "};
    QTest::newRow("polyline landscape")
        << int(Polyline) << 2 << 4.0f << 0 << Lines {" n 100 200 m ", "110 300 l ", " s "};
}

void TestRxDraw::primitiveLines()
{
    QFETCH(int, primitive);
    QFETCH(int, index);
    QFETCH(float, pattern);
    QFETCH(int, rotate);
    QFETCH(Lines, lines);
    PsDoc doc(plotDefs(rotate, 5, 4));
    const QPoint points[] = {{100, 200}, {110, 300}, {120, 400}};
    switch (primitive) {
    case LineType:
        // A dash only shows on a line.
        doc.draw.setLineType(index, pattern);
        doc.draw.drawPolyline(2, points);
        lines << " n 10100 100 m "
              << "10000 110 l "
              << " s ";
        break;
    case LineWidth:
        doc.draw.setLineWidth(index);
        break;
    case Color:
        doc.draw.setColor(index);
        break;
    case Symbol:
        doc.draw.drawSymbol(100, 200, index);
        break;
    case Polyline:
        doc.draw.drawPolyline(index, points);
        break;
    }
    QCOMPARE(doc.body(), lines);
    VERIFY_GHOSTSCRIPT(doc.bytes);
}

void TestRxDraw::symbolKeepsTheDash()
{
    PsDoc doc;
    doc.draw.setLineType(2, 4.0f);
    doc.draw.drawSymbol(3000, 3000, 5);
    doc.draw.drawSymbol(3000, 3000, 2);
    // Ghostscript stops at the undefined name unless the dash survived both symbols.
    doc.draw.writeLine("currentdash pop aload length 1 ne exch 200 ne or { dashLost } if");
    doc.body();
    VERIFY_GHOSTSCRIPT(doc.bytes);
}

void TestRxDraw::longPolylineReachesTheFile()
{
    PsDoc doc(plotDefs(0, 5, 4));
    Points points;
    for (int i = 0; i < 150000; ++i)
        points.append(QPoint(2000 + i % 4000, 2000 + (i * 7) % 3000));
    doc.draw.drawPolyline(static_cast<int>(points.size()), points.constData());
    const Lines body = doc.body();
    QVERIFY(doc.bytes.size() > (qsizetype(1) << 20));
    QCOMPARE(body.size(), points.size() + 1);
    QCOMPARE(body[1], QByteArray("2001 2007 l "));
    QCOMPARE(body[149999], QByteArray("3999 4993 l "));
    QVERIFY(!doc.draw.outputFailed());
    VERIFY_GHOSTSCRIPT(doc.bytes);
}

void TestRxDraw::fontList()
{
    PsDoc doc;
    for (int font : {0, 1, 0, 6, 2, 1, -1, 9})
        doc.draw.addDocumentFont(font);
    const QByteArray fonts("/Helvetica-Bold /Helvetica /Symbol /Helvetica-BoldOblique");
    QCOMPARE(doc.draw.fontList(), fonts);
    doc.body();
    QVERIFY(doc.bytes.endsWith("\nshowpage\n%%DocumentFonts: " + fonts + "\n"));
    VERIFY_GHOSTSCRIPT(doc.bytes);
}

void TestRxDraw::commaLocaleWritesPoints()
{
    QVERIFY2(std::setlocale(LC_ALL, "de_DE.UTF-8"), "the de_DE.UTF-8 locale is missing");
    RxPlotDefs defs;
    defs.setSymbolSize(1.25f);
    PsDoc doc(defs);
    doc.draw.setLineType(1, 4.5f);
    doc.draw.setColor(3);
    const Lines body = doc.body();
    std::setlocale(LC_ALL, "C");
    QCOMPARE(body,
        (Lines {" [ 3 220.500000 ] 0 setdash 1 setlinecap ",
            " 1.000000 0.000000 0.000000 setrgbcolor "}));
    QVERIFY(doc.bytes.contains("\n /sf 1.250000 def /msf -1 sf mul def \n"));
    VERIFY_GHOSTSCRIPT(doc.bytes);
}

void TestRxDraw::failedWriteIsReported()
{
    QByteArray bytes;
    QBuffer readOnly(&bytes);
    readOnly.open(QIODevice::ReadOnly);
    RxDraw draw;
    QCOMPARE(draw.beginPostScript(&readOnly, RxPlotDefs(), RxScale()), 1);
    QTest::ignoreMessage(QtWarningMsg, "QIODevice::write (QBuffer): ReadOnly device");
    draw.end();
    QVERIFY(draw.outputFailed());
}

void TestRxDraw::colors_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("color");
    QTest::newRow("saddle brown") << 6 << QColor(139, 69, 19);
    QTest::newRow("white") << 7 << QColor(255, 255, 255);
    QTest::newRow("8 wraps to blue") << 8 << QColor(0, 0, 255);
    QTest::newRow("14 wraps to white") << 14 << QColor(255, 255, 255);
    QTest::newRow("15 wraps to blue") << 15 << QColor(0, 0, 255);
    QTest::newRow("21 wraps twice to white") << 21 << QColor(255, 255, 255);
    QTest::newRow("int maximum") << INT_MAX << QColor(0, 0, 255);
    QTest::newRow("negative is black") << -3 << QColor(0, 0, 0);
}

void TestRxDraw::colors()
{
    QFETCH(int, index);
    QFETCH(QColor, color);
    QCOMPARE(RxDraw::colorOf(index), color);
    QImage image = whiteImage(10, 10);
    QPainter painter(&image);
    RxDraw draw;
    draw.beginScreen(&painter, 10, 10, RxPlotDefs(), RxScale());
    draw.setColor(index);
    QCOMPARE(painter.pen().color(), color);
}

void TestRxDraw::painterGeometry_data()
{
    QTest::addColumn<bool>("printer");
    QTest::addColumn<QSize>("device");
    QTest::addColumn<RxPlotDefs>("defs");
    QTest::addColumn<QRect>("area"); // left, bottom, right - left, top - bottom; null: refused

    RxPlotDefs bigFont;
    bigFont.setFontSize(2.0f);
    const QSize letter(612, 792);
    QTest::newRow("screen") << false << QSize(500, 400) << RxPlotDefs() << QRect(95, 40, 395, 350);
    QTest::newRow("screen with large numbers")
        << false << QSize(500, 400) << bigFont << QRect(190, 40, 300, 350);
    QTest::newRow("printer") << true << letter << RxPlotDefs() << QRect(126, 252, 360, 288);
    QTest::newRow("printer odd margin")
        << true << QSize(612, 791) << plotDefs(0, 4.3f, 4.1f) << QRect(151, 248, 309, 295);
    QTest::newRow("printer ignores the page check")
        << true << letter << plotDefs(1, 9.0f, 4.0f) << QRect(-18, 252, 648, 288);
    QTest::newRow("printer negative size") << true << letter << plotDefs(1, -5.0f, 4.0f) << QRect();
    QTest::newRow("printer area beyond int") << true << letter << plotDefs(1, 5, 1e30f) << QRect();
}

void TestRxDraw::painterGeometry()
{
    QFETCH(bool, printer);
    QFETCH(QSize, device);
    QFETCH(RxPlotDefs, defs);
    QFETCH(QRect, area);
    QImage image = whiteImage(device.width(), device.height());
    QPainter painter(&image);
    RxDraw draw;
    const int w = device.width(), h = device.height();
    const int begun = printer ? draw.beginPrinter(&painter, w, h, defs, RxScale())
                              : draw.beginScreen(&painter, w, h, defs, RxScale());
    QCOMPARE(begun, area.isNull() ? 0 : 1);
    if (!begun) {
        QCOMPARE(draw.state(), RxDraw::Idle);
        return;
    }
    QCOMPARE(
        QRect(draw.left(), draw.bottom(), draw.right() - draw.left(), draw.top() - draw.bottom()),
        area);
    QCOMPARE(draw.deviceHeight(), h);
    QCOMPARE(draw.plotDefs().rotatePlot(), 0);
    QCOMPARE(painter.pen().width(), 2);
    QCOMPARE(draw.mapY(0), draw.bottom());
    QCOMPARE(draw.mapY(1), draw.top());
    // On paper the widest line is 36/1016 inch, as in PostScript, not a 16-point smear.
    draw.setLineWidth(5);
    QCOMPARE(painter.pen().widthF(), printer ? 36 * 72.0 / 1016.0 : 4.0);
}

void TestRxDraw::mapping_data()
{
    QTest::addColumn<float>("xmin");
    QTest::addColumn<float>("xmax");
    QTest::addColumn<int>("log");
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("device");
    QTest::addColumn<bool>("placed");
    const float nan = std::numeric_limits<float>::quiet_NaN();

    // A 500 x 400 widget: x runs from 95 to 490, y from 40 to 390.
    QTest::newRow("low end") << 0.0f << 1.0f << 0 << 0.0f << 95 << true;
    QTest::newRow("high end") << 0.0f << 1.0f << 0 << 1.0f << 490 << true;
    QTest::newRow("half rounds up") << 0.0f << 1.0f << 0 << 0.5f << 293 << true;
    QTest::newRow("reversed axis") << 1.0f << 0.0f << 0 << 0.0f << 490 << true;
    QTest::newRow("truncated toward zero") << 0.0f << 395.0f << 0 << -98.2f << -2 << true;
    QTest::newRow("log third") << 1.0f << 1000.0f << 1 << 10.0f << 227 << true;
    QTest::newRow("far beyond stops at the band") << 0.0f << 1.0f << 0 << 1e30f << 1000490 << true;
    QTest::newRow("far below stops at the band") << 0.0f << 1.0f << 0 << -1e30f << -999905 << true;
    QTest::newRow("infinity") << 0.0f << 1.0f << 0 << std::numeric_limits<float>::infinity()
                              << 1000490 << true;
    QTest::newRow("nan") << 0.0f << 1.0f << 0 << nan << 95 << false;
    QTest::newRow("log zero") << 1.0f << 1000.0f << 1 << 0.0f << -999905 << false;
    QTest::newRow("log negative") << 1.0f << 1000.0f << 1 << -5.0f << 95 << false;
}

void TestRxDraw::mapping()
{
    QFETCH(float, xmin);
    QFETCH(float, xmax);
    QFETCH(int, log);
    QFETCH(float, value);
    QFETCH(int, device);
    QFETCH(bool, placed);
    RxScale scale;
    scale.setXRange(xmax, xmin);
    scale.setYRange(xmax, xmin);
    scale.setXLog(log);
    scale.setYLog(log);
    RxDraw draw;
    draw.beginScreen(nullptr, 500, 400, RxPlotDefs(), scale);
    QCOMPARE(draw.mapX(value), device);
    int x = 7, y = 7;
    QCOMPARE(draw.mapPoint(value, xmax, &x, &y), placed);
    if (placed)
        QCOMPARE(QPoint(x, y), QPoint(device, 390));
    QCOMPARE(draw.mapPoint(xmax, value, &x, &y), placed);
}

void TestRxDraw::clipping_data()
{
    QTest::addColumn<QLine>("segment");
    QTest::addColumn<int>("result");
    QTest::addColumn<QLine>("clipped");

    // The area runs from (95, 40) to (490, 390).
    const auto row = [](const char *name, QLine segment, int result, QLine clipped) {
        QTest::newRow(name) << segment << result << clipped;
    };
    row("inside", {100, 100, 200, 200}, 0, {100, 100, 200, 200});
    row("first end left", {0, 100, 200, 100}, 0, {95, 100, 200, 100});
    row("second end above", {200, 100, 200, 500}, -1, {200, 100, 200, 390});
    row("across both sides", {0, 200, 600, 200}, -1, {95, 200, 490, 200});
    row("from the corner region", {45, 0, 145, 100}, 0, {95, 50, 145, 100});
    row("across top and right", {300, 500, 600, 200}, -1, {410, 390, 490, 310});
    row("steep across bottom and top", {150, 0, 170, 400}, -1, {152, 40, 169, 390});
    row("touching the corner", {0, 295, 200, 495}, -1, {95, 390, 95, 390});
    row("wholly left", {0, 100, 50, 200}, 1, {0, 100, 50, 200});
    row("passing the corner", {0, 300, 200, 500}, 1, {0, 300, 200, 500});
    row("vertical outside", {50, 0, 50, 500}, 1, {50, 0, 50, 500});
    row("short of the area", {0, 100, 90, 100}, 1, {0, 100, 90, 100});
    row("a point outside", {0, 0, 0, 0}, 1, {0, 0, 0, 0});
    row("ends far apart", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, -1, {95, 95, 390, 390});
}

void TestRxDraw::clipping()
{
    QFETCH(QLine, segment);
    QFETCH(int, result);
    QFETCH(QLine, clipped);
    RxDraw draw;
    draw.beginScreen(nullptr, 500, 400, RxPlotDefs(), RxScale());
    int x1 = segment.x1(), y1 = segment.y1(), x2 = segment.x2(), y2 = segment.y2();
    QCOMPARE(draw.clipSegment(x1, y1, x2, y2), result);
    QCOMPARE(QLine(x1, y1, x2, y2), clipped);
}

void TestRxDraw::painterIsUprightAndClipped()
{
    QImage image = whiteImage(300, 250);
    QPainter painter(&image);
    RxDraw draw;
    draw.beginScreen(&painter, 300, 250, RxPlotDefs(), RxScale());
    const int l = draw.left(), r = draw.right(), b = draw.bottom(), t = draw.top();
    draw.setLineWidth(0);
    const QPoint frame[] = {{l, b}, {r, b}, {r, t}, {l, t}, {l, b}};
    draw.drawPolyline(5, frame);
    draw.setColor(3);
    draw.setLineWidth(3);
    int x1 = -50, y1 = 10, x2 = 400, y2 = 300;
    QCOMPARE(draw.clipSegment(x1, y1, x2, y2), -1);
    const QPoint segment[] = {{x1, y1}, {x2, y2}};
    draw.drawPolyline(2, segment);
    painter.end();
    // The plot's y grows upwards: its bottom edge is near the foot of the image.
    QCOMPARE(image.pixel(l + 30, 250 - b), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(r, 250 - t + 30), qRgb(0, 0, 0));
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 0, 0))
                continue;
            // Two pixels of slack for the two-pixel pen's square caps.
            QVERIFY2(x >= l - 2 && x <= r + 2 && y >= 250 - t - 2 && y <= 250 - b + 2,
                qPrintable(QString("red at %1, %2").arg(x).arg(y)));
            ++red;
        }
    }
    QVERIFY(red > 200);
}

void TestRxDraw::painterSymbols_data()
{
    QTest::addColumn<int>("symbol");
    QTest::addColumn<float>("symbolSize");
    QTest::addColumn<Points>("black"); // offsets from the symbol's centre, plot y up
    QTest::addColumn<Points>("white");

    // At symbol size 10 a symbol is 20 pixels across in the 100-pixel area.
    QTest::newRow("square") << 1 << 10.0f << Points {{-10, -10}, {10, 5}, {0, 10}}
                            << Points {{0, 0}, {5, 5}, {12, 0}};
    QTest::newRow("solid square") << 5 << 10.0f
                                  << Points {{0, 0}, {5, 5}, {10, 1}, {10, 2}, {10, 3}, {10, 4}}
                                  << Points {{12, 0}, {0, -12}};
    QTest::newRow("solid cone") << 8 << 10.0f << Points {{0, 0}, {0, -12}, {5, 5}}
                                << Points {{0, 9}, {8, -8}};
    QTest::newRow("cross") << 9 << 10.0f << Points {{0, 0}, {5, 5}, {-10, 10}}
                           << Points {{5, 0}, {0, -5}};
    QTest::newRow("solid below one unit") << 5 << 0.45f << Points {} << Points {};
}

void TestRxDraw::painterSymbols()
{
    QFETCH(int, symbol);
    QFETCH(float, symbolSize);
    QFETCH(Points, black);
    QFETCH(Points, white);
    QImage image = whiteImage(205, 200);
    QPainter painter(&image);
    RxPlotDefs defs;
    defs.setSymbolSize(symbolSize);
    RxDraw draw;
    draw.beginScreen(&painter, 205, 200, defs, RxScale());
    draw.setLineWidth(0);
    // Symbols are solid whatever the curve's line type.
    draw.setLineType(1, 4.0f);
    draw.drawSymbol(150, 100, symbol);
    QCOMPARE(painter.pen().style(), Qt::DotLine);
    painter.end();
    for (QPoint d : black)
        QVERIFY2(image.pixel(150 + d.x(), 100 - d.y()) == qRgb(0, 0, 0),
            qPrintable(QString("white at %1, %2").arg(d.x()).arg(d.y())));
    for (QPoint d : white)
        QVERIFY2(image.pixel(150 + d.x(), 100 - d.y()) == qRgb(255, 255, 255),
            qPrintable(QString("black at %1, %2").arg(d.x()).arg(d.y())));
    if (black.isEmpty())
        QCOMPARE(image, whiteImage(205, 200));
}

void TestRxDraw::thinningKeepsPixels_data()
{
    QTest::addColumn<int>("widthIndex");
    QTest::addColumn<int>("lineType");
    QTest::addColumn<bool>("antialiased");
    QTest::newRow("cosmetic pen") << 0 << 0 << false;
    QTest::newRow("one pixel pen") << 1 << 0 << false;
    QTest::newRow("dashed") << 1 << 2 << false;
    QTest::newRow("antialiased") << 0 << 0 << true;
}

// Many points to a pixel column, up and down: whatever the curve's drawing leaves out must
// not change a pixel. A one-pixel solid line goes out as one polyline; other pens draw the
// 99-point polylines of PostScript paths, repeated points left out.
void TestRxDraw::thinningKeepsPixels()
{
    QFETCH(int, widthIndex);
    QFETCH(int, lineType);
    QFETCH(bool, antialiased);
    RxCurve curve;
    curve.setLineWidth(widthIndex);
    curve.setLineType(lineType);
    for (int i = 0; i < 12000; ++i)
        curve.addPoint(PointLine, 0.3f + static_cast<float>(i) * 2.5e-5f,
            0.5f + 0.3f * std::sin(static_cast<float>(i) * 1.2e-3f)
                + static_cast<float>((i * 37) % 9 + (i % 250 == 0 ? 7 : 0)) / 200.0f);
    QImage drawn = whiteImage(300, 200);
    QImage naive = whiteImage(300, 200);
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::Antialiasing, antialiased);
    RxDraw draw;
    draw.beginScreen(&painter, 300, 200, RxPlotDefs(), RxScale());
    draw.drawCurve(curve, -1, -1, 0);
    QPainter plain(&naive);
    plain.setRenderHint(QPainter::Antialiasing, antialiased);
    plain.setPen(painter.pen());
    const bool onePolyline = lineType == 0 && !antialiased;
    QPolygon flipped;
    for (int i = 0; i < curve.numPoints(); ++i) {
        int x = 0;
        int y = 0;
        QVERIFY(draw.mapPoint(curve.x(i), curve.y(i), &x, &y) && draw.isInside(x, y));
        if (onePolyline || flipped.isEmpty() || flipped.last() != QPoint(x, 200 - y))
            flipped << QPoint(x, 200 - y);
    }
    const qsizetype length = onePolyline ? flipped.size() : 99;
    for (qsizetype i = 0; i + 1 < flipped.size(); i += length - 1)
        plain.drawPolyline(
            flipped.constData() + i, static_cast<int>(qMin(flipped.size() - i, length)));
    painter.end();
    plain.end();
    QCOMPARE(drawn, naive);
}

QTEST_MAIN(TestRxDraw)
#include "TestRxDraw.moc"
