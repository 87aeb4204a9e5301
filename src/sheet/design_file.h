#pragma once

// The design file: the CSV that a spreadsheet opens as a table and that
// Tivora opens as a design. One row per figure, caption first; a first line
// that names the program and the format's version; the unit system and the
// airfoil's name in rows of their own at the end, and any settings that
// other windows keep with the design after them.
//
//   Tivora design,1
//   Number of Blades,3,
//   ...
//   Blade Radius,1,m
//   ...
//   Station,Radius (m),Chord (m),β (°)
//   1,0.1,0.448,37.6
//   ...
//   Unit system,SI
//   Airfoil,NACA2412
//   Setting,<name>,<value>
//
// Where the decimal separator is a comma the cells are separated by ";".
// Reading is all or nothing: either a whole new sheet or the first line
// that does not fit, with what was expected there.

#include "design_sheet.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace tivora {

// A design is a few kilobytes; this leaves room for notes and settings and
// refuses, before reading it, a file that cannot be one.
inline constexpr std::size_t kLargestDesignFile = 1024 * 1024;
inline constexpr int kDesignFileVersion = 1;

// Named settings that other windows keep in the design file, in the order
// they were written; the file keeps their texts exactly and reads back every
// row, whether or not anyone still knows its name.
using DesignSettings = std::vector<std::pair<std::string, std::string>>;

struct DesignFile {
    DesignSheet sheet;
    DesignSettings settings;
    // Saved with results that may belong to other inputs.
    bool unsolved = false;
};

struct DesignFileFailure {
    int line;  // 1 for the first; past the last when a row is missing
    std::string expected;
    bool operator==(const DesignFileFailure&) const = default;
};

// The row that marks results not solved for the inputs beside them.
inline constexpr std::string_view kUnsolvedNote = "results not solved for these inputs";
// The first row of the rotor's performance, which a save appends when a
// window holds an analysis: the figures below it are that analysis's
// results, made again from the settings, so reading stops there.
inline constexpr std::string_view kPerformanceRows = "Rotor performance";

// UTF-8 with a byte-order mark and CRLF line ends, as spreadsheets write it.
std::string writeDesignFile(const DesignSheet& sheet, const DesignSettings& settings = {}, bool unsolved = false);

// A sheet in `format`: each figure's decimal and grouping marks become the
// user's, every other character stays as it was saved.
std::variant<DesignFile, DesignFileFailure> readDesignFile(std::string_view bytes, const NumberFormat& format);

}  // namespace tivora
