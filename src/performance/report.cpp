#include "report.h"

#include "physics.h"
#include "site_wind_report.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tivora::performance {

namespace {

constexpr ColumnEntry kColumns[] = {
    {Column::WindSpeed, "Wind speed", Quantity::WindSpeed, 1},
    {Column::Rpm, "Rotor speed", Quantity::Rpm, 1},
    {Column::RotorPower, "Rotor power", Quantity::Power, 1},
    {Column::DeliveredPower, "Delivered power", Quantity::Power, 1},
    {Column::Loss, "Lost between", Quantity::Power, 1},
    {Column::Cp, "Cp", Quantity::None, 4},
    {Column::Torque, "Rotor torque", Quantity::Torque, 2},
    {Column::State, "State", Quantity::None, 0},
    {Column::TipSpeed, "Tip speed", Quantity::WindSpeed, 1},
    {Column::PastTipSpeedLimit, "Tip-speed limit", Quantity::None, 0},
    {Column::Yaw, "Furled out of the wind", Quantity::Angle, 1},
    {Column::RunawayRpm, "Runaway rotor speed", Quantity::Rpm, 0},
    {Column::Current, "Current", Quantity::Current, 1},
    {Column::CopperLoss, "Copper loss", Quantity::Power, 1},
    {Column::RectifierLoss, "Rectifier loss", Quantity::Power, 1},
    {Column::Efficiency, "Efficiency", Quantity::None, 3},
    {Column::Thrust, "Rotor thrust", Quantity::Force, 1},
    {Column::RootMoment, "Blade root bending moment", Quantity::Torque, 1},
    {Column::CentrifugalForce, "Centrifugal force at the root", Quantity::Force, 0},
};

// The largest of a row's figure over a curve.
double largest(const std::vector<PowerCurveRow>& rows, double PowerCurveRow::*figure)
{
    double most = 0;
    for (const PowerCurveRow& row : rows)
        most = std::max(most, row.*figure);
    return most;
}

void addIf(std::vector<Figure>& figures, std::string_view key, std::string caption, std::optional<double> value,
           Quantity quantity, int decimals)
{
    if (value)
        figures.push_back({key, std::move(caption), *value, quantity, decimals, decimals});
}

// What limits the machine, for one running: where its tip passes the limit,
// where it overheats, where the unloaded rotor's tip does, its largest loads.
void addRunningLimits(std::vector<Figure>& figures, const std::vector<PowerCurveRow>& rows, const Runaway& runaway,
                      bool alternator, const std::string& on)
{
    addIf(figures, "tip-past-limit", "Wind speed at which the tip passes the limit" + on, firstPastTipLimit(rows),
          Quantity::WindSpeed, 1);
    if (alternator)
        addIf(figures, "overheating-from", "Wind speed from which the winding overheats" + on, firstOverheating(rows),
              Quantity::WindSpeed, 1);
    addIf(figures, "runaway-past-limit", "Wind speed at which the unloaded rotor's tip passes the limit" + on,
          runaway.pastLimitMps, Quantity::WindSpeed, 1);
    figures.push_back(
        {"largest-thrust", "Largest rotor thrust" + on, largest(rows, &PowerCurveRow::thrustN), Quantity::Force, 1, 1});
    figures.push_back({"largest-root-moment", "Largest blade root bending moment" + on,
                       largest(rows, &PowerCurveRow::rootMomentNm), Quantity::Torque, 1, 1});
    figures.push_back({"largest-centrifugal-force", "Largest centrifugal force at the root" + on,
                       largest(rows, &PowerCurveRow::centrifugalN), Quantity::Force, 0, 0});
}

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
    addAlternatorFigures(a, figures);

    // What limits the machine.
    addIf(figures, "furl-onset", "Furl onset", a.limits.furlOnsetMps, Quantity::WindSpeed, 1);
    figures.push_back(
        {"runaway-tsr", "Tip speed ratio at which Cp falls to zero", a.runaway().tsr, Quantity::None, 2, 2});
    figures.push_back({"winding-ohm-warm", "Winding resistance at the winding temperature", a.warmWindingOhms,
                       Quantity::Resistance, 3, 4});
    figures.push_back({"current-rating", "Current rating", a.limits.currentRatingAmps, Quantity::Current, 1, 2});
    if (scope == FigureScope::Shown) {
        if (a.limits.furlOnsetMps)
            figures.push_back(
                {"furl-thrust", "Thrust the tail is set to hold", a.onsetThrustN(), Quantity::Force, 1, 1});
        addRunningLimits(figures, a.curve(), a.runaway(), a.onAlternator, "");
        if (a.onAlternator)
            figures.push_back({"unrated-energy", "Annual energy were the overheating current counted",
                               a.alternatorUnratedKWh, Quantity::Energy, 0, 1});
    } else {
        // The window and the sheet list the inputs beside the figures; the command line does not.
        figures.push_back({"tip-speed-limit", "Tip-speed limit", a.limits.tipSpeedLimitMps, Quantity::WindSpeed, 0, 1});
        figures.push_back({"survival-wind", "Survival wind", a.survivalWindMps, Quantity::WindSpeed, 1, 1});
        addRunningLimits(figures, a.heldCurve, a.heldRunaway, false, " held at the tip speed ratio");
        addRunningLimits(figures, a.alternatorCurve, a.alternatorRunaway, true, " on the alternator");
        figures.push_back({"unrated-energy", "Annual energy on the alternator were the overheating current counted",
                           a.alternatorUnratedKWh, Quantity::Energy, 0, 1});
    }
    figures.push_back({"root-moment", "Blade root bending moment at the design wind speed", a.designRootMomentNm,
                       Quantity::Torque, 1, 1});
    figures.push_back({"blade-mass", "Blade mass", a.limits.bladeMassKg, Quantity::Mass, 2, 3});
    figures.push_back(
        {"blade-centre", "Radius of the blade's centre of mass", a.limits.bladeCentreM, Quantity::Length, 3, 3});
    figures.push_back(
        {"parked-thrust", "Parked rotor's thrust at the survival wind", a.parked.thrustN, Quantity::Force, 0, 1});
    figures.push_back({"parked-root-moment", "Parked blade's root bending moment at the survival wind",
                       a.parked.rootMomentNm, Quantity::Torque, 0, 1});
    figures.push_back({"reynolds-three-quarters", "Reynolds number at three quarters of the radius",
                       a.reynoldsAtThreeQuarters, Quantity::None, 0, 0});
    addIf(figures, "polar-reynolds", "Reynolds number of the polar", a.polarReynolds, Quantity::None, 0);
    if (a.trimCost) {
        figures.push_back({"untrimmed-highest-cp", "Highest Cp of the blade as solved", a.trimCost->peakCpBefore,
                           Quantity::None, 3, 4});
        if (scope == FigureScope::Shown) {
            const CurveEnergy& before = a.onAlternator ? a.trimCost->alternatorBefore : a.trimCost->heldBefore;
            figures.push_back({"untrimmed-energy", "Annual energy of the blade as solved", before.energy.kilowattHours,
                               Quantity::Energy, 0, 1});
        } else {
            figures.push_back({"untrimmed-held-energy",
                               "Annual energy held at the tip speed ratio of the blade as solved",
                               a.trimCost->heldBefore.energy.kilowattHours, Quantity::Energy, 0, 1});
            figures.push_back({"untrimmed-alternator-energy", "Annual energy on the alternator of the blade as solved",
                               a.trimCost->alternatorBefore.energy.kilowattHours, Quantity::Energy, 0, 1});
        }
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

std::span<const ColumnEntry> powerCurveColumns()
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
    case Column::TipSpeed:
        return row.tipSpeedMps;
    case Column::PastTipSpeedLimit:
        return row.pastTipSpeedLimit ? 1 : 0;
    case Column::Yaw:
        return row.yawDegrees;
    case Column::RunawayRpm:
        return row.runawayRpm;
    case Column::Current:
        return row.currentAmps;
    case Column::CopperLoss:
        return row.copperWatts;
    case Column::RectifierLoss:
        return row.rectifierWatts;
    case Column::Efficiency:
        return row.efficiency;
    case Column::Thrust:
        return row.thrustN;
    case Column::RootMoment:
        return row.rootMomentNm;
    case Column::CentrifugalForce:
        return row.centrifugalN;
    }
    return 0;
}

std::optional<std::string_view> columnWords(Column column, const PowerCurveRow& row)
{
    if (column == Column::State)
        return stateWords(row.state);
    if (column == Column::PastTipSpeedLimit)
        return row.pastTipSpeedLimit ? "passed" : "";
    return std::nullopt;
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
    case OperatingState::Furled:
        return "furled";
    case OperatingState::Overheating:
        return "overheating";
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
