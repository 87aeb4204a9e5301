#include "text_columns.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace tivora::performance {

namespace {

bool isDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Whether commas part the line's fields, or mark its decimals.
bool commasSeparate(std::string_view line)
{
    // Separators at the ends ("3,50\t", "3,5;120;") part no fields.
    constexpr std::string_view kOthers = "; \t";
    const auto first = line.find_first_not_of(kOthers);
    if (first == std::string_view::npos)
        return true;
    line = line.substr(first, line.find_last_not_of(kOthers) - first + 1);
    if (line.find_first_of(";\t") != std::string_view::npos)
        return false;
    // Blanks alone between fields: decimal commas only where nothing else
    // can be meant, every comma between two digits and no full stop.
    if (line.find(' ') == std::string_view::npos || line.find('.') != std::string_view::npos)
        return true;
    for (std::size_t i = line.find(','); i != std::string_view::npos; i = line.find(',', i + 1)) {
        if (i == 0 || i + 1 == line.size() || !isDigit(line[i - 1]) || !isDigit(line[i + 1]))
            return true;
    }
    return false;
}

}  // namespace

std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool readDouble(std::string_view text, double& value)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty() || text.front() == '+')
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

NumberRow numbersOf(std::string_view line)
{
    NumberRow row;
    row.allNumbers = true;
    const bool decimalCommas = !commasSeparate(line);
    const std::string_view separators = decimalCommas ? "; \t" : ",; \t";
    std::size_t start = 0;
    while (start < line.size()) {
        start = line.find_first_not_of(separators, start);
        if (start == std::string_view::npos)
            break;
        const auto end = std::min(line.find_first_of(separators, start), line.size());
        std::string field(line.substr(start, end - start));
        row.blank = false;
        // "1,200.5" stays as it is, and no number.
        if (decimalCommas && field.find('.') == std::string::npos)
            std::replace(field.begin(), field.end(), ',', '.');
        double value = 0;
        if (readDouble(field, value)) {
            row.values.push_back(value);
        } else if (row.allNumbers) {
            row.allNumbers = false;
            row.firstBadField = std::string(line.substr(start, end - start));
        }
        start = end;
    }
    if (row.blank)
        row.allNumbers = false;
    return row;
}

std::string numberText(double value, int decimals)
{
    char buffer[64];
    const auto result = decimals < 0
                            ? std::to_chars(buffer, buffer + sizeof buffer, value)
                            : std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

}  // namespace tivora::performance
