// The layout detector on arbitrary bytes as the start of a file (all of it, or cut off),
// then the row splitter and field reader of the layout found on every line. A detected
// layout has two columns of numbers or more with X before Y among them, a one-line name
// for every column or none; an undetected one says why; the detector answers the same
// twice; every field lies inside its row, and no more fields come than asked for.
#include "fuzz/RxFuzz.h"
#include "model/RxColumnLayout.h"

#include <string_view>
#include <vector>

namespace {

bool sameLayout(const RxColumnLayout &a, const RxColumnLayout &b)
{
    return a.source == b.source && a.columns == b.columns && a.numericColumns == b.numericColumns
        && a.xCol == b.xCol && a.yCol == b.yCol && a.names == b.names && a.problem == b.problem
        && a.delimiter == b.delimiter && a.decimalComma == b.decimalComma
        && a.trailingDelimiter == b.trailingDelimiter && a.firstLine == b.firstLine
        && a.countLine == b.countLine;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    RxFuzzInput in(data, size);
    const bool whole = (in.byte() & 1) != 0;
    const auto limit = static_cast<std::size_t>(in.intIn(1, 8));
    const QByteArray head = in.rest();

    const RxColumnLayout layout = RxColumnLayout::detect(head, whole);
    if (layout.source == RxColumnLayout::Source::Detected) {
        RX_FUZZ_CHECK(layout.numericColumns >= 2 && layout.numericColumns <= layout.columns);
        RX_FUZZ_CHECK(layout.xCol >= 1 && layout.xCol < layout.yCol);
        RX_FUZZ_CHECK(layout.yCol <= layout.columns);
        RX_FUZZ_CHECK(layout.names.isEmpty() || layout.names.size() == layout.columns);
        RX_FUZZ_CHECK(layout.firstLine >= 1);
        const char d = layout.delimiter;
        RX_FUZZ_CHECK(d == '\t' || d == ',' || d == ';' || d == ' ');
        for (const QByteArray &name : layout.names)
            RX_FUZZ_CHECK(!name.contains('\n') && !name.contains('\r'));
    } else {
        RX_FUZZ_CHECK(layout.source == RxColumnLayout::Source::Unknown);
        RX_FUZZ_CHECK(!layout.problem.isEmpty());
    }
    RX_FUZZ_CHECK(sameLayout(layout, RxColumnLayout::detect(head, whole)));

    std::vector<std::string_view> fields;
    std::string_view rest(head.constData(), static_cast<std::size_t>(head.size()));
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        RxColumnLayout::kindOf(line);
        layout.split(line, fields, limit);
        RX_FUZZ_CHECK(fields.size() <= limit);
        for (std::string_view f : fields) {
            RX_FUZZ_CHECK(
                f.data() >= line.data() && f.data() + f.size() <= line.data() + line.size());
            double v = 0.0;
            layout.value(f, &v);
        }
    }
    return 0;
}
