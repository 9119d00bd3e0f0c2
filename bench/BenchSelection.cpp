// Picking, cutting and pasting on a curve of 10^6 points, medians of several runs, and the
// ratio to the 50 ms that keeps them interactive:
//   nearestPoint - the point under a mouse press, after a screen paint of 500x400;
//   deletePoints - a cut's removal of the middle half of the curve (head stays, tail moves);
//   pastePoints  - the curve pasted into a document that holds it already;
//   window cut   - "Cut" of the middle half through the window: copy, clipboard text, removal;
//   Edit Data    - the dialog built and shown on the curve (target 1 s).
//
//     build/bench/ruxa-bench-selection [runs]
#include "app/EditCurveWin.h"
#include "app/RxStartup.h"
#include "app/RxWidget.h"
#include "app/RxWindow.h"
#include "bench/RxBenchData.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace {

constexpr int points = 1000000;

// Median seconds of runs calls of measured, each after an untimed prepare.
double median(int runs, const std::function<void()> &prepare, const std::function<void()> &measured)
{
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        measured();
        times.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void report(const char *what, double seconds, double target)
{
    std::printf("%-14s %10.4f %10.2f\n", what, seconds, seconds / target);
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    initWindows(1);
    const RxFile sine = rxNoisySine(points);
    std::printf("%d points\n%-14s %10s %10s\n", points, "", "s", "/target");

    QImage image(500, 400, QImage::Format_RGB32);
    QPainter painter(&image);
    RxDraw draw;
    draw.beginScreen(&painter, image.width(), image.height(), sine.plotDefs(), sine.scale());
    sine.draw(draw);
    draw.end();
    int curve = 0;
    int point = 0;
    int hits = 0;
    report("nearestPoint",
        median(
            runs, [] {}, [&] { hits += sine.nearestPoint(250, 200, draw, &curve, &point); }),
        0.050);

    RxWidget widget;
    const int first = points / 4;
    const int last = 3 * points / 4;
    report("deletePoints",
        median(
            runs, [&] { widget.setFile(sine); }, [&] { widget.deletePoints(0, first, last); }),
        0.050);
    const RxCurve whole = *sine.curve(0);
    report("pastePoints",
        median(
            runs, [&] { widget.setFile(sine); }, [&] { widget.pastePoints(whole, sine.scale()); }),
        0.050);

    RxWindow window;
    report("window cut",
        median(
            runs,
            [&] {
                window.setFile(sine);
                window.pointSelected(0, first);
                window.pointSelected(0, last);
            },
            [&] { window.cut(); }),
        0.050);

    RxFile doc = sine;
    report("Edit Data",
        median(
            std::min(runs, 3), [] {},
            [&] {
                EditCurveWin dialog(&doc);
                dialog.show();
                QApplication::processEvents();
            }),
        1.0);
    return hits == runs ? 0 : 1;
}
