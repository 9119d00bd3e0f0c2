#include "render/RxDraw.h"

#include "model/RxCurve.h"

#include <QPoint>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

// The arrowhead's half opening, 25 degrees.
constexpr double halfAngle = 0.43633196;
constexpr double halfPi = 1.57079632679489661923;
// A filled head is drawn as nested outlines about half a device unit apart; a head many
// thousand units long gets fewer, wider spaced ones, which still cover it on any output.
constexpr int maxHeadOutlines = 4096;

// Colour indexes above 7 wrap round by 7. The wrap is made here in a wider type, so that a
// point type or a selection offset near the int limits still names the colour it means.
int colourIndex(long long v)
{
    if (v > 7)
        return static_cast<int>((v - 1) % 7 + 1);
    return static_cast<int>(std::max<long long>(v, INT_MIN));
}

// The colour index in force at point i: the curve's own, until a "new line" point (type 0
// or below) after the first sets another. A selection drawn from i on starts from it, so
// that it differs from the colour the whole curve is drawn in there.
long long colourAt(const RxCurve &curve, int i)
{
    for (int k = i; k > 0; --k) {
        const int type = curve.pointType(k);
        if (type <= 0)
            return -static_cast<long long>(type);
    }
    return curve.color();
}

// Arrowhead corners are computed from lengths that have no upper bound.
int truncInBand(double v, int low, int high)
{
    const double lowest = static_cast<double>(low) - RxDraw::deviceBand;
    const double highest = static_cast<double>(high) + RxDraw::deviceBand;
    if (!(v >= lowest))
        return static_cast<int>(lowest);
    return static_cast<int>(std::min(v, highest));
}

// Line points gather here and go out as one polyline, which keeps a dash pattern running
// across the joins.
class PolylineBuffer
{
public:
    PolylineBuffer(RxDraw &draw, int capacity)
        : m_draw(draw)
        , m_points(capacity)
    { }
    bool empty() const { return m_count == 0; }
    bool full() const { return m_count == m_points.size(); }
    void add(QPoint p) { m_points[m_count++] = p; }
    void flush()
    {
        if (m_count > 0)
            m_draw.drawPolyline(static_cast<int>(m_count), m_points.data());
        m_count = 0;
    }

private:
    RxDraw &m_draw;
    QVarLengthArray<QPoint, 99> m_points;
    qsizetype m_count = 0;
};

} // namespace

void RxDraw::drawCurve(const RxCurve &curve, int from, int to, int colourOffset)
{
    if (m_plotDefs.plotCurves() != 1)
        return;
    const int n = curve.numPoints();
    int first = from;
    int last = to;
    if (from == -1) {
        first = 0;
        last = n - 1;
    } else if (from == -2) {
        if (isPostScript() || to < 0 || to >= n)
            return;
    } else if (from == -3) {
        first = n - 2;
        last = n - 1;
    } else if (from < 0 || from >= to || to >= n) {
        return;
    }
    if (from != -2 && (first < 0 || last < first))
        return;

    setColor(colourIndex(colourAt(curve, from == -2 ? to : first) + colourOffset));
    setLineType(curve.lineType(), curve.patternLength());
    setLineWidth(curve.lineWidth());

    if (from == -2) {
        int x = 0;
        int y = 0;
        if (mapPoint(curve.x(to), curve.y(to), &x, &y))
            drawSymbol(x, y, 2);
        return;
    }

    // A point that cannot be placed (not a number, or 0 or below on a logarithmic axis)
    // leaves no previous point: the line breaks there.
    const AxisMap xMap = m_xMap;
    const AxisMap yMap = m_yMap;
    QPoint previous;
    bool hasPrevious
        = mapPoint(xMap, yMap, curve.x(first), curve.y(first), &previous.rx(), &previous.ry());
    // Polylines of 99 points keep PostScript paths short. Where the painter thins the points
    // of each device column anyway, a dense curve goes out in long polylines instead: a
    // million points take some sixty painter calls rather than ten thousand.
    const bool thin = thinsColumns();
    PolylineBuffer buffer(*this, thin ? 16384 : 99);
    for (int i = first + 1; i <= last; ++i) {
        const int type = curve.pointType(i);
        QPoint point;
        const bool placed = mapPoint(xMap, yMap, curve.x(i), curve.y(i), &point.rx(), &point.ry());
        if (type == PointLine) {
            if (!placed || !hasPrevious) {
                if (!placed)
                    buffer.flush();
                previous = point;
                hasPrevious = placed;
                continue;
            }
            // A repeated point adds nothing to the line. The thinning drops it too, so the thin
            // path is spared a test that the noise of a dense curve makes unpredictable.
            if (!thin && point == previous)
                continue;
            QPoint start = previous;
            QPoint end = point;
            const int result = clipSegment(start.rx(), start.ry(), end.rx(), end.ry());
            if (result == 1) {
                buffer.flush();
            } else {
                if (buffer.empty())
                    buffer.add(start);
                buffer.add(end);
                if (result == -1 || buffer.full())
                    buffer.flush();
            }
            previous = point;
            continue;
        }

        buffer.flush();
        const QPoint tail = previous;
        const bool hasTail = hasPrevious;
        previous = point;
        hasPrevious = placed;
        if (type <= 0) {
            // The offset holds across the colour change, or a selection would vanish into
            // the curve drawn under it from here on.
            setColor(colourIndex(-static_cast<long long>(type) + colourOffset));
            continue;
        }
        if (!placed || isOutside(point.x(), point.y()))
            continue;
        if (type >= 32) {
            setTextFont(2);
            drawMarker(point.x(), point.y(), type, m_plotDefs.fontSize());
        } else if (type - 1 < 10) {
            drawSymbol(point.x(), point.y(), type - 1);
        } else if ((type == PointArrowLine || type == PointSolidArrowLine) && hasTail) {
            drawArrow(curve, i, point, tail, type == PointSolidArrowLine);
        }
    }
    buffer.flush();
}

void RxDraw::drawArrow(const RxCurve &curve, int i, QPoint tip, QPoint tail, bool filled)
{
    // The direction comes from the data, scaled linearly even on logarithmic axes.
    const double width = std::abs(static_cast<double>(m_right) - m_left);
    const double height = std::abs(static_cast<double>(m_top) - m_bottom);
    const double xRange = std::fabs(static_cast<double>(m_xmax) - m_xmin);
    const double yRange = std::fabs(static_cast<double>(m_ymax) - m_ymin);
    const double dx = (static_cast<double>(curve.x(i)) - curve.x(i - 1)) * width / xRange;
    const double dy = (static_cast<double>(curve.y(i)) - curve.y(i - 1)) * height / yRange;

    const QPoint shaft[2] = {tail, tip};
    drawPolyline(2, shaft);

    double length = 0.0;
    const float arrowSize = m_plotDefs.arrowSize();
    if (arrowSize == 0.0f) {
        const double shaftLength = std::hypot(
            static_cast<double>(tip.x()) - tail.x(), static_cast<double>(tip.y()) - tail.y());
        length = m_plotDefs.fontSize() * shaftLength * 0.2;
    } else {
        length = arrowSize * (static_cast<double>(m_right) - m_left) / 30.0;
    }
    // Far beyond any plot, but finite, so that the corners stay numbers.
    length = std::isnan(length) ? 1.0 : std::clamp(length, 1.0, 1.0e12);

    double a = 0.0;
    if (dx == 0.0)
        a = dy >= 0.0 ? halfPi : -halfPi;
    else
        a = std::atan(dy / dx) + (dx < 0.0 ? 3.14159 : 0.0);
    if (!std::isfinite(a))
        a = 0.0;

    const auto corner = [&](double r, double angle) {
        return QPoint(truncInBand(tip.x() - r * std::cos(angle), m_left, m_right),
            truncInBand(tip.y() - r * std::sin(angle), m_bottom, m_top));
    };
    const QPoint p1 = corner(length, a + halfAngle);
    const QPoint head[4] = {p1, tip, corner(length, a - halfAngle), p1};
    drawPolyline(4, head);
    if (!filled)
        return;

    const double step = std::max(halfAngle / length * 0.5, halfAngle / maxHeadOutlines);
    for (int k = 1; k <= maxHeadOutlines; ++k) {
        const double phi = halfAngle - k * step;
        if (!(phi > 0.0))
            break;
        const double r = length * phi / halfAngle;
        const QPoint q1 = corner(r, a + phi);
        const QPoint q2 = corner(r, a - phi);
        const QPoint side[2] = {q1, tip};
        const QPoint rest[3] = {tip, q2, q1};
        drawPolyline(2, side);
        drawPolyline(3, rest);
    }
}
