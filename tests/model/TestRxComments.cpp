#include "model/RxComments.h"

#include "model/RxLineReader.h"
#include "model/RxTestRecord.h"

#include <QBuffer>
#include <QtTest>

#include <cmath>

namespace {

// One comment as text: its text, location type, position and format.
QByteArray entry(const RxComments &c, int i)
{
    return c.text(i) + '|' + QByteArray::number(c.locType(i)) + ' ' + QByteArray::number(c.x(i))
        + ' ' + QByteArray::number(c.y(i)) + ' ' + QByteArray::number(c.fontSize(i)) + ' '
        + QByteArray::number(c.font(i)) + ' ' + QByteArray::number(c.color(i));
}

QList<QByteArray> entries(const RxComments &c)
{
    QList<QByteArray> out;
    for (int i = 0; i < c.numComments(); ++i)
        out.append(entry(c, i));
    return out;
}

// Three comments with formats of their own.
RxComments threeComments()
{
    RxComments c;
    c.addComment("first", 20.0f, 3.0f, 0);
    c.addComment("second", 1.5f, -2.5f, 1);
    c.addComment("third", 0.0f, 19.0f, 0);
    c.setFont(0, 4);
    c.setColor(0, 2);
    c.setFontSize(1, 2.5f);
    c.setColor(1, 7);
    c.setFont(2, 8);
    c.setFontSize(2, 0.5f);
    return c;
}

} // namespace

class TestRxComments : public QObject
{
    Q_OBJECT

private slots:
    void addComment_data();
    void addComment();
    void setCommentAppendsOnlyAtTheEnd_data();
    void setCommentAppendsOnlyAtTheEnd();
    void setCommentLocationType_data();
    void setCommentLocationType();
    void removeComment_data();
    void removeComment();
    void format_data();
    void format();
    void markersOutOfRange_data();
    void markersOutOfRange();
    void textsAreOneLine();

    void writeFormat();
    void writeText();
    void readFormat();
    void readFormatWithoutRecords();
    void refusedValueInRecord_data();
    void refusedValueInRecord();
    void truncatedRecord_data();
    void truncatedRecord();
};

void TestRxComments::addComment_data()
{
    QTest::addColumn<int>("locType");
    QTest::addColumn<int>("result");
    QTest::newRow("page position") << 0 << 1;
    QTest::newRow("data position") << 1 << 1;
    QTest::newRow("location type 2 refused") << 2 << 0;
    QTest::newRow("location type -1 refused") << -1 << 0;
}

void TestRxComments::addComment()
{
    QFETCH(int, locType);
    QFETCH(int, result);
    RxComments c = threeComments();
    const QList<QByteArray> before = entries(c);
    QCOMPARE(c.addComment("new", 4.0f, 5.0f, locType), result);
    if (!result) {
        QCOMPARE(entries(c), before);
        return;
    }
    QCOMPARE(c.numComments(), 4);
    QCOMPARE(entries(c).mid(0, 3), before);
    // The new comment has the default format.
    QCOMPARE(entry(c, 3), "new|" + QByteArray::number(locType) + " 4 5 1 1 0");
}

void TestRxComments::setCommentAppendsOnlyAtTheEnd_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("count");
    QTest::newRow("first replaced") << 0 << 1 << 3;
    QTest::newRow("last replaced") << 2 << 1 << 3;
    QTest::newRow("the count appends") << 3 << 1 << 4;
    QTest::newRow("beyond the count refused") << 4 << 0 << 3;
    QTest::newRow("negative refused") << -1 << 0 << 3;
}

void TestRxComments::setCommentAppendsOnlyAtTheEnd()
{
    QFETCH(int, index);
    QFETCH(int, result);
    QFETCH(int, count);
    const RxComments original = threeComments();
    RxComments c = original;
    QCOMPARE(c.setComment(index, "set", 7.0f, 8.0f), result);
    QCOMPARE(c.numComments(), count);
    if (!result) {
        QCOMPARE(entries(c), entries(original));
        return;
    }
    for (int i = 0; i < 3; ++i) {
        if (i != index)
            QCOMPARE(entry(c, i), entry(original, i));
    }
    if (index == 3) {
        // Appended with the default format.
        QCOMPARE(entry(c, 3), QByteArray("set|0 7 8 1 1 0"));
        return;
    }
    QCOMPARE(c.text(index), QByteArray("set"));
    QCOMPARE(c.x(index), 7.0f);
    QCOMPARE(c.y(index), 8.0f);
    // Replacing keeps the format.
    QCOMPARE(c.locType(index), original.locType(index));
    QCOMPARE(c.font(index), original.font(index));
    QCOMPARE(c.fontSize(index), original.fontSize(index));
    QCOMPARE(c.color(index), original.color(index));
}

void TestRxComments::setCommentLocationType_data()
{
    QTest::addColumn<int>("locType");
    QTest::addColumn<int>("stored");
    QTest::newRow("data position") << 1 << 1;
    QTest::newRow("page position") << 0 << 0;
    QTest::newRow("5 stores 0") << 5 << 0;
    QTest::newRow("-1 stores 0") << -1 << 0;
}

void TestRxComments::setCommentLocationType()
{
    QFETCH(int, locType);
    QFETCH(int, stored);
    RxComments c = threeComments();
    QCOMPARE(c.setComment(1, "x", 1.0f, 2.0f, locType), 1);
    QCOMPARE(c.locType(1), stored);
    // Without a location type it stays.
    QCOMPARE(c.setComment(1, "y", 1.0f, 2.0f), 1);
    QCOMPARE(c.locType(1), stored);
}

void TestRxComments::removeComment_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QList<int>>("left");
    QTest::newRow("first of three") << 0 << QList<int> {1, 2};
    QTest::newRow("middle") << 1 << QList<int> {0, 2};
    QTest::newRow("last") << 2 << QList<int> {0, 1};
    QTest::newRow("the count refused") << 3 << QList<int> {0, 1, 2};
    QTest::newRow("negative refused") << -1 << QList<int> {0, 1, 2};
}

void TestRxComments::removeComment()
{
    QFETCH(int, index);
    QFETCH(QList<int>, left);
    RxComments c = threeComments();
    const QList<QByteArray> before = entries(c);
    QCOMPARE(c.removeComment(index), left.size() == 2 ? 1 : 0);
    QList<QByteArray> expected;
    for (const int i : left)
        expected.append(before[i]);
    QCOMPARE(entries(c), expected);
}

void TestRxComments::format_data()
{
    QTest::addColumn<QByteArray>("what");
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("result");
    const auto row = [](const char *name, const char *what, int i, double v, int result) {
        QTest::newRow(name) << QByteArray(what) << i << v << result;
    };
    row("font 8 is the last", "font", 1, 8, 1);
    row("font 0", "font", 1, 0, 1);
    row("font 9 refused", "font", 1, 9, 0);
    row("font -1 refused", "font", 1, -1, 0);
    row("font of a missing comment refused", "font", 3, 2, 0);
    row("colour 7 is the last", "color", 1, 7, 1);
    row("colour 8 refused", "color", 1, 8, 0);
    row("colour -1 refused", "color", 1, -1, 0);
    row("colour of a negative index refused", "color", -1, 2, 0);
    row("font size 3", "fontsize", 1, 3, 1);
    row("font size 0 refused", "fontsize", 1, 0, 0);
    row("font size negative refused", "fontsize", 1, -1, 0);
    row("font size nan refused", "fontsize", 1, std::nan(""), 0);
    row("font size infinity refused", "fontsize", 1, HUGE_VAL, 0);
    row("font size 100 is the largest", "fontsize", 1, 100, 1);
    row("font size above 100 refused", "fontsize", 1, 100.01, 0);
    row("font size of a missing comment refused", "fontsize", 3, 2, 0);
}

void TestRxComments::format()
{
    QFETCH(QByteArray, what);
    QFETCH(int, index);
    QFETCH(double, value);
    QFETCH(int, result);
    RxComments c = threeComments();
    const QList<QByteArray> before = entries(c);
    int r = -1;
    double stored = 0;
    if (what == "font") {
        r = c.setFont(index, static_cast<int>(value));
        stored = c.font(index);
    } else if (what == "color") {
        r = c.setColor(index, static_cast<int>(value));
        stored = c.color(index);
    } else {
        r = c.setFontSize(index, static_cast<float>(value));
        stored = double(c.fontSize(index));
    }
    QCOMPARE(r, result);
    if (result)
        QCOMPARE(stored, value);
    else
        QCOMPARE(entries(c), before);
}

void TestRxComments::markersOutOfRange_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("negative") << -1;
    QTest::newRow("the count") << 3;
    QTest::newRow("far beyond") << 1000000;
}

void TestRxComments::markersOutOfRange()
{
    QFETCH(int, index);
    const RxComments c = threeComments();
    QCOMPARE(c.font(index), -1);
    QCOMPARE(c.color(index), -1);
    QCOMPARE(c.locType(index), -1);
    QCOMPARE(c.fontSize(index), -1.0f);
    QCOMPARE(c.x(index), 0.0f);
    QCOMPARE(c.y(index), 0.0f);
    QCOMPARE(c.textLength(index), 0);
    QCOMPARE(c.text(index), QByteArray());
}

void TestRxComments::textsAreOneLine()
{
    RxComments c;
    QCOMPARE(c.addComment("a\r\nb", 1.0f, 2.0f, 0), 1);
    QCOMPARE(c.setComment(1, "c\nd\r", 1.0f, 2.0f, 1), 1);
    QCOMPARE(c.text(0), QByteArray("a  b"));
    QCOMPARE(c.text(1), QByteArray("c d "));
    QCOMPARE(c.textLength(1), 4);

    QByteArray out;
    c.writeText(out);
    QCOMPARE(out, QByteArray("a  b\n2     1\nc d \n2     1\n"));
}

void TestRxComments::writeFormat()
{
    QByteArray out("before\n");
    threeComments().writeFormat(out);
    QCOMPARE(out,
        QByteArray("before\n"
                   "C comment: 0\nC\tloctype: 0\nC\tfont: 4\nC\tfontsize: 1\nC\tcolor: 2\n"
                   "C comment: 1\nC\tloctype: 1\nC\tfont: 1\nC\tfontsize: 2.5\nC\tcolor: 7\n"
                   "C comment: 2\nC\tloctype: 0\nC\tfont: 8\nC\tfontsize: 0.5\nC\tcolor: 0\n"));
    QByteArray none;
    RxComments().writeFormat(none);
    QCOMPARE(none, QByteArray());

    // Read back, the formats are those written; texts and positions come separately.
    RxComments c;
    QCOMPARE(rxReadRecord(c, out.mid(7) + "3\nrows\n"), 1);
    QCOMPARE(entries(c), (QList<QByteArray> {"|0 0 0 1 4 2", "|1 0 0 2.5 1 7", "|0 0 0 0.5 8 0"}));
}

void TestRxComments::writeText()
{
    RxComments c;
    c.addComment("a", 20.0f, 3.0f, 0);
    c.addComment("", 1.5f, -0.25f, 1);
    c.addComment("big", 1234567.0f, 1e-5f, 1);
    QByteArray out;
    c.writeText(out);
    QCOMPARE(out, QByteArray("a\n3     20\n\n-0.25     1.5\nbig\n1e-05     1.23457e+06\n"));
}

void TestRxComments::readFormat()
{
    const QByteArray records("C comment: 0\nC\tloctype: 1\nC\tfont: 4\nC\tfontsize: 2.5\n"
                             "C\tcolor: 3\n"
                             "C comment: 1\r\nC\tloctype: 0\r\nC\tfont: 8\r\nC\tfontsize: 0.5\r\n"
                             "C\tcolor: 7\r\n"
                             "C comment: 2\nC\tloctype: 0\nC\tfont: 0\nC\tfontsize: 1\n"
                             "C\tcolor: 0\n"
                             "12\nrows\n");
    RxComments c;
    QByteArray after;
    QCOMPARE(rxReadRecord(c, records, &after), 1);
    QCOMPARE(after, QByteArray("12\n"));
    // Texts and positions come later, from the comment section.
    QCOMPARE(entries(c), (QList<QByteArray> {"|1 0 0 2.5 4 3", "|0 0 0 0.5 8 7", "|0 0 0 1 0 0"}));
}

void TestRxComments::readFormatWithoutRecords()
{
    RxComments c;
    QByteArray after;
    QCOMPARE(rxReadRecord(c, "12\nC comment: 0\nC\tloctype: 1\n", &after), 1);
    QCOMPARE(after, QByteArray("12\n"));
    QCOMPARE(c.numComments(), 0);
}

void TestRxComments::refusedValueInRecord_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("comment");
    // The record otherwise holds location type 1, font 4, size 2.5 and colour 3.
    QTest::newRow("colour 8") << QByteArray("color") << QByteArray("8")
                              << QByteArray("|1 0 0 2.5 4 0");
    QTest::newRow("colour -1") << QByteArray("color") << QByteArray("-1")
                               << QByteArray("|1 0 0 2.5 4 0");
    QTest::newRow("font 9") << QByteArray("font") << QByteArray("9")
                            << QByteArray("|1 0 0 2.5 1 3");
    QTest::newRow("font size 0") << QByteArray("fontsize") << QByteArray("0")
                                 << QByteArray("|1 0 0 1 4 3");
    QTest::newRow("font size nan")
        << QByteArray("fontsize") << QByteArray("nan") << QByteArray("|1 0 0 1 4 3");
    QTest::newRow("font size beyond float")
        << QByteArray("fontsize") << QByteArray("1e39") << QByteArray("|1 0 0 1 4 3");
    QTest::newRow("font size 1e30")
        << QByteArray("fontsize") << QByteArray("1e30") << QByteArray("|1 0 0 1 4 3");
    QTest::newRow("location type 5")
        << QByteArray("loctype") << QByteArray("5") << QByteArray("|0 0 0 2.5 4 3");
}

void TestRxComments::refusedValueInRecord()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, comment);
    QByteArray record("C comment: 0\nC\tloctype: 1\nC\tfont: 4\nC\tfontsize: 2.5\nC\tcolor: 3\n");
    const qsizetype at = record.indexOf("\t" + key + ":");
    QVERIFY(at > 0);
    const qsizetype end = record.indexOf('\n', at);
    record.replace(at, end - at, "\t" + key + ": " + text);
    RxComments c;
    QCOMPARE(rxReadRecord(c, record + "12\nrows\n"), 1);
    QCOMPARE(entries(c), QList<QByteArray> {comment});
}

void TestRxComments::truncatedRecord_data()
{
    QTest::addColumn<QByteArray>("records");
    const QByteArray first(
        "C comment: 0\nC\tloctype: 1\nC\tfont: 4\nC\tfontsize: 2.5\nC\tcolor: 3\n");
    QTest::newRow("head line only") << QByteArray("C comment: 0\n");
    QTest::newRow("cut after a key") << QByteArray("C comment: 0\nC\tloctype: 1\nC\tfont: 4\n");
    QTest::newRow("nothing after the last key") << first;
    QTest::newRow("second record cut") << first + "C comment: 1\nC\tloctype: 1\n";
    QTest::newRow("second record lacks a key")
        << first + "C comment: 1\nC\tloctype: 1\nC\tfont: 4\nC\tcolor: 3\n12\nrows\n";
    QTest::newRow("key without colon")
        << QByteArray("C comment: 0\nC\tloctype 1\nC\tfont: 4\nC\tfontsize: 2.5\n"
                      "C\tcolor: 3\n12\nrows\n");
}

void TestRxComments::truncatedRecord()
{
    QFETCH(QByteArray, records);
    RxComments c;
    QCOMPARE(rxReadRecord(c, records), 0);
    QCOMPARE(c.numComments(), 0);
}

QTEST_GUILESS_MAIN(TestRxComments)
#include "TestRxComments.moc"
