// The row parsers under a profile taken from the input (fixed or delimited, delimiter,
// field and type widths, how rows are counted), on every line of the rest of the input.
#include "fuzz/RxFuzz.h"
#include "model/RxFile.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    RxFuzzInput in(data, size);
    RxProfile profile;
    // Values the setters refuse leave the defaults, as a file's record would.
    profile.setUseDelim(in.byte() & 1);
    profile.setDelimChar(static_cast<char>(in.byte()));
    profile.setDataLen(in.intIn(6, 101));
    profile.setInVecLen(in.intIn(-1, 10));
    profile.setUseEof(in.intIn(0, 2));
    const int xCol = in.intIn(-1, 12);
    const int yCol = in.intIn(-1, 12);
    const int typeWidth = in.intIn(-2, 101);
    const QByteArray text = in.rest();

    RxFile doc;
    doc.setProfile(profile);
    std::string_view rest(text.constData(), static_cast<std::size_t>(text.size()));
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line
            = rest.substr(0, end == std::string_view::npos ? rest.size() : end + 1);
        rest.remove_prefix(line.size());

        const int columns = doc.countColumns(line);
        RX_FUZZ_CHECK(columns >= 0);
        RxFile counting = doc;
        counting.detectCount(line);
        int type = 0;
        float x = 0.0f;
        float y = 0.0f;
        if (doc.parseRow(line, &type, &x, &y, xCol, yCol) == 1)
            RX_FUZZ_CHECK(xCol >= 1 && yCol >= 1);
        doc.parseFixedRow(line, &type, &x, &y, xCol, yCol, typeWidth);
    }
    return 0;
}
