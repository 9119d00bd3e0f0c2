#include "dialogs/RxNumcolsWin.h"
#include "model/RxColumnLayout.h"

#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "RxTestGui.h"

// "Select Data Columns": what exec() returns and what reaches the caller's two integers.
class TestRxNumcolsWin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void offersEveryColumn();
    void namesAndDetectedColumns();
    void execResult_data();
    void execResult();
    void equalColumnsWarnAndStayOpen();
};

void TestRxNumcolsWin::initTestCase()
{
    // Arabic digits by default: the column numbers must still be C notation.
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    QVERIFY(QLocale().toString(10) != "10");
}

void TestRxNumcolsWin::offersEveryColumn()
{
    int x = 0;
    int y = 0;
    RxNumcolsWin dlg(12, &x, &y);
    dlg.show();
    QCOMPARE(dlg.windowTitle(), QString("Select Data Columns"));
    QCOMPARE(dlg.minimumSize(), QSize(380, 160));
    QCOMPARE(dlg.maximumSize(), QSize(380, 160));
    QVERIFY(dlg.isModal());
    for (const char *name : {"ComboBox_1", "ComboBox_2"}) {
        auto *box = control<QComboBox>(dlg, name);
        QCOMPARE(box->count(), 12);
        QCOMPARE(box->itemText(0), QString("1"));
        QCOMPARE(box->itemText(11), QString("12"));
    }
    QCOMPARE(control<QComboBox>(dlg, "ComboBox_1")->currentText(), QString("1"));
    QCOMPARE(control<QComboBox>(dlg, "ComboBox_2")->currentText(), QString("2"));
}

// A detected layout: every column, named from the header line, X and Y preselected.
void TestRxNumcolsWin::namesAndDetectedColumns()
{
    RxColumnLayout layout;
    layout.columns = 4;
    layout.names = {"date", "low", "",
        "Temperature of the probe (\xB0"
        "C)"};
    layout.xCol = 2;
    layout.yCol = 4;
    int x = 0;
    int y = 0;
    RxNumcolsWin dlg(layout, &x, &y);
    dlg.show();
    auto *yBox = control<QComboBox>(dlg, "ComboBox_2");
    const QStringList expected {
        "1: date", "2: low", "3", QString::fromUtf8("4: Temperature of the\u2026")};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(yBox->itemText(i), expected.at(i));
    QCOMPARE(control<QComboBox>(dlg, "ComboBox_1")->currentIndex(), 1);
    QCOMPARE(yBox->currentIndex(), 3);
    click(dlg, "PushButton_1");
    QCOMPARE(dlg.result(), 1);
    QCOMPARE(x, 2);
    QCOMPARE(y, 4);
}

void TestRxNumcolsWin::execResult_data()
{
    QTest::addColumn<int>("xIndex"); // -1 keeps the initial choice
    QTest::addColumn<int>("yIndex");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::newRow("initial choice") << -1 << -1 << "plot" << 1 << 1 << 2;
    QTest::newRow("columns swapped") << 2 << 0 << "plot" << 1 << 3 << 1;
    QTest::newRow("Cancel") << 2 << 0 << "cancel" << 0 << -7 << -7;
    QTest::newRow("Escape") << 2 << 0 << "escape" << 0 << -7 << -7;
    QTest::newRow("close button") << 2 << 0 << "close" << 0 << -7 << -7;
}

void TestRxNumcolsWin::execResult()
{
    QFETCH(int, xIndex);
    QFETCH(int, yIndex);
    QFETCH(QString, answer);
    QFETCH(int, result);
    QFETCH(int, x);
    QFETCH(int, y);
    int xCol = -7;
    int yCol = -7;
    RxNumcolsWin dlg(3, &xCol, &yCol);
    QTimer::singleShot(0, &dlg, [&] {
        if (xIndex >= 0)
            control<QComboBox>(dlg, "ComboBox_1")->setCurrentIndex(xIndex);
        if (yIndex >= 0)
            control<QComboBox>(dlg, "ComboBox_2")->setCurrentIndex(yIndex);
        if (answer == "plot")
            control<QPushButton>(dlg, "PushButton_1")->click();
        else if (answer == "cancel")
            control<QPushButton>(dlg, "PushButton_2")->click();
        else if (answer == "escape")
            QTest::keyClick(&dlg, Qt::Key_Escape);
        else
            dlg.close();
        // Never leave the test waiting on a dialog the answer failed to close.
        if (dlg.isVisible())
            dlg.done(-1);
    });
    QCOMPARE(dlg.exec(), result);
    QCOMPARE(xCol, x);
    QCOMPARE(yCol, y);
}

void TestRxNumcolsWin::equalColumnsWarnAndStayOpen()
{
    int xCol = -7;
    int yCol = -7;
    RxNumcolsWin dlg(3, &xCol, &yCol);
    dlg.show();
    control<QComboBox>(dlg, "ComboBox_1")->setCurrentIndex(1);

    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    bool okIsDefault = false;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = int(box->buttons().size());
        okIsDefault = box->defaultButton() == box->button(QMessageBox::Ok);
        if (box->button(QMessageBox::Ok))
            box->button(QMessageBox::Ok)->click();
    });
    QTest::mouseClick(control<QPushButton>(dlg, "PushButton_1"), Qt::LeftButton);

    QCOMPARE(caption, QString("Error"));
    QCOMPARE(text, QString("X and Y columns are equal"));
    QCOMPARE(icon, QMessageBox::Warning);
    QCOMPARE(buttons, 1);
    QVERIFY(okIsDefault);
    QVERIFY(dlg.isVisible());
    QCOMPARE(xCol, -7);
    QCOMPARE(yCol, -7);

    control<QComboBox>(dlg, "ComboBox_2")->setCurrentIndex(2);
    QTest::mouseClick(control<QPushButton>(dlg, "PushButton_1"), Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), 1);
    QCOMPARE(xCol, 2);
    QCOMPARE(yCol, 3);
}

QTEST_MAIN(TestRxNumcolsWin)
#include "TestRxNumcolsWin.moc"
