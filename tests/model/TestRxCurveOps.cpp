#include "model/RxCurve.h"

#include <QtTest>

class TestRxCurveOps : public QObject
{
    Q_OBJECT
private slots:
    void boundsAndMean();
    void linearFit_data();
    void linearFit();
    void transform_data();
    void transform();
    void reduce_data();
    void reduce();
    void smooth_data();
    void smooth();
};

namespace {

// Point i gets type i % 13 (0 first) and a third column 100 + i that must travel with it.
RxCurve curveOf(const QList<float> &xs, const QList<float> &ys)
{
    RxCurve c(3);
    for (int i = 0; i < xs.size(); ++i) {
        const float row[3] = {xs[i], ys[i], 100.0f + float(i)};
        c.addRow(i % 13, row);
    }
    return c;
}

QList<float> sequence(int n)
{
    QList<float> v;
    for (int i = 0; i < n; ++i)
        v << float(i);
    return v;
}

} // namespace

void TestRxCurveOps::boundsAndMean()
{
    float xmax = 0, xmin = 0, ymax = 0, ymin = 0, mx = 1, my = 1;
    RxCurve empty;
    empty.bounds(&xmax, &xmin, &ymax, &ymin);
    QCOMPARE(QList<float>({xmax, xmin, ymax, ymin}), QList<float>({-1e36f, 1e36f, -1e36f, 1e36f}));
    empty.mean(&mx, &my);
    QCOMPARE(QList<float>({mx, my}), QList<float>({0, 0}));

    const RxCurve c = curveOf({3, -2, 5, 2}, {-7, -1, -4, -8});
    c.bounds(&xmax, &xmin, &ymax, &ymin);
    QCOMPARE(QList<float>({xmax, xmin, ymax, ymin}), QList<float>({5, -2, -1, -8}));
    c.mean(&mx, &my);
    QCOMPARE(QList<float>({mx, my}), QList<float>({2, -5}));
}

void TestRxCurveOps::linearFit_data()
{
    QTest::addColumn<QList<float>>("xs");
    QTest::addColumn<QList<float>>("ys");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<float>("slope");
    QTest::addColumn<float>("intercept");
    QTest::newRow("all points") << QList<float> {0, 1, 2} << QList<float> {1, 3, 5} << -1 << 0
                                << true << 2.0f << 1.0f;
    QTest::newRow("range skips outliers")
        << QList<float> {0, 1, 2, 3, 4} << QList<float> {50, 1, -1, -3, 50} << 1 << 3 << true
        << -2.0f << 3.0f;
    QTest::newRow("same X") << QList<float> {2, 2, 2} << QList<float> {1, 3, 5} << -1 << 0 << false
                            << 0.0f << 0.0f;
    // Five times 0.1 leaves rounding noise in the denominator instead of 0.
    QTest::newRow("same inexact X") << QList<float>(5, 0.1f) << QList<float> {1, 2, 3, 4, 5} << -1
                                    << 0 << false << 0.0f << 0.0f;
    QTest::newRow("single point") << QList<float> {0, 1, 2} << QList<float> {1, 3, 5} << 1 << 1
                                  << false << 0.0f << 0.0f;
    QTest::newRow("empty curve") << QList<float> {} << QList<float> {} << -1 << 0 << false << 0.0f
                                 << 0.0f;
    QTest::newRow("reversed range")
        << QList<float> {0, 1, 2} << QList<float> {1, 3, 5} << 2 << 1 << false << 0.0f << 0.0f;
    QTest::newRow("overflowing sums")
        << QList<float> {0, 3e38f} << QList<float> {0, 3e38f} << -1 << 0 << false << 0.0f << 0.0f;
}

void TestRxCurveOps::linearFit()
{
    QFETCH(QList<float>, xs);
    QFETCH(QList<float>, ys);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(bool, ok);
    QFETCH(float, slope);
    QFETCH(float, intercept);
    float s = 99, c = 99;
    QCOMPARE(curveOf(xs, ys).linearFit(&s, &c, first, last), ok ? 1 : 0);
    // A refused fit leaves the results alone.
    QCOMPARE(s, ok ? slope : 99.0f);
    QCOMPARE(c, ok ? intercept : 99.0f);
}

void TestRxCurveOps::transform_data()
{
    QTest::addColumn<QList<float>>("coefficients");
    QTest::addColumn<QList<float>>("xs");
    QTest::addColumn<QList<float>>("ys");
    QTest::newRow("swap") << QList<float> {0, 1, 0, 1, 0, 0} << QList<float> {2, -4}
                          << QList<float> {1, 3};
    // The new Y must come from the old X, not from the X just computed.
    QTest::newRow("Y from old X") << QList<float> {2, 0, 1, 1, 1, 0.5f} << QList<float> {3, 7}
                                  << QList<float> {3.5f, -0.5f};
}

void TestRxCurveOps::transform()
{
    QFETCH(QList<float>, coefficients);
    QFETCH(QList<float>, xs);
    QFETCH(QList<float>, ys);
    RxCurve c = curveOf({1, 3}, {2, -4});
    const QList<float> &k = coefficients;
    c.transform(k[0], k[1], k[2], k[3], k[4], k[5]);
    QCOMPARE((QList<float> {c.x(0), c.x(1)}), xs);
    QCOMPARE((QList<float> {c.y(0), c.y(1)}), ys);
    float row[3];
    c.row(1, row);
    QCOMPARE(row[2], 101.0f);
}

void TestRxCurveOps::reduce_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("k");
    QTest::addColumn<QList<int>>("kept");
    const auto steps = [](int k, int last) {
        QList<int> v;
        for (int i = 0; i <= last; i += k)
            v << i;
        return v;
    };
    QTest::newRow("last point added") << 100 << 10 << steps(10, 90) + QList<int> {99};
    QTest::newRow("count one past a step") << 99 << 10 << steps(10, 90);
    QTest::newRow("steps then last") << 155 << 10 << steps(10, 140) + QList<int> {154};
    QTest::newRow("every other, last on a step") << 21 << 2 << steps(2, 20);
    QTest::newRow("every point") << 12 << 1 << steps(1, 11);
    QTest::newRow("nine would remain") << 98 << 10 << QList<int> {};
    QTest::newRow("step zero") << 100 << 0 << QList<int> {};
}

void TestRxCurveOps::reduce()
{
    QFETCH(int, n);
    QFETCH(int, k);
    QFETCH(QList<int>, kept);
    RxCurve c = curveOf(sequence(n), sequence(n));
    const bool refused = kept.isEmpty();
    QCOMPARE(c.reduce(k), refused ? 0 : 1);
    // A refused reduction keeps every point.
    for (int i = 0; refused && i < n; ++i)
        kept << i;
    QCOMPARE(c.numPoints(), kept.size());
    float row[3];
    for (int j = 0; j < kept.size(); ++j) {
        c.row(j, row);
        const int i = kept[j];
        QCOMPARE((QList<float> {row[0], row[1], row[2]}),
            (QList<float> {float(i), float(i), 100.0f + float(i)}));
        QCOMPARE(c.pointType(j), i % 13);
    }
}

void TestRxCurveOps::smooth_data()
{
    QTest::addColumn<QList<float>>("ys");
    QTest::addColumn<int>("h");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QList<float>>("smoothed");
    QTest::newRow("one neighbour")
        << QList<float> {0, 0, 3, 0, 0} << 1 << true << QList<float> {0, 1, 1, 1, 0};
    // Each window must see the values from before the call, not the ones just written.
    QTest::newRow("two neighbours from old values")
        << QList<float> {0, 0, 5, 0, 0, 10, 0} << 2 << true << QList<float> {0, 0, 1, 3, 3, 10, 0};
    QTest::newRow("no point has a full window")
        << QList<float> {1, 2, 3, 4} << 2 << true << QList<float> {1, 2, 3, 4};
    QTest::newRow("window longer than curve")
        << QList<float> {1, 2, 3, 4, 5} << 3 << false << QList<float> {1, 2, 3, 4, 5};
    QTest::newRow("no neighbours")
        << QList<float> {1, 2, 3} << 0 << false << QList<float> {1, 2, 3};
}

void TestRxCurveOps::smooth()
{
    QFETCH(QList<float>, ys);
    QFETCH(int, h);
    QFETCH(bool, ok);
    QFETCH(QList<float>, smoothed);
    // Evenly spaced X is its own moving average.
    const QList<float> xs = sequence(int(ys.size()));
    RxCurve c = curveOf(xs, ys);
    QCOMPARE(c.smooth(h), ok ? 1 : 0);
    QList<float> gotX, gotY;
    for (int i = 0; i < c.numPoints(); ++i) {
        gotX << c.x(i);
        gotY << c.y(i);
        QCOMPARE(c.pointType(i), i % 13);
    }
    QCOMPARE(gotX, xs);
    QCOMPARE(gotY, smoothed);
}

QTEST_GUILESS_MAIN(TestRxCurveOps)
#include "TestRxCurveOps.moc"
