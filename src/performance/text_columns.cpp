#include "text_columns.h"

#include <algorithm>
#include <charconv>

namespace tivora::performance {

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
    constexpr std::string_view kSeparators = ",; \t";
    std::size_t start = 0;
    while (start < line.size()) {
        start = line.find_first_not_of(kSeparators, start);
        if (start == std::string_view::npos)
            break;
        const auto end = std::min(line.find_first_of(kSeparators, start), line.size());
        const std::string_view field = line.substr(start, end - start);
        row.blank = false;
        double value = 0;
        if (readDouble(field, value)) {
            row.values.push_back(value);
        } else if (row.allNumbers) {
            row.allNumbers = false;
            row.firstBadField = std::string(field);
        }
        start = end;
    }
    if (row.blank)
        row.allNumbers = false;
    return row;
}

}  // namespace tivora::performance
