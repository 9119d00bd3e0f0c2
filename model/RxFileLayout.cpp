// Choosing how a column file is read, and reading it in a detected layout.
#include "model/RxFile.h"

#include "model/RxLineReader.h"
#include "model/RxNumberText.h"
#include "model/RxReadSplit.h"
#include "model/RxReadState.h"
#include "model/RxRecord.h"

#include <QBuffer>
#include <QFile>

#include <algorithm>
#include <future>

namespace {

// The most the look-ahead reads.
constexpr qint64 lookAheadLimit = 4 * RxLineReader::maxLine;

// The look-ahead: the first 64 KiB, or more where the lines are so long (a header of
// 10^5 names) that fewer than a few of them fit, up to four of the longest lines a read
// takes. whole tells whether it holds the entire file.
QByteArray readHead(QFileDevice *f, bool *whole)
{
    constexpr qint64 first = qint64(1) << 16;
    f->seek(0);
    QByteArray head;
    qint64 want = first;
    *whole = false;
    while (!*whole) {
        const QByteArray more = f->read(want);
        head += more;
        *whole = more.size() < want;
        const qsizetype lines = head.count('\n') + head.count('\r');
        if (lines >= 8 || head.size() >= lookAheadLimit)
            break;
        want = std::min<qint64>(head.size(), lookAheadLimit - head.size());
    }
    f->seek(0);
    return head;
}

} // namespace

QString RxFile::ReadReport::skippedText() const
{
    if (skippedRows <= 0)
        return QString();
    if (skippedRows == 1)
        return QStringLiteral("Left out 1 row whose X or Y is not a number: line %1.")
            .arg(firstSkippedLine);
    return QStringLiteral("Left out %1 rows whose X or Y is not a number; the first is line %2.")
        .arg(skippedRows)
        .arg(firstSkippedLine);
}

int RxFile::checkNumCols(QFileDevice *f) const
{
    return chooseLayout(f).columns;
}

RxColumnLayout RxFile::chooseLayout(QFileDevice *f, bool detect) const
{
    f->seek(0);
    RxColumnLayout layout;
    bool dataFile = false;
    layout.columns = probeColumns(f, &dataFile);
    if (layout.columns == columnsNewerFormat) {
        layout.source = RxColumnLayout::Source::NewerFormat;
        return layout;
    }
    layout.source = RxColumnLayout::Source::Profile;
    layout.numericColumns = std::max(layout.columns, 0);
    if (dataFile || !detect)
        return layout;
    bool whole = false;
    const QByteArray head = readHead(f, &whole);
    if (profileReadsHead(head, whole))
        return layout;
    RxColumnLayout detected = RxColumnLayout::detect(head, whole);
    if (detected.source == RxColumnLayout::Source::Detected)
        return detected;
    // Neither reads the rows: the read goes on with the profile, which fails unless the
    // two columns it reads are whole where the others are not.
    layout.source = RxColumnLayout::Source::Unknown;
    layout.numericColumns = 0;
    layout.problem = detected.problem;
    return layout;
}

// The profile's rules on the look-ahead, as the read applies them: comment lines before
// the data, the count line, then every row up to the count, each wholly numbers in every
// column.
bool RxFile::profileReadsHead(const QByteArray &head, bool whole) const
{
    RxFile probe;
    probe.m_profile = m_profile;
    probe.m_profile.setUseEof(0);
    QBuffer buffer;
    buffer.setData(head);
    buffer.open(QIODevice::ReadOnly);
    RxLineReader in(buffer);
    std::string_view line;
    const auto nextLine = [&] {
        if (!in.next(line))
            return false;
        // A last line that the look-ahead cut off is the read's to judge.
        return whole || stripLineEnd(line).size() < line.size() || !in.atEnd();
    };
    do {
        if (!nextLine())
            return false;
    } while (rxIsCLine(line));
    const int count = probe.detectCount(line);
    long long rows = 0;
    if (probe.m_profile.useEof() == 2) {
        if (count <= 0)
            return false;
    } else if (!probe.rowIsWhole(line)) {
        return false;
    } else {
        ++rows;
    }
    while ((probe.m_profile.useEof() != 2 || rows < count) && nextLine()) {
        if (!probe.rowIsWhole(line))
            return false;
        ++rows;
    }
    return rows > 0 && !in.failed();
}

namespace {

// What a detected layout reads of a data row: the fields up to the last one wanted, and
// where X and Y stand among them.
struct RowColumns
{
    std::vector<std::string_view> fields;
    std::size_t need;
    std::size_t xAt;
    std::size_t yAt;
};

// What a line below the lines above the data is to a detected layout.
enum class DataLine {
    Blank, // starts a new curve
    Comment,
    Point, // a row where X and Y are numbers
    Missing, // a row where X or Y is missing
    Text, // a row where X or Y is other text
};

// The kind of the line text, and for a Point its X and Y in *x and *y. Inlined: both
// readers call it once a line, millions of times a file.
Q_ALWAYS_INLINE DataLine readDataLine(
    const RxColumnLayout &layout, std::string_view text, RowColumns &c, float *x, float *y)
{
    using Field = RxColumnLayout::Field;
    switch (RxColumnLayout::kindOf(text)) {
    case RxColumnLayout::LineKind::Blank:
        return DataLine::Blank;
    case RxColumnLayout::LineKind::Comment:
        return DataLine::Comment;
    case RxColumnLayout::LineKind::Row:
        break;
    }
    layout.split(text, c.fields, c.need);
    double vx = 0.0;
    double vy = 0.0;
    const Field fx = c.xAt < c.fields.size() ? layout.value(c.fields[c.xAt], &vx) : Field::Text;
    const Field fy = c.yAt < c.fields.size() ? layout.value(c.fields[c.yAt], &vy) : Field::Text;
    if (fx == Field::Number && fy == Field::Number) {
        *x = rxNarrow(vx);
        *y = rxNarrow(vy);
        return DataLine::Point;
    }
    return fx == Field::Text || fy == Field::Text ? DataLine::Text : DataLine::Missing;
}

// The rows of the second part of a split read, kept until the first part's rows are in the
// document.
struct PartRows
{
    RxPointRuns points;
    // Lines are counted from the part's start.
    qint64 lines = 0;
    long long skippedRows = 0;
    qint64 firstSkippedLine = 0;
    bool failed = false;
};

PartRows readPart(QIODevice &device, const RxColumnLayout &layout, RowColumns columns)
{
    PartRows part;
    RxLineReader in(device);
    std::string_view line;
    bool blank = false;
    while (in.next(line)) {
        float x = 0.0f;
        float y = 0.0f;
        switch (readDataLine(layout, stripLineEnd(line), columns, &x, &y)) {
        case DataLine::Blank:
            blank = true;
            break;
        case DataLine::Point:
            part.points.addLine(blank, x, y);
            blank = false;
            break;
        case DataLine::Text:
            if (part.skippedRows++ == 0)
                part.firstSkippedLine = in.lineNumber();
            break;
        case DataLine::Comment:
        case DataLine::Missing:
            break;
        }
    }
    part.failed = in.failed();
    part.lines = in.lineNumber();
    return part;
}

} // namespace

// Blank lines start a new curve; comments, and rows where X or Y is missing, are passed
// over; rows where X or Y is other text are passed over and counted. The lines above the
// data are no rows, but the "c" comment lines that open the file stay with the document.
RxFile::ReadResult RxFile::readDetected(ReadState &s)
{
    const RxColumnLayout &layout = *s.layout;
    if (s.xCol < 1 || s.yCol < 1)
        return ReadResult::Failed;
    const auto need = static_cast<std::size_t>(std::max(s.xCol, s.yCol));
    RowColumns columns {
        {}, need, static_cast<std::size_t>(s.xCol - 1), static_cast<std::size_t>(s.yCol - 1)};
    // A count line limits the rows, which only a reading from the start can count. The
    // second part starts past the look-ahead, so it never holds the lines above the data.
    QFile second;
    qint64 secondStart = 0;
    std::future<PartRows> secondPart;
    if (!layout.countLine && rxOpenSecondPart(s.device, 0, lookAheadLimit, second, &secondStart)) {
        secondPart = rxReadAside(
            [&second, &layout, columns] { return readPart(second, layout, columns); });
        if (secondPart.valid())
            s.in.setEnd(secondStart);
    }
    long long count = -1;
    long long rows = 0;
    bool newCurve = true;
    bool leading = true;
    std::string_view line;
    while (s.in.next(line)) {
        const std::string_view text = stripLineEnd(line);
        const qint64 number = s.in.lineNumber();
        if (number < layout.firstLine) {
            // As the data file's reader keeps them: the "c" lines that open the file.
            leading = leading && rxIsCLine(text);
            if (leading)
                m_preamble.append(text.data(), static_cast<qsizetype>(text.size())).append('\n');
            continue;
        }
        float x = 0.0f;
        float y = 0.0f;
        const DataLine kind = readDataLine(layout, text, columns, &x, &y);
        if (kind == DataLine::Blank) {
            newCurve = true;
            continue;
        }
        if (kind == DataLine::Comment)
            continue;
        if (layout.countLine && number == layout.firstLine) {
            count = rxCountValue(text);
            continue;
        }
        if (count >= 0 && rows >= count)
            break;
        ++rows;
        if (kind == DataLine::Point) {
            addReadPoint(s, newCurve ? PointNewLine : PointLine, x, y);
            newCurve = false;
        } else if (kind == DataLine::Text && s.report && s.report->skippedRows++ == 0) {
            s.report->firstSkippedLine = number;
        }
    }
    if (s.in.failed()) {
        s.fail("a line is longer than 1 MiB, or the file cannot be read", s.in.lineNumber() + 1);
        return ReadResult::Failed;
    }
    if (secondPart.valid()) {
        PartRows part = secondPart.get();
        const qint64 linesBefore = s.in.lineNumber();
        addRuns(s, part.points.runs(), newCurve);
        if (s.report && part.skippedRows > 0) {
            if (s.report->skippedRows == 0)
                s.report->firstSkippedLine = linesBefore + part.firstSkippedLine;
            s.report->skippedRows += part.skippedRows;
        }
        if (part.failed) {
            s.fail("a line is longer than 1 MiB, or the file cannot be read",
                linesBefore + part.lines + 1);
            return ReadResult::Failed;
        }
    }
    if (s.rowsRead == 0) {
        s.fail("holds no row with numbers in both of the columns for X and Y", 0);
        return ReadResult::Failed;
    }
    if (!s.appending) {
        autoScale();
        if (layout.names.size() >= static_cast<qsizetype>(need)) {
            m_scale.setXLabel(layout.names.at(s.xCol - 1));
            m_scale.setYLabel(layout.names.at(s.yCol - 1));
        }
    }
    return ReadResult::Ok;
}
