// libFuzzer target: arbitrary bytes as a field's text, read under several
// number formats. Whatever is accepted must be a finite double (too large is
// reported as an overflow), and every value rounded to 1, 2 or 3 decimals
// below 10^12 must be written and read back as itself; so must the same text
// with its whole digits grouped in threes and with a typographic minus, as a
// user copying it from elsewhere would have it.
//
// The first byte picks the number format; the rest is the text.

#include "sheet/design_sheet.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>

namespace {

const tivora::NumberFormat kFormats[] = {
    {".", ","},            // English
    {",", "."},            // German
    {",", "\u00a0"},       // French, no-break space
    {",", "\u202f"},       // narrow no-break space
    {".", "'"},            // Swiss
    {"\u066b", "\u066c"},  // Arabic separators
};

// "-1234567.5" as "−1,234,567.5": groups of three, the minus as U+2212.
std::string asTypeset(const std::string& text, const tivora::NumberFormat& format)
{
    std::string sign;
    std::string rest = text;
    if (!rest.empty() && rest[0] == '-') {
        sign = "\u2212";
        rest.erase(0, 1);
    }
    const auto decimal = rest.find(format.decimalSeparator);
    std::string whole = rest.substr(0, decimal);
    const std::string tail = decimal == std::string::npos ? "" : rest.substr(decimal);
    for (auto at = whole.size(); at > 3; at -= 3)
        whole.insert(at - 3, format.groupSeparator);
    return sign + whole + tail;
}

bool readsBackAs(const std::string& text, const tivora::NumberFormat& format, double value)
{
    const tivora::ReadResult back = tivora::parseNumber(text, format);
    return back.status == tivora::ReadStatus::Ok && back.value == value;
}

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
        const std::string written = tivora::formatNumber(rounded, format);
        if (!readsBackAs(written, format, rounded) || !readsBackAs(asTypeset(written, format), format, rounded))
            std::abort();
    }
    return 0;
}
