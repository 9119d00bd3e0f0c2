#include "model/RxPlotDefs.h"

#include "model/RxLineReader.h"
#include "model/RxTestRecord.h"

#include <QBuffer>
#include <QtTest>

#include <cmath>
#include <functional>

namespace {

// Each setting by its record key, as a number.
double valueOf(const RxPlotDefs &d, const QByteArray &key)
{
    const QHash<QByteArray, std::function<double()>> getters {
        {"encapsulated", [&] { return d.encapsulated(); }},
        {"rotateplot", [&] { return d.rotatePlot(); }},
        {"arrowsize", [&] { return double(d.arrowSize()); }},
        {"symbolsize", [&] { return double(d.symbolSize()); }},
        {"psjoin", [&] { return d.psJoin(); }},
        {"fontsize", [&] { return double(d.fontSize()); }},
        {"plotaxes", [&] { return d.plotAxes(); }},
        {"plotcomments", [&] { return d.plotComments(); }},
        {"plotcurves", [&] { return d.plotCurves(); }},
        {"xplotsize", [&] { return double(d.xPlotSize()); }},
        {"yplotsize", [&] { return double(d.yPlotSize()); }},
        {"axesfont", [&] { return d.axesFont(); }},
        {"axescolor", [&] { return d.axesColor(); }},
    };
    return getters.value(key)();
}

int setByKey(RxPlotDefs &d, const QByteArray &key, double v)
{
    const auto f = static_cast<float>(v);
    // The integer settings get whole numbers only; the float rows hold nan, infinity and
    // values beyond the int range.
    const int i = std::fabs(v) < 2e9 ? static_cast<int>(v) : 0;
    const QHash<QByteArray, std::function<int()>> setters {
        {"encapsulated", [&] { return d.setEncapsulated(i); }},
        {"rotateplot", [&] { return d.setRotatePlot(i); }},
        {"arrowsize", [&] { return d.setArrowSize(f); }},
        {"symbolsize", [&] { return d.setSymbolSize(f); }},
        {"psjoin", [&] { return d.setPsJoin(i); }},
        {"fontsize", [&] { return d.setFontSize(f); }},
        {"plotaxes", [&] { return d.setPlotAxes(i); }},
        {"plotcomments", [&] { return d.setPlotComments(i); }},
        {"plotcurves", [&] { return d.setPlotCurves(i); }},
        {"axesfont", [&] { return d.setAxesFont(i); }},
        {"axescolor", [&] { return d.setAxesColor(i); }},
    };
    return setters.value(key)();
}

// Everything the settings hold.
QByteArray state(const RxPlotDefs &d)
{
    QByteArray out;
    d.writeFormat(out);
    return out + "title " + d.title();
}

// Settings that differ from the defaults in every field.
RxPlotDefs unusualDefs()
{
    RxPlotDefs d;
    d.setEncapsulated(1);
    d.setRotatePlot(0);
    d.setArrowSize(0.5f);
    d.setSymbolSize(2.0f);
    d.setPsJoin(2);
    d.setFontSize(1.5f);
    d.setPlotAxes(0);
    d.setPlotComments(0);
    d.setPlotCurves(0);
    d.setPlotSize(6.5f, 3.0f);
    d.setAxesFont(4);
    d.setAxesColor(3);
    d.setTitle("data.rx");
    return d;
}

const char *const defaultRecord = "C plotdefs:\n"
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
                                  "C\taxescolor: 0\n";

} // namespace

class TestRxPlotDefs : public QObject
{
    Q_OBJECT

private slots:
    void setter_data();
    void setter();
    void plotSize_data();
    void plotSize();
    void title_data();
    void title();
    void copyAndClear();
    void joinNames();

    void writeDefaults();
    void roundTrip();
    void refusedValueInRecord_data();
    void refusedValueInRecord();
    void truncatedRecordChangesNothing();
    void brokenRecordChangesNothing_data();
    void brokenRecordChangesNothing();
};

void TestRxPlotDefs::setter_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("result");
    const auto row = [](const char *name, const char *key, double v, int result) {
        QTest::newRow(name) << QByteArray(key) << v << result;
    };
    row("rotateplot 0", "rotateplot", 0, 1);
    row("rotateplot 2 refused", "rotateplot", 2, 0);
    row("encapsulated 2 refused", "encapsulated", 2, 0);
    row("psjoin bevel", "psjoin", 2, 1);
    row("psjoin 3 refused", "psjoin", 3, 0);
    row("psjoin -1 refused", "psjoin", -1, 0);
    row("symbolsize small", "symbolsize", 0.125, 1);
    row("symbolsize 0 refused", "symbolsize", 0, 0);
    row("symbolsize nan refused", "symbolsize", std::nan(""), 0);
    row("symbolsize 100 is the largest", "symbolsize", 100, 1);
    row("symbolsize above 100 refused", "symbolsize", 100.01, 0);
    row("fontsize 0 refused", "fontsize", 0, 0);
    row("fontsize nan refused", "fontsize", std::nan(""), 0);
    row("fontsize 100 is the largest", "fontsize", 100, 1);
    row("fontsize 1e30 refused", "fontsize", 1e30, 0);
    row("arrowsize 0 accepted", "arrowsize", 0, 1);
    row("arrowsize negative refused", "arrowsize", -0.1, 0);
    row("arrowsize nan refused", "arrowsize", std::nan(""), 0);
    row("arrowsize 100 is the largest", "arrowsize", 100, 1);
    row("arrowsize 1e30 refused", "arrowsize", 1e30, 0);
    row("plotaxes 2 refused", "plotaxes", 2, 0);
    row("plotcomments 2 refused", "plotcomments", 2, 0);
    row("plotcurves -1 refused", "plotcurves", -1, 0);
    row("axesfont 8 is the last font", "axesfont", 8, 1);
    row("axesfont 9 refused", "axesfont", 9, 0);
    row("axesfont -1 refused", "axesfont", -1, 0);
    row("axescolor 7 is the last colour", "axescolor", 7, 1);
    row("axescolor 8 refused", "axescolor", 8, 0);
}

void TestRxPlotDefs::setter()
{
    QFETCH(QByteArray, key);
    QFETCH(double, value);
    QFETCH(int, result);
    RxPlotDefs d = unusualDefs();
    const QByteArray before = state(d);
    QCOMPARE(setByKey(d, key, value), result);
    if (result)
        QCOMPARE(valueOf(d, key), value);
    else
        QCOMPARE(state(d), before);
}

void TestRxPlotDefs::plotSize_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<int>("result");
    QTest::newRow("both positive") << 6.0f << 3.0f << 1;
    QTest::newRow("zero height refused") << 6.0f << 0.0f << 0;
    QTest::newRow("zero width refused") << 0.0f << 6.0f << 0;
    QTest::newRow("nan width refused") << std::nanf("") << 4.0f << 0;
    QTest::newRow("infinite height refused") << 6.0f << HUGE_VALF << 0;
}

void TestRxPlotDefs::plotSize()
{
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(int, result);
    RxPlotDefs d;
    QCOMPARE(d.setPlotSize(x, y), result);
    QCOMPARE(d.xPlotSize(), result ? x : 5.0f);
    QCOMPARE(d.yPlotSize(), result ? y : 4.0f);
}

void TestRxPlotDefs::title_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("title");
    QTest::newRow("plain") << QByteArray("run 7.rx") << QByteArray("run 7.rx");
    QTest::newRow("empty removes") << QByteArray("") << QByteArray();
    QTest::newRow("line breaks become blanks") << QByteArray("a\nb\r\n") << QByteArray("a b  ");
}

void TestRxPlotDefs::title()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, title);
    RxPlotDefs d = unusualDefs();
    QCOMPARE(d.setTitle(text), 1);
    QCOMPARE(d.title(), title);
    QCOMPARE(d.titleLength(), title.size());
}

void TestRxPlotDefs::copyAndClear()
{
    const QByteArray defaults = state(RxPlotDefs());
    RxPlotDefs titled = unusualDefs();
    titled = RxPlotDefs();
    QCOMPARE(state(titled), defaults);
    QCOMPARE(titled.titleLength(), 0);

    const RxPlotDefs source = unusualDefs();
    const RxPlotDefs copy(source);
    QCOMPARE(state(copy), state(source));

    RxPlotDefs cleared = unusualDefs();
    cleared.clear();
    QCOMPARE(state(cleared), defaults);
}

void TestRxPlotDefs::joinNames()
{
    QCOMPARE(RxPlotDefs::joinName(0), "miter");
    QCOMPARE(RxPlotDefs::joinName(1), "round");
    QCOMPARE(RxPlotDefs::joinName(2), "bevel");
    QCOMPARE(RxPlotDefs::joinName(3), nullptr);
    QCOMPARE(RxPlotDefs::joinName(-1), nullptr);
}

void TestRxPlotDefs::writeDefaults()
{
    QByteArray out("before\n");
    RxPlotDefs().writeFormat(out);
    QCOMPARE(out, QByteArray("before\n") + defaultRecord);
}

void TestRxPlotDefs::roundTrip()
{
    const RxPlotDefs source = unusualDefs();
    QByteArray written;
    source.writeFormat(written);
    RxPlotDefs d;
    d.setTitle("own title");
    QByteArray after;
    QCOMPARE(rxReadRecord(d, written + "next\nmore\n", &after), 1);
    QCOMPARE(after, QByteArray("next\n"));
    // Every field but the title, which is not in the record.
    QByteArray again;
    d.writeFormat(again);
    QCOMPARE(again, written);
    QCOMPARE(d.title(), QByteArray("own title"));
}

void TestRxPlotDefs::refusedValueInRecord_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("value");
    const auto row = [](const char *name, const char *key, const char *text, double v) {
        QTest::newRow(name) << QByteArray(key) << QByteArray(text) << v;
    };
    row("axescolor 8 gives the default", "axescolor", "8", 0);
    row("axesfont 9 gives the default", "axesfont", "9", 1);
    row("psjoin 3 gives the default", "psjoin", "3", 1);
    row("rotateplot 2 gives the default", "rotateplot", "2", 1);
    row("encapsulated -1 gives the default", "encapsulated", "-1", 0);
    row("plotaxes 2 gives the default", "plotaxes", "2", 1);
    row("fontsize 0 gives the default", "fontsize", "0", 1);
    row("fontsize nan gives the default", "fontsize", "nan", 1);
    row("symbolsize negative gives the default", "symbolsize", "-2", 1);
    row("arrowsize 0 stays", "arrowsize", "0", 0);
    row("arrowsize negative gives the default", "arrowsize", "-1", double(0.7f));
    row("arrowsize beyond float gives the default", "arrowsize", "1e39", double(0.7f));
    row("arrowsize 1e30 gives the default", "arrowsize", "1e30", double(0.7f));
    row("fontsize 100 stays", "fontsize", "100", 100);
    row("negative plot size stays for the renderer", "xplotsize", "-3", -3);
    row("nan plot size gives the default", "xplotsize", "nan", 5);
    row("infinite plot size gives the default", "yplotsize", "1e39", 4);
}

void TestRxPlotDefs::refusedValueInRecord()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, text);
    QFETCH(double, value);
    const RxPlotDefs source = unusualDefs();
    QByteArray written;
    source.writeFormat(written);
    QList<QByteArray> lines = written.split('\n');
    bool replaced = false;
    for (QByteArray &l : lines) {
        if (l.startsWith("C\t" + key + ":")) {
            l = "C\t" + key + ": " + text;
            replaced = true;
        }
    }
    QVERIFY(replaced);
    RxPlotDefs d;
    QCOMPARE(rxReadRecord(d, lines.join('\n') + "next\nmore\n"), 1);
    QCOMPARE(valueOf(d, key), value);
    // The other settings are read as written.
    for (const char *other :
        {"encapsulated", "rotateplot", "arrowsize", "symbolsize", "psjoin", "fontsize", "plotaxes",
            "plotcomments", "plotcurves", "xplotsize", "yplotsize", "axesfont", "axescolor"}) {
        if (key != other)
            QCOMPARE(valueOf(d, other), valueOf(source, other));
    }
}

void TestRxPlotDefs::truncatedRecordChangesNothing()
{
    // Cut after the head line and after every key line: each cut leaves nothing to read
    // after the record, and must be refused.
    const QList<QByteArray> lines = QByteArray(defaultRecord).split('\n');
    for (qsizetype keep = 1; keep < lines.size(); ++keep) {
        RxPlotDefs d = unusualDefs();
        const QByteArray before = state(d);
        const QByteArray text = lines.mid(0, keep).join('\n') + '\n';
        QVERIFY2(rxReadRecord(d, text) == 0, text.constData());
        QCOMPARE(state(d), before);
    }
}

void TestRxPlotDefs::brokenRecordChangesNothing_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::newRow("head line of another record")
        << QByteArray("C plotdefs:") << QByteArray("C scale:");
    QTest::newRow("missing key") << QByteArray("C\tpsjoin: 1") << QByteArray("C\tjoin: 1");
    QTest::newRow("missing colon") << QByteArray("C\tfontsize: 1") << QByteArray("C\tfontsize 1");
    QTest::newRow("keys swapped") << QByteArray("C\tplotaxes: 1\nC\tplotcomments: 1")
                                  << QByteArray("C\tplotcomments: 1\nC\tplotaxes: 1");
}

void TestRxPlotDefs::brokenRecordChangesNothing()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QByteArray text(defaultRecord);
    QVERIFY(text.contains(from));
    text.replace(from, to);
    RxPlotDefs d = unusualDefs();
    const QByteArray before = state(d);
    QCOMPARE(rxReadRecord(d, text + "next\nmore\n"), 0);
    QCOMPARE(state(d), before);
}

QTEST_GUILESS_MAIN(TestRxPlotDefs)
#include "TestRxPlotDefs.moc"
