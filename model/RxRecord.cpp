#include "model/RxRecord.h"

#include "model/RxFatal.h"
#include "model/RxLineReader.h"
#include "model/RxNumberText.h"

#include <cstring>

namespace {

// The value text of a key line, or null when the line lacks the key or a colon. The line
// is taken as a C string: it ends at its first NUL byte, as it always has.
const char *valueText(const char *key, const char *line)
{
    if (!std::strstr(line, key))
        return nullptr;
    const char *colon = std::strchr(line, ':');
    return colon ? colon + 1 : nullptr;
}

} // namespace

int readIntKey(const char *key, const char *line, int *out)
{
    const char *value = valueText(key, line);
    if (!value)
        return 0;
    *out = rxAtoi(value);
    return 1;
}

int readFloatKey(const char *key, const char *line, float *out)
{
    const char *value = valueText(key, line);
    if (!value)
        return 0;
    *out = rxNarrow(rxAtof(value));
    return 1;
}

bool rxContains(const QByteArray &line, const char *text)
{
    return std::strstr(line.constData(), text) != nullptr;
}

QByteArray rxOneLine(const QByteArray &s, const char *outOfMemory)
{
    return rxGuardMemory(outOfMemory, [&] {
        QByteArray line = s;
        line.replace('\r', ' ').replace('\n', ' ');
        return line;
    });
}

void rxWriteIntKey(QByteArray &out, const char *key, int value)
{
    out.append("C\t").append(key).append(": ");
    rxAppendInt(out, value);
    out.append('\n');
}

void rxWriteFloatKey(QByteArray &out, const char *key, float value)
{
    out.append("C\t").append(key).append(": ");
    rxAppendG(out, value);
    out.append('\n');
}

bool RxRecordIn::nextLine(qsizetype maxChars)
{
    if (!m_ok)
        return false;
    m_ok = m_in.next(m_line, maxChars) && !m_in.atEnd();
    return m_ok;
}

void RxRecordIn::intKey(const char *key, int *out)
{
    if (nextLine(RxLineReader::recordLine))
        m_ok = readIntKey(key, m_line.constData(), out) == 1;
}

void RxRecordIn::floatKey(const char *key, float *out)
{
    if (nextLine(RxLineReader::recordLine))
        m_ok = readFloatKey(key, m_line.constData(), out) == 1;
}

bool RxRecordIn::finish()
{
    // Read whole: this line is not a key line but whatever follows the record, which may
    // be a data row of any length.
    if (m_ok)
        nextLine(RxLineReader::maxLine);
    return m_ok;
}
