// libFuzzer target: arbitrary bytes as a field's text, read under several
// number formats. Whatever is accepted must be a finite double (too large is
// reported as an overflow), and every value rounded to 1, 2 or 3 decimals
// below 10^12 must be written and read back as itself.
//
// The first byte picks the number format; the rest is the text.

#include "sheet/design_sheet.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iterator>

namespace {

const tivora::NumberFormat kFormats[] = {
    {".", ","},            // English
    {",", "."},            // German
    {",", "\u00a0"},       // French, no-break space
    {",", "\u202f"},       // narrow no-break space
    {".", "'"},            // Swiss
    {"\u066b", "\u066c"},  // Arabic separators
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const tivora::NumberFormat& format = kFormats[data[0] % std::size(kFormats)];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    const tivora::ReadResult read = tivora::parseNumber(text, format);
    if (read.status != tivora::ReadStatus::Ok)
        return 0;
    if (!std::isfinite(read.value))
        std::abort();
    for (int decimals = 1; decimals <= 3; ++decimals) {
        const double rounded = tivora::roundTo(read.value, decimals);
        if (!(std::fabs(rounded) < 1e12))
            continue;
        const tivora::ReadResult back = tivora::parseNumber(tivora::formatNumber(rounded, format), format);
        if (back.status != tivora::ReadStatus::Ok || back.value != rounded)
            std::abort();
    }
    return 0;
}
