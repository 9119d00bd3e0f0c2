#include "model/RxFile.h"
#include "model/RxNumberText.h"

#include "model/RxTestFiles.h"

#include <QtTest>

#include <clocale>
#include <cstdio>

// The user's locale must not change the data file: under a comma-decimal locale the C
// library writes "1,5" and reads "1.5" as 1.
class TestRxLocale : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void filesAreTheSameUnderACommaLocale_data();
    void filesAreTheSameUnderACommaLocale();
    void numbersReadInCNotation();

private:
    static RxFile document(int usedelim);
    QByteArray m_expected[2];
};

RxFile TestRxLocale::document(int usedelim)
{
    RxFile doc;
    doc.addPoint(0, PointNewLine, 1.5f, -0.25f);
    doc.addPoint(0, PointLine, 2.75f, 1e-3f);
    RxProfile p;
    p.setUseDelim(usedelim);
    doc.setProfile(p);
    RxScale s;
    s.setXRange(3.5f, 0.5f);
    s.setYRange(1.5f, -0.5f);
    s.setTickMode(1);
    s.setXStep(0.25f);
    s.setYStep(0.125f);
    doc.setScale(s);
    RxComments cm;
    cm.addComment("at 1.5", 2.5f, 0.75f, 1);
    cm.setFontSize(0, 1.25f);
    doc.setComments(cm);
    RxPlotDefs d;
    d.setPlotSize(4.5f, 3.5f);
    d.setArrowSize(0.35f);
    doc.setPlotDefs(d);
    return doc;
}

void TestRxLocale::initTestCase()
{
    QVERIFY(std::setlocale(LC_ALL, "C"));
    for (int usedelim = 0; usedelim <= 1; ++usedelim) {
        RxFile doc = document(usedelim);
        m_expected[usedelim] = RxTestFiles::written(doc);
    }
    QVERIFY2(std::setlocale(LC_ALL, "de_DE.UTF-8"),
        "the de_DE.UTF-8 locale is missing: run scripts/setup as root");
    char buf[16];
    std::snprintf(buf, sizeof buf, "%g", 1.5);
    QCOMPARE(QByteArray(buf), QByteArray("1,5"));
}

void TestRxLocale::cleanupTestCase()
{
    std::setlocale(LC_ALL, "C");
}

void TestRxLocale::filesAreTheSameUnderACommaLocale_data()
{
    QTest::addColumn<int>("usedelim");
    QTest::newRow("fixed width") << 0;
    QTest::newRow("delimited") << 1;
}

void TestRxLocale::filesAreTheSameUnderACommaLocale()
{
    QFETCH(int, usedelim);
    RxFile doc = document(usedelim);
    const QByteArray text = RxTestFiles::written(doc);
    QCOMPARE(text, m_expected[usedelim]);
    QVERIFY(text.contains("C\tarrowsize: 0.35\n"));
    QVERIFY(!text.contains(','));

    RxTestFiles files;
    RxFile back;
    QCOMPARE(files.readBytes(back, text), RxFile::ReadResult::Ok);
    QCOMPARE(back.curve(0)->x(0), 1.5f);
    QCOMPARE(back.curve(0)->y(0), -0.25f);
    QCOMPARE(back.scale().xmin(), 0.5f);
    QCOMPARE(back.scale().xmax(), 3.5f);
    QCOMPARE(back.scale().yStep(), 0.125f);
    QCOMPARE(back.comments().x(0), 2.5f);
    QCOMPARE(back.comments().y(0), 0.75f);
    QCOMPARE(back.comments().fontSize(0), 1.25f);
    QCOMPARE(back.plotDefs().xPlotSize(), 4.5f);
    QCOMPARE(RxTestFiles::written(back), text);
}

void TestRxLocale::numbersReadInCNotation()
{
    float f = 0.0f;
    QVERIFY(rxScanFloat("1.5", &f));
    QCOMPARE(f, 1.5f);
    QVERIFY(rxScanFloat("0x1.8p1", &f)); // the slow path, through the C library
    QCOMPARE(f, 3.0f);
    QCOMPARE(rxAtof("  2.25e1"), 22.5);
    QCOMPARE(rxAtof("nan(7).5") != rxAtof("nan(7).5"), true);
    QCOMPARE(rxAtof("1,5"), 1.0);
    float a = 0.0f;
    float b = 0.0f;
    QCOMPARE(rxScanC("0.5   7.25", "%f   %f", &a, &b), 2);
    QCOMPARE(b, 7.25f);
    QByteArray out;
    rxAppendG(out, 0.5);
    rxAppendFixed(out, -0.5, 10);
    QCOMPARE(out, QByteArray("0.5-5.000E-01"));
}

QTEST_GUILESS_MAIN(TestRxLocale)
#include "TestRxLocale.moc"
