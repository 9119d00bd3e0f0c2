#pragma once

#include "app/RxWidgetData.h"
#include "model/RxFile.h"
#include "render/RxDraw.h"

#include <QPixmap>
#include <QRgb>
#include <QSize>
#include <QString>

#include <tuple>

class QFile;
class QFileDevice;
class QMenu;
class QMouseEvent;
class QPaintDevice;
class QPrinter;

// The plot area of a window: owns the window's document, paints it through one renderer
// that keeps the mapping of the last paint (for point picking), builds the "File" and
// "Settings" menus and carries out their commands.
class RxWidget : public RxWidgetData
{
    Q_OBJECT

public:
    // What the read slot gives back besides 1 (read) and 0 (failed): the file announces a
    // newer format, and the document is as it was.
    static constexpr int readNewerFormat = -2;

    explicit RxWidget(QWidget *parent = nullptr);
    ~RxWidget() override;

    QMenu *fileMenu() const { return m_fileMenu; }
    QMenu *settingsMenu() const { return m_settingsMenu; }
    QString fileName() const;
    // The document shown; a copy of doc replaces it.
    void setFile(const RxFile &doc);
    const RxFile &document() const { return m_document; }
    RxFile &document() { return m_document; }
    // Draws the plot afresh on device, which has the widget's size.
    void paint(QPaintDevice *device);
    // The reading path shared by "Open..." (append 0), "Append..." (append 1) and a file
    // dropped on the window. The document changes only when the whole read succeeds.
    void readFile(const QString &name, int append);
    // Modal message box captioned "Rx", no icon, one default OK button.
    void showMessage(const QString &text);
    int selectedCurve() const { return m_selectedCurve; }
    int selectionStart() const { return m_selectionStart; }
    int selectionEnd() const { return m_selectionEnd; }

    // Point ranges, for the window's selection. start -1 means the whole curve.
    // A copy of points start ... end of curve; empty when the range does not fit it.
    RxCurve selectedPoints(int curve, int start, int end) const;
    // Removes the points strictly between start and end: the head up to start stays in
    // place, the tail from end on becomes the last curve, a part of one point is dropped.
    // 0 and nothing changed when the range does not fit the curve.
    int deletePoints(int curve, int start, int end);
    // Appends a copy of points as the last curve; a document that had no points takes
    // scale, so that the points keep the axes they came with. Returns 1.
    int pastePoints(const RxCurve &points, const RxScale &scale);
    RxScale scale() const { return m_document.scale(); }
    int curveBounds(int curve, float *xmax, float *xmin, float *ymax, float *ymin) const;
    // The start name that "Save As PostScript..." offers for a document name: empty for
    // a document that files were appended to (its name holds "+") or that has no name,
    // else the name without anything from its first "." on, followed by extension.
    static QString postScriptStartName(const QByteArray &docName, const QString &extension);

public slots:
    void saveAsPostscript() override;
    void open() override;
    void append() override;
    void saveAs() override;
    void rescale() override;
    void profile() override;
    void redraw() override;
    void comments() override;
    void curveFormat() override;
    void plotFormat() override;
    // The document's read: 1 read, 0 failed (an open leaves the document empty), or
    // readNewerFormat. No repaint.
    int read(QFile *f, int xCol, int yCol, int append) override;
    void quit() override;
    void closeWin() override;
    int checkNumCols(QFile *f) override;
    void autoScale() override;
    void setSelection(int curve, int start, int end) override;
    void dataTrans() override;
    void print() override;
    void editCurves() override;

signals:
    void fileChanged();
    void popupQuit(int how);
    void rxWidgetClicked(QMouseEvent *event);
    void pointClicked(int curve, int point);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

    // Seams for the modal questions, so that tests can answer them. A file-name question
    // returns an empty name when the user cancels.
    virtual QString askOpenName();
    virtual QString askAppendName();
    virtual QString askSaveName(const QString &start);
    virtual QString askPostScriptName(const QString &start, const QString &filter);
    // "Select Data Columns" for a file read in layout: true with the 1-based columns
    // stored, false when cancelled.
    virtual bool askColumns(const RxColumnLayout &layout, int *xCol, int *yCol);
    // The printer setup dialog: true when the user accepts.
    virtual bool acceptPrintDialog(QPrinter &printer);
    // Writes doc to the open target; 1 when every write succeeded (the document's save).
    virtual int writeDocument(RxFile &doc, QFileDevice *target);

private:
    void buildMenus();
    bool confirmOverwrite(const QString &name);
    bool replaceable(const QString &name, const QString &caption);
    void warn(const QString &caption, const QString &text);
    void showNewerFormat();

    // What a picture of the plot shows: the document as it was, the widget's size and pixel
    // ratio, the selection drawn over the curves, and the background.
    using PictureKey = std::tuple<quint64, QSize, qreal, int, int, int, QRgb>;
    PictureKey pictureKey() const;

    RxFile m_document;
    // The plot as last painted: a repaint that changes nothing (an expose, a menu or dialog
    // closing over the plot) copies it rather than drawing every point again.
    QPixmap m_picture;
    PictureKey m_pictureKey;
    RxDraw m_renderer;
    RxScale m_scale;
    RxPlotDefs m_plotDefs;
    QMenu *m_settingsMenu = nullptr;
    QMenu *m_fileMenu = nullptr;
    int m_selectedCurve = -1;
    int m_selectionStart = 0;
    int m_selectionEnd = 0;
};
