#include "app/RxStartup.h"
#include "app/RxWidget.h"
#include "app/RxWindow.h"

#include <QPushButton>
#include <QApplication>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QtTest>

#include "RxTestGui.h"

namespace {

int quitCalls = 0;

void countQuit()
{
    ++quitCalls;
}

struct Box
{
    bool shown = false;
    QString caption;
    QString text;
    bool noIsDefault = false;
};

// Answers the next message box with button and records what it showed.
void answerNextBox(QMessageBox::StandardButton button, Box *seen)
{
    QTimer::singleShot(0, [button, seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen->shown = true;
        seen->caption = box->windowTitle();
        seen->text = box->text();
        seen->noIsDefault = box->standardButton(box->defaultButton()) == QMessageBox::No;
        if (QAbstractButton *b = box->button(button))
            b->click();
        else
            box->reject();
    });
}

// The items of a menu as "text", "text<TAB>shortcut", a trailing " (off)" when disabled;
// separators as "-".
QStringList items(const QMenu *menu)
{
    QStringList out;
    const QList<QAction *> actions = menu->actions();
    for (const QAction *a : actions) {
        if (a->isSeparator())
            out << QStringLiteral("-");
        else if (a->shortcut().isEmpty())
            out << a->text() + (a->isEnabled() ? "" : " (off)");
        else
            out << a->text() + '\t' + a->shortcut().toString(QKeySequence::PortableText)
                    + (a->isEnabled() ? "" : " (off)");
    }
    return out;
}

QList<RxWindow *> windows()
{
    return topLevelOf<RxWindow>();
}

} // namespace

class TestRxWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void menuBar();
    void menus_data();
    void menus();
    void captions();
    void quitAsksWithSeveralWindows_data();
    void quitAsksWithSeveralWindows();
    void quitInOnlyWindowEndsAtOnce();
    void closeEachWindowEndsWithTheLast();
    void newWindowTakesLastResizedSize();
    void version();
    void dropOpensLocalFile();
};

void TestRxWindow::initTestCase()
{
    RxWindow::setQuitHandler(countQuit);
}

void TestRxWindow::init()
{
    initWindows(1);
    quitCalls = 0;
}

void TestRxWindow::cleanup()
{
    qDeleteAll(windows());
}

void TestRxWindow::menuBar()
{
    RxWindow w;
    const auto *bar = w.findChild<QMenuBar *>(QStringLiteral("MenuBar_1"));
    QVERIFY2(bar, "layout lost MenuBar_1");
    QVERIFY2(w.findChild<RxWidget *>(QStringLiteral("User_1")), "layout lost User_1");
    QStringList titles;
    const QList<QAction *> actions = bar->actions();
    for (const QAction *a : actions)
        titles << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(titles, QStringList({"File", "Edit", "Settings", "-", "Help"}));
    // One menu serves the bar and the Settings submenu, so both hold "New..." and act alike.
    QCOMPARE(barMenu(&w, "Settings")->actions().value(0)->menu(), barMenu(&w, "File"));
}

void TestRxWindow::menus_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("File") << "File"
                          << QStringList {"New...\tCtrl+N", "Open...\tCtrl+O", "Append...\tCtrl+A",
                                 "-", "Close\tCtrl+W", "Save...\tCtrl+S", "-", "File Format...",
                                 "-", "Page Setup...", "Save As PostScript...\tCtrl+P", "Print...",
                                 "-", "Quit\tCtrl+Q"};
    QTest::newRow("Edit") << "Edit"
                          << QStringList {"Cut\tCtrl+X (off)", "Copy\tCtrl+C (off)",
                                 "Paste\tCtrl+V (off)", "-", "Selection Stats... (off)", "Data..."};
    QTest::newRow("Settings") << "Settings"
                              << QStringList {"File", "Auto Scale", "-", "Rescale...\tCtrl+R",
                                     "Comment...", "Curves Format...", "Data Transforms...", "-",
                                     "Close"};
    QTest::newRow("Help") << "Help" << QStringList {"Version"};
}

void TestRxWindow::menus()
{
    QFETCH(QString, title);
    QFETCH(QStringList, expected);
    RxWindow w;
    QMenu *menu = barMenu(&w, title);
    QVERIFY(menu);
    QCOMPARE(items(menu), expected);
}

void TestRxWindow::captions()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = dir.filePath("run.rx");
    QVERIFY(QFile::copy(QStringLiteral(RUXA_TEST_DATA "/convert/two-points.rx"), name));
    RxWindow w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Rx"));
    w.plotWidget()->readFile(name, 0);
    QCOMPARE(w.windowTitle(), QStringLiteral("run.rx"));
    w.setFile(RxFile());
    QCOMPARE(w.windowTitle(), QStringLiteral("Rx"));
}

void TestRxWindow::quitAsksWithSeveralWindows_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("countAfter");
    QTest::addColumn<int>("quitsAfter");
    QTest::newRow("No changes nothing") << int(QMessageBox::No) << 3 << 0;
    QTest::newRow("Yes quits") << int(QMessageBox::Yes) << 2 << 1;
}

void TestRxWindow::quitAsksWithSeveralWindows()
{
    QFETCH(int, answer);
    QFETCH(int, countAfter);
    QFETCH(int, quitsAfter);
    for (int i = 0; i < 3; ++i)
        (new RxWindow)->show();
    RxWindow *w = windows().value(0);
    Box box;
    answerNextBox(QMessageBox::StandardButton(answer), &box);
    w->quit(1);
    QVERIFY(box.shown);
    QCOMPARE(box.caption, QStringLiteral("Rx"));
    QCOMPARE(box.text, QStringLiteral("Close all Windows and Quit?"));
    QVERIFY(box.noIsDefault);
    QCOMPARE(RxWindow::windowCount(), countAfter);
    QCOMPARE(quitCalls, quitsAfter);
    QCOMPARE(w->isVisible(), answer == QMessageBox::No);
}

void TestRxWindow::quitInOnlyWindowEndsAtOnce()
{
    RxWindow w;
    w.show();
    Box box;
    answerNextBox(QMessageBox::No, &box);
    menuItem(barMenu(&w, "File"), "Quit")->trigger();
    QVERIFY(!box.shown);
    QCOMPARE(quitCalls, 1);
    QCOMPARE(RxWindow::windowCount(), 0);
    QVERIFY(!w.isVisible());
    QCoreApplication::processEvents(); // let the unused answer run while nothing is modal
}

// Every way of closing one window takes the same path: it stops counting, and the program
// ends with the last one, without a question.
void TestRxWindow::closeEachWindowEndsWithTheLast()
{
    RxWindow a, b, c, d;
    for (RxWindow *w : {&a, &b, &c, &d})
        w->show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    menuItem(barMenu(&a, "File"), "Close")->trigger();
    menuItem(barMenu(&b, "Settings"), "Close")->trigger();
    QTest::keyClick(&c, Qt::Key_Escape);
    QCOMPARE(RxWindow::windowCount(), 1);
    QCOMPARE(quitCalls, 0);
    QVERIFY(!a.isVisible() && !b.isVisible() && !c.isVisible());
    d.close();
    QCOMPARE(RxWindow::windowCount(), 0);
    QCOMPARE(quitCalls, 1);
    QVERIFY(!d.isVisible());
}

void TestRxWindow::newWindowTakesLastResizedSize()
{
    RxWindow first;
    QCOMPARE(first.size(), QSize(500, 400));
    first.show();
    QVERIFY(QTest::qWaitForWindowExposed(&first));
    first.resize(640, 480);
    QTRY_COMPARE(first.size(), QSize(640, 480));
    QCOMPARE(RxWindow::defaultSize(), QSize(640, 480));
    const auto *bar = first.findChild<QMenuBar *>(QStringLiteral("MenuBar_1"));
    QCOMPARE(first.plotWidget()->geometry(), QRect(0, bar->height(), 640, 480 - bar->height()));

    menuItem(barMenu(&first, "File"), "New...")->trigger();
    QList<RxWindow *> all = windows();
    all.removeOne(&first);
    QCOMPARE(all.size(), 1);
    QVERIFY(all.first()->isVisible());
    QCOMPARE(all.first()->size(), QSize(640, 480));
    QCOMPARE(all.first()->windowTitle(), QStringLiteral("Rx"));
    QCOMPARE(RxWindow::windowCount(), 2);
}

void TestRxWindow::version()
{
    RxWindow w;
    Box box;
    answerNextBox(QMessageBox::Ok, &box);
    menuItem(barMenu(&w, "Help"), "Version")->trigger();
    QVERIFY(box.shown);
    QCOMPARE(box.caption, QStringLiteral("Rx"));
    QCOMPARE(box.text, QStringLiteral("Ruxa 1.0"));
}

void TestRxWindow::dropOpensLocalFile()
{
    RxWindow w;
    w.show();
    QVERIFY(w.acceptDrops());
    QMimeData web;
    web.setUrls({QUrl("https://example.org/run.rx")});
    QDragEnterEvent refused(QPoint(10, 40), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QApplication::sendEvent(&w, &refused);
    QVERIFY(!refused.isAccepted());

    QMimeData local;
    local.setUrls({QUrl::fromLocalFile(QStringLiteral(RUXA_TEST_DATA "/convert/two-points.rx"))});
    // Qt delivers a drop only to the widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(10, 40), Qt::CopyAction, &local, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(false);
    QApplication::sendEvent(&w, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 40), Qt::CopyAction, &local, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    QTRY_COMPARE(w.windowTitle(), QStringLiteral("two-points.rx"));
    QCOMPARE(w.plotWidget()->document().totalPoints(), 2LL);
}

QTEST_MAIN(TestRxWindow)
#include "TestRxWindow.moc"
