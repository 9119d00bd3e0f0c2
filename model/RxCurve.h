#pragma once

#include "model/RxRevision.h"

#include <QByteArray>

#include <cstddef>
#include <memory>

class RxLineReader;

// The named point types. A point type is stored as a plain int and may hold other values
// (character markers from 32 up, say); these are the ones with a name.
enum PointType {
    PointNewLine = 0,
    PointLine = 1,
    PointSquare = 2,
    PointCircle = 3,
    PointTriangle = 4,
    PointCone = 5,
    PointSolidSquare = 6,
    PointSolidCircle = 7,
    PointSolidTriangle = 8,
    PointSolidCone = 9,
    PointCross = 10,
    PointArrowLine = 11,
    PointSolidArrowLine = 12
};

// One curve of a document: points stored as rows of numCols floats with a point type each,
// and the curve's drawing format (colour, line type, line width, dash pattern length).
// Only the xCol and yCol columns are drawn; other columns travel with their points.
// Owns its two arrays; copies are deep.
class RxCurve
{
public:
    static constexpr int numPointTypes = 13;
    static constexpr int numColors = 8;
    static constexpr int numLineTypes = 6;
    static constexpr int numLineWidths = 6;

    // The vocabulary tables; null for an index outside the table.
    static const char *pointTypeName(int type);
    static const char *colorName(int color);
    static const char *lineTypeName(int lineType);
    static const char *lineWidthName(int lineWidth);

    RxCurve();
    // A column count below 2 gives 2 columns.
    explicit RxCurve(int numCols);
    RxCurve(const RxCurve &other);
    RxCurve &operator=(const RxCurve &other);
    virtual ~RxCurve();

    int numCols() const { return m_numCols; }
    int xCol() const { return m_xCol; }
    int yCol() const { return m_yCol; }
    // 1 when 0 <= c < numCols, else 0 and nothing changes.
    int setXCol(int c);
    int setYCol(int c);

    // Points. Index getters give 0.0 (values) or 0 (type) outside 0 ... numPoints-1;
    // index operations return 1, or 0 when refused with nothing changed.
    int numPoints() const { return m_numPoints; }
    // Changes with every change of the curve.
    quint64 revision() const { return m_revision.value(); }
    float x(int i) const { return i >= 0 && i < m_numPoints ? rowPtr(i)[m_xCol] : 0.0f; }
    float y(int i) const { return i >= 0 && i < m_numPoints ? rowPtr(i)[m_yCol] : 0.0f; }
    int pointType(int i) const { return i >= 0 && i < m_numPoints ? m_types[i] : 0; }
    int setX(int i, float v);
    int setY(int i, float v);
    // At index 0 with a type other than 0, a copy of the point with that type is inserted
    // after it (unless the type is 1), and point 0 keeps type 0.
    int setPoint(int i, int type, float x, float y);
    // Appends a point (other columns 0.0). On an empty curve, type 1 is stored as 0 and any
    // other non-zero type first appends a type-0 point at the same place. Always 1.
    int addPoint(int type, float x, float y);
    // Appends count points of type 1 (other columns 0.0), xy holding X and Y of each in
    // turn, as count calls of addPoint would.
    void addLines(const float *xy, int count);
    int insertPoint(int after, int type, float x, float y);
    // The types of the remaining points are left as they are.
    int removePoint(int i);

    // Whole rows of numCols floats.
    std::unique_ptr<float[]> mallocRow() const;
    int row(int i, float *buf) const;
    int setRow(int i, const float *buf);
    int clearRow(int i);
    int addRow(int type, const float *buf);
    int insertRow(int after, int type, const float *buf);
    // Makes this curve a copy of points first ... last of src, with src's columns and
    // format. first -1: the whole curve; -2: the point last alone; -3: the last two points.
    // A range outside src leaves this curve without points and returns 0.
    int copyRange(const RxCurve &src, int first, int last);

    float patternLength() const { return m_patternLength; }
    int lineType() const { return m_lineType; }
    int color() const { return m_color; }
    int lineWidth() const { return m_lineWidth; }
    // Refused (0) unless p > 0 and finite.
    int setPatternLength(float p);
    int setLineType(int t);
    int setColor(int c);
    int setLineWidth(int w);

    // The body of the "C curve: " record.
    void writeFormat(QByteArray &out) const;
    // Reads the record body after its head line, then the line after it into line. Values
    // that the setters refuse (out of their tables, not finite) give the defaults. 1 on
    // success, 0 when the record is broken (the format is then unchanged).
    int readFormat(RxLineReader &in, QByteArray &line);
    // One line per point: type, tab, X, tab, Y. The text form of cut and copy.
    void writePoints(QByteArray &out) const;
    // Appends the data-file line of point i: the point type when inveclen > 0, then its X
    // and its Y, fixed-width or delimited. Other columns stay out, so that every saved file
    // has two value columns and reads back as the plot it shows without asking for columns.
    // Returns 0 and appends nothing when i is out of range, datalen is outside 8 ... 99 or
    // inveclen is above 99.
    int formatRow(
        QByteArray &out, int i, int inveclen, int datalen, int usedelim, char delim) const;

    // Numeric operations on the X and Y columns.
    // Extremes over all points; an empty curve gives maxima -1e36 and minima 1e36.
    void bounds(float *xmax, float *xmin, float *ymax, float *ymin) const;
    // Averages; 0 and 0 for an empty curve.
    void mean(float *mx, float *my) const;
    // Least-squares line over points first ... last (first -1: all). 0 when the range is
    // invalid or the points do not determine a line.
    int linearFit(float *slope, float *intercept, int first, int last) const;
    // X := a*X + b*Y + c and Y := d*X + e*Y + f, both from the old values.
    void transform(float a, float b, float c, float d, float e, float f);
    // Keeps points 0, k, 2k, ... and the last point, except where the kept points already
    // end one step before the end ((n + 1) a multiple of k). 0 when k < 1 or fewer than 10
    // points would remain.
    int reduce(int k);
    // Moving average over 2h + 1 points; 0 when h < 1 or the curve is too short.
    int smooth(int h);

    // Gives back the spare capacity that growing point by point leaves behind.
    void squeeze();

private:
    void resize(int n);
    float *rowPtr(int i) { return m_rows + static_cast<std::ptrdiff_t>(i) * m_numCols; }
    const float *rowPtr(int i) const { return m_rows + static_cast<std::ptrdiff_t>(i) * m_numCols; }
    void reallocate(int capacity);
    void copyFrom(const RxCurve &other);

    float *m_rows = nullptr;
    int *m_types = nullptr;
    int m_capacity = 0;
    int m_numPoints = 0;
    int m_numCols = 2;
    int m_xCol = 0;
    int m_yCol = 1;
    float m_patternLength = 4.0f;
    int m_lineType = 0;
    int m_color = 0;
    int m_lineWidth = 2;
    RxRevision m_revision;
};
