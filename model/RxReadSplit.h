#pragma once

// Reading a large file in two parts at once, one on each of two cores, since reading is
// nearly all of a conversion's time. The second part is read on a thread of its own, and
// its points wait in runs until the first part's are in the document. Shared by the
// readers (RxFileRead.cpp, RxFileLayout.cpp); not part of the document's interface.
#include "model/RxFatal.h"

#include <QtGlobal>

#include <cstdint>
#include <future>
#include <system_error>
#include <vector>

class QFile;
class QFileDevice;

// Points of the second part that follow one another.
struct RxPointRun
{
    // The run follows a blank line, which starts a new curve.
    bool afterBlank = false;
    std::vector<float> xy; // X and Y of each point in turn
    // Each point's type; empty where all are lines (type 1).
    std::vector<std::int8_t> types;
};

class RxPointRuns
{
public:
    // A line point; after a blank line it starts a curve.
    void addLine(bool afterBlank, float x, float y)
    {
        RxPointRun &run = runFor(afterBlank, false);
        run.xy.push_back(x);
        run.xy.push_back(y);
    }
    void addPoint(std::int8_t type, float x, float y)
    {
        RxPointRun &run = runFor(false, true);
        run.types.push_back(type);
        run.xy.push_back(x);
        run.xy.push_back(y);
    }
    std::vector<RxPointRun> &runs() { return m_runs; }

private:
    RxPointRun &runFor(bool afterBlank, bool typed);

    std::vector<RxPointRun> m_runs;
};

// Opens part on whole's file at the start of the first line after the middle of the bytes
// from dataStart on, and no earlier than notBefore, for the second part of a split read;
// *start is its position. False where those bytes are too few to be worth a second thread,
// or the file cannot be split (no such line, not the same file any more).
bool rxOpenSecondPart(
    QFileDevice &whole, qint64 dataStart, qint64 notBefore, QFile &part, qint64 *start);

// Runs read on a thread of its own. The points it reads are bound for curves, and run out
// of memory as they do. Without a thread to run on (a process at its limit), the future
// is empty and the caller reads the whole file itself.
template <typename Read> auto rxReadAside(Read read) -> std::future<decltype(read())>
{
    try {
        return std::async(std::launch::async,
            [read] { return rxGuardMemory("out of memory in rxcurve\n", read); });
    } catch (const std::system_error &) {
        return {};
    }
}
