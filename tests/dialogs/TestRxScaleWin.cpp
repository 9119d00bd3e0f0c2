#include <QtTest>

class TestRxScaleWin : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestRxScaleWin)
#include "TestRxScaleWin.moc"
