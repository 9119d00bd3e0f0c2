// Runs the real ruxa-convert in a scratch folder holding copies of tests/data/convert.
#include "render/RxGhostscript.h"
#include "RxColumnCases.h"

#include <QtTest>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <csignal>
#include <cstdio>
#include <memory>

#include <sys/resource.h>
#include <sys/stat.h>

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

// A copy of picture.rx with control characters in its texts, made by init().
const char *const controlName = "control\x01\x1b\x0c.rx";

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

// Empty when xmllint finds xml well-formed, else what it says. Without xmllint the stream
// reader's check stands alone.
QByteArray xmllintProblem(const QByteArray &xml)
{
    const QString lint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (lint.isEmpty())
        return QByteArray();
    QProcess p;
    p.start(lint, {QStringLiteral("--noout"), QStringLiteral("-")});
    p.write(xml);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000))
        return "xmllint did not finish";
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return "xmllint: " + p.readAllStandardError().left(400);
    return QByteArray();
}

// The kinds OUTPUT's ending selects, by what a reader of each sees. Empty when bytes are a
// whole file of the kind; else what is wrong.
QByteArray kindProblem(const QString &kind, const QByteArray &bytes, QSize size)
{
    if (kind == QLatin1String("ps") || kind == QLatin1String("eps")) {
        if (!bytes.startsWith("%!PS-Adobe-2.0 EPSF-2.0\n"))
            return "no PostScript header: " + bytes.left(40);
        if (bytes.contains("showpage") != (kind == QLatin1String("ps")))
            return kind == QLatin1String("ps") ? "no showpage in PostScript" : "showpage in EPS";
        return rxGhostscriptCheck(bytes);
    }
    if (kind == QLatin1String("pdf")) {
        if (!bytes.startsWith("%PDF-") || !bytes.trimmed().endsWith("%%EOF"))
            return "not a whole PDF";
        QByteArray box;
        if (const QByteArray problem = rxGhostscriptCheck(bytes, &box); !problem.isEmpty())
            return problem;
        // The fixtures' 5 x 4 inch plot, centred on a portrait Letter page at (126, 251) to
        // (486, 539) points; its numbers and titles stay within an inch of it. Text sized
        // for another resolution than the page's points would not.
        int x1 = 0;
        int y1 = 0;
        int x2 = 0;
        int y2 = 0;
        if (std::sscanf(box.constData(), "%%%%BoundingBox: %d %d %d %d", &x1, &y1, &x2, &y2) != 4
            || x1 < 54 || y1 < 179 || x2 > 558 || y2 > 611)
            return "PDF drawn outside the plot's surroundings: " + box;
        return QByteArray();
    }
    if (kind == QLatin1String("png")) {
        QImage image;
        if (!image.loadFromData(bytes, "PNG"))
            return "not a PNG";
        if (image.size() != size)
            return QStringLiteral("%1x%2 pixels").arg(image.width()).arg(image.height()).toUtf8();
        // A picture smaller than the margins round the plot may rightly show nothing.
        if (size.width() < 100 || size.height() < 50)
            return QByteArray();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != qRgb(255, 255, 255))
                    return QByteArray();
            }
        }
        return "nothing drawn on the white";
    }
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd() && !xml.isStartElement())
        xml.readNext();
    if (xml.name() != QLatin1String("svg"))
        return "no <svg> element";
    while (!xml.atEnd())
        xml.readNext();
    return xml.hasError() ? "SVG: " + xml.errorString().toUtf8() : xmllintProblem(bytes);
}

} // namespace

class TestRxConvert : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void convert_data();
    void convert();
    void picture_data();
    void picture();
    void orientation_data();
    void orientation();
    void creationDate_data();
    void creationDate();
    void usageError_data();
    void usageError();
    void failure_data();
    void failure();
    void columnFiles_data();
    void columnFiles();
    void failedWritesLeaveOutputAsItWas_data();
    void failedWritesLeaveOutputAsItWas();
    void help();
    void version();

private:
    // env: "NAME=value" settings on top of a clean environment.
    // fileSizeLimit > 0: the child may write no file larger (RLIMIT_FSIZE), so that its
    // writes fail as on a full disk.
    Run run(const QStringList &args, const QStringList &env = {}, int fileSizeLimit = 0) const;
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QStringList entries() const;
    // Files in the folder the program gets as TMPDIR: a scratch file left there shows.
    // (Qt may make its runtime folder there.)
    QStringList scratchLeft() const;

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
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("tmp")));
    // A named pipe stands for every file that is not a regular one: reading it would wait
    // for a writer, and replacing it would destroy it.
    QCOMPARE(::mkfifo(QFile::encodeName(path(QStringLiteral("pipe.rx"))).constData(), 0600), 0);
    for (const char *ext : {"rx", "ps"})
        QVERIFY(
            QFile::link(path(QStringLiteral("pipe.rx")), path(QStringLiteral("pipe-link.") + ext)));
    // Its name becomes the PostScript title.
    QVERIFY(
        QFile::copy(path(QStringLiteral("picture.rx")), path(QStringLiteral("odd (name) \\.rx"))));
    // Control characters, which XML does not allow, in the labels, a comment and the name.
    QByteArray control = readAll(path(QStringLiteral("picture.rx")));
    control.replace("x (m)\n", QByteArray("x\x01(m)\0\n", 7));
    control.replace("f(x) = ", "f(x)\x0c = \x1b");
    QVERIFY(writeAll(path(QString::fromLatin1(controlName)), control));
}

Run TestRxConvert::run(const QStringList &args, const QStringList &extra, int fileSizeLimit) const
{
    QProcess p;
    if (fileSizeLimit > 0) {
        p.setChildProcessModifier([fileSizeLimit] {
            // A write beyond the limit then fails with EFBIG instead of ending the process.
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit {rlim_t(fileSizeLimit), rlim_t(fileSizeLimit)};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    }
    p.setWorkingDirectory(m_dir->path());
    // The program must get by without a display, and without being told so.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("SOURCE_DATE_EPOCH"));
    env.insert(QStringLiteral("TMPDIR"), path(QStringLiteral("tmp")));
    for (const QString &setting : extra)
        env.insert(setting.section(QLatin1Char('='), 0, 0), setting.section(QLatin1Char('='), 1));
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

QStringList TestRxConvert::scratchLeft() const
{
    return QDir(path(QStringLiteral("tmp"))).entryList(QDir::Files | QDir::Hidden);
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
    QTest::newRow("orientation kept in the data file")
        << QStringList {"--landscape", twoPoints, out} << QStringLiteral("two-points-landscape.rx");
    QTest::newRow("columns named by the header line") << QStringList {"--columns", "Year,biology",
        "named-columns.csv", out} << QStringLiteral("named-columns-1-3.rx");
    QTest::newRow("columns numbered in a file with a header line") << QStringList {
        "--columns", "1,3", "named-columns.csv", out} << QStringLiteral("named-columns-1-3.rx");
    QTest::newRow("semicolon-delimited") << QStringList {"--delimited", "semicolon", "--invec", "0",
        "semicolon.txt", out} << QStringLiteral("semicolon.rx");
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

void TestRxConvert::picture_data()
{
    QTest::addColumn<QStringList>("args"); // OUTPUT last
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QSize>("size");

    const QString in = QStringLiteral("picture.rx");
    const QSize window(500, 400);
    QTest::newRow("PostScript") << QStringList {in, "out.ps"} << "ps" << QSize();
    QTest::newRow("EPS") << QStringList {in, "out.eps"} << "eps" << QSize();
    QTest::newRow("PostScript of an encapsulated document")
        << QStringList {"encapsulated.rx", "out.ps"} << "ps" << QSize();
    QTest::newRow("title with brackets and a backslash")
        << QStringList {"odd (name) \\.rx", "out.ps"} << "ps" << QSize();
    QTest::newRow("symbols, arrows and text at the largest sizes")
        << QStringList {"largest-sizes.rx", "out.ps"} << "ps" << QSize();
    QTest::newRow("wide plot on its landscape page")
        << QStringList {"wide-landscape.rx", "out.ps"} << "ps" << QSize();
    QTest::newRow("ending in capitals") << QStringList {in, "OUT.EPS"} << "eps" << QSize();
    QTest::newRow("PDF") << QStringList {in, "out.pdf"} << "pdf" << QSize();
    QTest::newRow("PNG of the window's size") << QStringList {in, "out.png"} << "png" << window;
    QTest::newRow("PNG of a chosen size")
        << QStringList {"--size", "320x200", in, "out.png"} << "png" << QSize(320, 200);
    QTest::newRow("PNG narrower than the axis numbers")
        << QStringList {"--size=1X1", in, "out.png"} << "png" << QSize(1, 1);
    QTest::newRow("SVG") << QStringList {"--size", "300x600", in, "out.svg"} << "svg" << QSize();
    QTest::newRow("SVG of control characters")
        << QStringList {QString::fromLatin1(controlName), "out.svg"} << "svg" << QSize();
}

// OUTPUT exists beforehand and is longer than any result: one not replaced whole shows.
void TestRxConvert::picture()
{
    QFETCH(QStringList, args);
    QFETCH(QString, kind);
    QFETCH(QSize, size);
    const QString output = path(args.last());
    QVERIFY(writeAll(output, QByteArray(300000, 'x')));
    const QStringList before = entries();

    const Run r = run(args);
    QVERIFY2(r.err.isEmpty(), r.err.constData());
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QByteArray());
    const QByteArray problem = kindProblem(kind, readAll(output), size);
    QVERIFY2(problem.isEmpty(), problem.constData());
    QCOMPARE(entries(), before);
    QCOMPARE(scratchLeft(), QStringList());
}

void TestRxConvert::orientation_data()
{
    QTest::addColumn<QStringList>("args"); // OUTPUT last
    QTest::addColumn<QByteArray>("page");

    const QString in = QStringLiteral("two-points.rx");
    const QString landscape = QStringLiteral("two-points-landscape.rx");
    const QByteArray upright("\n%%BoundingBox: 36 36 540 432 \n");
    const QByteArray turned("\n%%BoundingBox: 36 216 468 720 \n");
    QTest::newRow("the document's portrait") << QStringList {in, "out.eps"} << upright;
    QTest::newRow("the document's landscape") << QStringList {landscape, "out.eps"} << turned;
    QTest::newRow("landscape asked for") << QStringList {"--landscape", in, "out.eps"} << turned;
    QTest::newRow("portrait asked for")
        << QStringList {"--portrait", landscape, "out.ps"} << upright;
    QTest::newRow("the later of two wins")
        << QStringList {"--portrait", in, "--landscape", "out.eps"} << turned;
    QTest::newRow("portrait printed page")
        << QStringList {"--portrait", landscape, "out.pdf"} << QByteArray("/MediaBox [0 0 612");
    QTest::newRow("landscape printed page")
        << QStringList {"--landscape", in, "out.pdf"} << QByteArray("/MediaBox [0 0 792");
}

void TestRxConvert::orientation()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, page);

    const Run r = run(args);
    QVERIFY2(r.err.isEmpty(), r.err.constData());
    QCOMPARE(r.status, 0);
    const QByteArray bytes = readAll(path(args.last()));
    QVERIFY2(bytes.contains(page), bytes.left(400).constData());
    if (bytes.startsWith("%!")) {
        const QByteArray problem = rxGhostscriptCheck(bytes);
        QVERIFY2(problem.isEmpty(), problem.constData());
    }
}

void TestRxConvert::creationDate_data()
{
    QTest::addColumn<QString>("epoch");
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("date"); // as PostScript shows it; empty: none to check

    QTest::newRow("PostScript dated by it")
        << "1700000000"
        << "out.ps" << 0 << QByteArray("Tue Nov 14 22:13:20 2023");
    QTest::newRow("EPS dated at the epoch itself")
        << "0"
        << "out.eps" << 0 << QByteArray("Thu Jan 1 00:00:00 1970");
    QTest::newRow("ignored where no date is written") << "soon"
                                                      << "out.png" << 0 << QByteArray();
    QTest::newRow("fraction refused") << "1700000000.5"
                                      << "out.ps" << 2 << QByteArray();
    QTest::newRow("negative refused") << "-1"
                                      << "out.eps" << 2 << QByteArray();
    QTest::newRow("beyond 64 bits refused") << "99999999999999999999"
                                            << "out.ps" << 2 << QByteArray();
}

// Two runs, a local time zone far from UTC: the date is the given instant in UTC, and the
// files are equal byte for byte.
void TestRxConvert::creationDate()
{
    QFETCH(QString, epoch);
    QFETCH(QString, output);
    QFETCH(int, status);
    QFETCH(QByteArray, date);
    const QStringList env {"SOURCE_DATE_EPOCH=" + epoch, QStringLiteral("TZ=RXT+5")};
    const QStringList args {QStringLiteral("picture.rx"), output};
    const QStringList before = entries();

    const Run first = run(args, env);
    QCOMPARE(first.status, status);
    if (status != 0) {
        QVERIFY2(isOneLine(first.err), first.err.constData());
        QVERIFY2(first.err.contains("SOURCE_DATE_EPOCH"), first.err.constData());
        QCOMPARE(entries(), before);
        return;
    }
    QVERIFY2(first.err.isEmpty(), first.err.constData());
    if (date.isEmpty())
        return;
    const QByteArray bytes = readAll(path(output));
    QVERIFY2(bytes.contains("\n%%CreationDate: " + date + "\n"), bytes.left(300).constData());
    // The title line of printable PostScript repeats it.
    QCOMPARE(bytes.count(date), output.endsWith(QLatin1String(".eps")) ? 1 : 2);
    const QByteArray problem = rxGhostscriptCheck(bytes);
    QVERIFY2(problem.isEmpty(), problem.constData());

    QVERIFY(QFile::remove(path(output)));
    const Run second = run(args, env);
    QCOMPARE(second.status, 0);
    QCOMPARE(readAll(path(output)), bytes);
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
        << QStringList {"--delimited", "pipe", in, out} << "pipe";
    QTest::newRow("delimiter given as its character")
        << QStringList {"--delimited", ",", in, out} << "--delimited";
    QTest::newRow("columns with one number")
        << QStringList {"--columns", "2", in, out} << "--columns";
    QTest::newRow("columns with three numbers")
        << QStringList {"--columns", "1,2,3", in, out} << "1,2,3";
    QTest::newRow("columns negative") << QStringList {"--columns", "-1,2", in, out} << "-1,2";
    QTest::newRow("columns half empty") << QStringList {"--columns", "Year,", in, out} << "Year,";
    QTest::newRow("columns empty") << QStringList {"--columns=", in, out} << "--columns";
    QTest::newRow("usage checked before the input")
        << QStringList {"--datalen", "7", "nosuch", out} << "--datalen";
    QTest::newRow("size of no width") << QStringList {"--size", "0x10", in, "out.png"} << "0x10";
    QTest::newRow("size of one number") << QStringList {"--size=500", in, "out.svg"} << "500";
    QTest::newRow("size beyond a window")
        << QStringList {"--size", "32768x10", in, "out.png"} << "32768x10";
    QTest::newRow("orientation given a value")
        << QStringList {"--landscape=yes", in, "out.ps"} << "--landscape";
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
    QTest::newRow("input is a named pipe")
        << QStringList {"pipe.rx", out} << "pipe.rx: not a regular file" << false;
    QTest::newRow("input links to a named pipe, found through .rx")
        << QStringList {"pipe-link", out} << "pipe-link.rx: not a regular file" << false;
    QTest::newRow("output links to a named pipe")
        << QStringList {in, "pipe-link.ps"} << "pipe-link.ps: not a regular file" << false;
    QTest::newRow("column beyond the file")
        << QStringList {"--columns", "1,4", "--delimited", "tab", "--invec", "0", threeCols, out}
        << threeCols << false;
    QTest::newRow("column zero") << QStringList {"--columns", "0,2", "--delimited", "tab",
        "--invec", "0", threeCols, out}
                                 << "0,2" << false;
    QTest::newRow("equal columns")
        << QStringList {"--columns", "2,2", "--delimited", "tab", "--invec", "0", threeCols, out}
        << "2,2" << false;
    QTest::newRow("column name not in the file")
        << QStringList {"--columns", "Year,Chemistry", "named-columns.csv", out}
        << "no column named \"Chemistry\"" << false;
    QTest::newRow("a layout option reads by the profile alone, naming the line")
        << QStringList {"--delimited", "comma", "--invec", "0", "named-columns.csv", out}
        << "named-columns.csv, line 1: column 1, \"Year\", is not a number" << false;
    QTest::newRow("append missing")
        << QStringList {in, "--append", "nosuch", out} << "nosuch" << false;
    QTest::newRow("append the reader refuses")
        << QStringList {in, "--append", "not-numbers.txt", out} << "not-numbers.txt" << false;
    QTest::newRow("newer format") << QStringList {"newer.rx", out} << newer << true;
    QTest::newRow("newer format by the .rx retry") << QStringList {"newer", out} << newer << true;
    QTest::newRow("newer format appended")
        << QStringList {in, "--append", "newer.rx", out} << newer << true;
    const QString badSize = QStringLiteral("Bad Plot Size");
    QTest::newRow("plot wider than the page")
        << QStringList {"too-wide.rx", "out.ps"} << badSize << true;
    QTest::newRow("plot wider than the page, EPS")
        << QStringList {"too-wide.rx", "out.eps"} << badSize << true;
    QTest::newRow("portrait page narrower than the plot")
        << QStringList {"--portrait", "wide-landscape.rx", "out.ps"} << badSize << true;
    QTest::newRow("printer refuses a negative plot size")
        << QStringList {"negative-size.rx", "out.pdf"} << "Internal Error" << true;
    for (const char *output : {"nodir/out.ps", "nodir/out.pdf", "nodir/out.png", "nodir/out.svg"})
        QTest::newRow(qPrintable(QStringLiteral("folder missing for %1").arg(output)))
            << QStringList {in, output} << output << false;
}

// Each case runs twice: without an OUTPUT, which must not appear, and with one, which must
// stay as it was.
void TestRxConvert::failure()
{
    QFETCH(QStringList, args);
    QFETCH(QString, named);
    QFETCH(bool, exact);
    const QByteArray older("an older plot\n");
    const QString existing = path("out." + QFileInfo(args.value(args.size() - 1)).suffix());

    for (const bool outputExists : {false, true}) {
        if (outputExists)
            QVERIFY(writeAll(existing, older));
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
        QCOMPARE(scratchLeft(), QStringList());
        if (outputExists)
            QCOMPARE(readAll(existing), older);
    }
    const QFileInfo pipe(path(QStringLiteral("pipe.rx")));
    QVERIFY(pipe.exists() && !pipe.isFile());
}

void TestRxConvert::columnFiles_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("reads");
    QTest::addColumn<int>("skipped");
    for (const RxColumnCase &c : rxColumnCases())
        QTest::newRow(c.name) << c.text << !c.points.isEmpty() << c.skipped;
}

// Converted as the program opens them: the same document, byte for byte, or a failure
// that names the file; rows left out are told in one line.
void TestRxConvert::columnFiles()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, reads);
    QFETCH(int, skipped);
    const QString in = path(QStringLiteral("in.txt"));
    QVERIFY(writeAll(in, text));
    const Run r = run({QStringLiteral("in.txt"), QStringLiteral("out.rx")});
    QCOMPARE(r.status, reads ? 0 : 1);
    if (!reads) {
        QVERIFY2(isOneLine(r.err) && r.err.contains("read failed: in.txt "), r.err.constData());
        QVERIFY(!QFile::exists(path(QStringLiteral("out.rx"))));
        return;
    }
    if (skipped > 0)
        QVERIFY2(isOneLine(r.err) && r.err.contains("in.txt: Left out "), r.err.constData());
    else
        QCOMPARE(r.err, QByteArray());

    QFile f(in);
    QVERIFY(f.open(QIODevice::ReadOnly));
    RxFile doc;
    const RxColumnLayout layout = doc.chooseLayout(&f);
    QCOMPARE(doc.read(&f, layout.xCol, layout.yCol, 0, layout), RxFile::ReadResult::Ok);
    QBuffer expected;
    expected.open(QIODevice::WriteOnly);
    QVERIFY(doc.write(expected));
    const QString difference
        = firstDifference(readAll(path(QStringLiteral("out.rx"))), expected.data());
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestRxConvert::failedWritesLeaveOutputAsItWas_data()
{
    QTest::addColumn<QString>("output");
    for (const char *output : {"out.rx", "out.ps", "out.eps", "out.pdf", "out.png", "out.svg"})
        QTest::newRow(output) << QString::fromLatin1(output);
}

// The disk fills up while the output is written: the run fails, and OUTPUT is as it was
// (absent, or the older file), with no part of the new one anywhere.
void TestRxConvert::failedWritesLeaveOutputAsItWas()
{
    QFETCH(QString, output);
    const QByteArray older("an older plot\n");
    for (const bool outputExists : {false, true}) {
        if (outputExists)
            QVERIFY(writeAll(path(output), older));
        const QStringList before = entries();
        const Run r = run({QStringLiteral("picture.rx"), output}, {}, 256);
        QCOMPARE(r.status, 1);
        QVERIFY2(isOneLine(r.err), r.err.constData());
        QCOMPARE(entries(), before);
        QCOMPARE(scratchLeft(), QStringList());
        if (outputExists)
            QCOMPARE(readAll(path(output)), older);
    }
}

void TestRxConvert::help()
{
    const Run r = run(
        {QStringLiteral("two-points.rx"), QStringLiteral("out.rx"), QStringLiteral("--help")});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.err, QByteArray());
    QVERIFY2(r.out.startsWith("Usage: ruxa-convert "), r.out.constData());
    for (const char *option : {"--columns", "--fixed", "--delimited", "semicolon", "--invec",
             "--datalen", "--append", "--autoscale", "--portrait", "--landscape", "--size",
             "--help", "--version", ".ps", ".eps", ".pdf", ".png", ".svg", "SOURCE_DATE_EPOCH"})
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
