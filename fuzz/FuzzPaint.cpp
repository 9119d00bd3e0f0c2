// The screen paint of a document read from the input, on an image of a size taken from the
// input, with a selection drawn over it as the plot window does, then the point nearest to a
// mouse position: a hit names a point that exists.
#include "fuzz/RxFuzz.h"
#include "model/RxFile.h"
#include "render/RxDraw.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    rxFuzzGuiApplication();
    RxFuzzInput in(data, size);
    const int width = in.intIn(1, 400);
    const int height = in.intIn(1, 300);
    const int selectedCurve = in.intIn(-1, 4);
    const int from = in.intIn(-3, 200);
    const int to = in.intIn(-1, 200);
    const int px = in.intIn(-10, 410);
    const int py = in.intIn(-10, 310);

    static const QString path
        = QDir::temp().filePath(QStringLiteral("ruxa-fuzz-paint-%1.rx").arg(getpid()));
    QFile f(path);
    const QByteArray bytes = in.rest();
    if (!f.open(QIODevice::ReadWrite | QIODevice::Truncate) || f.write(bytes) != bytes.size()
        || !f.seek(0))
        return 0;
    RxFile doc;
    doc.checkNumCols(&f);
    if (doc.read(&f, 1, 2, 0) != RxFile::ReadResult::Ok)
        return 0;

    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    RxDraw draw;
    if (!draw.beginScreen(&painter, width, height, doc.plotDefs(), doc.scale()))
        return 0;
    doc.draw(draw);
    doc.drawCurve(draw, selectedCurve, from, to, 1);
    draw.end();
    painter.end();

    int curve = -1;
    int point = -1;
    if (doc.nearestPoint(px, py, draw, &curve, &point) == 1) {
        RX_FUZZ_CHECK(curve >= 0 && curve < doc.numCurves());
        RX_FUZZ_CHECK(point >= 0 && point < doc.curve(curve)->numPoints());
    }
    return 0;
}
