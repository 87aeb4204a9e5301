#include "blade.h"

#include "sheet/unit_conversions.h"

#include <algorithm>

namespace tivora::workshop {

std::optional<Blade> solvedBlade(const DesignSheet& sheet)
{
    // Imperial shows the radii in feet and the chords in inches; SI and
    // Metric both in metres.
    const bool imperial = sheet.selectedSystem() == UnitSystem::Imperial;
    Blade blade;
    for (int k = 1; k <= kStationCount; ++k) {
        const ReadResult radius = parseNumber(sheet.text(stationRadius(k)), sheet.numberFormat());
        const ReadResult chord = parseNumber(sheet.text(stationChord(k)), sheet.numberFormat());
        const ReadResult twist = parseNumber(sheet.text(stationTwist(k)), sheet.numberFormat());
        if (radius.status != ReadStatus::Ok || chord.status != ReadStatus::Ok || twist.status != ReadStatus::Ok ||
            sheet.text(stationRadius(k)).empty() || sheet.text(stationChord(k)).empty() ||
            sheet.text(stationTwist(k)).empty())
            return std::nullopt;
        BladeStation station{k, radius.value, chord.value, twist.value};
        if (imperial) {
            station.radius /= units::kFeetPerMetre;
            station.chord /= units::kInchesPerMetre;
        }
        blade.stations.push_back(station);
    }
    return blade;
}

bool trims(const Trim& trim)
{
    return trim.largestChord || trim.straightBetween;
}

Blade trimBlade(const Blade& solved, const Trim& trim)
{
    Blade cut = solved;
    auto& stations = cut.stations;
    if (trim.straightBetween) {
        const auto [from, to] = *trim.straightBetween;
        const auto find = [&stations](int number) {
            return std::find_if(stations.begin(), stations.end(),
                                [number](const BladeStation& s) { return s.number == number; });
        };
        const auto first = find(from), last = find(to);
        if (first != stations.end() && last != stations.end() && first < last && last->radius > first->radius) {
            const BladeStation a = *first, b = *last;
            for (auto it = first; it <= last; ++it) {
                const double along = (it->radius - a.radius) / (b.radius - a.radius);
                it->chord = a.chord + (b.chord - a.chord) * along;
                it->twistDegrees = a.twistDegrees + (b.twistDegrees - a.twistDegrees) * along;
            }
        }
    }
    if (trim.largestChord && *trim.largestChord > 0) {
        for (BladeStation& station : stations)
            station.chord = std::min(station.chord, *trim.largestChord);
    }
    return cut;
}

}  // namespace tivora::workshop
