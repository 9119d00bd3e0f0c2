#include "render/RxDraw.h"

#include "model/RxComments.h"
#include "render/RxGhostscript.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {

// Keeps the lines written after recording starts.
class LineRecorder : public RxDraw
{
public:
    void writeLine(const QByteArray &text) override
    {
        if (recording)
            lines.append(text);
        RxDraw::writeLine(text);
    }
    bool recording = false;
    QList<QByteArray> lines;
};

// A PostScript document whose body lines are recorded.
struct PostScriptRun
{
    bool begin(RxPlotDefs defs = RxPlotDefs(), RxScale scale = RxScale())
    {
        buffer.open(QIODevice::WriteOnly);
        draw.setCreationTime(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5), Qt::UTC));
        if (!draw.beginPostScript(&buffer, defs, scale))
            return false;
        draw.recording = true;
        return true;
    }
    // Ends the document and returns what Ghostscript says about it: empty when it is valid.
    QByteArray finish()
    {
        draw.recording = false;
        draw.end();
        return rxGhostscriptCheck(buffer.data());
    }
    QBuffer buffer;
    LineRecorder draw;
};

RxPlotDefs landscape()
{
    RxPlotDefs defs;
    defs.setRotatePlot(0);
    return defs;
}

// A 400 x 300 screen on white.
struct PainterRun
{
    bool begin()
    {
        image.fill(Qt::white);
        painter.begin(&image);
        return draw.beginScreen(&painter, image.width(), image.height(), RxPlotDefs(), RxScale());
    }
    QImage finish()
    {
        draw.end();
        painter.end();
        return image;
    }
    QImage image {400, 300, QImage::Format_RGB32};
    QPainter painter;
    RxDraw draw;
};

// The box of the dark pixels; anti-aliased fringes are left out.
QRect inkBox(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

QImage paintText(const QByteArray &text, int angle)
{
    PainterRun run;
    if (!run.begin())
        return QImage();
    run.draw.drawText(100, 150, text, angle, 1.0f);
    return run.finish();
}

QByteArray fontLine(const char *name, const char *scaling)
{
    return QByteArray(name) + " findfont currentfont ne { " + name + " findfont " + scaling
        + " setfont } if ";
}

// The eight script offset lines, given the factors of fheight they differ in.
QByteArray offsets(const char *dropy, const char *dropx, const char *raisey, const char *raisex)
{
    return QByteArray("/dropy fheight ") + dropy + " mul def\n/dropx fheight " + dropx
        + " mul def\n/mdropx dropx -1 mul def\n/mdropy dropy -1 mul def\n/raisey fheight " + raisey
        + " mul def\n/mraisey raisey -1 mul def\n/raisex fheight " + raisex
        + " mul def\n/mraisex raisex -1 mul def";
}

const QByteArray bold = "/Helvetica-BoldOblique";
const QByteArray plain200 = "200.000000 scalefont";

} // namespace

class TestRxDrawText : public QObject
{
    Q_OBJECT

private slots:
    void escapeText_data();
    void escapeText();
    void textLength_data();
    void textLength();
    void postScriptFrame_data();
    void postScriptFrame();
    void postScriptMarkup_data();
    void postScriptMarkup();
    void marker_data();
    void marker();
    void comments_data();
    void comments();
    void screenFont_data();
    void screenFont();
    void painterAngles_data();
    void painterAngles();
    void painterScripts_data();
    void painterScripts();
    void painterSymbolFont();
    void painterEmbeddedSymbol();
};

void TestRxDrawText::escapeText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("escaped");
    QTest::newRow("plain") << QByteArray("a b%c") << QByteArray("a b%c");
    QTest::newRow("parentheses") << QByteArray("f(x)") << QByteArray("f\\(x\\)");
    QTest::newRow("brackets") << QByteArray("[1]") << QByteArray("\\[1\\]");
    QTest::newRow("backslash") << QByteArray("a\\n") << QByteArray("a\\\\n");
    QTest::newRow("trailing backslash") << QByteArray("a\\") << QByteArray("a\\\\");
    QTest::newRow("control bytes") << QByteArray("\n\r\x01", 3) << QByteArray("\\012\\015\\001");
    QTest::newRow("NUL") << QByteArray("a\0b", 3) << QByteArray("a\\000b");
    QTest::newRow("DEL and high bytes")
        << QByteArray("\x7f\x80\xe9\xff") << QByteArray("\\177\\200\\351\\377");
}

void TestRxDrawText::escapeText()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, escaped);
    QCOMPARE(RxDraw().escapeText(text), escaped);
}

void TestRxDrawText::textLength_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("onScreen");
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("length");
    // Every character but { } ^ _ $.
    QTest::newRow("off screen: markup dropped") << QByteArray("x^{2}_a$b$") << false << 90 << 4;
    QTest::newRow("off screen: @n digits counted") << QByteArray("A@3B") << false << 0 << 4;
    QTest::newRow("screen at 0 as PostScript") << QByteArray("x^{23}y@10") << true << 0 << 7;
    // At 90 on the screen scripts are skipped and an embedded symbol is one character.
    QTest::newRow("rotated: script group") << QByteArray("x^{23}y") << true << 90 << 2;
    QTest::newRow("rotated: script character") << QByteArray("x_ay") << true << 90 << 2;
    QTest::newRow("rotated: symbol font") << QByteArray("$a$b") << true << 90 << 2;
    QTest::newRow("rotated: embedded symbol") << QByteArray("A@10B") << true << 90 << 3;
    QTest::newRow("rotated: @ that is no symbol") << QByteArray("A@1") << true << 90 << 3;
    QTest::newRow("rotated: caret at the end") << QByteArray("x^") << true << 90 << 2;
    QTest::newRow("rotated: unterminated group") << QByteArray("x_{ab") << true << 90 << 4;
}

void TestRxDrawText::textLength()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, onScreen);
    QFETCH(int, angle);
    QFETCH(int, length);
    if (!onScreen) {
        QCOMPARE(RxDraw().textLength(text, angle), length);
        return;
    }
    PainterRun run;
    QVERIFY(run.begin());
    QCOMPARE(run.draw.textLength(text, angle), length);
    run.finish();
}

void TestRxDrawText::postScriptFrame_data()
{
    QTest::addColumn<int>("rotatePlot");
    QTest::addColumn<int>("angle");
    QTest::addColumn<QByteArray>("head");
    const QByteArray at = "2000 3000 moveto \n";
    const QByteArray turned = "7300 2000 moveto \n";
    const QByteArray head0 = fontLine(bold, "300.000000 scalefont");
    const QByteArray head90 = fontLine(bold, "[0 300.000000 -300.000000 0 0 0] makefont");
    const QByteArray offsets0 = offsets("drop", "0.0", "raise", "0.0");
    const QByteArray offsets90 = offsets("0.0", "-1 drop mul", "0.0", "-1 raise mul");
    QTest::newRow("0") << 0 << 0 << head0 + at + offsets0;
    QTest::newRow("90") << 0 << 90 << head90 + at + offsets90;
    QTest::newRow("180") << 0 << 180
                         << fontLine(bold, "[-300.000000 0 0 -300.000000 0 0] makefont") + at
            + offsets("-1 drop mul", "0.0", "-1 raise mul", "0.0");
    QTest::newRow("270") << 0 << 270
                         << fontLine(bold, "[0 -300.000000 300.000000 0 0 0] makefont") + at
            + offsets("0.0", "drop", "0.0", "raise");
    // Portrait pages add 90 degrees and turn the point.
    QTest::newRow("portrait 0") << 1 << 0 << head90 + turned + offsets90;
    QTest::newRow("portrait 270") << 1 << 270 << head0 + turned + offsets0;
}

void TestRxDrawText::postScriptFrame()
{
    QFETCH(int, rotatePlot);
    QFETCH(int, angle);
    QFETCH(QByteArray, head);
    RxPlotDefs defs;
    defs.setRotatePlot(rotatePlot);
    PostScriptRun run;
    QVERIFY(run.begin(defs));
    run.draw.drawText(2000, 3000, "Hi", angle, 1.5f);
    QCOMPARE(run.finish(), QByteArray());
    QCOMPARE(run.draw.lines.join('\n'), head + "\n(Hi) show ");
}

void TestRxDrawText::postScriptMarkup_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("body");
    const QByteArray toSymbol = fontLine("/Symbol", plain200);
    const QByteArray back = fontLine(bold, plain200);
    const QByteArray solid = " currentdash pop /t2 exch def [ ] 0 setdash ";
    const QByteArray raised = " currentpoint raisex raisey rmoveto currentpoint n ";
    QTest::newRow("superscript character")
        << QByteArray("x^2") << QByteArray("(x) show |(2) supshow ");
    QTest::newRow("subscript group")
        << QByteArray("x_{ij}") << QByteArray("(x) show |(ij) subshow ");
    QTest::newRow("symbol font") << QByteArray("$a$b")
                                 << toSymbol + "|(a) show |" + back + "|(b) show ";
    QTest::newRow("group across font switch") << QByteArray(
        "_{a$b$}c") << "(a) subshow |" + toSymbol + "|(b) subshow |" + back + "|(c) show ";
    QTest::newRow("embedded circle")
        << QByteArray("A@3B")
        << "(A) show |" + solid + '|' + raised + " circle  s  t2 0 setdash moveto |( B) show ";
    QTest::newRow("solid symbol, two digits")
        << QByteArray("@6@10")
        << solid + '|' + raised + " square  fill  t2 0 setdash moveto |( ) show |" + solid + '|'
            + raised + " cross  s  t2 0 setdash moveto |(  ) show ";
    QTest::newRow("closing brace dropped")
        << QByteArray("a}b") << QByteArray("(a) show |(b) show ");
    // A backslash last would leave the string open.
    QTest::newRow("escaped run") << QByteArray("f(x)\xe9\n\\")
                                 << QByteArray("(f\\(x\\)\\351\\012\\\\) show ");
    QTest::newRow("escaped script character")
        << QByteArray("x^)") << QByteArray("(x) show |(\\)) supshow ");
    QTest::newRow("caret at the end") << QByteArray("x^") << QByteArray("(x^) show ");
    QTest::newRow("unterminated group") << QByteArray("x_{ab") << QByteArray("(x_{ab) show ");
    QTest::newRow("@ without digits") << QByteArray("a@b") << QByteArray("(a@b) show ");
    QTest::newRow("@ outside 2 to 10") << QByteArray("@1@11") << QByteArray("(@1@11) show ");
    QTest::newRow("@ with an enormous number")
        << QByteArray("@99999999999999999999") << QByteArray("(@99999999999999999999) show ");
    QTest::newRow("1000 characters")
        << QByteArray(1000, 'x') << "(" + QByteArray(1000, 'x') + ") show ";
}

void TestRxDrawText::postScriptMarkup()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, body);
    PostScriptRun run;
    QVERIFY(run.begin(landscape()));
    run.draw.drawText(2000, 3000, text, 0, 1.0f);
    QCOMPARE(run.finish(), QByteArray());
    QCOMPARE(run.draw.lines.mid(9).join('|'), body);
    QCOMPARE(run.draw.fontList().contains("/Symbol"), text.contains('$'));
}

void TestRxDrawText::marker_data()
{
    QTest::addColumn<int>("character");
    QTest::addColumn<QByteArray>("run");
    QTest::newRow("parenthesis") << int('(') << QByteArray("(\\() show ");
    QTest::newRow("markup character") << int('$') << QByteArray("($) show ");
    QTest::newRow("caret") << int('^') << QByteArray("(^) show ");
    QTest::newRow("bell") << 7 << QByteArray();
    QTest::newRow("DEL") << 127 << QByteArray();
    QTest::newRow("beyond ASCII") << 233 << QByteArray();
    QTest::newRow("beyond a byte") << 0x141 << QByteArray();
}

void TestRxDrawText::marker()
{
    QFETCH(int, character);
    QFETCH(QByteArray, run);
    PostScriptRun ps;
    QVERIFY(ps.begin(landscape()));
    ps.draw.setTextFont(5);
    ps.draw.drawMarker(2000, 3000, character, 1.0f);
    QCOMPARE(ps.finish(), QByteArray());
    if (run.isEmpty()) {
        QCOMPARE(ps.draw.lines, QList<QByteArray>());
        return;
    }
    QCOMPARE(ps.draw.lines.size(), 10);
    QCOMPARE(ps.draw.lines.first(), fontLine(bold, plain200) + "2000 3000 moveto ");
    QCOMPARE(ps.draw.lines.last(), run);
}

void TestRxDrawText::comments_data()
{
    QTest::addColumn<int>("rotatePlot");
    QTest::addColumn<int>("plotComments");
    QTest::addColumn<int>("locType");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("head");
    const QByteArray times = fontLine("/Times-Roman", "300.000000 scalefont");
    // Landscape plot area: 1607 .. 6687 by 1467 .. 5531.
    QTest::newRow("cells 14, 20: lower left")
        << 0 << 1 << 0 << 14.0f << 20.0f << QByteArray("c") << times + "1607 1467 moveto ";
    QTest::newRow("cells 81, 0: upper right")
        << 0 << 1 << 0 << 81.0f << 0.0f << QByteArray("c") << times + "6687 5531 moveto ";
    QTest::newRow("cells on a portrait page")
        << 1 << 1 << 0 << 14.0f << 20.0f << QByteArray("c")
        << fontLine("/Times-Roman", "[0 300.000000 -300.000000 0 0 0] makefont")
            + "8833 1607 moveto ";
    QTest::newRow("data coordinates")
        << 0 << 1 << 1 << 5.0f << 5.0f << QByteArray("c") << times + "4147 3499 moveto ";
    QTest::newRow("empty text") << 0 << 1 << 0 << 14.0f << 20.0f << QByteArray() << QByteArray();
    QTest::newRow("comments off") << 0 << 0 << 0 << 14.0f << 20.0f << QByteArray("c")
                                  << QByteArray();
}

void TestRxDrawText::comments()
{
    QFETCH(int, rotatePlot);
    QFETCH(int, plotComments);
    QFETCH(int, locType);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, head);
    RxPlotDefs defs;
    defs.setRotatePlot(rotatePlot);
    defs.setPlotComments(plotComments);
    RxScale scale;
    scale.setXRange(10.0f, 0.0f);
    scale.setYRange(10.0f, 0.0f);
    RxComments comments;
    comments.addComment(text, x, y, locType);
    comments.setFont(0, 3);
    comments.setFontSize(0, 1.5f);
    comments.setColor(0, 3);
    PostScriptRun run;
    QVERIFY(run.begin(defs, scale));
    run.draw.drawComments(comments);
    QCOMPARE(run.finish(), QByteArray());
    if (head.isEmpty()) {
        QCOMPARE(run.draw.lines, QList<QByteArray>());
        return;
    }
    QCOMPARE(run.draw.lines.size(), 11);
    QCOMPARE(run.draw.lines.at(0), QByteArray(" 1.000000 0.000000 0.000000 setrgbcolor "));
    QCOMPARE(run.draw.lines.at(1), head);
    QCOMPARE(run.draw.lines.at(10), "(" + text + ") show ");
}

void TestRxDrawText::screenFont_data()
{
    QTest::addColumn<int>("font");
    QTest::addColumn<float>("size");
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<int>("points");
    QTest::newRow("2 bold oblique") << 2 << 1.5f << "Helvetica" << true << true << 18;
    QTest::newRow("5 italic") << 5 << 0.8f << "Times" << false << true << 9;
    QTest::newRow("6 symbol") << 6 << 1.0f << "Symbol" << false << false << 12;
    QTest::newRow("tiny size") << 1 << 0.01f << "Helvetica" << false << false << 1;
}

void TestRxDrawText::screenFont()
{
    QFETCH(int, font);
    QFETCH(float, size);
    QFETCH(QString, family);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(int, points);
    PainterRun run;
    QVERIFY(run.begin());
    run.draw.setScreenFont(font, size);
    const QFont f = run.painter.font();
    QCOMPARE(f.family(), family);
    QCOMPARE(f.weight() == QFont::Bold, bold);
    QCOMPARE(f.italic(), italic);
    QCOMPARE(f.pointSize(), points);
    run.finish();
}

void TestRxDrawText::painterAngles_data()
{
    QTest::addColumn<int>("angle");
    QTest::newRow("0") << 0;
    QTest::newRow("90") << 90;
    QTest::newRow("180 not on screen") << 180;
    QTest::newRow("270 not on screen") << 270;
}

void TestRxDrawText::painterAngles()
{
    QFETCH(int, angle);
    // The base line starts at (100, 150) in device pixels; "Hello" has no descenders.
    const QRect box = inkBox(paintText("Hello", angle));
    if (angle >= 180) {
        QVERIFY2(box.isNull(), "drew pixels");
    } else if (angle == 0) {
        QVERIFY2(box.left() >= 99 && box.left() <= 103, "starts elsewhere");
        QVERIFY2(box.bottom() >= 147 && box.bottom() <= 150, "not on its base line");
        QVERIFY(box.width() > 2 * box.height());
    } else {
        QVERIFY2(box.right() >= 96 && box.right() <= 101, "base line elsewhere");
        QVERIFY2(box.bottom() >= 145 && box.bottom() <= 151, "starts elsewhere");
        QVERIFY(box.height() > 2 * box.width());
    }
}

void TestRxDrawText::painterScripts_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("shift");
    QTest::newRow("superscript character") << QByteArray("^2") << 7;
    QTest::newRow("superscript group") << QByteArray("^{22}") << 7;
    QTest::newRow("subscript character") << QByteArray("_2") << -3;
    QTest::newRow("subscript group") << QByteArray("_{22}") << -3;
}

void TestRxDrawText::painterScripts()
{
    QFETCH(QByteArray, text);
    QFETCH(int, shift);
    const QRect base = inkBox(paintText("2", 0));
    const QRect script = inkBox(paintText(text, 0));
    QVERIFY(!base.isNull() && !script.isNull());
    QVERIFY2(qAbs(base.bottom() - script.bottom() - shift) <= 1,
        qPrintable(QString("raised by %1").arg(base.bottom() - script.bottom())));
    QVERIFY2(script.height() < base.height(), "not drawn smaller");
}

void TestRxDrawText::painterSymbolFont()
{
    const QImage latin = paintText("a", 0);
    const QImage symbol = paintText("$a$", 0);
    QVERIFY(!inkBox(symbol).isNull());
    QVERIFY2(latin != symbol, "the Symbol font's a shows as a Latin a");
}

void TestRxDrawText::painterEmbeddedSymbol()
{
    // Plot width 390 - 95 pixels: the symbol is 5.9 pixels and raised by 5.
    const QRect box = inkBox(paintText("@3", 0));
    QVERIFY(!box.isNull());
    QVERIFY2(qAbs(box.center().y() - 145) <= 1, "not raised by the symbol size");
    QVERIFY2(qAbs(box.center().x() - 100) <= 1, "not at the current point");
}

QTEST_MAIN(TestRxDrawText)
#include "TestRxDrawText.moc"
