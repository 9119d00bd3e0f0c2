#include "render/RxDraw.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

// Successive grid lines are drawn in opposite directions, which saves the pen travel back
// across the plot; the direction carries over from one drawing to the next.
bool s_gridReversed = false;

// A run of linear ticks, or all the candidates of a logarithmic axis, stops here, so that
// a step tiny against its range cannot keep the drawing busy.
constexpr int maxTicks = 1001;
// The candidates a linear run meets besides the ticks it draws: the start (up to two steps
// before the window) and the value that ends the run.
constexpr int linearRunSlack = 3;

constexpr int sideLeft = 1;
constexpr int sideBottom = 2;
constexpr int sideRight = 3;
constexpr int sideTop = 4;
constexpr int sideZeroY = 7;
constexpr int sideZeroX = 8;

bool carriesX(int side)
{
    return side == sideBottom || side == sideTop || side == sideZeroY;
}

bool straddlesZero(float a, float b)
{
    return (a < 0.0f && b > 0.0f) || (a > 0.0f && b < 0.0f);
}

// The label formulas scale with the font size, which has no upper bound.
int truncClamped(double v)
{
    const double limit = 4.0 * RxDraw::deviceBand;
    if (!(v > -limit))
        return -static_cast<int>(limit);
    return static_cast<int>(std::min(v, limit));
}

} // namespace

void RxDraw::drawAxes()
{
    if (m_plotDefs.plotAxes() != 1)
        return;
    const int colour = m_plotDefs.axesColor();
    setColor(colour);
    setLineType(0, 4.0f);
    setLineWidth(4);
    const QPoint frame[4][2] = {
        {{m_left, m_bottom}, {m_right, m_bottom}},
        {{m_right, m_bottom}, {m_right, m_top}},
        {{m_right, m_top}, {m_left, m_top}},
        {{m_left, m_top}, {m_left, m_bottom}},
    };
    for (const auto &edge : frame)
        drawPolyline(2, edge);

    setColor(colour);
    setTextFont(m_plotDefs.axesFont());
    setLineWidth(2);
    setLineType(0, 4.0f);
    if (isPostScript())
        drawAxisLabels();
    else
        drawPainterAxisLabels();

    const bool zeroY = straddlesZero(m_ymin, m_ymax) && m_scale.yzero() == 1;
    const bool zeroX = straddlesZero(m_xmin, m_xmax) && m_scale.xzero() == 1;
    if (zeroY) {
        const QPoint line[2] = {{mapX(m_xmin), mapY(0.0f)}, {mapX(m_xmax), mapY(0.0f)}};
        drawPolyline(2, line);
    }
    if (zeroX) {
        const QPoint line[2] = {{mapX(0.0f), mapY(m_ymin)}, {mapX(0.0f), mapY(m_ymax)}};
        drawPolyline(2, line);
    }

    const int mode = m_scale.tickMode();
    if (mode == 0)
        return;
    const int width = m_right - m_left;
    const int height = std::abs(m_top - m_bottom);
    int lengthX = width;
    int lengthY = height;
    if (mode == 1) {
        lengthX = width / 58;
        lengthY = isPostScript() ? lengthX : height / 48;
    }
    const bool xLog = m_scale.xLog() == 1;
    const bool yLog = m_scale.yLog() == 1;
    drawTicks(sideBottom, xLog, m_scale.xStep(), lengthY);
    drawTicks(sideRight, yLog, m_scale.yStep(), lengthX);
    if (mode != 1)
        return;
    drawTicks(sideTop, xLog, m_scale.xStep(), lengthY);
    drawTicks(sideLeft, yLog, m_scale.yStep(), lengthX);
    if (zeroY)
        drawTicks(sideZeroY, xLog, m_scale.xStep(), lengthY);
    if (zeroX)
        drawTicks(sideZeroX, yLog, m_scale.yStep(), lengthX);
}

void RxDraw::drawAxisLabels()
{
    // Device units of 1/1016 inch; the offsets were fitted to the prolog's fonts.
    const double f = m_plotDefs.fontSize();
    const QByteArray xLabel = m_scale.xLabel();
    const QByteArray yLabel = m_scale.yLabel();
    if (!xLabel.isEmpty()) {
        const int len = textLength(xLabel, 0);
        drawText(truncClamped((m_left + m_right) / 2 - 52.0 * f * len),
            truncClamped(m_bottom - 587.0 * f), xLabel, 0, m_plotDefs.fontSize());
    }
    if (!yLabel.isEmpty()) {
        const int len = textLength(yLabel, 90);
        drawText(truncClamped(m_left - 482.0 * f),
            truncClamped((m_top + m_bottom) / 2 - 52.0 * f * len), yLabel, 90,
            m_plotDefs.fontSize());
    }

    const auto number = [&](float v, double x, double y) {
        drawText(truncClamped(x), truncClamped(y), formatNumber(v), 0, m_plotDefs.fontSize());
    };
    const auto length = [](float v) { return static_cast<double>(formatNumber(v).size()); };
    const double yNumberX = m_left - 161.0 * f;
    const double xNumberY = m_bottom - 293.0 * f + 54.0 * (1.0 - f);
    number(m_ymax, yNumberX - 105.0 * f * length(m_ymax), m_top - 60 + 52.0 * (1.0 - f));
    number(m_ymin, yNumberX - 105.0 * f * length(m_ymin), m_bottom - 60 + 52.0 * (1.0 - f));
    number(m_xmax, m_right - 52.0 * f * length(m_xmax), xNumberY);
    number(m_xmin, m_left - 52.0 * f * length(m_xmin), xNumberY);
}

void RxDraw::drawPainterAxisLabels()
{
    if (!m_painter)
        return;
    const float size = m_plotDefs.fontSize();
    setScreenFont(m_textFont, size);
    const QFontMetrics metrics = m_painter->fontMetrics();
    const int h = metrics.height();
    const int w = metrics.horizontalAdvance(QLatin1Char('c'));

    // Drawn straight with the painter: limit numbers carry no markup.
    const auto number = [&](float v, long long x, long long y) {
        const QByteArray text = formatNumber(v);
        m_painter->drawText(QPoint(truncClamped(static_cast<double>(x)),
                                truncClamped(static_cast<double>(m_deviceHeight - y))),
            QString::fromLatin1(text));
    };
    const auto length = [](float v) { return static_cast<long long>(formatNumber(v).size()); };
    number(m_ymax, m_left - w * length(m_ymax) - 10, m_top - h);
    number(m_ymin, m_left - w * length(m_ymin) - 10, m_bottom + h / 4);
    number(m_xmin, m_left - w * length(m_xmin) / 2, m_bottom - h);
    number(m_xmax, m_right - w * length(m_xmax), m_bottom - h);

    const QByteArray xLabel = m_scale.xLabel();
    const QByteArray yLabel = m_scale.yLabel();
    if (!xLabel.isEmpty()) {
        const long long len = textLength(xLabel, 0);
        long long y = m_printer ? m_bottom - 3LL * h : m_bottom / 2 - h / 2;
        if (y >= m_deviceHeight)
            y = m_deviceHeight - h;
        drawText(truncClamped(static_cast<double>((m_left + m_right) / 2 - w * len / 2)),
            truncClamped(static_cast<double>(y)), xLabel, 0, size);
    }
    if (!yLabel.isEmpty()) {
        const long long len = textLength(yLabel, 90);
        const long long x = m_printer ? m_left - 3LL * h : m_left / 2;
        drawText(truncClamped(static_cast<double>(x)),
            truncClamped(static_cast<double>((m_top + m_bottom) / 2 - w * len / 2)), yLabel, 90,
            size);
    }
}

void RxDraw::drawTicks(int side, bool logAxis, float step, int length)
{
    const float a = carriesX(side) ? m_xmin : m_ymin;
    const float b = carriesX(side) ? m_xmax : m_ymax;
    if (logAxis)
        drawLogTicks(side, a, b, step, length);
    else
        drawLinearTicks(side, a, b, step, length);
}

void RxDraw::drawLinearTicks(int side, float a, float b, float step, int length)
{
    if (!(step > 0.0f) || !std::isfinite(step))
        return;
    const double s = step;
    const double lo = std::min(a, b);
    const double hi = std::max(a, b);
    const bool xAxis = carriesX(side);

    // Values are start + k * s rather than a running sum, so that rounding cannot pile up
    // along a long run, nor stall it where s is below the resolution of the values.
    const auto run = [&](double start, double direction, double end) {
        if (!std::isfinite(start))
            return;
        int drawn = 0;
        for (int k = 0; k < maxTicks + linearRunSlack && drawn < maxTicks; ++k) {
            const double v = start + direction * k * s;
            if (std::fabs(v) > std::fabs(end))
                return;
            if (v < lo || v > hi)
                continue;
            const float value = static_cast<float>(v);
            drawTick(side, xAxis ? mapX(value) : mapY(value), length);
            ++drawn;
        }
    };
    if (lo >= 0.0) {
        run(std::max((std::trunc(lo / s) - 1.0) * s, 0.0), 1.0, hi);
    } else if (hi <= 0.0) {
        run(std::min((std::trunc(hi / s) + 1.0) * s, 0.0), -1.0, lo);
    } else {
        run(0.0, 1.0, hi);
        run(0.0, -1.0, lo);
    }
}

void RxDraw::drawLogTicks(int side, float a, float b, float step, int length)
{
    const double lo = std::min(a, b);
    const double hi = std::max(a, b);
    if (!(lo > 0.0) || !std::isfinite(hi) || !(step >= 2.0f))
        return;
    // Candidates are bounded anyway, so a count beyond that needs no more resolution.
    const long long n = static_cast<long long>(std::min(step, 1.0e9f));
    const bool xAxis = carriesX(side);
    const int low = xAxis ? m_left : m_bottom;
    const int high = xAxis ? m_right : m_top;
    const int firstDecade = static_cast<int>(std::trunc(std::log10(lo))) - 1;
    const int lastDecade = static_cast<int>(std::trunc(std::log10(hi))) + 1;

    int candidates = 0;
    for (int d = firstDecade; d <= lastDecade; ++d) {
        const double power = std::pow(10.0, d);
        for (long long i = 0; i <= n - 2; ++i) {
            if (++candidates > maxTicks)
                return;
            const double v = static_cast<double>(i * 10 / n + 1) * power;
            // Outside the window a value would map onto or beyond an edge anyway.
            if (v < lo || v > hi)
                continue;
            const float value = static_cast<float>(v);
            const int position = xAxis ? mapX(value) : mapY(value);
            if (position <= low || position >= high)
                continue;
            const bool first = i == 0 && m_scale.tickMode() == 1;
            drawTick(side, position, first ? length * 3 / 2 : length);
        }
    }
}

void RxDraw::drawTick(int side, int position, int length)
{
    QPoint line[2];
    switch (side) {
    case sideLeft:
        line[0] = {m_left, position};
        line[1] = {m_left + length, position};
        break;
    case sideBottom:
        line[0] = {position, m_bottom};
        line[1] = {position, m_bottom + length};
        break;
    case sideRight:
        line[0] = {m_right, position};
        line[1] = {m_right - length, position};
        break;
    case sideTop:
        line[0] = {position, m_top};
        line[1] = {position, m_top - length};
        break;
    case sideZeroY: {
        const int y = mapY(0.0f);
        line[0] = {position, y - length / 2};
        line[1] = {position, y + length / 2};
        break;
    }
    case sideZeroX: {
        const int x = mapX(0.0f);
        line[0] = {x - length / 2, position};
        line[1] = {x + length / 2, position};
        break;
    }
    default:
        return;
    }
    if (m_scale.tickMode() == 2) {
        if (s_gridReversed)
            std::swap(line[0], line[1]);
        s_gridReversed = !s_gridReversed;
    }
    drawPolyline(2, line);
}
