// libFuzzer target: arbitrary bytes as a design file. Reading either gives a
// whole sheet that saves and reads back as itself, or a failure on a line
// of the file; it never crashes, hangs or hands back part of a sheet.
//
// The first byte picks the reader's number format; the rest is the file.

#include "sheet/design_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <variant>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const tivora::NumberFormat format = data[0] % 2 ? tivora::NumberFormat{",", "."} : tivora::NumberFormat{".", ","};
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto read = tivora::readDesignFile(bytes, format);
    if (const auto* failure = std::get_if<tivora::DesignFileFailure>(&read)) {
        const auto lines = std::count(bytes.begin(), bytes.end(), '\n') + std::count(bytes.begin(), bytes.end(), '\r');
        if (failure->line < 1 || failure->line > lines + 2 || failure->expected.empty())
            std::abort();
        return 0;
    }
    // What opened saves and opens again as the same design.
    const auto& design = std::get<tivora::DesignFile>(read);
    const auto again =
        tivora::readDesignFile(tivora::writeDesignFile(design.sheet, design.settings, design.unsolved), format);
    const auto* reread = std::get_if<tivora::DesignFile>(&again);
    if (!reread || !(reread->sheet == design.sheet) || reread->settings != design.settings ||
        reread->unsolved != design.unsolved)
        std::abort();
    return 0;
}
