#include "app/RxStartup.h"
#include "app/RxWidget.h"
#include "app/RxWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "RxTestGui.h"

#include <sys/stat.h>

namespace {

const QString dataDir = QStringLiteral(RUXA_TEST_DATA);

// Column files in the default profile's layout: a 3-character type field, then fields of 10.
const QByteArray twoColumns("  1       1.0      10.0\n  1       2.0      20.0\n");
const QByteArray threeColumns("  1       1.0      10.0     100.0\n"
                              "  1       2.0      20.0     400.0\n"
                              "  1       3.0      30.0     900.0\n");

void writeFile(const QString &name, const QByteArray &bytes)
{
    QFile f(name);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Answers the next "Select Data Columns" with Y in column yCol, or cancels it at 0.
void answerColumns(int yCol, bool *asked)
{
    QTimer::singleShot(0, [yCol, asked] {
        auto *dlg = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dlg)
            return;
        *asked = true;
        auto *y = dlg->findChild<QComboBox *>(QStringLiteral("ComboBox_2"));
        auto *plot = dlg->findChild<QPushButton *>(QStringLiteral("PushButton_1"));
        if (yCol == 0 || !y || !plot) {
            dlg->reject();
            return;
        }
        y->setCurrentIndex(yCol - 1);
        plot->click();
    });
}

QList<RxWindow *> windows()
{
    return topLevelOf<RxWindow>();
}

} // namespace

class TestRxStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void exitPaths_data();
    void exitPaths();
    void opensWindow_data();
    void opensWindow();
    void columnChoice_data();
    void columnChoice();

private:
    QTemporaryDir m_dir;
};

void TestRxStartup::init()
{
    QVERIFY(m_dir.isValid());
    initWindows(1);
}

void TestRxStartup::cleanup()
{
    qDeleteAll(windows());
}

// Every way start-up ends the process: the message alone on standard output, status -1.
void TestRxStartup::exitPaths_data()
{
    QTest::addColumn<QString>("arg");
    QTest::addColumn<QByteArray>("output");
    QTest::newRow("no such file, nor with .rx") << "nosuch" << QByteArray("File not found\n");
    QTest::newRow("demo name in another case is a file")
        << "TEST.INT" << QByteArray("File not found\n");
    QTest::newRow("a directory cannot be opened") << "." << QByteArray("open failed\n");
    QTest::newRow("a link to a named pipe, found through .rx")
        << "pipe-link" << QByteArray("Not a regular file\n");
    QTest::newRow("unreadable content")
        << dataDir + "/bad/garbage.bin" << QByteArray("read failed \n");
    QTest::newRow("empty file") << dataDir + "/bad/empty.rx" << QByteArray("read failed \n");
    QTest::newRow("newer format, found through .rx") << dataDir
            + "/convert/newer" << QByteArray("File format is newer than code, please upgrade\n");
}

void TestRxStartup::exitPaths()
{
    QFETCH(QString, arg);
    QFETCH(QByteArray, output);
    // Reading a named pipe would wait for a writer that never comes.
    const QString pipe = m_dir.filePath(QStringLiteral("pipe"));
    if (!QFileInfo::exists(pipe)) {
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QVERIFY(QFile::link(pipe, m_dir.filePath(QStringLiteral("pipe-link.rx"))));
    }
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(m_dir.path());
    p.start(QStringLiteral(RUXA_PROGRAM), {arg, QStringLiteral("ignored")});
    QVERIFY(p.waitForFinished(20000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.readAllStandardOutput(), output);
    QCOMPARE(p.exitCode(), 255);
}

void TestRxStartup::opensWindow_data()
{
    QTest::addColumn<QString>("arg");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("points");
    QTest::newRow("no argument") << QString() << "Rx" << 0;
    QTest::newRow("demonstration") << "test.int"
                                   << "Rx" << 100;
    QTest::newRow(".rx added") << "two-points"
                               << "two-points.rx" << 2;
    QTest::newRow(".rx added to .rx") << "again.rx"
                                      << "again.rx.rx" << 2;
    QTest::newRow("demo name with a directory is a file") << "./test.int"
                                                          << "test.int" << 2;
    QTest::newRow("two columns") << "two.txt"
                                 << "two.txt" << 2;
    QTest::newRow("a spreadsheet's CSV") << "data.csv"
                                         << "data.csv" << 3;
}

void TestRxStartup::opensWindow()
{
    QFETCH(QString, arg);
    QFETCH(QString, caption);
    QFETCH(int, points);
    const QString rx = dataDir + "/convert/two-points.rx";
    QFile::copy(rx, m_dir.filePath("two-points.rx"));
    QFile::copy(rx, m_dir.filePath("again.rx.rx"));
    QFile::copy(rx, m_dir.filePath("test.int"));
    writeFile(m_dir.filePath("two.txt"), twoColumns);
    writeFile(m_dir.filePath("data.csv"), "time,value\r\n0,1.5\r\n1,2.5\r\n2,3.5\r\n");
    const QString old = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.path()));
    RxWindow *window = nullptr;
    const QByteArray a = arg.toLocal8Bit();
    const RxStartResult result = openFirstWindow(arg.isNull() ? nullptr : a.constData(), &window);
    QDir::setCurrent(old);

    QCOMPARE(result, RxStartResult::Shown);
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), caption);
    QCOMPARE(window->plotWidget()->document().totalPoints(), static_cast<long long>(points));
    QCOMPARE(RxWindow::windowCount(), 1);
}

// Three or more columns ask for X and Y; a cancel leaves no window behind.
void TestRxStartup::columnChoice_data()
{
    QTest::addColumn<int>("yCol");
    QTest::addColumn<float>("lastY");
    QTest::newRow("third column") << 3 << 900.0f;
    QTest::newRow("cancelled") << 0 << 0.0f;
}

void TestRxStartup::columnChoice()
{
    QFETCH(int, yCol);
    QFETCH(float, lastY);
    writeFile(m_dir.filePath("three.txt"), threeColumns);
    const QByteArray name = QFile::encodeName(m_dir.filePath("three.txt"));
    bool asked = false;
    answerColumns(yCol, &asked);
    RxWindow *window = nullptr;
    const RxStartResult result = openFirstWindow(name.constData(), &window);
    QVERIFY(asked);
    if (yCol == 0) {
        QCOMPARE(result, RxStartResult::Cancelled);
        QVERIFY(windows().isEmpty());
        QCOMPARE(RxWindow::windowCount(), 0);
        return;
    }
    QCOMPARE(result, RxStartResult::Shown);
    const RxCurve *c = window->plotWidget()->document().curve(0);
    QCOMPARE(window->plotWidget()->document().totalPoints(), 3LL);
    QCOMPARE(c->y(2), lastY);
}

QTEST_MAIN(TestRxStartup)
#include "TestRxStartup.moc"
