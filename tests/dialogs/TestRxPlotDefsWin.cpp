#include <QtTest>

class TestRxPlotDefsWin : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestRxPlotDefsWin)
#include "TestRxPlotDefsWin.moc"
