#include "dialogs/RxPlotDefsWin.h"
#include "model/RxFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <clocale>

#include "RxTestGui.h"

// "Page Setup" driven through its controls; the document's plot settings are the outcome.
class TestRxPlotDefsWin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void showsSettings();
    void plotSizeCheck_data();
    void plotSizeCheck();
    void refusedValuesStay_data();
    void refusedValuesStay();
    void plotSizeBadBox();
};

namespace {

// Records refusals instead of showing a box nobody answers.
class PageSetup : public RxPlotDefsWin
{
public:
    using RxPlotDefsWin::RxPlotDefsWin;
    QStringList errors;

protected:
    void showError(const QString &text) override { errors << text; }
};

// Every field but the title, so that one compare covers them all.
QByteArray record(const RxPlotDefs &d)
{
    QByteArray out;
    d.writeFormat(out);
    return out;
}

QString field(QWidget &dlg, const char *name)
{
    return control<QLineEdit>(dlg, name)->text();
}

} // namespace

void TestRxPlotDefsWin::initTestCase()
{
    // Comma decimals in Qt and in the C library: numbers show a decimal comma and read
    // either mark, and the C library's locale changes nothing.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QVERIFY2(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), "the de_DE.UTF-8 locale is missing");
}

void TestRxPlotDefsWin::cleanupTestCase()
{
    std::setlocale(LC_NUMERIC, "C");
}

void TestRxPlotDefsWin::showsSettings()
{
    RxPlotDefs d;
    d.setEncapsulated(1);
    d.setPsJoin(2);
    d.setRotatePlot(0);
    d.setPlotSize(6.5f, 3.25f);
    d.setPlotComments(0);
    d.setAxesFont(8);
    d.setAxesColor(7);
    d.setFontSize(1.23456789f);
    d.setSymbolSize(0.5f);
    d.setArrowSize(0.0f);
    d.setTitle("fig.rx");
    RxFile doc;
    doc.setPlotDefs(d);
    PageSetup dlg(&doc);
    dlg.show();
    QSignalSpy changed(&dlg, &RxPlotDefsWin::plotDefsChanged);

    QCOMPARE(dlg.windowTitle(), QString("Page Setup"));
    QCOMPARE(dlg.minimumSize(), QSize(470, 410));
    QCOMPARE(dlg.maximumSize(), QSize(470, 410));
    QCOMPARE(control<QLabel>(dlg, "Label_5")->text(), QString(" Axes"));
    QVERIFY(control<QCheckBox>(dlg, "CheckBox_1")->isChecked());
    QCOMPARE(control<QComboBox>(dlg, "ComboBox_3")->currentText(), QString("bevel"));
    QVERIFY(control<QRadioButton>(dlg, "RadioButton_2")->isChecked());
    QVERIFY(!control<QRadioButton>(dlg, "RadioButton_1")->isChecked());
    QCOMPARE(field(dlg, "LineEdit_1"), QString("6,5"));
    QCOMPARE(field(dlg, "LineEdit_2"), QString("3,25"));
    QVERIFY(control<QCheckBox>(dlg, "CheckBox_2")->isChecked());
    QVERIFY(!control<QCheckBox>(dlg, "CheckBox_3")->isChecked());
    QVERIFY(control<QCheckBox>(dlg, "CheckBox_4")->isChecked());
    QCOMPARE(control<QComboBox>(dlg, "ComboBox_1")->currentText(), QString("Palatino-Bold"));
    QCOMPARE(control<QComboBox>(dlg, "ComboBox_2")->currentText(), QString("white"));
    QCOMPARE(field(dlg, "LineEdit_3"), QString("1,23457"));
    QCOMPARE(field(dlg, "LineEdit_4"), QString("0,5"));
    QCOMPARE(field(dlg, "LineEdit_5"), QString("0"));

    // Untouched, Accept gives the settings back as they were, title included.
    click(dlg, "PushButton_1");
    QCOMPARE(changed.count(), 1);
    QVERIFY(dlg.errors.isEmpty());
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), 0);
    QCOMPARE(record(doc.plotDefs()), record(d));
    QCOMPARE(doc.plotDefs().title(), QByteArray("fig.rx"));
    // Exact: an untouched field is not rounded to the six digits it shows.
    QVERIFY(doc.plotDefs().fontSize() == 1.23456789f);
}

void TestRxPlotDefsWin::plotSizeCheck_data()
{
    // The page's plot area is about 8.56 inches across and 6.09 down; a portrait plot is
    // turned, so its X axis runs down the page.
    QTest::addColumn<bool>("portrait");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<bool>("fits");
    QTest::newRow("defaults") << true << 5.0 << 4.0 << true;
    QTest::newRow("X of 20 inches") << true << 20.0 << 4.0 << false;
    QTest::newRow("wide, portrait") << true << 7.0 << 4.0 << false;
    QTest::newRow("wide, landscape") << false << 7.0 << 4.0 << true;
    QTest::newRow("tall, portrait") << true << 4.0 << 7.0 << true;
    QTest::newRow("tall, landscape") << false << 4.0 << 7.0 << false;
    QTest::newRow("below a tenth") << false << 0.5 << 4.0 << false;
}

void TestRxPlotDefsWin::plotSizeCheck()
{
    QFETCH(bool, portrait);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(bool, fits);
    RxFile doc;
    const QByteArray before = record(doc.plotDefs());
    PageSetup dlg(&doc);
    dlg.show();
    QSignalSpy changed(&dlg, &RxPlotDefsWin::plotDefsChanged);

    control<QRadioButton>(dlg, portrait ? "RadioButton_1" : "RadioButton_2")->click();
    setField(dlg, "LineEdit_1", QString::number(x));
    setField(dlg, "LineEdit_2", QString::number(y));
    click(dlg, "PushButton_1");

    QCOMPARE(doc.plotDefs().xPlotSize() == float(x), fits);
    QCOMPARE(changed.count(), fits ? 1 : 0);
    QCOMPARE(dlg.isVisible(), !fits);
    QCOMPARE(dlg.errors, fits ? QStringList() : QStringList({"Plot Size Bad"}));
    if (fits)
        return;
    QCOMPARE(record(doc.plotDefs()), before);
    QCOMPARE(field(dlg, "LineEdit_1"), QString::number(x).replace('.', ','));
    click(dlg, "PushButton_2");
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QCOMPARE(record(doc.plotDefs()), before);
    QCOMPARE(changed.count(), 0);
}

void TestRxPlotDefsWin::refusedValuesStay_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("text");
    // After Accept: X and Y length, font, symbol and arrow size, from 5 4 1.5 2 0.5.
    QTest::addColumn<QString>("sizes");
    QTest::newRow("arrow size 0 is stored") << QByteArray("LineEdit_5") << "0"
                                            << "5 4 1.5 2 0";
    QTest::newRow("negative arrow size") << QByteArray("LineEdit_5") << "-1"
                                         << "5 4 1.5 2 0.5";
    QTest::newRow("symbol size 0") << QByteArray("LineEdit_4") << "0"
                                   << "5 4 1.5 2 0.5";
    QTest::newRow("symbol size with a decimal comma") << QByteArray("LineEdit_4") << "0,25"
                                                      << "5 4 1.5 0.25 0.5";
    QTest::newRow("symbol size not a number") << QByteArray("LineEdit_4") << "big"
                                              << "5 4 1.5 2 0.5";
    QTest::newRow("font size 0") << QByteArray("LineEdit_3") << "0"
                                 << "5 4 1.5 2 0.5";
    QTest::newRow("X length 0 keeps both") << QByteArray("LineEdit_1") << "0"
                                           << "5 4 1.5 2 0.5";
    QTest::newRow("Y length not a number keeps both") << QByteArray("LineEdit_2") << ""
                                                      << "5 4 1.5 2 0.5";
}

void TestRxPlotDefsWin::refusedValuesStay()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, text);
    QFETCH(QString, sizes);
    RxPlotDefs d;
    d.setFontSize(1.5f);
    d.setSymbolSize(2.0f);
    d.setArrowSize(0.5f);
    RxFile doc;
    doc.setPlotDefs(d);
    PageSetup dlg(&doc);
    dlg.show();

    // Set directly: the symbol and arrow fields take any text, the others are validated.
    control<QLineEdit>(dlg, name.constData())->setText(text);
    control<QComboBox>(dlg, "ComboBox_2")->setCurrentIndex(5);
    click(dlg, "PushButton_1");

    const RxPlotDefs after = doc.plotDefs();
    QVERIFY(dlg.errors.isEmpty());
    QCOMPARE(QString("%1 %2 %3 %4 %5")
                 .arg(double(after.xPlotSize()))
                 .arg(double(after.yPlotSize()))
                 .arg(double(after.fontSize()))
                 .arg(double(after.symbolSize()))
                 .arg(double(after.arrowSize())),
        sizes);
    // The other fields are stored all the same.
    QCOMPARE(after.axesColor(), 5);
}

void TestRxPlotDefsWin::plotSizeBadBox()
{
    RxFile doc;
    RxPlotDefsWin dlg(&doc);
    dlg.show();
    setField(dlg, "LineEdit_1", "20");
    setField(dlg, "LineEdit_4", "0");
    QString seen;
    QTimer::singleShot(0, [&seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = QString("%1|%2|%3|%4|%5")
                   .arg(box->windowTitle(), box->text())
                   .arg(box->icon() == QMessageBox::NoIcon ? "no icon" : "icon")
                   .arg(box->buttons().size())
                   .arg(box->defaultButton() == box->button(QMessageBox::Ok) ? "OK" : "?");
        box->reject();
    });
    click(dlg, "PushButton_1");
    QCOMPARE(seen, QString("Error|Plot Size Bad|no icon|1|OK"));
    QVERIFY(dlg.isVisible());
    QCOMPARE(doc.plotDefs().xPlotSize(), 5.0f);
    // The refused symbol size is not left on show; the length that failed the check is.
    QCOMPARE(control<QLineEdit>(dlg, "LineEdit_4")->text(),
        QString::number(double(doc.plotDefs().symbolSize())).replace('.', ','));
    QCOMPARE(control<QLineEdit>(dlg, "LineEdit_1")->text(), QString("20"));
}

QTEST_MAIN(TestRxPlotDefsWin)
#include "TestRxPlotDefsWin.moc"
