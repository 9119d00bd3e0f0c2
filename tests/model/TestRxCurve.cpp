#include "model/RxCurve.h"
#include "model/RxLineReader.h"

#include <QBuffer>
#include <QtTest>

class TestRxCurve : public QObject
{
    Q_OBJECT
private slots:
    void firstPointRule_data();
    void firstPointRule();
    void refusedIndex_data();
    void refusedIndex();
    void insertAndRemoveKeepOtherColumns();
    void copyRange_data();
    void copyRange();
    void copyRangeOfItself();
    void growAndShrink();
    void readFormat_data();
    void readFormat();
    void writeText();
    void formatRow_data();
    void formatRow();
};

namespace {

// A 3-column curve whose point i is (i, 10 i, 100 + i) with the given types; the first
// type must be 0, or addRow would add a point.
RxCurve numbered(const QList<int> &types)
{
    RxCurve c(3);
    for (int i = 0; i < types.size(); ++i) {
        const float row[3] = {float(i), 10.0f * float(i), 100.0f + float(i)};
        c.addRow(types[i], row);
    }
    return c;
}

QList<int> typesOf(const RxCurve &c)
{
    QList<int> t;
    for (int i = 0; i < c.numPoints(); ++i)
        t << c.pointType(i);
    return t;
}

QList<float> column(const RxCurve &c, int k)
{
    QList<float> v;
    float row[8];
    for (int i = 0; i < c.numPoints(); ++i) {
        c.row(i, row);
        v << row[k];
    }
    return v;
}

} // namespace

// What each way of making the first point does with a type other than "new line".
void TestRxCurve::firstPointRule_data()
{
    QTest::addColumn<QString>("op");
    QTest::addColumn<int>("type");
    QTest::addColumn<QList<int>>("types");
    QTest::addColumn<QList<float>>("third");
    QTest::newRow("addPoint line is stored as new line")
        << "addPoint" << 1 << QList<int> {0} << QList<float> {0};
    QTest::newRow("addPoint symbol gets a new line first")
        << "addPoint" << 4 << QList<int> {0, 4} << QList<float> {0, 0};
    QTest::newRow("addRow line") << "addRow" << 1 << QList<int> {0} << QList<float> {7};
    QTest::newRow("addRow symbol copies the row")
        << "addRow" << 6 << QList<int> {0, 6} << QList<float> {7, 7};
    QTest::newRow("setPoint line keeps one point")
        << "setPoint" << 1 << QList<int> {0, 1} << QList<float> {100, 101};
    QTest::newRow("setPoint symbol inserts a copy")
        << "setPoint" << 7 << QList<int> {0, 7, 1} << QList<float> {100, 100, 101};
}

void TestRxCurve::firstPointRule()
{
    QFETCH(QString, op);
    QFETCH(int, type);
    QFETCH(QList<int>, types);
    QFETCH(QList<float>, third);
    RxCurve c = op == "setPoint" ? numbered({0, 1}) : RxCurve(3);
    const float row[3] = {1.5f, -2.0f, 7.0f};
    if (op == "addPoint")
        QCOMPARE(c.addPoint(type, 1.5f, -2.0f), 1);
    else if (op == "addRow")
        QCOMPARE(c.addRow(type, row), 1);
    else
        QCOMPARE(c.setPoint(0, type, 1.5f, -2.0f), 1);
    QCOMPARE(typesOf(c), types);
    QCOMPARE(column(c, 2), third);
    const int copies = types.size() - (op == "setPoint" ? 1 : 0);
    for (int i = 0; i < copies; ++i) {
        QCOMPARE(c.x(i), 1.5f);
        QCOMPARE(c.y(i), -2.0f);
    }
}

void TestRxCurve::refusedIndex_data()
{
    QTest::addColumn<QString>("op");
    QTest::addColumn<int>("index");
    for (const char *op : {"setX", "setPoint", "insertPoint", "removePoint", "row", "setRow",
             "clearRow", "insertRow", "getters"}) {
        QTest::addRow("%s before the start", op) << op << -1;
        QTest::addRow("%s past the end", op) << op << 3;
    }
}

void TestRxCurve::refusedIndex()
{
    QFETCH(QString, op);
    QFETCH(int, index);
    RxCurve c = numbered({0, 1, 2});
    QByteArray before;
    c.writePoints(before);
    float buf[3] = {-9, -9, -9};
    int r = -1;
    if (op == "setX")
        r = c.setX(index, 5) + c.setY(index, 5);
    else if (op == "setPoint")
        r = c.setPoint(index, 3, 5, 5);
    else if (op == "insertPoint")
        r = c.insertPoint(index, 3, 5, 5);
    else if (op == "removePoint")
        r = c.removePoint(index);
    else if (op == "row")
        r = c.row(index, buf) + (buf[0] == -9.0f ? 0 : 1);
    else if (op == "setRow")
        r = c.setRow(index, buf);
    else if (op == "clearRow")
        r = c.clearRow(index);
    else if (op == "insertRow")
        r = c.insertRow(index, 3, buf);
    else
        r = (c.x(index) != 0.0f) + (c.y(index) != 0.0f) + c.pointType(index);
    QCOMPARE(r, 0);
    QByteArray after;
    c.writePoints(after);
    QCOMPARE(after, before);
    QCOMPARE(column(c, 2), (QList<float> {100, 101, 102}));
}

void TestRxCurve::insertAndRemoveKeepOtherColumns()
{
    RxCurve c = numbered({0, 1, 1, 1});
    QCOMPARE(c.insertPoint(1, 5, -1, -2), 1);
    QCOMPARE(column(c, 0), (QList<float> {0, 1, -1, 2, 3}));
    QCOMPARE(column(c, 2), (QList<float> {100, 101, 0, 102, 103}));
    QCOMPARE(typesOf(c), (QList<int> {0, 1, 5, 1, 1}));
    // Removing the first point leaves the next one's type as it was.
    QCOMPARE(c.removePoint(0), 1);
    QCOMPARE(typesOf(c), (QList<int> {1, 5, 1, 1}));
    QCOMPARE(column(c, 2), (QList<float> {101, 0, 102, 103}));
    QCOMPARE(RxCurve(1).numCols(), 2);
    QCOMPARE(RxCurve().setXCol(2), 0);
}

void TestRxCurve::copyRange_data()
{
    QTest::addColumn<int>("srcPoints");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<QList<float>>("xs");
    QTest::addColumn<QList<int>>("types");
    // Source point i is at x = i, with types 0, 1, 2, 1, 6.
    QTest::newRow("whole curve") << 5 << -1 << 0 << QList<float> {0, 1, 2, 3, 4}
                                 << QList<int> {0, 1, 2, 1, 6};
    QTest::newRow("last two, first made new line")
        << 5 << -3 << 0 << QList<float> {3, 4} << QList<int> {0, 6};
    QTest::newRow("single symbol point doubled")
        << 5 << -2 << 4 << QList<float> {4, 4} << QList<int> {0, 6};
    QTest::newRow("inner range") << 5 << 1 << 2 << QList<float> {1, 2} << QList<int> {0, 2};
    QTest::newRow("last two of one point") << 1 << -3 << 0 << QList<float> {} << QList<int> {};
    QTest::newRow("whole of empty") << 0 << -1 << 0 << QList<float> {} << QList<int> {};
    QTest::newRow("reversed") << 5 << 3 << 1 << QList<float> {} << QList<int> {};
    QTest::newRow("past the end") << 5 << 0 << 5 << QList<float> {} << QList<int> {};
}

void TestRxCurve::copyRange()
{
    QFETCH(int, srcPoints);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(QList<float>, xs);
    QFETCH(QList<int>, types);
    RxCurve src = numbered(QList<int> {0, 1, 2, 1, 6}.first(srcPoints));
    src.setColor(3);
    src.setXCol(2);
    RxCurve c;
    c.addPoint(0, 9, 9);
    QCOMPARE(c.copyRange(src, first, last), xs.isEmpty() ? 0 : 1);
    QCOMPARE(typesOf(c), types);
    QCOMPARE(column(c, 0), xs);
    if (!xs.isEmpty()) {
        QCOMPARE(c.numCols(), 3);
        QCOMPARE(c.xCol(), 2);
        QCOMPARE(c.color(), 3);
    }
}

void TestRxCurve::copyRangeOfItself()
{
    RxCurve c = numbered({0, 1, 2, 1, 6});
    QCOMPARE(c.copyRange(c, 2, 4), 1);
    QCOMPARE(column(c, 2), (QList<float> {102, 102, 103, 104}));
    QCOMPARE(typesOf(c), (QList<int> {0, 2, 1, 6}));
}

// Geometric growth and shrinking must never show: values stay, copies are exact and deep.
void TestRxCurve::growAndShrink()
{
    const int n = 100000;
    RxCurve c;
    for (int i = 0; i < n; ++i)
        c.addPoint(i % 13, float(i), -float(i));
    QCOMPARE(c.numPoints(), n);
    c.removePoint(0);
    c.removePoint(49999); // the old point 50000
    for (int i = c.numPoints() - 1; i >= 1000; --i)
        QCOMPARE(c.removePoint(i), 1);
    QCOMPARE(c.numPoints(), 1000);
    for (int i = 0; i < 1000; ++i) {
        QCOMPARE(c.x(i), float(i + 1));
        QCOMPARE(c.y(i), -float(i + 1));
        QCOMPARE(c.pointType(i), (i + 1) % 13);
    }
    RxCurve copy(c);
    RxCurve assigned;
    assigned = c;
    c.setX(5, 42);
    c.squeeze();
    QByteArray a, b;
    copy.writePoints(a);
    assigned.writePoints(b);
    QCOMPARE(a, b);
    QCOMPARE(copy.x(5), 6.0f);
    QCOMPARE(copy.numPoints(), 1000);
    while (c.numPoints() > 0)
        c.removePoint(0);
    QCOMPARE(c.x(0), 0.0f);
    c.addPoint(1, 3, 4);
    QCOMPARE(c.pointType(0), 0);
}

void TestRxCurve::readFormat_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("ok");
    QTest::addColumn<QList<double>>("format");
    // A record succeeds only when the file goes on after the line that follows it.
    const QByteArray next = "C curve: 2\n0\t1\t2\n";
    // The curve starts from pattern 1.5, line type 1, colour 2, width 3.
    RxCurve written;
    written.setPatternLength(2.5f);
    written.setLineType(3);
    written.setColor(5);
    written.setLineWidth(4);
    QByteArray body;
    written.writeFormat(body);
    QTest::newRow("written by writeFormat") << body + next << 1 << QList<double> {2.5, 3, 5, 4};
    QTest::newRow("values out of tables give defaults")
        << QByteArray("C\tpatternlength: 0\nC\tlinetype: 6\nC\tcolor: 8\n"
                      "C\tlinewidth: -1\n")
            + next
        << 1 << QList<double> {4, 0, 0, 2};
    QTest::newRow("infinite pattern gives default")
        << QByteArray("C\tpatternlength: inf\nC\tlinetype: 1\nC\tcolor: 7\n"
                      "C\tlinewidth: 5\n")
            + next
        << 1 << QList<double> {4, 1, 7, 5};
    QTest::newRow("truncated") << QByteArray("C\tpatternlength: 2\nC\tlinetype: 1\n") << 0
                               << QList<double> {1.5, 1, 2, 3};
    QTest::newRow("nothing after the record")
        << QByteArray("C\tpatternlength: 2\nC\tlinetype: 1\nC\tcolor: 7\nC\tlinewidth: 5\n") << 0
        << QList<double> {1.5, 1, 2, 3};
    QTest::newRow("keys out of order")
        << QByteArray("C\tlinetype: 1\nC\tpatternlength: 2\nC\tcolor: 7\nC\tlinewidth: 5\n") + next
        << 0 << QList<double> {1.5, 1, 2, 3};
}

void TestRxCurve::readFormat()
{
    QFETCH(QByteArray, text);
    QFETCH(int, ok);
    QFETCH(QList<double>, format);
    QBuffer buffer(&text);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    RxLineReader in(buffer);
    RxCurve c;
    c.setPatternLength(1.5f);
    c.setLineType(1);
    c.setColor(2);
    c.setLineWidth(3);
    QByteArray line = "C curve: 1\n";
    QCOMPARE(c.readFormat(in, line), ok);
    QCOMPARE((QList<double> {c.patternLength(), double(c.lineType()), double(c.color()),
                 double(c.lineWidth())}),
        format);
    if (ok)
        QCOMPARE(line, QByteArray("C curve: 2\n"));
}

void TestRxCurve::writeText()
{
    RxCurve c;
    c.setPatternLength(2.5f);
    c.setColor(5);
    QByteArray format;
    c.writeFormat(format);
    QCOMPARE(format,
        QByteArray("C\tpatternlength: 2.5\nC\tlinetype: 0\nC\tcolor: 5\n"
                   "C\tlinewidth: 2\n"));
    c.addPoint(0, 1, 2);
    c.addPoint(1, 3, 4.5f);
    c.addPoint(12, -1e-7f, 1.2345678e8f);
    QByteArray out;
    c.writePoints(out);
    QCOMPARE(out, QByteArray("0\t1\t2\n1\t3\t4.5\n12\t-1e-07\t1.23457e+08\n"));
}

void TestRxCurve::formatRow_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("numCols");
    QTest::addColumn<int>("yCol");
    QTest::addColumn<int>("inveclen");
    QTest::addColumn<int>("datalen");
    QTest::addColumn<int>("usedelim");
    QTest::addColumn<QByteArray>("text");
    // Point 1 has type 1 and the values -0.5, 1234 (and 7 in a third column); X is column 0.
    QTest::newRow("fixed") << 1 << 2 << 1 << 3 << 10 << 0
                           << QByteArray("  1-5.000E-01+1.234E+03\n");
    QTest::newRow("fixed narrowest")
        << 1 << 2 << 1 << 0 << 8 << 0 << QByteArray("-5.0E-01+1.2E+03\n");
    QTest::newRow("fixed widest") << 1 << 2 << 1 << 0 << 99 << 0
                                  << QByteArray("-5." + QByteArray(92, '0') + "E-01+1.234"
                                         + QByteArray(89, '0') + "E+03\n");
    QTest::newRow("delimited") << 1 << 2 << 1 << 3 << 10 << 1 << QByteArray("1\t-0.5\t1234\n");
    QTest::newRow("delimited without type")
        << 1 << 2 << 1 << 0 << 10 << 1 << QByteArray("-0.5\t1234\n");
    QTest::newRow("fixed, three columns give X and Y")
        << 1 << 3 << 2 << 2 << 10 << 0 << QByteArray(" 1-5.000E-01+7.000E+00\n");
    QTest::newRow("delimited, three columns give X and Y")
        << 1 << 3 << 2 << 3 << 10 << 1 << QByteArray("1\t-0.5\t7\n");
    QTest::newRow("three columns, Y before X")
        << 1 << 3 << 0 << 0 << 10 << 1 << QByteArray("1234\t-0.5\n");
    QTest::newRow("datalen too small") << 1 << 2 << 1 << 3 << 7 << 0 << QByteArray();
    QTest::newRow("datalen too large") << 1 << 2 << 1 << 3 << 100 << 1 << QByteArray();
    QTest::newRow("index past the end") << 2 << 2 << 1 << 3 << 10 << 0 << QByteArray();
    QTest::newRow("index negative") << -1 << 2 << 1 << 3 << 10 << 1 << QByteArray();
}

void TestRxCurve::formatRow()
{
    QFETCH(int, index);
    QFETCH(int, numCols);
    QFETCH(int, yCol);
    QFETCH(int, inveclen);
    QFETCH(int, datalen);
    QFETCH(int, usedelim);
    QFETCH(QByteArray, text);
    RxCurve c(numCols);
    const float rows[2][3] = {{0, 0, 0}, {-0.5f, 1234, 7}};
    c.addRow(0, rows[0]);
    c.addRow(1, rows[1]);
    if (yCol == 0)
        QVERIFY(c.setXCol(1));
    QVERIFY(c.setYCol(yCol));
    QByteArray out = "kept|";
    QCOMPARE(c.formatRow(out, index, inveclen, datalen, usedelim, '\t'), text.isEmpty() ? 0 : 1);
    QCOMPARE(out, "kept|" + text);
}

QTEST_GUILESS_MAIN(TestRxCurve)
#include "TestRxCurve.moc"
