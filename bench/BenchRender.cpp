// The screen paint of a large document into a 500x400 image (the read not counted), for
// 10^4, 10^5 and 10^6 points: medians of several runs, and the ratio to the 60 ms target.
//
//     build/bench/ruxa-bench-render [runs]
//     build/bench/ruxa-bench-render --write-data DIR    (the files bench/compare-gnuplot uses)
#include "bench/RxBenchData.h"
#include "render/RxDraw.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

constexpr double paintTarget = 0.060;
const int sizes[] = {10000, 100000, 1000000};
// The comparison with other programs goes one size further.
const int dataSizes[] = {10000, 100000, 1000000, 10000000};

double paintSeconds(const RxFile &doc, int runs)
{
    QImage image(500, 400, QImage::Format_RGB32);
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        image.fill(Qt::white);
        const auto start = std::chrono::steady_clock::now();
        QPainter painter(&image);
        RxDraw draw;
        draw.beginScreen(&painter, image.width(), image.height(), doc.plotDefs(), doc.scale());
        doc.draw(draw);
        draw.end();
        painter.end();
        times.push_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == "--write-data") {
        const QDir dir(args[2]);
        for (int n : dataSizes) {
            const RxFile doc = rxNoisySine(n);
            if (!rxWriteDataFile(doc, dir.filePath(QString("sine%1.rx").arg(n)))
                || !rxWriteColumnFile(doc, dir.filePath(QString("sine%1.txt").arg(n))))
                qFatal("cannot write into %s", qPrintable(dir.path()));
        }
        return 0;
    }
    const int runs = args.size() > 1 ? std::max(1, args[1].toInt()) : 9;
    std::printf("%9s %10s %10s\n", "points", "paint s", "/target");
    double previous = 0.0;
    for (int n : sizes) {
        const RxFile doc = rxNoisySine(n);
        const double t = paintSeconds(doc, runs);
        std::printf("%9d %10.4f %10.2f", n, t, t / paintTarget);
        if (previous > 0.0)
            std::printf("   x%.1f of the size before", t / previous);
        std::printf("\n");
        previous = t;
    }
    return 0;
}
