#include "model/RxFile.h"

#include "model/RxTestFiles.h"
#include "RxColumnCases.h"

#include <QtTest>

Q_DECLARE_METATYPE(RxProfile)

class TestRxFileImport : public QObject
{
    Q_OBJECT

private slots:
    void countColumns_data();
    void countColumns();
    void detectCount_data();
    void detectCount();
    void parseRow_data();
    void parseRow();
    void fixedFieldsStayInsideTheLine();
    void checkNumCols_data();
    void checkNumCols();
    void probeLeavesProfileAndPosition();
    void columnFiles_data();
    void columnFiles();
    void hostileFilesReadOrFailCleanly_data();
    void hostileFilesReadOrFailCleanly();
    void largeFileReadsAcrossItsMiddle_data();
    void largeFileReadsAcrossItsMiddle();
};

namespace {

RxProfile makeProfile(int usedelim, char delim, int datalen, int inveclen)
{
    RxProfile p;
    p.setUseDelim(usedelim);
    p.setDelimChar(delim);
    p.setDataLen(datalen);
    p.setInVecLen(inveclen);
    return p;
}

RxFile withProfile(const RxProfile &p)
{
    RxFile doc;
    doc.setProfile(p);
    return doc;
}

std::string_view sv(const QByteArray &b)
{
    return std::string_view(b.constData(), static_cast<std::size_t>(b.size()));
}

} // namespace

void TestRxFileImport::countColumns_data()
{
    QTest::addColumn<int>("usedelim");
    QTest::addColumn<char>("delim");
    QTest::addColumn<int>("inveclen");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("columns");

    QTest::newRow("fixed, type and two values")
        << 0 << '\t' << 3 << QByteArray("  1+1.000E+00+2.000E+00\n") << 2;
    QTest::newRow("fixed, last field a little short")
        << 0 << '\t' << 3 << QByteArray("  1+1.000E+00+2.00\n") << 2;
    QTest::newRow("fixed, line shorter than the type") << 0 << '\t' << 3 << QByteArray("1") << 0;
    QTest::newRow("tab, no type") << 1 << '\t' << 0 << QByteArray("1.5\t2.5\n") << 2;
    QTest::newRow("tab, type field") << 1 << '\t' << 3 << QByteArray("1\t1.5\t2.5\n") << 2;
    QTest::newRow("blank runs are one separator")
        << 1 << ' ' << 0 << QByteArray("1   2     3\n") << 3;
    QTest::newRow("leading blank is an empty column") << 1 << ' ' << 0 << QByteArray(" 1 2\n") << 3;
    QTest::newRow("trailing delimiters without newline go")
        << 1 << ',' << 0 << QByteArray("1,2,,,") << 2;
    QTest::newRow("trailing delimiters before newline stay")
        << 1 << ',' << 0 << QByteArray("1,2,\n") << 3;
    QTest::newRow("empty line is one column") << 1 << ',' << 0 << QByteArray() << 1;
    QTest::newRow("only delimiters") << 1 << ',' << 0 << QByteArray(",,,") << 1;
}

void TestRxFileImport::countColumns()
{
    QFETCH(int, usedelim);
    QFETCH(char, delim);
    QFETCH(int, inveclen);
    QFETCH(QByteArray, line);
    QFETCH(int, columns);
    const RxFile doc = withProfile(makeProfile(usedelim, delim, 10, inveclen));
    QCOMPARE(doc.countColumns(sv(line)), columns);
}

void TestRxFileImport::detectCount_data()
{
    QTest::addColumn<int>("usedelim");
    QTest::addColumn<int>("useeof");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("useeofAfter");

    QTest::newRow("fixed count line") << 0 << 0 << QByteArray("25\n") << 25 << 2;
    QTest::newRow("fixed data row") << 0 << 0 << QByteArray("  1+1.000E+00+2.000E+00\n") << 0 << 1;
    QTest::newRow("delimited count line") << 1 << 0 << QByteArray("  25\n") << 25 << 2;
    QTest::newRow("delimited count is decimal") << 1 << 0 << QByteArray("010\n") << 10 << 2;
    QTest::newRow("delimited data row") << 1 << 0 << QByteArray("1\t2\n") << 0 << 1;
    QTest::newRow("single column is a count") << 1 << 0 << QByteArray("3.5\n") << 3 << 2;
    QTest::newRow("known count line") << 0 << 2 << QByteArray("7\n") << 7 << 2;
    QTest::newRow("rows to the end") << 0 << 1 << QByteArray("7\n") << 0 << 1;
}

void TestRxFileImport::detectCount()
{
    QFETCH(int, usedelim);
    QFETCH(int, useeof);
    QFETCH(QByteArray, line);
    QFETCH(int, count);
    QFETCH(int, useeofAfter);
    RxProfile p = makeProfile(usedelim, '\t', 10, 0);
    p.setUseEof(useeof);
    RxFile doc = withProfile(p);
    QCOMPARE(doc.detectCount(sv(line)), count);
    QCOMPARE(doc.profile().useEof(), useeofAfter);
}

void TestRxFileImport::parseRow_data()
{
    QTest::addColumn<RxProfile>("profile");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("xCol");
    QTest::addColumn<int>("yCol");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("type");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");

    const RxProfile tab = makeProfile(1, '\t', 10, 0);
    const RxProfile tabType = makeProfile(1, '\t', 10, 3);
    const RxProfile blank = makeProfile(1, ' ', 10, 0);
    const RxProfile fixed = makeProfile(0, '\t', 10, 3);

    QTest::newRow("tab, two columns")
        << tab << QByteArray("1.5\t2.5\n") << 1 << 2 << true << 1 << 1.5f << 2.5f;
    QTest::newRow("tab, type field")
        << tabType << QByteArray("7\t-0.5\t1234\n") << 1 << 2 << true << 7 << -0.5f << 1234.0f;
    QTest::newRow("tab, type without delimiter")
        << tabType << QByteArray("7\n") << 1 << 2 << false << 0 << 0.0f << 0.0f;
    QTest::newRow("same column for both")
        << tab << QByteArray("1\t2\t3\n") << 2 << 2 << true << 1 << 2.0f << 2.0f;
    QTest::newRow("last column for both fails")
        << tab << QByteArray("1\t2\t3\n") << 3 << 3 << false << 0 << 0.0f << 0.0f;
    QTest::newRow("columns reversed")
        << tab << QByteArray("1\t2\t3\n") << 3 << 1 << true << 1 << 3.0f << 1.0f;
    QTest::newRow("column beyond the line")
        << tab << QByteArray("1\t2\n") << 1 << 5 << false << 0 << 0.0f << 0.0f;
    QTest::newRow("blank runs") << blank << QByteArray("1   2     3\n") << 1 << 3 << true << 1
                                << 1.0f << 3.0f;
    QTest::newRow("leading blank is a zero column")
        << blank << QByteArray(" 4 5\n") << 1 << 2 << true << 1 << 0.0f << 4.0f;
    QTest::newRow("field that is no number fails")
        << tab << QByteArray("abc\t2\n") << 1 << 2 << false << 0 << 0.0f << 0.0f;
    QTest::newRow("unit after a number fails")
        << tab << QByteArray("2.5V\t3\n") << 1 << 2 << false << 0 << 0.0f << 0.0f;
    QTest::newRow("two numbers in a field fail")
        << tab << QByteArray("1\t2 3\n") << 1 << 2 << false << 0 << 0.0f << 0.0f;
    QTest::newRow("empty field fails")
        << tab << QByteArray("1\t\t3\n") << 1 << 2 << false << 0 << 0.0f << 0.0f;
    QTest::newRow("blanks around a number")
        << tab << QByteArray(" 1 \t 2 \r\n") << 1 << 2 << true << 1 << 1.0f << 2.0f;
    QTest::newRow("tab, type with letters fails")
        << tabType << QByteArray("1a\t1\t2\n") << 1 << 2 << false << 0 << 0.0f << 0.0f;
    QTest::newRow("long field is read whole") << tab << QByteArray(60, ' ') + "5\t6\n"
                                              << 1 << 2 << true << 1 << 5.0f << 6.0f;
    QTest::newRow("beyond float range")
        << tab << QByteArray("1e39\t-1e39\n") << 1 << 2 << true << 1
        << std::numeric_limits<float>::infinity() << -std::numeric_limits<float>::infinity();
    QTest::newRow("fixed row") << fixed << QByteArray("  1-5.000E-01+1.234E+03\n") << 1 << 2 << true
                               << 1 << -0.5f << 1234.0f;
    QTest::newRow("fixed, octal type") << fixed << QByteArray("010-5.000E-01+1.234E+03\n") << 1 << 2
                                       << true << 8 << -0.5f << 1234.0f;
    QTest::newRow("fixed, blank type is a line") << fixed << QByteArray("   -5.000E-01+1.234E+03\n")
                                                 << 1 << 2 << true << 1 << -0.5f << 1234.0f;
    QTest::newRow("fixed, type with letters fails")
        << fixed << QByteArray("  a-5.000E-01+1.234E+03\n") << 1 << 2 << false << 0 << 0.0f << 0.0f;
    QTest::newRow("fixed, text after a number fails")
        << fixed << QByteArray("  1-5.000E-01+1.2E+03xx\n") << 1 << 2 << false << 0 << 0.0f << 0.0f;
    QTest::newRow("fixed, infinities as the program writes them")
        << fixed << QByteArray("  1      +INF      -INF\n") << 1 << 2 << true << 1
        << std::numeric_limits<float>::infinity() << -std::numeric_limits<float>::infinity();
    QTest::newRow("fixed, blank field fails")
        << fixed << QByteArray("  1          +1.234E+03\n") << 1 << 2 << false << 0 << 0.0f << 0.0f;
    QTest::newRow("fixed, too few columns")
        << fixed << QByteArray("  1-5.000E-01\n") << 1 << 2 << false << 0 << 0.0f << 0.0f;
    QTest::newRow("fixed, column zero")
        << fixed << QByteArray("  1-5.000E-01+1.234E+03\n") << 0 << 2 << false << 0 << 0.0f << 0.0f;
}

void TestRxFileImport::parseRow()
{
    QFETCH(RxProfile, profile);
    QFETCH(QByteArray, line);
    QFETCH(int, xCol);
    QFETCH(int, yCol);
    QFETCH(bool, ok);
    QFETCH(int, type);
    QFETCH(float, x);
    QFETCH(float, y);
    const RxFile doc = withProfile(profile);
    int gotType = 0;
    float gotX = 0.0f;
    float gotY = 0.0f;
    QCOMPARE(doc.parseRow(sv(line), &gotType, &gotX, &gotY, xCol, yCol) == 1, ok);
    if (ok) {
        QCOMPARE(gotType, type);
        QCOMPARE(gotX, x);
        QCOMPARE(gotY, y);
    }
}

void TestRxFileImport::fixedFieldsStayInsideTheLine()
{
    // The line is a view into a larger buffer: nothing past its end may be read.
    const QByteArray buffer = "  1+1.000E+00+2.00"
                              "99999999999999";
    const std::string_view line(buffer.constData(), 18);
    const RxFile doc = withProfile(makeProfile(0, '\t', 10, 3));
    int type = 0;
    float x = 0.0f;
    float y = 0.0f;
    QCOMPARE(doc.parseRow(line, &type, &x, &y, 1, 2), 1);
    QCOMPARE(y, 2.0f);

    const RxFile wide = withProfile(makeProfile(0, '\t', 99, 9));
    const QByteArray row
        = QByteArray(9, ' ') + QByteArray(98, ' ') + "1" + QByteArray(98, ' ') + "2\n";
    QCOMPARE(wide.parseRow(sv(row), &type, &x, &y, 1, 2), 1);
    QCOMPARE(x, 1.0f);
    QCOMPARE(y, 2.0f);
}

void TestRxFileImport::checkNumCols_data()
{
    QTest::addColumn<RxProfile>("profile");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("columns");

    const RxProfile fixed = makeProfile(0, '\t', 10, 3);
    const RxProfile tab = makeProfile(1, '\t', 10, 0);
    RxFile demo;
    demo.addDemoCurve();
    RxFile two;
    two.addPoint(0, 0, 1.0f, 2.0f);

    QTest::newRow("own file") << tab << RxTestFiles::written(two) << 2;
    QTest::newRow("demonstration curve saves its X and Y")
        << tab << RxTestFiles::written(demo) << 2;
    QTest::newRow("plain, four columns") << tab << QByteArray("c x y z w\n1\t2\t3\t4\n") << 4;
    QTest::newRow("plain with a count line") << tab << QByteArray("2\n1\t2\t3\n4\t5\t6\n") << 3;
    QTest::newRow("fixed, count line") << fixed << QByteArray("1\n  1+1.000E+00+2.000E+00\n") << 2;
    QTest::newRow("empty") << tab << QByteArray() << int(RxFile::columnsUnknown);
    QTest::newRow("only comments") << tab << QByteArray("c\nC\n") << int(RxFile::columnsUnknown);
    QTest::newRow("count line alone") << tab << QByteArray("5\n") << int(RxFile::columnsUnknown);
    QTest::newRow("header without profile")
        << tab << QByteArray("C ***Ruxa***: 1\n1\t2\n") << int(RxFile::columnsUnknown);
    QTest::newRow("newer format") << tab << QByteArray("C ***Ruxa***: 2\n")
                                  << int(RxFile::columnsNewerFormat);
}

void TestRxFileImport::checkNumCols()
{
    QFETCH(RxProfile, profile);
    QFETCH(QByteArray, text);
    QFETCH(int, columns);
    RxTestFiles files;
    QFile f(files.put("probe.rx", text));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const RxFile doc = withProfile(profile);
    QCOMPARE(doc.checkNumCols(&f), columns);
    QCOMPARE(f.pos(), 0);
}

void TestRxFileImport::probeLeavesProfileAndPosition()
{
    RxFile two;
    two.addPoint(0, 0, 1.0f, 2.0f);
    RxProfile other = makeProfile(1, ';', 12, 0);
    other.setUseEof(1);
    RxFile doc = withProfile(other);
    RxTestFiles files;
    QFile f(files.put("two.rx", RxTestFiles::written(two)));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(doc.checkNumCols(&f), 2);
    QCOMPARE(doc.profile().delimChar(), ';');
    QCOMPARE(doc.profile().dataLen(), 12);
    QCOMPARE(doc.profile().useEof(), 1);
    // The read that follows the probe starts at the beginning.
    QCOMPARE(doc.read(&f, 1, 2, 0), RxFile::ReadResult::Ok);
    QCOMPARE(doc.curve(0)->y(0), 2.0f);
}

void TestRxFileImport::columnFiles_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("points");
    QTest::addColumn<QByteArray>("titles");
    QTest::addColumn<int>("skipped");
    QTest::addColumn<int>("firstSkipped");
    for (const RxColumnCase &c : rxColumnCases())
        QTest::newRow(c.name) << c.text << c.points << c.titles << c.skipped << c.firstSkipped;
}

// Opened as the program opens a file: the layout chosen once, its X and Y, the read.
void TestRxFileImport::columnFiles()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, points);
    QFETCH(QByteArray, titles);
    QFETCH(int, skipped);
    QFETCH(int, firstSkipped);
    RxTestFiles files;
    QFile f(files.put("in.txt", text));
    QVERIFY(f.open(QIODevice::ReadOnly));
    RxFile doc;
    const RxProfile before = doc.profile();
    const RxColumnLayout layout = doc.chooseLayout(&f);
    RxFile::ReadReport report;
    const bool ok
        = doc.read(&f, layout.xCol, layout.yCol, 0, layout, &report) == RxFile::ReadResult::Ok;
    QCOMPARE(ok, !points.isEmpty());
    if (!ok) {
        QVERIFY2(!report.problem.isEmpty(), "a failed read says why");
        QCOMPARE(doc.numCurves(), 0);
        return;
    }
    QCOMPARE(rxPointsText(doc), points);
    QCOMPARE(rxTitlesText(doc), titles);
    QCOMPARE(report.skippedRows, skipped);
    QCOMPARE(report.firstSkippedLine, firstSkipped);
    // A detected layout is the read's own: the profile stays what the user set.
    QCOMPARE(RxTestFiles::written(doc).contains("C\tusedelim: 0\n"), before.useDelim() == 0);

    // Saved and opened again, it is the same plot: pieces stay apart, titles stay.
    RxFile back;
    QCOMPARE(files.readBytes(back, RxTestFiles::written(doc)), RxFile::ReadResult::Ok);
    QCOMPARE(rxCurveSizes(back), rxCurveSizes(doc));
    QCOMPARE(rxTitlesText(back), titles);
}

void TestRxFileImport::hostileFilesReadOrFailCleanly_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("points"); // -1: the read fails
    QTest::addColumn<int>("skipped");

    QByteArray long1(100000, '\0');
    for (int i = 0; i < 10000; ++i)
        long1 += QByteArray::number(i) + ',' + QByteArray::number(2 * i) + '\n';
    long1.remove(0, 100000);
    QTest::newRow("layout changes after the look-ahead") << long1 + "x;y\n1;2\n3,4\n" << 10001 << 2;
    QTest::newRow("a line of 1 MiB") << QByteArray(1 << 20, '1') + "\n1 2\n" << -1 << 0;
    QByteArray wide;
    for (int i = 0; i < 1000000; ++i)
        wide += "1,";
    QTest::newRow("10^6 columns") << wide + "\n" + wide + "\n" << -1 << 0;
    QByteArray names;
    QByteArray row;
    for (int i = 0; i < 100000; ++i) {
        names += "name" + QByteArray::number(i) + '\t';
        row += QByteArray::number(i % 10) + '\t';
    }
    QTest::newRow("a header of 10^5 names") << names + '\n' + row + '\n' + row + '\n' << 2 << 0;
    QTest::newRow("NUL bytes") << QByteArray(5000, '\0') + "1 2\n" << -1 << 0;
}

void TestRxFileImport::hostileFilesReadOrFailCleanly()
{
    QFETCH(QByteArray, text);
    QFETCH(int, points);
    QFETCH(int, skipped);
    RxTestFiles files;
    QFile f(files.put("in.txt", text));
    QVERIFY(f.open(QIODevice::ReadOnly));
    RxFile doc;
    const RxColumnLayout layout = doc.chooseLayout(&f);
    RxFile::ReadReport report;
    const RxFile::ReadResult r = doc.read(&f, layout.xCol, layout.yCol, 0, layout, &report);
    QCOMPARE(r == RxFile::ReadResult::Ok, points >= 0);
    QCOMPARE(doc.totalPoints(), std::max(points, 0));
    QCOMPARE(report.skippedRows, skipped);
}

namespace {

// A million rows "i 1", large enough to be read in two parts at once, with feature as the
// line that starts at the first line end from the middle on (or as the line that ends
// there): the place where a split read hands over. A comment line at the top, of the
// length that puts it there, pads the file. *featureLine is the feature's line number.
QByteArray millionRowsWith(const QByteArray &feature, bool endsAtMiddle, qint64 *featureLine)
{
    QByteArray rows;
    for (int i = 0; i < 1000000; ++i)
        rows += QByteArray::number(i) + " 1\n";
    const qsizetype size = rows.size() + feature.size();
    const qsizetype before = endsAtMiddle ? feature.size() + 64 : 64;
    const qsizetype at = rows.lastIndexOf('\n', size / 2 - before) + 1;
    // The line end that a read from the middle finds first, before padding.
    const qsizetype lineEnd = endsAtMiddle ? at + feature.size() - 1 : at - 1;
    const qsizetype pad = size - 2 * lineEnd;
    *featureLine = 2 + rows.left(at).count('\n');
    return '#' + QByteArray(pad - 2, '-') + '\n' + rows.left(at) + feature + rows.mid(at);
}

} // namespace

void TestRxFileImport::largeFileReadsAcrossItsMiddle_data()
{
    QTest::addColumn<QByteArray>("feature");
    QTest::addColumn<bool>("endsAtMiddle");
    QTest::addColumn<int>("curves"); // 0: the read fails at the feature's line
    QTest::addColumn<int>("skipped");

    const QByteArray tooLong = QByteArray(1 << 20, '1') + '\n';
    for (bool ends : {false, true}) {
        const char *where = ends ? "ending the first part" : "opening the second part";
        QTest::addRow("blank line %s", where) << QByteArray("\n") << ends << 2 << 0;
        QTest::addRow("text row %s", where) << QByteArray("a b\n") << ends << 1 << 1;
        QTest::addRow("line too long %s", where) << tooLong << ends << 0 << 0;
    }
}

void TestRxFileImport::largeFileReadsAcrossItsMiddle()
{
    QFETCH(QByteArray, feature);
    QFETCH(bool, endsAtMiddle);
    QFETCH(int, curves);
    QFETCH(int, skipped);
    qint64 featureLine = 0;
    RxTestFiles files;
    QFile f(files.put("in.txt", millionRowsWith(feature, endsAtMiddle, &featureLine)));
    QVERIFY(f.open(QIODevice::ReadOnly));
    RxFile doc;
    const RxColumnLayout layout = doc.chooseLayout(&f);
    RxFile::ReadReport report;
    const RxFile::ReadResult r = doc.read(&f, layout.xCol, layout.yCol, 0, layout, &report);
    if (curves == 0) {
        QCOMPARE(r, RxFile::ReadResult::Failed);
        QCOMPARE(report.failedLine, featureLine);
        return;
    }
    QCOMPARE(r, RxFile::ReadResult::Ok);
    QCOMPARE(doc.numCurves(), curves);
    QCOMPARE(report.skippedRows, skipped);
    QCOMPARE(report.firstSkippedLine, skipped > 0 ? featureLine : 0);
    // Every row once, in the file's order.
    int next = 0;
    for (int c = 0; c < doc.numCurves(); ++c) {
        const RxCurve *curve = doc.curve(c);
        for (int i = 0; i < curve->numPoints(); ++i) {
            if (curve->x(i) != static_cast<float>(next++))
                QFAIL(qPrintable(QStringLiteral("curve %1, point %2 out of place").arg(c).arg(i)));
        }
    }
    QCOMPARE(next, 1000000);
}

QTEST_GUILESS_MAIN(TestRxFileImport)
#include "TestRxFileImport.moc"
