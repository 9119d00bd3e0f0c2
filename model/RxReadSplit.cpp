#include "model/RxReadSplit.h"

#include "model/RxLineReader.h"

#include <QFile>

#include <algorithm>

#include <sys/stat.h>

namespace {

// From this many bytes on, a second thread saves more than it costs.
constexpr qint64 splitFrom = qint64(8) << 20;

// The most points of a run: adding the runs to the document frees each as it goes, so that
// the points not yet added stay few. A full run's 8 MiB are also well above the size from
// which the C library takes memory from the system directly and gives it back when freed.
constexpr std::size_t runPoints = std::size_t(1) << 20;

// True when two handles are on the same file: a name can be given to another file
// between two opens.
bool sameFile(int a, int b)
{
    struct stat sa;
    struct stat sb;
    return fstat(a, &sa) == 0 && fstat(b, &sb) == 0 && sa.st_dev == sb.st_dev
        && sa.st_ino == sb.st_ino;
}

} // namespace

RxPointRun &RxPointRuns::runFor(bool afterBlank, bool typed)
{
    if (afterBlank || m_runs.empty() || m_runs.back().xy.size() == 2 * runPoints) {
        m_runs.push_back({afterBlank, {}, {}});
        // A curve after a blank line may be a few points; other runs go on until a piece
        // is full or the part ends, which is a few MiB of rows from where it starts.
        if (!afterBlank) {
            m_runs.back().xy.reserve(2 * runPoints);
            if (typed)
                m_runs.back().types.reserve(runPoints);
        }
    }
    return m_runs.back();
}

bool rxOpenSecondPart(
    QFileDevice &whole, qint64 dataStart, qint64 notBefore, QFile &part, qint64 *start)
{
    const qint64 size = whole.isSequential() ? 0 : whole.size();
    if (size - dataStart < splitFrom || whole.fileName().isEmpty())
        return false;
    part.setFileName(whole.fileName());
    if (!part.open(QIODevice::ReadOnly) || !sameFile(whole.handle(), part.handle()))
        return false;
    qint64 from = std::max(dataStart + (size - dataStart) / 2, notBefore);
    if (!part.seek(from))
        return false;
    // A line is at most maxLine long; one that goes on past that makes the read fail,
    // which the first part's reader then reports.
    const QByteArray ahead = part.read(RxLineReader::maxLine + 2);
    const qsizetype end = ahead.indexOf('\n');
    if (end < 0)
        return false;
    from += end + 1;
    if (from >= size || !part.seek(from))
        return false;
    *start = from;
    return true;
}
