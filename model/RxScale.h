#pragma once

#include <QByteArray>

class RxLineReader;

// The document's axis scale: X and Y windows (stored as maximum, minimum; a minimum larger
// than the maximum is a reversed axis), logarithmic flags, tick mode, steps, axis labels and
// zero-line flags. A value type.
class RxScale
{
public:
    RxScale() = default;
    RxScale(const RxScale &) = default;
    RxScale &operator=(const RxScale &) = default;
    virtual ~RxScale();

    float xmax() const { return m_xmax; }
    float xmin() const { return m_xmin; }
    float ymax() const { return m_ymax; }
    float ymin() const { return m_ymin; }
    int tickMode() const { return m_tickMode; }
    float xStep() const { return m_xStep; }
    float yStep() const { return m_yStep; }
    // An absent label reads as the empty text.
    QByteArray xLabel() const { return m_xLabel; }
    QByteArray yLabel() const { return m_yLabel; }
    int xLabelLength() const { return static_cast<int>(m_xLabel.size()); }
    int yLabelLength() const { return static_cast<int>(m_yLabel.size()); }
    int xLog() const { return m_xLog; }
    int yLog() const { return m_yLog; }
    int xzero() const { return m_xzero; }
    int yzero() const { return m_yzero; }

    // Setters return 1 when they store, 0 when they refuse (nothing changes).
    // Refused for equal or non-finite ends; clears the log flag unless both ends are > 0.
    int setXRange(float max, float min);
    int setYRange(float max, float min);
    // 0 clears the flag; 1 needs both ends > 0; other values are refused.
    int setXLog(int v);
    int setYLog(int v);
    // 0 none, 1 ticks, 2 grids.
    int setTickMode(int m);
    // Refused unless finite and > 0.
    int setXStep(float s);
    int setYStep(float s);
    // Always 1. Empty text removes the label. A label is one line: carriage returns and
    // line feeds become blanks.
    int setXLabel(const QByteArray &s);
    int setYLabel(const QByteArray &s);
    void clear();

    // The "C scale:" record (zero-line flags only; the rest is the scale section).
    void writeFormat(QByteArray &out) const;
    // Reads the record after its head line, then the line after it. A flag other than 0
    // or 1 gives the default 1. Returns 1, or 0 for a broken record (nothing changes).
    int readFormat(RxLineReader &in, QByteArray &line);

private:
    float m_xmax = 1.0f;
    float m_xmin = 0.0f;
    float m_ymax = 1.0f;
    float m_ymin = 0.0f;
    int m_tickMode = 0;
    float m_xStep = 0.1f;
    float m_yStep = 0.1f;
    QByteArray m_xLabel;
    QByteArray m_yLabel;
    int m_xLog = 0;
    int m_yLog = 0;
    int m_xzero = 1;
    int m_yzero = 1;
};
