#include "model/RxCurve.h"

#include "model/RxCheckedSet.h"
#include "model/RxFatal.h"
#include "model/RxNumberText.h"
#include "model/RxRecord.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace {

const char *const pointTypeNames[RxCurve::numPointTypes]
    = {"new line", "line", "square", "circle", "triangle", "cone", "solid square", "solid circle",
        "solid triangle", "solid cone", "cross", "arrow line", "solid arrow line"};
const char *const colorNames[RxCurve::numColors]
    = {"black", "blue", "green", "red", "cyan", "magenta", "saddle brown", "white"};
const char *const lineTypeNames[RxCurve::numLineTypes]
    = {"solid", "dots", "dashed", "long short", "long short short", "long dashed(ps only)"};
// Widths in PostScript units of 1/1016 inch.
const char *const lineWidthNames[RxCurve::numLineWidths] = {"3", "6", "12", "18", "28", "36"};

const char *tableEntry(const char *const *table, int size, int i)
{
    return i >= 0 && i < size ? table[i] : nullptr;
}

const char outOfMemory[] = "out of memory in rxcurve\n";

// The largest point count whose rows still have a byte size that fits in ptrdiff_t: row
// offsets are computed in that type.
int maxCapacity(int numCols)
{
    const auto limit
        = static_cast<std::size_t>(PTRDIFF_MAX) / sizeof(float) / static_cast<std::size_t>(numCols);
    return limit < static_cast<std::size_t>(INT_MAX) ? static_cast<int>(limit) : INT_MAX;
}

// The point count after adding extra points; a count past int is as fatal as the memory
// it would need.
int grownCount(int numPoints, int extra)
{
    if (numPoints > INT_MAX - extra)
        rxFatal(outOfMemory);
    return numPoints + extra;
}

std::size_t rowBytes(int points, int numCols)
{
    return static_cast<std::size_t>(points) * static_cast<std::size_t>(numCols) * sizeof(float);
}

} // namespace

const char *RxCurve::pointTypeName(int type)
{
    return tableEntry(pointTypeNames, numPointTypes, type);
}

const char *RxCurve::colorName(int color)
{
    return tableEntry(colorNames, numColors, color);
}

const char *RxCurve::lineTypeName(int lineType)
{
    return tableEntry(lineTypeNames, numLineTypes, lineType);
}

const char *RxCurve::lineWidthName(int lineWidth)
{
    return tableEntry(lineWidthNames, numLineWidths, lineWidth);
}

RxCurve::RxCurve() = default;

RxCurve::RxCurve(int numCols)
    : m_numCols(numCols >= 2 ? numCols : 2)
{ }

RxCurve::RxCurve(const RxCurve &other)
{
    copyFrom(other);
}

RxCurve &RxCurve::operator=(const RxCurve &other)
{
    if (this != &other) {
        resize(0);
        copyFrom(other);
        m_revision.touch();
    }
    return *this;
}

RxCurve::~RxCurve()
{
    std::free(m_rows);
    std::free(m_types);
}

// Expects empty arrays. The copy gets exactly the points, none of other's spare capacity.
void RxCurve::copyFrom(const RxCurve &other)
{
    m_numCols = other.m_numCols;
    m_xCol = other.m_xCol;
    m_yCol = other.m_yCol;
    m_patternLength = other.m_patternLength;
    m_lineType = other.m_lineType;
    m_color = other.m_color;
    m_lineWidth = other.m_lineWidth;
    if (other.m_numPoints > 0) {
        reallocate(other.m_numPoints);
        std::memcpy(m_rows, other.m_rows, rowBytes(other.m_numPoints, m_numCols));
        std::memcpy(
            m_types, other.m_types, static_cast<std::size_t>(other.m_numPoints) * sizeof(int));
    }
    m_numPoints = other.m_numPoints;
}

// Sets the capacity to exactly capacity points (at least 1), keeping the points that fit.
void RxCurve::reallocate(int capacity)
{
    if (capacity > maxCapacity(m_numCols))
        rxFatal(outOfMemory);
    auto *rows = static_cast<float *>(std::realloc(m_rows, rowBytes(capacity, m_numCols)));
    if (!rows)
        rxFatal(outOfMemory);
    m_rows = rows;
    auto *types = static_cast<int *>(
        std::realloc(m_types, static_cast<std::size_t>(capacity) * sizeof(int)));
    if (!types)
        rxFatal(outOfMemory);
    m_types = types;
    m_capacity = capacity;
    if (m_numPoints > capacity)
        m_numPoints = capacity;
}

// Sets the point count; new rows are uninitialised. Growth is geometric, so that reading a
// file point by point stays linear; a curve that has shrunk to a quarter of its capacity
// gives the rest back.
void RxCurve::resize(int n)
{
    if (n <= 0) {
        std::free(m_rows);
        std::free(m_types);
        m_rows = nullptr;
        m_types = nullptr;
        m_capacity = 0;
        m_numPoints = 0;
        return;
    }
    if (n > m_capacity) {
        const int limit = maxCapacity(m_numCols);
        int capacity = m_capacity < 8 ? 8 : m_capacity;
        capacity = capacity > limit - capacity / 2 ? limit : capacity + capacity / 2;
        reallocate(n > capacity ? n : capacity);
    } else if (n < m_capacity / 4) {
        reallocate(n);
    }
    m_numPoints = n;
}

void RxCurve::squeeze()
{
    if (m_numPoints > 0 && m_numPoints < m_capacity)
        reallocate(m_numPoints);
}

int RxCurve::setXCol(int c)
{
    m_revision.touch();
    return rxSetInRange(c, 0, m_numCols - 1, &m_xCol);
}

int RxCurve::setYCol(int c)
{
    m_revision.touch();
    return rxSetInRange(c, 0, m_numCols - 1, &m_yCol);
}

int RxCurve::setX(int i, float v)
{
    m_revision.touch();
    if (i < 0 || i >= m_numPoints)
        return 0;
    rowPtr(i)[m_xCol] = v;
    return 1;
}

int RxCurve::setY(int i, float v)
{
    m_revision.touch();
    if (i < 0 || i >= m_numPoints)
        return 0;
    rowPtr(i)[m_yCol] = v;
    return 1;
}

int RxCurve::setPoint(int i, int type, float x, float y)
{
    m_revision.touch();
    if (i < 0 || i >= m_numPoints)
        return 0;
    float *r = rowPtr(i);
    r[m_xCol] = x;
    r[m_yCol] = y;
    m_types[i] = type;
    if (i == 0 && type != PointNewLine) {
        // The first point must start the polyline; a symbol or arrow asked for there
        // becomes a second point at the same place.
        if (type != PointLine)
            insertRow(0, type, rowPtr(0));
        m_types[0] = PointNewLine;
    }
    return 1;
}

int RxCurve::addPoint(int type, float x, float y)
{
    m_revision.touch();
    if (m_numPoints == 0 && type != PointNewLine) {
        if (type == PointLine) {
            type = PointNewLine;
        } else {
            addPoint(PointNewLine, x, y);
        }
    }
    const int i = m_numPoints;
    resize(grownCount(m_numPoints, 1));
    // A two-column row is all written below; a file read point by point is mostly these.
    if (m_numCols > 2)
        clearRow(i);
    float *r = rowPtr(i);
    r[m_xCol] = x;
    r[m_yCol] = y;
    m_types[i] = type;
    return 1;
}

void RxCurve::addLines(const float *xy, int count)
{
    if (count <= 0)
        return;
    if (m_numPoints == 0) {
        addPoint(PointLine, xy[0], xy[1]);
        xy += 2;
        --count;
    }
    m_revision.touch();
    const int first = m_numPoints;
    resize(grownCount(m_numPoints, count));
    for (int i = 0; i < count; ++i) {
        if (m_numCols > 2)
            clearRow(first + i);
        float *r = rowPtr(first + i);
        r[m_xCol] = xy[2 * i];
        r[m_yCol] = xy[2 * i + 1];
        m_types[first + i] = PointLine;
    }
}

int RxCurve::insertPoint(int after, int type, float x, float y)
{
    m_revision.touch();
    if (after < 0 || after >= m_numPoints)
        return 0;
    const int i = after + 1;
    resize(grownCount(m_numPoints, 1));
    const int moved = m_numPoints - 1 - i;
    std::memmove(rowPtr(i + 1), rowPtr(i), rowBytes(moved, m_numCols));
    std::memmove(m_types + i + 1, m_types + i, static_cast<std::size_t>(moved) * sizeof(int));
    clearRow(i);
    float *r = rowPtr(i);
    r[m_xCol] = x;
    r[m_yCol] = y;
    m_types[i] = type;
    return 1;
}

int RxCurve::removePoint(int i)
{
    m_revision.touch();
    if (i < 0 || i >= m_numPoints)
        return 0;
    const int moved = m_numPoints - 1 - i;
    std::memmove(rowPtr(i), rowPtr(i + 1), rowBytes(moved, m_numCols));
    std::memmove(m_types + i, m_types + i + 1, static_cast<std::size_t>(moved) * sizeof(int));
    resize(m_numPoints - 1);
    return 1;
}

std::unique_ptr<float[]> RxCurve::mallocRow() const
{
    std::unique_ptr<float[]> buf(new (std::nothrow) float[static_cast<std::size_t>(m_numCols)]);
    if (!buf)
        rxFatal("out of memory in RxCurve::mallocRow\n");
    return buf;
}

int RxCurve::row(int i, float *buf) const
{
    if (i < 0 || i >= m_numPoints || !buf)
        return 0;
    std::memmove(buf, rowPtr(i), rowBytes(1, m_numCols));
    return 1;
}

int RxCurve::setRow(int i, const float *buf)
{
    m_revision.touch();
    if (i < 0 || i >= m_numPoints || !buf)
        return 0;
    std::memmove(rowPtr(i), buf, rowBytes(1, m_numCols));
    return 1;
}

int RxCurve::clearRow(int i)
{
    m_revision.touch();
    if (i < 0 || i >= m_numPoints)
        return 0;
    float *r = rowPtr(i);
    for (int k = 0; k < m_numCols; ++k)
        r[k] = 0.0f;
    return 1;
}

int RxCurve::addRow(int type, const float *buf)
{
    m_revision.touch();
    if (!buf)
        return 0;
    if (m_numPoints == 0 && type != PointNewLine) {
        if (type == PointLine) {
            type = PointNewLine;
        } else {
            addRow(PointNewLine, buf);
        }
    }
    const int i = m_numPoints;
    resize(grownCount(m_numPoints, 1));
    std::memcpy(rowPtr(i), buf, rowBytes(1, m_numCols));
    m_types[i] = type;
    return 1;
}

int RxCurve::insertRow(int after, int type, const float *buf)
{
    m_revision.touch();
    if (after < 0 || after >= m_numPoints || !buf)
        return 0;
    // buf may be one of this curve's own rows (setPoint passes one), and growing can move
    // them: take the values before the arrays change.
    std::unique_ptr<float[]> saved = mallocRow();
    std::memcpy(saved.get(), buf, rowBytes(1, m_numCols));
    insertPoint(after, type, 0.0f, 0.0f);
    std::memcpy(rowPtr(after + 1), saved.get(), rowBytes(1, m_numCols));
    return 1;
}

int RxCurve::copyRange(const RxCurve &src, int first, int last)
{
    m_revision.touch();
    const int n = src.m_numPoints;
    if (first == -1) {
        first = 0;
        last = n - 1;
    } else if (first == -3) {
        first = n - 2;
        last = n - 1;
    } else if (first == -2) {
        first = last;
    }
    if (first < 0 || first >= n || last < first || last >= n) {
        resize(0);
        return 0;
    }
    // Built aside, so that src may be this curve itself.
    RxCurve copy(src.m_numCols);
    copy.m_xCol = src.m_xCol;
    copy.m_yCol = src.m_yCol;
    copy.m_patternLength = src.m_patternLength;
    copy.m_lineType = src.m_lineType;
    copy.m_color = src.m_color;
    copy.m_lineWidth = src.m_lineWidth;
    const int count = last - first + 1;
    copy.reallocate(count);
    copy.m_numPoints = count;
    std::memcpy(copy.m_rows, src.rowPtr(first), rowBytes(count, copy.m_numCols));
    std::memcpy(copy.m_types, src.m_types + first, static_cast<std::size_t>(count) * sizeof(int));
    const int type = copy.m_types[0];
    if (type != PointNewLine) {
        if (type != PointLine)
            copy.insertRow(0, type, copy.rowPtr(0));
        copy.m_types[0] = PointNewLine;
    }
    copy.squeeze();
    std::swap(m_rows, copy.m_rows);
    std::swap(m_types, copy.m_types);
    std::swap(m_capacity, copy.m_capacity);
    std::swap(m_numPoints, copy.m_numPoints);
    m_numCols = copy.m_numCols;
    m_xCol = copy.m_xCol;
    m_yCol = copy.m_yCol;
    m_patternLength = copy.m_patternLength;
    m_lineType = copy.m_lineType;
    m_color = copy.m_color;
    m_lineWidth = copy.m_lineWidth;
    return 1;
}

int RxCurve::setPatternLength(float p)
{
    m_revision.touch();
    return rxSetPositive(p, &m_patternLength);
}

int RxCurve::setLineType(int t)
{
    m_revision.touch();
    return rxSetInRange(t, 0, numLineTypes - 1, &m_lineType);
}

int RxCurve::setColor(int c)
{
    m_revision.touch();
    return rxSetInRange(c, 0, numColors - 1, &m_color);
}

int RxCurve::setLineWidth(int w)
{
    m_revision.touch();
    return rxSetInRange(w, 0, numLineWidths - 1, &m_lineWidth);
}

void RxCurve::writeFormat(QByteArray &out) const
{
    rxWriteFloatKey(out, "patternlength", m_patternLength);
    rxWriteIntKey(out, "linetype", m_lineType);
    rxWriteIntKey(out, "color", m_color);
    rxWriteIntKey(out, "linewidth", m_lineWidth);
}

int RxCurve::readFormat(RxLineReader &in, QByteArray &line)
{
    m_revision.touch();
    float patternLength = 0;
    int lineType = 0, color = 0, lineWidth = 0;
    RxRecordIn record(in, line);
    record.floatKey("patternlength", &patternLength);
    record.intKey("linetype", &lineType);
    record.intKey("color", &color);
    record.intKey("linewidth", &lineWidth);
    if (!record.finish())
        return 0;

    // The setters are the one judge of a value; a refused value leaves the default, so that
    // no index read from a file reaches the renderer's tables unchecked.
    const RxCurve defaults;
    if (!setPatternLength(patternLength))
        m_patternLength = defaults.m_patternLength;
    if (!setLineType(lineType))
        m_lineType = defaults.m_lineType;
    if (!setColor(color))
        m_color = defaults.m_color;
    if (!setLineWidth(lineWidth))
        m_lineWidth = defaults.m_lineWidth;
    return 1;
}

void RxCurve::writePoints(QByteArray &out) const
{
    // A line at a time: appending each piece would cost more than writing the numbers.
    char line[3 * rxNumberRoom];
    for (int i = 0; i < m_numPoints; ++i) {
        char *p = rxWriteInt(line, m_types[i]);
        *p++ = '\t';
        p = rxWriteG(p, x(i));
        *p++ = '\t';
        p = rxWriteG(p, y(i));
        *p++ = '\n';
        out.append(line, p - line);
    }
}

int RxCurve::formatRow(
    QByteArray &out, int i, int inveclen, int datalen, int usedelim, char delim) const
{
    if (i < 0 || i >= m_numPoints || datalen < 8 || datalen > 99 || inveclen > 99)
        return 0;
    // Any non-zero usedelim is taken as delimited: a row must never lose its values.
    const bool delimited = usedelim != 0;
    // Written in place: per-number appends would cost more than the numbers themselves.
    const qsizetype start = out.size();
    constexpr qsizetype room = 3 * (rxNumberRoom + 1);
    rxGuardMemory("out of memory in rxcurve\n", [&] { out.resize(start + room); });
    char *const begin = out.data() + start;
    char *p = begin;
    if (inveclen > 0)
        p = rxWriteInt(p, m_types[i], delimited ? 0 : inveclen);
    const float *r = rowPtr(i);
    const float values[2] = {r[m_xCol], r[m_yCol]};
    for (int k = 0; k < 2; ++k) {
        if (!delimited) {
            p = rxWriteFixed(p, values[k], datalen);
            continue;
        }
        if (inveclen > 0 || k > 0)
            *p++ = delim;
        p = rxWriteG(p, values[k]);
    }
    *p++ = '\n';
    out.resize(start + (p - begin));
    return 1;
}
