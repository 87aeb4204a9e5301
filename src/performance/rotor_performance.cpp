#include "rotor_performance.h"

#include "sheet/unit_conversions.h"
#include "site.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tivora::performance {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kMatchingSamples = 80;

double rpmOf(double tsr, double windSpeed, double tipRadius)
{
    return tsr * windSpeed / tipRadius * 60 / (2 * kPi);
}

// Where the unloaded rotor runs: the tip speed ratio at which its Cp falls
// back to zero, or the curve's last.
double freeRunningTsr(const CpCurve& curve)
{
    for (std::size_t i = 1; i < curve.points.size(); ++i) {
        const CpPoint &a = curve.points[i - 1], &b = curve.points[i];
        if (a.tsr > curve.peakTsr && a.cp > 0 && b.cp <= 0)
            return a.tsr + a.cp / (a.cp - b.cp) * (b.tsr - a.tsr);
    }
    return curve.points.back().tsr;
}

MatchingCurve matchingCurve(const CpCurve& curve, const Alternator& alternator, double windSpeed, double tipRadius,
                            double density, double topRpm)
{
    const double area = kPi * tipRadius * tipRadius;
    const double windPower = 0.5 * density * area * windSpeed * windSpeed * windSpeed;
    MatchingCurve out{windSpeed, {}, {rpmOf(curve.peakTsr, windSpeed, tipRadius), curve.peakCp * windPower}, {}};
    for (int i = 0; i <= kMatchingSamples; ++i) {
        const double rpm = topRpm * i / kMatchingSamples;
        const double tsr = rpm * 2 * kPi / 60 * tipRadius / windSpeed;
        if (tsr > curve.points.back().tsr)
            break;
        out.points.push_back({rpm, std::max(0.0, cpAt(curve, tsr)) * windPower});
    }
    // The first fall of the rotor's surplus through zero above the cut-in.
    for (std::size_t i = 1; i < out.points.size(); ++i) {
        const MatchingPoint &a = out.points[i - 1], &b = out.points[i];
        if (b.rpm <= alternator.cutInRpm())
            continue;
        const double surplusA = a.power - alternator.shaftPower(a.rpm);
        const double surplusB = b.power - alternator.shaftPower(b.rpm);
        if (surplusA > 0 && surplusB <= 0) {
            const double t = surplusA / (surplusA - surplusB);
            out.crossing = MatchingPoint{a.rpm + t * (b.rpm - a.rpm), a.power + t * (b.power - a.power)};
            break;
        }
    }
    return out;
}

}  // namespace

std::vector<double> matchingWindSpeeds(UnitSystem system)
{
    std::vector<double> speeds;
    switch (system) {
    case UnitSystem::SI:
        for (int v = 3; v <= 12; ++v)
            speeds.push_back(v);
        break;
    case UnitSystem::Metric:
        for (int v = 10; v <= 45; v += 5)
            speeds.push_back(v / 3.6);
        break;
    case UnitSystem::Imperial:
        for (int v = 6; v <= 26; v += 2)
            speeds.push_back(v / units::kMphPerMetrePerSecond);
        break;
    }
    return speeds;
}

Result<RotorPerformance> analysePerformance(const DesignSheet& sheet, const PerformanceInputs& inputs,
                                            UnitSystem shownSystem)
{
    Result<Blade> blade = bladeFromSheet(sheet);
    if (!blade)
        return blade.problem();
    double tsr = 0, cl = 0, alpha = 0, efficiency = 0, designPower = 0;
    try {
        tsr = readNumber(sheet, Field::Tsr);
        cl = readNumber(sheet, Field::Cl);
        alpha = readNumber(sheet, Field::Alpha);
        efficiency = readNumber(sheet, Field::Efficiency);
        designPower = readNumber(sheet, Field::Power);
    } catch (const StepFailure& failure) {
        return Problem{ProblemKind::SheetNotSolved,
                       "the field " + std::string(nameOf(failure.failure().field)) + " holds no number"};
    }
    const double ratio = aspectRatio(*blade);
    Result<Airfoil> airfoil = inputs.polarText ? readPolar(*inputs.polarText, ratio)
                                               : simpleAirfoil({cl, alpha, inputs.clMax, inputs.glideRatio}, ratio);
    if (!airfoil)
        return airfoil.problem();
    const Result<double> density = airDensity(inputs.altitude, inputs.temperature);
    if (!density)
        return density.problem();
    const Result<WindDistribution> site = windDistribution(inputs.meanWindSpeed, inputs.weibullShape);
    if (!site)
        return site.problem();
    const Result<Alternator> alternator = checkedAlternator(inputs.alternator);
    if (!alternator)
        return alternator.problem();

    RotorPerformance out;
    out.density = *density;
    out.cp = cpCurve(*blade, *airfoil);
    out.designTsr = tsr;
    out.designCp = rotorCoefficients(*blade, *airfoil, tsr).cp;
    out.typedEfficiency = efficiency;
    out.ratedPower = inputs.ratedPower.value_or(designPower);
    const double tip = blade->tipRadius();
    if (inputs.onAlternator) {
        for (const AlternatorRow& row : alternatorPowerCurve(out.cp, *alternator, tip, *density))
            out.powerCurve.push_back(row.row);
    } else {
        const HeldRunning running{tsr, inputs.cutIn, inputs.cutOut, out.ratedPower};
        Result<std::vector<PowerCurveRow>> held = heldPowerCurve(running, out.designCp, tip, *density);
        if (!held)
            return held.problem();
        out.powerCurve = std::move(held.value());
        out.cutIn = inputs.cutIn;
        out.cutOut = inputs.cutOut;
    }
    std::vector<PowerCurvePoint> delivered;
    for (const PowerCurveRow& row : out.powerCurve)
        delivered.push_back({row.windSpeed, row.deliveredPower});
    out.energy = annualEnergy(delivered, *site);
    if (inputs.measured) {
        out.measured = onBins(*inputs.measured);
        out.measuredEnergy = annualEnergy(out.measured, *site);
    }

    const std::vector<double> speeds = matchingWindSpeeds(shownSystem);
    const double topRpm = rpmOf(freeRunningTsr(out.cp), speeds.back(), tip);
    for (double v : speeds)
        out.matching.push_back(matchingCurve(out.cp, *alternator, v, tip, *density, topRpm));
    for (int i = 0; i <= kMatchingSamples; ++i) {
        const double rpm = alternator->cutInRpm() + (topRpm - alternator->cutInRpm()) * i / kMatchingSamples;
        if (rpm > topRpm)
            break;
        out.alternatorLine.push_back({rpm, alternator->shaftPower(rpm)});
    }
    return out;
}

std::string unitOf(SiteQuantity quantity, UnitSystem system)
{
    switch (quantity) {
    case SiteQuantity::WindSpeed:
        return system == UnitSystem::SI ? "m/s" : system == UnitSystem::Metric ? "km/h" : "mph";
    case SiteQuantity::Altitude:
        return system == UnitSystem::Imperial ? "ft" : "m";
    case SiteQuantity::Temperature:
        return system == UnitSystem::Imperial ? "°F" : "°C";
    }
    return {};
}

double shownFromSi(SiteQuantity quantity, UnitSystem system, double si)
{
    switch (quantity) {
    case SiteQuantity::WindSpeed:
        return system == UnitSystem::SI       ? si
               : system == UnitSystem::Metric ? si * 3.6
                                              : si * units::kMphPerMetrePerSecond;
    case SiteQuantity::Altitude:
        return system == UnitSystem::Imperial ? si * units::kFeetPerMetre : si;
    case SiteQuantity::Temperature:
        return system == UnitSystem::Imperial ? si * 9 / 5 + 32 : si;
    }
    return si;
}

double siFromShown(SiteQuantity quantity, UnitSystem system, double shown)
{
    switch (quantity) {
    case SiteQuantity::WindSpeed:
        return system == UnitSystem::SI       ? shown
               : system == UnitSystem::Metric ? shown / 3.6
                                              : shown / units::kMphPerMetrePerSecond;
    case SiteQuantity::Altitude:
        return system == UnitSystem::Imperial ? shown / units::kFeetPerMetre : shown;
    case SiteQuantity::Temperature:
        return system == UnitSystem::Imperial ? (shown - 32) * 5 / 9 : shown;
    }
    return shown;
}

std::optional<std::string> senselessReason(PerformanceInput input, double si, const PerformanceInputs& all)
{
    const auto outside = [si](double low, double high) { return !(si >= low && si <= high); };
    switch (input) {
    case PerformanceInput::MeanWindSpeed:
        if (outside(0.5, 20))
            return "A site's yearly mean wind speed lies between 0.5 and 20 m/s.";
        break;
    case PerformanceInput::WeibullShape:
        if (outside(1, 4))
            return "The winds of real sites have a Weibull shape between 1 and 4 (2 is Rayleigh's).";
        break;
    case PerformanceInput::Altitude:
        if (outside(-430, 6000))
            return "Places people live lie between 430 m below and 6000 m above the sea.";
        break;
    case PerformanceInput::Temperature:
        if (outside(-60, 55))
            return "Air near the ground lies between -60 and 55 °C.";
        break;
    case PerformanceInput::ClMax:
        if (outside(0.3, 2.5))
            return "A single airfoil's maximum lift coefficient lies between 0.3 and 2.5.";
        break;
    case PerformanceInput::GlideRatio:
        if (outside(1, 200))
            return "An airfoil's glide ratio L/D lies between 1 and 200.";
        break;
    case PerformanceInput::CutIn:
        if (!(si > 0 && si < all.cutOut))
            return "The cut-in wind speed must be above 0 and below the cut-out.";
        break;
    case PerformanceInput::RatedPower:
        if (!(si > 0))
            return "The rated power must be above 0.";
        break;
    case PerformanceInput::CutOut:
        if (!(si > all.cutIn && si <= 40))
            return "The cut-out wind speed must be above the cut-in and at most 40 m/s.";
        break;
    case PerformanceInput::VoltsPerRpm:
        if (!(si > 0))
            return "The alternator's volts per rpm must be above 0.";
        break;
    case PerformanceInput::BatteryVolts:
        if (!(si > 0))
            return "The battery voltage must be above 0.";
        break;
    case PerformanceInput::WindingResistance:
        if (!(si > 0))
            return "The winding resistance must be above 0.";
        break;
    }
    return std::nullopt;
}

}  // namespace tivora::performance
