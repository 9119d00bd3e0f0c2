#pragma once

#include <QByteArray>

class RxLineReader;

// The document's page and plot settings: plot size in inches, orientation, encapsulated
// output, PostScript line join, size factors, which parts are drawn, axes font and colour,
// and the title shown on PostScript output. A value type.
class RxPlotDefs
{
public:
    static constexpr int numJoins = 3;
    // The largest size factor of symbols, arrow heads and text (the comments' too): far
    // beyond any use, and small enough that every page renders in moments.
    static constexpr float maxSizeFactor = 100.0f;
    // "miter", "round", "bevel" (the PostScript join codes); null outside the table.
    static const char *joinName(int join);

    RxPlotDefs() = default;
    RxPlotDefs(const RxPlotDefs &) = default;
    RxPlotDefs &operator=(const RxPlotDefs &) = default;
    virtual ~RxPlotDefs();

    int rotatePlot() const { return m_rotatePlot; }
    int encapsulated() const { return m_encapsulated; }
    QByteArray title() const { return m_title; }
    int titleLength() const { return static_cast<int>(m_title.size()); }
    int psJoin() const { return m_psJoin; }
    float symbolSize() const { return m_symbolSize; }
    float fontSize() const { return m_fontSize; }
    float arrowSize() const { return m_arrowSize; }
    float xPlotSize() const { return m_xPlotSize; }
    float yPlotSize() const { return m_yPlotSize; }
    int plotAxes() const { return m_plotAxes; }
    int plotComments() const { return m_plotComments; }
    int plotCurves() const { return m_plotCurves; }
    int axesFont() const { return m_axesFont; }
    int axesColor() const { return m_axesColor; }

    // Setters return 1 when they store, 0 when they refuse (nothing changes). Size factors
    // must be at most maxSizeFactor; 0 is an accepted arrow size.
    int setRotatePlot(int v);
    int setEncapsulated(int v);
    int setPsJoin(int v);
    int setSymbolSize(float v);
    int setFontSize(float v);
    int setArrowSize(float v);
    // Both must be > 0.
    int setPlotSize(float x, float y);
    int setPlotAxes(int v);
    int setPlotComments(int v);
    int setPlotCurves(int v);
    int setAxesFont(int v);
    int setAxesColor(int v);
    // Always 1. Empty text removes the title; line breaks become blanks.
    int setTitle(const QByteArray &s);
    void clear();

    // The "C plotdefs:" record (everything but the title).
    void writeFormat(QByteArray &out) const;
    // Reads the record after its head line, then the line after it. Values the setters
    // refuse give the defaults, except finite plot sizes, which are kept as read for the
    // renderer's size check. Returns 1, or 0 for a broken record (nothing changes).
    int readFormat(RxLineReader &in, QByteArray &line);

private:
    int m_rotatePlot = 1;
    int m_encapsulated = 0;
    QByteArray m_title;
    int m_psJoin = 1;
    float m_symbolSize = 1.0f;
    float m_fontSize = 1.0f;
    float m_arrowSize = 0.7f;
    float m_xPlotSize = 5.0f;
    float m_yPlotSize = 4.0f;
    int m_plotAxes = 1;
    int m_plotComments = 1;
    int m_plotCurves = 1;
    int m_axesFont = 1;
    int m_axesColor = 0;
};
