#include "model/RxFile.h"

#include "model/RxTestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QtTest>

#include <cmath>
#include <limits>

#include <fcntl.h>

class TestRxFile : public QObject
{
    Q_OBJECT

private slots:
    void writesTheDocumentedExample();
    void roundTripIsByteExact_data();
    void roundTripIsByteExact();
    void wideCurvesSaveTheirXAndY();
    void autoScaleNeedsPoints();
    void narrowRangeReadsBack_data();
    void narrowRangeReadsBack();
    void brokenHeaderFallsBackToColumnData();
    void recordCurvesAreFilledInOrder();
    void rowsWithoutTypesGoToTheFirstCurve();
    void appendSkipsRecordsAndKeepsProfile();
    void appendToEmptyDocumentIsAnOpen();
    void appendOfPlainFileAfterDataFile();
    void failedAppendLeavesDocument();
    void newerFormatLeavesDocument();
    void countLines_data();
    void countLines();
    void emptyCommentKeepsItsPlace();
    void plainFileIsAutoScaled();
    void scaleSectionLines_data();
    void scaleSectionLines();
    void badInputFails_data();
    void badInputFails();
    void directoryIsRefused();
    void saveRefusesEmptyAndFailedWrites();
    void curveListOperations();
    void splitCurveNeedsTwoPointsAfter();
    void demoCurve();
    void largeDataFileReadsAsInOnePart_data();
    void largeDataFileReadsAsInOnePart();
};

namespace {

RxFile twoPointDocument()
{
    RxFile doc;
    doc.addPoint(0, PointNewLine, 0.0f, 0.0f);
    doc.addPoint(0, PointLine, 1.0f, 2.0f);
    return doc;
}

QByteArray expectedExample()
{
    return "C ***Ruxa***: 1\n"
           "C profile:\n"
           "C\tuseeof: 2\n"
           "C\tusedelim: 0\n"
           "C\tdelimchar: 9\n"
           "C\tdatalen: 10\n"
           "C\tinveclen: 3\n"
           "C curve: 1\n"
           "C\tpatternlength: 4\n"
           "C\tlinetype: 0\n"
           "C\tcolor: 0\n"
           "C\tlinewidth: 2\n"
           "C scale:\n"
           "C\txzero: 1\n"
           "C\tyzero: 1\n"
           "C plotdefs:\n"
           "C\tencapsulated: 0\n"
           "C\trotateplot: 1\n"
           "C\tarrowsize: 0.7\n"
           "C\tsymbolsize: 1\n"
           "C\tpsjoin: 1\n"
           "C\tfontsize: 1\n"
           "C\tplotaxes: 1\n"
           "C\tplotcomments: 1\n"
           "C\tplotcurves: 1\n"
           "C\txplotsize: 5\n"
           "C\typlotsize: 4\n"
           "C\taxesfont: 1\n"
           "C\taxescolor: 0\n"
           "2\n"
           "  0+0.000E+00+0.000E+00\n"
           "  1+1.000E+00+2.000E+00\n"
           "+0.000E+00+1.000E+00\n"
           "+0.000E+00+1.000E+00\n"
           "\n"
           "\n"
           "n+1.000E-01+1.000E-01\n";
}

// A document that uses every section of the file.
RxFile richDocument()
{
    RxFile doc;
    for (int c = 0; c < 3; ++c) {
        doc.addPoint(c, PointNewLine, 0.5f * static_cast<float>(c), -1.25f);
        for (int i = 1; i < 20; ++i)
            doc.addPoint(c, 1 + (i + c) % 12, static_cast<float>(i) * 0.37f,
                std::sin(static_cast<float>(i)) * 1000.0f);
        doc.setColor(c, c + 1);
        doc.setLineType(c, c);
        doc.setLineWidth(c, 5 - c);
        doc.setPatternLength(c, 2.5f + static_cast<float>(c));
    }
    RxScale s;
    s.setXRange(20.0f, 0.01f);
    s.setYRange(1200.0f, -1100.0f);
    s.setXLog(1);
    s.setTickMode(2);
    s.setXStep(2.5f);
    s.setYStep(250.0f);
    s.setXLabel("Time t_{0} / s");
    s.setYLabel("Voltage ^{x}");
    doc.setScale(s);
    RxComments cm;
    cm.addComment("first comment", 20.0f, 3.0f, 0);
    cm.addComment("in data @3 units", 4.5f, -300.0f, 1);
    cm.setFont(1, 7);
    cm.setColor(1, 3);
    cm.setFontSize(1, 1.5f);
    doc.setComments(cm);
    RxPlotDefs d;
    d.setRotatePlot(0);
    d.setEncapsulated(1);
    d.setPsJoin(2);
    d.setSymbolSize(0.8f);
    d.setArrowSize(0.0f);
    d.setPlotSize(6.5f, 3.25f);
    d.setAxesFont(4);
    d.setAxesColor(6);
    doc.setPlotDefs(d);
    return doc;
}

} // namespace

void TestRxFile::writesTheDocumentedExample()
{
    RxFile doc = twoPointDocument();
    QCOMPARE(RxTestFiles::written(doc), expectedExample());

    RxTestFiles files;
    QFile f(files.path("example.rx"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(doc.save(&f), 1);
    f.close();
    QCOMPARE(doc.name(), QByteArray("example.rx"));

    RxFile back;
    QCOMPARE(files.read(back, f.fileName()), RxFile::ReadResult::Ok);
    QCOMPARE(back.numCurves(), 1);
    QCOMPARE(back.curve(0)->numPoints(), 2);
    QCOMPARE(back.curve(0)->y(1), 2.0f);
    QCOMPARE(back.name(), QByteArray("example.rx"));
    QCOMPARE(back.plotDefs().title(), QByteArray("example.rx"));
    QCOMPARE(RxTestFiles::written(back), expectedExample());
}

void TestRxFile::roundTripIsByteExact_data()
{
    QTest::addColumn<int>("usedelim");
    QTest::addColumn<char>("delim");
    QTest::addColumn<int>("datalen");
    QTest::addColumn<int>("inveclen");
    QTest::addColumn<int>("textLength");

    QTest::newRow("default profile") << 0 << '\t' << 10 << 3 << 10;
    QTest::newRow("widest fields") << 0 << '\t' << 99 << 9 << 10;
    QTest::newRow("narrowest fields, no type") << 0 << '\t' << 8 << 0 << 10;
    QTest::newRow("tab delimited") << 1 << '\t' << 10 << 3 << 10;
    QTest::newRow("comma, no type") << 1 << ',' << 10 << 0 << 10;
    QTest::newRow("blank delimited") << 1 << ' ' << 10 << 3 << 10;
    QTest::newRow("semicolon") << 1 << ';' << 10 << 3 << 10;
    QTest::newRow("long labels and texts") << 0 << '\t' << 10 << 3 << 5000;
}

void TestRxFile::roundTripIsByteExact()
{
    QFETCH(int, usedelim);
    QFETCH(char, delim);
    QFETCH(int, datalen);
    QFETCH(int, inveclen);
    QFETCH(int, textLength);

    RxFile doc = richDocument();
    if (inveclen == 0) {
        // Without point types every row joins the first curve.
        doc.removeCurve(2);
        doc.removeCurve(1);
    }
    RxProfile p;
    QVERIFY(p.setUseDelim(usedelim));
    QVERIFY(p.setDelimChar(delim));
    QVERIFY(p.setDataLen(datalen));
    QVERIFY(p.setInVecLen(inveclen));
    doc.setProfile(p);
    RxScale s = doc.scale();
    s.setXLabel(QByteArray(textLength, 'x') + "\r\nsplit");
    doc.setScale(s);
    RxComments cm = doc.comments();
    cm.setComment(0, QByteArray(textLength, 'c'), 20.0f, 3.0f);
    doc.setComments(cm);
    doc.curve(0)->setY(3, std::numeric_limits<float>::infinity());
    doc.curve(0)->setY(4, -std::numeric_limits<float>::quiet_NaN());
    doc.curve(0)->setX(5, 1e-40f);
    doc.curve(0)->setY(5, -3.4e38f);

    RxTestFiles files;
    const QByteArray first = RxTestFiles::written(doc);
    QVERIFY(first.contains(QByteArray(textLength, 'x') + "  split\n"));
    RxFile back;
    QCOMPARE(files.readBytes(back, first), RxFile::ReadResult::Ok);
    const QByteArray second = RxTestFiles::written(back);
    QCOMPARE(second, first);
    QVERIFY(std::isinf(back.curve(0)->y(3)));
    QVERIFY(std::isnan(back.curve(0)->y(4)));
    QCOMPARE(back.comments().numComments(), 2);
    QCOMPARE(back.comments().font(1), 7);

    // The same file as other systems end its lines: every section reads the same.
    for (const char *end : {"\r\n", "\r"}) {
        RxFile other;
        QCOMPARE(
            files.readBytes(other, QByteArray(first).replace("\n", end)), RxFile::ReadResult::Ok);
        QCOMPARE(RxTestFiles::written(other), first);
    }
}

void TestRxFile::wideCurvesSaveTheirXAndY()
{
    RxCurve wide(40);
    QVERIFY(wide.setXCol(7));
    QVERIFY(wide.setYCol(31));
    std::vector<float> row(40);
    for (int i = 0; i < 10; ++i) {
        for (int c = 0; c < 40; ++c)
            row[static_cast<std::size_t>(c)] = static_cast<float>(i * 100 + c);
        wide.addRow(PointLine, row.data());
    }
    RxFile doc;
    doc.addCurve(wide);
    // Curves of different widths share one file.
    doc.addPoint(1, PointNewLine, -1.0f, -2.0f);
    doc.addPoint(1, PointSquare, -3.0f, -4.0f);
    doc.autoScale();
    RxTestFiles files;
    const QByteArray first = RxTestFiles::written(doc);
    const QString name = files.put("wide.rx", first);

    // Two columns: the file opens without asking which ones.
    QFile f(name);
    QVERIFY(f.open(QIODevice::ReadOnly));
    RxFile back;
    QCOMPARE(back.checkNumCols(&f), 2);
    f.close();
    QCOMPARE(RxTestFiles::read(back, name, 0, 3, 4), RxFile::ReadResult::Ok);
    QCOMPARE(back.numCurves(), 2);
    QCOMPARE(back.curve(0)->numCols(), 2);
    QCOMPARE(back.curve(0)->x(9), 907.0f);
    QCOMPARE(back.curve(0)->y(9), 931.0f);
    QCOMPARE(back.curve(1)->y(1), -4.0f);
    QCOMPARE(RxTestFiles::written(back), first);
}

void TestRxFile::autoScaleNeedsPoints()
{
    RxFile doc;
    doc.addCurve(RxCurve());
    RxScale scale;
    scale.setXRange(4.0f, 2.0f);
    scale.setTickMode(1);
    doc.setScale(scale);
    doc.autoScale();
    QCOMPARE(doc.scale().xmax(), 4.0f);
    QCOMPARE(doc.scale().xmin(), 2.0f);
    QCOMPARE(doc.scale().tickMode(), 1);

    // An empty first curve does not hold the range of the curves after it.
    doc.addPoint(1, PointNewLine, 0.0f, 0.0f);
    doc.addPoint(1, PointLine, 3.0f, 1.0f);
    doc.autoScale();
    QCOMPARE(doc.scale().xmax(), 3.0f);
    QCOMPARE(doc.scale().xmin(), 0.0f);
}

void TestRxFile::narrowRangeReadsBack_data()
{
    QTest::addColumn<int>("useDelim");
    QTest::addColumn<float>("max");
    QTest::addColumn<float>("min");
    // A constant curve at 2000, auto-scaled: its range is 1 wide and both ends show as
    // +2.000E+03 at the default width.
    QTest::newRow("fixed width") << 0 << 2000.5f << 1999.5f;
    QTest::newRow("fixed width, reversed") << 0 << 1999.5f << 2000.5f;
    QTest::newRow("delimited") << 1 << 100000.5f << 100000.25f;
    QTest::newRow("negative") << 0 << -2000.25f << -2000.5f;
}

// A range narrower than the field shows reads back as a range that holds it, not as the
// default one that would leave the data out of view.
void TestRxFile::narrowRangeReadsBack()
{
    QFETCH(int, useDelim);
    QFETCH(float, max);
    QFETCH(float, min);
    RxFile doc;
    doc.addPoint(0, PointNewLine, 1.0f, 2000.0f);
    doc.addPoint(0, PointLine, 2.0f, 2000.0f);
    RxProfile profile = doc.profile();
    profile.setUseDelim(useDelim);
    doc.setProfile(profile);
    RxScale scale = doc.scale();
    QVERIFY(scale.setYRange(max, min));
    doc.setScale(scale);

    RxTestFiles files;
    RxFile back;
    QCOMPARE(files.readBytes(back, RxTestFiles::written(doc)), RxFile::ReadResult::Ok);
    const RxScale read = back.scale();
    QVERIFY(read.ymax() != read.ymin());
    QCOMPARE(read.ymax() > read.ymin(), max > min);
    QVERIFY(std::min(read.ymax(), read.ymin()) <= std::min(max, min));
    QVERIFY(std::max(read.ymax(), read.ymin()) >= std::max(max, min));
    QCOMPARE(read.xmax(), doc.scale().xmax());
}

void TestRxFile::brokenHeaderFallsBackToColumnData()
{
    RxTestFiles files;
    RxFile doc;
    RxProfile p;
    p.setUseDelim(1);
    p.setInVecLen(0);
    doc.setProfile(p);
    const QByteArray text = "c made by hand\n"
                            "C ***Ruxa***: 1\n"
                            "C something else\n"
                            "C\tkey: 3\n"
                            "1\t2\n"
                            "3\t4\n";
    QCOMPARE(files.readBytes(doc, text), RxFile::ReadResult::Ok);
    QCOMPARE(doc.preamble(), QByteArray("c made by hand\n"));
    QCOMPARE(doc.numCurves(), 1);
    QCOMPARE(doc.curve(0)->numPoints(), 2);
    QCOMPARE(doc.curve(0)->x(1), 3.0f);
    QCOMPARE(doc.profile().useDelim(), 1);

    // A data row right after the header is not lost with the broken record.
    RxFile direct;
    direct.setProfile(p);
    QCOMPARE(files.readBytes(direct, "C ***Ruxa***: 1\n5\t6\n7\t8\n"), RxFile::ReadResult::Ok);
    QCOMPARE(direct.curve(0)->numPoints(), 2);
    QCOMPARE(direct.curve(0)->x(0), 5.0f);
}

void TestRxFile::recordCurvesAreFilledInOrder()
{
    RxFile doc = twoPointDocument();
    doc.addPoint(1, PointNewLine, 5.0f, 5.0f);
    doc.addPoint(2, PointNewLine, 7.0f, 7.0f);
    doc.setColor(2, 5);
    QByteArray text = RxTestFiles::written(doc);
    // Make the third curve's first point continue the second curve.
    text.replace("  0+7.000E+00", "  1+7.000E+00");
    RxTestFiles files;
    RxFile back;
    QCOMPARE(files.readBytes(back, text), RxFile::ReadResult::Ok);
    QCOMPARE(back.numCurves(), 3);
    QCOMPARE(back.curve(1)->numPoints(), 2);
    QCOMPARE(back.curve(2)->numPoints(), 0);
    QCOMPARE(back.color(2), 5);
}

void TestRxFile::rowsWithoutTypesGoToTheFirstCurve()
{
    RxFile doc = richDocument();
    RxProfile p;
    p.setInVecLen(0);
    doc.setProfile(p);
    RxTestFiles files;
    RxFile back;
    QCOMPARE(files.readBytes(back, RxTestFiles::written(doc)), RxFile::ReadResult::Ok);
    QCOMPARE(back.numCurves(), 3);
    QCOMPARE(back.curve(0)->numPoints(), 60);
    QCOMPARE(back.curve(1)->numPoints(), 0);
    QCOMPARE(back.curve(0)->pointType(0), 0);
    QCOMPARE(back.curve(0)->pointType(59), 1);
}

void TestRxFile::appendSkipsRecordsAndKeepsProfile()
{
    RxTestFiles files;
    RxFile other = richDocument();
    const QString otherName = files.put("other.rx", RxTestFiles::written(other));

    RxFile doc = twoPointDocument();
    RxProfile p;
    p.setUseDelim(1);
    p.setDelimChar(',');
    p.setInVecLen(0);
    doc.setProfile(p);
    QCOMPARE(files.readBytes(doc, "1,2\n3,4\n", 0, "first.txt"), RxFile::ReadResult::Ok);
    const RxProfile before = doc.profile();
    const RxScale scaleBefore = doc.scale();

    QCOMPARE(files.read(doc, otherName, 1), RxFile::ReadResult::Ok);
    QCOMPARE(doc.numCurves(), 4);
    QCOMPARE(doc.curve(3)->numPoints(), 20);
    QCOMPARE(doc.color(3), 3);
    QCOMPARE(doc.comments().numComments(), 0);
    QCOMPARE(doc.scale().xmax(), scaleBefore.xmax());
    QCOMPARE(doc.scale().xLabel(), QByteArray());
    QCOMPARE(doc.plotDefs().rotatePlot(), 1);
    QCOMPARE(doc.profile().useDelim(), before.useDelim());
    QCOMPARE(doc.profile().delimChar(), ',');
    QCOMPARE(doc.profile().inVecLen(), 0);
    QCOMPARE(doc.profile().useEof(), before.useEof());
    QCOMPARE(doc.name(), QByteArray("first.txt+other.rx"));
    QCOMPARE(doc.plotDefs().title(), QByteArray("first.txt+other.rx"));
}

void TestRxFile::appendToEmptyDocumentIsAnOpen()
{
    RxTestFiles files;
    RxFile doc;
    QCOMPARE(files.readBytes(doc, RxTestFiles::written(richDocument()), 1), RxFile::ReadResult::Ok);
    QCOMPARE(doc.name(), QByteArray("in.rx"));
    QCOMPARE(doc.comments().numComments(), 2);
    QCOMPARE(doc.scale().tickMode(), 2);
}

void TestRxFile::appendOfPlainFileAfterDataFile()
{
    // The data file leaves a profile that announces a count line; the plain file has none,
    // and its first row must not be taken for one.
    RxTestFiles files;
    RxFile doc;
    QCOMPARE(files.readBytes(doc, RxTestFiles::written(richDocument())), RxFile::ReadResult::Ok);
    QCOMPARE(doc.profile().useEof(), 2);
    RxProfile p = doc.profile();
    p.setUseDelim(1);
    p.setInVecLen(0);
    doc.setProfile(p);
    QCOMPARE(files.readBytes(doc, "7\t8\n9\t10\n11\t12\n", 1, "plain.txt"), RxFile::ReadResult::Ok);
    QCOMPARE(doc.numCurves(), 4);
    QCOMPARE(doc.curve(3)->numPoints(), 3);
    QCOMPARE(doc.curve(3)->x(0), 7.0f);
    QCOMPARE(doc.profile().useEof(), 2);
}

void TestRxFile::failedAppendLeavesDocument()
{
    RxTestFiles files;
    RxFile doc;
    QCOMPARE(files.readBytes(doc, RxTestFiles::written(richDocument())), RxFile::ReadResult::Ok);
    const QByteArray before = RxTestFiles::written(doc);
    const QByteArray nameBefore = doc.name();

    RxFile rich = richDocument();
    QByteArray broken = RxTestFiles::written(rich);
    QVERIFY(broken.contains("  0+5.000E-01"));
    broken.replace("  0+5.000E-01", "  0abcdefghij");
    for (const QByteArray &bytes : {broken, QByteArray("C ***Ruxa***: 1\nC profile:\n"),
             QByteArray("C ***Ruxa***: 1\n"
                        "C profile:\n"
                        "C\tuseeof: 2\n"
                        "C\tusedelim: 0\nC\tdelimchar: 9\n"
                        "C\tdatalen: 10\nC\tinveclen: 3\n"
                        "C curve: 1\nC\tpatternlength: 4\n"
                        "C\tlinetype: 0\nC\tcolor: 0\n"
                        "C\tlinewidth: 2\n0\n  0+1.000E+00+1.000E+00\n")}) {
        QCOMPARE(files.readBytes(doc, bytes, 1), RxFile::ReadResult::Failed);
        QCOMPARE(doc.name(), nameBefore);
        QCOMPARE(RxTestFiles::written(doc), before);
    }
}

void TestRxFile::newerFormatLeavesDocument()
{
    RxTestFiles files;
    RxFile doc;
    QCOMPARE(files.readBytes(doc, RxTestFiles::written(richDocument())), RxFile::ReadResult::Ok);
    const QByteArray before = RxTestFiles::written(doc);
    const QByteArray newer = "c kept?\nC ***Ruxa***: 1.5\nC profile:\n";
    const QString name = files.put("newer.rx", newer);
    QFile f(name);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(doc.checkNumCols(&f), RxFile::columnsNewerFormat);
    QCOMPARE(f.pos(), 0);
    for (int append = 0; append <= 1; ++append) {
        QCOMPARE(doc.read(&f, 1, 2, append), RxFile::ReadResult::NewerFormat);
        QCOMPARE(RxTestFiles::written(doc), before);
        QCOMPARE(doc.name(), QByteArray("in.rx"));
        f.seek(0);
    }
}

void TestRxFile::countLines_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("points");

    const QByteArray rows = "  0+1.000E+00+1.000E+00\n  1+2.000E+00+2.000E+00\n"
                            "  1+3.000E+00+3.000E+00\n";
    QTest::newRow("exact count") << "3\n" + rows << true << 3;
    QTest::newRow("count beyond the rows reads to the end") << "99\n" + rows << true << 3;
    QTest::newRow("leading zero is not octal") << "010\n" + rows << true << 3;
    QTest::newRow("huge count saturates") << "9999999999\n" + rows << true << 3;
    QTest::newRow("zero count fails") << "0\n" + rows << false << 0;
    QTest::newRow("negative count fails") << "-4\n" + rows << false << 0;
    QTest::newRow("no count line") << rows << true << 3;
}

void TestRxFile::countLines()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, ok);
    QFETCH(int, points);
    RxTestFiles files;
    RxFile doc;
    QCOMPARE(files.readBytes(doc, text) == RxFile::ReadResult::Ok, ok);
    QCOMPARE(static_cast<int>(doc.totalPoints()), points);
}

void TestRxFile::emptyCommentKeepsItsPlace()
{
    RxFile doc = richDocument();
    RxComments cm;
    cm.addComment("one", 1.0f, 2.0f, 0);
    cm.addComment("", 3.0f, 4.0f, 1);
    cm.addComment("three", 5.0f, 6.0f, 0);
    cm.setFont(2, 8);
    cm.setColor(1, 4);
    doc.setComments(cm);
    RxTestFiles files;
    RxFile back;
    const QByteArray first = RxTestFiles::written(doc);
    QCOMPARE(files.readBytes(back, first), RxFile::ReadResult::Ok);
    const RxComments got = back.comments();
    QCOMPARE(got.numComments(), 3);
    QCOMPARE(got.text(1), QByteArray());
    QCOMPARE(got.x(1), 3.0f);
    QCOMPARE(got.y(1), 4.0f);
    QCOMPARE(got.color(1), 4);
    QCOMPARE(got.text(2), QByteArray("three"));
    QCOMPARE(got.font(2), 8);
    QCOMPARE(RxTestFiles::written(back), first);
}

void TestRxFile::plainFileIsAutoScaled()
{
    RxTestFiles files;
    RxFile doc;
    RxProfile p;
    p.setUseDelim(1);
    p.setDelimChar(' ');
    p.setInVecLen(0);
    doc.setProfile(p);
    QCOMPARE(files.readBytes(doc, "2  -1\n2   5\n2 3\n"), RxFile::ReadResult::Ok);
    QCOMPARE(doc.scale().xmax(), 2.5f);
    QCOMPARE(doc.scale().xmin(), 1.5f);
    QCOMPARE(doc.scale().ymax(), 5.0f);
    QCOMPARE(doc.scale().ymin(), -1.0f);
    QCOMPARE(doc.profile().useEof(), 1);

    // CRLF line ends read as the same points.
    RxFile crlf;
    crlf.setProfile(p);
    QCOMPARE(files.readBytes(crlf, "2  -1\r\n2   5\r\n2 3\r\n"), RxFile::ReadResult::Ok);
    QCOMPARE(crlf.curve(0)->numPoints(), 3);
    QCOMPARE(crlf.curve(0)->y(1), 5.0f);
}

void TestRxFile::scaleSectionLines_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<float>("xmin");
    QTest::addColumn<float>("xmax");
    QTest::addColumn<int>("xlog");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<float>("xstep");

    const QByteArray rest = "+0.000E+00+1.000E+00\nX\nY\n";
    QTest::newRow("plain") << "+2.000E+00+8.000E+00\n" + rest + "t+5.000E-01+1.000E-01\n"
                           << 2.0f << 8.0f << 0 << 1 << 0.5f;
    QTest::newRow("logarithmic") << "+2.000E+00+8.000E+00L\n" + rest + "G+5.000E-01+1.000E-01\n"
                                 << 2.0f << 8.0f << 1 << 2 << 0.5f;
    QTest::newRow("logarithmic with CR") << "+2.000E+00+8.000E+00L\r\n" + rest + "g+5.000E-01\n"
                                         << 2.0f << 8.0f << 1 << 2 << 0.5f;
    QTest::newRow("log refused below zero")
        << "-2.000E+00+8.000E+00L\n" + rest + "n+5.000E-01+1.000E-01\n"
        << -2.0f << 8.0f << 0 << 0 << 0.5f;
    QTest::newRow("short line keeps the range") << "+2.000E+00\n" + rest + "x\n"
                                                << 0.0f << 1.0f << 0 << 0 << 0.1f;
    QTest::newRow("equal ends keep the range") << "+2.000E+00+2.000E+00\n" + rest + "tjunk\n"
                                               << 0.0f << 1.0f << 0 << 1 << 0.1f;
    QTest::newRow("infinite end keeps the range")
        << "+2.000E+00      +INF\n" + rest + "t+0.000E+00-1.000E+00\n"
        << 0.0f << 1.0f << 0 << 1 << 0.1f;
    QTest::newRow("not numbers") << "abcdefghijklmnopqrstu\n" + rest + "t      +NAN+1.000E-01\n"
                                 << 0.0f << 1.0f << 0 << 1 << 0.1f;
}

void TestRxFile::scaleSectionLines()
{
    QFETCH(QByteArray, section);
    QFETCH(float, xmin);
    QFETCH(float, xmax);
    QFETCH(int, xlog);
    QFETCH(int, ticks);
    QFETCH(float, xstep);

    RxFile base = twoPointDocument();
    QByteArray text = RxTestFiles::written(base);
    text.truncate(text.indexOf("+0.000E+00+1.000E+00\n+0.000E+00+1.000E+00\n"));
    text.append(section);
    RxTestFiles files;
    RxFile doc;
    QCOMPARE(files.readBytes(doc, text), RxFile::ReadResult::Ok);
    QCOMPARE(doc.scale().xmin(), xmin);
    QCOMPARE(doc.scale().xmax(), xmax);
    QCOMPARE(doc.scale().xLog(), xlog);
    QCOMPARE(doc.scale().tickMode(), ticks);
    QCOMPARE(doc.scale().xStep(), xstep);
    QCOMPARE(doc.scale().xLabel(), QByteArray("X"));
}

void TestRxFile::badInputFails_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("appendFails");

    // An append does not read the scale section, so a file cut off there appends well.
    const QDir bad(RUXA_TEST_DATA "/bad");
    const QStringList names = bad.entryList(QDir::Files, QDir::Name);
    QVERIFY(names.size() >= 10);
    for (const QString &name : names) {
        QFile f(bad.filePath(name));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QTest::newRow(qPrintable(name)) << f.readAll() << !name.contains("scale");
    }
    QTest::newRow("line over a mebibyte") << QByteArray(2 << 20, '1') + "\n" << true;
}

void TestRxFile::badInputFails()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, appendFails);
    RxTestFiles files;
    RxFile doc;
    QCOMPARE(files.readBytes(doc, text), RxFile::ReadResult::Failed);
    QCOMPARE(doc.numCurves(), 0);
    QCOMPARE(doc.name(), QByteArray());

    if (appendFails) {
        RxFile other = twoPointDocument();
        const QByteArray before = RxTestFiles::written(other);
        QCOMPARE(files.readBytes(other, text, 1), RxFile::ReadResult::Failed);
        QCOMPARE(RxTestFiles::written(other), before);
    }
}

void TestRxFile::directoryIsRefused()
{
    RxTestFiles files;
    QFile dir(files.path("."));
    // Whether or not the system lets a folder be opened, nothing may be read from it.
    if (dir.open(QIODevice::ReadOnly)) {
        RxFile doc;
        QCOMPARE(doc.checkNumCols(&dir), RxFile::columnsUnknown);
        QCOMPARE(doc.read(&dir, 1, 2, 0), RxFile::ReadResult::Failed);
    }
}

void TestRxFile::saveRefusesEmptyAndFailedWrites()
{
    RxTestFiles files;
    RxFile empty;
    empty.addCurve(RxCurve());
    QFile f(files.path("empty.rx"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(empty.save(&f), 0);
    QCOMPARE(f.size(), 0);

    RxFile doc = twoPointDocument();
    QFile readOnly(files.put("ro.rx", "old"));
    QVERIFY(readOnly.open(QIODevice::ReadOnly));
    QCOMPARE(doc.save(&readOnly), 0);
    QCOMPARE(doc.name(), QByteArray());
}

void TestRxFile::curveListOperations()
{
    RxFile doc;
    QCOMPARE(doc.addPoint(1, PointLine, 1.0f, 1.0f), 0);
    QCOMPARE(doc.addPoint(0, PointLine, 1.0f, 1.0f), 1);
    QCOMPARE(doc.curve(0)->pointType(0), 0);
    QCOMPARE(doc.removeCurve(1), 0);
    QCOMPARE(doc.setColor(1, 3), 0);
    QCOMPARE(doc.setColor(0, 99), 1);
    QCOMPARE(doc.color(0), 0);
    QCOMPARE(doc.patternLength(5), -1.0f);
    float a, b, c, d;
    QCOMPARE(doc.curveBounds(1, &a, &b, &c, &d), 0);
    QCOMPARE(doc.extractCurve(3, -1, 0).numPoints(), 0);

    // The stand-in for a missing curve never keeps what a caller put into it.
    doc.curve(7)->addPoint(PointLine, 1.0f, 2.0f);
    QCOMPARE(doc.curve(7)->numPoints(), 0);

    RxFile copy = doc;
    copy.curve(0)->setX(0, 42.0f);
    QCOMPARE(doc.curve(0)->x(0), 1.0f);

    doc.addPoint(1, PointNewLine, -3.0f, 10.0f);
    doc.autoScale();
    QCOMPARE(doc.scale().xmin(), -3.0f);
    QCOMPARE(doc.scale().xmax(), 1.0f);
    QCOMPARE(doc.scale().ymax(), 10.0f);
    QCOMPARE(doc.totalPoints(), 2LL);
}

void TestRxFile::splitCurveNeedsTwoPointsAfter()
{
    RxFile doc;
    for (int i = 0; i < 6; ++i)
        doc.addPoint(0, i == 4 ? PointSolidSquare : PointLine, static_cast<float>(i), 0.0f);
    QCOMPARE(doc.splitCurve(0, 4), 0);
    QCOMPARE(doc.splitCurve(1, 0), 0);
    QCOMPARE(doc.splitCurve(0, 3), 1);
    QCOMPARE(doc.numCurves(), 2);
    QCOMPARE(doc.curve(0)->numPoints(), 4);
    // The new curve starts with a "new line" point and keeps the symbol after it.
    QCOMPARE(doc.curve(1)->numPoints(), 3);
    QCOMPARE(doc.curve(1)->pointType(0), 0);
    QCOMPARE(doc.curve(1)->pointType(1), int(PointSolidSquare));
    QCOMPARE(doc.curve(1)->x(2), 5.0f);
}

void TestRxFile::demoCurve()
{
    RxFile doc;
    doc.addDemoCurve();
    QCOMPARE(doc.numCurves(), 1);
    const RxCurve *c = doc.curve(0);
    QCOMPARE(c->numPoints(), 100);
    QCOMPARE(c->numCols(), 3);
    QCOMPARE(c->pointType(0), 0);
    QCOMPARE(c->pointType(99), 1);
    QCOMPARE(c->x(99), static_cast<float>(99 * 0.0628318));
    QCOMPARE(c->y(99), static_cast<float>(std::sin(99 * 0.0628318)));
    QCOMPARE(doc.scale().xmin(), 0.0f);
    QCOMPARE(doc.scale().xmax(), c->x(99));
    QCOMPARE(doc.name(), QByteArray());
    // Rows carry the X and Y that are drawn, not the cos column between them.
    const QByteArray text = RxTestFiles::written(doc);
    QVERIFY(text.contains("\n  0+0.000E+00+0.000E+00\n  1+6.283E-02+6.279E-02\n"));
}

// A data file large enough to be read in two parts at once gives the document, the report
// and the rest of the file that one reading from the start gives: the handle opened without
// a name reads from the start only. Rows are changed three quarters in, in the second part.
void TestRxFile::largeDataFileReadsAsInOnePart_data()
{
    QTest::addColumn<QByteArray>("row"); // replaces the row three quarters in; empty: none
    QTest::addColumn<int>("countChange");
    QTest::addColumn<int>("rowsCut"); // from the end, with what follows the rows

    QTest::newRow("as written") << QByteArray() << 0 << 0;
    QTest::newRow("a new line") << QByteArray("  0+1.000E+00+1.000E+00") << 0 << 0;
    QTest::newRow("a row that does not read") << QByteArray("  1+1.000E+00+1.0x0E+00") << 0 << 0;
    QTest::newRow("a point type past a byte") << QByteArray("300+1.000E+00+1.000E+00") << 0 << 0;
    QTest::newRow("rows past the count") << QByteArray() << -10 << 0;
    QTest::newRow("the file ends before the count") << QByteArray() << 0 << 10;
}

void TestRxFile::largeDataFileReadsAsInOnePart()
{
    QFETCH(QByteArray, row);
    QFETCH(int, countChange);
    QFETCH(int, rowsCut);
    constexpr int points = 400000;
    RxFile doc;
    auto curve = std::make_unique<RxCurve>();
    for (int i = 0; i < points; ++i)
        curve->addPoint(1, static_cast<float>(i), static_cast<float>(i % 7));
    doc.addCurve(*curve);
    QByteArray text = RxTestFiles::written(doc);
    const QByteArray countLine = '\n' + QByteArray::number(points) + '\n';
    const qsizetype rows = text.indexOf(countLine) + countLine.size();
    const qsizetype rowLength = text.indexOf('\n', rows) + 1 - rows;
    if (!row.isEmpty())
        text.replace(rows + points / 4 * 3 * rowLength, row.size(), row);
    if (rowsCut > 0)
        text.truncate(rows + (points - rowsCut) * rowLength);
    text.replace(rows - countLine.size(), countLine.size(),
        '\n' + QByteArray::number(points + countChange) + '\n');

    RxTestFiles files;
    QFile named(files.put("in.rx", text));
    QFile unnamed;
    QVERIFY(named.open(QIODevice::ReadOnly));
    QVERIFY(unnamed.open(::open(qPrintable(named.fileName()), O_RDONLY), QIODevice::ReadOnly,
        QFileDevice::AutoCloseHandle));
    RxFile split;
    RxFile whole;
    RxFile::ReadReport splitReport;
    RxFile::ReadReport wholeReport;
    const RxColumnLayout layout = split.chooseLayout(&named);
    QCOMPARE(split.read(&named, 1, 2, 0, layout, &splitReport),
        whole.read(&unnamed, 1, 2, 0, layout, &wholeReport));
    QCOMPARE(splitReport.problem, wholeReport.problem);
    QCOMPARE(splitReport.failedLine, wholeReport.failedLine);
    QCOMPARE(split.totalPoints(), whole.totalPoints());
    if (split.totalPoints() > 0)
        QVERIFY(RxTestFiles::written(split) == RxTestFiles::written(whole));
}

QTEST_GUILESS_MAIN(TestRxFile)
#include "TestRxFile.moc"
