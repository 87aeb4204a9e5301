#include "workshop_settings.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace tivora::workshop {

namespace {

constexpr const char* kCoordinatesFile = "sections.coordinates-file";
constexpr const char* kRule = "sections.thickness";
constexpr const char* kRoot = "sections.thickness-root";
constexpr const char* kTip = "sections.thickness-tip";
constexpr const char* kLeast = "sections.least-thickness-mm";
constexpr const char* kPlank = "sections.plank-width-mm";
constexpr const char* kCap = "sections.chord-cap";
constexpr const char* kLargest = "sections.largest-chord-mm";
constexpr const char* kStraightFrom = "sections.straight-from";
constexpr const char* kStraightTo = "sections.straight-to";
constexpr const char* kDensity = "sections.wood-density-kg/m3";

// The shortest text that reads back as the same double.
std::string written(double value)
{
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return error == std::errc() ? std::string(text, end) : std::string();
}

std::optional<double> number(const std::string& text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Metres as millimetres, to the nanometre: 0.12 m is "120", not the
// "120.00000000000001" of 0.12 · 1000.
std::string millimetres(double metres)
{
    return written(std::round(metres * 1e9) / 1e6);
}

}  // namespace

DesignSettings settingsOf(const WorkshopInputs& inputs)
{
    DesignSettings settings;
    if (!inputs.coordinatesFile.empty())
        settings.emplace_back(kCoordinatesFile, inputs.coordinatesFile);
    settings.emplace_back(kRule, inputs.thickness.rule == ThicknessRule::Own ? "own" : "root-to-tip");
    settings.emplace_back(kRoot, written(inputs.thickness.root));
    settings.emplace_back(kTip, written(inputs.thickness.tip));
    settings.emplace_back(kLeast, millimetres(inputs.thickness.least));
    settings.emplace_back(kPlank, millimetres(inputs.plankWidth));
    settings.emplace_back(kCap, inputs.capChord ? "on" : "off");
    if (inputs.largestChord)
        settings.emplace_back(kLargest, millimetres(*inputs.largestChord));
    if (inputs.straightBetween) {
        settings.emplace_back(kStraightFrom, std::to_string(inputs.straightBetween->first));
        settings.emplace_back(kStraightTo, std::to_string(inputs.straightBetween->second));
    }
    settings.emplace_back(kDensity, written(inputs.woodDensity));
    return settings;
}

WorkshopInputs workshopFrom(const DesignSettings& settings)
{
    WorkshopInputs inputs;
    std::optional<double> from, to;
    for (const auto& [name, text] : settings) {
        const auto value = number(text);
        // A length or ratio of nothing, or below it, is no setting.
        const bool positive = value && *value > 0;
        if (name == kCoordinatesFile)
            inputs.coordinatesFile = text;
        else if (name == kRule && (text == "own" || text == "root-to-tip"))
            inputs.thickness.rule = text == "own" ? ThicknessRule::Own : ThicknessRule::RootToTip;
        else if (name == kRoot && positive)
            inputs.thickness.root = *value;
        else if (name == kTip && positive)
            inputs.thickness.tip = *value;
        else if (name == kLeast && value && *value >= 0)
            inputs.thickness.least = *value / 1000;
        else if (name == kPlank && positive)
            inputs.plankWidth = *value / 1000;
        else if (name == kCap && (text == "on" || text == "off"))
            inputs.capChord = text == "on";
        else if (name == kLargest && positive)
            inputs.largestChord = *value / 1000;
        else if (name == kStraightFrom)
            from = value;
        else if (name == kStraightTo)
            to = value;
        else if (name == kDensity && positive)
            inputs.woodDensity = *value;
    }
    if (from && to && *from == std::floor(*from) && *to == std::floor(*to) && *from >= 1 && *from < *to &&
        *to <= kStationCount)
        inputs.straightBetween = std::pair(static_cast<int>(*from), static_cast<int>(*to));
    return inputs;
}

Trim trimFrom(const DesignSettings& settings)
{
    return trimOf(workshopFrom(settings));
}

std::optional<Carving> carvingOf(const DesignSheet& sheet, const DesignSettings& settings,
                                 const std::optional<Profile>& coordinates)
{
    const auto solved = solvedBlade(sheet);
    if (!solved)
        return std::nullopt;
    const WorkshopInputs inputs = workshopFrom(settings);
    const Section section =
        coordinates ? sectionOf(*coordinates) : sectionNamedIn(captionText(sheet, Caption::Airfoil));
    return carve(trimBlade(*solved, trimOf(inputs)), section, inputs);
}

std::optional<std::string> senselessReason(WorkshopInput input, double si)
{
    switch (input) {
    case WorkshopInput::RootThickness:
    case WorkshopInput::TipThickness:
        // Thinner than a sheet of plywood's worth of a section, or thicker
        // than any wind-turbine section, is a slip.
        if (!(si >= 0.04 && si <= 0.40))
            return "a thickness ratio from 4 % to 40 % of the chord";
        break;
    case WorkshopInput::LeastThickness:
        if (!(si >= 0 && si <= 0.1))
            return "a least thickness from 0 (none) to 100 mm";
        break;
    case WorkshopInput::PlankWidth:
    case WorkshopInput::LargestChord:
        if (!(si > 0.005 && si <= 2))
            return "a width above 5 mm and at most 2 m";
        break;
    case WorkshopInput::WoodDensity:
        // Balsa to lignum vitae.
        if (!(si >= 100 && si <= 1400))
            return "a wood density from 100 to 1400 kg/m³";
        break;
    }
    return std::nullopt;
}

}  // namespace tivora::workshop
