// Reading, writing and importing large documents: times (medians of several runs) and the
// peak memory of a process that holds a document, for 10^4, 10^5 and 10^6 points, as
// ratios to the targets. Then a CSV with a header line read by layout detection, against
// the same rows without the header read with a comma-delimited profile.
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

constexpr double detectTarget = 1.2; // times the explicit profile's read

enum class Layout { DataFile, Tab, Comma, Detected };

bool readInto(RxFile &doc, const QString &path, Layout layout)
{
    if (layout == Layout::Tab || layout == Layout::Comma) {
        RxProfile p;
        p.setUseDelim(1);
        p.setDelimChar(layout == Layout::Tab ? '\t' : ',');
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
int hold(const QString &path, Layout layout)
{
    const long before = peakKiB();
    RxFile doc;
    if (!readInto(doc, path, layout))
        return 1;
    std::printf("%ld %lld\n", (peakKiB() - before) * 1024, doc.totalPoints());
    return 0;
}

double memoryRatio(const QString &self, const QString &path, Layout layout, int n)
{
    static const char *const modes[]
        = {"--hold", "--hold-columns", "--hold-comma", "--hold-detected"};
    QProcess p;
    p.start(self, {modes[static_cast<int>(layout)], path});
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
    if (args.size() == 3 && args[1].startsWith("--hold")) {
        const Layout layout = args[1] == "--hold-columns" ? Layout::Tab
            : args[1] == "--hold-comma"                   ? Layout::Comma
            : args[1] == "--hold-detected"                ? Layout::Detected
                                                          : Layout::DataFile;
        return hold(args[2], layout);
    }
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
            if (!readInto(d, data, Layout::DataFile))
                qFatal("read failed");
        });
        RxFile loaded;
        readInto(loaded, data, Layout::DataFile);
        const QString out = dir.filePath("out.rx");
        const double write = medianSeconds(runs, [&] {
            QFile f(out);
            if (!f.open(QIODevice::WriteOnly) || !loaded.save(&f))
                qFatal("write failed");
        });
        const double import = medianSeconds(runs, [&] {
            RxFile d;
            if (!readInto(d, columns, Layout::Tab))
                qFatal("import failed");
        });
        const double memory = std::max(memoryRatio(args[0], data, Layout::DataFile, n),
            memoryRatio(args[0], columns, Layout::Tab, n));
        std::printf("%9d %10.4f %10.2f %10.4f %10.2f %10.4f %10.2f %8.2f %8.2f\n", n, read,
            read / readTarget, write, write / writeTarget, import, import / importTarget, memory,
            memory / memoryTarget);
    }

    std::printf("\n%9s %12s %12s %10s %8s %8s\n", "CSV rows", "detected s", "profile s", "/target",
        "mem x", "/target");
    for (int n : {10000, 100000, 1000000}) {
        const RxFile doc = rxNoisySine(n);
        const QString headed = dir.filePath(QString("sine%1.csv").arg(n));
        const QString plain = dir.filePath(QString("plain%1.csv").arg(n));
        if (!rxWriteColumnFile(doc, headed, ',', "time,signal\n")
            || !rxWriteColumnFile(doc, plain, ','))
            qFatal("cannot write the data into %s", qPrintable(dir.path()));
        // Paired: each run reads both, so that a busy moment slows both alike.
        std::vector<double> ratios;
        double detected = 0.0;
        double profile = 0.0;
        for (int r = 0; r < runs; ++r) {
            const double d = medianSeconds(1, [&] {
                RxFile got;
                if (!readInto(got, headed, Layout::Detected) || got.totalPoints() != n)
                    qFatal("detected read failed");
            });
            const double p = medianSeconds(1, [&] {
                RxFile got;
                if (!readInto(got, plain, Layout::Comma) || got.totalPoints() != n)
                    qFatal("profile read failed");
            });
            ratios.push_back(d / p);
            detected += d / runs;
            profile += p / runs;
        }
        std::sort(ratios.begin(), ratios.end());
        const double ratio = ratios[ratios.size() / 2];
        const double memory = memoryRatio(args[0], headed, Layout::Detected, n);
        std::printf("%9d %12.4f %12.4f %10.2f %8.2f %8.2f\n", n, detected, profile,
            ratio / detectTarget, memory, memory / memoryTarget);
    }
    return 0;
}
