#include "model/RxFile.h"

#include "model/RxFatal.h"

#include <algorithm>
#include <cmath>

namespace {
const char *const curvesOutOfMemory = "out of memory in RxFile\n";
} // namespace

RxFile::RxFile() = default;

RxFile::RxFile(const RxFile &other)
    : m_scale(other.m_scale)
    , m_profile(other.m_profile)
    , m_comments(other.m_comments)
    , m_plotDefs(other.m_plotDefs)
    , m_name(other.m_name)
    , m_preamble(other.m_preamble)
{
    rxGuardMemory(curvesOutOfMemory, [&] {
        m_curves.reserve(other.m_curves.size());
        for (const auto &c : other.m_curves)
            m_curves.push_back(std::make_unique<RxCurve>(*c));
    });
}

RxFile &RxFile::operator=(const RxFile &other)
{
    if (this != &other) {
        RxFile copy(other);
        std::swap(m_curves, copy.m_curves);
        m_scale = other.m_scale;
        m_profile = other.m_profile;
        m_comments = other.m_comments;
        m_plotDefs = other.m_plotDefs;
        m_name = other.m_name;
        m_preamble = other.m_preamble;
        m_revision.touch();
    }
    return *this;
}

RxFile::~RxFile() = default;

void RxFile::clear()
{
    m_revision.touch();
    m_curves.clear();
    m_curves.shrink_to_fit();
    m_scale.clear();
    m_comments.clear();
    m_plotDefs.clear();
    m_name.clear();
    m_preamble.clear();
    m_profile.setUseEof(0);
}

quint64 RxFile::revision() const
{
    quint64 latest = m_revision.value();
    for (const auto &c : m_curves)
        latest = std::max(latest, c->revision());
    return latest;
}

RxCurve *RxFile::curve(int i)
{
    if (i >= 0 && i < numCurves())
        return m_curves[static_cast<std::size_t>(i)].get();
    m_emptyCurve = RxCurve();
    return &m_emptyCurve;
}

const RxCurve *RxFile::curve(int i) const
{
    if (i >= 0 && i < numCurves())
        return m_curves[static_cast<std::size_t>(i)].get();
    return &m_emptyCurve;
}

void RxFile::appendCurve(std::unique_ptr<RxCurve> c)
{
    m_revision.touch();
    rxGuardMemory(curvesOutOfMemory, [&] { m_curves.push_back(std::move(c)); });
}

int RxFile::setCurve(int i, const RxCurve &c)
{
    m_revision.touch();
    if (i < 0 || i >= numCurves())
        return 0;
    *m_curves[static_cast<std::size_t>(i)] = c;
    return 1;
}

int RxFile::addCurve(const RxCurve &c)
{
    m_revision.touch();
    appendCurve(std::make_unique<RxCurve>(c));
    return 1;
}

int RxFile::removeCurve(int i)
{
    m_revision.touch();
    if (i < 0 || i >= numCurves())
        return 0;
    m_curves.erase(m_curves.begin() + i);
    return 1;
}

void RxFile::removeCurvesFrom(int first)
{
    m_revision.touch();
    while (numCurves() > first && numCurves() > 0)
        m_curves.pop_back();
}

int RxFile::addPoint(int i, int type, float x, float y)
{
    if (i == numCurves())
        appendCurve(std::make_unique<RxCurve>());
    if (i < 0 || i >= numCurves())
        return 0;
    return m_curves[static_cast<std::size_t>(i)]->addPoint(type, x, y);
}

long long RxFile::totalPoints() const
{
    long long n = 0;
    for (const auto &c : m_curves)
        n += c->numPoints();
    return n;
}

int RxFile::lineType(int i) const
{
    return i >= 0 && i < numCurves() ? curve(i)->lineType() : 0;
}

int RxFile::lineWidth(int i) const
{
    return i >= 0 && i < numCurves() ? curve(i)->lineWidth() : 0;
}

int RxFile::color(int i) const
{
    return i >= 0 && i < numCurves() ? curve(i)->color() : 0;
}

float RxFile::patternLength(int i) const
{
    return i >= 0 && i < numCurves() ? curve(i)->patternLength() : -1.0f;
}

int RxFile::setLineType(int i, int v)
{
    if (i < 0 || i >= numCurves())
        return 0;
    curve(i)->setLineType(v);
    return 1;
}

int RxFile::setLineWidth(int i, int v)
{
    if (i < 0 || i >= numCurves())
        return 0;
    curve(i)->setLineWidth(v);
    return 1;
}

int RxFile::setColor(int i, int v)
{
    if (i < 0 || i >= numCurves())
        return 0;
    curve(i)->setColor(v);
    return 1;
}

int RxFile::setPatternLength(int i, float v)
{
    if (i < 0 || i >= numCurves())
        return 0;
    curve(i)->setPatternLength(v);
    return 1;
}

int RxFile::curveBounds(int i, float *xmax, float *xmin, float *ymax, float *ymin) const
{
    if (i < 0 || i >= numCurves())
        return 0;
    curve(i)->bounds(xmax, xmin, ymax, ymin);
    return 1;
}

RxCurve RxFile::extractCurve(int i, int first, int last) const
{
    RxCurve c;
    if (i >= 0 && i < numCurves())
        c.copyRange(*curve(i), first, last);
    return c;
}

int RxFile::splitCurve(int i, int p)
{
    m_revision.touch();
    if (i < 0 || i >= numCurves())
        return 0;
    const RxCurve &whole = *curve(i);
    if (!(p + 1 < whole.numPoints() - 1))
        return 0;
    auto tail = std::make_unique<RxCurve>();
    auto head = std::make_unique<RxCurve>();
    if (!tail->copyRange(whole, p + 1, whole.numPoints() - 1) || !head->copyRange(whole, 0, p))
        return 0;
    m_curves[static_cast<std::size_t>(i)] = std::move(head);
    appendCurve(std::move(tail));
    return 1;
}

void RxFile::addDemoCurve()
{
    auto demo = std::make_unique<RxCurve>(3);
    demo->setXCol(0);
    demo->setYCol(2);
    for (int i = 0; i < 100; ++i) {
        const double t = i * 0.0628318;
        const float row[3] = {static_cast<float>(t), static_cast<float>(std::cos(t)),
            static_cast<float>(std::sin(t))};
        demo->addRow(PointLine, row);
    }
    appendCurve(std::move(demo));
    autoScale();
}

void RxFile::autoScale()
{
    m_revision.touch();
    // Curves without points have only the bounds' start values, a range reversed over
    // the whole float range.
    if (totalPoints() == 0)
        return;
    float xmax, xmin, ymax, ymin;
    m_curves.front()->bounds(&xmax, &xmin, &ymax, &ymin);
    for (std::size_t i = 1; i < m_curves.size(); ++i) {
        float cxmax, cxmin, cymax, cymin;
        m_curves[i]->bounds(&cxmax, &cxmin, &cymax, &cymin);
        if (cxmax > xmax)
            xmax = cxmax;
        if (cxmin < xmin)
            xmin = cxmin;
        if (cymax > ymax)
            ymax = cymax;
        if (cymin < ymin)
            ymin = cymin;
    }
    if (xmax == xmin) {
        xmax += 0.5f;
        xmin -= 0.5f;
    }
    if (ymax == ymin) {
        ymax += 0.5f;
        ymin -= 0.5f;
    }
    m_scale.setXRange(xmax, xmin);
    m_scale.setYRange(ymax, ymin);
    m_scale.setXLog(0);
    m_scale.setYLog(0);
    m_scale.setTickMode(0);
}

int RxFile::setScale(const RxScale &s)
{
    m_revision.touch();
    m_scale = s;
    return 1;
}

int RxFile::setProfile(const RxProfile &p)
{
    m_revision.touch();
    m_profile = p;
    return 1;
}

int RxFile::setComments(const RxComments &c)
{
    m_revision.touch();
    m_comments = c;
    return 1;
}

int RxFile::setPlotDefs(const RxPlotDefs &d)
{
    m_revision.touch();
    m_plotDefs = d;
    return 1;
}
