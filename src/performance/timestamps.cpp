#include "timestamps.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

namespace tivora::performance {

namespace {

// Days from 1970-01-01 of a date of the proleptic Gregorian calendar
// (H. Hinnant's days_from_civil).
long long daysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

bool digitsAt(std::string_view text, std::size_t at, std::size_t count, int& value)
{
    if (at + count > text.size())
        return false;
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

std::optional<double> timestampSeconds(std::string_view text)
{
    int year = 0, month = 0, day = 0;
    if (digitsAt(text, 0, 4, year) && text.size() > 4 && (text[4] == '-' || text[4] == '/')) {
        if (!digitsAt(text, 5, 2, month) || text.size() < 8 || text[7] != text[4] || !digitsAt(text, 8, 2, day))
            return std::nullopt;
    } else if (digitsAt(text, 0, 2, day) && text.size() > 2 && text[2] == '.') {
        if (!digitsAt(text, 3, 2, month) || text.size() < 6 || text[5] != '.' || !digitsAt(text, 6, 4, year))
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    if (month < 1 || month > 12 || day < 1 || day > 31)
        return std::nullopt;
    const double date =
        static_cast<double>(daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day))) * 86400;
    std::size_t at = 10;
    if (at == text.size())
        return date;
    int hour = 0, minute = 0, second = 0;
    if ((text[at] != ' ' && text[at] != 'T') || !digitsAt(text, at + 1, 2, hour) || text.size() < at + 6 ||
        text[at + 3] != ':' || !digitsAt(text, at + 4, 2, minute) || hour > 24 || minute > 59)
        return std::nullopt;
    at += 6;
    if (at < text.size() && text[at] == ':') {
        if (!digitsAt(text, at + 1, 2, second) || second > 60)
            return std::nullopt;
        at += 3;
    }
    double fraction = 0;
    if (at < text.size() && text[at] == '.') {
        double scale = 0.1;
        for (++at; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at, scale /= 10)
            fraction += (text[at] - '0') * scale;
    }
    const std::string_view rest = text.substr(at);
    if (!rest.empty() && rest != "Z" && rest.front() != '+' && rest.front() != '-')
        return std::nullopt;
    return date + hour * 3600 + minute * 60 + second + fraction;
}

std::optional<Period> periodOf(const std::vector<std::pair<double, int>>& stamps)
{
    // The step the logger records at is the most common one; a longer step
    // is records missing, a shorter one (a clock change) is none.
    std::map<long long, long> steps;
    for (std::size_t i = 1; i < stamps.size(); ++i) {
        const long long step = std::llround(std::abs(stamps[i].first - stamps[i - 1].first));
        if (step > 0)
            ++steps[step];
    }
    if (steps.empty())
        return std::nullopt;
    const auto common =
        std::max_element(steps.begin(), steps.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
    Period period;
    period.stepSeconds = static_cast<double>(common->first);
    for (const auto& [step, count] : steps) {
        if (static_cast<double>(step) > 1.5 * period.stepSeconds)
            period.missingSteps += count * (std::lround(static_cast<double>(step) / period.stepSeconds) - 1);
    }
    const auto [earliest, latest] = std::minmax_element(stamps.begin(), stamps.end());
    period.firstLine = earliest->second;
    period.lastLine = latest->second;
    period.days = (latest->first - earliest->first + period.stepSeconds) / 86400;
    return period;
}

}  // namespace tivora::performance
