#include "convert/RxConvertRender.h"

#include "convert/RxConvert.h"
#include "model/RxFile.h"
#include "model/RxSaveFile.h"
#include "render/RxDraw.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QTextStream>

// Every output goes through RxSaveFile, which writes a temporary file beside the target and
// renames it over the target only on commit: a failure anywhere leaves no partial file.

namespace {

constexpr int exitOk = 0;

int cannotWrite(QTextStream &err, const QString &path, const QString &reason)
{
    return rxConvertReport(
        err, rxConvertFailure, QStringLiteral("cannot write %1: %2").arg(path, reason));
}

// The page as "Print..." sends it to a Letter printer, as PDF in out. A PDF writer rather
// than a printer object: the same PDF engine, without the printing libraries, whose loading
// would slow every conversion.
int printPdf(const RxFile &doc, QIODevice *out, const QString &path, QTextStream &err)
{
    const RxPlotDefs defs = doc.plotDefs();
    QPdfWriter writer(out);
    // Device units of one point, as the printer geometry counts: fonts are sized in points
    // against the device's resolution and then scaled again by the painter's window, so at
    // any other resolution the text would grow or shrink against the plot. The PDF stays
    // vector output whatever the resolution.
    writer.setResolution(72);
    // The whole page, as a printer set to full-page paints it.
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter),
        defs.rotatePlot() == 1 ? QPageLayout::Portrait : QPageLayout::Landscape, QMarginsF()));
    writer.setCreator(QStringLiteral("Ruxa"));
    writer.setTitle(QString::fromLocal8Bit(doc.name()));

    QPainter painter;
    if (!painter.begin(&writer))
        return cannotWrite(err, path, QStringLiteral("the PDF writer did not start"));
    // Truncated as the window's print does: Letter comes out as 612 x 791 points.
    const QRectF mm = writer.pageLayout().fullRect(QPageLayout::Millimeter);
    const int width = static_cast<int>(mm.width() * (72.0 / 25.4));
    const int height = static_cast<int>(mm.height() * (72.0 / 25.4));
    painter.setWindow(0, 0, width, height);
    RxDraw draw;
    if (!draw.beginPrinter(&painter, width, height, defs, doc.scale())) {
        painter.end();
        return rxConvertSay(err, "Internal Error");
    }
    doc.draw(draw);
    draw.end();
    if (!painter.end())
        return cannotWrite(err, path, QStringLiteral("the PDF writer failed"));
    return exitOk;
}

// Fonts are sized in points; both pictures turn points into pixels at the usual screen
// density, so that the PNG and the SVG of one plot agree.
constexpr int pictureDpi = 96;

// Paints the document as a plot widget of that size paints it, on white.
int paintScreen(
    const RxFile &doc, QPaintDevice *device, QSize size, const QString &path, QTextStream &err)
{
    QPainter painter;
    if (!painter.begin(device))
        return cannotWrite(err, path, QStringLiteral("cannot paint the picture"));
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    RxDraw draw;
    if (!draw.beginScreen(&painter, size.width(), size.height(), doc.plotDefs(), doc.scale())) {
        painter.end();
        return rxConvertSay(err, "Internal Error");
    }
    doc.draw(draw);
    draw.end();
    painter.end();
    return exitOk;
}

// XML 1.0 allows no control character but tab, line feed and carriage return, and the SVG
// generator writes the title and the drawn texts as they are. In UTF-8 those characters
// are single bytes that are never part of another character, so they are replaced in the
// finished bytes, by blanks as in the PostScript title.
void makeXmlSafe(QByteArray &svg)
{
    for (char &c : svg) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
            c = ' ';
    }
}

} // namespace

int rxWritePostScript(const RxFile &doc, const QString &path, int encapsulated,
    const RxPictureOptions &opt, QTextStream &err)
{
    RxPlotDefs defs = doc.plotDefs();
    defs.setEncapsulated(encapsulated);
    const RxScale scale = doc.scale();
    // Checked before the file is opened, so that a refused size leaves no file at all.
    if (!RxDraw().beginPostScript(nullptr, defs, scale))
        return rxConvertSay(err, "Bad Plot Size");

    RxSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return cannotWrite(err, path, file.errorString());
    RxDraw draw;
    if (opt.creationTime.isValid())
        draw.setCreationTime(opt.creationTime);
    if (!draw.beginPostScript(&file, defs, scale))
        return rxConvertSay(err, "Bad Plot Size");
    doc.draw(draw);
    draw.end();
    if (draw.outputFailed() || !file.finish())
        return cannotWrite(err, path, file.errorString());
    return exitOk;
}

int rxWritePdf(const RxFile &doc, const QString &path, QTextStream &err)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    if (const int status = printPdf(doc, &pdf, path, err))
        return status;
    RxSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf.data()) != pdf.data().size()
        || !file.finish())
        return cannotWrite(err, path, file.errorString());
    return exitOk;
}

int rxWritePng(
    const RxFile &doc, const QString &path, const RxPictureOptions &opt, QTextStream &err)
{
    QImage image(opt.size, QImage::Format_RGB32);
    if (image.isNull())
        return rxConvertReport(err, rxConvertFailure,
            QStringLiteral("not enough memory for a %1x%2 picture")
                .arg(opt.size.width())
                .arg(opt.size.height()));
    image.setDotsPerMeterX(qRound(pictureDpi / 0.0254));
    image.setDotsPerMeterY(qRound(pictureDpi / 0.0254));
    if (const int status = paintScreen(doc, &image, opt.size, path, err))
        return status;
    // Encoded in memory first: the encoder would report a failed write on standard error
    // in its own words.
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    if (!image.save(&png, "PNG"))
        return cannotWrite(err, path, QStringLiteral("the picture could not be encoded"));
    RxSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(png.data()) != png.data().size()
        || !file.finish())
        return cannotWrite(err, path, file.errorString());
    return exitOk;
}

int rxWriteSvg(
    const RxFile &doc, const QString &path, const RxPictureOptions &opt, QTextStream &err)
{
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&bytes);
    svg.setSize(opt.size);
    svg.setViewBox(QRect(QPoint(0, 0), opt.size));
    svg.setResolution(pictureDpi);
    svg.setTitle(QString::fromLocal8Bit(doc.name()));
    if (const int status = paintScreen(doc, &svg, opt.size, path, err))
        return status;
    QByteArray &text = bytes.buffer();
    makeXmlSafe(text);
    RxSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.finish())
        return cannotWrite(err, path, file.errorString());
    return exitOk;
}
