#include "dialogs/RxScaleWin.h"
#include "model/RxFile.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <clocale>

#include "RxTestGui.h"

// "ReScale" driven through its controls; the document's scale is the outcome.
class TestRxScaleWin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void showsScale_data();
    void showsScale();
    void logBoxFollowsTyping_data();
    void logBoxFollowsTyping();
    void applyRange_data();
    void applyRange();
    void applyTickMode_data();
    void applyTickMode();
    void applyLabel_data();
    void applyLabel();
    void untouchedFieldsKeepStoredValues();
    void focusFollowsCheckedButton();
    void autoReplacesScale();
    void autoNeedsPoints_data();
    void autoNeedsPoints();
};

namespace {

QLineEdit *field(QWidget &dlg, const QString &name)
{
    return control<QLineEdit>(dlg, name.toLatin1().constData());
}

void type(QWidget &dlg, const QString &name, const QString &text)
{
    field(dlg, name)->clear();
    QTest::keyClicks(field(dlg, name), text);
}

QStringList texts(QWidget &dlg, const QStringList &names)
{
    QStringList out;
    for (const QString &name : names)
        out << field(dlg, name)->text();
    return out;
}

QList<float> ends(const RxScale &s)
{
    return {s.xmax(), s.xmin(), s.ymax(), s.ymin()};
}

// "%g" with the decimal comma of the tests' default locale.
QString shownText(float v)
{
    return QString::number(double(v), 'g', 6).replace('.', ',');
}

// X window 10 ... 1 on a log axis, Y 1 ... 0, ticks every 0.5 and 0.25.
RxScale logXScale()
{
    RxScale s;
    s.setXRange(10, 1);
    s.setXLog(1);
    s.setXStep(0.5f);
    s.setYStep(0.25f);
    s.setTickMode(1);
    return s;
}

} // namespace

void TestRxScaleWin::initTestCase()
{
    // Comma decimals in Qt and in the C library: numbers show a decimal comma and read
    // either mark, and the C library's locale changes nothing.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QVERIFY2(std::setlocale(LC_ALL, "de_DE.UTF-8"), "the de_DE.UTF-8 locale is missing");
}

void TestRxScaleWin::cleanupTestCase()
{
    std::setlocale(LC_ALL, "C");
}

void TestRxScaleWin::showsScale_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("radio");
    QTest::newRow("no ticks") << 0 << QString("RadioButton_2");
    QTest::newRow("ticks") << 1 << QString("RadioButton_3");
    QTest::newRow("grids") << 2 << QString("RadioButton_4");
}

void TestRxScaleWin::showsScale()
{
    QFETCH(int, mode);
    QFETCH(QString, radio);
    RxFile doc;
    RxScale s = logXScale();
    s.setXRange(250, 0.5f);
    s.setYRange(-2.5f, 1.5e-7f);
    s.setXLabel("Time (s)");
    s.setTickMode(mode);
    doc.setScale(s);
    RxScaleWin dlg(&doc);
    dlg.show();

    QCOMPARE(dlg.windowTitle(), QString("ReScale"));
    QCOMPARE(dlg.minimumSize(), QSize(500, 370));
    QCOMPARE(dlg.maximumSize(), QSize(500, 370));
    QVERIFY(dlg.isModal());
    QCOMPARE(texts(dlg,
                 {"LineEdit_1", "LineEdit_2", "LineEdit_3", "LineEdit_4", "LineEdit_7",
                     "LineEdit_8", "LineEdit_5", "LineEdit_6"}),
        QStringList({"250", "0,5", "-2,5", "1,5e-07", "0,5", "0,25", "Time (s)", ""}));
    auto *logX = control<QCheckBox>(dlg, "CheckBox_1");
    auto *logY = control<QCheckBox>(dlg, "CheckBox_2");
    QVERIFY(logX->isChecked() && logX->isEnabled());
    QVERIFY(!logY->isChecked() && !logY->isEnabled());
    QVERIFY(control<QRadioButton>(dlg, radio.toLatin1().constData())->isChecked());
    QCOMPARE(field(dlg, "LineEdit_7")->isEnabled(), mode != 0);
    QCOMPARE(field(dlg, "LineEdit_8")->isEnabled(), mode != 0);
}

void TestRxScaleWin::logBoxFollowsTyping_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::newRow("minimum X of 0") << QString("LineEdit_2") << QString("0");
    QTest::newRow("negative minimum X") << QString("LineEdit_2") << QString("-3");
    QTest::newRow("maximum X not a number") << QString("LineEdit_1") << QString("abc");
    QTest::newRow("maximum Y of 0") << QString("LineEdit_3") << QString("0");
    QTest::newRow("minimum Y below single precision") << QString("LineEdit_4") << QString("1e-50");
}

void TestRxScaleWin::logBoxFollowsTyping()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    RxFile doc;
    RxScale s = logXScale();
    s.setYRange(10, 1);
    s.setYLog(1);
    doc.setScale(s);
    RxScaleWin dlg(&doc);
    dlg.show();
    const bool xAxis = name == "LineEdit_1" || name == "LineEdit_2";
    auto *box = control<QCheckBox>(dlg, xAxis ? "CheckBox_1" : "CheckBox_2");
    auto *otherBox = control<QCheckBox>(dlg, xAxis ? "CheckBox_2" : "CheckBox_1");

    type(dlg, name, typed);
    QVERIFY(!box->isEnabled());
    QVERIFY(box->isChecked());
    QVERIFY(otherBox->isEnabled());
    type(dlg, name, "2");
    QVERIFY(box->isEnabled());
}

void TestRxScaleWin::applyRange_data()
{
    QTest::addColumn<QString>("max");
    QTest::addColumn<QString>("min");
    QTest::addColumn<bool>("log");
    QTest::addColumn<float>("storedMax");
    QTest::addColumn<float>("storedMin");
    QTest::addColumn<int>("storedLog"); // -1: the whole Apply is refused
    QTest::addColumn<bool>("pointDesktop"); // a desktop that writes decimals with a point
    QTest::newRow("new range, log kept")
        << QString("100") << QString("10") << true << 100.0f << 10.0f << 1 << false;
    QTest::newRow("equal ends keep the old range")
        << QString("5") << QString("5") << true << 10.0f << 1.0f << 1 << false;
    QTest::newRow("log switched off")
        << QString("10") << QString("1") << false << 10.0f << 1.0f << 0 << false;
    QTest::newRow("end at 0 clears log")
        << QString("10") << QString("0") << true << 10.0f << 0.0f << 0 << false;
    QTest::newRow("reversed axis")
        << QString("-4") << QString("10") << false << -4.0f << 10.0f << 0 << false;
    QTest::newRow("text reads as 0")
        << QString("abc") << QString("4") << false << 0.0f << 4.0f << 0 << false;
    QTest::newRow("decimal comma")
        << QString("0,5") << QString("0,25") << true << 0.5f << 0.25f << 1 << false;
    QTest::newRow("decimal point on a comma desktop")
        << QString("2.5") << QString("1") << true << 2.5f << 1.0f << 1 << false;
    // The Y range is then not applied either.
    QTest::newRow("two decimal marks refused")
        << QString("1.000,5") << QString("1") << true << 10.0f << 1.0f << -1 << false;
    QTest::newRow("comma on a point desktop refused")
        << QString("0,5") << QString("0.25") << true << 10.0f << 1.0f << -1 << true;
    QTest::newRow("beyond single precision refused")
        << QString("1e39") << QString("1") << true << 10.0f << 1.0f << 1 << false;
}

void TestRxScaleWin::applyRange()
{
    QFETCH(QString, max);
    QFETCH(QString, min);
    QFETCH(bool, log);
    QFETCH(float, storedMax);
    QFETCH(float, storedMin);
    QFETCH(int, storedLog);
    QFETCH(bool, pointDesktop);
    DefaultLocale desktop(pointDesktop ? QLocale::c() : QLocale());
    RxFile doc;
    doc.setScale(logXScale());
    RxScaleWin dlg(&doc);
    dlg.show();
    QSignalSpy changed(&dlg, &RxScaleWin::scaleChanged);
    ModalAnswers answers;

    type(dlg, "LineEdit_1", max);
    type(dlg, "LineEdit_2", min);
    control<QCheckBox>(dlg, "CheckBox_1")->setChecked(log);
    // Y goes in whatever happens to X; its old range 1 ... 0 could not be logarithmic.
    type(dlg, "LineEdit_3", "8");
    type(dlg, "LineEdit_4", "2");
    control<QCheckBox>(dlg, "CheckBox_2")->setChecked(true);
    click(dlg, "PushButton_1");

    const RxScale s = doc.scale();
    if (storedLog < 0) {
        QCOMPARE(ends(s), ends(logXScale()));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(answers.seen.size(), 1);
        QVERIFY2(answers.seen[0].startsWith("Error: \"" + max + "\" is not a number"),
            qPrintable(answers.seen[0]));
        QCOMPARE(field(dlg, "LineEdit_1")->text(), max);
        return;
    }
    QCOMPARE(ends(s), QList<float>({storedMax, storedMin, 8, 2}));
    QCOMPARE(QList<int>({s.xLog(), s.yLog()}), QList<int>({storedLog, 1}));
    QCOMPARE(changed.count(), 1);
    QVERIFY(answers.seen.isEmpty());
    // A refused range is not left on show as if it were in effect.
    QCOMPARE(texts(dlg, {"LineEdit_1", "LineEdit_2"}),
        QStringList({shownText(storedMax), shownText(storedMin)}));
}

void TestRxScaleWin::applyTickMode_data()
{
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QString>("xStep");
    QTest::addColumn<QString>("yStep");
    QTest::addColumn<int>("mode");
    QTest::addColumn<float>("storedX");
    QTest::addColumn<float>("storedY");
    QTest::newRow("none leaves the steps")
        << QString("RadioButton_2") << QString("7") << QString("9") << 0 << 0.5f << 0.25f;
    QTest::newRow("ticks") << QString("RadioButton_3") << QString("2") << QString("3e-3") << 1
                           << 2.0f << 0.003f;
    QTest::newRow("grids") << QString("RadioButton_4") << QString("2") << QString("3") << 2 << 2.0f
                           << 3.0f;
    QTest::newRow("zero step refused")
        << QString("RadioButton_3") << QString("0") << QString("3") << 1 << 0.5f << 3.0f;
    QTest::newRow("negative and non-numeric steps refused")
        << QString("RadioButton_4") << QString("-1") << QString("x") << 2 << 0.5f << 0.25f;
}

void TestRxScaleWin::applyTickMode()
{
    QFETCH(QString, radio);
    QFETCH(QString, xStep);
    QFETCH(QString, yStep);
    QFETCH(int, mode);
    QFETCH(float, storedX);
    QFETCH(float, storedY);
    RxFile doc;
    doc.setScale(logXScale());
    RxScaleWin dlg(&doc);
    dlg.show();

    type(dlg, "LineEdit_7", xStep);
    type(dlg, "LineEdit_8", yStep);
    control<QRadioButton>(dlg, radio.toLatin1().constData())->click();
    QCOMPARE(field(dlg, "LineEdit_7")->isEnabled(), mode != 0);
    QCOMPARE(field(dlg, "LineEdit_8")->isEnabled(), mode != 0);
    click(dlg, "PushButton_1");

    const RxScale s = doc.scale();
    QCOMPARE(s.tickMode(), mode);
    QCOMPARE(QList<float>({s.xStep(), s.yStep()}), QList<float>({storedX, storedY}));
    QCOMPARE(texts(dlg, {"LineEdit_7", "LineEdit_8"}),
        QStringList({shownText(storedX), shownText(storedY)}));
}

void TestRxScaleWin::applyLabel_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("typed"); // null: the field is not touched
    QTest::addColumn<QByteArray>("result");
    QTest::newRow("cleared field removes the label")
        << QByteArray("Time") << QString("") << QByteArray();
    QTest::newRow("Latin-1 byte kept") << QByteArray("\xb5s") << QString() << QByteArray("\xb5s");
    QTest::newRow("typed Latin-1")
        << QByteArray() << QString::fromLatin1("\xb5s") << QByteArray("\xb5s");
    const QByteArray longLabel(40000, 'a');
    QTest::newRow("longer than a line edit holds") << longLabel << QString() << longLabel;
}

void TestRxScaleWin::applyLabel()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, typed);
    QFETCH(QByteArray, result);
    RxFile doc;
    RxScale s;
    s.setXLabel(stored);
    s.setYLabel("Volt");
    doc.setScale(s);
    RxScaleWin dlg(&doc);
    dlg.show();

    if (!typed.isNull())
        field(dlg, "LineEdit_5")->setText(typed);
    click(dlg, "PushButton_1");
    QCOMPARE(doc.scale().xLabel(), result);
    QCOMPARE(doc.scale().yLabel(), QByteArray("Volt"));
}

void TestRxScaleWin::untouchedFieldsKeepStoredValues()
{
    // More digits than "%g" shows.
    RxFile doc;
    RxScale s;
    s.setXRange(1.2345678f, 0.12345678f);
    s.setYRange(9.8765432e-5f, -3.3333333f);
    s.setXStep(0.012345678f);
    s.setYStep(1234567.8f);
    s.setTickMode(2);
    doc.setScale(s);
    RxScaleWin dlg(&doc);
    dlg.show();
    QCOMPARE(field(dlg, "LineEdit_1")->text(), QString("1,23457"));

    field(dlg, "LineEdit_5")->setText("Time");
    click(dlg, "PushButton_1");
    const RxScale out = doc.scale();
    QCOMPARE(ends(out), ends(s));
    QCOMPARE(QList<float>({out.xStep(), out.yStep()}), QList<float>({s.xStep(), s.yStep()}));
}

void TestRxScaleWin::focusFollowsCheckedButton()
{
    RxFile doc;
    doc.addPoint(0, 1, 1, 2);
    RxScaleWin dlg(&doc);
    dlg.show();
    dlg.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    auto *grids = control<QRadioButton>(dlg, "RadioButton_4");
    grids->click();
    grids->setFocus();
    // Auto sets the mode to "None": Space must not bring "Grids" back.
    QVERIFY(QMetaObject::invokeMethod(&dlg, "autoButton"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(control<QRadioButton>(dlg, "RadioButton_2")->isChecked());
    QVERIFY(control<QRadioButton>(dlg, "RadioButton_2")->hasFocus());
}

void TestRxScaleWin::autoReplacesScale()
{
    RxFile doc;
    for (const QPointF &p : {QPointF(1, -2), QPointF(3, 5), QPointF(2, 0)})
        doc.addPoint(0, 1, float(p.x()), float(p.y()));
    RxScale s = logXScale();
    s.setTickMode(2);
    s.setXLabel("T");
    doc.setScale(s);
    RxScaleWin dlg(&doc);
    dlg.show();
    QSignalSpy changed(&dlg, &RxScaleWin::scaleChanged);

    type(dlg, "LineEdit_1", "99");
    click(dlg, "PushButton_2");
    QCOMPARE(changed.count(), 1);
    QCOMPARE(ends(doc.scale()), QList<float>({3, 1, 5, -2}));
    QCOMPARE(QList<int>({doc.scale().tickMode(), doc.scale().xLog()}), QList<int>({0, 0}));
    QCOMPARE(
        texts(dlg,
            {"LineEdit_1", "LineEdit_2", "LineEdit_3", "LineEdit_4", "LineEdit_7", "LineEdit_5"}),
        QStringList({"3", "1", "5", "-2", "0,5", "T"}));
    QVERIFY(control<QRadioButton>(dlg, "RadioButton_2")->isChecked());
    QVERIFY(!field(dlg, "LineEdit_7")->isEnabled());
    QVERIFY(!control<QCheckBox>(dlg, "CheckBox_1")->isChecked());
    QVERIFY(!control<QCheckBox>(dlg, "CheckBox_2")->isEnabled());
}

void TestRxScaleWin::autoNeedsPoints_data()
{
    QTest::addColumn<int>("emptyCurves");
    QTest::newRow("no curves") << 0;
    QTest::newRow("curves without points") << 2;
}

void TestRxScaleWin::autoNeedsPoints()
{
    QFETCH(int, emptyCurves);
    RxFile doc;
    for (int i = 0; i < emptyCurves; ++i)
        doc.addCurve(RxCurve());
    doc.setScale(logXScale());
    RxScaleWin dlg(&doc);
    dlg.show();
    QSignalSpy changed(&dlg, &RxScaleWin::scaleChanged);

    QVERIFY(!control<QPushButton>(dlg, "PushButton_2")->isEnabled());
    click(dlg, "PushButton_2");
    QVERIFY(QMetaObject::invokeMethod(&dlg, "autoButton"));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(ends(doc.scale()), ends(logXScale()));
}

QTEST_MAIN(TestRxScaleWin)
#include "TestRxScaleWin.moc"
