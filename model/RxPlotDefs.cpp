#include "model/RxPlotDefs.h"

#include "model/RxCheckedSet.h"
#include "model/RxCurve.h"
#include "model/RxRecord.h"

#include <cmath>

namespace {

const char *const joinNames[RxPlotDefs::numJoins] = {"miter", "round", "bevel"};

// The nine PostScript fonts of the text renderer.
constexpr int numFonts = 9;

// Accepts 0 < v <= maxSizeFactor, or 0 itself where zeroAllowed; NaN fails every test.
int setSizeFactor(float v, bool zeroAllowed, float *field)
{
    if (!(v <= RxPlotDefs::maxSizeFactor) || !(zeroAllowed ? v >= 0 : v > 0))
        return 0;
    *field = v;
    return 1;
}

} // namespace

RxPlotDefs::~RxPlotDefs() = default;

const char *RxPlotDefs::joinName(int join)
{
    return join >= 0 && join < numJoins ? joinNames[join] : nullptr;
}

int RxPlotDefs::setRotatePlot(int v)
{
    return rxSetInRange(v, 0, 1, &m_rotatePlot);
}

int RxPlotDefs::setEncapsulated(int v)
{
    return rxSetInRange(v, 0, 1, &m_encapsulated);
}

int RxPlotDefs::setPsJoin(int v)
{
    return rxSetInRange(v, 0, numJoins - 1, &m_psJoin);
}

int RxPlotDefs::setSymbolSize(float v)
{
    return setSizeFactor(v, false, &m_symbolSize);
}

int RxPlotDefs::setFontSize(float v)
{
    return setSizeFactor(v, false, &m_fontSize);
}

int RxPlotDefs::setArrowSize(float v)
{
    return setSizeFactor(v, true, &m_arrowSize);
}

int RxPlotDefs::setPlotSize(float x, float y)
{
    if (!(x > 0) || !(y > 0) || !std::isfinite(x) || !std::isfinite(y))
        return 0;
    m_xPlotSize = x;
    m_yPlotSize = y;
    return 1;
}

int RxPlotDefs::setPlotAxes(int v)
{
    return rxSetInRange(v, 0, 1, &m_plotAxes);
}

int RxPlotDefs::setPlotComments(int v)
{
    return rxSetInRange(v, 0, 1, &m_plotComments);
}

int RxPlotDefs::setPlotCurves(int v)
{
    return rxSetInRange(v, 0, 1, &m_plotCurves);
}

int RxPlotDefs::setAxesFont(int v)
{
    return rxSetInRange(v, 0, numFonts - 1, &m_axesFont);
}

int RxPlotDefs::setAxesColor(int v)
{
    return rxSetInRange(v, 0, RxCurve::numColors - 1, &m_axesColor);
}

int RxPlotDefs::setTitle(const QByteArray &s)
{
    m_title = rxOneLine(s, "outof memory in rxplotdefs\n");
    return 1;
}

void RxPlotDefs::clear()
{
    *this = RxPlotDefs();
}

void RxPlotDefs::writeFormat(QByteArray &out) const
{
    out.append("C plotdefs:\n");
    rxWriteIntKey(out, "encapsulated", m_encapsulated);
    rxWriteIntKey(out, "rotateplot", m_rotatePlot);
    rxWriteFloatKey(out, "arrowsize", m_arrowSize);
    rxWriteFloatKey(out, "symbolsize", m_symbolSize);
    rxWriteIntKey(out, "psjoin", m_psJoin);
    rxWriteFloatKey(out, "fontsize", m_fontSize);
    rxWriteIntKey(out, "plotaxes", m_plotAxes);
    rxWriteIntKey(out, "plotcomments", m_plotComments);
    rxWriteIntKey(out, "plotcurves", m_plotCurves);
    rxWriteFloatKey(out, "xplotsize", m_xPlotSize);
    rxWriteFloatKey(out, "yplotsize", m_yPlotSize);
    rxWriteIntKey(out, "axesfont", m_axesFont);
    rxWriteIntKey(out, "axescolor", m_axesColor);
}

int RxPlotDefs::readFormat(RxLineReader &in, QByteArray &line)
{
    if (!rxContains(line, "C plotdefs:"))
        return 0;
    int encapsulated = 0, rotatePlot = 0, psJoin = 0, plotAxes = 0, plotComments = 0;
    int plotCurves = 0, axesFont = 0, axesColor = 0;
    float arrowSize = 0, symbolSize = 0, fontSize = 0, xPlotSize = 0, yPlotSize = 0;
    RxRecordIn record(in, line);
    record.intKey("encapsulated", &encapsulated);
    record.intKey("rotateplot", &rotatePlot);
    record.floatKey("arrowsize", &arrowSize);
    record.floatKey("symbolsize", &symbolSize);
    record.intKey("psjoin", &psJoin);
    record.floatKey("fontsize", &fontSize);
    record.intKey("plotaxes", &plotAxes);
    record.intKey("plotcomments", &plotComments);
    record.intKey("plotcurves", &plotCurves);
    record.floatKey("xplotsize", &xPlotSize);
    record.floatKey("yplotsize", &yPlotSize);
    record.intKey("axesfont", &axesFont);
    record.intKey("axescolor", &axesColor);
    if (!record.finish())
        return 0;

    // The setters are the one judge of a value; a refused value leaves the default.
    RxPlotDefs d;
    d.m_title = m_title;
    d.setEncapsulated(encapsulated);
    d.setRotatePlot(rotatePlot);
    d.setArrowSize(arrowSize);
    d.setSymbolSize(symbolSize);
    d.setPsJoin(psJoin);
    d.setFontSize(fontSize);
    d.setPlotAxes(plotAxes);
    d.setPlotComments(plotComments);
    d.setPlotCurves(plotCurves);
    if (std::isfinite(xPlotSize))
        d.m_xPlotSize = xPlotSize;
    if (std::isfinite(yPlotSize))
        d.m_yPlotSize = yPlotSize;
    d.setAxesFont(axesFont);
    d.setAxesColor(axesColor);
    *this = d;
    return 1;
}
