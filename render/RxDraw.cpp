#include "render/RxDraw.h"

#include "model/RxFatal.h"
#include "model/RxNumberText.h"

#include <QIODevice>
#include <QPainter>
#include <QVarLengthArray>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <utility>

namespace {

// The output is written in large pieces rather than a line at a time.
constexpr qsizetype flushSize = qsizetype(1) << 20;

// Beyond this many nested outlines a solid painter symbol is already far larger than the
// plot; the outlines inside would only cost time.
constexpr int maxOutlines = 4000;

constexpr double pi = 3.14159265358979323846;

// A device unit is a tiny distance; this absorbs rounding in the clipping arithmetic.
constexpr double clipTolerance = 1e-3;

// Truncation toward zero that cannot overflow: values beyond the int range saturate and
// NaN gives 0.
int truncToInt(double v)
{
    if (!(v == v))
        return 0;
    if (v <= static_cast<double>(INT_MIN))
        return INT_MIN;
    if (v >= static_cast<double>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(v);
}

int saturate(qint64 v)
{
    return v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : static_cast<int>(v);
}

double clampTo(double v, double low, double high)
{
    return v < low ? low : v > high ? high : v;
}

// A dash value printed as 0 makes a dash array of zeros, which PostScript refuses, and an
// infinite one is not a number at all; pattern lengths are kept where every value prints.
float usablePatternLength(float p)
{
    if (!(p == p))
        return 4.0f;
    return static_cast<float>(clampTo(p, 1e-4, 1e30));
}

void appendPoint(QByteArray &line, int x, int y)
{
    rxAppendInt(line, x);
    line.append(' ');
    rxAppendInt(line, y);
}

// Symbols 1 to 4 are the square, circle, triangle and cone, 5 to 8 their solid forms, and
// 9 and above the cross: the shape is 1 to 4, or 9.
int shapeOf(int symbol)
{
    return symbol > 8 ? 9 : symbol > 4 ? symbol - 4 : symbol;
}

const char *shapeName(int shape)
{
    switch (shape) {
    case 1:
        return " square ";
    case 2:
        return " circle ";
    case 3:
        return " triangle ";
    case 4:
        return " cone ";
    default:
        return " cross ";
    }
}

// The outline of painter symbol shape 1 (square) ... 4 (cone) or 9 (cross) of size s
// at (x, y) into p, which has room for 25 points; the count is returned. The cross is two
// segments, points 0-1 and 2-3.
int symbolOutline(int shape, int x, int y, qint64 s, QPoint *p)
{
    const qint64 h = s / 2;
    const auto at = [x, y](qint64 dx, qint64 dy) {
        return QPoint(
            truncToInt(static_cast<double>(x + dx)), truncToInt(static_cast<double>(y + dy)));
    };
    switch (shape) {
    case 1:
        p[0] = p[4] = at(-h, -h);
        p[1] = at(h, -h);
        p[2] = at(h, h);
        p[3] = at(-h, h);
        return 5;
    case 2:
        for (int k = 0; k < 25; ++k) {
            const double a = k * 15 * pi / 180;
            p[k] = QPoint(truncToInt(x + static_cast<double>(h) * std::cos(a)),
                truncToInt(y + static_cast<double>(h) * std::sin(a)));
        }
        return 25;
    case 3:
    case 4: {
        // The cone is the triangle upside down.
        const qint64 d = shape == 3 ? 1 : -1;
        const qint64 w = 577 * s / 1000;
        p[0] = p[4] = at(0, -d * (s / 3));
        p[1] = at(w, -d * (s / 3));
        p[2] = at(0, d * (2 * s / 3));
        p[3] = at(-w, -d * (s / 3));
        return 5;
    }
    default:
        p[0] = at(-h, -h);
        p[1] = at(h, h);
        p[2] = at(-h, h);
        p[3] = at(h, -h);
        return 4;
    }
}

// Whole blank-separated words are compared: "/Helvetica" is part of "/Helvetica-Bold" but
// names another font.
bool containsWord(const QByteArray &list, QByteArrayView word)
{
    for (qsizetype at = list.indexOf(word); at >= 0; at = list.indexOf(word, at + 1)) {
        const qsizetype end = at + word.size();
        if ((at == 0 || list[at - 1] == ' ') && (end == list.size() || list[end] == ' '))
            return true;
    }
    return false;
}

struct ClipPoint
{
    double x;
    double y;
};

struct ClipArea
{
    double left, right, bottom, top;

    bool contains(const ClipPoint &p, double tolerance = 0) const
    {
        return p.x >= left - tolerance && p.x <= right + tolerance && p.y >= bottom - tolerance
            && p.y <= top + tolerance;
    }
};

// Moves p along the line through p and q onto the area's edge: the coordinate along which
// the segment runs faster is brought onto the area first, the other follows on the line,
// and when that one falls outside in its turn the roles change. False when p was inside.
bool moveOntoArea(ClipPoint &p, const ClipPoint &q, const ClipArea &a)
{
    if (a.contains(p))
        return false;
    const double dx = q.x - p.x;
    const double dy = q.y - p.y;
    if (dx == 0 && dy == 0)
        return true;
    ClipPoint r = p;
    if (std::fabs(dx) > std::fabs(dy)) {
        const double m = dy / dx;
        const double c = p.y - m * p.x;
        r.x = clampTo(p.x, a.left, a.right);
        r.y = m * r.x + c;
        if (r.y < a.bottom || r.y > a.top) {
            r.y = clampTo(r.y, a.bottom, a.top);
            if (m != 0)
                r.x = (r.y - c) / m;
        }
    } else {
        const double m = dx / dy;
        const double c = p.x - m * p.y;
        r.y = clampTo(p.y, a.bottom, a.top);
        r.x = m * r.y + c;
        if (r.x < a.left || r.x > a.right) {
            r.x = clampTo(r.x, a.left, a.right);
            if (m != 0)
                r.y = (r.x - c) / m;
        }
    }
    p = r;
    return true;
}

bool between(double v, double a, double b)
{
    return std::fabs(v - a) + std::fabs(v - b) <= std::fabs(b - a) + clipTolerance;
}

// The lowest and the highest of run[from] ... run[to - 1] (from < to), the first of equals.
std::pair<int, int> lowestAndHighest(const QPoint *run, int from, int to)
{
    int low = from;
    int high = from;
    for (int i = from + 1; i < to; ++i) {
        if (run[i].y() < run[low].y())
            low = i;
        if (run[i].y() > run[high].y())
            high = i;
    }
    return {low, high};
}

// Copies the points of a polyline to out with each run of points of one x (one device
// column) passed through keep(run, k, out), which writes what stays of the k points and
// returns their count. The count of all is returned.
template <typename Keep> int reduceColumnRuns(const QPoint *in, int n, QPoint *out, Keep keep)
{
    int count = 0;
    int begin = 0;
    while (begin < n) {
        int end = begin + 1;
        while (end < n && in[end].x() == in[begin].x())
            ++end;
        count += keep(in + begin, end - begin, out + count);
        begin = end;
    }
    return count;
}

// Keeps a run's first, lowest, highest and last point, in path order. With a one-pixel solid
// pen the column's pixels are the span between the lowest and highest point either way.
int thinRun(const QPoint *run, int k, QPoint *out)
{
    const auto [low, high] = lowestAndHighest(run, 0, k);
    const int keep[4] = {0, std::min(low, high), std::max(low, high), k - 1};
    int count = 0;
    for (int i = 0; i < 4; ++i) {
        if (i == 0 || keep[i] != keep[i - 1])
            out[count++] = run[keep[i]];
    }
    return count;
}

// The stroke of a run of points in one column, drawn solid with round joins, is the stadium
// between the run's lowest and highest point: every segment lies on the column and every
// point gets a round join. Inside the run all but the lowest and the highest point may go.
// The run's first two and last two points stay, because the joins where the run meets the
// neighbouring columns (or the caps of a path that starts or ends there) are drawn along
// the segments next to them. A repeated point is a segment of no length and gives a join
// no direction, so those two are the first and last two distinct points. Runs whose
// inside holds at most two points are copied as they are.
int reduceRun(const QPoint *run, int k, QPoint *out)
{
    int head = 1;
    while (head < k && run[head] == run[0])
        ++head;
    int tail = k - 2;
    while (tail >= 0 && run[tail] == run[k - 1])
        --tail;
    if (tail - head - 1 <= 2) {
        std::copy(run, run + k, out);
        return k;
    }
    const auto [low, high] = lowestAndHighest(run, head + 1, tail);
    int count = 0;
    for (int i = 0; i <= head; ++i)
        out[count++] = run[i];
    if (run[low].y() == run[high].y()) {
        out[count++] = run[low];
    } else {
        out[count++] = run[std::min(low, high)];
        out[count++] = run[std::max(low, high)];
    }
    for (int i = tail; i < k; ++i)
        out[count++] = run[i];
    return count;
}

} // namespace

RxDraw::RxDraw() = default;

RxDraw::~RxDraw() = default;

int RxDraw::beginScreen(
    QPainter *painter, int width, int height, const RxPlotDefs &defs, const RxScale &scale)
{
    if (m_state == PostScriptState)
        return 0;
    // Room for the y-axis numbers, which grow with the font.
    m_left = truncToInt(clampTo(static_cast<double>(defs.fontSize()) * 95, 0, deviceBand));
    m_right = truncToInt(static_cast<double>(width) - 10);
    m_bottom = 40;
    m_top = truncToInt(static_cast<double>(height) - 10);
    m_printer = false;
    return beginPainter(painter, height, defs, scale);
}

int RxDraw::beginPrinter(
    QPainter *painter, int pageWidth, int pageHeight, const RxPlotDefs &defs, const RxScale &scale)
{
    if (m_state == PostScriptState)
        return 0;
    const float xSize = defs.xPlotSize();
    const float ySize = defs.yPlotSize();
    if (!(xSize > 0) || !(ySize > 0) || !std::isfinite(xSize) || !std::isfinite(ySize))
        return 0;
    // Points: 72 to the inch, the plot centred on the page.
    const double width = static_cast<double>(xSize) * 72;
    const double height = static_cast<double>(ySize) * 72;
    if (width >= static_cast<double>(INT_MAX) || height >= static_cast<double>(INT_MAX))
        return 0;
    const qint64 left = (qint64(pageWidth) - static_cast<qint64>(width)) / 2;
    const qint64 bottom = (qint64(pageHeight) - static_cast<qint64>(height)) / 2;
    const double right = std::trunc(static_cast<double>(left) + width);
    const double top = std::trunc(static_cast<double>(bottom) + height);
    const auto inIntRange = [](double v) {
        return v >= static_cast<double>(INT_MIN) && v <= static_cast<double>(INT_MAX);
    };
    if (!inIntRange(static_cast<double>(left)) || !inIntRange(static_cast<double>(bottom))
        || !inIntRange(right) || !inIntRange(top))
        return 0;
    m_left = static_cast<int>(left);
    m_bottom = static_cast<int>(bottom);
    m_right = static_cast<int>(right);
    m_top = static_cast<int>(top);
    m_printer = true;
    return beginPainter(painter, pageHeight, defs, scale);
}

int RxDraw::beginPainter(
    QPainter *painter, int deviceHeight, const RxPlotDefs &defs, const RxScale &scale)
{
    m_state = PainterState;
    m_painter = painter;
    m_output = nullptr;
    m_deviceHeight = deviceHeight;
    // The painter draws the plot upright; only PostScript turns the page.
    m_plotDefs = defs;
    m_plotDefs.setRotatePlot(0);
    copyWindow(scale);
    m_textFont = 2;
    m_pen = QPen(QColor(Qt::black), 2, Qt::SolidLine);
    applyPen();
    return 1;
}

void RxDraw::copyWindow(const RxScale &scale)
{
    m_scale = scale;
    m_xmax = scale.xmax();
    m_xmin = scale.xmin();
    m_ymax = scale.ymax();
    m_ymin = scale.ymin();
    m_xMap = axisMap(m_xmin, m_xmax, scale.xLog() == 1, m_left, m_right);
    m_yMap = axisMap(m_ymin, m_ymax, scale.yLog() == 1, m_bottom, m_top);
}

void RxDraw::applyPen()
{
    if (m_painter)
        m_painter->setPen(m_pen);
}

void RxDraw::end()
{
    if (m_state != PostScriptState || !m_output)
        return;
    writeTrailer();
    flushOutput();
    // The caller closes the file after this; nothing more may reach it.
    m_output = nullptr;
}

void RxDraw::writeLine(const QByteArray &text)
{
    if (m_state != PostScriptState || !m_output)
        return;
    m_pending.append(text);
    m_pending.append('\n');
    if (m_pending.size() > flushSize)
        flushOutput();
}

void RxDraw::flushOutput()
{
    if (m_pending.isEmpty())
        return;
    if (!m_output || m_output->write(m_pending) != m_pending.size())
        m_outputFailed = true;
    // Keeps the capacity for the next lines.
    m_pending.resize(0);
}

void RxDraw::drawPolyline(int n, const QPoint *points)
{
    if (n < 1 || !points)
        return;
    if (m_state == PostScriptState) {
        if (!m_output)
            return;
        QVarLengthArray<QPoint, 256> reduced;
        if (m_solidDash && m_plotDefs.psJoin() == 1) {
            reduced.resize(n);
            n = reduceColumnRuns(points, n, reduced.data(), reduceRun);
            points = reduced.data();
        }
        // The lines go straight to the pending output, as writeLine would send them: a large
        // curve is millions of them.
        char line[2 * rxNumberRoom + 16];
        for (int i = 0; i < n; ++i) {
            int x = points[i].x();
            int y = points[i].y();
            transformPoint(x, y);
            char *p = line;
            if (i == 0) {
                std::memcpy(p, " n ", 3);
                p += 3;
            }
            p = rxWriteInt(p, x);
            *p++ = ' ';
            p = rxWriteInt(p, y);
            std::memcpy(p, i == 0 ? " m \n" : " l \n", 4);
            m_pending.append(line, p + 4 - line);
            if (m_pending.size() > flushSize)
                flushOutput();
        }
        writeLine(QByteArrayLiteral(" s "));
        return;
    }
    if (m_state != PainterState || !m_painter)
        return;
    // Thinned first, so that only the points kept are turned over: the painter's y grows
    // downwards, the plot's upwards. Turning keeps a column's lowest and highest point.
    QVarLengthArray<QPoint, 256> device(n);
    int count = n;
    if (n > 4 && thinsColumns())
        count = reduceColumnRuns(points, n, device.data(), thinRun);
    else
        std::copy(points, points + n, device.data());
    for (int i = 0; i < count; ++i)
        device[i].ry() = saturate(qint64(m_deviceHeight) - device[i].y());
    m_painter->drawPolyline(device.data(), count);
}

bool RxDraw::thinsColumns() const
{
    return m_state == PainterState && m_painter && m_pen.style() == Qt::SolidLine
        && m_pen.widthF() <= 1 && !m_painter->testRenderHint(QPainter::Antialiasing)
        && m_painter->transform().type() <= QTransform::TxTranslate;
}

void RxDraw::setLineType(int type, float patternLength)
{
    if (m_state == PostScriptState) {
        const float p = usablePatternLength(patternLength);
        QByteArray line;
        // The products are single precision, as the pattern length is.
        const auto dash = [&line, p](std::initializer_list<float> factors) {
            for (float f : factors) {
                rxAppendF(line, static_cast<double>(f * p));
                line.append(' ');
            }
        };
        switch (type) {
        case 1:
            line.append(" [ 3 ");
            dash({49});
            line.append("] 0 setdash 1 setlinecap ");
            break;
        case 2:
            line.append(" [ ");
            dash({50});
            line.append("] 0 setdash ");
            break;
        case 3:
            line.append(" [ ");
            dash({69, 10, 10, 10});
            line.append("] 0 setdash 0 setlinecap ");
            break;
        case 4:
            line.append(" [ ");
            dash({40, 10, 10, 10, 10, 10});
            line.append("] 0 setdash 0 setlinecap ");
            break;
        default:
            // Types below 0 are drawn solid, as on the painter.
            if (type >= 5) {
                line.append(" [ ");
                dash({75, 25});
                line.append("] 0 setdash ");
            } else {
                line.append(" [ ] 0 setdash 0 setlinecap ");
            }
            break;
        }
        m_solidDash = type <= 0;
        writeLine(line);
        return;
    }
    if (m_state != PainterState)
        return;
    static const Qt::PenStyle styles[]
        = {Qt::SolidLine, Qt::DotLine, Qt::DashLine, Qt::DashDotLine, Qt::DashDotDotLine};
    m_pen.setStyle(type < 0 ? Qt::SolidLine : styles[type > 4 ? 4 : type]);
    applyPen();
}

void RxDraw::addDocumentFont(int fontIndex)
{
    if (m_state != PostScriptState)
        return;
    const char *name = fontName(fontIndex);
    if (!name)
        return;
    if (containsWord(m_fontList, name))
        return;
    rxGuardMemory("out of memory in rxdraw\n", [&] {
        if (!m_fontList.isEmpty())
            m_fontList.append(' ');
        m_fontList.append(name);
    });
}

void RxDraw::setLineWidth(int widthIndex)
{
    const int index = widthIndex < 0 ? 0 : widthIndex > 5 ? 5 : widthIndex;
    if (m_state == PostScriptState) {
        // 1/1016 inch.
        static const char *const lines[]
            = {" 3 setlinewidth 0 setlinecap ", " 6 setlinewidth 0 setlinecap ",
                " 12 setlinewidth 0 setlinecap ", " 18 setlinewidth 0 setlinecap ",
                " 28 setlinewidth 2 setlinecap ", " 36 setlinewidth 0 setlinecap "};
        writeLine(QByteArray(lines[index]));
        return;
    }
    if (m_state != PainterState)
        return;
    if (m_printer) {
        // The printer's unit is the point, which a pen takes as it is: four times the screen
        // widths would print 4 to 16 point lines and bury a grid. The paper gets the widths
        // the PostScript output has, 3 to 36 units of 1/1016 inch.
        static const int postScriptWidths[] = {3, 6, 12, 18, 28, 36};
        m_pen.setWidthF(postScriptWidths[index] * 72.0 / 1016.0);
    } else {
        static const int widths[] = {0, 1, 1, 2, 3, 4};
        m_pen.setWidth(widths[index]);
    }
    applyPen();
}

void RxDraw::drawSymbol(int x, int y, int symbol)
{
    if (symbol < 1)
        return;
    if (m_state == PostScriptState) {
        transformPoint(x, y);
        writeLine(QByteArrayLiteral(" currentdash pop /t2 exch def [ ] 0 setdash "));
        QByteArray line(" n ");
        appendPoint(line, x, y);
        line.append(' ');
        line.append(shapeName(shapeOf(symbol)));
        line.append(symbol >= 5 && symbol <= 8 ? " fill " : " s ");
        writeLine(line);
        writeLine(QByteArrayLiteral(" t2 0 setdash "));
        return;
    }
    if (m_state != PainterState || !m_painter)
        return;

    const double size = static_cast<double>(m_plotDefs.symbolSize())
        * (static_cast<double>(m_right) - m_left) * 0.02;
    // Symbols are solid in PostScript whatever the curve's dash; the screen agrees.
    const Qt::PenStyle style = m_pen.style();
    if (style != Qt::SolidLine) {
        m_pen.setStyle(Qt::SolidLine);
        applyPen();
    }
    const int shape = shapeOf(symbol);
    const auto outline = [&](double s) {
        QPoint p[25];
        const int n = symbolOutline(shape, x, y, static_cast<qint64>(clampTo(s, 0, deviceBand)), p);
        // The painter draws nothing for a line of no length, which would leave a hole in
        // the middle of a solid symbol.
        if (std::all_of(p, p + n, [&p](const QPoint &q) { return q == p[0]; })) {
            const qint64 flipped = qint64(m_deviceHeight) - p[0].y();
            m_painter->drawPoint(QPoint(p[0].x(), saturate(flipped)));
        } else if (shape == 9) {
            drawPolyline(2, p);
            drawPolyline(2, p + 2);
        } else {
            drawPolyline(n, p);
        }
    };
    if (symbol <= 4) {
        outline(size);
    } else {
        // The painter fills a solid symbol with ever smaller outlines.
        int count = 0;
        for (double s = size; s >= 1 && count < maxOutlines; s -= 1, ++count)
            outline(s);
    }
    if (style != Qt::SolidLine) {
        m_pen.setStyle(style);
        applyPen();
    }
}

QColor RxDraw::colorOf(int index)
{
    static const QColor colors[8]
        = {QColor(0, 0, 0), QColor(0, 0, 255), QColor(0, 255, 0), QColor(255, 0, 0),
            QColor(0, 255, 255), QColor(255, 0, 255), QColor(139, 69, 19), QColor(255, 255, 255)};
    // Above 7 the indexes wrap round to 1 ... 7, never to black: 8 is blue, 14 white.
    if (index > 7)
        index = (index - 1) % 7 + 1;
    // Below 0 there is no colour; black is the plain choice.
    return colors[index < 0 ? 0 : index];
}

void RxDraw::setColor(int colorIndex)
{
    const QColor color = colorOf(colorIndex);
    if (m_state == PostScriptState) {
        if (color == colorOf(0)) {
            writeLine(QByteArrayLiteral(" 0 setgray "));
            return;
        }
        QByteArray line(" ");
        for (int c : {color.red(), color.green(), color.blue()}) {
            rxAppendF(line, c / 255.0);
            line.append(' ');
        }
        line.append("setrgbcolor ");
        writeLine(line);
        return;
    }
    if (m_state != PainterState)
        return;
    m_pen.setColor(color);
    applyPen();
}

void RxDraw::transformPoint(int &x, int &y) const
{
    if (m_state != PostScriptState || m_plotDefs.rotatePlot() != 1)
        return;
    const qint64 turned = 10300 - qint64(y);
    y = x;
    x = saturate(turned);
}

RxDraw::AxisMap RxDraw::axisMap(double min, double max, bool log, int low, int high)
{
    AxisMap m;
    m.log = log;
    if (log) {
        min = std::log(min);
        max = std::log(max);
    }
    m.min = min;
    m.span = max - min;
    m.low = low;
    m.range = static_cast<double>(high) - low;
    const double inner = low < high ? low : high;
    const double outer = low < high ? high : low;
    m.lowest = std::max(inner - deviceBand, static_cast<double>(INT_MIN));
    m.highest = std::min(outer + deviceBand, static_cast<double>(INT_MAX));
    return m;
}

int RxDraw::clipCrossing(int &x1, int &y1, int &x2, int &y2) const
{
    const ClipArea area {static_cast<double>(m_left), static_cast<double>(m_right),
        static_cast<double>(m_bottom), static_cast<double>(m_top)};
    const ClipPoint first {static_cast<double>(x1), static_cast<double>(y1)};
    ClipPoint second {static_cast<double>(x2), static_cast<double>(y2)};
    ClipPoint p = first;
    if (moveOntoArea(p, second, area)) {
        if (!area.contains(p, clipTolerance) || !between(p.x, first.x, second.x)
            || !between(p.y, first.y, second.y))
            return 1;
    }
    const bool secondMoved = moveOntoArea(second, p, area);
    // Rounding may leave a moved end a hair outside; it belongs on the edge.
    const auto store = [&area](const ClipPoint &q, int &x, int &y) {
        x = truncToInt(clampTo(q.x, area.left, area.right));
        y = truncToInt(clampTo(q.y, area.bottom, area.top));
    };
    if (p.x != first.x || p.y != first.y)
        store(p, x1, y1);
    if (secondMoved)
        store(second, x2, y2);
    return secondMoved ? -1 : 0;
}

QByteArray RxDraw::formatNumber(float v)
{
    QByteArray text;
    rxAppendG(text, static_cast<double>(v), 4);
    return text;
}
