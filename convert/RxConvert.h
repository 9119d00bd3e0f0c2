#pragma once

#include <QtContainerFwd>

class QString;
class QTextStream;

// The batch front end: reads one file into a document as a window's "Open..." does, applies
// the appends, the scaling and the orientation asked for on the command line, and writes the
// document out in the kind OUTPUT's ending names.
//
// args are the command-line arguments without the program's name. --help and --version
// write to out. A failure writes one line to err and nothing to out.
//
// Returns the process's exit status: 0 success, 1 failure (reading, writing, nothing to
// save, a plot size the page refuses), 2 usage error (an option, its value, the operands or
// SOURCE_DATE_EPOCH). On any status but 0 an existing OUTPUT is left as it was and no new
// one is made.
int rxConvert(const QStringList &args, QTextStream &out, QTextStream &err);

// True when a run whose last argument is lastArgument draws a picture (.pdf, .png, .svg),
// which needs the fonts and painters of a GUI application object; data files and
// PostScript need neither.
bool rxConvertDrawsPicture(const QString &lastArgument);

constexpr int rxConvertFailure = 1;

// The front end's reports on err, one line each; both return the status.
// A description, after the tool's name; line breaks in it become blanks.
int rxConvertReport(QTextStream &err, int status, QString message);
// The program's own words, unprefixed, so that scripts can match them; status 1.
int rxConvertSay(QTextStream &err, const char *message);
