#include "dialogs/RxDataTransWin.h"
#include "model/RxFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include <cmath>

#include "RxTestGui.h"

// "Data Transformations" driven through its controls; the document's curves are the outcome.
class TestRxDataTransWin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void opensAsIdentity();
    void appliesTo_data();
    void appliesTo();
    void controlsFollowOperation();
    void removeCurve();
    void undoIsOneLevel();
    void refusalChangesNothing_data();
    void refusalChangesNothing();
    void coefficientText_data();
    void coefficientText();
};

namespace {

enum { Transform = 0, Reduce = 1, Smooth = 2, Remove = 3, LinearFit = 4 };

// Curve c of n points (i, 10 c + i).
RxCurve makeCurve(int c, int n)
{
    RxCurve curve;
    for (int i = 0; i < n; ++i)
        curve.addPoint(0, float(i), float(10 * c + i));
    return curve;
}

void fill(RxFile &doc, int curves, int points)
{
    for (int c = 0; c < curves; ++c)
        doc.addCurve(makeCurve(c, points));
}

// Points as text, so that one compare covers values, types and counts.
QByteArray pointsOf(const RxCurve &c)
{
    QByteArray text;
    c.writePoints(text);
    return text;
}

QList<QByteArray> points(const RxFile &doc)
{
    QList<QByteArray> out;
    for (int i = 0; i < doc.numCurves(); ++i)
        out << pointsOf(*doc.curve(i));
    return out;
}

QStringList chooserItems(QWidget &dlg)
{
    auto *combo = control<QComboBox>(dlg, "ComboBox_1");
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

void chooseOperation(QWidget &dlg, int code)
{
    choose(dlg, "ComboBox_2", code);
}

} // namespace

void TestRxDataTransWin::initTestCase()
{
    // Comma decimals by default: coefficients show a decimal comma and read either mark.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(QLocale().decimalPoint(), QString(","));
}

void TestRxDataTransWin::opensAsIdentity()
{
    RxFile doc;
    fill(doc, 2, 12);
    const auto before = points(doc);
    RxDataTransWin dlg(&doc);
    dlg.show();
    QSignalSpy changed(&dlg, &RxDataTransWin::dataChanged);

    QCOMPARE(dlg.windowTitle(), QString("Data Transformations"));
    QCOMPARE(dlg.minimumSize(), QSize(470, 320));
    QCOMPARE(dlg.maximumSize(), QSize(470, 320));
    QVERIFY(dlg.isModal());
    QVERIFY(control<QCheckBox>(dlg, "CheckBox_2")->isChecked());
    QVERIFY(!control<QCheckBox>(dlg, "CheckBox_1")->isChecked());
    QVERIFY(!control<QComboBox>(dlg, "ComboBox_1")->isEnabled());
    QCOMPARE(chooserItems(dlg), QStringList({"1", "2"}));
    const char *identity[] = {"1,0", "0,0", "0,0", "0,0", "1,0", "0,0"};
    for (int i = 0; i < 6; ++i) {
        const QByteArray name = "LineEdit_" + QByteArray::number(i + 1);
        QCOMPARE(control<QLineEdit>(dlg, name.constData())->text(), QString(identity[i]));
    }
    QVERIFY(!control<QPushButton>(dlg, "PushButton_3")->isEnabled());

    click(dlg, "PushButton_1");
    QCOMPARE(points(doc), before);
    QCOMPARE(changed.count(), 1);
    QVERIFY(control<QPushButton>(dlg, "PushButton_3")->isEnabled());
}

void TestRxDataTransWin::appliesTo_data()
{
    QTest::addColumn<int>("curve"); // -1: all curves
    QTest::addColumn<bool>("append");
    // The resulting curves: the index of the source, plus 10 where it was transformed.
    QTest::addColumn<QList<int>>("result");
    QTest::newRow("all in place") << -1 << false << QList<int> {10, 11, 12};
    QTest::newRow("all appended after the originals")
        << -1 << true << QList<int> {0, 1, 2, 10, 11, 12};
    QTest::newRow("curve 3 in place") << 2 << false << QList<int> {0, 1, 12};
    QTest::newRow("curve 2 appended") << 1 << true << QList<int> {0, 1, 2, 11};
    QTest::newRow("curve 1 in place") << 0 << false << QList<int> {10, 1, 2};
}

void TestRxDataTransWin::appliesTo()
{
    QFETCH(int, curve);
    QFETCH(bool, append);
    QFETCH(QList<int>, result);
    RxFile doc;
    fill(doc, 3, 12);
    RxDataTransWin dlg(&doc);
    dlg.show();

    if (curve >= 0) {
        control<QCheckBox>(dlg, "CheckBox_2")->click();
        QVERIFY(control<QComboBox>(dlg, "ComboBox_1")->isEnabled());
        control<QComboBox>(dlg, "ComboBox_1")->setCurrentIndex(curve);
    }
    control<QCheckBox>(dlg, "CheckBox_1")->setChecked(append);
    // X := 2 X - Y + 1, Y := X + 3 Y: both from the old values.
    setField(dlg, "LineEdit_1", "2");
    setField(dlg, "LineEdit_2", "-1");
    setField(dlg, "LineEdit_3", "1");
    setField(dlg, "LineEdit_4", "1");
    setField(dlg, "LineEdit_5", "3");
    click(dlg, "PushButton_1");

    QCOMPARE(doc.numCurves(), result.size());
    for (int i = 0; i < result.size(); ++i) {
        RxCurve expected = makeCurve(result[i] % 10, 12);
        if (result[i] >= 10) {
            for (int p = 0; p < expected.numPoints(); ++p) {
                const float x = expected.x(p), y = expected.y(p);
                expected.setX(p, 2 * x - y + 1);
                expected.setY(p, x + 3 * y);
            }
        }
        QCOMPARE(pointsOf(*doc.curve(i)), pointsOf(expected));
    }
    QCOMPARE(chooserItems(dlg).size(), result.size());
    QCOMPARE(control<QComboBox>(dlg, "ComboBox_1")->currentIndex(), qMax(curve, 0));
}

void TestRxDataTransWin::controlsFollowOperation()
{
    RxFile doc;
    fill(doc, 1, 12);
    RxDataTransWin dlg(&doc);
    dlg.show();
    auto *all = control<QCheckBox>(dlg, "CheckBox_2");
    auto *spin = control<QSpinBox>(dlg, "SpinBox_1");
    auto *apply = control<QPushButton>(dlg, "PushButton_1");
    auto *hint = control<QLabel>(dlg, "Label_11");

    chooseOperation(dlg, Remove);
    QVERIFY(!all->isChecked() && !all->isEnabled());
    QVERIFY(!control<QCheckBox>(dlg, "CheckBox_1")->isVisible());
    QVERIFY(control<QComboBox>(dlg, "ComboBox_1")->isEnabled());
    QVERIFY(!control<QLineEdit>(dlg, "LineEdit_1")->isVisible());

    // Every choice resets the spin box, whatever was set before.
    for (int round = 0; round < 2; ++round) {
        chooseOperation(dlg, Reduce);
        QVERIFY(all->isEnabled() && !all->isChecked());
        QVERIFY(control<QCheckBox>(dlg, "CheckBox_1")->isVisible());
        QVERIFY(control<QLabel>(dlg, "Label_9")->isVisible());
        QCOMPARE(
            QList<int>({spin->minimum(), spin->maximum(), spin->value()}), QList<int>({2, 99, 2}));
        spin->setValue(40);
        chooseOperation(dlg, Smooth);
        QVERIFY(!control<QLabel>(dlg, "Label_9")->isVisible());
        QVERIFY(control<QLabel>(dlg, "Label_10")->isVisible());
        QCOMPARE(
            QList<int>({spin->minimum(), spin->maximum(), spin->value()}), QList<int>({1, 99, 1}));
        spin->setValue(40);
    }

    chooseOperation(dlg, LinearFit);
    QVERIFY(!apply->isEnabled());
    QVERIFY(hint->isVisible());
    QVERIFY(!spin->isVisible() && !control<QLineEdit>(dlg, "LineEdit_6")->isVisible());
    chooseOperation(dlg, Transform);
    QVERIFY(apply->isEnabled() && !hint->isVisible());
}

void TestRxDataTransWin::removeCurve()
{
    RxFile doc;
    fill(doc, 3, 12);
    RxDataTransWin dlg(&doc);
    dlg.show();
    auto *apply = control<QPushButton>(dlg, "PushButton_1");
    chooseOperation(dlg, Remove);
    click(dlg, "PushButton_1");
    QCOMPARE(doc.numCurves(), 2);
    QCOMPARE(pointsOf(*doc.curve(0)), pointsOf(makeCurve(1, 12)));
    QCOMPARE(pointsOf(*doc.curve(1)), pointsOf(makeCurve(2, 12)));
    QCOMPARE(chooserItems(dlg), QStringList({"1", "2"}));

    control<QComboBox>(dlg, "ComboBox_1")->setCurrentIndex(1);
    click(dlg, "PushButton_1");
    click(dlg, "PushButton_1");
    QCOMPARE(doc.numCurves(), 0);
    QVERIFY(chooserItems(dlg).isEmpty());
    QVERIFY(!apply->isEnabled());

    // The curve that Undo brings back can be worked on again at once.
    click(dlg, "PushButton_3");
    QCOMPARE(doc.numCurves(), 1);
    QCOMPARE(pointsOf(*doc.curve(0)), pointsOf(makeCurve(1, 12)));
    QCOMPARE(chooserItems(dlg), QStringList({"1"}));
    QVERIFY(apply->isEnabled());
}

void TestRxDataTransWin::undoIsOneLevel()
{
    RxFile doc;
    fill(doc, 2, 12);
    RxDataTransWin dlg(&doc);
    dlg.show();
    QSignalSpy changed(&dlg, &RxDataTransWin::dataChanged);
    auto *undo = control<QPushButton>(dlg, "PushButton_3");

    setField(dlg, "LineEdit_3", "5");
    click(dlg, "PushButton_1");
    const auto afterFirst = points(doc);
    control<QCheckBox>(dlg, "CheckBox_1")->setChecked(true);
    click(dlg, "PushButton_1");
    QCOMPARE(doc.numCurves(), 4);

    click(dlg, "PushButton_3");
    QCOMPARE(points(doc), afterFirst);
    QCOMPARE(changed.count(), 3);
    QVERIFY(!undo->isEnabled());
    QMetaObject::invokeMethod(&dlg, "undoButton");
    QCOMPARE(points(doc), afterFirst);
    QCOMPARE(changed.count(), 3);
}

void TestRxDataTransWin::refusalChangesNothing_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("append");
    QTest::newRow("reduce to 9 points, in place") << int(Reduce) << 10 << 98 << false;
    QTest::newRow("reduce to 9 points, appended") << int(Reduce) << 10 << 98 << true;
    QTest::newRow("smooth wider than the curve, in place") << int(Smooth) << 3 << 5 << false;
    QTest::newRow("smooth wider than the curve, appended") << int(Smooth) << 3 << 5 << true;
}

void TestRxDataTransWin::refusalChangesNothing()
{
    QFETCH(int, code);
    QFETCH(int, value);
    QFETCH(int, points);
    QFETCH(bool, append);
    RxFile doc;
    fill(doc, 2, points);
    // A third curve that accepts the operation still gets its result.
    doc.addCurve(makeCurve(2, 200));
    RxCurve accepted = makeCurve(2, 200);
    QVERIFY(code == Reduce ? accepted.reduce(value) : accepted.smooth(value));
    const auto before = ::points(doc);
    RxDataTransWin dlg(&doc);
    dlg.show();

    chooseOperation(dlg, code);
    control<QSpinBox>(dlg, "SpinBox_1")->setValue(value);
    control<QCheckBox>(dlg, "CheckBox_1")->setChecked(append);
    click(dlg, "PushButton_1");

    auto expected = before;
    if (append)
        expected << pointsOf(accepted);
    else
        expected[2] = pointsOf(accepted);
    QCOMPARE(::points(doc), expected);
}

void TestRxDataTransWin::coefficientText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<float>("a"); // the factor X is multiplied by; NaN: the Apply is refused
    QTest::addColumn<bool>("pointDesktop"); // a desktop that writes decimals with a point
    const float refused = std::nanf("");
    QTest::newRow("C decimal point") << QString("1.5") << QString("1.5") << 1.5f << false;
    QTest::newRow("exponent") << QString("-2.5e-1") << QString("-2.5e-1") << -0.25f << false;
    QTest::newRow("decimal comma") << QString("2,5") << QString("2,5") << 2.5f << false;
    QTest::newRow("lone minus reads as 0") << QString("-") << QString("-") << 0.0f << false;
    QTest::newRow("trailing exponent mark reads its number")
        << QString("4e") << QString("4e") << 4.0f << false;
    QTest::newRow("point on a point desktop") << QString("0.5") << QString("0.5") << 0.5f << true;
    QTest::newRow("comma on a point desktop refused")
        << QString("1,000") << QString("1,000") << refused << true;
    QTest::newRow("beyond double refused")
        << QString("1e400") << QString("1e400") << refused << false;
    QTest::newRow("beyond single precision refused")
        << QString("1e39") << QString("1e39") << refused << false;
    // 4e38 overflows at the fifth point.
    QTest::newRow("results beyond single precision refused")
        << QString("1e38") << QString("1e38") << refused << false;
}

void TestRxDataTransWin::coefficientText()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(float, a);
    QFETCH(bool, pointDesktop);
    DefaultLocale desktop(pointDesktop ? QLocale::c() : QLocale());
    RxFile doc;
    fill(doc, 1, 12);
    const auto before = points(doc);
    RxDataTransWin dlg(&doc);
    dlg.show();
    QSignalSpy changed(&dlg, &RxDataTransWin::dataChanged);
    ModalAnswers answers;

    setField(dlg, "LineEdit_1", typed);
    QCOMPARE(control<QLineEdit>(dlg, "LineEdit_1")->text(), shown);
    click(dlg, "PushButton_1");
    const bool refused = std::isnan(a);
    QCOMPARE(answers.seen.size(), refused ? 1 : 0);
    if (refused) {
        QCOMPARE(points(doc), before);
        QCOMPARE(changed.count(), 0);
        QVERIFY(!control<QPushButton>(dlg, "PushButton_3")->isEnabled());
        return;
    }
    for (int p = 0; p < 12; ++p)
        QCOMPARE(doc.curve(0)->x(p), a * float(p));
}

QTEST_MAIN(TestRxDataTransWin)
#include "TestRxDataTransWin.moc"
