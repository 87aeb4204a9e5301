#pragma once

// CSV as spreadsheets write and read it (RFC 4180): the one writer of every
// CSV that Tivora makes, and the lenient reader of the design file.

#include "design_sheet.h"

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tivora {

// The cell separator that goes with a number format: ";" where the decimal
// separator is a comma, so that "0,4" stays one cell; "," otherwise.
char csvSeparator(const NumberFormat& format);

// Rows of cells, each cell quoted (its quotes doubled) when it holds the
// separator, a quote or a line end, each row ended by CRLF.
class CsvWriter {
public:
    explicit CsvWriter(char separator) : separator_(separator) {}
    explicit CsvWriter(const NumberFormat& format) : CsvWriter(csvSeparator(format)) {}

    void row(std::initializer_list<std::string_view> cells);
    void row(const std::vector<std::string>& cells);
    char separator() const { return separator_; }
    const std::string& text() const { return text_; }

private:
    void cell(std::string_view text);

    char separator_;
    std::string text_;
};

// A spreadsheet takes "−5" with the typographic minus, which Tivora reads,
// for text; with the ASCII sign it is the number -5.
std::string spreadsheetFigure(std::string_view figure);

// One row as read, with the line of the file it starts on (from 1).
struct CsvRecord {
    int line;
    std::vector<std::string> cells;
    // Cells a spreadsheet dropped from the end of a row count as empty.
    const std::string& at(std::size_t i) const;
};

// A quoted cell that opens on `line` and is never closed.
struct CsvCutShort {
    int line;
};

// Quotes only where a cell starts with one; any line end (CRLF, LF, CR)
// ends a row and counts as one line, inside a quoted cell too.
std::variant<std::vector<CsvRecord>, CsvCutShort> readCsv(std::string_view text, char separator);

}  // namespace tivora
