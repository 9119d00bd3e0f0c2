// The screen paint of a large document into a 500x400 image (the read not counted), for
// 10^4 to 10^7 points, and the repaint of the plot window when nothing changed: medians of
// several runs, and the ratios to the targets (one 60 Hz frame for a paint of 10^6 points,
// ten for 10^7; 2 ms for a repaint).
//
//     build/bench/ruxa-bench-render [runs]
//     build/bench/ruxa-bench-render --write-data DIR    (the files bench/compare-gnuplot uses)
#include "app/RxWidget.h"
#include "bench/RxBenchData.h"
#include "render/RxDraw.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

constexpr double frame = 1.0 / 60.0;
constexpr double repaintTarget = 0.002;
const int sizes[] = {10000, 100000, 1000000, 10000000};

template <typename Paint> double medianSeconds(int runs, Paint paint)
{
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        const auto start = std::chrono::steady_clock::now();
        paint();
        times.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double paintSeconds(const RxFile &doc, int runs)
{
    QImage image(500, 400, QImage::Format_RGB32);
    return medianSeconds(runs, [&] {
        image.fill(Qt::white);
        QPainter painter(&image);
        RxDraw draw;
        draw.beginScreen(&painter, image.width(), image.height(), doc.plotDefs(), doc.scale());
        doc.draw(draw);
        draw.end();
    });
}

// The plot window's paint after its first, with nothing changed.
double repaintSeconds(const RxFile &doc, int runs)
{
    RxWidget widget;
    widget.resize(500, 400);
    widget.setFile(doc);
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    widget.render(&image);
    return medianSeconds(runs, [&] { widget.render(&image); });
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == "--write-data") {
        const QDir dir(args[2]);
        for (int n : sizes) {
            const RxFile doc = rxNoisySine(n);
            if (!rxWriteDataFile(doc, dir.filePath(QString("sine%1.rx").arg(n)))
                || !rxWriteColumnFile(doc, dir.filePath(QString("sine%1.txt").arg(n))))
                qFatal("cannot write into %s", qPrintable(dir.path()));
        }
        return 0;
    }
    const int runs = args.size() > 1 ? std::max(1, args[1].toInt()) : 9;
    std::printf(
        "%9s %10s %10s %11s %10s\n", "points", "paint s", "/target", "repaint s", "/target");
    double previous = 0.0;
    for (int n : sizes) {
        const RxFile doc = rxNoisySine(n);
        // Ten frames for ten times the points of a frame's worth.
        const double target = n > 1000000 ? 10 * frame : frame;
        const double t = paintSeconds(doc, n > 1000000 ? std::max(1, runs / 3) : runs);
        const double again = repaintSeconds(doc, runs);
        std::printf(
            "%9d %10.4f %10.2f %11.5f %10.2f", n, t, t / target, again, again / repaintTarget);
        if (previous > 0.0)
            std::printf("   x%.1f of the size before", t / previous);
        std::printf("\n");
        previous = t;
    }
    return 0;
}
