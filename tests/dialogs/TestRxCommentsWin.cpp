#include <QtTest>

class TestRxCommentsWin : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestRxCommentsWin)
#include "TestRxCommentsWin.moc"
