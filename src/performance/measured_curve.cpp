#include "measured_curve.h"

#include "power_curve.h"
#include "text_columns.h"

#include <cctype>
#include <cmath>
#include <string>

namespace tivora::performance {

namespace {

// The unit a header line gives the power in, W per unit of the column: 1000
// for kW, 1 for W, 0 when it names none. Read by its words ("P [kW]" →
// "p", "kw"), so that "kilowatts" is no watt and "power_kw" no word "power".
double powerUnitOf(std::string_view line)
{
    std::string word;
    const auto unitOf = [](const std::string& w) {
        if (w == "kw" || w == "kilowatt" || w == "kilowatts")
            return 1000.0;
        if (w == "w" || w == "watt" || w == "watts")
            return 1.0;
        return 0.0;
    };
    for (std::size_t i = 0; i <= line.size(); ++i) {
        const unsigned char c = i < line.size() ? static_cast<unsigned char>(line[i]) : ' ';
        if (std::isalpha(c)) {
            word += static_cast<char>(std::tolower(c));
            continue;
        }
        if (const double unit = unitOf(word); unit != 0)
            return unit;
        word.clear();
    }
    return 0;
}

}  // namespace

Result<std::vector<PowerCurvePoint>> readPowerCurve(std::string_view text)
{
    const auto notACurve = [](int line, const std::string& what) {
        return Problem{ProblemKind::NotAPowerCurve, "line " + std::to_string(line) + ": " + what};
    };
    std::vector<PowerCurvePoint> points;
    double scale = 0;  // W per unit of the file's power column, once the header says
    int lineNumber = 0;
    for (std::string_view line : splitLines(text)) {
        ++lineNumber;
        const NumberRow row = numbersOf(line);
        if (row.blank)
            continue;
        if (!row.allNumbers) {
            if (!points.empty())
                return notACurve(lineNumber, "expected numbers wind speed, power, found \"" + row.firstBadField + "\"");
            if (const double unit = powerUnitOf(line); unit != 0)
                scale = unit;
            continue;
        }
        if (scale == 0)
            return notACurve(lineNumber, "expected a header before the numbers naming the power's unit, W or kW");
        if (row.values.size() < 2)
            return notACurve(lineNumber,
                             "expected two columns wind speed, power, found " + std::to_string(row.values.size()));
        if (!std::isfinite(row.values[0]) || !std::isfinite(row.values[1]))
            return notACurve(lineNumber, "expected finite numbers, found one that is not");
        if (row.values[0] < 0 || (!points.empty() && row.values[0] <= points.back().windSpeed))
            return notACurve(lineNumber, "expected a wind speed above the line before's");
        points.push_back({row.values[0], row.values[1] * scale});
    }
    if (points.size() < 2)
        return Problem{ProblemKind::NotAPowerCurve, "line " + std::to_string(lineNumber) +
                                                        ": expected at least two rows of wind speed, power, found " +
                                                        std::to_string(points.size())};
    return points;
}

std::vector<PowerCurvePoint> onBins(const std::vector<PowerCurvePoint>& curve)
{
    std::vector<PowerCurvePoint> binned;
    for (double v : windSpeedBins()) {
        double p = 0;
        if (v >= curve.front().windSpeed && v <= curve.back().windSpeed) {
            std::size_t i = 1;
            while (i + 1 < curve.size() && curve[i].windSpeed < v)
                ++i;
            const double t = (v - curve[i - 1].windSpeed) / (curve[i].windSpeed - curve[i - 1].windSpeed);
            p = curve[i - 1].power + t * (curve[i].power - curve[i - 1].power);
        }
        binned.push_back({v, p});
    }
    return binned;
}

}  // namespace tivora::performance
