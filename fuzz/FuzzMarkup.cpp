// The text markup at every angle, as PostScript and on a small image, with textLength and
// the escaping: the escaped text is printable ASCII that stays inside its string, and the
// PostScript of the text and of a character marker keeps every string on its line.
#include "fuzz/RxFuzz.h"
#include "render/RxDraw.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    rxFuzzGuiApplication();
    RxFuzzInput in(data, size);
    const int angle = 90 * in.intIn(0, 3);
    const float textSize = in.anyFloat();
    const int font = in.intIn(-1, RxDraw::numFonts);
    const int x = in.intIn(-20000, 20000);
    const int y = in.intIn(-20000, 20000);
    const int marker = in.byte();
    const QByteArray text = in.rest();

    const RxPlotDefs defs;
    const RxScale scale;
    {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        RxDraw draw;
        draw.setCreationTime(QDateTime::fromSecsSinceEpoch(0, Qt::UTC));
        RX_FUZZ_CHECK(draw.beginPostScript(&out, defs, scale) == 1);
        const QByteArray escaped = draw.escapeText(text);
        for (const char c : escaped)
            RX_FUZZ_CHECK(c >= 0x20 && c <= 0x7e);
        RX_FUZZ_CHECK(rxPostScriptStringsClosed("(" + escaped + ")\n"));
        RX_FUZZ_CHECK(draw.textLength(text, angle) >= 0);
        draw.setTextFont(font);
        draw.drawText(x, y, text, angle, textSize);
        draw.drawMarker(x, y, marker, textSize);
        draw.end();
        RX_FUZZ_CHECK(rxPostScriptStringsClosed(out.data()));
    }
    {
        QImage image(48, 32, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        RxDraw draw;
        RX_FUZZ_CHECK(draw.beginScreen(&painter, image.width(), image.height(), defs, scale) == 1);
        draw.setTextFont(font);
        draw.drawText(x % 100, y % 100, text, angle, textSize);
        draw.drawMarker(x % 100, y % 100, marker, textSize);
        draw.end();
    }
    return 0;
}
