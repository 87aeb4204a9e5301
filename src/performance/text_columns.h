#pragma once

// Reading the columns of a text file of numbers: polars and power curves.

#include <string>
#include <string_view>
#include <vector>

namespace tivora::performance {

// Lines split at \n, a \r before it dropped.
std::vector<std::string_view> splitLines(std::string_view text);

struct NumberRow {
    bool blank = true;        // nothing but separators
    bool allNumbers = false;  // every field reads as a number (NaN and infinity included)
    std::vector<double> values;
    std::string firstBadField;  // the first field that is no number, when !allNumbers
};
// Fields separated by commas, semicolons, tabs or blanks; a decimal point.
NumberRow numbersOf(std::string_view line);

// One number, whole text; a leading '+' allowed. False when it is not one.
bool readDouble(std::string_view text, double& value);

}  // namespace tivora::performance
