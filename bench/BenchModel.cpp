// Reading, writing and importing large documents: times (medians of several runs) and the
// peak memory of a process that holds a document, for 10^4, 10^5 and 10^6 points, as
// ratios to the targets.
//
//     build/bench/ruxa-bench-model [runs]
#include "bench/RxBenchData.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr double readTarget = 0.12;
constexpr double writeTarget = 0.15;
constexpr double importTarget = 0.12;
constexpr double memoryTarget = 3.0; // times the points' raw size of 12 bytes a point

template <typename F> double medianSeconds(int runs, F &&work)
{
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

bool readInto(RxFile &doc, const QString &path, bool columns)
{
    if (columns) {
        RxProfile p;
        p.setUseDelim(1);
        p.setInVecLen(0);
        doc.setProfile(p);
    }
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && doc.read(&f, 1, 2, 0) == RxFile::ReadResult::Ok;
}

long peakKiB()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Child mode: read one file and print the peak above the baseline, in bytes.
int hold(const QString &path, bool columns)
{
    const long before = peakKiB();
    RxFile doc;
    if (!readInto(doc, path, columns))
        return 1;
    std::printf("%ld %lld\n", (peakKiB() - before) * 1024, doc.totalPoints());
    return 0;
}

double memoryRatio(const QString &self, const QString &path, bool columns, int n)
{
    QProcess p;
    p.start(self, {columns ? "--hold-columns" : "--hold", path});
    p.waitForFinished(-1);
    const QList<QByteArray> out = p.readAllStandardOutput().trimmed().split(' ');
    if (p.exitCode() != 0 || out.value(1).toLongLong() != n)
        qFatal("the child could not read %s", qPrintable(path));
    return static_cast<double>(out.value(0).toLongLong()) / (12.0 * n);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1].startsWith("--hold"))
        return hold(args[2], args[1] == "--hold-columns");
    const int runs = args.size() > 1 ? std::max(1, args[1].toInt()) : 7;

    QTemporaryDir dir;
    std::printf("%9s %10s %10s %10s %10s %10s %10s %8s %8s\n", "points", "read s", "/target",
        "write s", "/target", "import s", "/target", "mem x", "/target");
    for (int n : {10000, 100000, 1000000}) {
        RxFile doc = rxNoisySine(n);
        const QString data = dir.filePath(QString("sine%1.rx").arg(n));
        const QString columns = dir.filePath(QString("sine%1.txt").arg(n));
        if (!rxWriteDataFile(doc, data) || !rxWriteColumnFile(doc, columns))
            qFatal("cannot write the data into %s", qPrintable(dir.path()));

        const double read = medianSeconds(runs, [&] {
            RxFile d;
            if (!readInto(d, data, false))
                qFatal("read failed");
        });
        RxFile loaded;
        readInto(loaded, data, false);
        const QString out = dir.filePath("out.rx");
        const double write = medianSeconds(runs, [&] {
            QFile f(out);
            if (!f.open(QIODevice::WriteOnly) || !loaded.save(&f))
                qFatal("write failed");
        });
        const double import = medianSeconds(runs, [&] {
            RxFile d;
            if (!readInto(d, columns, true))
                qFatal("import failed");
        });
        const double memory = std::max(
            memoryRatio(args[0], data, false, n), memoryRatio(args[0], columns, true, n));
        std::printf("%9d %10.4f %10.2f %10.4f %10.2f %10.4f %10.2f %8.2f %8.2f\n", n, read,
            read / readTarget, write, write / writeTarget, import, import / importTarget, memory,
            memory / memoryTarget);
    }
    return 0;
}
