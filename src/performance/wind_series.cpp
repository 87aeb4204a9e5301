#include "wind_series.h"

#include "text_columns.h"
#include "wind_columns.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace tivora::performance {

namespace {

// Where the records begin: a line most of whose fields are numbers or
// timestamps, one at least a number.
bool looksLikeData(std::string_view line)
{
    int filled = 0, readable = 0, numbers = 0;
    std::vector<std::string_view> fields;
    fieldsOf(line, separatorOf(line), fields);
    for (const std::string_view field : fields) {
        if (field.empty())
            continue;
        ++filled;
        double value = 0;
        if (figureOf(field, value))
            ++numbers, ++readable;
        else if (timestampSeconds(field))
            ++readable;
    }
    return numbers > 0 && 2 * readable > filled;
}

bool blank(std::string_view line)
{
    return line.find_first_not_of(" \t,;\"") == std::string_view::npos;
}

}  // namespace

void LeftOut::add(int line, std::string_view text)
{
    if (count++ == 0) {
        firstLine = line;
        firstText = std::string(text.substr(0, 40));
    }
}

double WindSeries::meanMps() const
{
    double sum = 0;
    for (const WeightedSpeed& s : speeds)
        sum += s.windMps * s.weight;
    return totalWeight > 0 ? sum / totalWeight : 0;
}

double WindSeries::cumulative(double windMps) const
{
    if (totalWeight <= 0)
        return 0;
    if (windMps <= 0)
        return calmWeight / totalWeight;
    const double half = stepMps / 2;
    // The speeds whose step lies wholly below v count whole; those whose
    // step holds v, the share of it below v.
    const auto cut = std::upper_bound(speeds.begin(), speeds.end(), windMps - half,
                                      [](double v, const WeightedSpeed& s) { return v < s.windMps; });
    auto i = static_cast<std::size_t>(cut - speeds.begin());
    double below = i > 0 ? weightUpTo[i - 1] : 0;
    for (; i < speeds.size() && speeds[i].windMps - half < windMps; ++i) {
        const WeightedSpeed& s = speeds[i];
        below += s.windMps <= 0 ? s.weight : s.weight * (windMps - (s.windMps - half)) / stepMps;
    }
    return below / totalWeight;
}

Result<WindSeries> readWindSeries(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    if (text.find('\0') != std::string_view::npos)
        return notAWindSeries(1, "expected text, found a zero byte");
    const std::vector<std::string_view> lines = splitLines(text);

    // The header: every line before the first record, its cells joined by column.
    std::size_t first = 0;
    while (first < lines.size() && (blank(lines[first]) || !looksLikeData(lines[first])))
        ++first;
    std::vector<std::string> header;
    char separator = 0;
    int headerLine = 0;
    for (std::size_t i = 0; i < first; ++i) {
        if (blank(lines[i]))
            continue;
        separator = separatorOf(lines[i]);
        headerLine = static_cast<int>(i) + 1;
    }
    std::vector<std::string_view> fields;
    for (std::size_t i = 0; i < first; ++i) {
        if (blank(lines[i]))
            continue;
        fieldsOf(lines[i], separator, fields);
        header.resize(std::max(header.size(), fields.size()));
        for (std::size_t c = 0; c < fields.size(); ++c)
            header[c].append(header[c].empty() || fields[c].empty() ? "" : " ").append(fields[c]);
    }
    if (header.empty())
        return notAWindSeries(1, kExpectedSpeedHeader);
    const Result<SeriesColumns> found = seriesColumns(header, headerLine);
    if (!found)
        return found.problem();
    const SeriesColumns& columns = *found;

    WindSeries series;
    series.form = columns.weight ? SeriesForm::Histogram : SeriesForm::Records;
    series.column = columns.name;
    series.unit = columns.unit.name;
    series.hours = columns.hours;
    std::vector<double> kept;
    std::vector<std::pair<double, int>> stamps;
    std::string joined;
    // A record's timestamp: its column, or its date and time columns joined.
    const auto timeOf = [&]() -> std::string_view {
        const auto part = [&](std::size_t c) { return c < fields.size() ? fields[c] : std::string_view(); };
        if (columns.time.size() == 1)
            return part(columns.time.front());
        joined.assign(part(columns.time.front())).append(" ").append(part(columns.time.back()));
        return joined;
    };
    for (std::size_t i = first; i < lines.size(); ++i) {
        if (blank(lines[i]))
            continue;
        const int line = static_cast<int>(i) + 1;
        fieldsOf(lines[i], separator, fields);
        // Cells missing from the end of a line (one cut short) are empty.
        const auto field = [&](std::size_t c) { return c < fields.size() ? fields[c] : std::string_view(); };
        ++series.lines;
        const std::string_view cell = field(columns.speed);
        double value = 0;
        const bool number = figureOf(cell, value);
        const double mps = value * columns.unit.toMps;
        if (series.form == SeriesForm::Histogram) {
            double weight = 0;
            const std::string found(cell);
            if (!number)
                return notAWindSeries(line, "expected a bin's wind speed, found \"" + found + "\"");
            if (mps < 0 || mps > kHighestWindMps)
                return notAWindSeries(line, "expected a bin's wind speed from 0 to 75 m/s, found " + found);
            if (!kept.empty() && !(mps > kept.back()))
                return notAWindSeries(line, "expected a bin's wind speed above the line before's, found " + found);
            if (!figureOf(field(*columns.weight), weight) || weight < 0)
                return notAWindSeries(line, "expected the bin's " + std::string(series.hours ? "hours" : "count") +
                                                " (0 or more), found \"" + std::string(field(*columns.weight)) + "\"");
            kept.push_back(mps);
            series.speeds.push_back({mps, weight});
            continue;
        }
        if (!columns.time.empty()) {
            const std::string_view when = timeOf();
            if (const std::optional<double> seconds = timestampSeconds(when))
                stamps.emplace_back(*seconds, line);
            else
                series.unreadTimes.add(line, when);
        }
        if (cell.empty())
            series.gaps.add(line, cell);
        else if (!number)
            series.codes.add(line, cell);
        else if (mps < 0 || mps > kHighestWindMps)
            series.outOfRange.add(line, cell);
        else
            kept.push_back(mps);
    }
    const int last = static_cast<int>(lines.size());
    if (series.form == SeriesForm::Records) {
        std::sort(kept.begin(), kept.end());
        for (const double v : kept) {
            if (!series.speeds.empty() && series.speeds.back().windMps == v)
                series.speeds.back().weight += 1;
            else
                series.speeds.push_back({v, 1});
        }
        if (series.unreadTimes.count == 0)
            series.period = periodOf(stamps);
        if (series.period) {
            fieldsOf(lines[static_cast<std::size_t>(series.period->firstLine - 1)], separator, fields);
            series.period->first = timeOf();
            fieldsOf(lines[static_cast<std::size_t>(series.period->lastLine - 1)], separator, fields);
            series.period->last = timeOf();
        }
    }
    std::map<long long, long> steps;  // in µm/s, so that a km/h step converted counts as one
    for (std::size_t i = 0; i < series.speeds.size(); ++i) {
        const WeightedSpeed& s = series.speeds[i];
        series.totalWeight += s.weight;
        series.weightUpTo.push_back(series.totalWeight);
        if (s.windMps == 0)
            series.calmWeight += s.weight;
        else if (i > 0 && series.speeds[i - 1].windMps > 0)
            ++steps[std::llround((s.windMps - series.speeds[i - 1].windMps) * 1e6)];
    }
    if (!steps.empty())
        series.stepMps =
            static_cast<double>(std::max_element(steps.begin(), steps.end(),
                                                 [](const auto& a, const auto& b) { return a.second < b.second; })
                                    ->first) /
            1e6;
    if (series.form == SeriesForm::Histogram && series.hours && series.totalWeight > 0) {
        series.period = Period{};
        series.period->days = series.totalWeight / 24;
        series.period->stepSeconds = 3600;
    }
    const long windy = std::count_if(series.speeds.begin(), series.speeds.end(),
                                     [](const WeightedSpeed& s) { return s.windMps > 0 && s.weight > 0; });
    if (windy < 2)
        return notAWindSeries(last, "expected wind speeds above calm that vary, found " + std::to_string(windy) +
                                        (windy == 1 ? " speed" : " speeds"));
    return series;
}

}  // namespace tivora::performance