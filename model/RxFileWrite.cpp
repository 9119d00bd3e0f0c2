// Writing the document as a data file.
#include "model/RxFile.h"

#include "model/RxFatal.h"
#include "model/RxNumberText.h"
#include "model/RxRecord.h"

#include <QFile>
#include <QFileDevice>
#include <QFileInfo>

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

// Rows are gathered in chunks of about this size, so that writing millions of points
// neither holds the whole file in memory nor calls the device per row.
constexpr qsizetype chunkSize = qsizetype(1) << 20;

char tickChar(int mode)
{
    return mode == 1 ? 't' : mode == 2 ? 'g' : 'n';
}

} // namespace

bool RxFile::write(QIODevice &out)
{
    QByteArray buf;
    bool ok = true;
    const auto flush = [&] {
        ok = ok && out.write(buf) == buf.size();
        buf.resize(0);
    };
    rxGuardMemory("out of memory in RxFile::write\n", [&] { buf.reserve(chunkSize + 4096); });

    if (!m_preamble.isEmpty()) {
        buf.append(m_preamble);
        if (!m_preamble.endsWith('\n'))
            buf.append('\n');
    }
    buf.append(rxHeaderText);
    rxAppendG(buf, 1.0);
    buf.append('\n');
    // The document's own files always announce their row count.
    m_profile.setUseEof(2);
    m_profile.writeFormat(buf);
    for (int i = 0; i < numCurves(); ++i) {
        if (curve(i)->numPoints() < 1)
            continue;
        buf.append("C curve: ");
        rxAppendInt(buf, i + 1);
        buf.append('\n');
        curve(i)->writeFormat(buf);
    }
    m_scale.writeFormat(buf);
    m_comments.writeFormat(buf);
    m_plotDefs.writeFormat(buf);
    buf.append(QByteArray::number(totalPoints())).append('\n');

    const int inveclen = m_profile.inVecLen();
    const int datalen = m_profile.dataLen();
    const int usedelim = m_profile.useDelim();
    const char delim = m_profile.delimChar();
    for (const auto &c : m_curves) {
        for (int i = 0; i < c->numPoints(); ++i) {
            c->formatRow(buf, i, inveclen, datalen, usedelim, delim);
            if (buf.size() >= chunkSize)
                flush();
        }
    }

    const auto pair = [&](float a, float b) {
        if (usedelim) {
            rxAppendG(buf, a);
            buf.append(delim);
            rxAppendG(buf, b);
        } else {
            rxAppendFixed(buf, a, datalen);
            rxAppendFixed(buf, b, datalen);
        }
    };
    // A range narrower than the field shows would read back with equal ends, which the
    // scale refuses: it is written wider by a unit of its last digit or more on each side,
    // so that it still holds the original and the plot keeps its data in view.
    const auto range = [&](float a, float b) {
        QByteArray ta;
        QByteArray tb;
        usedelim ? rxAppendG(ta, a) : rxAppendFixed(ta, a, datalen);
        usedelim ? rxAppendG(tb, b) : rxAppendFixed(tb, b, datalen);
        if (ta == tb && a != b) {
            const int shown = usedelim ? 6 : datalen - 6;
            const double step = std::max(std::fabs(a), std::fabs(b)) * std::pow(10.0, 1 - shown);
            const double outward = b > a ? step : -step;
            a = rxNarrow(std::max(-double(FLT_MAX), std::min(double(FLT_MAX), a - outward)));
            b = rxNarrow(std::max(-double(FLT_MAX), std::min(double(FLT_MAX), b + outward)));
        }
        pair(a, b);
    };
    range(m_scale.xmin(), m_scale.xmax());
    buf.append(m_scale.xLog() ? "L\n" : "\n");
    range(m_scale.ymin(), m_scale.ymax());
    buf.append(m_scale.yLog() ? "L\n" : "\n");
    buf.append(m_scale.xLabel()).append('\n');
    buf.append(m_scale.yLabel()).append('\n');
    buf.append(tickChar(m_scale.tickMode()));
    pair(m_scale.xStep(), m_scale.yStep());
    buf.append('\n');
    m_comments.writeText(buf);
    flush();
    return ok;
}

int RxFile::save(QFileDevice *f)
{
    if (totalPoints() < 1)
        return 0;
    if (!write(*f) || !f->flush() || f->error() != QFileDevice::NoError)
        return 0;
    m_revision.touch();
    m_name = QFile::encodeName(QFileInfo(f->fileName()).fileName());
    return 1;
}
