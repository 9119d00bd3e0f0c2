#include "model/RxScale.h"

#include "model/RxCheckedSet.h"
#include "model/RxRecord.h"

#include <cmath>

RxScale::~RxScale() = default;

namespace {

int setRange(float max, float min, float *storedMax, float *storedMin, int *log)
{
    if (max == min || !std::isfinite(max) || !std::isfinite(min))
        return 0;
    *storedMax = max;
    *storedMin = min;
    if (!(max > 0 && min > 0))
        *log = 0;
    return 1;
}

int setLog(int v, float max, float min, int *log)
{
    if (v == 0) {
        *log = 0;
        return 1;
    }
    if (v != 1 || !(max > 0 && min > 0))
        return 0;
    *log = 1;
    return 1;
}

} // namespace

int RxScale::setXRange(float max, float min)
{
    return setRange(max, min, &m_xmax, &m_xmin, &m_xLog);
}

int RxScale::setYRange(float max, float min)
{
    return setRange(max, min, &m_ymax, &m_ymin, &m_yLog);
}

int RxScale::setXLog(int v)
{
    return setLog(v, m_xmax, m_xmin, &m_xLog);
}

int RxScale::setYLog(int v)
{
    return setLog(v, m_ymax, m_ymin, &m_yLog);
}

int RxScale::setTickMode(int m)
{
    return rxSetInRange(m, 0, 2, &m_tickMode);
}

int RxScale::setXStep(float s)
{
    return rxSetPositive(s, &m_xStep);
}

int RxScale::setYStep(float s)
{
    return rxSetPositive(s, &m_yStep);
}

int RxScale::setXLabel(const QByteArray &s)
{
    m_xLabel = rxOneLine(s, "out of memory in strmalloc\n");
    return 1;
}

int RxScale::setYLabel(const QByteArray &s)
{
    m_yLabel = rxOneLine(s, "out of memory in strmalloc\n");
    return 1;
}

void RxScale::clear()
{
    *this = RxScale();
}

void RxScale::writeFormat(QByteArray &out) const
{
    out.append("C scale:\n");
    rxWriteIntKey(out, "xzero", m_xzero);
    rxWriteIntKey(out, "yzero", m_yzero);
}

int RxScale::readFormat(RxLineReader &in, QByteArray &line)
{
    if (!rxContains(line, "C scale:"))
        return 0;
    int xzero = 1;
    int yzero = 1;
    RxRecordIn record(in, line);
    record.intKey("xzero", &xzero);
    record.intKey("yzero", &yzero);
    if (!record.finish())
        return 0;
    m_xzero = xzero == 0 || xzero == 1 ? xzero : 1;
    m_yzero = yzero == 0 || yzero == 1 ? yzero : 1;
    return 1;
}
