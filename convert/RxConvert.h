#pragma once

#include <QtContainerFwd>

class QTextStream;

// The batch front end: reads one file into a document as a window's "Open..." does, applies
// the appends and the scaling asked for on the command line, and writes the document out.
//
// args are the command-line arguments without the program's name. --help and --version
// write to out. A failure writes one line to err and nothing to out.
//
// Returns the process's exit status: 0 success, 1 failure (reading, writing, nothing to
// save), 2 usage error (an option, its value or the operands). On any status but 0 an
// existing OUTPUT is left as it was and no new one is made.
int rxConvert(const QStringList &args, QTextStream &out, QTextStream &err);
