// The record readers on arbitrary lines: the curve, scale, comment, plot settings and
// profile records and the key readers. Whatever a record holds, every value stored must be
// one the setters accept (an index inside its table, a finite size), and what was read
// must write and read back to the same record.
#include "fuzz/RxFuzz.h"
#include "model/RxComments.h"
#include "model/RxCurve.h"
#include "model/RxLineReader.h"
#include "model/RxPlotDefs.h"
#include "model/RxProfile.h"
#include "model/RxRecord.h"
#include "model/RxScale.h"

#include <QBuffer>

#include <cmath>

namespace {

// Reads one record of T from text, its head line first.
template <typename T> bool readRecord(T &record, const QByteArray &text)
{
    QBuffer device;
    device.setData(text);
    device.open(QIODevice::ReadOnly);
    RxLineReader in(device);
    QByteArray line;
    return in.next(line, RxLineReader::recordLine) && record.readFormat(in, line) == 1;
}

// What was read writes and reads back to the same record. The line after a record is
// read with it, and the file must go on after that one, so two follow.
template <typename T> void checkRoundTrip(const T &record, const QByteArray &head)
{
    QByteArray first;
    record.writeFormat(first);
    T back;
    RX_FUZZ_CHECK(readRecord(back, head + first + "0\n0\n"));
    QByteArray second;
    back.writeFormat(second);
    RX_FUZZ_CHECK(second == first);
}

void checkCurve(const RxCurve &c)
{
    RxCurve fresh;
    RX_FUZZ_CHECK(fresh.setPatternLength(c.patternLength()) == 1);
    RX_FUZZ_CHECK(fresh.setLineType(c.lineType()) == 1);
    RX_FUZZ_CHECK(fresh.setColor(c.color()) == 1);
    RX_FUZZ_CHECK(fresh.setLineWidth(c.lineWidth()) == 1);
}

void checkScale(const RxScale &s)
{
    RX_FUZZ_CHECK(s.xzero() == 0 || s.xzero() == 1);
    RX_FUZZ_CHECK(s.yzero() == 0 || s.yzero() == 1);
}

void checkPlotDefs(const RxPlotDefs &d)
{
    RxPlotDefs fresh;
    RX_FUZZ_CHECK(fresh.setRotatePlot(d.rotatePlot()) == 1);
    RX_FUZZ_CHECK(fresh.setEncapsulated(d.encapsulated()) == 1);
    RX_FUZZ_CHECK(fresh.setPsJoin(d.psJoin()) == 1);
    RX_FUZZ_CHECK(fresh.setSymbolSize(d.symbolSize()) == 1);
    RX_FUZZ_CHECK(fresh.setFontSize(d.fontSize()) == 1);
    RX_FUZZ_CHECK(fresh.setArrowSize(d.arrowSize()) == 1);
    RX_FUZZ_CHECK(fresh.setPlotAxes(d.plotAxes()) == 1);
    RX_FUZZ_CHECK(fresh.setPlotComments(d.plotComments()) == 1);
    RX_FUZZ_CHECK(fresh.setPlotCurves(d.plotCurves()) == 1);
    RX_FUZZ_CHECK(fresh.setAxesFont(d.axesFont()) == 1);
    RX_FUZZ_CHECK(fresh.setAxesColor(d.axesColor()) == 1);
    // Sizes the page check refuses are kept for it to refuse, but never non-finite ones.
    RX_FUZZ_CHECK(std::isfinite(d.xPlotSize()) && std::isfinite(d.yPlotSize()));
}

void checkComments(const RxComments &c)
{
    for (int k = 0; k < c.numComments(); ++k) {
        RxComments fresh;
        fresh.addComment("a", 0.0f, 0.0f, 0);
        RX_FUZZ_CHECK(fresh.setFont(0, c.font(k)) == 1);
        RX_FUZZ_CHECK(fresh.setFontSize(0, c.fontSize(k)) == 1);
        RX_FUZZ_CHECK(fresh.setColor(0, c.color(k)) == 1);
        RX_FUZZ_CHECK(c.locType(k) == 0 || c.locType(k) == 1);
    }
}

void checkProfile(const RxProfile &p)
{
    RxProfile fresh;
    RX_FUZZ_CHECK(fresh.setUseEof(p.useEof()) == 1);
    RX_FUZZ_CHECK(fresh.setUseDelim(p.useDelim()) == 1);
    RX_FUZZ_CHECK(fresh.setDelimChar(p.delimChar()) == 1);
    RX_FUZZ_CHECK(fresh.setDataLen(p.dataLen()) == 1);
    RX_FUZZ_CHECK(fresh.setInVecLen(p.inVecLen()) == 1);
}

template <typename T>
void fuzzRecord(const QByteArray &text, void (*check)(const T &), const QByteArray &head)
{
    T record;
    if (!readRecord(record, text))
        return;
    check(record);
    checkRoundTrip(record, head);
}

void fuzzKeys(const QByteArray &text)
{
    static const char *const keys[] = {"useeof", "usedelim", "delimchar", "datalen", "inveclen",
        "patternlength", "linetype", "color", "linewidth", "xzero", "yzero", "loctype", "font",
        "fontsize", "encapsulated", "rotateplot", "arrowsize", "xplotsize", "", "C"};
    const QList<QByteArray> lines = text.split('\n');
    for (const QByteArray &line : lines) {
        for (const char *key : keys) {
            int i = 0;
            float f = 0.0f;
            readIntKey(key, line.constData(), &i);
            readFloatKey(key, line.constData(), &f);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    RxFuzzInput in(data, size);
    const int which = in.byte() % 6;
    const QByteArray text = in.rest();
    switch (which) {
    case 0:
        fuzzRecord<RxCurve>(text, checkCurve, "C curve: 1\n");
        break;
    case 1:
        fuzzRecord<RxScale>(text, checkScale, "");
        break;
    case 2:
        fuzzRecord<RxComments>(text, checkComments, "");
        break;
    case 3:
        fuzzRecord<RxPlotDefs>(text, checkPlotDefs, "");
        break;
    case 4:
        fuzzRecord<RxProfile>(text, checkProfile, "");
        break;
    default:
        fuzzKeys(text);
        break;
    }
    return 0;
}
