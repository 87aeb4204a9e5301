#include "report.h"

#include "physics.h"
#include "site_wind_report.h"

#include <charconv>
#include <cmath>

namespace tivora::performance {

namespace {

constexpr ColumnSpec kColumns[] = {
    {Column::WindSpeed, "Wind speed", Quantity::WindSpeed, 1},
    {Column::Rpm, "Rotor speed", Quantity::Rpm, 1},
    {Column::RotorPower, "Rotor power", Quantity::Power, 1},
    {Column::DeliveredPower, "Delivered power", Quantity::Power, 1},
    {Column::Loss, "Lost between", Quantity::Power, 1},
    {Column::Cp, "Cp", Quantity::None, 4},
    {Column::Torque, "Rotor torque", Quantity::Torque, 2},
    {Column::State, "State", Quantity::None, 0},
};

}  // namespace

std::vector<Figure> analysisFigures(const Analysis& a, FigureScope scope)
{
    std::vector<Figure> figures = {
        {"air-density", "Air density", a.densityKgM3, Quantity::Density, 3, 4},
        {"air-temperature", a.standardTemperature ? "Air temperature of the standard atmosphere" : "Air temperature",
         a.temperatureCelsius, Quantity::Temperature, 1, 1},
        {"highest-cp", "Highest Cp", a.cp.peakCp, Quantity::None, 3, 4},
        {"tsr-of-highest-cp", "Tip speed ratio of the highest Cp", a.cp.peakTsr, Quantity::None, 2, 2},
        {"design-tsr", "Design tip speed ratio", a.designTsr, Quantity::None, -1, -1},
        {"cp-at-design-tsr", "Cp at the design tip speed ratio", a.designCp, Quantity::None, 3, 4},
        {"typed-efficiency", "Blade efficiency typed", a.typedEfficiency, Quantity::None, -1, -1},
        {"generator-power", "Generator power Solve! wrote", a.generatorWatts, Quantity::Power, 1, 1},
        {"blade-power", "Blade power at the design wind speed", a.design.power, Quantity::Power, 1, 1},
        {"thrust", "Thrust at the design wind speed", a.design.thrust, Quantity::Force, 1, 1},
    };
    // The captions hold no comma: the command line writes them as CSV cells.
    if (scope == FigureScope::Shown) {
        figures.push_back({"cut-in", "Cut-in wind speed", a.cutIn().windMps, Quantity::WindSpeed, 1, 1});
        figures.push_back({"cut-in-rpm", "Cut-in rotor speed", a.cutIn().rpm, Quantity::Rpm, 0, 1});
        if (!a.onAlternator)
            figures.push_back({"rated-power", "Rated power", a.held.ratedWatts, Quantity::Power, 1, 1});
        // The command line writes the site's wind in sections of its own.
        for (const auto& more : {siteWindFigures(a), siteEnergyFigures(a)})
            figures.insert(figures.end(), more.begin(), more.end());
    } else {
        figures.push_back({"held-cut-in", "Cut-in wind speed held at the tip speed ratio", a.heldCutIn.windMps,
                           Quantity::WindSpeed, 1, 1});
        figures.push_back(
            {"rated-power", "Rated power held at the tip speed ratio", a.held.ratedWatts, Quantity::Power, 1, 1});
        figures.push_back({"alternator-cut-in", "Cut-in wind speed on the alternator", a.alternatorCutIn.windMps,
                           Quantity::WindSpeed, 1, 1});
        figures.push_back({"alternator-cut-in-rpm", "Alternator cut-in", a.alternator.cutInRpm(), Quantity::Rpm, 0, 1});
    }
    return figures;
}

std::vector<EnergyRow> energyRows(const Analysis& a, FigureScope scope)
{
    std::vector<EnergyRow> rows;
    if (scope == FigureScope::Every || !a.onAlternator)
        rows.push_back({"held", "Held at the design tip speed ratio", a.heldEnergy});
    if (scope == FigureScope::Every || a.onAlternator)
        rows.push_back({"alternator", "On the alternator", a.alternatorEnergy});
    if (a.measured)
        rows.push_back({"measured", "Measured", a.measured->energy});
    return rows;
}

std::span<const ColumnSpec> powerCurveColumns()
{
    return kColumns;
}

double columnValue(Column column, const PowerCurveRow& row)
{
    switch (column) {
    case Column::WindSpeed:
        return row.windMps;
    case Column::Rpm:
        return row.rpm;
    case Column::RotorPower:
        return row.rotorWatts;
    case Column::DeliveredPower:
        return row.deliveredWatts;
    case Column::Loss:
        return row.lossWatts;
    case Column::Cp:
        return row.cp;
    case Column::Torque:
        return row.torqueNm;
    case Column::State:
        return static_cast<double>(row.state);
    }
    return 0;
}

std::string_view stateWords(OperatingState state)
{
    switch (state) {
    case OperatingState::BelowCutIn:
        return "below cut-in";
    case OperatingState::Held:
        return "held";
    case OperatingState::AtRated:
        return "at rated power";
    case OperatingState::CutOut:
        return "cut out";
    case OperatingState::Charging:
        return "charging";
    case OperatingState::Stalled:
        return "stalled";
    case OperatingState::Runaway:
        return "runaway";
    }
    return "";
}

std::string_view basisWords(CapacityBasis basis)
{
    return basis == CapacityBasis::RatedPower ? "the rated power" : "the largest power delivered";
}

std::string figureText(double value, int decimals, const NumberFormat& format)
{
    if (decimals < 0)
        return formatNumber(value, format);
    char text[64];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    std::string out = error == std::errc() ? std::string(text, end) : formatNumber(value, format);
    if (out.find_first_not_of("-0.") == std::string::npos && out.front() == '-')
        out.erase(0, 1);
    if (const auto point = out.find('.'); point != std::string::npos)
        out.replace(point, 1, format.decimalSeparator);
    return out;
}

}  // namespace tivora::performance
