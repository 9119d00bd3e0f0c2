#pragma once

#include "model/RxColumnLayout.h"
#include "model/RxComments.h"
#include "model/RxCurve.h"
#include "model/RxPlotDefs.h"
#include "model/RxProfile.h"
#include "model/RxScale.h"

#include <QByteArray>

#include <memory>
#include <string_view>
#include <vector>

class QFileDevice;
class QIODevice;
class RxDraw;
class RxLineReader;
struct RxPointRun;

// The document: its curves, axis scale, plot settings, comments and column profile, its
// name and the comment lines that stood before the header of the files read. Reads and
// writes the data file (".rx") and imports plain numeric column files.
class RxFile
{
public:
    // What read gives back.
    enum class ReadResult {
        Failed, // an open leaves the document empty, an append as it was
        Ok,
        NewerFormat // the header announces a newer format; the document is as it was
    };
    // What a read tells besides its result: the rows of a detected layout that were left
    // out for text where X or Y should be, and why a read failed.
    struct ReadReport
    {
        qint64 skippedRows = 0;
        qint64 firstSkippedLine = 0; // 1-based
        qint64 failedLine = 0; // the line a failed read stopped at; 0 when none
        QByteArray problem; // why the read failed, in a few words
        // "N rows ... were left out ... line L", or empty when none were.
        QString skippedText() const;
    };
    // What checkNumCols gives back besides a column count.
    static constexpr int columnsUnknown = -1;
    static constexpr int columnsNewerFormat = -2;

    RxFile();
    RxFile(const RxFile &other);
    RxFile &operator=(const RxFile &other);
    virtual ~RxFile();

    // No curves, empty name and preamble, default scale, comments and plot settings; the
    // profile keeps its layout and forgets how rows were counted (useeof 0).
    void clear();

    // Curves. Refused calls return 0 and change nothing; success returns 1.
    int numCurves() const { return static_cast<int>(m_curves.size()); }
    // Curve i, or for i out of range an empty curve that no caller can fill: it is made
    // empty again on every such call.
    RxCurve *curve(int i);
    const RxCurve *curve(int i) const;
    int setCurve(int i, const RxCurve &c);
    int addCurve(const RxCurve &c);
    int removeCurve(int i);
    // i = numCurves appends a new default curve for the point.
    int addPoint(int i, int type, float x, float y);
    long long totalPoints() const;
    // 0 for i out of range (patternLength: -1.0).
    int lineType(int i) const;
    int lineWidth(int i) const;
    int color(int i) const;
    float patternLength(int i) const;
    // Refused only for i out of range; the curve's own setter may still refuse the value.
    int setLineType(int i, int v);
    int setLineWidth(int i, int v);
    int setColor(int i, int v);
    int setPatternLength(int i, float v);
    int curveBounds(int i, float *xmax, float *xmin, float *ymax, float *ymin) const;
    // A copy of a range of curve i (RxCurve::copyRange and its sentinels); for i out of
    // range an empty default curve.
    RxCurve extractCurve(int i, int first, int last) const;
    // Points p+1 ... n-1 of curve i become a new last curve, curve i keeps 0 ... p. Refused
    // unless the second part has at least two points.
    int splitCurve(int i, int p);
    // A curve of 100 points (t, cos t, sin t) plotted as sin t over t; then autoScale.
    void addDemoCurve();
    // The scale from the bounds of all points, each axis widened by 0.5 where its bounds
    // are equal; no log axes, no ticks. Steps and labels stay. Nothing without points.
    void autoScale();

    RxScale scale() const { return m_scale; }
    int setScale(const RxScale &s);
    RxProfile profile() const { return m_profile; }
    int setProfile(const RxProfile &p);
    RxComments comments() const { return m_comments; }
    int setComments(const RxComments &c);
    RxPlotDefs plotDefs() const { return m_plotDefs; }
    int setPlotDefs(const RxPlotDefs &d);
    QByteArray name() const { return m_name; }
    QByteArray preamble() const { return m_preamble; }
    // Changes with every change of the document, one made to a curve through curve(i)
    // included.
    quint64 revision() const;

    // How f's rows are to be read, decided once for the column probe, the column question
    // and the read: a data file by its own profile; a column file by the document's
    // profile when the rows of its first 64 KiB all read wholly with it, else (unless
    // detect is false) by a layout detected from them. Leaves f at its start and the
    // document unchanged.
    RxColumnLayout chooseLayout(QFileDevice *f, bool detect = true) const;
    // Reads a data file or a plain column file from the open file f, from its start, in
    // the layout chooseLayout(f) gives. xCol and yCol are the 1-based columns for X and
    // Y; append 1 adds the file's curves to the document instead of replacing it.
    ReadResult read(QFileDevice *f, int xCol, int yCol, int append);
    // The same with a layout chosen before; report, when given, is filled in.
    ReadResult read(QFileDevice *f, int xCol, int yCol, int append, const RxColumnLayout &layout,
        ReadReport *report = nullptr);
    // The number of data columns of the file (chooseLayout's columns), columnsUnknown, or
    // columnsNewerFormat. Leaves f at its start and the document unchanged.
    int checkNumCols(QFileDevice *f) const;
    // Writes the document to the open file f. 0 and nothing written when the document has
    // no points; 0 when a write fails (the name then stays). Else the name becomes f's
    // file name and 1 is returned.
    int save(QFileDevice *f);
    // Writes the whole data file. False when the device refuses a write.
    bool write(QIODevice &out);

    // Column import, by the document's profile.
    // The number of data columns of a row.
    int countColumns(std::string_view line) const;
    // On the first data row of a read: the number of rows when the line is a count line,
    // else 0; decides the profile's useeof when it was 0.
    int detectCount(std::string_view line);
    // The point type and the values of the 1-based columns xCol and yCol. 1 on success,
    // 0 when the row does not hold them: a field that is not wholly a number (a point type
    // wholly a whole number) fails the row. An empty first field of a blank-delimited row
    // is 0.
    int parseRow(std::string_view line, int *type, float *x, float *y, int xCol, int yCol) const;
    // The fixed-width rules with a point-type field of typeWidth characters; a blank type
    // field gives type 1.
    int parseFixedRow(std::string_view line, int *type, float *x, float *y, int xCol, int yCol,
        int typeWidth) const;

    // Drawing and hit testing, defined with the renderer.
    int draw(RxDraw &draw) const;
    void drawCurve(RxDraw &draw, int i, int from, int to, int colourOffset) const;
    int nearestPoint(int px, int py, RxDraw &draw, int *curve, int *point) const;

private:
    struct ReadState;

    void swapContent(RxFile &other);
    int probeColumns(QFileDevice *f, bool *dataFile) const;
    bool profileReadsHead(const QByteArray &head, bool whole) const;
    bool rowIsWhole(std::string_view line) const;
    int parseRowChecked(std::string_view line, int *type, float *x, float *y, int xCol, int yCol,
        QByteArray *why) const;
    // strict false: the scale section's rule, where a field need only start with a number.
    int parseFixed(std::string_view line, int *type, float *x, float *y, int xCol, int yCol,
        int typeWidth, bool strict, QByteArray *why) const;
    ReadResult readContent(ReadState &s);
    ReadResult readDetected(ReadState &s);
    void addReadPoint(ReadState &s, int type, float x, float y);
    void addRuns(ReadState &s, std::vector<RxPointRun> &runs, bool newCurve);
    ReadResult readHeaderPhase(ReadState &s, QByteArray &line);
    ReadResult readRecords(ReadState &s, QByteArray &line);
    ReadResult readDataPhase(ReadState &s, std::string_view first);
    bool addRow(ReadState &s, std::string_view row);
    bool readScaleSection(RxLineReader &in);
    void readRange(const QByteArray &line, bool yAxis);
    void readCommentSection(RxLineReader &in);
    void removeCurvesFrom(int first);
    void appendCurve(std::unique_ptr<RxCurve> c);

    std::vector<std::unique_ptr<RxCurve>> m_curves;
    RxScale m_scale;
    RxProfile m_profile;
    RxComments m_comments;
    RxPlotDefs m_plotDefs;
    QByteArray m_name;
    QByteArray m_preamble;
    RxCurve m_emptyCurve;
    RxRevision m_revision;
};
