#include "inputs.h"

#include "limits.h"
#include "sheet/unit_conversions.h"
#include "site.h"
#include "site_wind.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace tivora::performance {

namespace {

// Each quantity's unit: in SI, Metric and Imperial as shown, and in ASCII
// as the command line writes it ("degrees C", "ohm").
struct UnitWords {
    Quantity quantity;
    std::string_view si, metric, imperial, ascii;
};
constexpr UnitWords kUnitWords[] = {
    {Quantity::None, "", "", "", ""},
    {Quantity::WindSpeed, "m/s", "km/h", "mph", "m/s"},
    {Quantity::Altitude, "m", "m", "ft", "m"},
    {Quantity::Temperature, "°C", "°C", "°F", "degrees C"},
    {Quantity::Length, "m", "m", "ft", "m"},
    {Quantity::Angle, "°", "°", "°", "degrees"},
    {Quantity::Power, "W", "W", "W", "W"},
    {Quantity::Voltage, "V", "V", "V", "V"},
    {Quantity::VoltsPerRpm, "V/rpm", "V/rpm", "V/rpm", "V/rpm"},
    {Quantity::Resistance, "Ω", "Ω", "Ω", "ohm"},
    {Quantity::Size, "mm", "mm", "in", "mm"},
    {Quantity::Area, "mm²", "mm²", "mm²", "mm2"},
    {Quantity::CurrentDensity, "A/mm²", "A/mm²", "A/mm²", "A/mm2"},
    {Quantity::Rpm, "rpm", "rpm", "rpm", "rpm"},
    {Quantity::Torque, "N·m", "N·m", "N·m", "N.m"},
    {Quantity::Force, "N", "N", "N", "N"},
    {Quantity::Density, "kg/m³", "kg/m³", "kg/m³", "kg/m3"},
    {Quantity::Energy, "kWh", "kWh", "kWh", "kWh"},
    {Quantity::Current, "A", "A", "A", "A"},
    {Quantity::Mass, "kg", "kg", "lb", "kg"},
    {Quantity::FluxDensity, "T", "T", "T", "T"},
    {Quantity::Percent, "%", "%", "%", "%"},
    {Quantity::Days, "days", "days", "days", "days"},
};
constexpr bool inQuantityOrder()
{
    for (std::size_t i = 0; i < std::size(kUnitWords); ++i)
        if (static_cast<std::size_t>(kUnitWords[i].quantity) != i)
            return false;
    return std::size(kUnitWords) == static_cast<std::size_t>(Quantity::Days) + 1;
}
static_assert(inQuantityOrder(), "one row for each Quantity, in the enumeration's order");

}  // namespace

std::string unitOf(Quantity quantity, UnitSystem system)
{
    const UnitWords& words = kUnitWords[static_cast<std::size_t>(quantity)];
    return std::string(system == UnitSystem::SI       ? words.si
                       : system == UnitSystem::Metric ? words.metric
                                                      : words.imperial);
}

std::string_view asciiUnitOf(Quantity quantity)
{
    return kUnitWords[static_cast<std::size_t>(quantity)].ascii;
}

namespace {

constexpr double kKilogramsPerPound = 0.45359237;  // the international pound
constexpr double kMillimetresPerInch = 25.4;

}  // namespace

double shownFromSi(Quantity quantity, UnitSystem system, double si)
{
    switch (quantity) {
    case Quantity::WindSpeed:
        return system == UnitSystem::SI       ? si
               : system == UnitSystem::Metric ? si * 3.6
                                              : si * units::kMphPerMetrePerSecond;
    case Quantity::Altitude:
    case Quantity::Length:
        return system == UnitSystem::Imperial ? si * units::kFeetPerMetre : si;
    case Quantity::Temperature:
        return system == UnitSystem::Imperial ? si * 9 / 5 + 32 : si;
    case Quantity::Size:
        return system == UnitSystem::Imperial ? si / kMillimetresPerInch : si;
    case Quantity::Mass:
        return system == UnitSystem::Imperial ? si / kKilogramsPerPound : si;
    default:
        return si;
    }
}

double siFromShown(Quantity quantity, UnitSystem system, double shown)
{
    switch (quantity) {
    case Quantity::WindSpeed:
        return system == UnitSystem::SI       ? shown
               : system == UnitSystem::Metric ? shown / 3.6
                                              : shown / units::kMphPerMetrePerSecond;
    case Quantity::Altitude:
    case Quantity::Length:
        return system == UnitSystem::Imperial ? shown / units::kFeetPerMetre : shown;
    case Quantity::Temperature:
        return system == UnitSystem::Imperial ? (shown - 32) * 5 / 9 : shown;
    case Quantity::Size:
        return system == UnitSystem::Imperial ? shown * kMillimetresPerInch : shown;
    case Quantity::Mass:
        return system == UnitSystem::Imperial ? shown * kKilogramsPerPound : shown;
    default:
        return shown;
    }
}

const InputEntry* entryByOption(std::string_view option)
{
    for (const InputEntry& entry : inputTable()) {
        if (!entry.option.empty() && entry.option == option)
            return &entry;
    }
    return nullptr;
}

namespace {

std::string shortest(double value)
{
    char text[64];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return error == std::errc() ? std::string(text, end) : std::string();
}

// The value with `decimals` decimals where that text reads back as the same
// double; none otherwise.
std::optional<std::string> withDecimals(double value, int decimals)
{
    char text[64];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    double back = 0;
    if (error != std::errc() || std::from_chars(text, end, back).ec != std::errc() || back != value)
        return std::nullopt;
    return std::string(text, end);
}

}  // namespace

void AnalysisInputs::setTyped(InputId id, std::optional<double> si, int decimals)
{
    slot(id).si = si;
    // Decimals matter only where they say more than the figure: "1.0".
    const auto written = si && decimals >= 0 ? withDecimals(*si, decimals) : std::nullopt;
    slot(id).decimals = written && *written != shortest(*si) ? decimals : -1;
}

int AnalysisInputs::state(InputId id) const
{
    return entryOf(id).kind == InputKind::File ? (file(id).text ? 1 : 0) : choice(id);
}

bool AnalysisInputs::enabled(const InputEntry& entry) const
{
    return !entry.enabledWhen || state(entry.enabledWhen->input) == entry.enabledWhen->state;
}

DesignFigures designFiguresOf(const DesignSheet& sheet)
{
    const ReadResult power = parseNumber(sheet.text(Field::Power), sheet.numberFormat());
    const ReadResult wind = parseNumber(sheet.text(Field::WindSpeed), sheet.numberFormat());
    return {power.status == ReadStatus::Ok ? power.value : 0,
            wind.status == ReadStatus::Ok ? siFromShown(Quantity::WindSpeed, sheet.selectedSystem(), wind.value) : 0};
}

double defaultOf(const AnalysisInputs& inputs, InputId id, const DesignFigures& design)
{
    const InputEntry& entry = entryOf(id);
    if (entry.field)
        return parseNumber(infoOf(*entry.field).startText, NumberFormat{}).value;
    switch (entry.derived) {
    case DerivedDefault::None:
        return entry.fallback;
    case DerivedDefault::StandardTemperature:
        return standardTemperatureCelsius(valueOf(inputs, InputId::Altitude, design));
    case DerivedDefault::DesignPower:
        return design.generatorPowerWatts;
    case DerivedDefault::DesignWindSpeed:
        return design.windMps;
    case DerivedDefault::MatchedCurrent:
        return valueOf(inputs, InputId::BatteryVolts, design) /
               copperOhms(valueOf(inputs, InputId::WindingResistance, design),
                          valueOf(inputs, InputId::WindingTemperature, design));
    case DerivedDefault::CarvedMass:
        return design.bladeMassKg;
    case DerivedDefault::MeasuredHeight:
        return valueOf(inputs, InputId::MeasuredHeight, design);
    }
    return entry.fallback;
}

double valueOf(const AnalysisInputs& inputs, InputId id, const DesignFigures& design)
{
    return inputs.typed(id).value_or(defaultOf(inputs, id, design));
}

std::optional<Problem> refusal(const AnalysisInputs& inputs, const DesignFigures& design)
{
    for (const InputEntry& entry : inputTable()) {
        if (entry.kind == InputKind::File && !entry.settingKey.empty() && !inputs.file(entry.id).name.empty() &&
            !inputs.file(entry.id).text)
            return Problem{ProblemKind::FileNotLoaded, {}, entry.id};
        if (entry.kind != InputKind::Number)
            continue;
        const double value = valueOf(inputs, entry.id, design);
        if (!entry.computable.holds(value))
            return Problem{ProblemKind::InputOutside, {}, entry.id, std::nullopt, entry.computable};
        if (entry.below && !(value < valueOf(inputs, *entry.below, design)))
            return Problem{ProblemKind::InputNotBelow, {}, entry.id, entry.below};
    }
    return std::nullopt;
}

bool sensible(const AnalysisInputs& inputs, InputId id, const DesignFigures& design)
{
    const InputEntry& entry = entryOf(id);
    if (!inputs.typed(id))
        return true;
    const double value = *inputs.typed(id);
    if (!entry.sensible.holds(value))
        return false;
    // A pair judged against each other: both are marked.
    for (const InputEntry& other : inputTable()) {
        if (other.below == id && !(valueOf(inputs, other.id, design) < value))
            return false;
    }
    return !entry.below || value < valueOf(inputs, *entry.below, design);
}

namespace {

// The shortest text that reads back as the same double, or the one with
// the decimals the user wrote.
std::string written(double value, int decimals)
{
    if (decimals >= 0) {
        if (auto text = withDecimals(value, decimals))
            return *text;
    }
    return shortest(value);
}

std::optional<std::pair<double, int>> readSetting(const std::string& text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    const auto point = text.find('.');
    const bool plain = text.find_first_of("eE") == std::string::npos;
    return std::pair{value, point != std::string::npos && plain ? static_cast<int>(text.size() - point - 1) : -1};
}

}  // namespace

DesignSettings settingsOf(const AnalysisInputs& inputs)
{
    DesignSettings settings;
    for (const InputEntry& entry : inputTable()) {
        if (entry.settingKey.empty())
            continue;
        const std::string key(entry.settingKey);
        switch (entry.kind) {
        case InputKind::Number:
            if (const auto si = inputs.typed(entry.id))
                settings.emplace_back(key, written(*si, inputs.typedDecimals(entry.id)));
            break;
        case InputKind::Choice:
            if (const auto option = inputs.chosen(entry.id))
                settings.emplace_back(key, std::string(entry.choices[static_cast<std::size_t>(*option)].key));
            break;
        case InputKind::File:
            if (!inputs.file(entry.id).name.empty())
                settings.emplace_back(key, inputs.file(entry.id).name);
            if (entry.id == InputId::WindSeries) {
                const DesignSettings fit = seriesFitSettings(inputs);
                settings.insert(settings.end(), fit.begin(), fit.end());
            }
            break;
        case InputKind::Design:
            break;
        }
    }
    for (const auto& row : inputs.otherSettings) {
        if (!isSeriesFitSetting(row.first))
            settings.push_back(row);
    }
    return settings;
}

AnalysisInputs inputsFrom(const DesignSettings& settings)
{
    AnalysisInputs inputs;
    for (const auto& [name, value] : settings) {
        const InputEntry* entry = nullptr;
        for (const InputEntry& each : inputTable()) {
            if (!each.settingKey.empty() && each.settingKey == name)
                entry = &each;
        }
        if (!entry) {
            inputs.otherSettings.emplace_back(name, value);
            continue;
        }
        switch (entry->kind) {
        case InputKind::Number:
            if (const auto read = readSetting(value))
                inputs.setTyped(entry->id, read->first, read->second);
            break;
        case InputKind::Choice:
            for (std::size_t i = 0; i < entry->choices.size(); ++i) {
                if (entry->choices[i].key == value)
                    inputs.setChoice(entry->id, static_cast<int>(i));
            }
            break;
        case InputKind::File:
            inputs.setFile(entry->id, {value, std::nullopt});
            break;
        case InputKind::Design:
            break;
        }
    }
    return inputs;
}

}  // namespace tivora::performance
