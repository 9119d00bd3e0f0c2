// A data row written by formatRow, and passed through winFixExpFmt, reads back as what it
// says: for any float (NaN, infinities and subnormals included), field widths 8 to 99 and
// type widths 0 to 9, the parsed row keeps its point type and writes a row that reads back
// the same values, in the same text wherever the float's spacing allows.
#include "fuzz/RxFuzz.h"
#include "model/RxFile.h"
#include "model/RxNumberText.h"

#include <cfloat>
#include <cmath>
#include <string_view>

namespace {

bool sameFloat(float a, float b)
{
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    RxFuzzInput in(data, size);
    const float x = in.anyFloat();
    const float y = in.anyFloat();
    const int type = in.intIn(0, 12);
    const int dataLen = in.intIn(8, 99);
    const int inVecLen = in.intIn(0, 9);
    const int useDelim = in.byte() & 1;
    char delim = static_cast<char>(in.byte());

    RxProfile profile;
    profile.setUseDelim(useDelim);
    if (!profile.setDelimChar(delim))
        delim = profile.delimChar();
    RX_FUZZ_CHECK(profile.setDataLen(dataLen) == 1);
    RX_FUZZ_CHECK(profile.setInVecLen(inVecLen) == 1);
    RxFile reader;
    reader.setProfile(profile);

    RxCurve curve;
    curve.addPoint(type, x, y);
    QByteArray row;
    RX_FUZZ_CHECK(curve.formatRow(row, 0, inVecLen, dataLen, useDelim, delim) == 1);
    const auto readRow = [&reader](const QByteArray &text, int *t, float *rx, float *ry) {
        const std::string_view line(text.constData(), static_cast<std::size_t>(text.size()));
        RX_FUZZ_CHECK(reader.parseRow(line, t, rx, ry, 1, 2) == 1);
    };
    int t = -1;
    float x1 = 0.0f;
    float y1 = 0.0f;
    readRow(row, &t, &x1, &y1);
    if (inVecLen > 0)
        RX_FUZZ_CHECK(t == curve.pointType(0));
    // Written again, the row reads back the same values: a fixed point after one round.
    RxCurve back;
    back.addPoint(type, x1, y1);
    QByteArray again;
    RX_FUZZ_CHECK(back.formatRow(again, 0, inVecLen, dataLen, useDelim, delim) == 1);
    int t2 = -1;
    float x2 = 0.0f;
    float y2 = 0.0f;
    readRow(again, &t2, &x2, &y2);
    RX_FUZZ_CHECK(sameFloat(x2, x1) && sameFloat(y2, y1));
    // And the text itself comes back, except where a subnormal's coarse spacing moves the
    // value read across a power of ten ("1.0E-43" reads as 9.949e-44, "9.9E-44").
    const auto normal = [](float v) { return !(std::fabs(v) < FLT_MIN) || v == 0.0f; };
    if (normal(x) && normal(y))
        RX_FUZZ_CHECK(again == row);
    // Exact values come back exactly when the field holds all of a float's digits.
    if ((useDelim == 0 && dataLen >= 16) || std::isinf(x) || std::isnan(x))
        RX_FUZZ_CHECK(sameFloat(x1, x));

    // The shorter exponent of a field that another writer left reads as the same number.
    QByteArray field;
    rxAppendFixed(field, x, dataLen);
    QByteArray shortened = field;
    winFixExpFmt(shortened.data());
    shortened = QByteArray(shortened.constData());
    float a = 0.0f;
    float b = 0.0f;
    const bool readA = rxScanFloat(std::string_view(field.constData(), field.size()), &a);
    const bool readB = rxScanFloat(std::string_view(shortened.constData(), shortened.size()), &b);
    RX_FUZZ_CHECK(readA == readB);
    if (readA)
        RX_FUZZ_CHECK(sameFloat(a, b));
    return 0;
}
