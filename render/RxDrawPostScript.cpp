#include "render/RxDraw.h"

#include "model/RxFatal.h"
#include "model/RxNumberText.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

// The page area the plot size is measured against, in 1/1016 inch; the plot's lower left
// corner stays at (pageLeft, pageBottom) whatever its size.
constexpr int pageLeft = 1607;
constexpr int pageRight = 10300;
constexpr int pageTop = 7650;
constexpr int pageBottom = 1467;

// The procedures the body lines call: path shorthands, the symbol shapes (scaled by sf and
// turned upright on a portrait page) and the script offsets of the text code.
const char *const prologHead[] = {
    "72 72 scale 0.35 10.46 translate -90 rotate ",
    " .000984 .000984 scale [ ] 0 setdash",
    " /m {moveto} def /l {lineto} def /s {stroke} def /n {newpath} def ",
};

const char *const prologShapes[] = {
    " /square { m -45 -45 rm 90 0 rl 0 90 rl -90 0 rl closepath } def ",
    " /triangle { m 0 -33 rm 57.7 0 rl -57.7 100 rl -57.7 -100 rl closepath } def ",
    " /cone { m 0 33 rm -57.7 0 rl 57.7 -100 rl 57.7 100 rl closepath } def ",
    " /cross { m -45 -45 rm 90 90 rl -90 0 rm 90 -90 rl } def ",
    " /circle { 50 sf mul 0 360 arc } def ",
};

const char *const prologMoves[] = {
    " /rm { (Y) rot eq { [ 0 sf msf 0 0 0 ] dtransform rmoveto } { [ sf 0 0 sf 0 0 ] "
    "dtransform rmoveto } ifelse } def ",
    " /rl { (Y) rot eq { [ 0 sf msf 0 0 0 ] dtransform rlineto } { [ sf 0 0 sf 0 0 ] "
    "dtransform rlineto } ifelse } def ",
};

const char *const prologScripts[] = {
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
};

// Document structuring comments may be at most 255 characters long, line end excluded.
constexpr qsizetype dscLineLength = 255;

// The comment line head + text, cut to dscLineLength. Control characters become blanks: a
// line break would end the comment and run the rest as PostScript. The cut does not split
// a UTF-8 sequence, so that a name in UTF-8 stays readable to the end.
QByteArray dscLine(const char *head, const QByteArray &text)
{
    QByteArray line(head);
    qsizetype n = std::min(text.size(), dscLineLength - line.size());
    if (n < text.size()) {
        while (n > 0 && (static_cast<unsigned char>(text.at(n)) & 0xc0) == 0x80)
            --n;
    }
    for (qsizetype i = 0; i < n; ++i) {
        const char c = text.at(i);
        line.append(static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? ' ' : c);
    }
    return line;
}

// A plot size as a percentage of the page's side: both sides must lie within 10 to 100 %.
bool sizeFits(double size, int side)
{
    const double percent = std::fabs(size) * 101600 / side;
    return percent >= 10 && percent <= 100;
}

} // namespace

int RxDraw::beginPostScript(QIODevice *output, const RxPlotDefs &defs, const RxScale &scale)
{
    if (m_state != Idle)
        return 0;
    const bool portrait = defs.rotatePlot() == 1;
    const double xSize = static_cast<double>(defs.xPlotSize());
    const double ySize = static_cast<double>(defs.yPlotSize());
    const int across = pageRight - pageLeft;
    const int down = pageTop - pageBottom;
    if (!sizeFits(xSize, portrait ? down : across) || !sizeFits(ySize, portrait ? across : down))
        return 0;
    if (!output)
        return 1;

    m_state = PostScriptState;
    m_printer = false;
    m_output = output;
    m_painter = nullptr;
    m_plotDefs = defs;
    // A negative size passes the check by its absolute value and is drawn at that size: a
    // mirrored area would lie off the page, under a bounding box that encloses nothing.
    m_left = pageLeft;
    m_bottom = pageBottom;
    m_right = m_left + static_cast<int>(std::fabs(xSize) * 1016);
    m_top = m_bottom + static_cast<int>(std::fabs(ySize) * 1016);
    copyWindow(scale);
    m_textFont = 2;
    m_fontList.clear();
    m_pending.clear();
    m_outputFailed = false;
    m_solidDash = true;
    writeHeader();
    return 1;
}

void RxDraw::writeHeader()
{
    const bool portrait = m_plotDefs.rotatePlot() == 1;
    const QDateTime time = m_creationTime.isValid() ? m_creationTime : QDateTime::currentDateTime();
    const QByteArray date
        = QLocale::c().toString(time, QStringLiteral("ddd MMM d hh:mm:ss yyyy")).toLatin1();

    writeLine("%!PS-Adobe-2.0 EPSF-2.0");
    // In points. The page is turned, so a landscape plot hangs from the top of the page.
    const double w = (m_right - m_left) / 1016.0;
    const double h = (m_top - m_bottom) / 1016.0;
    const int box[4] = {36, portrait ? 36 : static_cast<int>((8.0 - w) * 72),
        static_cast<int>((portrait ? w + 2.5 : h + 2.5) * 72),
        portrait ? static_cast<int>((h + 2.0) * 72) : 720};
    QByteArray line("%%BoundingBox: ");
    for (int v : box) {
        rxAppendInt(line, v);
        line.append(' ');
    }
    writeLine(line);

    const QByteArray title = m_plotDefs.title();
    if (!title.isEmpty()) {
        line = rxGuardMemory(
            "out of memory in rxdraw \n", [&title] { return dscLine("%%Title: ", title); });
        writeLine(line);
    }
    writeLine("%%Creator: Ruxa");
    writeLine("%%CreationDate: " + date);
    writeLine("%%EndComments");

    if (!m_plotDefs.encapsulated()) {
        writeLine(" initmatrix");
        writeLine(portrait ? "/Helvetica findfont  [12 0 0 12 0 0] makefont setfont"
                           : "/Helvetica findfont  [0 -12 12 0 0 0] makefont setfont");
        line = portrait ? " 30 770 moveto (" : " 590 770 moveto (";
        line.append(escapeText(title.isEmpty() ? QByteArray("untitled") : title));
        line.append(' ');
        line.append(date);
        line.append(") show ");
        writeLine(line);
    }

    for (const char *text : prologHead)
        writeLine(text);
    line = " ";
    rxAppendInt(line, m_plotDefs.psJoin());
    line.append(" setlinejoin ");
    writeLine(line);
    for (const char *text : prologShapes)
        writeLine(text);
    writeLine(portrait ? " /rot (Y) def " : " /rot (N) def ");
    line = " /sf ";
    rxAppendF(line, static_cast<double>(m_plotDefs.symbolSize()));
    line.append(" def /msf -1 sf mul def ");
    writeLine(line);
    for (const char *text : prologMoves)
        writeLine(text);
    // The text height in device units.
    line = "/fheight ";
    rxAppendF(line, static_cast<double>(m_plotDefs.fontSize() * 200));
    line.append(" def");
    writeLine(line);
    for (const char *text : prologScripts)
        writeLine(text);
}

void RxDraw::writeTrailer()
{
    if (!m_plotDefs.encapsulated())
        writeLine("showpage");
    writeLine("%%DocumentFonts: " + m_fontList);
}
