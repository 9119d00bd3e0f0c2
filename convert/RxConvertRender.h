#pragma once

#include <QDateTime>
#include <QSize>

class QString;
class QTextStream;
class RxFile;

// What the command line says about the outputs drawn through the renderer.
struct RxPictureOptions
{
    // .png and .svg: the plot widget's size in pixels.
    QSize size {500, 400};
    // .ps and .eps; invalid: dated with the time of writing.
    QDateTime creationTime;
};

// The writers of the drawn outputs. Each writes path whole or not at all: it returns 0, or
// 1 after one line on err, leaving an existing file as it was and making no new one.

// What "Save As PostScript..." writes, with the encapsulated flag forced to 0 or 1. A plot
// size the PostScript page refuses fails with "Bad Plot Size".
int rxWritePostScript(const RxFile &doc, const QString &path, int encapsulated,
    const RxPictureOptions &opt, QTextStream &err);
// The page "Print..." sends to a Letter printer, in the document's orientation. A plot the
// printer geometry refuses fails with "Internal Error".
int rxWritePdf(const RxFile &doc, const QString &path, QTextStream &err);
// What a plot widget of opt.size pixels shows, on white.
int rxWritePng(
    const RxFile &doc, const QString &path, const RxPictureOptions &opt, QTextStream &err);
int rxWriteSvg(
    const RxFile &doc, const QString &path, const RxPictureOptions &opt, QTextStream &err);
