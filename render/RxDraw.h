#pragma once

#include "model/RxPlotDefs.h"
#include "model/RxScale.h"

#include <QByteArray>
#include <QColor>
#include <QDateTime>
#include <QPen>
#include <QPoint>
#include <QPointF>

#include <cmath>

class QIODevice;
class QPainter;
class RxComments;
class RxCurve;

// Draws a document on one of three outputs, chosen by the begin operation: the screen
// (a painter on the plot widget), a printer (a painter on the printer) or PostScript text.
// Every primitive tests the output and either paints or writes one PostScript line, so the
// axes, curves and text code serve all three. Device y grows upwards on every output; the
// painter primitives turn it over themselves.
class RxDraw
{
public:
    enum State { Idle = 0, PostScriptState = 1, PainterState = 2 };

    static constexpr int numFonts = 9;
    // "/Helvetica-Bold" ... "/Palatino-Bold"; null outside the table.
    static const char *fontName(int index);
    // The drawing colour of a colour index; indexes above 7 wrap round by 7 (8 is blue).
    static QColor colorOf(int index);
    // A device coordinate is kept within this distance of the plot area, so that no value,
    // however large, leaves the int range or the painter's reach.
    static constexpr int deviceBand = 1000000;

    RxDraw();
    RxDraw(const RxDraw &) = delete;
    RxDraw &operator=(const RxDraw &) = delete;
    virtual ~RxDraw();

    // Painter output on a widget of width x height pixels. 0 when the object is in
    // PostScript state, else 1.
    int beginScreen(
        QPainter *painter, int width, int height, const RxPlotDefs &defs, const RxScale &scale);
    // Painter output on a page of pageWidth x pageHeight points (1/72 inch), the plot
    // centred. 0 in PostScript state, and for a plot size that is not finite and positive
    // or whose plot area leaves the int range (the caller reports "Internal Error").
    int beginPrinter(QPainter *painter, int pageWidth, int pageHeight, const RxPlotDefs &defs,
        const RxScale &scale);
    // PostScript output: checks the plot size, then writes the header and prolog. With no
    // output only the check is made. 1 on success; 0 when not idle or the size is refused,
    // with nothing written.
    int beginPostScript(QIODevice *output, const RxPlotDefs &defs, const RxScale &scale);
    // The time written as the creation date and on the title line: by default the time of
    // beginPostScript, in local time; a fixed time (UTC) makes the output reproducible.
    void setCreationTime(const QDateTime &time) { m_creationTime = time; }
    // True once a PostScript write has failed.
    bool outputFailed() const { return m_outputFailed; }

    virtual void end();
    virtual void writeLine(const QByteArray &text);
    // n points in plot device units.
    virtual void drawPolyline(int n, const QPoint *points);
    virtual void setLineType(int type, float patternLength);
    // A copy of text that is safe inside a PostScript string: "(", ")", "[", "]" and "\"
    // get a backslash; bytes outside printable ASCII become octal escapes.
    virtual QByteArray escapeText(const QByteArray &text) const;
    virtual void addDocumentFont(int fontIndex);
    virtual void setLineWidth(int widthIndex);
    // symbol 1 square ... 8 solid cone, 9 and above cross.
    virtual void drawSymbol(int x, int y, int symbol);
    // The number of characters shown, markup not counted.
    virtual int textLength(const QByteArray &text, int angle) const;
    // Text with markup at (x, y), the start of its base line; angle 0, 90, 180 or 270.
    virtual void drawText(int x, int y, const QByteArray &text, int angle, float size);
    // A character marker: the one character drawn as it is, never as markup, in font 2.
    // Nothing for a code that is not a printable character.
    void drawMarker(int x, int y, int character, float size);
    virtual void setScreenFont(int fontIndex, float size);
    // Draws text at point in the font and advances point.x() by its width.
    virtual void drawTextRun(QPointF &point, const QByteArray &text, int fontIndex, float size);
    virtual void setColor(int colorIndex);
    // The PostScript page turn of portrait plots: (x, y) becomes (10300 - y, x).
    virtual void transformPoint(int &x, int &y) const;
    // The PostScript form of the four limit numbers and the axis titles.
    virtual void drawAxisLabels();

    // Data value to device unit, within deviceBand of the plot area. mapPoint is false for
    // a point that cannot be placed (not a number, or 0 or below on a logarithmic axis);
    // such a point breaks a line as a "new line" point does.
    int mapX(float v) const { return m_xMap.map(v); }
    int mapY(float v) const { return m_yMap.map(v); }
    bool mapPoint(float x, float y, int *px, int *py) const
    {
        return mapPoint(m_xMap, m_yMap, x, y, px, py);
    }
    int isOutside(int x, int y) const
    {
        return x < m_left || x > m_right || y < m_bottom || y > m_top ? 1 : 0;
    }
    int isInside(int x, int y) const { return !isOutside(x, y); }
    // Clips a segment to the plot area in place: 1 when it misses the area (nothing to
    // draw), -1 when its second end had to be moved, else 0.
    int clipSegment(int &x1, int &y1, int &x2, int &y2) const
    {
        // Nearly every segment of a plot lies inside: nothing to compute, and no call.
        if (isInside(x1, y1) && isInside(x2, y2))
            return 0;
        return clipCrossing(x1, y1, x2, y2);
    }
    // "%.4g"
    static QByteArray formatNumber(float v);

    // Frame, limit numbers, titles, zero lines and ticks or grids.
    void drawAxes();
    // The curve's points from ... to (-1: all; -2: a circle at point to, painter only;
    // -3: the last segment), each part in the colour the whole curve has there plus
    // colourOffset, so that a selection stands out everywhere, after a "new line" too.
    void drawCurve(const RxCurve &curve, int from, int to, int colourOffset);
    void drawComments(const RxComments &comments);

    State state() const { return m_state; }
    bool isPostScript() const { return m_state == PostScriptState; }
    bool isPrinter() const { return m_printer; }
    int left() const { return m_left; }
    int right() const { return m_right; }
    int top() const { return m_top; }
    int bottom() const { return m_bottom; }
    const RxPlotDefs &plotDefs() const { return m_plotDefs; }
    const RxScale &scale() const { return m_scale; }
    int textFont() const { return m_textFont; }
    void setTextFont(int index);
    QPainter *painter() const { return m_painter; }
    int deviceHeight() const { return m_deviceHeight; }
    // The fonts named so far, for the trailer.
    QByteArray fontList() const { return m_fontList; }

private:
    // One axis's mapping from data value to device unit, worked out when the window is set,
    // so that a loop over millions of points pays only for what changes from point to point:
    // a subtraction, a division, a multiplication and the clamp into the band.
    struct AxisMap
    {
        double min = 0.0; // of the value, or of its logarithm on a logarithmic axis
        double span = 1.0;
        double low = 0.0;
        double range = 1.0;
        double lowest = 0.0; // the band's ends, within the int range
        double highest = 0.0;
        bool log = false;

        int map(float value) const
        {
            const double v = log ? std::log(static_cast<double>(value)) : value;
            const double device = (v - min) / span * range + low + 0.5;
            // Not a number maps to the low end of the axis.
            if (!(device == device))
                return static_cast<int>(low);
            return static_cast<int>(device < lowest ? lowest : device > highest ? highest : device);
        }
    };
    static AxisMap axisMap(double min, double max, bool log, int low, int high);
    static bool mapPoint(
        const AxisMap &xMap, const AxisMap &yMap, float x, float y, int *px, int *py)
    {
        if (std::isnan(x) || std::isnan(y) || (xMap.log && !(x > 0)) || (yMap.log && !(y > 0)))
            return false;
        *px = xMap.map(x);
        *py = yMap.map(y);
        return true;
    }
    // clipSegment for a segment with an end outside the plot area.
    int clipCrossing(int &x1, int &y1, int &x2, int &y2) const;
    // True where the painter's pen is solid and one pixel wide, unsmoothed and unscaled:
    // then of the points of a polyline in one device column only the first, lowest,
    // highest and last colour a pixel.
    bool thinsColumns() const;
    int beginPainter(
        QPainter *painter, int deviceHeight, const RxPlotDefs &defs, const RxScale &scale);
    void copyWindow(const RxScale &scale);
    void writeHeader();
    void writeTrailer();
    void flushOutput();
    void applyPen();
    void drawTicks(int side, bool logAxis, float step, int length);
    void drawLinearTicks(int side, float a, float b, float step, int length);
    void drawLogTicks(int side, float a, float b, float step, int length);
    void drawTick(int side, int position, int length);
    void drawPainterAxisLabels();
    void drawArrow(const RxCurve &curve, int i, QPoint tip, QPoint tail, bool filled);
    void drawPainterText(int x, int y, const QByteArray &text, int angle, float size);
    void drawPostScriptText(int x, int y, const QByteArray &text, int angle, float size);

    State m_state = Idle;
    bool m_printer = false;
    int m_left = 0;
    int m_right = 0;
    int m_top = 0;
    int m_bottom = 0;
    float m_xmax = 1.0f;
    float m_xmin = 0.0f;
    float m_ymax = 1.0f;
    float m_ymin = 0.0f;
    AxisMap m_xMap = axisMap(0.0, 1.0, false, 0, 0);
    AxisMap m_yMap = axisMap(0.0, 1.0, false, 0, 0);
    QIODevice *m_output = nullptr;
    QPainter *m_painter = nullptr;
    RxPlotDefs m_plotDefs;
    RxScale m_scale;
    QByteArray m_fontList;
    int m_textFont = 2;
    // PostScript lines gather here and go to the output in large writes.
    QByteArray m_pending;
    QPen m_pen;
    int m_deviceHeight = 0;
    QDateTime m_creationTime;
    bool m_outputFailed = false;
    // Whether the last PostScript dash is solid, as the prolog leaves it; only a solid line
    // may lose points that cannot show.
    bool m_solidDash = true;
};
