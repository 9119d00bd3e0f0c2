#include "model/RxComments.h"

#include "model/RxCheckedSet.h"
#include "model/RxCurve.h"
#include "model/RxFatal.h"
#include "model/RxPlotDefs.h"
#include "model/RxNumberText.h"
#include "model/RxRecord.h"

#include <cmath>

namespace {
const char *const arraysOutOfMemory = "out of memory in RxComments\n";
const char *const textOutOfMemory = "out of memory in rxcomments\n";
} // namespace

RxComments::~RxComments() = default;

QByteArray RxComments::text(int i) const
{
    return valid(i) ? m_comments[static_cast<std::size_t>(i)].text : QByteArray();
}

int RxComments::textLength(int i) const
{
    return valid(i) ? static_cast<int>(m_comments[static_cast<std::size_t>(i)].text.size()) : 0;
}

int RxComments::locType(int i) const
{
    return valid(i) ? m_comments[static_cast<std::size_t>(i)].locType : -1;
}

float RxComments::x(int i) const
{
    return valid(i) ? m_comments[static_cast<std::size_t>(i)].x : 0.0f;
}

float RxComments::y(int i) const
{
    return valid(i) ? m_comments[static_cast<std::size_t>(i)].y : 0.0f;
}

float RxComments::fontSize(int i) const
{
    return valid(i) ? m_comments[static_cast<std::size_t>(i)].fontSize : -1.0f;
}

int RxComments::font(int i) const
{
    return valid(i) ? m_comments[static_cast<std::size_t>(i)].font : -1;
}

int RxComments::color(int i) const
{
    return valid(i) ? m_comments[static_cast<std::size_t>(i)].color : -1;
}

void RxComments::append(const Comment &c)
{
    rxGuardMemory(arraysOutOfMemory, [&] { m_comments.push_back(c); });
}

int RxComments::addComment(const QByteArray &text, float x, float y, int locType)
{
    if (locType != 0 && locType != 1)
        return 0;
    Comment c;
    c.text = rxOneLine(text, textOutOfMemory);
    c.x = x;
    c.y = y;
    c.locType = locType;
    append(c);
    return 1;
}

int RxComments::setComment(int i, const QByteArray &text, float x, float y, int locType)
{
    if (!setComment(i, text, x, y))
        return 0;
    m_comments[static_cast<std::size_t>(i)].locType = locType == 1 ? 1 : 0;
    return 1;
}

int RxComments::setComment(int i, const QByteArray &text, float x, float y)
{
    if (i == numComments())
        append(Comment());
    if (!valid(i))
        return 0;
    Comment &c = m_comments[static_cast<std::size_t>(i)];
    c.text = rxOneLine(text, textOutOfMemory);
    c.x = x;
    c.y = y;
    return 1;
}

int RxComments::removeComment(int i)
{
    if (!valid(i))
        return 0;
    m_comments.erase(m_comments.begin() + i);
    return 1;
}

int RxComments::setFont(int i, int f)
{
    return valid(i)
        && rxSetInRange(f, 0, numFonts - 1, &m_comments[static_cast<std::size_t>(i)].font);
}

int RxComments::setFontSize(int i, float s)
{
    if (!valid(i) || !(s > 0) || !(s <= RxPlotDefs::maxSizeFactor))
        return 0;
    m_comments[static_cast<std::size_t>(i)].fontSize = s;
    return 1;
}

int RxComments::setColor(int i, int c)
{
    return valid(i)
        && rxSetInRange(
            c, 0, RxCurve::numColors - 1, &m_comments[static_cast<std::size_t>(i)].color);
}

void RxComments::clear()
{
    m_comments.clear();
    m_comments.shrink_to_fit();
}

void RxComments::writeFormat(QByteArray &out) const
{
    for (int k = 0; k < numComments(); ++k) {
        const Comment &c = m_comments[static_cast<std::size_t>(k)];
        out.append("C comment: ");
        rxAppendInt(out, k);
        out.append('\n');
        rxWriteIntKey(out, "loctype", c.locType);
        rxWriteIntKey(out, "font", c.font);
        rxWriteFloatKey(out, "fontsize", c.fontSize);
        rxWriteIntKey(out, "color", c.color);
    }
}

int RxComments::readFormat(RxLineReader &in, QByteArray &line)
{
    if (!m_comments.empty())
        rxFatal("oops in RxComments::readFormat \n");
    while (rxContains(line, "C comment: ")) {
        int locType = 0, font = 0, color = 0;
        float fontSize = 0;
        RxRecordIn record(in, line);
        record.intKey("loctype", &locType);
        record.intKey("font", &font);
        record.floatKey("fontsize", &fontSize);
        record.intKey("color", &color);
        if (!record.finish()) {
            clear();
            return 0;
        }
        // The setters judge each value; a refused one leaves the new comment's default.
        append(Comment());
        const int k = numComments() - 1;
        m_comments.back().locType = locType == 1 ? 1 : 0;
        setFont(k, font);
        setFontSize(k, fontSize);
        setColor(k, color);
    }
    return 1;
}

void RxComments::writeText(QByteArray &out) const
{
    for (const Comment &c : m_comments) {
        out.append(c.text).append('\n');
        rxAppendG(out, c.y);
        out.append("     ");
        rxAppendG(out, c.x);
        out.append('\n');
    }
}
