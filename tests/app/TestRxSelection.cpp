#include "app/RxStartup.h"
#include "app/RxWidget.h"
#include "app/RxWindow.h"
#include "render/RxDraw.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include "RxTestGui.h"

namespace {

using Clicks = QList<QPair<int, int>>;

// A curve of n points with X = i and Y = 10 i.
RxCurve ramp(int n, float yStep = 10.0f)
{
    RxCurve c;
    for (int i = 0; i < n; ++i)
        c.addPoint(i == 0 ? PointNewLine : PointLine, float(i), yStep * float(i));
    return c;
}

RxFile document(const QList<int> &curveSizes)
{
    RxFile doc;
    for (int n : curveSizes)
        doc.addCurve(ramp(n));
    doc.autoScale();
    return doc;
}

RxWindow *window(const RxFile &doc)
{
    auto *w = new RxWindow;
    w->setFile(doc);
    return w;
}

// "curve:start:end" of what the widget is told to highlight.
QString shown(RxWindow *w)
{
    const RxWidget *p = w->plotWidget();
    return QStringLiteral("%1:%2:%3")
        .arg(p->selectedCurve())
        .arg(p->selectionStart())
        .arg(p->selectionEnd());
}

QString enabledItems(RxWindow *w)
{
    QStringList on;
    for (const char *item : {"Cut", "Copy", "Paste", "Selection Stats..."}) {
        if (menuItem(barMenu(w, "Edit"), item)->isEnabled())
            on << item;
    }
    return on.join(',');
}

// The X values of every curve, "0 1 2|7 8 9".
QString curvesX(const RxFile &doc)
{
    QStringList curves;
    for (int i = 0; i < doc.numCurves(); ++i) {
        QStringList xs;
        for (int p = 0; p < doc.curve(i)->numPoints(); ++p)
            xs << QString::number(double(doc.curve(i)->x(p)));
        curves << xs.join(' ');
    }
    return curves.join('|');
}

void clicks(RxWindow *w, const QList<QPair<int, int>> &at)
{
    for (const auto &[curve, point] : at)
        w->pointSelected(curve, point);
}

} // namespace

class TestRxSelection : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void clicksSelect_data();
    void clicksSelect();
    void mouseClickMarksNearestPoint();
    void cutSplitsCurve_data();
    void cutSplitsCurve();
    void copyPutsPointsOnSystemClipboard();
    void pasteFollowsSharedClipboard();
    void pasteIntoEmptyWindowKeepsSourceScale();
    void staleSelectionCopiesNothing();
    void deletePointsRefusesRangesOutsideCurve_data();
    void deletePointsRefusesRangesOutsideCurve();
    void statisticsText_data();
    void statisticsText();
    void statsAppendsFitOverWholeCurve();
    void statsWithoutFitAsksNothing();
    void staleStatsKeepsClipboard();
    void onePointCurve();
};

void TestRxSelection::init()
{
    initWindows(1);
    QGuiApplication::clipboard()->clear();
}

void TestRxSelection::cleanup()
{
    qDeleteAll(topLevelOf<RxWindow>());
}

void TestRxSelection::clicksSelect_data()
{
    QTest::addColumn<Clicks>("at");
    QTest::addColumn<QString>("highlight");
    QTest::addColumn<QString>("enabled");

    QTest::newRow("nothing") << Clicks {} << "-1:0:0"
                             << "";
    QTest::newRow("one point marked") << Clicks {{0, 3}} << "0:-2:3"
                                      << "";
    QTest::newRow("3 then 7") << Clicks {{0, 3}, {0, 7}} << "0:3:7"
                              << "Cut,Copy,Selection Stats...";
    QTest::newRow("7 then 3") << Clicks {{0, 7}, {0, 3}} << "0:3:7"
                              << "Cut,Copy,Selection Stats...";
    QTest::newRow("same point twice is whole curve") << Clicks {{1, 5}, {1, 5}} << "1:-1:0"
                                                     << "Cut,Copy,Selection Stats...";
    QTest::newRow("other curve changes nothing") << Clicks {{0, 3}, {1, 7}} << "0:-2:3"
                                                 << "";
    QTest::newRow("third click only clears") << Clicks {{0, 3}, {0, 7}, {1, 2}} << "-1:0:0"
                                             << "";
    QTest::newRow("fourth click starts again")
        << Clicks {{0, 3}, {0, 7}, {1, 2}, {1, 4}} << "1:-2:4"
        << "";
}

void TestRxSelection::clicksSelect()
{
    QFETCH(Clicks, at);
    QFETCH(QString, highlight);
    QFETCH(QString, enabled);

    RxWindow *w = window(document({10, 10}));
    clicks(w, at);
    QCOMPARE(shown(w), highlight);
    QCOMPARE(enabledItems(w), enabled);
}

void TestRxSelection::mouseClickMarksNearestPoint()
{
    RxWindow *w = window(document({10}));
    w->resize(500, 400);
    w->show();
    RxWidget *plot = w->plotWidget();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    plot->grab(); // a paint gives the widget the mapping a press is measured with

    QImage image(plot->size(), QImage::Format_RGB32);
    QPainter painter(&image);
    RxDraw draw;
    const RxFile &doc = plot->document();
    QVERIFY(draw.beginScreen(&painter, plot->width(), plot->height(), doc.plotDefs(), doc.scale()));
    int px = 0;
    int py = 0;
    QVERIFY(draw.mapPoint(4.0f, 40.0f, &px, &py));
    draw.end();

    QTest::mouseClick(plot, Qt::LeftButton, {}, QPoint(2, 2)); // outside the plot area
    QCOMPARE(shown(w), QStringLiteral("-1:0:0"));
    QTest::mouseClick(plot, Qt::LeftButton, {}, QPoint(px + 1, plot->height() - py));
    QCOMPARE(shown(w), QStringLiteral("0:-2:4"));

    RxWindow *empty = window(RxFile());
    empty->show();
    empty->plotWidget()->grab();
    QTest::mouseClick(empty->plotWidget(), Qt::LeftButton, {}, QPoint(250, 180));
    QCOMPARE(shown(empty), QStringLiteral("-1:0:0"));
}

void TestRxSelection::cutSplitsCurve_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("left");
    QTest::addColumn<int>("clipLines");

    // The other curve (X 0 ... 2) sits behind the cut one and shows where the tail goes.
    QTest::newRow("middle") << 3 << 7 << "0 1 2 3|0 1 2|7 8 9" << 5;
    QTest::newRow("neighbours") << 4 << 5 << "0 1 2 3 4|0 1 2|5 6 7 8 9" << 2;
    QTest::newRow("from the first point") << 0 << 8 << "0 1 2|8 9" << 9;
    QTest::newRow("to the last point") << 8 << 9 << "0 1 2 3 4 5 6 7 8|0 1 2" << 2;
    QTest::newRow("first to last") << 0 << 9 << "0 1 2" << 10;
    QTest::newRow("whole curve") << 5 << 5 << "0 1 2" << 10;
}

void TestRxSelection::cutSplitsCurve()
{
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, left);
    QFETCH(int, clipLines);

    RxWindow *w = window(document({10, 3}));
    clicks(w, {{0, start}, {0, end}});
    w->cut();
    QCOMPARE(curvesX(w->plotWidget()->document()), left);
    QCOMPARE(QGuiApplication::clipboard()->text().count('\n'), clipLines);
    QCOMPARE(shown(w), QStringLiteral("-1:0:0"));
    QCOMPARE(enabledItems(w), QStringLiteral("Paste"));
}

void TestRxSelection::copyPutsPointsOnSystemClipboard()
{
    RxFile doc;
    doc.addCurve(ramp(6, 2.5f));
    RxWindow *w = window(doc);
    clicks(w, {{0, 4}, {0, 2}});
    w->copy();
    // The first copied point starts a line whatever its type was.
    QCOMPARE(
        QGuiApplication::clipboard()->text(), QStringLiteral("0\t2\t5\n1\t3\t7.5\n1\t4\t10\n"));
    QCOMPARE(curvesX(w->plotWidget()->document()), QStringLiteral("0 1 2 3 4 5"));
    QCOMPARE(shown(w), QStringLiteral("0:2:4"));
}

void TestRxSelection::pasteFollowsSharedClipboard()
{
    RxWindow *a = window(document({10}));
    RxWindow *b = window(document({4}));
    QCOMPARE(enabledItems(b), QString());
    a->paste(); // nothing to paste yet
    QCOMPARE(a->plotWidget()->document().numCurves(), 1);

    clicks(a, {{0, 3}, {0, 5}});
    a->copy();
    QVERIFY(RxWindow::clipboardFull());
    QCOMPARE(enabledItems(b), QStringLiteral("Paste"));
    RxWindow *later = window(RxFile());
    QCOMPARE(enabledItems(later), QStringLiteral("Paste"));

    b->paste();
    QCOMPARE(curvesX(b->plotWidget()->document()), QStringLiteral("0 1 2 3|3 4 5"));
    QCOMPARE(enabledItems(b), QString());
    b->paste(); // the window's own item is off; the slot still pastes the shared points
    QCOMPARE(b->plotWidget()->document().numCurves(), 3);
    QCOMPARE(enabledItems(later), QStringLiteral("Paste"));

    // A copy anywhere enables it here again (the first click clears the old range).
    clicks(a, {{0, 0}, {0, 3}, {0, 5}});
    a->copy();
    QCOMPARE(enabledItems(b), QStringLiteral("Paste"));
}

void TestRxSelection::pasteIntoEmptyWindowKeepsSourceScale()
{
    RxFile source = document({10});
    RxScale scale = source.scale();
    scale.setXRange(50.0f, -50.0f);
    source.setScale(scale);
    RxWindow *from = window(source);
    RxWindow *to = window(RxFile());
    RxWindow *full = window(document({3}));
    const RxScale fullScale = full->plotWidget()->scale();

    clicks(from, {{0, 2}, {0, 6}});
    from->cut();
    to->paste();
    full->paste();
    QCOMPARE(to->plotWidget()->scale().xmin(), -50.0f);
    QCOMPARE(to->plotWidget()->scale().xmax(), 50.0f);
    QCOMPARE(curvesX(to->plotWidget()->document()), QStringLiteral("2 3 4 5 6"));
    QCOMPARE(full->plotWidget()->scale().xmax(), fullScale.xmax());
}

void TestRxSelection::staleSelectionCopiesNothing()
{
    RxWindow *a = window(document({10}));
    RxWindow *b = window(document({10}));
    clicks(a, {{0, 1}, {0, 2}});
    a->copy();
    QCOMPARE(enabledItems(b), QStringLiteral("Paste"));

    // The curve shrinks under the selection (an edit in a dialog).
    clicks(b, {{0, 6}, {0, 9}});
    b->plotWidget()->document().setCurve(0, ramp(5));
    b->plotWidget()->grab(); // a range the curve lost draws nothing
    b->cut();
    QVERIFY(!RxWindow::clipboardFull());
    QCOMPARE(enabledItems(a), QStringLiteral("Cut,Copy,Selection Stats..."));
    QCOMPARE(curvesX(b->plotWidget()->document()), QStringLiteral("0 1 2 3 4"));
    QCOMPARE(shown(b), QStringLiteral("-1:0:0"));
}

void TestRxSelection::deletePointsRefusesRangesOutsideCurve_data()
{
    QTest::addColumn<int>("curve");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");

    QTest::newRow("no such curve") << 3 << 1 << 2;
    QTest::newRow("negative curve") << -1 << 1 << 2;
    QTest::newRow("end past the curve") << 0 << 2 << 10;
    QTest::newRow("start after end") << 0 << 5 << 3;
    QTest::newRow("marked point sentinel") << 0 << -2 << 3;
    QTest::newRow("whole curve of no curve") << 4 << -1 << 0;
}

void TestRxSelection::deletePointsRefusesRangesOutsideCurve()
{
    QFETCH(int, curve);
    QFETCH(int, start);
    QFETCH(int, end);

    RxWindow *w = window(document({10, 3}));
    QCOMPARE(w->plotWidget()->deletePoints(curve, start, end), 0);
    QCOMPARE(curvesX(w->plotWidget()->document()), QStringLiteral("0 1 2 3 4 5 6 7 8 9|0 1 2"));
}

void TestRxSelection::statisticsText_data()
{
    QTest::addColumn<QList<float>>("xy");
    QTest::addColumn<QString>("text");

    QTest::newRow("exact line") << QList<float> {0, 1, 1, 3, 2, 5, 3, 7}
                                << "Number of Points = 4\nX max = 3\nX min = 0\n\tAverage X = 1.5\n"
                                   "Y max = 7\nY min = 1\n\tAverage Y = 4\n"
                                   "Linear Fit:\n\t Y = 2 X + 1\n";
    QTest::newRow("same X") << QList<float> {2, 1, 2, -3}
                            << "Number of Points = 2\nX max = 2\nX min = 2\n\tAverage X = 2\n"
                               "Y max = 1\nY min = -3\n\tAverage Y = -1\n"
                               "Linear Fit:\n\tnot possible\n";
    QTest::newRow("no points") << QList<float> {}
                               << "Number of Points = 0\nLinear Fit:\n\tnot possible\n";
}

void TestRxSelection::statisticsText()
{
    QFETCH(QList<float>, xy);
    QFETCH(QString, text);

    RxCurve c;
    for (int i = 0; i + 1 < xy.size(); i += 2)
        c.addPoint(PointLine, xy[i], xy[i + 1]);
    float slope = 0.0f;
    float intercept = 0.0f;
    const bool fitted = c.linearFit(&slope, &intercept, -1, 0) == 1;
    QCOMPARE(fitted ? RxWindow::statisticsText(c, &slope, &intercept) : RxWindow::statisticsText(c),
        text);
}

void TestRxSelection::statsAppendsFitOverWholeCurve()
{
    RxWindow *w = window(document({10}));
    clicks(w, {{0, 2}, {0, 4}});
    {
        ModalAnswers answers({"OK", "Yes"});
        w->selectionStats();
        QCOMPARE(answers.seen,
            QStringList({"Selection Statistics: Number of Points = 3\nX max = 4\nX min = 2\n"
                         "\tAverage X = 3\nY max = 40\nY min = 20\n\tAverage Y = 30\n"
                         "Linear Fit:\n\t Y = 10 X + 0\n",
                "Linear Fit: Append Linear fit as new Curve?"}));
        QCOMPARE(answers.icons,
            QList<QMessageBox::Icon>({QMessageBox::Information, QMessageBox::NoIcon}));
    }
    const RxFile &doc = w->plotWidget()->document();
    QCOMPARE(doc.numCurves(), 2);
    const RxCurve &line = *doc.curve(1);
    QCOMPARE(line.numPoints(), 2);
    QCOMPARE(line.x(0), 0.0f);
    QCOMPARE(line.x(1), 9.0f);
    QCOMPARE(line.y(1), 90.0f);
    QCOMPARE(line.pointType(0), int(PointNewLine));
    QCOMPARE(line.pointType(1), int(PointLine));
    QCOMPARE(shown(w), QStringLiteral("0:2:4")); // the selection stays
    QVERIFY(!RxWindow::clipboardFull()); // the flag is not the statistics' business
}

void TestRxSelection::statsWithoutFitAsksNothing()
{
    RxFile doc;
    RxCurve c;
    for (int i = 0; i < 4; ++i)
        c.addPoint(i == 0 ? PointNewLine : PointLine, 1.0f, float(i));
    doc.addCurve(c);
    RxWindow *w = window(doc);
    clicks(w, {{0, 0}, {0, 3}});
    ModalAnswers answers;
    w->selectionStats();
    QCOMPARE(answers.seen.size(), 1);
    QVERIFY(answers.seen[0].endsWith("Linear Fit:\n\tnot possible\n"));
    QCOMPARE(w->plotWidget()->document().numCurves(), 1);
}

void TestRxSelection::staleStatsKeepsClipboard()
{
    RxWindow *w = window(document({10}));
    clicks(w, {{0, 1}, {0, 3}});
    w->copy();
    w->plotWidget()->document().setCurve(0, ramp(2));
    {
        ModalAnswers answers;
        w->selectionStats();
        QCOMPARE(answers.seen.value(0),
            QStringLiteral(
                "Selection Statistics: Number of Points = 0\nLinear Fit:\n\tnot possible\n"));
    }
    w->paste();
    QCOMPARE(curvesX(w->plotWidget()->document()), QStringLiteral("0 1|1 2 3"));
}

void TestRxSelection::onePointCurve()
{
    RxWindow *w = window(document({1}));
    clicks(w, {{0, 0}, {0, 0}});
    QCOMPARE(shown(w), QStringLiteral("0:-1:0"));
    {
        ModalAnswers answers;
        w->selectionStats();
        QCOMPARE(answers.seen.size(), 1);
        QVERIFY(answers.seen[0].endsWith("not possible\n"));
    }
    w->cut();
    QCOMPARE(w->plotWidget()->document().numCurves(), 0);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("0\t0\t0\n"));
    w->paste();
    QCOMPARE(curvesX(w->plotWidget()->document()), QStringLiteral("0"));
}

QTEST_MAIN(TestRxSelection)
#include "TestRxSelection.moc"
