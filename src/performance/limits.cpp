#include "limits.h"

#include "numeric.h"
#include "physics.h"

#include <algorithm>
#include <cmath>

namespace tivora::performance {

namespace {

// Sutherland's constants as the U.S. Standard Atmosphere (1976) gives them.
constexpr double kSutherlandViscosity = 1.716e-5;  // Pa·s at the reference temperature
constexpr double kSutherlandReference = 273.15;    // K
constexpr double kSutherlandConstant = 110.4;      // K

// The regulated rotor's tip speed ratio is bracketed in steps of this from
// the design's down: fine enough that no crossing and its return fit in one.
constexpr double kRegulationScanStep = 0.05;

PowerCurveRow stillRow(double windMps, OperatingState state)
{
    PowerCurveRow row{};
    row.windMps = windMps;
    row.state = state;
    return row;
}

double coefficientAt(const CpCurve& curve, double tsr, double CpPoint::*member)
{
    const CpPoint &first = curve.points.front(), &last = curve.points.back();
    if (tsr <= first.tsr)
        return first.*member;
    if (tsr >= last.tsr)
        return last.*member;
    return numeric::interpolate(
        curve.points, tsr, [](const CpPoint& p) { return p.tsr; }, [member](const CpPoint& p) { return p.*member; });
}

// The furled rotor's yaw at a wind speed, and the wind along its axis.
struct Facing {
    double yawRadians = 0;
    double axialMps = 0;
};
Facing facing(const Limits& limits, double windMps)
{
    const double yaw = limits.furlOnsetMps ? furlAngleRadians(*limits.furlOnsetMps, windMps) : 0;
    return {yaw, windMps * std::cos(yaw)};
}

// The tip speed, the centrifugal force and, where it turns in the wind, the
// rotor's thrust and one blade's root moment at its tip speed ratio to the
// wind along its axis: the yawed rotor's share of the rotor facing the wind.
void addSpeedsAndLoads(PowerCurveRow& row, const CpCurve& curve, const Limits& limits, const Facing& at,
                       double tipRadiusM, double densityKgM3)
{
    const double omega = radPerSecFromRpm(row.rpm);
    row.tipSpeedMps = omega * tipRadiusM;
    row.pastTipSpeedLimit = row.tipSpeedMps > limits.tipSpeedLimitMps;
    row.yawDegrees = degreesFromRadians(at.yawRadians);
    row.centrifugalN = centrifugalForceN(limits.bladeMassKg, row.rpm, limits.bladeCentreM);
    if (row.rpm <= 0 || at.axialMps <= 0)
        return;
    const double tsr = omega * tipRadiusM / at.axialMps;
    const double facingWind = 0.5 * densityKgM3 * row.windMps * row.windMps;
    const double thrustShare = yawedShare(at.yawRadians).thrust;
    row.thrustN = thrustShare * ctAt(curve, tsr) * facingWind * kPi * tipRadiusM * tipRadiusM;
    row.rootMomentNm = thrustShare * flapAt(curve, tsr) * facingWind * kPi * tipRadiusM * tipRadiusM * tipRadiusM;
}

// Held at the design tip speed ratio to the wind along the axis, slowed into
// stall where it would give more than the rated power.
PowerCurveRow heldRow(const HeldRunning& running, double designCp, const CpCurve& curve, const Facing& at,
                      double windMps, double tipRadiusM, double densityKgM3)
{
    PowerCurveRow row{};
    row.windMps = windMps;
    const double share = yawedShare(at.yawRadians).power;
    const double windPower = windPowerWatts(densityKgM3, tipRadiusM, windMps);
    double tsr = running.tsr;
    double power = share * designCp * windPower;
    row.state = at.yawRadians > 0 ? OperatingState::Furled : OperatingState::Held;
    if (power > running.ratedWatts) {
        // From the design's tip speed ratio down, the first at which the
        // shaft gives the rated power.
        const auto surplus = [&](double x) { return share * cpAt(curve, x) * windPower - running.ratedWatts; };
        const int steps = std::max(1, static_cast<int>(std::ceil(running.tsr / kRegulationScanStep)));
        if (const auto root = numeric::firstRoot(surplus, running.tsr, 0.0, steps, numeric::kCrossingTolerance))
            tsr = root->x;
        power = running.ratedWatts;
        row.state = OperatingState::AtRated;
    }
    row.rpm = rpmAt(tsr, at.axialMps, tipRadiusM);
    row.rotorWatts = power;
    row.deliveredWatts = power;
    row.cp = power / windPower;
    row.torqueNm = row.rpm > 0 ? power / radPerSecFromRpm(row.rpm) : 0;
    row.efficiency = power > 0 ? 1 : 0;
    return row;
}

// The unloaded rotor at every bin, from the thrust the tail is set to hold.
Runaway runawayAt(std::vector<PowerCurveRow>& rows, const CpCurve& curve, const Limits& limits, double onsetThrustN,
                  double tipRadiusM, double densityKgM3)
{
    Runaway runaway;
    runaway.tsr = freeRunningTsr(curve);
    const double freeCt = ctAt(curve, runaway.tsr);
    if (limits.furlOnsetMps && onsetThrustN > 0 && freeCt > 0)
        runaway.furledWindMps = std::sqrt(onsetThrustN / (freeCt * 0.5 * densityKgM3 * kPi * tipRadiusM * tipRadiusM));
    const auto axial = [&](double v) { return runaway.furledWindMps ? std::min(v, *runaway.furledWindMps) : v; };
    for (PowerCurveRow& row : rows)
        row.runawayRpm = row.windMps > 0 ? rpmAt(runaway.tsr, axial(row.windMps), tipRadiusM) : 0;
    const double past = limits.tipSpeedLimitMps / runaway.tsr;
    if (past <= rows.back().windMps && (!runaway.furledWindMps || past < *runaway.furledWindMps))
        runaway.pastLimitMps = past;
    return runaway;
}

}  // namespace

YawedShare yawedShare(double yawRadians)
{
    const double c = std::cos(yawRadians);
    return {c * c * c, c * c};
}

double furlAngleRadians(double onsetMps, double windMps)
{
    return onsetMps > 0 && windMps > onsetMps ? std::acos(onsetMps / windMps) : 0;
}

double copperOhms(double ohmsAt20Celsius, double celsius)
{
    return ohmsAt20Celsius * (1 + kCopperTemperatureCoefficient * (celsius - 20));
}

double airViscosityPaS(double celsius)
{
    const double t = celsius + kCelsiusZero;
    return kSutherlandViscosity * std::pow(t / kSutherlandReference, 1.5) *
           (kSutherlandReference + kSutherlandConstant) / (t + kSutherlandConstant);
}

double reynoldsNumber(double densityKgM3, double speedMps, double chordM, double viscosityPaS)
{
    return densityKgM3 * speedMps * chordM / viscosityPaS;
}

ParkedLoads parkedLoads(int blades, double bladeAreaM2, double tipRadiusM, double densityKgM3, double windMps)
{
    const double q = 0.5 * densityKgM3 * windMps * windMps;
    return {blades * kParkedDragCoefficient * q * bladeAreaM2,
            kParkedDragCoefficient * q / 2 * bladeAreaM2 * tipRadiusM};
}

double centrifugalForceN(double massKg, double rpm, double centreRadiusM)
{
    const double omega = radPerSecFromRpm(rpm);
    return massKg * omega * omega * centreRadiusM;
}

double planformAreaM2(const Blade& blade)
{
    double area = 0;
    for (std::size_t i = 1; i < blade.stations.size(); ++i) {
        const Station &a = blade.stations[i - 1], &b = blade.stations[i];
        area += (a.chord + b.chord) / 2 * (b.radius - a.radius);
    }
    return area;
}

double ctAt(const CpCurve& curve, double tsr)
{
    return coefficientAt(curve, tsr, &CpPoint::ct);
}

double flapAt(const CpCurve& curve, double tsr)
{
    return coefficientAt(curve, tsr, &CpPoint::flap);
}

LimitedCurve heldCurve(const HeldRunning& running, double designCp, const CpCurve& curve, const Limits& limits,
                       double tipRadiusM, double densityKgM3)
{
    LimitedCurve out;
    for (double v : windSpeedBins()) {
        if (v <= 0 || v < running.cutInMps) {
            out.rows.push_back(stillRow(v, OperatingState::BelowCutIn));
            continue;
        }
        if (v > running.cutOutMps) {
            out.rows.push_back(stillRow(v, OperatingState::CutOut));
            continue;
        }
        const Facing at = facing(limits, v);
        PowerCurveRow row = heldRow(running, designCp, curve, at, v, tipRadiusM, densityKgM3);
        addSpeedsAndLoads(row, curve, limits, at, tipRadiusM, densityKgM3);
        out.rows.push_back(row);
    }
    if (limits.furlOnsetMps) {
        const Facing onset{0, *limits.furlOnsetMps};
        PowerCurveRow row = heldRow(running, designCp, curve, onset, onset.axialMps, tipRadiusM, densityKgM3);
        addSpeedsAndLoads(row, curve, limits, onset, tipRadiusM, densityKgM3);
        out.onsetThrustN = row.thrustN;
    }
    out.runaway = runawayAt(out.rows, curve, limits, out.onsetThrustN, tipRadiusM, densityKgM3);
    return out;
}

LimitedCurve alternatorCurve(const CpCurve& curve, const Alternator& alternator, const Limits& limits,
                             double tipRadiusM, double densityKgM3)
{
    LimitedCurve out;
    const auto rowAt = [&](double v, const Facing& at) {
        // The yawed rotor gives what the rotor facing the wind along its
        // axis gives: the share cos³γ of the free wind's power.
        PowerCurveRow row = alternatorRow(curve, alternator, at.axialMps, tipRadiusM, densityKgM3);
        row.windMps = v;
        if (v > 0)
            row.cp = row.rotorWatts / windPowerWatts(densityKgM3, tipRadiusM, v);
        row.currentAmps = alternator.currentAmps(row.rpm);
        row.copperWatts = row.currentAmps * row.currentAmps * alternator.windingOhms;
        row.rectifierWatts = row.currentAmps * alternator.rectifierDropVolts;
        row.efficiency = row.rotorWatts > 0 ? row.deliveredWatts / row.rotorWatts : 0;
        const bool delivering = row.state == OperatingState::Charging || row.state == OperatingState::Stalled;
        if (delivering && row.currentAmps > limits.currentRatingAmps)
            row.state = OperatingState::Overheating;
        else if (row.state == OperatingState::Charging && at.yawRadians > 0)
            row.state = OperatingState::Furled;
        addSpeedsAndLoads(row, curve, limits, at, tipRadiusM, densityKgM3);
        return row;
    };
    for (double v : windSpeedBins())
        out.rows.push_back(rowAt(v, facing(limits, v)));
    if (limits.furlOnsetMps)
        out.onsetThrustN = rowAt(*limits.furlOnsetMps, {0, *limits.furlOnsetMps}).thrustN;
    out.runaway = runawayAt(out.rows, curve, limits, out.onsetThrustN, tipRadiusM, densityKgM3);
    return out;
}

std::optional<double> firstPastTipLimit(const std::vector<PowerCurveRow>& rows)
{
    for (const PowerCurveRow& row : rows) {
        if (row.pastTipSpeedLimit)
            return row.windMps;
    }
    return std::nullopt;
}

std::optional<double> firstOverheating(const std::vector<PowerCurveRow>& rows)
{
    for (const PowerCurveRow& row : rows) {
        if (row.state == OperatingState::Overheating)
            return row.windMps;
    }
    return std::nullopt;
}

}  // namespace tivora::performance
