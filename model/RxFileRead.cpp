// Reading a data file or a plain column file into the document.
#include "model/RxFile.h"

#include "model/RxLineReader.h"
#include "model/RxNumberText.h"
#include "model/RxReadSplit.h"
#include "model/RxReadState.h"
#include "model/RxRecord.h"

#include <QFile>
#include <QFileInfo>

#include <future>

void RxFile::swapContent(RxFile &other)
{
    m_revision.touch();
    other.m_revision.touch();
    std::swap(m_curves, other.m_curves);
    std::swap(m_scale, other.m_scale);
    std::swap(m_profile, other.m_profile);
    std::swap(m_comments, other.m_comments);
    std::swap(m_plotDefs, other.m_plotDefs);
    std::swap(m_name, other.m_name);
    std::swap(m_preamble, other.m_preamble);
}

RxFile::ReadResult RxFile::read(QFileDevice *f, int xCol, int yCol, int append)
{
    return read(f, xCol, yCol, append, chooseLayout(f));
}

RxFile::ReadResult RxFile::read(QFileDevice *f, int xCol, int yCol, int append,
    const RxColumnLayout &layout, ReadReport *report)
{
    if (report)
        *report = ReadReport();
    f->seek(0);
    ReadState s(*f, xCol, yCol, append != 0 && !m_curves.empty(), layout, report);
    // An open replaces the document, but a file of a newer format must leave it as it was,
    // so the old content waits aside until the read is decided.
    RxFile previous;
    if (!s.appending) {
        swapContent(previous);
        m_profile = previous.m_profile;
    }
    s.saved = m_profile;
    // Every read decides anew whether its file starts with a count line; an append restores
    // the document's profile afterwards.
    m_profile.setUseEof(0);
    if (!s.appending)
        s.saved = m_profile;
    s.firstAdded = numCurves();
    s.current = numCurves() - 1;
    s.preambleSize = m_preamble.size();

    const bool detected = layout.source == RxColumnLayout::Source::Detected;
    const ReadResult r = detected ? readDetected(s) : readContent(s);
    // A detected layout is for this read only: the profile is what the user set.
    if (s.appending || detected)
        m_profile = s.saved;
    if (r == ReadResult::Failed && layout.source == RxColumnLayout::Source::Unknown && report) {
        report->problem = layout.problem;
        report->failedLine = 0;
    }
    if (r != ReadResult::Ok) {
        if (r == ReadResult::NewerFormat && !s.appending) {
            swapContent(previous);
        } else if (s.appending) {
            // A failed append leaves the document as it was, preamble included.
            removeCurvesFrom(s.firstAdded);
            m_preamble.truncate(s.preambleSize);
        } else {
            clear();
        }
        return r;
    }
    for (auto &c : m_curves)
        c->squeeze();
    const QByteArray fileName = QFile::encodeName(QFileInfo(f->fileName()).fileName());
    m_name = s.appending ? m_name + '+' + fileName : fileName;
    m_plotDefs.setTitle(m_name);
    return ReadResult::Ok;
}

RxFile::ReadResult RxFile::readContent(ReadState &s)
{
    QByteArray line;
    if (s.in.atEnd()) {
        s.fail("is empty", 0);
        return ReadResult::Failed;
    }
    const ReadResult header = readHeaderPhase(s, line);
    if (header != ReadResult::Ok) {
        s.fail("holds no data rows after its comment lines", 0);
        return header;
    }
    const ReadResult data = readDataPhase(s, rxView(line));
    if (s.in.failed())
        s.fail("a line is longer than 1 MiB, or the file cannot be read", s.in.lineNumber() + 1);
    if (data != ReadResult::Ok)
        return data;
    // A file that gave no row is no plot, whatever its header said.
    if (s.rowsRead == 0 || s.in.failed()) {
        s.fail("holds no data rows", 0);
        return ReadResult::Failed;
    }
    if (s.appending)
        return ReadResult::Ok;
    if (s.in.atEnd()) {
        autoScale();
        return ReadResult::Ok;
    }
    if (!readScaleSection(s.in))
        return ReadResult::Failed;
    readCommentSection(s.in);
    return s.in.failed() ? ReadResult::Failed : ReadResult::Ok;
}

// Leaves in line the first line of the data phase.
RxFile::ReadResult RxFile::readHeaderPhase(ReadState &s, QByteArray &line)
{
    if (!s.in.next(line))
        return ReadResult::Failed;
    for (;;) {
        if (!rxIsCLine(rxView(line)))
            return ReadResult::Ok;
        if (rxContains(line, rxHeaderText)) {
            s.header = ReadState::Seen;
            const ReadResult r = readRecords(s, line);
            if (r != ReadResult::Failed)
                return r;
            s.header = ReadState::Failed;
            m_profile = s.saved;
            if (s.appending) {
                removeCurvesFrom(s.firstAdded);
            } else {
                // The file is read on as column data; the comment lines before its header
                // stay with it.
                const QByteArray preamble = m_preamble;
                clear();
                m_preamble = preamble;
            }
            // The line the records stopped at may already be a data row: keep it.
            if (!line.isEmpty() && !rxIsCLine(rxView(line)))
                return ReadResult::Ok;
        } else if (s.header == ReadState::NotSeen) {
            QByteArray kept = line;
            stripLineEnd(kept);
            m_preamble.append(kept).append('\n');
        }
        if (!s.in.next(line) || s.in.atEnd())
            return ReadResult::Failed;
    }
}

RxFile::ReadResult RxFile::readRecords(ReadState &s, QByteArray &line)
{
    float version = 0.0f;
    readFloatKey(rxHeaderText, line.constData(), &version);
    if (version > 1.0f)
        return ReadResult::NewerFormat;
    if (s.in.atEnd() || !s.in.next(line) || !m_profile.readFormat(s.in, line))
        return ReadResult::Failed;
    while (rxContains(line, "C curve: ")) {
        auto c = std::make_unique<RxCurve>();
        if (!c->readFormat(s.in, line))
            return ReadResult::Failed;
        appendCurve(std::move(c));
    }
    // An append takes only the rows and the curves' formats; the other records are skipped
    // as "C" lines below.
    if (!s.appending
        && (!m_scale.readFormat(s.in, line) || !m_comments.readFormat(s.in, line)
            || !m_plotDefs.readFormat(s.in, line)))
        return ReadResult::Failed;
    while (rxIsCLine(rxView(line))) {
        if (!s.in.next(line) || s.in.atEnd())
            return ReadResult::Failed;
    }
    return ReadResult::Ok;
}

namespace {

// The rows of the second part of a split read, up to the first line that is no row.
struct RowsPart
{
    RxPointRuns points;
    qint64 rows = 0;
    // Where the line that is no row starts, or the end of the data.
    qint64 stop = 0;
    // The part ended with the data, not at a line that is no row.
    bool atEnd = false;
};

} // namespace

RxFile::ReadResult RxFile::readDataPhase(ReadState &s, std::string_view first)
{
    const int count = detectCount(first);
    s.rowsExpected = count;
    if (m_profile.useEof() == 2) {
        if (count <= 0) {
            s.fail("the count line holds no number of rows above 0", s.in.lineNumber());
            return ReadResult::Failed;
        }
    } else if (!addRow(s, first)) {
        return ReadResult::Failed;
    }
    const auto readRows = [&] {
        std::string_view row;
        while (!s.in.atEnd() && s.rowsRead < s.rowsExpected) {
            if (!s.in.next(row) || !addRow(s, row))
                return false;
        }
        return true;
    };
    // With a count line the rows end where the count says, so a second part can be read
    // up to the first line that is no row, and taken when that is where the count ends.
    QFile second;
    qint64 secondStart = 0;
    std::future<RowsPart> secondPart;
    if (m_profile.useEof() == 2
        && rxOpenSecondPart(s.device, s.in.offset(), 0, second, &secondStart)) {
        // Reads rows only: the profile is not changed while the rows are read.
        const auto readSecondPart = [this, &second, xCol = s.xCol, yCol = s.yCol] {
            RowsPart part;
            RxLineReader in(second);
            std::string_view row;
            for (;;) {
                part.stop = in.offset();
                if (!in.next(row)) {
                    part.atEnd = !in.failed();
                    return part;
                }
                int type = 0;
                float x = 0.0f;
                float y = 0.0f;
                if (!parseRowChecked(row, &type, &x, &y, xCol, yCol, nullptr)
                    || type != static_cast<std::int8_t>(type))
                    return part;
                part.points.addPoint(static_cast<std::int8_t>(type), x, y);
                ++part.rows;
            }
        };
        secondPart = rxReadAside(readSecondPart);
        if (secondPart.valid())
            s.in.setEnd(secondStart);
    }
    if (!readRows())
        return ReadResult::Failed;
    if (!secondPart.valid())
        return ReadResult::Ok;
    // The first part may have ended at the count rather than at the second part.
    const bool atSecond = s.rowsRead < s.rowsExpected;
    s.in.setEnd(-1);
    if (atSecond) {
        RowsPart part = secondPart.get();
        const long long rows = s.rowsRead + part.rows;
        if (rows == s.rowsExpected || (rows < s.rowsExpected && part.atEnd)) {
            const qint64 lines = s.in.lineNumber() + part.rows;
            addRuns(s, part.points.runs(), false);
            s.in.restartAt(part.stop, lines);
            return ReadResult::Ok;
        }
        // Rows past the count, a row that does not read or a type out of the runs' range:
        // the second part is read again here, row by row, to tell which.
    }
    return readRows() ? ReadResult::Ok : ReadResult::Failed;
}

bool RxFile::addRow(ReadState &s, std::string_view row)
{
    int type = 0;
    float x = 0.0f;
    float y = 0.0f;
    QByteArray why;
    if (!parseRowChecked(row, &type, &x, &y, s.xCol, s.yCol, s.report ? &why : nullptr)) {
        s.fail(why.constData(), s.in.lineNumber());
        return false;
    }
    addReadPoint(s, type, x, y);
    return true;
}

// The points of a split read's second part, after those read so far; newCurve: the first
// part ended with a blank line. Each run is freed once added.
void RxFile::addRuns(ReadState &s, std::vector<RxPointRun> &runs, bool newCurve)
{
    for (RxPointRun &run : runs) {
        const float *xy = run.xy.data();
        const auto count = static_cast<int>(run.xy.size() / 2);
        if (run.types.empty()) {
            // The first point as every row is added, which may start a curve; the rest in
            // one go.
            addReadPoint(s, newCurve || run.afterBlank ? PointNewLine : PointLine, xy[0], xy[1]);
            s.curve->addLines(xy + 2, count - 1);
            s.rowsRead += count - 1;
        } else {
            for (int i = 0; i < count; ++i)
                addReadPoint(s, run.types[static_cast<std::size_t>(i)], xy[2 * i], xy[2 * i + 1]);
        }
        newCurve = false;
        run = RxPointRun();
    }
}

void RxFile::addReadPoint(ReadState &s, int type, float x, float y)
{
    // A "new line" point starts the next curve; curves made by the header's records are
    // filled in order. Non-finite values are kept as read: they are the user's data, and
    // the scale and the renderer pass them by.
    if (type == PointNewLine || s.rowsRead == 0 || !s.curve) {
        ++s.current;
        if (s.current == numCurves())
            appendCurve(std::make_unique<RxCurve>());
        s.curve = m_curves[static_cast<std::size_t>(s.current)].get();
    }
    s.curve->addPoint(type, x, y);
    ++s.rowsRead;
    if (m_profile.useEof() == 1)
        s.rowsExpected = s.rowsRead + 1;
}

bool RxFile::readScaleSection(RxLineReader &in)
{
    QByteArray line;
    for (int i = 0; i < 5; ++i) {
        if ((i > 0 && in.atEnd()) || !in.next(line))
            return false;
        switch (i) {
        case 0:
        case 1:
            readRange(line, i == 1);
            break;
        case 2:
        case 3:
            stripLineEnd(line);
            if (i == 2)
                m_scale.setXLabel(line);
            else
                m_scale.setYLabel(line);
            break;
        default: {
            // "%c" and the two steps: fixed-width numbers each limited to the field width,
            // delimited numbers around the delimiter.
            QByteArray format("%c");
            if (!m_profile.useDelim()) {
                const QByteArray w = QByteArray::number(m_profile.dataLen());
                format.append('%').append(w).append("g%").append(w).append('g');
            } else {
                format.append("%g");
                if (m_profile.delimChar() == '%')
                    format.append('%');
                format.append(m_profile.delimChar()).append("%g");
            }
            char mode = 0;
            float xStep = 0.0f;
            float yStep = 0.0f;
            const int n = rxScanC(line.constData(), format.constData(), &mode, &xStep, &yStep);
            if (n >= 1 && (mode == 't' || mode == 'T'))
                m_scale.setTickMode(1);
            else if (n >= 1 && (mode == 'g' || mode == 'G'))
                m_scale.setTickMode(2);
            if (n >= 3)
                m_scale.setYStep(yStep);
            if (n >= 2)
                m_scale.setXStep(xStep);
        }
        }
    }
    return true;
}

// A range line that does not hold its two numbers leaves that range as it was.
void RxFile::readRange(const QByteArray &line, bool yAxis)
{
    const std::string_view stripped = stripLineEnd(rxView(line));
    float low = 0.0f;
    float high = 0.0f;
    bool got = false;
    if (!m_profile.useDelim()) {
        int type = 0;
        got = parseFixed(rxView(line), &type, &low, &high, 1, 2, 0, false, nullptr) == 1;
    } else {
        QByteArray format("%g");
        if (m_profile.delimChar() == '%')
            format.append('%');
        format.append(m_profile.delimChar()).append("%g");
        const QByteArray text(stripped.data(), static_cast<qsizetype>(stripped.size()));
        got = rxScanC(text.constData(), format.constData(), &low, &high) == 2;
    }
    const bool log = !stripped.empty() && stripped.back() == 'L'
        && (m_profile.useDelim()
            || static_cast<long long>(stripped.size()) > 2LL * m_profile.dataLen());
    if (yAxis) {
        if (got)
            m_scale.setYRange(high, low);
        if (log)
            m_scale.setYLog(1);
    } else {
        if (got)
            m_scale.setXRange(high, low);
        if (log)
            m_scale.setXLog(1);
    }
}

// Comments made by the header's records keep their format and get their text and position
// here in order; further pairs make comments of the default format.
void RxFile::readCommentSection(RxLineReader &in)
{
    const int fromRecords = m_comments.numComments();
    QByteArray text;
    QByteArray position;
    for (int k = 0; !in.atEnd();) {
        if (!in.next(text) || in.atEnd() || !in.next(position))
            return;
        stripLineEnd(text);
        // An empty text of a comment that has a record keeps its place, so that the later
        // texts stay with their own formats.
        if (text.isEmpty() && k >= fromRecords)
            continue;
        float first = 0.0f;
        float second = 0.0f;
        const int n = rxScanC(position.constData(), "%f   %f", &first, &second);
        const float y = n >= 1 ? first : m_comments.y(k);
        const float x = n >= 2 ? second : m_comments.x(k);
        m_comments.setComment(k, text, x, y);
        ++k;
    }
}
