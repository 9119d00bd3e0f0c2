// The numeric operations of RxCurve, on its X and Y columns. Sums are kept in single
// precision, as the values are.

#include "model/RxCurve.h"

#include "model/RxFatal.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <new>

void RxCurve::bounds(float *xmax, float *xmin, float *ymax, float *ymin) const
{
    // In locals: the results could alias the rows, which would keep every comparison
    // waiting on a store.
    float hx = -1e36f;
    float lx = 1e36f;
    float hy = -1e36f;
    float ly = 1e36f;
    for (int i = 0; i < m_numPoints; ++i) {
        const float *r = rowPtr(i);
        const float x = r[m_xCol];
        const float y = r[m_yCol];
        hx = x > hx ? x : hx;
        lx = x < lx ? x : lx;
        hy = y > hy ? y : hy;
        ly = y < ly ? y : ly;
    }
    *xmax = hx;
    *xmin = lx;
    *ymax = hy;
    *ymin = ly;
}

void RxCurve::mean(float *mx, float *my) const
{
    float sx = 0.0f;
    float sy = 0.0f;
    for (int i = 0; i < m_numPoints; ++i) {
        const float *r = rowPtr(i);
        sx += r[m_xCol];
        sy += r[m_yCol];
    }
    if (m_numPoints > 0) {
        sx /= static_cast<float>(m_numPoints);
        sy /= static_cast<float>(m_numPoints);
    }
    *mx = sx;
    *my = sy;
}

int RxCurve::linearFit(float *slope, float *intercept, int first, int last) const
{
    if (first == -1) {
        first = 0;
        last = m_numPoints - 1;
    }
    if (first < 0 || first >= m_numPoints || last < first || last >= m_numPoints)
        return 0;
    float sx = 0.0f, sy = 0.0f, sxx = 0.0f, sxy = 0.0f;
    bool vertical = true;
    const float x0 = rowPtr(first)[m_xCol];
    for (int i = first; i <= last; ++i) {
        const float *r = rowPtr(i);
        const float x = r[m_xCol];
        const float y = r[m_yCol];
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
        if (x != x0)
            vertical = false;
    }
    const auto n = static_cast<float>(last - first + 1);
    const float d = n * sxx - sx * sx;
    // d is never negative in exact arithmetic and 0 only when every X is the same; in
    // single precision equal X values such as 0.1 can leave rounding noise of either sign,
    // which would pass for a steep line. Refuse those, and a fit that overflows.
    if (vertical || !(d > 0.0f))
        return 0;
    const float s = (n * sxy - sx * sy) / d;
    const float c = (sxx * sy - sx * sxy) / d;
    if (!std::isfinite(s) || !std::isfinite(c))
        return 0;
    *slope = s;
    *intercept = c;
    return 1;
}

void RxCurve::transform(float a, float b, float c, float d, float e, float f)
{
    m_revision.touch();
    for (int i = 0; i < m_numPoints; ++i) {
        float *r = rowPtr(i);
        const float x = r[m_xCol];
        const float y = r[m_yCol];
        r[m_xCol] = a * x + b * y + c;
        r[m_yCol] = d * x + e * y + f;
    }
}

int RxCurve::reduce(int k)
{
    m_revision.touch();
    const long long n = m_numPoints;
    if (k < 1)
        return 0;
    long long m = (n + 1) / k;
    if (m < 10)
        return 0;
    // Whole rows move, not only X and Y: the other columns belong to their point.
    const std::size_t bytes = static_cast<std::size_t>(m_numCols) * sizeof(float);
    for (long long j = 1; j < m; ++j) {
        const long long s = j * k;
        std::memmove(rowPtr(static_cast<int>(j)), rowPtr(static_cast<int>(s)), bytes);
        m_types[j] = m_types[s];
        if ((j + 1) * k >= n) {
            m = j + 1;
            break;
        }
    }
    long long kept = m;
    // With k = 1 every point is kept and there is no point m to receive the last one.
    if (m * k != n + 1 && m < n) {
        std::memmove(rowPtr(static_cast<int>(m)), rowPtr(static_cast<int>(n - 1)), bytes);
        m_types[m] = m_types[n - 1];
        kept = m + 1;
    }
    resize(static_cast<int>(kept));
    squeeze();
    return 1;
}

int RxCurve::smooth(int h)
{
    m_revision.touch();
    const int n = m_numPoints;
    if (h < 1 || n - h < h)
        return 0;
    // Old values of points i-h ... i, in a ring indexed by point modulo h+1: the window's
    // left half is overwritten by the time it is needed, its right half is not yet.
    const auto size = static_cast<std::size_t>(h) + 1;
    std::unique_ptr<float[]> oldX(new (std::nothrow) float[size]);
    std::unique_ptr<float[]> oldY(new (std::nothrow) float[size]);
    if (!oldX || !oldY)
        rxFatal("out of memory in smooth\n");
    for (int p = 0; p < h; ++p) {
        oldX[static_cast<std::size_t>(p) % size] = rowPtr(p)[m_xCol];
        oldY[static_cast<std::size_t>(p) % size] = rowPtr(p)[m_yCol];
    }
    const auto width = static_cast<float>(2 * h + 1);
    for (int i = h; i < n - h; ++i) {
        float *r = rowPtr(i);
        oldX[static_cast<std::size_t>(i) % size] = r[m_xCol];
        oldY[static_cast<std::size_t>(i) % size] = r[m_yCol];
        float sx = 0.0f;
        float sy = 0.0f;
        for (int p = i - h; p <= i; ++p) {
            sx += oldX[static_cast<std::size_t>(p) % size];
            sy += oldY[static_cast<std::size_t>(p) % size];
        }
        for (int p = i + 1; p <= i + h; ++p) {
            sx += rowPtr(p)[m_xCol];
            sy += rowPtr(p)[m_yCol];
        }
        r[m_xCol] = sx / width;
        r[m_yCol] = sy / width;
    }
    return 1;
}
