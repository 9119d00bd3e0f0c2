#include "model/RxColumnLayout.h"

#include "model/RxLineReader.h"
#include "model/RxNumberText.h"
#include "model/RxRecord.h"

#include <QBuffer>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string>

namespace {

bool isBlankChar(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && isBlankChar(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlankChar(s.back()))
        s.remove_suffix(1);
    return s;
}

bool equalsIgnoringCase(std::string_view a, const char *b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        if ((a[i] | 0x20) != (b[i] | 0x20))
            return false;
    }
    return i == a.size() && !b[i];
}

// The words that spreadsheets, statistics packages and instruments write for "no value".
bool isMissingWord(std::string_view s)
{
    if (s == "-" || s == "?" || s == "." || equalsIgnoringCase(s, "na")
        || equalsIgnoringCase(s, "n/a"))
        return true;
    if (s.front() == '-' || s.front() == '+')
        s.remove_prefix(1);
    return equalsIgnoringCase(s, "nan");
}

// The text of a quoted field starting at open (a quote), and the position after its
// closing quote; an unclosed quote runs to the end of the row.
std::string_view quoted(std::string_view text, std::size_t open, std::size_t *after)
{
    for (std::size_t i = open + 1;;) {
        const std::size_t q = text.find('"', i);
        if (q == std::string_view::npos) {
            *after = text.size();
            return text.substr(open + 1);
        }
        if (q + 1 < text.size() && text[q + 1] == '"') {
            i = q + 2;
            continue;
        }
        *after = q + 1;
        return text.substr(open + 1, q - open - 1);
    }
}

const char *findChar(const char *p, const char *end, char c)
{
    if (p >= end)
        return nullptr;
    return static_cast<const char *>(std::memchr(p, c, static_cast<std::size_t>(end - p)));
}

struct Line
{
    qint64 number;
    std::string text; // without its line end
    RxColumnLayout::LineKind kind;
};

std::vector<Line> headLines(const QByteArray &head, bool wholeFile)
{
    QBuffer buffer;
    buffer.setData(head);
    buffer.open(QIODevice::ReadOnly);
    RxLineReader in(buffer);
    std::vector<Line> lines;
    std::string_view line;
    while (in.next(line)) {
        const std::string_view text = stripLineEnd(line);
        // The head may stop inside a line; the read sees all of it.
        if (!wholeFile && text.size() == line.size() && buffer.atEnd() && in.atEnd())
            break;
        lines.push_back({in.lineNumber(), std::string(text), RxColumnLayout::kindOf(text)});
    }
    return lines;
}

struct RowStats
{
    int fields = 0;
    int numbers = 0;
    int texts = 0;
};

// One candidate layout tried on the head's rows.
struct Trial
{
    RxColumnLayout layout;
    bool valid = false;
    std::size_t start = 0; // index into the rows of the first data row
    long long goodRows = 0; // data rows with two numbers or more
    long long texts = 0; // text fields in them
};

RowStats statsOf(
    const RxColumnLayout &layout, std::string_view text, std::vector<std::string_view> &fields)
{
    layout.split(text, fields);
    RowStats s;
    s.fields = static_cast<int>(fields.size());
    double v = 0.0;
    for (std::string_view f : fields) {
        switch (layout.value(f, &v)) {
        case RxColumnLayout::Field::Number:
            ++s.numbers;
            break;
        case RxColumnLayout::Field::Text:
            ++s.texts;
            break;
        case RxColumnLayout::Field::Missing:
            break;
        }
    }
    return s;
}

bool endsWithDelimiter(std::string_view text, char delimiter)
{
    text = trimBlanks(text);
    return !text.empty() && text.back() == delimiter;
}

Trial tryLayout(char delimiter, bool decimalComma, const std::vector<const Line *> &rows)
{
    Trial t;
    t.layout.source = RxColumnLayout::Source::Detected;
    t.layout.delimiter = delimiter;
    t.layout.decimalComma = decimalComma;
    if (delimiter != ' ') {
        std::size_t ending = 0;
        for (const Line *l : rows)
            ending += endsWithDelimiter(l->text, delimiter) ? 1 : 0;
        t.layout.trailingDelimiter = 2 * ending > rows.size();
    }

    std::vector<std::string_view> fields;
    std::vector<RowStats> stats;
    stats.reserve(rows.size());
    // The data's field count: the commonest among rows of two numbers or more.
    std::map<int, long long> counts;
    for (const Line *l : rows) {
        stats.push_back(statsOf(t.layout, l->text, fields));
        if (stats.back().numbers >= 2)
            ++counts[stats.back().fields];
    }
    if (counts.empty())
        return t;
    int width = 0;
    long long best = 0;
    for (const auto &[w, n] : counts) {
        if (n >= best) {
            best = n;
            width = w;
        }
    }
    // Data rows hold no more text than the most numeric of them (a date or name column
    // is text in every row); a header line or an instrument's metadata holds more.
    int usualTexts = width;
    for (const RowStats &s : stats) {
        if (s.fields == width && s.numbers >= 2)
            usualTexts = std::min(usualTexts, s.texts);
    }
    t.start = rows.size();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const RowStats &s = stats[i];
        if (s.fields == width && s.numbers >= 1 && s.texts <= usualTexts) {
            t.start = i;
            break;
        }
    }
    std::vector<long long> numbers(static_cast<std::size_t>(width));
    std::vector<long long> texts(static_cast<std::size_t>(width));
    double v = 0.0;
    for (std::size_t i = t.start; i < rows.size(); ++i) {
        if (stats[i].numbers >= 2) {
            ++t.goodRows;
            t.texts += stats[i].texts;
        }
        t.layout.split(rows[i]->text, fields, static_cast<std::size_t>(width));
        for (std::size_t c = 0; c < fields.size(); ++c) {
            const RxColumnLayout::Field f = t.layout.value(fields[c], &v);
            numbers[c] += f == RxColumnLayout::Field::Number ? 1 : 0;
            texts[c] += f == RxColumnLayout::Field::Text ? 1 : 0;
        }
    }
    t.layout.columns = width;
    for (int c = 0; c < width; ++c) {
        const auto k = static_cast<std::size_t>(c);
        if (numbers[k] == 0 || numbers[k] <= texts[k])
            continue;
        if (++t.layout.numericColumns == 1)
            t.layout.xCol = c + 1;
        else if (t.layout.numericColumns == 2)
            t.layout.yCol = c + 1;
    }
    t.valid = t.layout.numericColumns >= 2;
    return t;
}

// A name as the document keeps its texts: Latin-1 where the file's UTF-8 allows, one
// line, of a length a plot title can show.
QByteArray columnName(std::string_view field)
{
    QByteArray name(field.data(), static_cast<qsizetype>(field.size()));
    name.replace("\"\"", "\"");
    for (char &c : name) {
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    }
    const QString text = QString::fromUtf8(name);
    bool latin1 = !text.contains(QChar::ReplacementCharacter);
    for (QChar c : text)
        latin1 = latin1 && c.unicode() < 0x100;
    if (latin1)
        name = text.toLatin1();
    return name.simplified().left(100);
}

// The header line: the nearest row above the data, when it holds one text for each column.
// Comment lines are passed over: "# x y" may name columns, but "# by hand" would too.
void findNames(RxColumnLayout &layout, const std::vector<Line> &lines, qint64 firstLine)
{
    auto it = std::find_if(lines.rbegin(), lines.rend(), [&](const Line &l) {
        return l.number < firstLine && l.kind == RxColumnLayout::LineKind::Row;
    });
    if (it == lines.rend())
        return;
    std::vector<std::string_view> fields;
    layout.split(it->text, fields);
    if (static_cast<int>(fields.size()) != layout.columns)
        return;
    double v = 0.0;
    for (std::string_view f : fields) {
        if (layout.value(f, &v) == RxColumnLayout::Field::Number)
            return;
    }
    for (std::string_view f : fields)
        layout.names.append(columnName(f));
}

// A count line, as plain column files have always had: the first row of the file (after
// "c" comment lines), one whole number above 0, right above the data.
bool isCountLine(
    const RxColumnLayout &layout, const std::vector<const Line *> &rows, std::size_t start)
{
    if (start == 0)
        return false;
    for (std::size_t i = 0; i + 1 < start; ++i) {
        if (!rxIsCLine(rows[i]->text))
            return false;
    }
    std::vector<std::string_view> fields;
    layout.split(rows[start - 1]->text, fields);
    int count = 0;
    return fields.size() == 1 && rxWholeInt(fields[0], 10, &count) && count > 0;
}

} // namespace

RxColumnLayout::LineKind RxColumnLayout::kindOf(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlankChar(text[i]))
        ++i;
    if (i == text.size())
        return LineKind::Blank;
    const char c = text[i];
    if (c == '#' || c == '%' || c == '!' || (c == '/' && i + 1 < text.size() && text[i + 1] == '/'))
        return LineKind::Comment;
    return LineKind::Row;
}

void RxColumnLayout::split(
    std::string_view text, std::vector<std::string_view> &fields, std::size_t maxFields) const
{
    fields.clear();
    const bool runs = delimiter == ' ';
    // Blanks around a field are no part of it; a tab is, where it is the delimiter.
    const auto isPad = [&](char c) { return c == ' ' || (c == '\t' && delimiter != '\t'); };
    while (!text.empty() && isPad(text.back()))
        text.remove_suffix(1);
    if (trailingDelimiter && !runs && !text.empty() && text.back() == delimiter)
        text.remove_suffix(1);
    const char *const begin = text.data();
    const char *const end = begin + text.size();
    const char *p = begin;
    // Millions of rows pass here: the delimiter is found with memchr, and the loops over
    // blanks run only where there are blanks.
    while (fields.size() < maxFields) {
        while (p < end && isPad(*p))
            ++p;
        if (runs && p == end)
            return;
        const char *next = nullptr;
        if (p < end && *p == '"') {
            std::size_t after = 0;
            fields.push_back(quoted(text, static_cast<std::size_t>(p - begin), &after));
            next = begin + after;
            if (runs) {
                // What stands between a closing quote and the next blank is passed over.
                while (next < end && !isPad(*next))
                    ++next;
            } else {
                next = findChar(next, end, delimiter);
            }
        } else if (runs) {
            next = p;
            while (next < end && *next != ' ' && *next != '\t')
                ++next;
            fields.emplace_back(p, static_cast<std::size_t>(next - p));
        } else {
            next = findChar(p, end, delimiter);
            const char *last = next ? next : end;
            while (last > p && isPad(last[-1]))
                --last;
            fields.emplace_back(p, static_cast<std::size_t>(last - p));
        }
        if (!next || next >= end)
            return;
        p = runs ? next : next + 1;
    }
}

RxColumnLayout::Field RxColumnLayout::value(std::string_view field, double *out) const
{
    // Numbers first: they are what millions of fields hold. "nan" is one to strtod, but
    // not to a spreadsheet.
    double v = 0.0;
    if (!decimalComma && rxWholeDouble(field, &v)) {
        if (std::isnan(v))
            return Field::Missing;
        *out = v;
        return Field::Number;
    }
    field = trimBlanks(field);
    if (field.empty() || isMissingWord(field))
        return Field::Missing;
    if (decimalComma) {
        const std::size_t comma = field.find(',');
        if (comma != std::string_view::npos) {
            char text[64];
            if (field.size() > sizeof text || field.find(',', comma + 1) != std::string_view::npos
                || field.find('.') != std::string_view::npos)
                return Field::Text;
            field.copy(text, field.size());
            text[comma] = '.';
            return rxWholeDouble(std::string_view(text, field.size()), out) ? Field::Number
                                                                            : Field::Text;
        }
        if (rxWholeDouble(field, out))
            return Field::Number;
    }
    return Field::Text;
}

RxColumnLayout RxColumnLayout::detect(const QByteArray &head, bool wholeFile)
{
    RxColumnLayout none;
    if (head.isEmpty()) {
        none.problem = "is empty";
        return none;
    }
    // Text files hold no NUL; UTF-16 and binary data do.
    if (head.contains('\0')) {
        none.problem = "is not a text file";
        return none;
    }
    const std::vector<Line> lines = headLines(head, wholeFile);
    std::vector<const Line *> rows;
    for (const Line &l : lines) {
        if (l.kind == LineKind::Row)
            rows.push_back(&l);
    }
    if (rows.empty()) {
        none.problem = "holds no rows";
        return none;
    }

    // In order of preference where two read the rows equally well: a tab or a semicolon
    // says more than a comma, which may be a decimal comma, and a blank says least. With
    // comma delimiters a decimal comma can only stand in quotes ("1,5"), as spreadsheets
    // of comma-decimal locales quote it.
    static const struct
    {
        char delimiter;
        bool decimalComma;
    } candidates[] = {{'\t', false}, {'\t', true}, {';', false}, {';', true}, {',', false},
        {',', true}, {' ', false}, {' ', true}};
    Trial best;
    for (const auto &c : candidates) {
        Trial t = tryLayout(c.delimiter, c.decimalComma, rows);
        if (t.valid
            && (!best.valid || t.goodRows > best.goodRows
                || (t.goodRows == best.goodRows && t.texts < best.texts)))
            best = std::move(t);
    }
    if (!best.valid) {
        none.problem = "holds no two columns of numbers";
        return none;
    }
    RxColumnLayout layout = std::move(best.layout);
    layout.firstLine = rows[best.start]->number;
    if (isCountLine(layout, rows, best.start)) {
        layout.countLine = true;
        layout.firstLine = rows[best.start - 1]->number;
    } else {
        findNames(layout, lines, layout.firstLine);
    }
    return layout;
}
