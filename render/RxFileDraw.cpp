#include "model/RxFile.h"
#include "render/RxDraw.h"

#include <cstdlib>

// Whether the axes, the curves and the comments are drawn at all is the renderer's
// decision, by the plot settings it was begun with.
int RxFile::draw(RxDraw &draw) const
{
    draw.drawAxes();
    for (const auto &c : m_curves)
        draw.drawCurve(*c, -1, 0, 0);
    draw.drawComments(m_comments);
    return 1;
}

void RxFile::drawCurve(RxDraw &draw, int i, int from, int to, int colourOffset) const
{
    if (i < 0 || i >= numCurves())
        return;
    draw.drawCurve(*m_curves[static_cast<std::size_t>(i)], from, to, colourOffset);
}

int RxFile::nearestPoint(int px, int py, RxDraw &draw, int *curve, int *point) const
{
    if (m_curves.empty() || !draw.isInside(px, py))
        return 0;
    // City-block distance in device units; a hit must come closer than this.
    long long best = 9999;
    int bestCurve = -1;
    int bestPoint = -1;
    for (int c = 0; c < numCurves(); ++c) {
        const RxCurve &cv = *m_curves[static_cast<std::size_t>(c)];
        const int n = cv.numPoints();
        for (int p = 0; p < n; ++p) {
            int x = 0;
            int y = 0;
            if (!draw.mapPoint(cv.x(p), cv.y(p), &x, &y))
                continue;
            const long long d = std::llabs(static_cast<long long>(px) - x)
                + std::llabs(static_cast<long long>(py) - y);
            if (d < best) {
                best = d;
                bestCurve = c;
                bestPoint = p;
            }
        }
    }
    if (bestCurve < 0)
        return 0;
    if (curve)
        *curve = bestCurve;
    if (point)
        *point = bestPoint;
    return 1;
}
