#include "model/RxProfile.h"

#include "model/RxCheckedSet.h"
#include "model/RxRecord.h"

#include <cstring>

RxProfile::~RxProfile() = default;

int RxProfile::setUseEof(int v)
{
    return rxSetInRange(v, 0, 2, &m_useEof);
}

int RxProfile::setUseDelim(int v)
{
    return rxSetInRange(v, 0, 1, &m_useDelim);
}

int RxProfile::setDelimChar(char c)
{
    // The letters are those of "nan" and "inf", which delimited rows hold for such values.
    if (c == '\0' || c == '\r' || c == '\n' || std::strchr("0123456789+-.eEaAfFiInN", c))
        return 0;
    m_delimChar = c;
    return 1;
}

int RxProfile::setDataLen(int v)
{
    return rxSetInRange(v, 8, 99, &m_dataLen);
}

int RxProfile::setInVecLen(int v)
{
    return rxSetInRange(v, 0, 9, &m_inVecLen);
}

void RxProfile::writeFormat(QByteArray &out) const
{
    out.append("C profile:\n");
    rxWriteIntKey(out, "useeof", m_useEof);
    rxWriteIntKey(out, "usedelim", m_useDelim);
    // The code of the character, as the reader reads it back (tab as 9).
    rxWriteIntKey(out, "delimchar", static_cast<unsigned char>(m_delimChar));
    rxWriteIntKey(out, "datalen", m_dataLen);
    rxWriteIntKey(out, "inveclen", m_inVecLen);
}

int RxProfile::readFormat(RxLineReader &in, QByteArray &line)
{
    if (!rxContains(line, "C profile:"))
        return 0;
    int useEof = 0, useDelim = 0, delim = 0, dataLen = 0, inVecLen = 0;
    RxRecordIn record(in, line);
    record.intKey("useeof", &useEof);
    record.intKey("usedelim", &useDelim);
    record.intKey("delimchar", &delim);
    record.intKey("datalen", &dataLen);
    record.intKey("inveclen", &inVecLen);
    if (!record.finish())
        return 0;
    RxProfile p;
    if (delim < 0 || delim > 255 || !p.setUseEof(useEof) || !p.setUseDelim(useDelim)
        || !p.setDelimChar(static_cast<char>(delim)) || !p.setDataLen(dataLen)
        || !p.setInVecLen(inVecLen))
        return 0;
    *this = p;
    return 1;
}
