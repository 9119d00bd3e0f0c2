#pragma once

#include <QByteArray>

#include <vector>

class RxLineReader;

// The document's comments: short texts placed on the plot, each with a position, a
// location type (0: page columns and rows, 1: data coordinates), a font, a font size
// factor and a colour. A value type.
class RxComments
{
public:
    static constexpr int numFonts = 9;

    RxComments() = default;
    RxComments(const RxComments &) = default;
    RxComments &operator=(const RxComments &) = default;
    virtual ~RxComments();

    int numComments() const { return static_cast<int>(m_comments.size()); }
    // Markers for an index out of range: -1 (font, color, locType), -1.0 (fontSize),
    // 0.0 (x, y), 0 (textLength) and the empty text.
    QByteArray text(int i) const;
    int textLength(int i) const;
    int locType(int i) const;
    float x(int i) const;
    float y(int i) const;
    float fontSize(int i) const;
    int font(int i) const;
    int color(int i) const;

    // Accepted calls return 1, refused ones 0 with nothing changed. Texts are single
    // lines: carriage returns and line feeds become blanks.
    // Refused unless locType is 0 or 1; the new comment has the default format.
    int addComment(const QByteArray &text, float x, float y, int locType);
    // i equal to the count appends a default comment first. A locType other than 0 or 1
    // stores 0.
    int setComment(int i, const QByteArray &text, float x, float y, int locType);
    // The same, leaving the location type as it is.
    int setComment(int i, const QByteArray &text, float x, float y);
    int removeComment(int i);
    int setFont(int i, int f);
    // Refused unless 0 < s <= RxPlotDefs::maxSizeFactor.
    int setFontSize(int i, float s);
    int setColor(int i, int c);
    void clear();

    // A "C comment: " record per comment.
    void writeFormat(QByteArray &out) const;
    // Reads the comment records starting at line, into an empty list, and leaves the line
    // after them in line. No record at line is no comment: 1 with line unchanged. Values
    // the setters refuse give the defaults. Returns 0 for a broken record.
    int readFormat(RxLineReader &in, QByteArray &line);
    // The comment section: per comment its text, then "Y     X".
    void writeText(QByteArray &out) const;

private:
    struct Comment
    {
        QByteArray text;
        int locType = 0;
        float x = 0.0f;
        float y = 0.0f;
        float fontSize = 1.0f;
        int font = 1;
        int color = 0;
    };

    bool valid(int i) const { return i >= 0 && i < numComments(); }
    void append(const Comment &c);

    std::vector<Comment> m_comments;
};
