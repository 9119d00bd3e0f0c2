#include "model/RxComments.h"
#include "model/RxFatal.h"
#include "model/RxLineReader.h"

#include <QBuffer>
#include <QtTest>

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

// The fatal paths end the process, so each runs in a child; the parent checks the one line
// on standard output and the exit status -1 (255).
class TestRxFatal : public QObject
{
    Q_OBJECT

private slots:
    void fatalPaths_data();
    void fatalPaths();
};

namespace {

struct Outcome
{
    QByteArray output;
    int status = -1;
};

Outcome runInChild(const std::function<void()> &body)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        qFatal("pipe failed");
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        body();
        _exit(0); // the body was expected not to return
    }
    close(pipeFds[1]);
    Outcome o;
    char buf[256];
    for (ssize_t n; (n = read(pipeFds[0], buf, sizeof buf)) > 0;)
        o.output.append(buf, static_cast<qsizetype>(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return o;
}

} // namespace

void TestRxFatal::fatalPaths_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("exhausted memory is named") << 0 << QByteArray("out of memory in smooth\n");
    QTest::newRow("spelling is kept") << 1 << QByteArray("outof memory in rxplotdefs\n");
    QTest::newRow("comment records into a filled list")
        << 2 << QByteArray("oops in RxComments::readFormat \n");
}

void TestRxFatal::fatalPaths()
{
    QFETCH(int, which);
    QFETCH(QByteArray, message);
    const Outcome o = runInChild([which, message] {
        if (which == 2) {
            RxComments c;
            c.addComment("already here", 1.0f, 2.0f, 0);
            QByteArray text("C comment: 0\nC\tloctype: 0\n");
            QBuffer b(&text);
            b.open(QIODevice::ReadOnly);
            RxLineReader in(b);
            QByteArray line;
            in.next(line);
            c.readFormat(in, line);
            return;
        }
        // What a container does when it cannot grow.
        rxGuardMemory(message.constData(), []() -> int { throw std::bad_alloc(); });
    });
    QCOMPARE(o.output, message);
    QCOMPARE(o.status, 255);
}

QTEST_GUILESS_MAIN(TestRxFatal)
#include "TestRxFatal.moc"
