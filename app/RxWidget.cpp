#include "app/RxWidget.h"

#include "app/EditCurveWin.h"
#include "dialogs/RxCommentsWin.h"
#include "dialogs/RxCurveWin.h"
#include "dialogs/RxDataTransWin.h"
#include "dialogs/RxNumcolsWin.h"
#include "dialogs/RxPlotDefsWin.h"
#include "dialogs/RxProfileWin.h"
#include "dialogs/RxScaleWin.h"
#include "model/RxInputFile.h"
#include "model/RxSaveFile.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>

namespace {

// Puts a dialog beside the plot's window, so that what it changes in the plot stays in
// view: to the right, else to the left, each only where the screen has room for the whole
// dialog; else it stays where Qt puts it, centred over the plot.
void placeBeside(QWidget *dialog, const QWidget *plot)
{
    const QWidget *window = plot->window();
    const QScreen *screen = window->screen();
    if (!window->isVisible() || !screen)
        return;
    const QRect area = screen->availableGeometry();
    const QRect frame = window->frameGeometry();
    // A dialog has no frame before it is shown; the window manager gives it one like the
    // plot window's.
    const QSize size = dialog->size() + frame.size() - window->geometry().size();
    if (size.height() > area.height())
        return;
    const int top = qBound(area.top(), frame.top(), area.bottom() + 1 - size.height());
    for (const int left : {frame.right() + 1, frame.left() - size.width()}) {
        const QRect place(QPoint(left, top), size);
        if (area.contains(place)) {
            dialog->move(place.topLeft());
            return;
        }
    }
}

// A settings dialog on doc, run modally; its change signal redraws the plot at once.
template <typename Dialog>
void runSettings(RxWidget *widget, RxFile *doc, void (Dialog::*changed)())
{
    auto *dialog = new Dialog(doc, widget);
    QObject::connect(dialog, changed, widget, &RxWidget::redraw);
    placeBeside(dialog, widget);
    dialog->exec();
    delete dialog;
}

const QString newerFormatText = QStringLiteral("File format is newer than code, please upgrade");
const QString notRegularText = QStringLiteral("Not a regular file");

// Restores the cursor on every return path of a save.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

QAction *addItem(QMenu *menu, const QString &text, int key = 0)
{
    QAction *action = menu->addAction(text);
    if (key != 0)
        action->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(key)));
    return action;
}

} // namespace

RxWidget::RxWidget(QWidget *parent)
    : RxWidgetData(parent)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    buildMenus();
}

RxWidget::~RxWidget() = default;

void RxWidget::buildMenus()
{
    m_fileMenu = new QMenu(QStringLiteral("File"), this);
    connect(addItem(m_fileMenu, QStringLiteral("Open..."), Qt::Key_O), &QAction::triggered, this,
        &RxWidget::open);
    connect(addItem(m_fileMenu, QStringLiteral("Append..."), Qt::Key_A), &QAction::triggered, this,
        &RxWidget::append);
    m_fileMenu->addSeparator();
    connect(addItem(m_fileMenu, QStringLiteral("Close"), Qt::Key_W), &QAction::triggered, this,
        &RxWidget::closeWin);
    connect(addItem(m_fileMenu, QStringLiteral("Save..."), Qt::Key_S), &QAction::triggered, this,
        &RxWidget::saveAs);
    m_fileMenu->addSeparator();
    connect(addItem(m_fileMenu, QStringLiteral("File Format...")), &QAction::triggered, this,
        &RxWidget::profile);
    m_fileMenu->addSeparator();
    connect(addItem(m_fileMenu, QStringLiteral("Page Setup...")), &QAction::triggered, this,
        &RxWidget::plotFormat);
    connect(addItem(m_fileMenu, QStringLiteral("Save As PostScript..."), Qt::Key_P),
        &QAction::triggered, this, &RxWidget::saveAsPostscript);
    connect(addItem(m_fileMenu, QStringLiteral("Print...")), &QAction::triggered, this,
        &RxWidget::print);
    m_fileMenu->addSeparator();
    connect(addItem(m_fileMenu, QStringLiteral("Quit"), Qt::Key_Q), &QAction::triggered, this,
        &RxWidget::quit);

    m_settingsMenu = new QMenu(QStringLiteral("Settings"), this);
    m_settingsMenu->addMenu(m_fileMenu);
    connect(addItem(m_settingsMenu, QStringLiteral("Auto Scale")), &QAction::triggered, this,
        &RxWidget::autoScale);
    m_settingsMenu->addSeparator();
    connect(addItem(m_settingsMenu, QStringLiteral("Rescale..."), Qt::Key_R), &QAction::triggered,
        this, &RxWidget::rescale);
    connect(addItem(m_settingsMenu, QStringLiteral("Comment...")), &QAction::triggered, this,
        &RxWidget::comments);
    connect(addItem(m_settingsMenu, QStringLiteral("Curves Format...")), &QAction::triggered, this,
        &RxWidget::curveFormat);
    connect(addItem(m_settingsMenu, QStringLiteral("Data Transforms...")), &QAction::triggered,
        this, &RxWidget::dataTrans);
    m_settingsMenu->addSeparator();
    connect(addItem(m_settingsMenu, QStringLiteral("Close")), &QAction::triggered, this,
        &RxWidget::closeWin);
}

QString RxWidget::fileName() const
{
    return QFile::decodeName(m_document.name());
}

void RxWidget::setFile(const RxFile &doc)
{
    m_document = doc;
    m_scale = doc.scale();
    m_plotDefs = doc.plotDefs();
    update();
}

void RxWidget::paint(QPaintDevice *device)
{
    m_plotDefs = m_document.plotDefs();
    m_scale = m_document.scale();
    QPainter painter(device);
    if (!m_renderer.beginScreen(&painter, width(), height(), m_plotDefs, m_scale))
        return;
    m_document.draw(m_renderer);
    if (m_selectedCurve > -1)
        m_document.drawCurve(m_renderer, m_selectedCurve, m_selectionStart, m_selectionEnd, 1);
    m_renderer.end();
}

RxWidget::PictureKey RxWidget::pictureKey() const
{
    return {m_document.revision(), size(), devicePixelRatioF(), m_selectedCurve, m_selectionStart,
        m_selectionEnd, palette().color(QPalette::Window).rgba()};
}

void RxWidget::paintEvent(QPaintEvent *)
{
    if (width() <= 0 || height() <= 0)
        return;
    const PictureKey key = pictureKey();
    if (m_picture.isNull() || key != m_pictureKey) {
        // The renderer keeps the mapping of this paint for point picking, which stays right
        // for as long as the picture does.
        const qreal ratio = devicePixelRatioF();
        m_picture = QPixmap(size() * ratio);
        m_picture.setDevicePixelRatio(ratio);
        m_picture.fill(palette().color(QPalette::Window));
        paint(&m_picture);
        m_pictureKey = key;
    }
    QPainter(this).drawPixmap(0, 0, m_picture);
}

void RxWidget::resizeEvent(QResizeEvent *event)
{
    RxWidgetData::resizeEvent(event);
    update();
}

void RxWidget::mousePressEvent(QMouseEvent *event)
{
    emit rxWidgetClicked(event);
    const QPoint at = event->position().toPoint();
    int curve = 0;
    int point = 0;
    // The renderer counts y upwards from the bottom edge.
    if (m_document.nearestPoint(at.x(), height() - at.y(), m_renderer, &curve, &point) == 1)
        emit pointClicked(curve, point);
}

void RxWidget::showMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Rx"), text, QMessageBox::Ok, this);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

void RxWidget::warn(const QString &caption, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, this);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

void RxWidget::showNewerFormat()
{
    showMessage(newerFormatText);
}

// Asks before an existing file is replaced; true to go on.
bool RxWidget::confirmOverwrite(const QString &name)
{
    if (!QFileInfo::exists(name))
        return true;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Rx"),
        QStringLiteral("File Exists, Overwrite?"), QMessageBox::NoButton, this);
    // Custom buttons of one role keep "No" first whatever order the style gives roles.
    QPushButton *no = box.addButton(QStringLiteral("No"), QMessageBox::ActionRole);
    QPushButton *yes = box.addButton(QStringLiteral("Yes"), QMessageBox::ActionRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

// A save may only make a file or replace a regular one: saving over a device or a named
// pipe would put a plain file in its place. True to go on; else the user is told.
bool RxWidget::replaceable(const QString &name, const QString &caption)
{
    if (RxSaveFile::isReplaceable(name))
        return true;
    warn(caption, notRegularText);
    return false;
}

// The data file first, then the column files that the reader detects the layout of.
static QString readFilter()
{
    return QStringLiteral("*.rx;;Column files (*.dat *.txt *.csv *.tsv *.xy);;All files (*)");
}

QString RxWidget::askOpenName()
{
    return QFileDialog::getOpenFileName(this, QStringLiteral("Open"), QString(), readFilter());
}

QString RxWidget::askAppendName()
{
    QFileDialog dialog(this, QStringLiteral("Append"), QString(), readFilter());
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString RxWidget::askSaveName(const QString &start)
{
    // The overwrite question is the program's own.
    return QFileDialog::getSaveFileName(this, QStringLiteral("Save"), start, QStringLiteral("*.rx"),
        nullptr, QFileDialog::DontConfirmOverwrite);
}

QString RxWidget::askPostScriptName(const QString &start, const QString &filter)
{
    QFileDialog dialog(this, QStringLiteral("Save as Postscript"), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.selectFile(start);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

bool RxWidget::askColumns(const RxColumnLayout &layout, int *xCol, int *yCol)
{
    RxNumcolsWin dialog(layout, xCol, yCol, this);
    return dialog.exec() == 1;
}

bool RxWidget::acceptPrintDialog(QPrinter &printer)
{
    QPrintDialog dialog(&printer, this);
    return dialog.exec() == QDialog::Accepted;
}

int RxWidget::writeDocument(RxFile &doc, QFileDevice *target)
{
    return doc.save(target);
}

void RxWidget::open()
{
    readFile(askOpenName(), 0);
}

void RxWidget::append()
{
    readFile(askAppendName(), 1);
}

void RxWidget::readFile(const QString &name, int append)
{
    if (name.isEmpty())
        return;
    QFile file;
    switch (rxOpenInputFile(file, name)) {
    case RxInputOpen::Opened:
        break;
    case RxInputOpen::Failed:
        showMessage(QStringLiteral("File Open failed"));
        return;
    case RxInputOpen::NotRegular:
        showMessage(notRegularText);
        return;
    }
    // Read into a copy, profile included since it decides how column files are read, so
    // that a failed read leaves the document as it was.
    RxFile doc(m_document);
    // One choice of layout for the column question and the read.
    const RxColumnLayout layout = doc.chooseLayout(&file);
    if (layout.source == RxColumnLayout::Source::NewerFormat) {
        showNewerFormat();
        return;
    }
    int xCol = layout.xCol;
    int yCol = layout.yCol;
    if (layout.numericColumns >= 3 && !askColumns(layout, &xCol, &yCol))
        return;
    RxFile::ReadReport report;
    switch (doc.read(&file, xCol, yCol, append, layout, &report)) {
    case RxFile::ReadResult::NewerFormat:
        showNewerFormat();
        return;
    case RxFile::ReadResult::Failed:
        showMessage(QStringLiteral("Read failed"));
        return;
    case RxFile::ReadResult::Ok:
        break;
    }
    m_document = doc;
    m_scale = m_document.scale();
    update();
    emit fileChanged();
    if (report.skippedRows > 0)
        showMessage(report.skippedText());
}

int RxWidget::read(QFile *f, int xCol, int yCol, int append)
{
    switch (m_document.read(f, xCol, yCol, append)) {
    case RxFile::ReadResult::Ok:
        return 1;
    case RxFile::ReadResult::NewerFormat:
        return readNewerFormat;
    case RxFile::ReadResult::Failed:
        break;
    }
    return 0;
}

int RxWidget::checkNumCols(QFile *f)
{
    return m_document.checkNumCols(f);
}

void RxWidget::saveAs()
{
    const QByteArray docName = m_document.name();
    const QString start = docName.contains('+') ? QString() : QFile::decodeName(docName);
    const QString name = askSaveName(start);
    const QString caption = QStringLiteral("Save As");
    if (name.isEmpty() || !replaceable(name, caption) || !confirmOverwrite(name))
        return;
    // Refused before the target is touched, so that an existing file keeps its contents.
    if (m_document.totalPoints() < 1) {
        warn(caption, QStringLiteral("File not Written"));
        return;
    }
    // RxSaveFile replaces the target only once everything is written, so a failed write
    // never leaves a truncated file in place of a good one.
    RxSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly)) {
        warn(caption, QStringLiteral("Can't write file"));
        return;
    }
    // The save names the document after the target; a copy keeps the old name when the
    // commit fails after the writes.
    RxFile saved(m_document);
    bool ok = false;
    {
        WaitCursor wait;
        ok = writeDocument(saved, &file) == 1 && file.finish();
    }
    if (!ok) {
        warn(caption, QStringLiteral("File not Written"));
        return;
    }
    m_document = saved;
    emit fileChanged();
}

QString RxWidget::postScriptStartName(const QByteArray &docName, const QString &extension)
{
    if (docName.isEmpty() || docName.contains('+'))
        return QString();
    const qsizetype dot = docName.indexOf('.');
    return QFile::decodeName(dot < 0 ? docName : docName.left(dot)) + extension;
}

void RxWidget::saveAsPostscript()
{
    const RxPlotDefs defs = m_document.plotDefs();
    const QString extension
        = defs.encapsulated() == 1 ? QStringLiteral(".eps") : QStringLiteral(".ps");
    const QString name = askPostScriptName(
        postScriptStartName(m_document.name(), extension), QStringLiteral("*") + extension);
    if (name.isEmpty() || !replaceable(name, QStringLiteral("Save As PostScript"))
        || !confirmOverwrite(name))
        return;
    const RxScale scale = m_document.scale();
    // Checked before the target is created or emptied.
    if (!RxDraw().beginPostScript(nullptr, defs, scale)) {
        showMessage(QStringLiteral("Bad Plot Size"));
        return;
    }
    RxSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly)) {
        showMessage(QStringLiteral("File Open failed"));
        return;
    }
    RxDraw draw;
    if (!draw.beginPostScript(&file, defs, scale)) {
        showMessage(QStringLiteral("Bad Plot Size"));
        return;
    }
    m_document.draw(draw);
    draw.end();
    if (draw.outputFailed() || !file.finish()) {
        warn(QStringLiteral("Save As PostScript"), QStringLiteral("File not Written"));
        return;
    }
    showMessage(QStringLiteral("PS written to file"));
}

void RxWidget::print()
{
    const RxPlotDefs defs = m_document.plotDefs();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    // Without it the painter's window is squeezed into the printable area.
    printer.setFullPage(true);
    printer.setCreator(QStringLiteral("Ruxa"));
    printer.setDocName(fileName());
    printer.setPageOrientation(
        defs.rotatePlot() == 1 ? QPageLayout::Portrait : QPageLayout::Landscape);
    if (!acceptPrintDialog(printer))
        return;
    // Device units of one point: fonts are sized against the device resolution and then
    // scaled again by the painter's window, so at any other resolution text would grow or
    // shrink against the plot. Set after the dialog, which may choose another engine.
    printer.setResolution(72);

    const RxScale scale = m_document.scale();
    QPainter painter;
    if (!painter.begin(&printer)) {
        showMessage(QStringLiteral("Printing failed"));
        return;
    }
    // Truncated toward zero: Letter comes out as 612 x 791 points.
    const QRectF mm = printer.pageLayout().fullRect(QPageLayout::Millimeter);
    const int width = static_cast<int>(mm.width() * (72.0 / 25.4));
    const int height = static_cast<int>(mm.height() * (72.0 / 25.4));
    painter.setWindow(0, 0, width, height);
    RxDraw draw;
    if (!draw.beginPrinter(&painter, width, height, defs, scale)) {
        painter.end();
        showMessage(QStringLiteral("Internal Error"));
        return;
    }
    m_document.draw(draw);
    draw.end();
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        showMessage(QStringLiteral("Printing failed"));
        return;
    }
    showMessage(QStringLiteral("Printing Complete"));
}

void RxWidget::profile()
{
    RxProfileWin dialog(&m_document, this);
    placeBeside(&dialog, this);
    dialog.exec();
}

void RxWidget::redraw()
{
    update();
}

void RxWidget::autoScale()
{
    m_document.autoScale();
    redraw();
}

void RxWidget::setSelection(int curve, int start, int end)
{
    m_selectedCurve = curve;
    m_selectionStart = start;
    m_selectionEnd = end;
}

RxCurve RxWidget::selectedPoints(int curve, int start, int end) const
{
    return m_document.extractCurve(curve, start, end);
}

int RxWidget::deletePoints(int curve, int start, int end)
{
    if (start == -1)
        return m_document.removeCurve(curve);
    if (curve < 0 || curve >= m_document.numCurves())
        return 0;
    const RxCurve &c = *m_document.curve(curve);
    const int n = c.numPoints();
    // A selection made before the curve shrank must not cut anything else.
    if (n == 0 || start < 0 || start > end || end >= n)
        return 0;
    RxCurve head;
    RxCurve tail;
    if (start > 0 && !head.copyRange(c, 0, start))
        return 0;
    if (end < n - 1 && !tail.copyRange(c, end, n - 1))
        return 0;
    if (head.numPoints() > 1)
        m_document.setCurve(curve, head);
    else
        m_document.removeCurve(curve);
    if (tail.numPoints() > 1)
        m_document.addCurve(tail);
    return 1;
}

int RxWidget::pastePoints(const RxCurve &points, const RxScale &scale)
{
    const bool wasEmpty = m_document.totalPoints() == 0;
    m_document.addCurve(points);
    if (wasEmpty) {
        m_document.setScale(scale);
        update();
    }
    return 1;
}

int RxWidget::curveBounds(int curve, float *xmax, float *xmin, float *ymax, float *ymin) const
{
    return m_document.curveBounds(curve, xmax, xmin, ymax, ymin);
}

void RxWidget::quit()
{
    emit popupQuit(1);
}

void RxWidget::closeWin()
{
    emit popupQuit(2);
}

void RxWidget::rescale()
{
    runSettings(this, &m_document, &RxScaleWin::scaleChanged);
}

void RxWidget::curveFormat()
{
    runSettings(this, &m_document, &RxCurveWin::curveChanged);
}

void RxWidget::comments()
{
    runSettings(this, &m_document, &RxCommentsWin::commentsChanged);
}

void RxWidget::plotFormat()
{
    runSettings(this, &m_document, &RxPlotDefsWin::plotDefsChanged);
}

void RxWidget::dataTrans()
{
    runSettings(this, &m_document, &RxDataTransWin::dataChanged);
}

void RxWidget::editCurves()
{
    // The editor works on points; an empty document gets one to start from.
    if (m_document.totalPoints() == 0)
        m_document.addPoint(0, PointNewLine, 0.0f, 0.0f);
    EditCurveWin dialog(&m_document, this);
    connect(&dialog, &EditCurveWin::dataChanged, this, &RxWidget::redraw);
    placeBeside(&dialog, this);
    dialog.exec();
}
