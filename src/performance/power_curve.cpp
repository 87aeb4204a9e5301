#include "power_curve.h"

#include "measured_curve.h"
#include "numeric.h"
#include "physics.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tivora::performance {

namespace {

constexpr double kGridStart = 0.5, kGridEnd = 15, kGridStep = 0.25;
constexpr double kBinWidth = 0.5, kLastBin = 25;
// The alternator's crossing is bracketed in steps of this tip speed ratio:
// fine enough that no crossing and its return fit in one step.
constexpr double kCrossingScanStep = 0.05;

PowerCurveRow stillRow(double windMps, OperatingState state)
{
    return {windMps, 0, 0, 0, 0, 0, 0, state};
}

}  // namespace

CpCurve cpCurve(const Blade& blade, const Airfoil& airfoil, Losses losses)
{
    CpCurve curve;
    const auto at = [&](double tsr) {
        const RotorCoefficients c = rotorCoefficients(blade, airfoil, tsr, losses);
        curve.residualEvaluations += c.residualEvaluations;
        curve.unsolvedElements += c.unsolvedElements;
        return c;
    };
    const int steps = static_cast<int>(std::lround((kGridEnd - kGridStart) / kGridStep));
    for (int i = 0; i <= steps; ++i) {
        const double tsr = kGridStart + i * kGridStep;
        const RotorCoefficients c = at(tsr);
        curve.points.push_back({tsr, c.cp, c.ct, c.cq, c.flap});
    }
    const auto best = std::max_element(curve.points.begin(), curve.points.end(),
                                       [](const CpPoint& x, const CpPoint& y) { return x.cp < y.cp; });
    const double from = best == curve.points.begin() ? best->tsr : std::prev(best)->tsr;
    const double to = std::next(best) == curve.points.end() ? best->tsr : std::next(best)->tsr;
    const auto [tsr, cp] = numeric::goldenMaximum([&](double x) { return at(x).cp; }, from, to, numeric::kTsrTolerance);
    curve.peakTsr = cp > best->cp ? tsr : best->tsr;
    curve.peakCp = std::max(cp, best->cp);
    return curve;
}

double cpAt(const CpCurve& curve, double tsr)
{
    const CpPoint& first = curve.points.front();
    if (tsr <= 0)
        return 0;
    if (tsr < first.tsr)
        return first.cp * tsr / first.tsr;
    return numeric::interpolate(
        curve.points, tsr, [](const CpPoint& p) { return p.tsr; }, [](const CpPoint& p) { return p.cp; });
}

double freeRunningTsr(const CpCurve& curve)
{
    for (std::size_t i = 1; i < curve.points.size(); ++i) {
        const CpPoint &a = curve.points[i - 1], &b = curve.points[i];
        if (b.tsr > curve.peakTsr && a.cp > 0 && b.cp <= 0)
            return a.tsr + a.cp / (a.cp - b.cp) * (b.tsr - a.tsr);
    }
    return curve.points.back().tsr;
}

std::vector<double> windSpeedBins()
{
    std::vector<double> bins;
    for (int i = 0; i * kBinWidth <= kLastBin; ++i)
        bins.push_back(i * kBinWidth);
    return bins;
}

Result<std::vector<PowerCurveRow>> heldPowerCurve(const HeldRunning& running, double cpAtTsr, double tipRadiusM,
                                                  double densityKgM3)
{
    if (!std::isfinite(running.tsr) || running.tsr <= 0)
        return Problem{ProblemKind::OperatingNotUsable, "the tip speed ratio must be above 0"};
    if (!std::isfinite(running.cutInMps) || !std::isfinite(running.cutOutMps) || running.cutInMps < 0 ||
        running.cutOutMps <= running.cutInMps)
        return Problem{ProblemKind::OperatingNotUsable,
                       "the cut-out wind speed must be above the cut-in, both 0 or more"};
    if (!std::isfinite(running.ratedWatts) || running.ratedWatts <= 0)
        return Problem{ProblemKind::OperatingNotUsable, "the rated power must be above 0"};
    if (!std::isfinite(tipRadiusM) || tipRadiusM <= 0 || !std::isfinite(densityKgM3) || densityKgM3 <= 0)
        return Problem{ProblemKind::OperatingNotUsable, "the tip radius and air density must be above 0"};
    std::vector<PowerCurveRow> rows;
    for (double v : windSpeedBins()) {
        if (v <= 0 || v < running.cutInMps) {
            rows.push_back(stillRow(v, OperatingState::BelowCutIn));
            continue;
        }
        if (v > running.cutOutMps) {
            rows.push_back(stillRow(v, OperatingState::CutOut));
            continue;
        }
        PowerCurveRow row{};
        row.windMps = v;
        const double omega = running.tsr * v / tipRadiusM;
        row.rpm = rpmFromRadPerSec(omega);
        row.cp = cpAtTsr;
        row.rotorWatts = cpAtTsr * windPowerWatts(densityKgM3, tipRadiusM, v);
        row.deliveredWatts = std::clamp(row.rotorWatts, 0.0, running.ratedWatts);
        row.lossWatts = row.rotorWatts - row.deliveredWatts;
        row.torqueNm = row.rotorWatts / omega;
        row.state = row.rotorWatts > running.ratedWatts ? OperatingState::AtRated : OperatingState::Held;
        rows.push_back(row);
    }
    return rows;
}

double Alternator::currentAmps(double rpm) const
{
    return std::max(0.0, (voltsPerRpm * rpm - batteryVolts - rectifierDropVolts) / windingOhms);
}

double Alternator::shaftWatts(double rpm) const
{
    const double i = currentAmps(rpm);
    return (batteryVolts + rectifierDropVolts) * i + i * i * windingOhms;
}

Result<Alternator> checkedAlternator(const Alternator& a)
{
    if (!std::isfinite(a.voltsPerRpm) || a.voltsPerRpm <= 0)
        return Problem{ProblemKind::GeneratorNotUsable, "the alternator's volts per rpm must be above 0"};
    if (!std::isfinite(a.batteryVolts) || a.batteryVolts <= 0)
        return Problem{ProblemKind::GeneratorNotUsable, "the battery voltage must be above 0"};
    if (!std::isfinite(a.rectifierDropVolts) || a.rectifierDropVolts < 0)
        return Problem{ProblemKind::GeneratorNotUsable, "the rectifier drop must be 0 or more"};
    if (!std::isfinite(a.windingOhms) || a.windingOhms <= 0)
        return Problem{ProblemKind::GeneratorNotUsable, "the winding resistance must be above 0"};
    return a;
}

PowerCurveRow alternatorRow(const CpCurve& curve, const Alternator& alternator, double windMps, double tipRadiusM,
                            double densityKgM3)
{
    if (windMps <= 0)
        return stillRow(windMps, OperatingState::BelowCutIn);
    const double windPower = windPowerWatts(densityKgM3, tipRadiusM, windMps);
    const double freeTsr = freeRunningTsr(curve);
    const double cutInTsr = tsrAt(alternator.cutInRpm(), windMps, tipRadiusM);
    PowerCurveRow row{};
    row.windMps = windMps;
    if (cutInTsr >= freeTsr) {
        // The unloaded rotor runs too slowly to reach the battery's voltage.
        row.rpm = rpmAt(freeTsr, windMps, tipRadiusM);
        row.state = OperatingState::BelowCutIn;
        return row;
    }
    // The rotor's power less what the alternator takes, rising from the
    // cut-in: the first fall through zero is where the rotor settles.
    const auto surplus = [&](double tsr) {
        return cpAt(curve, tsr) * windPower - alternator.shaftWatts(rpmAt(tsr, windMps, tipRadiusM));
    };
    const int steps = std::max(1, static_cast<int>(std::ceil((freeTsr - cutInTsr) / kCrossingScanStep)));
    const std::optional<numeric::Root> crossing =
        numeric::firstRoot(surplus, cutInTsr, freeTsr, steps, numeric::kCrossingTolerance);
    if (!crossing) {
        // Faster than the curve reaches: the alternator takes what it takes
        // at the curve's end, and the rest speeds the rotor on.
        row.rpm = rpmAt(freeTsr, windMps, tipRadiusM);
        row.rotorWatts = alternator.shaftWatts(row.rpm);
        row.state = OperatingState::Runaway;
    } else {
        const double tsr = crossing->x;
        row.rpm = rpmAt(tsr, windMps, tipRadiusM);
        row.rotorWatts = cpAt(curve, tsr) * windPower;
        const bool stalled = tsr < curve.peakTsr && row.rotorWatts < kStalledBelowPeakShare * curve.peakCp * windPower;
        row.state = stalled ? OperatingState::Stalled : OperatingState::Charging;
    }
    row.deliveredWatts = alternator.batteryWatts(row.rpm);
    row.lossWatts = row.rotorWatts - row.deliveredWatts;
    row.cp = row.rotorWatts / windPower;
    row.torqueNm = row.rotorWatts / radPerSecFromRpm(row.rpm);
    return row;
}

std::vector<PowerCurveRow> alternatorPowerCurve(const CpCurve& curve, const Alternator& alternator, double tipRadiusM,
                                                double densityKgM3)
{
    std::vector<PowerCurveRow> rows;
    for (double v : windSpeedBins())
        rows.push_back(alternatorRow(curve, alternator, v, tipRadiusM, densityKgM3));
    return rows;
}

}  // namespace tivora::performance
