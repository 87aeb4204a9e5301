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
// point. Where semicolons or tabs separate the fields, commas do not: a
// comma in a field is its decimal mark ("0,5;0,02"), as spreadsheets save
// where the comma is one, and a field with a comma and a full stop
// ("1,200.5") is no number. Where blanks alone separate them, a line with no
// full stop whose every comma stands between two digits writes decimal
// commas too ("-4,000  -0,2198"); otherwise commas separate ("3,50",
// "0, 0.2, 0.01").
NumberRow numbersOf(std::string_view line);

// One number, whole text; a leading '+' allowed. False when it is not one.
bool readDouble(std::string_view text, double& value);

// A number for a message: the shortest text that reads back as it, or with
// the decimals given.
std::string numberText(double value, int decimals = -1);

}  // namespace tivora::performance
