// The document reader on arbitrary bytes, as a data file or a column file: the column
// probe, an open and an append with columns taken from the input. A document that was read
// must write, read back and write again to the same bytes, and draw as PostScript whose
// strings all close on their lines. A failed append leaves the document as it was.
#include "fuzz/RxFuzz.h"
#include "model/RxFile.h"
#include "render/RxDraw.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <unistd.h>

namespace {

QString scratch(const char *tag)
{
    return QDir::temp().filePath(
        QStringLiteral("ruxa-fuzz-%1-%2.rx").arg(QLatin1String(tag)).arg(getpid()));
}

bool put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray written(RxFile doc)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    RX_FUZZ_CHECK(doc.write(out));
    return out.data();
}

RxFile::ReadResult readFile(RxFile &doc, const QString &path, int xCol, int yCol, int append)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return RxFile::ReadResult::Failed;
    const QByteArray before = written(doc);
    doc.checkNumCols(&f);
    // The probe looks, and neither moves the file nor touches the document.
    RX_FUZZ_CHECK(f.pos() == 0);
    RX_FUZZ_CHECK(written(doc) == before);
    return doc.read(&f, xCol, yCol, append);
}

void checkPostScript(const RxFile &doc)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    RxDraw draw;
    draw.setCreationTime(QDateTime::fromSecsSinceEpoch(0, Qt::UTC));
    if (!draw.beginPostScript(&out, doc.plotDefs(), doc.scale()))
        return; // a plot size the page cannot take: nothing is written
    doc.draw(draw);
    draw.end();
    RX_FUZZ_CHECK(rxPostScriptStringsClosed(out.data()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    RxFuzzInput in(data, size);
    const int xCol = in.intIn(1, 6);
    const int yCol = in.intIn(1, 6);
    static const QString input = scratch("in");
    static const QString again = scratch("again");
    if (!put(input, in.rest()))
        return 0;

    RxFile doc;
    if (readFile(doc, input, xCol, yCol, 0) == RxFile::ReadResult::Ok) {
        const QByteArray first = written(doc);
        RX_FUZZ_CHECK(put(again, first));
        RxFile back;
        RX_FUZZ_CHECK(readFile(back, again, 1, 2, 0) == RxFile::ReadResult::Ok);
        RX_FUZZ_CHECK(written(back) == first);
        checkPostScript(doc);
    }

    RxFile appended;
    appended.addDemoCurve();
    const QByteArray before = written(appended);
    if (readFile(appended, input, xCol, yCol, 1) != RxFile::ReadResult::Ok)
        RX_FUZZ_CHECK(written(appended) == before);
    return 0;
}
