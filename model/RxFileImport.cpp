// Column import: the row layout rules of the document's profile, and the column probe.
#include "model/RxFile.h"

#include "model/RxLineReader.h"
#include "model/RxNumberText.h"
#include "model/RxRecord.h"

#include <QFileDevice>

#include <algorithm>

namespace {

// Trailing delimiters go; a line that still ends with its newline keeps them, as rows have
// always been read.
std::string_view dropTrailingDelims(std::string_view line, char delim)
{
    while (!line.empty() && line.back() == delim)
        line.remove_suffix(1);
    return line;
}

// After a delimiter, blanks do not start the next field: a run of blanks is one separator.
std::size_t skipBlanks(std::string_view line, std::size_t pos)
{
    while (pos < line.size() && line[pos] == ' ')
        ++pos;
    return pos;
}

// A field of a fixed-width row, cut off where the line ends.
std::string_view fixedField(std::string_view line, long long start, long long width)
{
    if (start < 0 || start >= static_cast<long long>(line.size()))
        return std::string_view();
    return line.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(width));
}

int countColumnsIn(const RxProfile &p, std::string_view line, int typeWidth)
{
    if (!p.useDelim()) {
        // (length - typeWidth) / datalen + 0.5, truncated toward zero, in integers: the
        // newline counts, and the half lets a last field lack a few characters.
        const long long twice = 2 * (static_cast<long long>(line.size()) - typeWidth);
        return static_cast<int>((twice + p.dataLen()) / (2LL * p.dataLen()));
    }
    const char delim = p.delimChar();
    line = dropTrailingDelims(line, delim);
    int count = 1;
    for (std::size_t pos = line.find(delim); pos != std::string_view::npos;
         pos = line.find(delim, skipBlanks(line, pos + 1)))
        ++count;
    return p.inVecLen() > 0 ? count - 1 : count;
}

// Whether countColumnsIn counts column (1 or more) in line. A fixed-width row is measured
// without the count's division, which would be a fair part of reading a row.
bool holdsColumn(const RxProfile &p, std::string_view line, int typeWidth, int column)
{
    if (p.useDelim())
        return countColumnsIn(p, line, typeWidth) >= column;
    // (twice + datalen) / (2 datalen) >= column, multiplied out.
    const long long twice = 2 * (static_cast<long long>(line.size()) - typeWidth);
    return twice + p.dataLen() >= 2LL * p.dataLen() * column;
}

// A count line of the probe, tested on the line as read.
bool looksLikeCount(const RxProfile &p, std::string_view line)
{
    if (!p.useDelim())
        return static_cast<long long>(line.size()) < 2LL * p.dataLen();
    return line.find(p.delimChar()) == std::string_view::npos;
}

} // namespace

int RxFile::countColumns(std::string_view line) const
{
    return countColumnsIn(m_profile, line, m_profile.inVecLen());
}

int RxFile::detectCount(std::string_view line)
{
    switch (m_profile.useEof()) {
    case 0:
        if (!m_profile.useDelim()) {
            if (static_cast<long long>(line.size()) >= 2LL * m_profile.dataLen()) {
                m_profile.setUseEof(1);
                return 0;
            }
        } else {
            const std::size_t first = skipBlanks(line, 0);
            line = dropTrailingDelims(line.substr(first), m_profile.delimChar());
            if (line.find(m_profile.delimChar()) != std::string_view::npos) {
                m_profile.setUseEof(1);
                return 0;
            }
        }
        m_profile.setUseEof(2);
        return rxCountValue(line);
    case 2:
        return rxCountValue(line);
    default:
        return 0;
    }
}

namespace {

// A field's text in a report: short, and one line whatever the file holds.
QByteArray shown(std::string_view field)
{
    constexpr std::size_t most = 40;
    field = stripLineEnd(field);
    QByteArray text(field.data(), static_cast<qsizetype>(std::min(field.size(), most)));
    for (char &c : text) {
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    }
    return '"' + text + (field.size() > most ? "...\"" : "\"");
}

void notANumber(QByteArray *why, int column, std::string_view field)
{
    if (why)
        *why = "column " + QByteArray::number(column) + ", " + shown(field) + ", is not a number";
}

// A data row's value: wholly a number, or an empty first field of a blank-delimited row,
// which the layout has always read as 0.
bool wholeValue(std::string_view field, bool blankDelimited, float *out)
{
    if (blankDelimited && field.empty()) {
        *out = 0.0f;
        return true;
    }
    double v = 0.0;
    if (!rxWholeDouble(field, &v))
        return false;
    *out = rxNarrow(v);
    return true;
}

} // namespace

int RxFile::parseRow(std::string_view line, int *type, float *x, float *y, int xCol, int yCol) const
{
    return parseRowChecked(line, type, x, y, xCol, yCol, nullptr);
}

int RxFile::parseRowChecked(
    std::string_view line, int *type, float *x, float *y, int xCol, int yCol, QByteArray *why) const
{
    if (!m_profile.useDelim())
        return parseFixed(line, type, x, y, xCol, yCol, m_profile.inVecLen(), true, why);

    const char delim = m_profile.delimChar();
    const bool blank = delim == ' ';
    line = dropTrailingDelims(line, delim);
    std::size_t pos = 0;
    int t = 1;
    if (m_profile.inVecLen() > 0) {
        const std::size_t end = line.find(delim);
        if (end == std::string_view::npos) {
            if (why)
                *why = "the row holds no delimiter after its point type";
            return 0;
        }
        const std::string_view field = line.substr(0, end);
        if (blank && field.empty())
            t = 0;
        else if (!rxWholeInt(field, 10, &t)) {
            if (why)
                *why = "the point type " + shown(field) + " is not a whole number";
            return 0;
        }
        pos = skipBlanks(line, end + 1);
    }
    bool haveX = false;
    bool haveY = false;
    float vx = 0.0f;
    float vy = 0.0f;
    for (int c = 1;; ++c) {
        const std::size_t end = line.find(delim, pos);
        const bool last = end == std::string_view::npos;
        if (last && !(haveX != haveY && (c == xCol || c == yCol))) {
            if (why)
                *why = "the row has no column " + QByteArray::number(std::max(xCol, yCol));
            return 0;
        }
        if (c == xCol || c == yCol) {
            // The whole field is converted: a number is never cut short, however long.
            const std::string_view field = line.substr(pos, last ? line.npos : end - pos);
            float v = 0.0f;
            if (!wholeValue(field, blank, &v)) {
                notANumber(why, c, field);
                return 0;
            }
            if (c == xCol) {
                vx = v;
                haveX = true;
            }
            if (c == yCol) {
                vy = v;
                haveY = true;
            }
        }
        if (haveX && haveY) {
            *type = t;
            *x = vx;
            *y = vy;
            return 1;
        }
        if (last)
            return 0;
        pos = skipBlanks(line, end + 1);
    }
}

int RxFile::parseFixedRow(
    std::string_view line, int *type, float *x, float *y, int xCol, int yCol, int typeWidth) const
{
    return parseFixed(line, type, x, y, xCol, yCol, typeWidth, true, nullptr);
}

int RxFile::parseFixed(std::string_view line, int *type, float *x, float *y, int xCol, int yCol,
    int typeWidth, bool strict, QByteArray *why) const
{
    // The column count uses the type width actually in force: the scale section's two
    // numbers have no type field whatever the profile's inveclen.
    if (xCol < 1 || yCol < 1 || !holdsColumn(m_profile, line, typeWidth, std::max(xCol, yCol))) {
        if (why)
            *why = "the row has no column " + QByteArray::number(std::max(xCol, yCol));
        return 0;
    }
    int t = 1;
    if (typeWidth >= 1) {
        const std::string_view field = fixedField(line, 0, typeWidth);
        const bool read = strict ? rxWholeInt(field, 0, &t) : rxScanInt(field, &t);
        // A blank type field gives a plain line point, as rows without a type field do.
        if (!read && (!strict || stripLineEnd(field).find_first_not_of(' ') == field.npos)) {
            t = 1;
        } else if (!read) {
            if (why)
                *why = "the point type " + shown(field) + " is not a whole number";
            return 0;
        }
    }
    // A field that holds no number fails the row rather than inventing a value.
    const long long width = m_profile.dataLen();
    const std::string_view xField = fixedField(line, (xCol - 1) * width + typeWidth, width);
    const std::string_view yField = fixedField(line, (yCol - 1) * width + typeWidth, width);
    float vx = 0.0f;
    float vy = 0.0f;
    if (!(strict ? rxWholeFloat(xField, &vx) : rxScanFloat(xField, &vx))) {
        notANumber(why, xCol, xField);
        return 0;
    }
    if (!(strict ? rxWholeFloat(yField, &vy) : rxScanFloat(yField, &vy))) {
        notANumber(why, yCol, yField);
        return 0;
    }
    *type = t;
    *x = vx;
    *y = vy;
    return 1;
}

bool RxFile::rowIsWhole(std::string_view line) const
{
    const int n = countColumns(line);
    if (n < 2)
        return false;
    int type = 0;
    float x = 0.0f;
    float y = 0.0f;
    if (!m_profile.useDelim()) {
        for (int c = 1; c <= n; c += 2) {
            if (!parseFixedRow(line, &type, &x, &y, c, std::min(c + 1, n), m_profile.inVecLen()))
                return false;
        }
        return true;
    }
    // Field by field: pairs through parseRow would search each row from its start again.
    if (!parseRow(line, &type, &x, &y, 1, 2))
        return false;
    const char delim = m_profile.delimChar();
    line = dropTrailingDelims(line, delim);
    std::size_t pos = 0;
    if (m_profile.inVecLen() > 0)
        pos = skipBlanks(line, line.find(delim) + 1);
    for (;;) {
        const std::size_t end = line.find(delim, pos);
        const std::string_view field
            = line.substr(pos, end == std::string_view::npos ? line.npos : end - pos);
        if (!wholeValue(field, delim == ' ', &x))
            return false;
        if (end == std::string_view::npos)
            return true;
        pos = skipBlanks(line, end + 1);
    }
}

int RxFile::probeColumns(QFileDevice *f, bool *dataFile) const
{
    // The probe must predict the read, which always starts out not knowing how rows are
    // counted; and it must not leave the file's profile behind in the document.
    RxProfile probe = m_profile;
    probe.setUseEof(0);
    RxLineReader in(*f);
    const auto result = [f](int r) {
        f->seek(0);
        return r;
    };
    if (in.atEnd())
        return result(columnsUnknown);

    QByteArray line;
    bool header = false;
    while (!header && in.next(line) && rxIsCLine(rxView(line))) {
        if (!rxContains(line, rxHeaderText))
            continue;
        float version = 0.0f;
        readFloatKey(rxHeaderText, line.constData(), &version);
        if (version > 1.0f)
            return result(columnsNewerFormat);
        *dataFile = true;
        if (in.atEnd() || !in.next(line) || !probe.readFormat(in, line))
            return result(columnsUnknown);
        header = true;
    }
    while (rxIsCLine(rxView(line))) {
        if (in.atEnd() || !in.next(line))
            return result(columnsUnknown);
    }
    if (line.isEmpty() && in.atEnd())
        return result(columnsUnknown);

    bool countLine = probe.useEof() == 2;
    if (probe.useEof() == 0)
        countLine = looksLikeCount(probe, rxView(line));
    if (countLine && (in.atEnd() || !in.next(line)))
        return result(columnsUnknown);
    if (in.failed())
        return result(columnsUnknown);
    return result(countColumnsIn(probe, rxView(line), probe.inVecLen()));
}
