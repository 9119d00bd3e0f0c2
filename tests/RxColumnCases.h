#pragma once

#include "model/RxFile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Column files as other programs, spreadsheets and instruments write them, with what
// opening each must give. The model tests read them in-process, the ruxa-convert tests
// through the program.
struct RxColumnCase
{
    const char *name;
    QByteArray text;
    // The points as rxPointsText writes them; empty when the read must fail.
    QString points;
    // "X title|Y title" from a header line (Latin-1, as the document keeps texts), or empty.
    QByteArray titles = QByteArray();
    int skipped = 0;
    int firstSkipped = 0;
};

// "x y, x y | x y": the curves' points in "%g", curves apart.
inline QString rxPointsText(const RxFile &doc)
{
    QStringList curves;
    for (int c = 0; c < doc.numCurves(); ++c) {
        QStringList points;
        const RxCurve *curve = doc.curve(c);
        for (int i = 0; i < curve->numPoints(); ++i)
            points << QString::asprintf(
                "%g %g", static_cast<double>(curve->x(i)), static_cast<double>(curve->y(i)));
        curves << points.join(QStringLiteral(", "));
    }
    return curves.join(QStringLiteral(" | "));
}

// The points each curve has, "2 | 1": what survives a save in any profile.
inline QString rxCurveSizes(const RxFile &doc)
{
    QStringList sizes;
    for (int c = 0; c < doc.numCurves(); ++c)
        sizes << QString::number(doc.curve(c)->numPoints());
    return sizes.join(QStringLiteral(" | "));
}

inline QByteArray rxTitlesText(const RxFile &doc)
{
    const RxScale s = doc.scale();
    if (s.xLabel().isEmpty() && s.yLabel().isEmpty())
        return QByteArray();
    return s.xLabel() + '|' + s.yLabel();
}

inline QList<RxColumnCase> rxColumnCases()
{
    return {
        {"csv with a header line", "time,value\n0,1.5\n1,2.5\n", "0 1.5, 1 2.5", "time|value"},
        {"tab-separated", "1\t2\n3\t4\n", "1 2, 3 4"},
        {"semicolons and decimal commas, CRLF", "a;b\r\n1,5;2,5\r\n3;-4,25\r\n", "1.5 2.5, 3 -4.25",
            "a|b"},
        {"tabs and decimal commas", "1,5\t2\n3\t4,5\n", "1.5 2, 3 4.5"},
        {"runs of blanks and tabs", "  1 \t  2  \n3 4\t\n", "1 2, 3 4"},
        {"a delimiter ending each line", "1,2,\n3,4,\n", "1 2, 3 4"},
        {"blank-separated rows the fixed layout would cut",
            "-20.000000 -3.041676\n-19.000000 -3.036427\n", "-20 -3.04168, -19 -3.03643"},
        {"comment lines anywhere", "# by hand\n1 2\n% two\n! three\n  // four\n3 4\n", "1 2, 3 4"},
        {"an instrument's metadata above the data",
            "Instrument XY-100\nRate: 1000 Hz\nDate 2020 10 01\n\nt\tV\n0\t1\n0.5\t2\n",
            "0 1, 0.5 2", "t|V"},
        {"quoted fields", "\"name\",\"x\",\"y\"\n\"a, b\",\"1\",2\n\"c \"\"d\"\"\",3,4\n",
            "1 2, 3 4", "x|y"},
        {"quoted decimal commas", "\"x\",\"y\"\n\"1,5\",\"2,25\"\n", "1.5 2.25", "x|y"},
        {"a date column passed over", "date,low,high\n2020-01-01,1,2\n2020-01-02,3,4\n", "1 2, 3 4",
            "low|high"},
        {"lines ending in CR alone", "1 2\r3 4\r", "1 2, 3 4"},
        {"a byte-order mark", "\xEF\xBB\xBFx,y\n1,2\n", "1 2", "x|y"},
        {"a count line", "2\n1 2\n3 4\n5 6\n", "1 2, 3 4"},
        {"blank lines start curves", "1 2\n3 4\n\n\n5 6\n \n7 8\n", "1 2, 3 4 | 5 6 | 7 8"},
        {"missing values left out", "x,y\n1,2\n2,\n3,NA\n4,nan\n5,-\n6,?\n,7\n8,9\n", "1 2, 8 9",
            "x|y"},
        {"rows of text left out and counted", "x y\n1 2\n3 4\nx y\n5 oops\n6 7\n", "1 2, 3 4, 6 7",
            "x|y", 2, 4},
        {"infinities kept", "1 inf\n2 -INF\n", "1 inf, 2 -inf"},
        {"the profile's own rows", "  0+1.000E+00+2.000E+00\n  1+3.000E+00+4.000E+00\n",
            "1 2, 3 4"},
        {"a header in Latin-1 from UTF-8",
            "Temperatur (\xC2\xB0"
            "C);Zeit\n1;2\n",
            "1 2",
            "Temperatur (\xB0"
            "C)|Zeit"},
        {"one column of numbers", "1\n2\n3\n", ""},
        {"words only", "alpha beta\ngamma delta\n", ""},
        {"binary data", QByteArray("\x01\x02\0\xff 1 2\n1 2\n", 14), ""},
        {"only comments", "# nothing here\n", ""},
        {"empty", "", ""},
    };
}
