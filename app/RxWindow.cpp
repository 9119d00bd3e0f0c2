#include "app/RxWindow.h"

#include "app/RxMainWidget.h"
#include "app/RxWidget.h"
#include "model/RxNumberText.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPalette>
#include <QPointer>
#include <QResizeEvent>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <QUrl>

int RxWindow::s_windowCount = 0;
QSize RxWindow::s_defaultSize(500, 400);
RxMainWidget *RxWindow::s_mainWidget = nullptr;
RxWindow::Clip RxWindow::s_clip;

static void quitApplication()
{
    QCoreApplication::quit();
}

void (*RxWindow::s_quitHandler)() = quitApplication;

// One style object for all windows: a widget does not own the style it is given.
static QStyle *windowsStyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = QStyleFactory::create("Windows");
        if (style)
            style->setParent(qApp);
    }
    return style;
}

static QUrl firstLocalFile(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    for (const QUrl &url : urls) {
        if (url.isLocalFile())
            return url;
    }
    return {};
}

RxWindow::RxWindow(QWidget *parent)
    : RxWindowData(parent)
{
    if (QStyle *style = windowsStyle())
        setStyle(style);
    resize(s_defaultSize);
    MenuBar_1->setMaximumHeight(50);

    QPalette pal = User_1->palette();
    pal.setColor(QPalette::Window, Qt::white);
    User_1->setPalette(pal);
    User_1->setAutoFillBackground(true);

    updateCaption();

    connect(User_1, &RxWidget::fileChanged, this, &RxWindow::updateFileChange);
    connect(User_1, &RxWidget::popupQuit, this, &RxWindow::quit);
    connect(User_1, &RxWidget::pointClicked, this, &RxWindow::pointSelected);
    if (s_mainWidget) {
        connect(this, &RxWindow::editChanged, s_mainWidget, &RxMainWidget::changedEdit);
        connect(s_mainWidget, &RxMainWidget::editChanged, this, &RxWindow::changedEdit);
    }

    buildMenus();
    placeChildren();
    setAcceptDrops(true);
    ++s_windowCount;
}

RxWindow::~RxWindow()
{
    if (m_counted)
        --s_windowCount;
}

void RxWindow::buildMenus()
{
    QMenu *file = User_1->fileMenu();
    file->setTitle(QStringLiteral("File"));
    auto *newAction = new QAction(QStringLiteral("New..."), file);
    newAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(newAction, &QAction::triggered, this, &RxWindow::newWindow);
    file->insertAction(file->actions().value(0), newAction);
    MenuBar_1->addMenu(file);

    m_editMenu = new QMenu(QStringLiteral("Edit"), this);
    m_cutAction = m_editMenu->addAction(QStringLiteral("Cut"), this, &RxWindow::cut);
    m_cutAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    m_copyAction = m_editMenu->addAction(QStringLiteral("Copy"), this, &RxWindow::copy);
    m_copyAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    m_pasteAction = m_editMenu->addAction(QStringLiteral("Paste"), this, &RxWindow::paste);
    m_pasteAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    m_editMenu->addSeparator();
    m_statsAction = m_editMenu->addAction(
        QStringLiteral("Selection Stats..."), this, &RxWindow::selectionStats);
    MenuBar_1->addMenu(m_editMenu);
    m_cutAction->setEnabled(false);
    m_copyAction->setEnabled(false);
    m_statsAction->setEnabled(false);
    m_pasteAction->setEnabled(s_clip.flag != 0);
    m_editMenu->addAction(QStringLiteral("Data..."), User_1, &RxWidget::editCurves);

    QMenu *settings = User_1->settingsMenu();
    settings->setTitle(QStringLiteral("Settings"));
    MenuBar_1->addMenu(settings);
    MenuBar_1->addSeparator();

    QMenu *help = new QMenu(QStringLiteral("Help"), this);
    help->addAction(QStringLiteral("Version"), this, &RxWindow::version);
    MenuBar_1->addMenu(help);
}

void RxWindow::placeChildren()
{
    // Taller than the bar needs would hide the plot's top; shorter would clip the titles
    // under a large font.
    const int barHeight = qBound(25, MenuBar_1->sizeHint().height(), 50);
    MenuBar_1->setGeometry(0, 0, width(), barHeight);
    User_1->setGeometry(0, barHeight, width(), qMax(0, height() - barHeight));
}

void RxWindow::updateCaption()
{
    const QByteArray name = User_1->document().name();
    setWindowTitle(name.isEmpty() ? QStringLiteral("Rx") : QFile::decodeName(name));
}

void RxWindow::initShared(RxMainWidget *relay, QSize defaultSize)
{
    s_windowCount = 0;
    s_defaultSize = defaultSize;
    s_mainWidget = relay;
    s_clip = Clip();
}

void RxWindow::setQuitHandler(void (*handler)())
{
    s_quitHandler = handler ? handler : quitApplication;
}

const char *RxWindow::versionText()
{
    return "Ruxa " RUXA_VERSION;
}

void RxWindow::setFile(const RxFile &doc)
{
    User_1->setFile(doc);
    updateCaption();
}

void RxWindow::updateFileChange()
{
    emit fileChanged();
    clearSelection();
    updateCaption();
}

void RxWindow::open()
{
    User_1->open();
    show();
}

int RxWindow::read(QFile *f, int xCol, int yCol, int append)
{
    return User_1->read(f, xCol, yCol, append);
}

int RxWindow::checkNumCols(QFile *f)
{
    return User_1->checkNumCols(f);
}

void RxWindow::quit(int how)
{
    if (!m_counted)
        return;
    if (how == 1 && s_windowCount >= 2) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Rx"),
            QStringLiteral("Close all Windows and Quit?"), QMessageBox::Yes | QMessageBox::No,
            this);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        if (box.exec() != QMessageBox::Yes)
            return;
        s_quitHandler();
    }
    m_counted = false;
    --s_windowCount;
    if (s_windowCount == 0)
        s_quitHandler();
    done(0);
}

void RxWindow::newWindow()
{
    auto *w = new RxWindow;
    w->show();
}

void RxWindow::version()
{
    User_1->showMessage(QString::fromLatin1(versionText()));
}

void RxWindow::resizeEvent(QResizeEvent *event)
{
    RxWindowData::resizeEvent(event);
    placeChildren();
    s_defaultSize = size();
}

void RxWindow::closeEvent(QCloseEvent *event)
{
    if (isVisible())
        quit(2);
    event->accept();
}

void RxWindow::reject()
{
    quit(2);
}

void RxWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!firstLocalFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void RxWindow::dropEvent(QDropEvent *event)
{
    const QUrl url = firstLocalFile(event->mimeData());
    if (url.isEmpty())
        return;
    event->acceptProposedAction();
    // Reading may ask for columns or show a message: run it after the drop has finished, so
    // that no modal dialog keeps the drag source waiting.
    const QString name = url.toLocalFile();
    QTimer::singleShot(0, this, [this, name] { User_1->readFile(name, 0); });
}

void RxWindow::clearSelection()
{
    m_selectionState = 0;
    m_cutAction->setEnabled(false);
    m_copyAction->setEnabled(false);
    m_statsAction->setEnabled(false);
    User_1->setSelection(-1, 0, 0);
    User_1->update();
}

void RxWindow::changedEdit()
{
    m_pasteAction->setEnabled(s_clip.flag != 0);
}

void RxWindow::pointSelected(int curve, int point)
{
    switch (m_selectionState) {
    case 0:
        m_selectedCurve = curve;
        m_selectionStart = point;
        m_selectionState = 1;
        User_1->setSelection(curve, -2, point);
        User_1->update();
        return;
    case 1:
        if (curve != m_selectedCurve)
            return;
        if (m_selectionStart < point) {
            m_selectionEnd = point;
        } else {
            m_selectionEnd = m_selectionStart;
            m_selectionStart = point;
        }
        // The same point twice picks the whole curve.
        if (m_selectionStart == m_selectionEnd) {
            m_selectionStart = -1;
            m_selectionEnd = 0;
        }
        m_selectionState = 2;
        m_cutAction->setEnabled(true);
        m_copyAction->setEnabled(true);
        m_statsAction->setEnabled(true);
        User_1->setSelection(m_selectedCurve, m_selectionStart, m_selectionEnd);
        User_1->update();
        return;
    default:
        clearSelection();
        return;
    }
}

bool RxWindow::copySelection()
{
    // Only a range can be copied; a single marked point is no selection yet.
    RxCurve points;
    if (m_selectionState == 2)
        points = User_1->selectedPoints(m_selectedCurve, m_selectionStart, m_selectionEnd);
    if (points.numPoints() == 0) {
        m_pasteAction->setEnabled(false);
        s_clip.flag = 0;
        emit editChanged();
        return false;
    }
    s_clip.curve = std::move(points);
    m_pasteAction->setEnabled(true);
    s_clip.flag = 1;
    emit editChanged();
    // Other programs get the points as text; the program itself pastes from the clip curve.
    QByteArray text;
    s_clip.curve.writePoints(text);
    QGuiApplication::clipboard()->setText(QString::fromLatin1(text));
    s_clip.scale = User_1->scale();
    return true;
}

void RxWindow::copy()
{
    copySelection();
}

void RxWindow::cut()
{
    if (copySelection())
        User_1->deletePoints(m_selectedCurve, m_selectionStart, m_selectionEnd);
    clearSelection();
}

void RxWindow::paste()
{
    if (s_clip.flag != 1)
        return;
    User_1->pastePoints(s_clip.curve, s_clip.scale);
    User_1->update();
    m_pasteAction->setEnabled(false);
}

QString RxWindow::statisticsText(const RxCurve &points, const float *slope, const float *intercept)
{
    QByteArray out;
    const auto line = [&out](const char *label, double value) {
        out += label;
        rxAppendG(out, value);
        out += '\n';
    };
    out += "Number of Points = ";
    rxAppendInt(out, points.numPoints());
    out += '\n';
    // Without points the bounds are only their start values and mean nothing.
    if (points.numPoints() > 0) {
        float xmax = 0.0f;
        float xmin = 0.0f;
        float ymax = 0.0f;
        float ymin = 0.0f;
        float xmean = 0.0f;
        float ymean = 0.0f;
        points.bounds(&xmax, &xmin, &ymax, &ymin);
        points.mean(&xmean, &ymean);
        line("X max = ", xmax);
        line("X min = ", xmin);
        line("\tAverage X = ", xmean);
        line("Y max = ", ymax);
        line("Y min = ", ymin);
        line("\tAverage Y = ", ymean);
    }
    if (slope && intercept) {
        out += "Linear Fit:\n\t Y = ";
        rxAppendG(out, *slope);
        out += " X + ";
        rxAppendG(out, *intercept);
        out += '\n';
    } else {
        out += "Linear Fit:\n\tnot possible\n";
    }
    return QString::fromLatin1(out);
}

void RxWindow::selectionStats()
{
    if (m_selectionState != 2)
        return;
    RxCurve points = User_1->selectedPoints(m_selectedCurve, m_selectionStart, m_selectionEnd);
    // A range the curve no longer holds yields nothing; the points a later "Paste" would
    // use are kept rather than replaced by none.
    if (points.numPoints() > 0)
        s_clip.curve = points;
    float slope = 0.0f;
    float intercept = 0.0f;
    const bool fitted = points.linearFit(&slope, &intercept, -1, 0) == 1;
    {
        QMessageBox box(QMessageBox::Information, QStringLiteral("Selection Statistics"),
            fitted ? statisticsText(points, &slope, &intercept) : statisticsText(points),
            QMessageBox::Ok, this);
        box.setDefaultButton(QMessageBox::Ok);
        box.exec();
    }
    if (!fitted)
        return;
    QMessageBox ask(QMessageBox::NoIcon, QStringLiteral("Linear Fit"),
        QStringLiteral("Append Linear fit as new Curve?"), QMessageBox::Yes | QMessageBox::No,
        this);
    ask.setDefaultButton(QMessageBox::No);
    if (ask.exec() != QMessageBox::Yes)
        return;
    float xmax = 0.0f;
    float xmin = 0.0f;
    float ymax = 0.0f;
    float ymin = 0.0f;
    // The line spans the whole curve, not only the selected points.
    if (!User_1->curveBounds(m_selectedCurve, &xmax, &xmin, &ymax, &ymin))
        return;
    RxCurve line;
    line.addPoint(PointNewLine, xmin, xmin * slope + intercept);
    line.addPoint(PointLine, xmax, xmax * slope + intercept);
    User_1->pastePoints(line, s_clip.scale);
    User_1->update();
}
