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
// Fields separated by commas, semicolons, tabs or blanks, with a decimal
// point. A line whose fields are separated by semicolons, tabs or blanks,
// that has no full stop and whose every comma stands between two digits
// ("0,5;0,02", "-4,000  -0,2198") writes decimal commas, as spreadsheets do
// where the comma is the decimal mark; a line of commas alone ("3,50") keeps
// them as separators.
NumberRow numbersOf(std::string_view line);

// One number, whole text; a leading '+' allowed. False when it is not one.
bool readDouble(std::string_view text, double& value);

// A number for a message: the shortest text that reads back as it, or with
// the decimals given.
std::string numberText(double value, int decimals = -1);

}  // namespace tivora::performance
