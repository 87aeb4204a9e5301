#include "wind_columns.h"

#include "text_columns.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <initializer_list>

namespace tivora::performance {

namespace {

// Knots are nautical miles (1852 m) an hour; a mile 1609.344 m.
constexpr double kKnot = 1852.0 / 3600, kMph = 1609.344 / 3600;

std::string lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// A header cell's words: "Wind speed [km/h]" is wind, speed, km/h;
// "WS_mph_Avg" is ws, mph, avg.
std::vector<std::string> wordsOf(std::string_view cell)
{
    std::vector<std::string> words;
    std::string word;
    for (const char c : lower(cell) + ' ') {
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '/' || c == '-' || c == '^' || c == '.' || c == '%') {
            word += c;
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    return words;
}

bool any(const std::vector<std::string>& words, std::initializer_list<std::string_view> these)
{
    return std::any_of(words.begin(), words.end(),
                       [&](const std::string& w) { return std::find(these.begin(), these.end(), w) != these.end(); });
}

std::optional<SpeedUnit> speedUnitOf(const std::vector<std::string>& words)
{
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        const std::string next = i + 1 < words.size() ? words[i + 1] : std::string();
        if (w == "m/s" || w == "mps" || w == "ms-1" || w == "m.s-1" || w == "ms^-1" || w == "m/sec" ||
            w == "meters/second" || w == "metres/second" || (w == "m" && (next == "s-1" || next == "s^-1")))
            return SpeedUnit{"m/s", 1};
        if (w == "km/h" || w == "kmh" || w == "kph" || w == "km/hr" || w == "kmph" || w == "km.h-1" ||
            (w == "km" && (next == "h-1" || next == "h^-1")))
            return SpeedUnit{"km/h", 1 / 3.6};
        if (w == "mph" || w == "mi/h" || w == "miles/hour")
            return SpeedUnit{"mph", kMph};
        if (w == "knots" || w == "knot" || w == "kn" || w == "kt" || w == "kts")
            return SpeedUnit{"knots", kKnot};
    }
    return std::nullopt;
}

// A column that carries a speed but not the mean one.
bool notTheMean(const std::vector<std::string>& words)
{
    return any(words, {"max", "maximum", "min", "minimum", "gust", "gusts", "std", "sd", "stdev", "stddev", "sigma",
                       "dev", "deviation", "peak", "ti"});
}

bool saysMean(const std::vector<std::string>& words)
{
    return any(words, {"avg", "average", "mean"});
}

bool saysTime(const std::vector<std::string>& words)
{
    return std::any_of(words.begin(), words.end(), [](const std::string& w) {
        return w.find("time") != std::string::npos || w.find("date") != std::string::npos;
    });
}

bool saysDate(const std::vector<std::string>& words)
{
    return std::any_of(words.begin(), words.end(),
                       [](const std::string& w) { return w.find("date") != std::string::npos; });
}

// A histogram's weight column, and whether it is hours.
std::optional<bool> weightColumn(const std::vector<std::string>& words)
{
    if (any(words, {"hours", "hour", "hrs", "h/year", "hours/year"}))
        return true;
    if (any(words, {"count", "counts", "number", "records", "occurrences", "frequency", "freq", "%", "percent", "share",
                    "probability"}))
        return false;
    return std::nullopt;
}

}  // namespace

void fieldsOf(std::string_view line, char separator, std::vector<std::string_view>& fields)
{
    fields.clear();
    const auto blankAt = [&line](std::size_t i) { return line[i] == ' ' || line[i] == '\t'; };
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && blankAt(i) && line[i] != separator)
            ++i;
        std::string_view field;
        if (i < line.size() && line[i] == '"') {
            const std::size_t start = ++i;
            while (i < line.size() && (line[i] != '"' || (i + 1 < line.size() && line[i + 1] == '"' && ++i)))
                ++i;
            field = line.substr(start, i - start);
            while (i < line.size() && line[i] != separator)
                ++i;
        } else {
            const std::size_t end = separator ? std::min(line.find(separator, i), line.size()) : line.size();
            field = line.substr(i, end - i);
            while (!field.empty() && (field.back() == ' ' || field.back() == '\t'))
                field.remove_suffix(1);
            i = end;
        }
        fields.push_back(field);
        if (i >= line.size() || !separator)
            break;
        ++i;  // the separator
    }
}

bool figureOf(std::string_view field, double& value)
{
    if (field.find(',') == std::string_view::npos || field.find('.') != std::string_view::npos)
        return readDouble(field, value) && std::isfinite(value);
    std::string point(field);
    std::replace(point.begin(), point.end(), ',', '.');
    return readDouble(point, value) && std::isfinite(value);
}

char separatorOf(std::string_view line)
{
    for (const char c : {'\t', ';', ','}) {
        if (line.find(c) != std::string_view::npos)
            return c;
    }
    return 0;
}

Problem notAWindSeries(int line, const std::string& what)
{
    return Problem{ProblemKind::NotAWindSeries, "line " + std::to_string(line) + ": " + what};
}

Result<SeriesColumns> seriesColumns(const std::vector<std::string>& header, int line)
{
    SeriesColumns columns;
    std::vector<std::size_t> speeds, means;
    std::vector<std::size_t> dates, times;
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::vector<std::string> words = wordsOf(header[i]);
        if (speedUnitOf(words) && !notTheMean(words)) {
            speeds.push_back(i);
            if (saysMean(words))
                means.push_back(i);
        } else if (saysTime(words)) {
            (saysDate(words) ? dates : times).push_back(i);
        } else if (const std::optional<bool> hours = weightColumn(words); hours && !columns.weight) {
            columns.weight = i;
            columns.hours = *hours;
        }
    }
    const std::vector<std::size_t>& candidates = means.empty() ? speeds : means;
    if (candidates.empty())
        return notAWindSeries(line, kExpectedSpeedHeader);
    if (candidates.size() > 1) {
        std::string named;
        for (std::size_t i : candidates)
            named += (named.empty() ? "\"" : ", \"") + header[i] + "\"";
        return notAWindSeries(line, "expected one wind speed column, found " + std::to_string(candidates.size()) +
                                        ": " + named + "; keep one");
    }
    columns.speed = candidates.front();
    columns.unit = *speedUnitOf(wordsOf(header[columns.speed]));
    columns.name = header[columns.speed];
    // A timestamp column, or a date and a time column side by side.
    if (dates.size() + times.size() == 1 || (dates.size() == 1 && times.size() == 1)) {
        columns.time = dates;
        columns.time.insert(columns.time.end(), times.begin(), times.end());
    }
    return columns;
}

}  // namespace tivora::performance
