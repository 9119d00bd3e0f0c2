#pragma once

#include <QByteArray>

class RxLineReader;

// The layout of data rows: fixed-width or delimited fields, the field width, the width of
// the leading point-type field, and how the number of rows is known. A value type.
class RxProfile
{
public:
    RxProfile() = default;
    RxProfile(const RxProfile &) = default;
    RxProfile &operator=(const RxProfile &) = default;
    virtual ~RxProfile();

    // 0 not yet known, 1 rows run to the end of the file, 2 a count line comes first.
    int useEof() const { return m_useEof; }
    // 0 fixed-width fields, 1 delimited fields.
    int useDelim() const { return m_useDelim; }
    char delimChar() const { return m_delimChar; }
    int dataLen() const { return m_dataLen; }
    int inVecLen() const { return m_inVecLen; }

    // Setters return 1 when they store, 0 when they refuse (nothing changes).
    int setUseEof(int v);
    int setUseDelim(int v);
    // Refuses NUL, carriage return, line feed and the characters that can be part of a
    // number (digits, "+", "-", ".", "e", "E" and the letters of "nan" and "inf", either
    // case): rows could not be read back.
    int setDelimChar(char c);
    // 8 ... 99.
    int setDataLen(int v);
    // 0 ... 9.
    int setInVecLen(int v);

    // The "C profile:" record.
    void writeFormat(QByteArray &out) const;
    // Reads the record starting at its head line, then the line after it. A value the
    // setters refuse makes the record broken. Returns 1, or 0 with nothing changed.
    int readFormat(RxLineReader &in, QByteArray &line);

private:
    int m_useEof = 0;
    int m_useDelim = 0;
    char m_delimChar = '\t';
    int m_dataLen = 10;
    int m_inVecLen = 3;
};
