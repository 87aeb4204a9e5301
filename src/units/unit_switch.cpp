#include "unit_switch.h"

#include "sheet/unit_conversions.h"

namespace tivora {

namespace {

using namespace units;

// The table counts as filled when the first station radius holds any text
// at all, blanks included.
void convertTableIfFilled(DesignSheet& sheet, Conversion radius, Conversion chord)
{
    if (!readText(sheet, stationRadius(1)).empty())
        convertStationTable(sheet, radius, chord);
}

void siToMetric(DesignSheet& sheet)
{
    writeText(sheet, Caption::WindSpeed, "Wind Speed (kph)");
    writeText(sheet, Caption::GeneratorSpeed, "Generator speed (rpm)");
    convert(sheet, Field::GeneratorSpeed, rpmFromRadPerSec, 1);
    convert(sheet, Field::WindSpeed, kphFromMetresPerSec, 1);
}

void metricToSi(DesignSheet& sheet)
{
    writeText(sheet, Caption::WindSpeed, "Wind Speed (m/s)");
    writeText(sheet, Caption::GeneratorSpeed, "Generator speed (rad/sec)");
    convert(sheet, Field::GeneratorSpeed, radPerSecFromRpm, 1);
    convert(sheet, Field::WindSpeed, metresPerSecFromKph, 1);
}

void captionsForImperial(DesignSheet& sheet)
{
    writeText(sheet, Caption::WindSpeed, "Wind Speed (mph)");
    writeText(sheet, Caption::Radius, "Blade radius (feet)");
    writeText(sheet, Caption::GeneratorSpeed, "Generator speed (rpm)");
}

void siToImperial(DesignSheet& sheet)
{
    convertTableIfFilled(sheet, feetFromMetres, inchesFromMetres);
    captionsForImperial(sheet);
    convert(sheet, Field::GeneratorSpeed, rpmFromRadPerSec, 1);
    convert(sheet, Field::Radius, feetFromMetres, 1);
    convert(sheet, Field::WindSpeed, mphFromMetresPerSec, 1);
}

void metricToImperial(DesignSheet& sheet)
{
    convertTableIfFilled(sheet, feetFromMetres, inchesFromMetres);
    captionsForImperial(sheet);
    convert(sheet, Field::Radius, feetFromMetres, 1);
    convert(sheet, Field::WindSpeed, mphFromKph, 1);
}

// Leaving Imperial is the only thing that writes the small-r "Blade radius
// (m)"; until then the window keeps its start caption "Blade Radius (m)".
void imperialToSi(DesignSheet& sheet)
{
    writeText(sheet, Caption::Radius, "Blade radius (m)");
    writeText(sheet, Caption::WindSpeed, "Wind Speed (m/s)");
    writeText(sheet, Caption::GeneratorSpeed, "Generator speed (rad/sec)");
    convert(sheet, Field::GeneratorSpeed, radPerSecFromRpm, 1);
    convert(sheet, Field::Radius, metresFromFeet, 1);
    convert(sheet, Field::WindSpeed, metresPerSecFromMph, 1);
    convertTableIfFilled(sheet, metresFromFeet, metresFromInches);
}

void imperialToMetric(DesignSheet& sheet)
{
    writeText(sheet, Caption::Radius, "Blade radius (m)");
    writeText(sheet, Caption::WindSpeed, "Wind Speed (kph)");
    writeText(sheet, Caption::GeneratorSpeed, "Generator speed (rpm)");
    convert(sheet, Field::Radius, metresFromFeet, 1);
    convert(sheet, Field::WindSpeed, kphFromMph, 1);
    convertTableIfFilled(sheet, metresFromFeet, metresFromInches);
}

struct Transition {
    UnitSystem from;
    UnitSystem to;
    void (*steps)(DesignSheet&);
};

constexpr Transition kTransitions[] = {
    {UnitSystem::SI, UnitSystem::Metric, siToMetric},     {UnitSystem::Metric, UnitSystem::SI, metricToSi},
    {UnitSystem::SI, UnitSystem::Imperial, siToImperial}, {UnitSystem::Metric, UnitSystem::Imperial, metricToImperial},
    {UnitSystem::Imperial, UnitSystem::SI, imperialToSi}, {UnitSystem::Imperial, UnitSystem::Metric, imperialToMetric},
};

void switchSteps(DesignSheet& sheet, UnitSystem target)
{
    const bool imperial = target == UnitSystem::Imperial;
    writeText(sheet, Caption::StationRadius, imperial ? "Radius (ft)" : "Radius (m)");
    writeText(sheet, Caption::StationChord, imperial ? "Chord (in)" : "Chord (m)");

    // The system being left is the one the figures are in, whatever option is on.
    readNumber(sheet, Field::Units);  // a code that is no number fails here
    const auto from = systemInForce(sheet);
    for (const Transition& transition : kTransitions) {
        if (transition.from == from && transition.to == target) {
            transition.steps(sheet);
            writeText(sheet, Field::Units, std::to_string(static_cast<int>(target)));
            return;
        }
    }
}

}  // namespace

std::optional<UnitSystem> systemInForce(const DesignSheet& sheet)
{
    const ReadResult code = parseNumber(readText(sheet, Field::Units), sheet.numberFormat());
    for (UnitSystem system : {UnitSystem::SI, UnitSystem::Metric, UnitSystem::Imperial}) {
        if (code.status == ReadStatus::Ok && code.value == static_cast<double>(system))
            return system;
    }
    return std::nullopt;
}

std::optional<Failure> switchUnitSystem(DesignSheet& sheet, UnitSystem target)
{
    return runAllOrNothing(sheet, [target](DesignSheet& draft) { switchSteps(draft, target); });
}

}  // namespace tivora
