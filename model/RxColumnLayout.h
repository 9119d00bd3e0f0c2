#pragma once

#include <QByteArray>
#include <QList>

#include <string_view>
#include <vector>

// How the rows of a column file are read, chosen once per read (RxFile::chooseLayout): by
// the document's profile, or split at a delimiter that detect() found in the file's first
// lines. The detector and the reader split rows with the same split() and value(), so a
// row reads as the detector saw it.
struct RxColumnLayout
{
    enum class Source {
        Unknown, // neither the profile nor detection reads the file
        NewerFormat, // a data file of a newer format
        Profile, // the data file's own profile, or the document's
        Detected
    };
    // What a field of a detected row holds.
    enum class Field { Number, Missing, Text };

    Source source = Source::Unknown;
    // Every column of the file, counted from 1; the Unknown and NewerFormat sources hold
    // RxFile's columnsUnknown and columnsNewerFormat here.
    int columns = -1;
    // The columns that hold numbers in most rows; X and Y are the first two of them.
    int numericColumns = 0;
    int xCol = 1;
    int yCol = 2;
    // One per column, from a header line; empty when the file has none.
    QList<QByteArray> names;
    // Why detection found no layout, in a few words ("holds no two columns of numbers").
    QByteArray problem;

    // Detected layouts only. The delimiter is a tab, ",", ";", or a blank for runs of
    // blanks and tabs.
    char delimiter = 0;
    bool decimalComma = false;
    // Every row ends with one delimiter more, which is not a column.
    bool trailingDelimiter = false;
    // The 1-based line of the first data row, or of the count line before it.
    qint64 firstLine = 1;
    bool countLine = false;

    // The layout of the rows in head, the first bytes of a file (all of it when wholeFile;
    // else its last, unfinished line is passed over). Source Detected, or Unknown with
    // the problem.
    static RxColumnLayout detect(const QByteArray &head, bool wholeFile);

    // Comment lines ("#", "%", "!" or "//" after leading blanks) and blank lines are no
    // rows. text is a line without its line end.
    enum class LineKind { Row, Comment, Blank };
    static LineKind kindOf(std::string_view text);
    // The fields of a row without its line end, at most maxFields of them (the rest of
    // the row is not looked at). A quoted field is its text between the quotes, with a
    // doubled quote inside it left as it is.
    void split(std::string_view text, std::vector<std::string_view> &fields,
        std::size_t maxFields = static_cast<std::size_t>(-1)) const;
    // Number (into *out), Missing (empty, "NA", "nan", "-", "?" and the like) or Text.
    Field value(std::string_view field, double *out) const;
};
