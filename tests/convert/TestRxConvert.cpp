// Runs the real ruxa-convert in a scratch folder holding copies of tests/data/convert.
#include <QtTest>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <memory>

namespace {

struct Run
{
    int status = -1; // -1 also when the process crashed or hung
    QByteArray out;
    QByteArray err;
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll()
                                       : QByteArray("<cannot open " + path.toUtf8() + ">");
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

bool isOneLine(const QByteArray &text)
{
    return text.size() > 1 && text.endsWith('\n') && text.count('\n') == 1;
}

// Empty when equal; else the first line that differs, for the failure message.
QString firstDifference(const QByteArray &actual, const QByteArray &expected)
{
    if (actual == expected)
        return QString();
    const QList<QByteArray> a = actual.split('\n');
    const QList<QByteArray> e = expected.split('\n');
    for (qsizetype i = 0; i < qMax(a.size(), e.size()); ++i) {
        const QByteArray al = i < a.size() ? a.at(i) : QByteArray("<end of file>");
        const QByteArray el = i < e.size() ? e.at(i) : QByteArray("<end of file>");
        if (al != el)
            return QStringLiteral("line %1: got \"%2\", expected \"%3\"")
                .arg(i + 1)
                .arg(QString::fromLatin1(al), QString::fromLatin1(el));
    }
    return QStringLiteral("files differ");
}

} // namespace

class TestRxConvert : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void convert_data();
    void convert();
    void usageError_data();
    void usageError();
    void failure_data();
    void failure();
    void help();
    void version();

private:
    Run run(const QStringList &args) const;
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QStringList entries() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestRxConvert::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    const QDir data(QStringLiteral(RUXA_TEST_DATA "/convert"));
    const QStringList files = data.entryList(QDir::Files);
    QVERIFY2(!files.isEmpty(), "no fixtures in tests/data/convert");
    for (const QString &name : files)
        QVERIFY(QFile::copy(data.filePath(name), path(name)));
    QVERIFY(writeAll(path(QStringLiteral("empty.txt")), QByteArray()));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("adir")));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder.rx")));
}

Run TestRxConvert::run(const QStringList &args) const
{
    QProcess p;
    p.setWorkingDirectory(m_dir->path());
    // The program must get by without a display, and without being told so.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(RUXA_CONVERT), args);
    Run r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    if (p.exitStatus() == QProcess::NormalExit)
        r.status = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

// Everything in the scratch folder, so that a left-over temporary file shows.
QStringList TestRxConvert::entries() const
{
    return QDir(m_dir->path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

void TestRxConvert::convert_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("expected");

    const QString out = QStringLiteral("out.rx");
    const QString twoPoints = QStringLiteral("two-points.rx");
    QTest::newRow("data file written byte for byte") << QStringList {twoPoints, out} << twoPoints;
    QTest::newRow("missing name retried with .rx")
        << QStringList {QStringLiteral("two-points"), out} << twoPoints;
    QTest::newRow("columns ignored below three columns")
        << QStringList {"--columns", "2,1", twoPoints, out} << twoPoints;
    QTest::newRow("autoscale fits the ranges to the points") << QStringList {
        "--autoscale", twoPoints, out} << QStringLiteral("two-points-autoscaled.rx");
    QTest::newRow("appends in order, then the scaling") << QStringList {"--autoscale", twoPoints,
        "--append", "more-a.txt", "--append=more-b.txt", out}
                                                        << QStringLiteral("appended-autoscaled.rx");
    QTest::newRow("chosen columns of a tab-delimited file") << QStringList {"--columns", "1,3",
        "--delimited", "tab", "--invec", "0", "three-columns.txt",
        out} << QStringLiteral("three-columns-1-3.rx");
    QTest::newRow("options written with =")
        << QStringList {"--columns=1,3", "--delimited=tab", "--invec=0", "three-columns.txt", out}
        << QStringLiteral("three-columns-1-3.rx");
    QTest::newRow("columns 1,2 by default") << QStringList {"--delimited", "tab", "--invec", "0",
        "three-columns.txt", out} << QStringLiteral("three-columns-1-2.rx");
    QTest::newRow("point types start curves, comma-delimited") << QStringList {
        "--delimited", "comma", "point-types.csv", out} << QStringLiteral("point-types.rx");
    QTest::newRow("runs of blanks, blank-delimited") << QStringList {"--delimited", "space",
        "--invec", "0", "spaces.txt", out} << QStringLiteral("spaces.rx");
    QTest::newRow("fixed after delimited, field width 12") << QStringList {"--delimited", "comma",
        "--fixed", "--datalen", "12", "--invec", "0", "fixed-12.txt", out}
                                                           << QStringLiteral("fixed-12.rx");
}

void TestRxConvert::convert()
{
    QFETCH(QStringList, args);
    QFETCH(QString, expected);
    // Longer than any expected file: an output that is not replaced whole shows its tail.
    QVERIFY(writeAll(path(QStringLiteral("out.rx")), QByteArray(8192, 'x')));
    const QStringList before = entries();

    const Run r = run(args);
    QVERIFY2(r.err.isEmpty(), r.err.constData());
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QByteArray());
    const QString diff
        = firstDifference(readAll(path(QStringLiteral("out.rx"))), readAll(path(expected)));
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    QCOMPARE(entries(), before);
}

void TestRxConvert::usageError_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("named"); // what the message must mention

    const QString in = QStringLiteral("two-points.rx");
    const QString out = QStringLiteral("out.rx");
    QTest::newRow("unknown option") << QStringList {"--frobnicate", in, out} << "--frobnicate";
    QTest::newRow("short option") << QStringList {"-a", in, out} << "-a";
    QTest::newRow("no operands") << QStringList {} << "OUTPUT";
    QTest::newRow("output missing") << QStringList {in} << "OUTPUT";
    QTest::newRow("extra operand") << QStringList {in, out, "more.rx"} << "more.rx";
    QTest::newRow("output of another kind") << QStringList {in, "out.txt"} << "out.txt";
    QTest::newRow("output without an ending") << QStringList {in, "out"} << ".rx";
    QTest::newRow("value missing at the end") << QStringList {in, out, "--datalen"} << "--datalen";
    QTest::newRow("flag given a value")
        << QStringList {"--autoscale=yes", in, out} << "--autoscale";
    QTest::newRow("datalen below range") << QStringList {"--datalen", "7", in, out} << "--datalen";
    QTest::newRow("datalen above range") << QStringList {"--datalen", "100", in, out} << "100";
    QTest::newRow("datalen not a number") << QStringList {"--datalen", "ten", in, out} << "ten";
    QTest::newRow("datalen with trailing text") << QStringList {"--datalen=10x", in, out} << "10x";
    QTest::newRow("invec above range") << QStringList {"--invec", "10", in, out} << "--invec";
    QTest::newRow("invec negative") << QStringList {"--invec", "-1", in, out} << "--invec";
    QTest::newRow("delimiter not offered")
        << QStringList {"--delimited", "semicolon", in, out} << "semicolon";
    QTest::newRow("delimiter given as its character")
        << QStringList {"--delimited", ",", in, out} << "--delimited";
    QTest::newRow("columns with one number")
        << QStringList {"--columns", "2", in, out} << "--columns";
    QTest::newRow("columns with three numbers")
        << QStringList {"--columns", "1,2,3", in, out} << "1,2,3";
    QTest::newRow("columns negative") << QStringList {"--columns", "-1,2", in, out} << "-1,2";
    QTest::newRow("columns not numbers") << QStringList {"--columns", "a,b", in, out} << "a,b";
    QTest::newRow("columns empty") << QStringList {"--columns=", in, out} << "--columns";
    QTest::newRow("usage checked before the input")
        << QStringList {"--datalen", "7", "nosuch", out} << "--datalen";
}

void TestRxConvert::usageError()
{
    QFETCH(QStringList, args);
    QFETCH(QString, named);
    const QStringList before = entries();

    const Run r = run(args);
    QCOMPARE(r.status, 2);
    QVERIFY2(isOneLine(r.err), r.err.constData());
    QVERIFY2(QString::fromUtf8(r.err).contains(named), r.err.constData());
    QCOMPARE(r.out, QByteArray());
    QCOMPARE(entries(), before);
}

void TestRxConvert::failure_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("named"); // what the message must mention
    QTest::addColumn<bool>("exact"); // the message is named and a newline, nothing else

    const QString in = QStringLiteral("two-points.rx");
    const QString out = QStringLiteral("out.rx");
    const QString threeCols = QStringLiteral("three-columns.txt");
    const QString newer = QStringLiteral("File format is newer than code, please upgrade");
    QTest::newRow("input missing") << QStringList {"nosuch", out} << "nosuch" << false;
    QTest::newRow("input is a directory") << QStringList {"adir", out} << "adir" << false;
    QTest::newRow("input the reader refuses")
        << QStringList {"not-numbers.txt", out} << "not-numbers.txt" << false;
    QTest::newRow("input empty") << QStringList {"empty.txt", out} << "empty.txt" << false;
    QTest::newRow("output folder missing")
        << QStringList {in, "nodir/out.rx"} << "nodir/out.rx" << false;
    QTest::newRow("output is a directory") << QStringList {in, "folder.rx"} << "folder.rx" << false;
    QTest::newRow("column beyond the file")
        << QStringList {"--columns", "1,4", "--delimited", "tab", "--invec", "0", threeCols, out}
        << threeCols << false;
    QTest::newRow("column zero") << QStringList {"--columns", "0,2", "--delimited", "tab",
        "--invec", "0", threeCols, out}
                                 << "0,2" << false;
    QTest::newRow("equal columns")
        << QStringList {"--columns", "2,2", "--delimited", "tab", "--invec", "0", threeCols, out}
        << "2,2" << false;
    QTest::newRow("append missing")
        << QStringList {in, "--append", "nosuch", out} << "nosuch" << false;
    QTest::newRow("append the reader refuses")
        << QStringList {in, "--append", "not-numbers.txt", out} << "not-numbers.txt" << false;
    QTest::newRow("newer format") << QStringList {"newer.rx", out} << newer << true;
    QTest::newRow("newer format by the .rx retry") << QStringList {"newer", out} << newer << true;
    QTest::newRow("newer format appended")
        << QStringList {in, "--append", "newer.rx", out} << newer << true;
}

// Each case runs twice: without an OUTPUT, which must not appear, and with one, which must
// stay as it was.
void TestRxConvert::failure()
{
    QFETCH(QStringList, args);
    QFETCH(QString, named);
    QFETCH(bool, exact);
    const QByteArray older("an older plot\n");

    for (const bool outputExists : {false, true}) {
        if (outputExists)
            QVERIFY(writeAll(path(QStringLiteral("out.rx")), older));
        const QStringList before = entries();

        const Run r = run(args);
        QCOMPARE(r.status, 1);
        QVERIFY2(isOneLine(r.err), r.err.constData());
        if (exact)
            QCOMPARE(r.err, named.toUtf8() + '\n');
        else
            QVERIFY2(QString::fromUtf8(r.err).contains(named), r.err.constData());
        QCOMPARE(r.out, QByteArray());
        QCOMPARE(entries(), before);
        if (outputExists)
            QCOMPARE(readAll(path(QStringLiteral("out.rx"))), older);
    }
}

void TestRxConvert::help()
{
    const Run r = run(
        {QStringLiteral("two-points.rx"), QStringLiteral("out.rx"), QStringLiteral("--help")});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.err, QByteArray());
    QVERIFY2(r.out.startsWith("Usage: ruxa-convert "), r.out.constData());
    for (const char *option : {"--columns", "--fixed", "--delimited", "--invec", "--datalen",
             "--append", "--autoscale", "--help", "--version"})
        QVERIFY2(r.out.contains(option), option);
    QVERIFY2(!QFile::exists(path(QStringLiteral("out.rx"))), "--help converted anyway");
}

void TestRxConvert::version()
{
    const Run r = run({QStringLiteral("--version")});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.err, QByteArray());
    static const QRegularExpression line(QStringLiteral("^ruxa-convert [0-9]+(\\.[0-9]+)+\n$"));
    QVERIFY2(line.match(QString::fromUtf8(r.out)).hasMatch(), r.out.constData());
}

QTEST_GUILESS_MAIN(TestRxConvert)
#include "TestRxConvert.moc"
