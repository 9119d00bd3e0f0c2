#include "dialogs/RxCurveWin.h"
#include "model/RxFile.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <clocale>

#include "RxTestGui.h"

// "Curve Format" driven through its controls; the curves' formats are the outcome.
class TestRxCurveWin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void showsFirstCurve();
    void listsAtMost100_data();
    void listsAtMost100();
    void choosingShowsStoredFormat();
    void applyStores_data();
    void applyStores();
};

namespace {

// More digits than "%g" shows.
float lengthOf(int curve)
{
    return float(curve) + 1.2345678f;
}

// Curve i drawn in colour i % 8, line type i % 6, width (i + 1) % 6 and pattern length
// lengthOf(i).
void fill(RxFile &doc, int curves)
{
    for (int i = 0; i < curves; ++i) {
        RxCurve c;
        c.addPoint(0, 0, 0);
        c.setColor(i % 8);
        c.setLineType(i % 6);
        c.setLineWidth((i + 1) % 6);
        c.setPatternLength(lengthOf(i));
        doc.addCurve(c);
    }
}

QComboBox *combo(QWidget &dlg, const char *name)
{
    return control<QComboBox>(dlg, name);
}

QStringList itemsOf(QComboBox *c)
{
    QStringList items;
    for (int i = 0; i < c->count(); ++i)
        items << c->itemText(i);
    return items;
}

// What the dialog shows: colour, line type and width items, and the pattern length text.
QStringList shown(QWidget &dlg)
{
    return {combo(dlg, "ComboBox_2")->currentText(), combo(dlg, "ComboBox_3")->currentText(),
        combo(dlg, "ComboBox_4")->currentText(), control<QLineEdit>(dlg, "LineEdit_1")->text()};
}

void chooseCurve(QWidget &dlg, int item)
{
    choose(dlg, "ComboBox_1", item);
}

} // namespace

void TestRxCurveWin::initTestCase()
{
    // Comma decimals in Qt and in the C library: lengths show a decimal comma and read
    // either mark, and the C library's locale changes nothing.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QVERIFY2(std::setlocale(LC_ALL, "de_DE.UTF-8"), "the de_DE.UTF-8 locale is missing");
}

void TestRxCurveWin::cleanupTestCase()
{
    std::setlocale(LC_ALL, "C");
}

void TestRxCurveWin::showsFirstCurve()
{
    RxFile doc;
    fill(doc, 3);
    doc.setColor(0, 6);
    RxCurveWin dlg(&doc);
    dlg.show();

    QCOMPARE(dlg.windowTitle(), QString("Curve Format"));
    QCOMPARE(dlg.minimumSize(), QSize(310, 300));
    QCOMPARE(dlg.maximumSize(), QSize(310, 300));
    QVERIFY(dlg.isModal());
    QCOMPARE(itemsOf(combo(dlg, "ComboBox_2")),
        QStringList({"black", "blue", "green", "red", "cyan", "magenta", "saddle brown", "white"}));
    QCOMPARE(itemsOf(combo(dlg, "ComboBox_3")),
        QStringList(
            {"solid", "dots", "dashed", "long short", "long short short", "long dashed(ps only)"}));
    QCOMPARE(itemsOf(combo(dlg, "ComboBox_4")), QStringList({"3", "6", "12", "18", "28", "36"}));
    QCOMPARE(shown(dlg), QStringList({"saddle brown", "solid", "6", "1,23457"}));

    click(dlg, "PushButton_2");
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
}

void TestRxCurveWin::listsAtMost100_data()
{
    QTest::addColumn<int>("curves");
    QTest::addColumn<int>("listed");
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("one") << 1 << 1;
    QTest::newRow("100") << 100 << 100;
    QTest::newRow("150") << 150 << 100;
}

void TestRxCurveWin::listsAtMost100()
{
    QFETCH(int, curves);
    QFETCH(int, listed);
    RxFile doc;
    fill(doc, curves);
    RxCurveWin dlg(&doc);
    dlg.show();

    const QStringList items = itemsOf(combo(dlg, "ComboBox_1"));
    QCOMPARE(items.size(), listed);
    if (listed > 0)
        QCOMPARE(items.last(), QString::number(listed));
    for (const char *name :
        {"ComboBox_1", "ComboBox_2", "ComboBox_3", "ComboBox_4", "LineEdit_1", "PushButton_1"})
        QCOMPARE(dlg.findChild<QWidget *>(name)->isEnabled(), curves > 0);
    QVERIFY(control<QPushButton>(dlg, "PushButton_2")->isEnabled());
    if (curves == 0) {
        QVERIFY(control<QLineEdit>(dlg, "LineEdit_1")->text().isEmpty());
        QSignalSpy changed(&dlg, &RxCurveWin::curveChanged);
        QVERIFY(QMetaObject::invokeMethod(&dlg, "applyButton"));
        QCOMPARE(changed.count(), 0);
    }
}

void TestRxCurveWin::choosingShowsStoredFormat()
{
    RxFile doc;
    fill(doc, 3);
    RxCurveWin dlg(&doc);
    dlg.show();

    // Edits not applied are dropped by a change of curve, even back to the same one.
    combo(dlg, "ComboBox_2")->setCurrentIndex(7);
    control<QLineEdit>(dlg, "LineEdit_1")->setText("9");
    chooseCurve(dlg, 2);
    QCOMPARE(shown(dlg), QStringList({"green", "dashed", "18", "3,23457"}));
    chooseCurve(dlg, 0);
    QCOMPARE(shown(dlg), QStringList({"black", "solid", "6", "1,23457"}));
    QCOMPARE(doc.color(0), 0);
    QCOMPARE(doc.patternLength(0), lengthOf(0));
}

void TestRxCurveWin::applyStores_data()
{
    QTest::addColumn<QString>("typed"); // null: the field is not touched
    QTest::addColumn<QString>("field");
    QTest::addColumn<float>("length");
    // Read back, the six digits shown would change a length nobody edited.
    QTest::newRow("untouched keeps every digit") << QString() << QString("2,23457") << lengthOf(1);
    QTest::newRow("decimal") << QString("2.25") << QString("2.25") << 2.25f;
    QTest::newRow("exponent") << QString("5e-1") << QString("5e-1") << 0.5f;
    QTest::newRow("0 refused") << QString("0") << QString("0") << lengthOf(1);
    QTest::newRow("negative refused") << QString("-3") << QString("-3") << lengthOf(1);
    QTest::newRow("empty refused") << QString("") << QString("") << lengthOf(1);
    QTest::newRow("lone minus refused") << QString("-") << QString("-") << lengthOf(1);
    QTest::newRow("beyond single precision refused")
        << QString("1e39") << QString("1e39") << lengthOf(1);
    QTest::newRow("decimal comma") << QString("2,5") << QString("2,5") << 2.5f;
    QTest::newRow("letters refused while typing") << QString("7abc") << QString("7") << 7.0f;
}

void TestRxCurveWin::applyStores()
{
    QFETCH(QString, typed);
    QFETCH(QString, field);
    QFETCH(float, length);
    RxFile doc;
    fill(doc, 3);
    RxCurveWin dlg(&doc);
    dlg.show();
    QSignalSpy changed(&dlg, &RxCurveWin::curveChanged);

    chooseCurve(dlg, 1);
    combo(dlg, "ComboBox_2")->setCurrentIndex(5);
    combo(dlg, "ComboBox_3")->setCurrentIndex(4);
    combo(dlg, "ComboBox_4")->setCurrentIndex(0);
    auto *edit = control<QLineEdit>(dlg, "LineEdit_1");
    if (!typed.isNull()) {
        edit->clear();
        QTest::keyClicks(edit, typed);
    }
    QCOMPARE(edit->text(), field);
    click(dlg, "PushButton_1");

    QCOMPARE(changed.count(), 1);
    // What is stored, a refused length included, is what the field shows.
    QCOMPARE(edit->text(), QString::number(double(length), 'g', 6).replace('.', ','));
    QCOMPARE(QList<int>({doc.color(1), doc.lineType(1), doc.lineWidth(1)}), QList<int>({5, 4, 0}));
    // Exact compares (a list of floats is not compared fuzzily); the other curves keep theirs.
    QCOMPARE(QList<float>({doc.patternLength(0), doc.patternLength(1), doc.patternLength(2)}),
        QList<float>({lengthOf(0), length, lengthOf(2)}));
    QCOMPARE(QList<int>({doc.color(0), doc.color(2)}), QList<int>({0, 2}));
}

QTEST_MAIN(TestRxCurveWin)
#include "TestRxCurveWin.moc"
