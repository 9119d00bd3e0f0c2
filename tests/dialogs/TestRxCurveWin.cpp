#include <QtTest>

class TestRxCurveWin : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestRxCurveWin)
#include "TestRxCurveWin.moc"
