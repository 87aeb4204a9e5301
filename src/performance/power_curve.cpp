#include "power_curve.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace tivora::performance {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kGridStart = 0.5, kGridEnd = 15, kGridStep = 0.25;
constexpr double kBinWidth = 0.5, kLastBin = 25;

double radPerSecFromRpm(double rpm)
{
    return rpm * 2 * kPi / 60;
}
double rpmFromRadPerSec(double omega)
{
    return omega * 60 / (2 * kPi);
}

// Golden-section search for the maximum of a unimodal f on [a, b].
template <class F>
std::pair<double, double> goldenMaximum(F f, double a, double b, double tolerance)
{
    const double ratio = (std::sqrt(5.0) - 1) / 2;
    double x1 = b - ratio * (b - a), x2 = a + ratio * (b - a);
    double f1 = f(x1), f2 = f(x2);
    while (b - a > tolerance) {
        if (f1 < f2) {
            a = x1;
            x1 = x2;
            f1 = f2;
            x2 = a + ratio * (b - a);
            f2 = f(x2);
        } else {
            b = x2;
            x2 = x1;
            f2 = f1;
            x1 = b - ratio * (b - a);
            f1 = f(x1);
        }
    }
    return f1 > f2 ? std::pair{x1, f1} : std::pair{x2, f2};
}

}  // namespace

CpCurve cpCurve(const Blade& blade, const Airfoil& airfoil, Losses losses)
{
    CpCurve curve;
    const int steps = static_cast<int>(std::lround((kGridEnd - kGridStart) / kGridStep));
    for (int i = 0; i <= steps; ++i) {
        const double tsr = kGridStart + i * kGridStep;
        const RotorCoefficients c = rotorCoefficients(blade, airfoil, tsr, losses);
        curve.residualEvaluations += c.residualEvaluations;
        curve.points.push_back({tsr, c.cp, c.ct, c.cq});
    }
    const auto best = std::max_element(curve.points.begin(), curve.points.end(),
                                       [](const CpPoint& x, const CpPoint& y) { return x.cp < y.cp; });
    const double from = best == curve.points.begin() ? best->tsr : std::prev(best)->tsr;
    const double to = std::next(best) == curve.points.end() ? best->tsr : std::next(best)->tsr;
    const auto [tsr, cp] = goldenMaximum(
        [&](double x) {
            const RotorCoefficients c = rotorCoefficients(blade, airfoil, x, losses);
            curve.residualEvaluations += c.residualEvaluations;
            return c.cp;
        },
        from, to, 0.001);
    curve.peakTsr = cp > best->cp ? tsr : best->tsr;
    curve.peakCp = std::max(cp, best->cp);
    return curve;
}

double cpAt(const CpCurve& curve, double tsr)
{
    const auto& p = curve.points;
    if (tsr <= 0)
        return 0;
    if (tsr < p.front().tsr)
        return p.front().cp * tsr / p.front().tsr;
    std::size_t i = 1;
    while (i + 1 < p.size() && p[i].tsr < tsr)
        ++i;
    const double t = (tsr - p[i - 1].tsr) / (p[i].tsr - p[i - 1].tsr);
    return p[i - 1].cp + t * (p[i].cp - p[i - 1].cp);
}

std::vector<double> windSpeedBins()
{
    std::vector<double> bins;
    for (int i = 0; i * kBinWidth <= kLastBin; ++i)
        bins.push_back(i * kBinWidth);
    return bins;
}

Result<std::vector<PowerCurveRow>> heldPowerCurve(const HeldRunning& running, double cpAtTsr, double tipRadius,
                                                  double density)
{
    if (!std::isfinite(running.tsr) || running.tsr <= 0)
        return Problem{ProblemKind::OperatingNotUsable, "the tip speed ratio must be above 0"};
    if (!std::isfinite(running.cutIn) || !std::isfinite(running.cutOut) || running.cutIn < 0 ||
        running.cutOut <= running.cutIn)
        return Problem{ProblemKind::OperatingNotUsable,
                       "the cut-out wind speed must be above the cut-in, both 0 or more"};
    if (!std::isfinite(running.ratedPower) || running.ratedPower <= 0)
        return Problem{ProblemKind::OperatingNotUsable, "the rated power must be above 0"};
    if (!std::isfinite(tipRadius) || tipRadius <= 0 || !std::isfinite(density) || density <= 0)
        return Problem{ProblemKind::OperatingNotUsable, "the tip radius and air density must be above 0"};
    std::vector<PowerCurveRow> rows;
    const double area = kPi * tipRadius * tipRadius;
    for (double v : windSpeedBins()) {
        PowerCurveRow row{v, 0, 0, 0, 0, 0};
        if (v > 0 && v >= running.cutIn && v <= running.cutOut) {
            const double omega = running.tsr * v / tipRadius;
            row.rpm = rpmFromRadPerSec(omega);
            row.cp = cpAtTsr;
            row.rotorPower = cpAtTsr * 0.5 * density * area * v * v * v;
            row.deliveredPower = std::clamp(row.rotorPower, 0.0, running.ratedPower);
            row.torque = row.rotorPower / omega;
        }
        rows.push_back(row);
    }
    return rows;
}

double Alternator::current(double rpm) const
{
    return std::max(0.0, (voltsPerRpm * rpm - batteryVolts - rectifierDrop) / windingResistance);
}

double Alternator::shaftPower(double rpm) const
{
    const double i = current(rpm);
    return (batteryVolts + rectifierDrop) * i + i * i * windingResistance;
}

Result<Alternator> checkedAlternator(const Alternator& a)
{
    if (!std::isfinite(a.voltsPerRpm) || a.voltsPerRpm <= 0)
        return Problem{ProblemKind::GeneratorNotUsable, "the alternator's volts per rpm must be above 0"};
    if (!std::isfinite(a.batteryVolts) || a.batteryVolts <= 0)
        return Problem{ProblemKind::GeneratorNotUsable, "the battery voltage must be above 0"};
    if (!std::isfinite(a.rectifierDrop) || a.rectifierDrop < 0)
        return Problem{ProblemKind::GeneratorNotUsable, "the rectifier drop must be 0 or more"};
    if (!std::isfinite(a.windingResistance) || a.windingResistance <= 0)
        return Problem{ProblemKind::GeneratorNotUsable, "the winding resistance must be above 0"};
    return a;
}

std::vector<AlternatorRow> alternatorPowerCurve(const CpCurve& curve, const Alternator& alternator, double tipRadius,
                                                double density)
{
    std::vector<AlternatorRow> rows;
    const double area = kPi * tipRadius * tipRadius;
    // The unloaded rotor speeds up until its power coefficient falls to zero.
    double freeTsr = curve.points.back().tsr;
    for (std::size_t i = 1; i < curve.points.size(); ++i) {
        const CpPoint &a = curve.points[i - 1], &b = curve.points[i];
        if (a.cp > 0 && b.cp <= 0) {
            freeTsr = a.tsr + a.cp / (a.cp - b.cp) * (b.tsr - a.tsr);
            break;
        }
    }
    for (double v : windSpeedBins()) {
        AlternatorRow out{{v, 0, 0, 0, 0, 0}, AlternatorState::BelowCutIn};
        if (v <= 0) {
            rows.push_back(out);
            continue;
        }
        const auto rpmAt = [&](double tsr) { return rpmFromRadPerSec(tsr * v / tipRadius); };
        const auto tsrAt = [&](double rpm) { return radPerSecFromRpm(rpm) * tipRadius / v; };
        const auto rotorPower = [&](double tsr) { return cpAt(curve, tsr) * 0.5 * density * area * v * v * v; };
        // Rotor power less what the alternator takes, at a tip speed ratio.
        const auto surplus = [&](double tsr) { return rotorPower(tsr) - alternator.shaftPower(rpmAt(tsr)); };
        const double cutInTsr = tsrAt(alternator.cutInRpm());
        double tsr = freeTsr;
        if (cutInTsr < freeTsr) {
            // Step up from cut-in to the first crossing, then bisect it.
            out.state = AlternatorState::Runaway;
            const double step = 0.05;
            double lo = cutInTsr, fLo = surplus(lo);
            while (lo < freeTsr) {
                const double hi = std::min(lo + step, freeTsr);
                const double fHi = surplus(hi);
                if (fHi <= 0) {
                    double a = lo, b = hi, fa = fLo;
                    for (int i = 0; i < 60 && b - a > 1e-9; ++i) {
                        const double m = (a + b) / 2;
                        const double fm = surplus(m);
                        if ((fm > 0) == (fa > 0)) {
                            a = m;
                            fa = fm;
                        } else {
                            b = m;
                        }
                    }
                    tsr = (a + b) / 2;
                    out.state = tsr < curve.peakTsr ? AlternatorState::Stalled : AlternatorState::Charging;
                    break;
                }
                lo = hi;
                fLo = fHi;
            }
        }
        const double rpm = rpmAt(tsr);
        out.row.rpm = rpm;
        if (out.state != AlternatorState::BelowCutIn) {
            out.row.rotorPower = rotorPower(tsr);
            out.row.deliveredPower = alternator.batteryPower(rpm);
            out.row.cp = cpAt(curve, tsr);
            out.row.torque = out.row.rotorPower / radPerSecFromRpm(rpm);
        }
        rows.push_back(out);
    }
    return rows;
}

}  // namespace tivora::performance
