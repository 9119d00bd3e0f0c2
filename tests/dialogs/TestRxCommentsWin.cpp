#include "dialogs/RxCommentsWin.h"
#include "model/RxFile.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <clocale>

#include "RxTestGui.h"

// "Comments" driven through its controls; the document's comments are the outcome.
class TestRxCommentsWin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void addAppendsBlankComment_data();
    void addAppendsBlankComment();
    void deleteKeepsOrder_data();
    void deleteKeepsOrder();
    void applyEditsChosenComment_data();
    void applyEditsChosenComment();
    void positionFieldsFollowLocationType_data();
    void positionFieldsFollowLocationType();
    void untouchedLargeDataPositionSurvivesApply();
};

namespace {

const char *const editingControls[] = {"ComboBox_3", "LineEdit_1", "LineEdit_2", "LineEdit_3",
    "ComboBox_1", "LineEdit_4", "ComboBox_2", "PushButton_4", "PushButton_3"};
const QString blank = "(blank)|0|20,2|1|1|0";

// One comment as text, so that one compare covers every field.
QString describe(const RxComments &c, int i)
{
    return QString("%1|%2|%3,%4|%5|%6|%7")
        .arg(QString::fromLatin1(c.text(i)))
        .arg(c.locType(i))
        .arg(double(c.x(i)))
        .arg(double(c.y(i)))
        .arg(double(c.fontSize(i)))
        .arg(c.font(i))
        .arg(c.color(i));
}

QStringList describe(const RxComments &c)
{
    QStringList out;
    for (int i = 0; i < c.numComments(); ++i)
        out << describe(c, i);
    return out;
}

// What the fields show, in the order describe() writes a comment.
QString shown(QWidget &dlg)
{
    auto text = [&dlg](const char *name) { return control<QLineEdit>(dlg, name)->text(); };
    return QString("%1|%2|%3,%4|%5|%6|%7")
        .arg(text("LineEdit_1"))
        .arg(control<QRadioButton>(dlg, "RadioButton_1")->isChecked() ? 0 : 1)
        .arg(text("LineEdit_3"), text("LineEdit_2"), text("LineEdit_4"))
        .arg(control<QComboBox>(dlg, "ComboBox_1")->currentIndex())
        .arg(control<QComboBox>(dlg, "ComboBox_2")->currentIndex());
}

// Comments "c1" ... "cn": comment i at column 10 i, row i, colour i, font 8 - i.
RxFile makeDoc(int n)
{
    RxFile doc;
    RxComments c;
    for (int i = 0; i < n; ++i) {
        c.addComment("c" + QByteArray::number(i + 1), float(10 * i), float(i), 0);
        c.setColor(i, i);
        c.setFont(i, 8 - i);
    }
    doc.setComments(c);
    return doc;
}

QStringList chooserItems(QWidget &dlg)
{
    auto *combo = control<QComboBox>(dlg, "ComboBox_3");
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

QStringList numbers(int n)
{
    QStringList out;
    for (int i = 1; i <= n; ++i)
        out << QString::number(i);
    return out;
}

void verifyEditing(QWidget &dlg, bool enabled)
{
    for (const char *name : editingControls)
        QVERIFY2(control<QWidget>(dlg, name)->isEnabled() == enabled, name);
    for (const char *name : {"PushButton_1", "PushButton_2", "RadioButton_1", "RadioButton_2"})
        QVERIFY2(control<QWidget>(dlg, name)->isEnabled(), name);
}

} // namespace

void TestRxCommentsWin::initTestCase()
{
    // Comma decimals in Qt and in the C library: numbers show a decimal comma and read
    // either mark, and the C library's locale changes nothing.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QVERIFY2(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), "the de_DE.UTF-8 locale is missing");
}

void TestRxCommentsWin::cleanupTestCase()
{
    std::setlocale(LC_NUMERIC, "C");
}

void TestRxCommentsWin::addAppendsBlankComment_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("to an empty document") << 0;
    QTest::newRow("dropping what was typed into comment 1") << 1;
}

void TestRxCommentsWin::addAppendsBlankComment()
{
    QFETCH(int, count);
    RxFile doc = makeDoc(count);
    const QStringList before = describe(doc.comments());
    RxCommentsWin dlg(&doc);
    dlg.show();
    QSignalSpy changed(&dlg, &RxCommentsWin::commentsChanged);
    QCOMPARE(dlg.windowTitle(), QString("Comments"));
    QCOMPARE(dlg.minimumSize(), QSize(420, 360));
    QCOMPARE(dlg.maximumSize(), QSize(420, 360));
    QCOMPARE(control<QComboBox>(dlg, "ComboBox_1")->itemText(0), QString("Helvetica-Bold"));
    QCOMPARE(control<QComboBox>(dlg, "ComboBox_2")->count(), 8);
    verifyEditing(dlg, count > 0);
    setField(dlg, "LineEdit_1", "typed, never applied");
    setField(dlg, "LineEdit_2", "9");

    click(dlg, "PushButton_1");
    QCOMPARE(changed.count(), 1);
    QCOMPARE(describe(doc.comments()), before + QStringList({blank}));
    verifyEditing(dlg, true);
    QCOMPARE(chooserItems(dlg), numbers(count + 1));
    QCOMPARE(control<QComboBox>(dlg, "ComboBox_3")->currentIndex(), count);
    QCOMPARE(shown(dlg), blank);
}

void TestRxCommentsWin::deleteKeepsOrder_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("index");
    QTest::addColumn<QList<int>>("left");
    QTest::newRow("first of three") << 3 << 0 << QList<int> {1, 2};
    QTest::newRow("middle of three") << 3 << 1 << QList<int> {0, 2};
    QTest::newRow("last of three") << 3 << 2 << QList<int> {0, 1};
    QTest::newRow("the only one") << 1 << 0 << QList<int>();
}

void TestRxCommentsWin::deleteKeepsOrder()
{
    QFETCH(int, count);
    QFETCH(int, index);
    QFETCH(QList<int>, left);
    RxFile doc = makeDoc(count);
    const QStringList before = describe(doc.comments());
    RxCommentsWin dlg(&doc);
    dlg.show();
    QSignalSpy changed(&dlg, &RxCommentsWin::commentsChanged);

    choose(dlg, "ComboBox_3", index);
    QCOMPARE(shown(dlg), before[index]);
    click(dlg, "PushButton_3");

    QCOMPARE(changed.count(), 1);
    QStringList expected;
    for (int i : left)
        expected << before[i];
    QCOMPARE(describe(doc.comments()), expected);
    QCOMPARE(chooserItems(dlg), numbers(int(left.size())));
    verifyEditing(dlg, !left.isEmpty());
    if (!left.isEmpty()) {
        QCOMPARE(control<QComboBox>(dlg, "ComboBox_3")->currentIndex(), 0);
        QCOMPARE(shown(dlg), expected[0]);
    } else {
        // Nothing of the deleted comment is left on show.
        QCOMPARE(shown(dlg), QString("|0|,||-1|-1"));
    }
}

void TestRxCommentsWin::applyEditsChosenComment_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("sizeShown"); // after the Apply
    // Comment 2 starts at font size 2; the other fields are stored whatever the size.
    QTest::newRow("all fields") << "1.5"
                                << "-3.25"
                                << "x^2^ (a)|1|2500,-3.25|1.5|4|7"
                                << "1,5";
    QTest::newRow("decimal comma") << "1,5"
                                   << "-3,25"
                                   << "x^2^ (a)|1|2500,-3.25|1.5|4|7"
                                   << "1,5";
    QTest::newRow("font size 0 refused") << "0"
                                         << "4"
                                         << "x^2^ (a)|1|2500,4|2|4|7"
                                         << "2";
    QTest::newRow("negative font size refused") << "-1"
                                                << "4"
                                                << "x^2^ (a)|1|2500,4|2|4|7"
                                                << "2";
    QTest::newRow("empty fields read as 0") << ""
                                            << ""
                                            << "x^2^ (a)|1|2500,0|2|4|7"
                                            << "2";
}

void TestRxCommentsWin::applyEditsChosenComment()
{
    QFETCH(QString, size);
    QFETCH(QString, row);
    QFETCH(QString, expected);
    QFETCH(QString, sizeShown);
    RxFile doc = makeDoc(3);
    RxComments c = doc.comments();
    c.setFontSize(1, 2.0f);
    doc.setComments(c);
    const QStringList before = describe(doc.comments());
    RxCommentsWin dlg(&doc);
    dlg.show();
    QSignalSpy changed(&dlg, &RxCommentsWin::commentsChanged);

    choose(dlg, "ComboBox_3", 1);
    setField(dlg, "LineEdit_1", "x^2^ (a)");
    control<QRadioButton>(dlg, "RadioButton_2")->click();
    setField(dlg, "LineEdit_2", row);
    setField(dlg, "LineEdit_3", "2.5e3");
    setField(dlg, "LineEdit_4", size);
    choose(dlg, "ComboBox_1", 4);
    choose(dlg, "ComboBox_2", 7);
    // Return in a field applies; it must never reach Delete.
    QTest::keyClick(control<QLineEdit>(dlg, "LineEdit_1"), Qt::Key_Return);

    QCOMPARE(changed.count(), 1);
    QCOMPARE(describe(doc.comments()), QStringList({before[0], expected, before[2]}));
    QCOMPARE(control<QLineEdit>(dlg, "LineEdit_4")->text(), sizeShown);
}

void TestRxCommentsWin::positionFieldsFollowLocationType_data()
{
    QTest::addColumn<bool>("rowCol");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("row/col: decimal mark kept in sight") << true << "2.5"
                                                         << "2.5";
    QTest::newRow("row/col: negative") << true << "-12"
                                       << "-12";
    QTest::newRow("row/col: beyond 100") << true << "1500"
                                         << "1500";
    QTest::newRow("data: decimals") << false << "-2.5e-3"
                                    << "-2.5e-3";
    QTest::newRow("data: decimal comma") << false << "1,5"
                                         << "1,5";
}

void TestRxCommentsWin::positionFieldsFollowLocationType()
{
    QFETCH(bool, rowCol);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    RxFile doc = makeDoc(1);
    RxCommentsWin dlg(&doc);
    dlg.show();
    auto *other = control<QRadioButton>(dlg, rowCol ? "RadioButton_2" : "RadioButton_1");
    auto *mine = control<QRadioButton>(dlg, rowCol ? "RadioButton_1" : "RadioButton_2");
    // Through the other kind and back, so that both switches are exercised.
    QTest::mouseClick(other, Qt::LeftButton);
    QTest::mouseClick(mine, Qt::LeftButton);
    for (const char *name : {"LineEdit_2", "LineEdit_3"}) {
        setField(dlg, name, typed);
        QCOMPARE(control<QLineEdit>(dlg, name)->text(), kept);
        // Switching does not convert what is already there.
        QTest::mouseClick(other, Qt::LeftButton);
        QCOMPARE(control<QLineEdit>(dlg, name)->text(), kept);
        QTest::mouseClick(mine, Qt::LeftButton);
    }
}

void TestRxCommentsWin::untouchedLargeDataPositionSurvivesApply()
{
    // Six digits of "%g" would move this comment by thousands of data units.
    const float x = 1700012288.0f;
    const float y = 0.123456789f;
    RxFile doc;
    RxComments c;
    c.addComment("t0", x, y, 1);
    c.setFontSize(0, 1.23456789f);
    doc.setComments(c);
    RxCommentsWin dlg(&doc);
    dlg.show();
    QCOMPARE(shown(dlg), QString("t0|1|1,70001e+09,0,123457|1,23457|1|0"));

    choose(dlg, "ComboBox_2", 3);
    click(dlg, "PushButton_4");
    // Exact: QCOMPARE on floats would forgive the rounding.
    const RxComments after = doc.comments();
    QVERIFY(after.x(0) == x);
    QVERIFY(after.y(0) == y);
    QVERIFY(after.fontSize(0) == 1.23456789f);
    QCOMPARE(after.color(0), 3);

    setField(dlg, "LineEdit_3", "1.7e9");
    click(dlg, "PushButton_4");
    QVERIFY(doc.comments().x(0) == 1.7e9f);
}

QTEST_MAIN(TestRxCommentsWin)
#include "TestRxCommentsWin.moc"
