#include "convert/RxConvert.h"

#include "convert/RxConvertRender.h"
#include "model/RxFile.h"
#include "model/RxInputFile.h"
#include "model/RxProfile.h"
#include "model/RxSaveFile.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QTextStream>

// The build passes the project's version; a build without it still names one.
#ifndef RUXA_VERSION
#define RUXA_VERSION "1.0"
#endif

namespace {

constexpr int exitOk = 0;
constexpr int exitFailure = rxConvertFailure;
constexpr int exitUsage = 2;

const char *const programName = "ruxa-convert";

int report(QTextStream &err, int status, const QString &message)
{
    return rxConvertReport(err, status, message);
}

int usageError(QTextStream &err, const QString &message)
{
    return report(err, exitUsage, message + QStringLiteral(" (see ruxa-convert --help)"));
}

int newerFormat(QTextStream &err)
{
    return rxConvertSay(err, "File format is newer than code, please upgrade");
}

enum class Writer { DataFile, PostScript, Encapsulated, Pdf, Png, Svg };

// What OUTPUT's ending selects.
struct OutputKind
{
    const char *ending;
    Writer writer;
    // The output carries a creation date, which SOURCE_DATE_EPOCH pins.
    bool dated;
};

const OutputKind outputKinds[] = {
    {".rx", Writer::DataFile, false},
    {".ps", Writer::PostScript, true},
    {".eps", Writer::Encapsulated, true},
    {".pdf", Writer::Pdf, false},
    {".png", Writer::Png, false},
    {".svg", Writer::Svg, false},
};

const OutputKind *outputKindFor(const QString &path)
{
    for (const OutputKind &kind : outputKinds) {
        if (path.endsWith(QLatin1String(kind.ending), Qt::CaseInsensitive))
            return &kind;
    }
    return nullptr;
}

QString outputEndings()
{
    QStringList endings;
    for (const OutputKind &kind : outputKinds)
        endings << QLatin1String(kind.ending);
    return endings.join(QStringLiteral(", "));
}

struct Options
{
    // The document starts from the default profile, so the options change that one.
    RxProfile profile;
    // A layout option was given: the profile alone reads the files, no layout is detected.
    bool profileOnly = false;
    // --columns, each a column number or a name from the file's header line; empty when
    // not given.
    QString xColumn;
    QString yColumn;
    QStringList appends;
    bool autoScale = false;
    // -1 keeps the document's orientation; else its rotateplot: 1 portrait, 0 landscape.
    int rotatePlot = -1;
    RxPictureOptions picture;
    QString input;
    QString output;
};

enum class Action { Convert, Help, Version, Usage };

bool parseWhole(const QString &text, int *value)
{
    static const QRegularExpression whole(QStringLiteral("^-?[0-9]+$"));
    if (!whole.match(text).hasMatch())
        return false;
    bool ok = false;
    *value = text.toInt(&ok, 10);
    return ok;
}

// A column given as digits is a number (and must fit an int); anything else names one.
bool isColumnNumber(const QString &text, int *number)
{
    static const QRegularExpression digits(QStringLiteral("^-?[0-9]+$"));
    if (!digits.match(text).hasMatch())
        return false;
    bool ok = false;
    *number = text.toInt(&ok, 10);
    if (!ok || *number < 0)
        *number = -1;
    return true;
}

bool parseColumns(const QString &text, Options &opt)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 2)
        return false;
    for (const QString &part : parts) {
        int n = 0;
        if (part.isEmpty() || (isColumnNumber(part, &n) && n < 0))
            return false;
    }
    opt.xColumn = parts.at(0);
    opt.yColumn = parts.at(1);
    return true;
}

// The plot widget's own limit, so that a picture is one a window could show.
constexpr int maxPictureSide = 32767;

bool parseSize(const QString &text, QSize *size)
{
    static const QRegularExpression pair(
        QStringLiteral("^([0-9]+)x([0-9]+)$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = pair.match(text);
    if (!m.hasMatch())
        return false;
    bool wOk = false;
    bool hOk = false;
    const int w = m.captured(1).toInt(&wOk, 10);
    const int h = m.captured(2).toInt(&hOk, 10);
    if (!wOk || !hOk || w < 1 || h < 1 || w > maxPictureSide || h > maxPictureSide)
        return false;
    *size = QSize(w, h);
    return true;
}

bool parseDelimiter(const QString &text, RxProfile &profile)
{
    char delim = 0;
    if (text == QLatin1String("tab"))
        delim = '\t';
    else if (text == QLatin1String("space"))
        delim = ' ';
    else if (text == QLatin1String("comma"))
        delim = ',';
    else if (text == QLatin1String("semicolon"))
        delim = ';';
    else
        return false;
    return profile.setUseDelim(1) && profile.setDelimChar(delim);
}

// Applies one option that takes a value. An empty result means it was accepted; else the
// text of the usage error. The ranges are the profile setters' own.
QString applyValue(const QString &name, const QString &value, Options &opt)
{
    int n = 0;
    if (name == QLatin1String("--columns")) {
        if (!parseColumns(value, opt))
            return QStringLiteral("--columns wants X,Y, two column numbers or names such as 1,3 "
                                  "or Year,Biology, not \"%1\"")
                .arg(value);
    } else if (name == QLatin1String("--delimited")) {
        opt.profileOnly = true;
        if (!parseDelimiter(value, opt.profile))
            return QStringLiteral("--delimited wants tab, space, comma or semicolon, not \"%1\"")
                .arg(value);
    } else if (name == QLatin1String("--invec")) {
        opt.profileOnly = true;
        if (!parseWhole(value, &n) || !opt.profile.setInVecLen(n))
            return QStringLiteral("--invec wants a whole number from 0 to 9, not \"%1\"")
                .arg(value);
    } else if (name == QLatin1String("--datalen")) {
        opt.profileOnly = true;
        if (!parseWhole(value, &n) || !opt.profile.setDataLen(n))
            return QStringLiteral("--datalen wants a whole number from 8 to 99, not \"%1\"")
                .arg(value);
    } else if (name == QLatin1String("--size")) {
        if (!parseSize(value, &opt.picture.size))
            return QStringLiteral("--size wants WxH, two whole numbers from 1 to %1 such as "
                                  "500x400, not \"%2\"")
                .arg(maxPictureSide)
                .arg(value);
    } else {
        opt.appends << value;
    }
    return QString();
}

bool takesValue(const QString &name)
{
    return name == QLatin1String("--columns") || name == QLatin1String("--delimited")
        || name == QLatin1String("--invec") || name == QLatin1String("--datalen")
        || name == QLatin1String("--append") || name == QLatin1String("--size");
}

bool isFlag(const QString &name)
{
    return name == QLatin1String("--fixed") || name == QLatin1String("--autoscale")
        || name == QLatin1String("--portrait") || name == QLatin1String("--landscape")
        || name == QLatin1String("--help") || name == QLatin1String("--version");
}

// Options may come anywhere among the operands, as "--name value" or "--name=value". A
// later option overrides an earlier one of the same field; --append adds to a list.
Action parseArgs(const QStringList &args, Options &opt, QString *error)
{
    QStringList operands;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (!arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            operands << arg;
            continue;
        }
        QString name = arg;
        QString value;
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        const bool inlineValue = arg.startsWith(QLatin1String("--")) && eq > 2;
        if (inlineValue) {
            name = arg.left(eq);
            value = arg.mid(eq + 1);
        }
        if (isFlag(name)) {
            if (inlineValue) {
                *error = QStringLiteral("%1 takes no value").arg(name);
                return Action::Usage;
            }
            if (name == QLatin1String("--help"))
                return Action::Help;
            if (name == QLatin1String("--version"))
                return Action::Version;
            if (name == QLatin1String("--fixed")) {
                opt.profile.setUseDelim(0);
                opt.profileOnly = true;
            } else if (name == QLatin1String("--portrait"))
                opt.rotatePlot = 1;
            else if (name == QLatin1String("--landscape"))
                opt.rotatePlot = 0;
            else
                opt.autoScale = true;
        } else if (takesValue(name)) {
            if (!inlineValue) {
                if (i + 1 >= args.size()) {
                    *error = QStringLiteral("%1 needs a value").arg(name);
                    return Action::Usage;
                }
                value = args.at(++i);
            }
            *error = applyValue(name, value, opt);
            if (!error->isEmpty())
                return Action::Usage;
        } else {
            *error = QStringLiteral("unknown option %1").arg(arg);
            return Action::Usage;
        }
    }

    if (operands.size() < 2) {
        *error = QStringLiteral("expected INPUT and OUTPUT");
        return Action::Usage;
    }
    if (operands.size() > 2) {
        *error = QStringLiteral("unexpected operand %1 after INPUT and OUTPUT").arg(operands.at(2));
        return Action::Usage;
    }
    opt.input = operands.at(0);
    opt.output = operands.at(1);
    if (!outputKindFor(opt.output)) {
        *error = QStringLiteral("cannot write %1: OUTPUT must end in %2")
                     .arg(opt.output, outputEndings());
        return Action::Usage;
    }
    return Action::Convert;
}

void printUsage(QTextStream &out)
{
    out << "Usage: ruxa-convert [OPTIONS] INPUT OUTPUT\n"
           "Reads INPUT, a data file or a plain numeric column file (or INPUT.rx when INPUT\n"
           "does not exist), and writes the plot to OUTPUT, whose ending selects the kind:\n"
        << "  " << outputEndings() << "\n"
        << "\n"
           "Reading: a data file by its own profile. A column file by the column profile when\n"
           "its first rows read wholly as numbers with it, else in the layout found in its\n"
           "first 64 KiB: fields split at tabs, semicolons, commas or runs of blanks, quoted\n"
           "fields, decimal commas, lines of text above the data (a header line names the\n"
           "columns and the axes), comment lines (#, %, !, //) skipped, blank lines starting\n"
           "new curves, and X and Y the first two columns of numbers. Rows with a missing\n"
           "value (empty, NA, nan, -, ?) are left out; rows with other text are left out and\n"
           "reported on standard error. A layout option reads by the profile alone, and a\n"
           "row that does not read fails the run with its line number.\n"
           "\n"
           "Options, applied in this order: the column profile, the read, the appends, the\n"
           "scaling.\n"
           "  --columns X,Y     X and Y columns of a file with three or more columns, as\n"
           "                    numbers from 1 or as names from its header line (default:\n"
           "                    the first two columns of numbers)\n"
           "  --fixed           fixed-width fields\n"
           "  --delimited D     fields separated by D: tab, space, comma or semicolon\n"
           "  --invec N         point-type field: its width in fixed-width rows; in delimited\n"
           "                    rows the first field is the point type when N > 0 (0 to 9)\n"
           "  --datalen N       width of a fixed-width field (8 to 99)\n"
           "  --append FILE     add the curves of FILE; may be repeated, applied in order\n"
           "  --autoscale       fit the axis ranges to the points before writing\n"
           "  --portrait        upright plot on a portrait page (.ps, .eps, .pdf; kept in .rx)\n"
           "  --landscape       plot along the long side of the page\n"
           "  --size WxH        width and height of .png and .svg in pixels (default 500x400)\n"
           "  --help            show this help and exit\n"
           "  --version         show the version and exit\n"
           "\n"
           "A .ps or .eps is what \"Save As PostScript...\" writes, a .pdf the page \"Print...\"\n"
           "sends to a Letter printer, a .png or .svg what a plot window of that size shows.\n"
           "When SOURCE_DATE_EPOCH holds whole seconds since 1970-01-01 UTC, .ps and .eps are\n"
           "dated with that time, so that equal input gives equal files; any other value is\n"
           "a usage error.\n"
           "\n"
           "Exit status: 0 success, 1 failure (\"Bad Plot Size\" when the page cannot hold the\n"
           "plot size of a .ps or .eps), 2 usage error.\n";
}

// Opens name read-only as start-up does: when no such file exists, name with ".rx" appended
// is tried. Only a regular file is read.
int openInput(const QString &name, QFile &file, QTextStream &err)
{
    QString path = name;
    if (!QFile::exists(path)) {
        path = name + QStringLiteral(".rx");
        if (!QFile::exists(path))
            return report(
                err, exitFailure, QStringLiteral("File not found: %1 (nor %2)").arg(name, path));
    }
    // A named pipe or a device would keep the run waiting for input that may never come.
    QString reason;
    if (rxOpenInputFile(file, path, &reason) != RxInputOpen::Opened)
        return report(err, exitFailure, QStringLiteral("cannot open %1: %2").arg(path, reason));
    return exitOk;
}

// The 1-based column that text names in layout: a number, or a name of its header line
// (as written, else ignoring case). 0 when the header has no such name.
int resolveColumn(const QString &text, const RxColumnLayout &layout)
{
    int n = 0;
    if (isColumnNumber(text, &n))
        return n;
    for (Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        for (qsizetype i = 0; i < layout.names.size(); ++i) {
            if (QString::fromLatin1(layout.names.at(i)).compare(text, cs) == 0)
                return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

// The columns --columns asks for, checked against the file; a status other than 0 after
// the report.
int chooseColumns(const Options &opt, const RxColumnLayout &layout, const QString &path, int *xCol,
    int *yCol, QTextStream &err)
{
    const int x = resolveColumn(opt.xColumn, layout);
    const int y = resolveColumn(opt.yColumn, layout);
    for (const auto &[column, text] : {std::pair(x, opt.xColumn), std::pair(y, opt.yColumn)}) {
        if (column == 0)
            return report(err, exitFailure,
                QStringLiteral("--columns %1,%2: %3 has no column named \"%4\"")
                    .arg(opt.xColumn, opt.yColumn, path, text));
    }
    if (x > layout.columns || y > layout.columns)
        return report(err, exitFailure,
            QStringLiteral("--columns %1,%2: %3 has columns 1 to %4")
                .arg(opt.xColumn, opt.yColumn, path)
                .arg(layout.columns));
    // The column dialog refuses this choice too.
    if (x == y)
        return report(err, exitFailure,
            QStringLiteral("--columns %1,%2: X and Y must be different columns")
                .arg(opt.xColumn, opt.yColumn));
    *xCol = x;
    *yCol = y;
    return exitOk;
}

// Reads one file into doc as "Open..." (append 0) and "Append..." (append 1) do: the layout
// chosen once, then the columns: --columns for a file of three or more columns, else those
// of the layout. Rows left out are reported on err; the run goes on.
int readInto(RxFile &doc, const QString &name, const Options &opt, int append, QTextStream &err)
{
    QFile file;
    if (const int status = openInput(name, file, err))
        return status;
    const QString path = file.fileName();

    const RxColumnLayout layout = doc.chooseLayout(&file, !opt.profileOnly);
    if (layout.source == RxColumnLayout::Source::NewerFormat)
        return newerFormat(err);
    int xCol = layout.xCol;
    int yCol = layout.yCol;
    if (layout.columns >= 3 && !opt.xColumn.isEmpty()) {
        if (const int status = chooseColumns(opt, layout, path, &xCol, &yCol, err))
            return status;
    }

    RxFile::ReadReport result;
    switch (doc.read(&file, xCol, yCol, append, layout, &result)) {
    case RxFile::ReadResult::Ok:
        if (result.skippedRows > 0)
            report(err, exitOk, path + QStringLiteral(": ") + result.skippedText());
        return exitOk;
    case RxFile::ReadResult::NewerFormat:
        return newerFormat(err);
    case RxFile::ReadResult::Failed:
        break;
    }
    const QString problem = QString::fromLatin1(result.problem);
    if (result.failedLine > 0)
        return report(err, exitFailure,
            QStringLiteral("read failed: %1, line %2: %3")
                .arg(path)
                .arg(result.failedLine)
                .arg(problem));
    return report(err, exitFailure,
        QStringLiteral("read failed: %1 %2")
            .arg(path, problem.isEmpty() ? QStringLiteral("cannot be read") : problem));
}

// Written byte for byte as "Save..." writes it. RxSaveFile keeps the old file until commit,
// so a failure leaves no partial file and an existing one as it was.
int writeDataFile(RxFile &doc, const QString &path, QTextStream &err)
{
    // save() refuses such a document as well; telling it apart from a write error gives
    // the user the real reason.
    if (doc.totalPoints() < 1)
        return report(
            err, exitFailure, QStringLiteral("no points to save; %1 not written").arg(path));
    RxSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !doc.save(&file) || !file.finish())
        return report(
            err, exitFailure, QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    return exitOk;
}

int write(RxFile &doc, const Options &opt, QTextStream &err)
{
    const QString &path = opt.output;
    switch (outputKindFor(path)->writer) {
    case Writer::DataFile:
        return writeDataFile(doc, path, err);
    case Writer::PostScript:
        return rxWritePostScript(doc, path, 0, opt.picture, err);
    case Writer::Encapsulated:
        return rxWritePostScript(doc, path, 1, opt.picture, err);
    case Writer::Pdf:
        return rxWritePdf(doc, path, err);
    case Writer::Png:
        return rxWritePng(doc, path, opt.picture, err);
    case Writer::Svg:
        return rxWriteSvg(doc, path, opt.picture, err);
    }
    return exitFailure;
}

// SOURCE_DATE_EPOCH, the reproducible-builds convention: whole seconds since 1970-01-01 UTC.
// Unset or empty, it leaves time invalid. Any other value that is not such a number is
// refused rather than ignored: a build that asked for reproducible output would otherwise
// quietly get a different file each run.
bool readSourceDateEpoch(QDateTime *time, QString *error)
{
    const QByteArray value = qgetenv("SOURCE_DATE_EPOCH");
    if (value.isEmpty())
        return true;
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    bool ok = false;
    const qint64 seconds
        = digits.match(QString::fromLatin1(value)).hasMatch() ? value.toLongLong(&ok, 10) : 0;
    const QDateTime t = ok ? QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC) : QDateTime();
    if (!t.isValid()) {
        *error = QStringLiteral("SOURCE_DATE_EPOCH wants whole seconds since 1970-01-01 UTC, "
                                "not \"%1\"")
                     .arg(QString::fromLocal8Bit(value));
        return false;
    }
    *time = t;
    return true;
}

int convert(const Options &opt, QTextStream &err)
{
    RxFile doc;
    doc.setProfile(opt.profile);
    if (const int status = readInto(doc, opt.input, opt, 0, err))
        return status;
    for (const QString &name : opt.appends) {
        if (const int status = readInto(doc, name, opt, 1, err))
            return status;
    }
    if (opt.autoScale)
        doc.autoScale();
    if (opt.rotatePlot >= 0) {
        RxPlotDefs defs = doc.plotDefs();
        defs.setRotatePlot(opt.rotatePlot);
        doc.setPlotDefs(defs);
    }
    return write(doc, opt, err);
}

} // namespace

// One line, whatever a file name holds: scripts read the report line by line.
int rxConvertReport(QTextStream &err, int status, QString message)
{
    message.replace(QLatin1Char('\n'), QLatin1Char(' '))
        .replace(QLatin1Char('\r'), QLatin1Char(' '));
    err << programName << ": " << message << '\n';
    err.flush();
    return status;
}

int rxConvertSay(QTextStream &err, const char *message)
{
    err << message << '\n';
    err.flush();
    return exitFailure;
}

int rxConvert(const QStringList &args, QTextStream &out, QTextStream &err)
{
    Options opt;
    QString error;
    switch (parseArgs(args, opt, &error)) {
    case Action::Help:
        printUsage(out);
        out.flush();
        return exitOk;
    case Action::Version:
        out << programName << ' ' << RUXA_VERSION << '\n';
        out.flush();
        return exitOk;
    case Action::Usage:
        return usageError(err, error);
    case Action::Convert:
        break;
    }
    // Read only where it is used, so that a stray value cannot fail other conversions.
    if (outputKindFor(opt.output)->dated && !readSourceDateEpoch(&opt.picture.creationTime, &error))
        return usageError(err, error);
    return convert(opt, err);
}

bool rxConvertDrawsPicture(const QString &lastArgument)
{
    const OutputKind *kind = outputKindFor(lastArgument);
    return kind && kind->writer != Writer::DataFile && kind->writer != Writer::PostScript
        && kind->writer != Writer::Encapsulated;
}
