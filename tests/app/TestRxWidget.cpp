#include "app/RxWidget.h"

#include "RxTestGui.h"
#include "model/RxSaveFile.h"
#include "render/RxGhostscript.h"

#include <QtTest>

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <functional>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using WidgetChange = std::function<void(RxWidget &)>;
Q_DECLARE_METATYPE(WidgetChange)

namespace {

// Answers the widget's questions from the test instead of the real dialogs.
class Widget : public RxWidget
{
public:
    QString nextName;
    QString start = "unset"; // the start name that the last save question offered
    QString filter;
    QString pdfPath;
    bool failWrites = false;
    int redraws = 0;

    void redraw() override
    {
        ++redraws;
        RxWidget::redraw();
    }

protected:
    QString askOpenName() override { return nextName; }
    QString askAppendName() override { return nextName; }
    QString askSaveName(const QString &offered) override
    {
        return askPostScriptName(offered, "*.rx");
    }
    QString askPostScriptName(const QString &offered, const QString &offeredFilter) override
    {
        start = offered;
        filter = offeredFilter;
        return nextName;
    }
    bool acceptPrintDialog(QPrinter &printer) override
    {
        if (pdfPath.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
        return true;
    }
    int writeDocument(RxFile &doc, QFileDevice *target) override
    {
        if (!failWrites)
            return RxWidget::writeDocument(doc, target);
        // A disk that fills up half way through.
        target->write("C partial\n");
        return 0;
    }
};

QByteArray written(RxFile doc)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    doc.write(buffer);
    return buffer.data();
}

RxFile demo()
{
    RxFile doc;
    doc.addDemoCurve();
    return doc;
}

RxFile twoPoints()
{
    RxFile doc;
    doc.addPoint(0, 0, 1.0f, 2.0f);
    doc.addPoint(0, 1, 3.0f, 5.0f);
    doc.autoScale();
    return doc;
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// In dir: "pipe", a named pipe, and "pipe-link", a symbolic link to it. Reading a named pipe
// would wait for a writer; saving over one would replace it with a plain file.
bool makePipe(const QString &dir)
{
    const QString pipe = dir + QStringLiteral("/pipe");
    return ::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0
        && QFile::link(pipe, dir + QStringLiteral("/pipe-link"));
}

} // namespace

class TestRxWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<QMouseEvent *>(); }
    void init();
    void menus_data();
    void menus();
    void openRefusedLeavesDocument_data();
    void openRefusedLeavesDocument();
    void openAppendAndStartNames();
    void columnFileAsksAndTellsOnce();
    void postScriptStartName_data();
    void postScriptStartName();
    void saveWritesOrKeepsOldFile_data();
    void saveWritesOrKeepsOldFile();
    void saveRefusesWhatIsNotAFile();
    void saveThroughLinkKeepsOwner();
    void fullDiskKeepsOldFile();
    void postScript();
    void badPlotSizeCreatesNoFile();
    void printToPdf();
    void mousePress_data();
    void mousePress();
    void pointDialogs();
    void settingsDialogsRedraw_data();
    void settingsDialogsRedraw();
    void repaintShowsEveryChange_data();
    void repaintShowsEveryChange();

private:
    QString put(const QString &name, const QByteArray &bytes);
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestRxWidget::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString TestRxWidget::put(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir->filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return QString();
    return path;
}

void TestRxWidget::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("File") << "File"
                          << QStringList {"Open...\tCtrl+O", "Append...\tCtrl+A", "-",
                                 "Close\tCtrl+W", "Save...\tCtrl+S", "-", "File Format...\t", "-",
                                 "Page Setup...\t", "Save As PostScript...\tCtrl+P", "Print...\t",
                                 "-", "Quit\tCtrl+Q"};
    QTest::newRow("Settings") << "Settings"
                              << QStringList {"File\t", "Auto Scale\t", "-", "Rescale...\tCtrl+R",
                                     "Comment...\t", "Curves Format...\t", "Data Transforms...\t",
                                     "-", "Close\t"};
}

void TestRxWidget::menus()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, items);
    Widget w;
    QMenu *m = menu == "File" ? w.fileMenu() : w.settingsMenu();
    QCOMPARE(m->title(), menu);
    QStringList actual;
    for (const QAction *a : m->actions())
        actual << (a->isSeparator() ? QString("-") : a->text() + '\t' + a->shortcut().toString());
    QCOMPARE(actual, items);
    if (menu == "Settings")
        QCOMPARE(m->actions().constFirst()->menu(), w.fileMenu());
}

void TestRxWidget::openRefusedLeavesDocument_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("seen");
    const QString newer = "Rx: File format is newer than code, please upgrade";
    QTest::newRow("cancelled") << QString() << QByteArray() << QStringList();
    QTest::newRow("cannot open") << "missing.rx" << QByteArray()
                                 << QStringList {"Rx: File Open failed"};
    QTest::newRow("columns cancelled")
        << "three.txt" << QByteArray("1\t2\t3\n4\t5\t6\n") << QStringList {"Select Data Columns"};
    QTest::newRow("read failed") << "bad.rx" << QByteArray("0abcdefghijklmnopqrst\n")
                                 << QStringList {"Rx: Read failed"};
    QTest::newRow("newer format") << "newer.rx" << QByteArray("C ***Ruxa***: 2\nC profile:\n")
                                  << QStringList {newer};
    QTest::newRow("named pipe") << "pipe" << QByteArray() << QStringList {"Rx: Not a regular file"};
    QTest::newRow("link to a named pipe")
        << "pipe-link" << QByteArray() << QStringList {"Rx: Not a regular file"};
}

void TestRxWidget::openRefusedLeavesDocument()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, seen);
    Widget w;
    w.resize(300, 200);
    const QString old = put("old.rx", written(twoPoints()));
    w.readFile(old, 0);
    const QByteArray docBefore = written(w.document());
    const QImage before = w.grab().toImage();
    QSignalSpy changed(&w, &RxWidget::fileChanged);
    if (file.startsWith("pipe"))
        QVERIFY(makePipe(m_dir->path()));
    if (!file.isEmpty())
        w.nextName = bytes.isEmpty() ? m_dir->filePath(file) : put(file, bytes);
    for (const int append : {0, 1}) {
        ModalAnswers answers;
        append ? w.append() : w.open();
        QCOMPARE(answers.seen, seen);
    }
    QCOMPARE(changed.count(), 0);
    QCOMPARE(written(w.document()), docBefore);
    QCOMPARE(w.fileName(), QString("old.rx"));
    QCOMPARE(w.grab().toImage(), before);
}

void TestRxWidget::openAppendAndStartNames()
{
    Widget w;
    QSignalSpy changed(&w, &RxWidget::fileChanged);
    w.nextName = put("one.rx", written(twoPoints()));
    w.open();
    w.nextName = put("two.rx", written(twoPoints()));
    w.append();
    QCOMPARE(changed.count(), 2);
    QCOMPARE(w.fileName(), QString("one.rx+two.rx"));
    QCOMPARE(w.document().numCurves(), 2);

    // The save questions are cancelled; only the start names they were given matter.
    w.nextName.clear();
    w.saveAs();
    QCOMPARE(w.start, QString());
    w.start = "unset";
    w.saveAsPostscript();
    QCOMPARE(w.start, QString());
    QCOMPARE(changed.count(), 2);
}

// A spreadsheet's export: the column question preselects the first two columns of numbers
// by their names, and the rows left out are told once, after the plot is there.
void TestRxWidget::columnFileAsksAndTellsOnce()
{
    Widget w;
    w.nextName = put(
        "runs.csv", "\"run\";\"t\";\"low\";\"high\"\r\nA;0;1,5;2\r\nB;1;none;3\r\nC;2;2,5;4\r\n");
    ModalAnswers answers({"Plot"});
    w.open();
    QCOMPARE(answers.seen,
        QStringList(
            {"Select Data Columns", "Rx: Left out 1 row whose X or Y is not a number: line 3."}));
    QCOMPARE(w.document().totalPoints(), 2LL);
    QCOMPARE(w.document().curve(0)->y(1), 2.5f);
    QCOMPARE(w.document().scale().yLabel(), QByteArray("low"));
    QCOMPARE(w.document().profile().useDelim(), 0);
}

void TestRxWidget::postScriptStartName_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("start");
    const auto row = [](const char *tag, const char *name, const char *ext, const char *start) {
        QTest::newRow(tag) << QByteArray(name) << QString(ext) << QString(start);
    };
    row("plain", "run.rx", ".ps", "run.ps");
    row("encapsulated", "run.rx", ".eps", "run.eps");
    row("several dots", "a.b.c.d", ".ps", "a.ps");
    row("extension longer than ten", "data.backup2024.rx", ".ps", "data.ps");
    row("no dot", "run", ".ps", "run.ps");
    row("appended", "a.rx+b.rx", ".ps", "");
    row("untitled", "", ".ps", "");
}

void TestRxWidget::postScriptStartName()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, extension);
    QFETCH(QString, start);
    QCOMPARE(RxWidget::postScriptStartName(name, extension), start);
}

void TestRxWidget::saveWritesOrKeepsOldFile_data()
{
    QTest::addColumn<bool>("points");
    QTest::addColumn<bool>("failWrites");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("saved");
    QTest::newRow("written") << true << false << "Yes" << true;
    QTest::newRow("overwrite declined") << true << false << "No" << false;
    QTest::newRow("no points") << false << false << "Yes" << false;
    QTest::newRow("write fails") << true << true << "Yes" << false;
}

void TestRxWidget::saveWritesOrKeepsOldFile()
{
    QFETCH(bool, points);
    QFETCH(bool, failWrites);
    QFETCH(QString, answer);
    QFETCH(bool, saved);
    Widget w;
    w.setFile(points ? twoPoints() : RxFile());
    w.failWrites = failWrites;
    QSignalSpy changed(&w, &RxWidget::fileChanged);
    w.nextName = put("target.rx", "old");
    ModalAnswers answers({answer});
    w.saveAs();
    QStringList seen {"Rx: File Exists, Overwrite?"};
    if (!saved && answer == "Yes")
        seen << "Save As: File not Written";
    QCOMPARE(answers.seen, seen);
    QVERIFY(answers.icons == QList<QMessageBox::Icon>(seen.size(), QMessageBox::Warning));
    QCOMPARE(changed.count(), saved ? 1 : 0);
    QCOMPARE(w.fileName(), saved ? QString("target.rx") : QString());
    QCOMPARE(contents(w.nextName), saved ? written(w.document()) : QByteArray("old"));
    // No scratch file is left behind.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList {"target.rx"});
}

// Refused before the overwrite question, and left as it was.
void TestRxWidget::saveRefusesWhatIsNotAFile()
{
    QVERIFY(makePipe(m_dir->path()));
    Widget w;
    w.setFile(twoPoints());
    for (const char *target : {"pipe", "pipe-link"}) {
        w.nextName = m_dir->filePath(target);
        for (const QString caption : {"Save As", "Save As PostScript"}) {
            ModalAnswers answers;
            caption == "Save As" ? w.saveAs() : w.saveAsPostscript();
            QCOMPARE(answers.seen, QStringList {caption + ": Not a regular file"});
        }
    }
    QVERIFY(QFileInfo(m_dir->filePath("pipe-link")).isSymLink());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::System | QDir::NoSymLinks), QStringList {"pipe"});
    // Asked only: were the check to fail, a save would replace the device with a file.
    QVERIFY(!RxSaveFile::isReplaceable("/dev/null"));
}

// The file a link points to is replaced, the link stays, and so does the file's owner.
void TestRxWidget::saveThroughLinkKeepsOwner()
{
    const QString real = put("real.rx", "old");
    QVERIFY(QFile::link(real, m_dir->filePath("link.rx")));
    const bool root = ::geteuid() == 0;
    if (root)
        QCOMPARE(::chown(QFile::encodeName(real).constData(), 12345, 12346), 0);
    Widget w;
    w.setFile(twoPoints());
    w.nextName = m_dir->filePath("link.rx");
    ModalAnswers answers({"Yes"});
    w.saveAs();
    QCOMPARE(contents(real), written(w.document()));
    QVERIFY(QFileInfo(w.nextName).isSymLink());
    if (!root)
        QSKIP("only root may give a file to another user");
    QCOMPARE(QFileInfo(real).ownerId(), 12345u);
    QCOMPARE(QFileInfo(real).groupId(), 12346u);
}

// While it lives, no file may grow beyond limit bytes, as on a full disk: writes past it
// fail (EFBIG) instead of ending the process.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit lower {limit, m_old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old {};
    void (*m_oldHandler)(int) = nullptr;
};

// The real writes of "Save..." and "Save As PostScript..." fail part way: the old file stays
// whole, the user is told, and no scratch file is left.
void TestRxWidget::fullDiskKeepsOldFile()
{
    Widget w;
    w.setFile(demo());
    const QByteArray old = written(twoPoints());
    for (const char *name : {"target.rx", "target.ps"}) {
        w.nextName = put(name, old);
        ModalAnswers answers({"Yes"});
        {
            FileSizeLimit limit(1024);
            QByteArray(name).endsWith(".rx") ? w.saveAs() : w.saveAsPostscript();
        }
        QCOMPARE(answers.seen.value(1),
            QByteArray(name).endsWith(".rx") ? "Save As: File not Written"
                                             : "Save As PostScript: File not Written");
        QCOMPARE(contents(w.nextName), old);
    }
    QCOMPARE(w.fileName(), QString());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList({"target.ps", "target.rx"}));
}

void TestRxWidget::postScript()
{
    Widget w;
    RxFile doc = demo();
    RxPlotDefs defs = doc.plotDefs();
    QVERIFY(defs.setEncapsulated(1));
    QVERIFY(doc.setPlotDefs(defs));
    w.nextName = put("run.rx", written(doc));
    {
        // A saved document opens as it was, without asking for columns.
        ModalAnswers answers;
        w.open();
        QCOMPARE(answers.seen, QStringList());
    }
    QCOMPARE(w.document().totalPoints(), doc.totalPoints());
    w.nextName = m_dir->filePath("out.eps");
    ModalAnswers answers;
    w.saveAsPostscript();
    QCOMPARE(w.start, QString("run.eps"));
    QCOMPARE(w.filter, QString("*.eps"));
    QCOMPARE(answers.seen, QStringList {"Rx: PS written to file"});
    const QByteArray ps = contents(w.nextName);
    QVERIFY2(ps.startsWith("%!PS-Adobe"), ps.left(40).constData());
    const QByteArray problem = rxGhostscriptCheck(ps);
    QVERIFY2(problem.isEmpty(), problem.constData());
}

void TestRxWidget::badPlotSizeCreatesNoFile()
{
    Widget w;
    RxFile doc = twoPoints();
    RxPlotDefs defs = doc.plotDefs();
    QVERIFY(defs.setPlotSize(100.0f, 100.0f));
    QVERIFY(doc.setPlotDefs(defs));
    w.setFile(doc);
    w.nextName = m_dir->filePath("big.ps");
    {
        ModalAnswers answers;
        w.saveAsPostscript();
        QCOMPARE(answers.seen, QStringList {"Rx: Bad Plot Size"});
        QVERIFY(QDir(m_dir->path()).isEmpty());
    }
    // An older file of that name stays as it was.
    put("big.ps", "older");
    ModalAnswers answers({"Yes"});
    w.saveAsPostscript();
    QCOMPARE(answers.seen, QStringList({"Rx: File Exists, Overwrite?", "Rx: Bad Plot Size"}));
    QCOMPARE(contents(w.nextName), QByteArray("older"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList {"big.ps"});
}

void TestRxWidget::printToPdf()
{
    Widget w;
    w.setFile(demo());
    w.pdfPath = m_dir->filePath("page.pdf");
    ModalAnswers answers;
    w.print();
    QCOMPARE(answers.seen, QStringList {"Rx: Printing Complete"});
    QVERIFY(contents(w.pdfPath).startsWith("%PDF"));
}

void TestRxWidget::mousePress_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("inside");
    QTest::newRow("left inside") << Qt::LeftButton << true;
    QTest::newRow("right inside") << Qt::RightButton << true;
    QTest::newRow("outside") << Qt::LeftButton << false;
}

void TestRxWidget::mousePress()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, inside);
    Widget w;
    w.resize(400, 300);
    w.setFile(demo());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.grab(); // the paint gives the renderer its mapping

    // The same mapping, from a renderer of our own on a picture of the same size.
    QImage image(w.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    RxDraw draw;
    QVERIFY(draw.beginScreen(
        &painter, w.width(), w.height(), w.document().plotDefs(), w.document().scale()));
    const RxCurve *curve = w.document().curve(0);
    int x = 0;
    int y = 0;
    // The demonstration curve's points lie several pixels apart.
    QVERIFY(draw.mapPoint(curve->x(40), curve->y(40), &x, &y));
    draw.end();
    const QPoint at = inside ? QPoint(x, w.height() - y) : QPoint(2, 2);

    QSignalSpy clicked(&w, &RxWidget::rxWidgetClicked);
    QSignalSpy hit(&w, &RxWidget::pointClicked);
    QTest::mouseClick(&w, button, Qt::ControlModifier, at);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(hit.count(), inside ? 1 : 0);
    if (inside)
        QCOMPARE(hit.at(0), QVariantList({0, 40}));
}

void TestRxWidget::pointDialogs()
{
    Widget w;
    {
        ModalAnswers answers({"Dismiss"});
        w.editCurves();
        QCOMPARE(answers.seen, QStringList {"Edit Data"});
    }
    // An empty document gets the point (0, 0) to edit.
    QCOMPARE(w.document().totalPoints(), 1LL);
    QCOMPARE(w.document().curve(0)->pointType(0), int(PointNewLine));
    {
        ModalAnswers answers({"Dismiss"});
        w.dataTrans();
        QCOMPARE(answers.seen, QStringList {"Data Transformations"});
    }
}

void TestRxWidget::settingsDialogsRedraw_data()
{
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("redraws");
    QTest::addColumn<QPoint>("plotAt"); // a 250 x 200 plot on the 800 x 800 offscreen screen
    QTest::addColumn<bool>("right"); // where the dialog opens, else left of the plot

    QTest::newRow("rescale") << QByteArray("rescale") << QStringList {"Auto", "Apply", "Dismiss"}
                             << "ReScale" << 2 << QPoint(0, 50) << true;
    QTest::newRow("curve format, no room on the right")
        << QByteArray("curveFormat") << QStringList {"Apply", "Dismiss"} << "Curve Format" << 1
        << QPoint(500, 0) << false;
    QTest::newRow("comments") << QByteArray("comments") << QStringList {"Add", "Dismiss"}
                              << "Comments" << 1 << QPoint(0, 0) << true;
    QTest::newRow("page setup") << QByteArray("plotFormat") << QStringList {"Accept"}
                                << "Page Setup" << 1 << QPoint(0, 0) << true;
    QTest::newRow("page setup cancelled, raised off the bottom")
        << QByteArray("plotFormat") << QStringList {"Cancel"} << "Page Setup" << 0 << QPoint(0, 600)
        << true;
    QTest::newRow("data transforms, no room on the right")
        << QByteArray("dataTrans") << QStringList {"Apply", "Apply", "Dismiss"}
        << "Data Transformations" << 2 << QPoint(550, 0) << false;
}

void TestRxWidget::settingsDialogsRedraw()
{
    QFETCH(QByteArray, slot);
    QFETCH(QStringList, answers);
    QFETCH(QString, caption);
    QFETCH(int, redraws);
    QFETCH(QPoint, plotAt);
    QFETCH(bool, right);

    Widget w;
    w.setFile(demo());
    w.setGeometry(QRect(plotAt, QSize(250, 200)));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // Started before the answers, so that it sees the dialog before any answer closes it.
    QRect shown;
    QTimer look;
    connect(&look, &QTimer::timeout, [&shown] {
        if (QWidget *dialog = QApplication::activeModalWidget(); dialog && shown.isNull())
            shown = dialog->frameGeometry();
    });
    look.start(0);
    {
        ModalAnswers modal(answers);
        QVERIFY(QMetaObject::invokeMethod(&w, slot.constData()));
        QCOMPARE(modal.seen, QStringList(answers.size(), caption));
    }
    QCOMPARE(w.redraws, redraws);
    // No dialog outlives its command.
    QCOMPARE(w.findChildren<QDialog *>().size(), 0);
    // Beside the plot window, level with it as far as the screen allows.
    const QRect frame = w.frameGeometry();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(area.contains(shown));
    QCOMPARE(shown.left(), right ? frame.right() + 1 : frame.left() - shown.width());
    QCOMPARE(shown.top(), std::min(frame.top(), area.bottom() + 1 - shown.height()));
}

void TestRxWidget::repaintShowsEveryChange_data()
{
    QTest::addColumn<WidgetChange>("change");
    QTest::newRow("point moved through its curve")
        << WidgetChange([](RxWidget &w) { w.document().curve(0)->setY(1, 3.0f); });
    QTest::newRow("curve added") << WidgetChange([](RxWidget &w) {
        RxCurve c;
        c.addPoint(PointNewLine, 1.0f, 5.0f);
        c.addPoint(PointLine, 3.0f, 2.0f);
        w.document().addCurve(c);
    });
    QTest::newRow("curve colour") << WidgetChange([](RxWidget &w) { w.document().setColor(0, 2); });
    QTest::newRow("scale") << WidgetChange([](RxWidget &w) {
        RxScale s = w.document().scale();
        s.setXRange(10.0f, 0.0f);
        w.document().setScale(s);
    });
    QTest::newRow("plot settings") << WidgetChange([](RxWidget &w) {
        RxPlotDefs d = w.document().plotDefs();
        d.setPlotCurves(0);
        w.document().setPlotDefs(d);
    });
    QTest::newRow("comments") << WidgetChange([](RxWidget &w) {
        RxComments c;
        c.addComment("note", 2.0f, 3.0f, 0);
        w.document().setComments(c);
    });
    QTest::newRow("selection") << WidgetChange([](RxWidget &w) { w.setSelection(0, 0, 1); });
    QTest::newRow("size") << WidgetChange([](RxWidget &w) { w.resize(250, 220); });
    QTest::newRow("document replaced") << WidgetChange([](RxWidget &w) {
        RxFile doc = w.document();
        doc.curve(0)->setX(0, 2.0f);
        w.setFile(doc);
    });
}

// A repaint that changes nothing copies the last picture; after any change it must show the
// plot as a widget that never painted before shows it.
void TestRxWidget::repaintShowsEveryChange()
{
    QFETCH(WidgetChange, change);
    Widget w;
    w.resize(300, 200);
    w.setFile(twoPoints());
    const QImage before = w.grab().toImage();
    QCOMPARE(w.grab().toImage(), before);
    change(w);
    const QImage after = w.grab().toImage();
    QVERIFY(after != before);
    Widget fresh;
    fresh.resize(w.size());
    fresh.setFile(w.document());
    fresh.setSelection(w.selectedCurve(), w.selectionStart(), w.selectionEnd());
    QCOMPARE(after, fresh.grab().toImage());
}

QTEST_MAIN(TestRxWidget)
#include "TestRxWidget.moc"
