#include "render/RxDraw.h"

#include "model/RxComments.h"
#include "model/RxNumberText.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QRawFont>
#include <QString>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const char *const fontNames[RxDraw::numFonts] = {
    "/Helvetica-Bold",
    "/Helvetica",
    "/Helvetica-BoldOblique",
    "/Times-Roman",
    "/Times-Bold",
    "/Times-Italic",
    "/Symbol",
    "/Palatino-Roman",
    "/Palatino-Bold",
};
constexpr int symbolFont = 6;
constexpr int markerFont = 2;

// Beyond this size factor a text is far larger than any page; the cap keeps the painter's
// integer point size and PostScript's number range out of trouble.
constexpr float largestSize = 1000.0f;

enum class Shift { None, Sub, Sup };

// One step of a text after its markup has been read.
struct Piece
{
    enum Kind { Run, FontToggle, Symbol };
    Kind kind;
    QByteArray text; // Run
    Shift shift = Shift::None; // Run
    int symbol = 0; // Symbol: 1 square ... 9 cross
};

struct Markup
{
    std::vector<Piece> pieces;
    // The rotated-screen estimate of textLength: characters outside script groups, an
    // embedded symbol as one.
    int unscriptedLength = 0;
};

// Reads the markup of a text. Whatever is not well-formed markup (a "^" or "_" with
// nothing after it, "_{" without a closing "}", "@" without a point type 2 to 10) is shown
// as the characters it is, and nothing is read past the end of the text. A group's shift
// holds until its "}", also across "$", so both outputs show the whole group shifted.
Markup readMarkup(const QByteArray &text)
{
    Markup m;
    QByteArray run;
    Shift group = Shift::None;
    const auto flush = [&] {
        if (!run.isEmpty()) {
            m.pieces.push_back({Piece::Run, run, group, 0});
            run.clear();
        }
    };
    const qsizetype n = text.size();
    const qsizetype lastClose = text.lastIndexOf('}');
    for (qsizetype i = 0; i < n; ++i) {
        const char c = text[i];
        if (c == '$') {
            flush();
            m.pieces.push_back({Piece::FontToggle, {}, Shift::None, 0});
            continue;
        }
        if (c == '}') {
            flush();
            group = Shift::None;
            continue;
        }
        if ((c == '_' || c == '^') && i + 1 < n) {
            const Shift shift = c == '_' ? Shift::Sub : Shift::Sup;
            if (text[i + 1] != '{') {
                flush();
                m.pieces.push_back({Piece::Run, QByteArray(1, text[i + 1]), shift, 0});
                ++i;
                continue;
            }
            if (lastClose > i + 1) {
                flush();
                group = shift;
                ++i;
                continue;
            }
        }
        if (c == '@') {
            qsizetype j = i + 1;
            int value = 0;
            for (; j < n && text[j] >= '0' && text[j] <= '9'; ++j)
                value = std::min(value * 10 + (text[j] - '0'), 1000);
            if (j > i + 1 && value >= 2 && value <= 10) {
                flush();
                m.pieces.push_back({Piece::Symbol, {}, Shift::None, value - 1});
                if (group == Shift::None)
                    ++m.unscriptedLength;
                // The symbol is drawn over the first blank.
                run = value > 9 ? "  " : " ";
                i = j - 1;
                continue;
            }
        }
        run.append(c);
        if (group == Shift::None && c != '{')
            ++m.unscriptedLength;
    }
    flush();
    return m;
}

int normalAngle(int angle)
{
    return (angle % 360 + 360) % 360;
}

// Size factors a text can be drawn at: positive, capped.
bool usableSize(float size, float *out)
{
    if (!(size > 0.0f))
        return false;
    *out = std::min(size, largestSize);
    return true;
}

// What the Symbol font shows for text on the painter. PostScript's Symbol font puts the
// Greek letters on the Latin ones. Its URW clone keeps that encoding, and Qt then shows "a"
// as alpha by itself (and has no Unicode alpha in it); a Unicode font standing in for it
// needs the letters turned into Greek.
QString symbolText(const QByteArray &text, const QFont &font)
{
    static const bool unicodeFont = QRawFont::fromFont(font).supportsCharacter(QChar(0x03b1));
    if (!unicodeFont)
        return QString::fromLatin1(text);
    static const char16_t upper[] = u"ΑΒΧΔΕΦΓΗΙϑΚΛΜΝΟΠΘΡΣΤΥςΩΞΨΖ";
    static const char16_t lower[] = u"αβχδεφγηιϕκλμνοπθρστυϖωξψζ";
    QString s = QString::fromLatin1(text);
    for (QChar &c : s) {
        const char16_t u = c.unicode();
        if (u >= 'A' && u <= 'Z')
            c = QChar(upper[u - 'A']);
        else if (u >= 'a' && u <= 'z')
            c = QChar(lower[u - 'a']);
    }
    return s;
}

QFont screenFont(int fontIndex, float size)
{
    const QByteArray name = RxDraw::fontName(fontIndex);
    QByteArray family = name.mid(1);
    const qsizetype dash = family.indexOf('-');
    if (dash >= 0)
        family.truncate(dash);
    const bool italic = name.contains("Italic") || name.contains("Oblique");
    const int points = std::max(1, static_cast<int>(12.0f * std::min(size, largestSize)));
    return QFont(QString::fromLatin1(family), points,
        name.contains("Bold") ? QFont::Bold : QFont::Normal, italic);
}

// The font line of a text, without the moveto; angle is 0, 90, 180 or 270.
QByteArray fontLine(int fontIndex, int angle, float size)
{
    const QByteArray name = RxDraw::fontName(fontIndex);
    const double s = static_cast<double>(size * 200.0f);
    QByteArray line = name + " findfont currentfont ne { " + name + " findfont ";
    switch (angle) {
    case 0:
        rxAppendF(line, s);
        line += " scalefont";
        break;
    case 90:
        line += "[0 ";
        rxAppendF(line, s);
        line += " -";
        rxAppendF(line, s);
        line += " 0 0 0] makefont";
        break;
    case 180:
        line += "[-";
        rxAppendF(line, s);
        line += " 0 0 -";
        rxAppendF(line, s);
        line += " 0 0] makefont";
        break;
    default:
        line += "[0 -";
        rxAppendF(line, s);
        line += ' ';
        rxAppendF(line, s);
        line += " 0 0 0] makefont";
        break;
    }
    line += " setfont } if ";
    return line;
}

// The prolog's script offsets turned with the text; index angle / 90.
const char *const offsetLines[4][8] = {
    {"/dropy fheight drop mul def", "/dropx fheight 0.0 mul def", "/mdropx dropx -1 mul def",
        "/mdropy dropy -1 mul def", "/raisey fheight raise mul def", "/mraisey raisey -1 mul def",
        "/raisex fheight 0.0 mul def", "/mraisex raisex -1 mul def"},
    {"/dropy fheight 0.0 mul def", "/dropx fheight -1 drop mul mul def", "/mdropx dropx -1 mul def",
        "/mdropy dropy -1 mul def", "/raisey fheight 0.0 mul def", "/mraisey raisey -1 mul def",
        "/raisex fheight -1 raise mul mul def", "/mraisex raisex -1 mul def"},
    {"/dropy fheight -1 drop mul mul def", "/dropx fheight 0.0 mul def", "/mdropx dropx -1 mul def",
        "/mdropy dropy -1 mul def", "/raisey fheight -1 raise mul mul def",
        "/mraisey raisey -1 mul def", "/raisex fheight 0.0 mul def", "/mraisex raisex -1 mul def"},
    {"/dropy fheight 0.0 mul def", "/dropx fheight drop mul def", "/mdropx dropx -1 mul def",
        "/mdropy dropy -1 mul def", "/raisey fheight 0.0 mul def", "/mraisey raisey -1 mul def",
        "/raisex fheight raise mul def", "/mraisex raisex -1 mul def"},
};

const char *shapeName(int symbol)
{
    static const char *const names[] = {" square ", " circle ", " triangle ", " cone "};
    return symbol >= 9 ? " cross " : names[(symbol - 1) % 4];
}

void writePostScriptPieces(
    RxDraw &d, int x, int y, const std::vector<Piece> &pieces, int angle, float size)
{
    if (d.plotDefs().rotatePlot() == 1)
        angle = normalAngle(angle) + 90;
    angle = normalAngle(angle);
    if (angle % 90 != 0)
        return;
    QByteArray line = fontLine(d.textFont(), angle, size);
    d.addDocumentFont(d.textFont());
    d.transformPoint(x, y);
    rxAppendInt(line, x);
    line += ' ';
    rxAppendInt(line, y);
    line += " moveto ";
    d.writeLine(line);
    for (const char *offset : offsetLines[angle / 90])
        d.writeLine(offset);

    bool inSymbolFont = false;
    for (const Piece &p : pieces) {
        switch (p.kind) {
        case Piece::Run: {
            const char *op = p.shift == Shift::Sub ? "subshow"
                : p.shift == Shift::Sup            ? "supshow"
                                                   : "show";
            d.writeLine('(' + d.escapeText(p.text) + ") " + op + ' ');
            break;
        }
        case Piece::FontToggle: {
            inSymbolFont = !inSymbolFont;
            const int font = inSymbolFont ? symbolFont : d.textFont();
            d.writeLine(fontLine(font, angle, size));
            d.addDocumentFont(font);
            break;
        }
        case Piece::Symbol:
            // Drawn raised above the current point, which the final moveto restores.
            d.writeLine(" currentdash pop /t2 exch def [ ] 0 setdash ");
            d.writeLine(QByteArray(" currentpoint raisex raisey rmoveto currentpoint n ")
                + shapeName(p.symbol) + (p.symbol >= 5 && p.symbol <= 8 ? " fill " : " s ")
                + " t2 0 setdash moveto ");
            break;
        }
    }
}

void paintPieces(RxDraw &d, int x, int y, const std::vector<Piece> &pieces, int angle, float size)
{
    angle = normalAngle(angle);
    QPainter *painter = d.painter();
    if ((angle != 0 && angle != 90) || !painter)
        return;
    d.setScreenFont(d.textFont(), size);
    const QTransform saved = painter->worldTransform();
    QPointF point(x, d.deviceHeight() - y);
    if (angle == 90) {
        painter->translate(point);
        painter->rotate(-90.0);
        point = QPointF(0.0, 0.0);
    }
    // Pixels; the painter's y grows downwards.
    const double raise = std::trunc(7.2 * static_cast<double>(size));
    const double drop = std::trunc(3.0 * static_cast<double>(size));
    const float scriptSize = 0.8f * size;
    const double symbolSize
        = static_cast<double>(d.plotDefs().symbolSize()) * (d.right() - d.left()) * 0.02;
    const int symbolRaise
        = static_cast<int>(std::clamp(symbolSize, 0.0, static_cast<double>(RxDraw::deviceBand)));

    // A run of millions of characters must not push x out of the int range.
    const double band = 2.0 * RxDraw::deviceBand;
    bool inSymbolFont = false;
    for (const Piece &p : pieces) {
        const int font = inSymbolFont ? symbolFont : d.textFont();
        switch (p.kind) {
        case Piece::Run:
            if (p.shift == Shift::None) {
                d.drawTextRun(point, p.text, font, size);
            } else {
                QPointF at(point.x(), point.y() + (p.shift == Shift::Sup ? -raise : drop));
                d.drawTextRun(at, p.text, font, scriptSize);
                point.setX(at.x());
            }
            break;
        case Piece::FontToggle:
            inSymbolFont = !inSymbolFont;
            break;
        case Piece::Symbol:
            // drawSymbol turns plot y over itself; under the rotation this stays right,
            // since the painter's transform applies to whatever it draws.
            d.drawSymbol(static_cast<int>(std::clamp(point.x(), -band, band)),
                d.deviceHeight() - static_cast<int>(point.y()) + symbolRaise, p.symbol);
            break;
        }
    }
    painter->setWorldTransform(saved);
    d.setScreenFont(d.textFont(), size);
}

} // namespace

const char *RxDraw::fontName(int index)
{
    return index >= 0 && index < numFonts ? fontNames[index] : nullptr;
}

// An index outside the font table leaves the text font as it is.
void RxDraw::setTextFont(int index)
{
    if (fontName(index))
        m_textFont = index;
}

QByteArray RxDraw::escapeText(const QByteArray &text) const
{
    QByteArray out;
    out.reserve(text.size() + text.size() / 8 + 4);
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '(' || c == ')' || c == '[' || c == ']' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u >= 0x7f) {
            out += '\\';
            out += static_cast<char>('0' + (u >> 6));
            out += static_cast<char>('0' + ((u >> 3) & 7));
            out += static_cast<char>('0' + (u & 7));
        } else {
            out += c;
        }
    }
    return out;
}

int RxDraw::textLength(const QByteArray &text, int angle) const
{
    if (m_state == PainterState && normalAngle(angle) == 90)
        return readMarkup(text).unscriptedLength;
    int n = 0;
    for (const char c : text) {
        if (c != '{' && c != '}' && c != '^' && c != '_' && c != '$')
            ++n;
    }
    return n;
}

// A size that is not positive, or an angle that is not a multiple of 90, draws nothing.
void RxDraw::drawText(int x, int y, const QByteArray &text, int angle, float size)
{
    if (text.isEmpty() || !usableSize(size, &size))
        return;
    if (m_state == PostScriptState)
        drawPostScriptText(x, y, text, angle, size);
    else if (m_state == PainterState)
        drawPainterText(x, y, text, angle, size);
}

void RxDraw::drawPostScriptText(int x, int y, const QByteArray &text, int angle, float size)
{
    writePostScriptPieces(*this, x, y, readMarkup(text).pieces, angle, size);
}

void RxDraw::drawPainterText(int x, int y, const QByteArray &text, int angle, float size)
{
    paintPieces(*this, x, y, readMarkup(text).pieces, angle, size);
}

// Printable ASCII only: bytes above it stand for different letters in PostScript's
// standard encoding and on the painter. As with any marker, the text font stays 2
// afterwards.
void RxDraw::drawMarker(int x, int y, int character, float size)
{
    if (character < 0x20 || character > 0x7e || !usableSize(size, &size))
        return;
    setTextFont(markerFont);
    const std::vector<Piece> pieces {
        {Piece::Run, QByteArray(1, static_cast<char>(character)), Shift::None, 0}};
    if (m_state == PostScriptState)
        writePostScriptPieces(*this, x, y, pieces, 0, size);
    else if (m_state == PainterState)
        paintPieces(*this, x, y, pieces, 0, size);
}

void RxDraw::setScreenFont(int fontIndex, float size)
{
    if (m_state != PainterState || !m_painter)
        return;
    m_painter->setFont(screenFont(fontName(fontIndex) ? fontIndex : m_textFont, size));
}

void RxDraw::drawTextRun(QPointF &point, const QByteArray &text, int fontIndex, float size)
{
    if (m_state != PainterState || !m_painter)
        return;
    if (!fontName(fontIndex))
        fontIndex = m_textFont;
    setScreenFont(fontIndex, size);
    const QString shown
        = fontIndex == symbolFont ? symbolText(text, m_painter->font()) : QString::fromLatin1(text);
    m_painter->drawText(point, shown);
    point.rx() += QFontMetricsF(m_painter->font(), m_painter->device()).horizontalAdvance(shown);
}

void RxDraw::drawComments(const RxComments &comments)
{
    if (m_plotDefs.plotComments() != 1)
        return;
    for (int i = 0; i < comments.numComments(); ++i) {
        const QByteArray text = comments.text(i);
        if (text.isEmpty())
            continue;
        int x = 0;
        int y = 0;
        if (comments.locType(i) == 1) {
            if (!mapPoint(comments.x(i), comments.y(i), &x, &y))
                continue;
        } else {
            // Page cells: x 14 to 81 spans the plot area left to right, y 0 to 20 top to
            // bottom.
            const double cx
                = m_left + (static_cast<double>(comments.x(i)) - 14.0) * (m_right - m_left) / 67.0;
            const double cy
                = m_bottom + (1.0 - 0.05 * static_cast<double>(comments.y(i))) * (m_top - m_bottom);
            if (!std::isfinite(cx) || !std::isfinite(cy))
                continue;
            x = static_cast<int>(std::clamp(cx, static_cast<double>(m_left - deviceBand),
                static_cast<double>(m_right + deviceBand)));
            y = static_cast<int>(std::clamp(cy, static_cast<double>(m_bottom - deviceBand),
                static_cast<double>(m_top + deviceBand)));
        }
        setTextFont(comments.font(i));
        setColor(comments.color(i));
        drawText(x, y, text, 0, comments.fontSize(i));
    }
}
