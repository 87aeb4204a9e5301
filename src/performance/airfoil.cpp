#include "airfoil.h"

#include "text_columns.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace tivora::performance {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDegree = kPi / 180;
// Lift of a reversed section, as a share of the forward one (AirfoilPrep,
// CCBlade).
constexpr double kReversedLift = 0.7;

double wrapAngle(double alpha)
{
    alpha = std::fmod(alpha + kPi, 2 * kPi);
    if (alpha < 0)
        alpha += 2 * kPi;
    return alpha - kPi;
}

}  // namespace

Airfoil Airfoil::extended(std::vector<PolarRow> rows, double aspectRatio)
{
    Airfoil foil;
    foil.rows_ = std::move(rows);
    for (const PolarRow& row : foil.rows_)
        foil.alpha_.push_back(row.alphaDegrees * kDegree);

    // Viterna and Corrigan: the drag of a flat plate at 90°, from the
    // blade's aspect ratio (capped at 50, where it is a wing of infinite span).
    double cdMax = 1.11 + 0.018 * std::min(aspectRatio, 50.0);
    for (const PolarRow& row : foil.rows_)
        cdMax = std::max(cdMax, row.cd);

    const auto stallAt = [&](std::size_t i) {
        const double s = std::sin(foil.alpha_[i]);
        const double c = std::cos(foil.alpha_[i]);
        Side side;
        side.stallAlpha = foil.alpha_[i];
        side.stallCl = foil.rows_[i].cl;
        side.b1 = cdMax;
        side.a1 = cdMax / 2;
        side.a2 = (foil.rows_[i].cl - cdMax * s * c) * s / (c * c);
        side.b2 = (foil.rows_[i].cd - cdMax * s * s) / c;
        return side;
    };
    // Positive stall at the highest lift; negative stall at the lowest lift
    // before it.
    std::size_t top = 0;
    for (std::size_t i = 1; i < foil.rows_.size(); ++i) {
        if (foil.rows_[i].cl > foil.rows_[top].cl)
            top = i;
    }
    std::size_t bottom = 0;
    for (std::size_t i = 1; i < top; ++i) {
        if (foil.rows_[i].cl < foil.rows_[bottom].cl)
            bottom = i;
    }
    foil.positive_ = stallAt(top);
    foil.negative_ = stallAt(bottom);
    // A polar that never stalls on one side, or stalls at an angle of the
    // wrong sign, lends its other side, mirrored.
    // Viterna's lift is odd in the angle with the same constants.
    const auto mirrored = [](Side side) {
        side.stallAlpha = -side.stallAlpha;
        side.stallCl = -side.stallCl;
        return side;
    };
    if (foil.positive_.stallAlpha <= 0 && foil.negative_.stallAlpha < 0)
        foil.positive_ = mirrored(foil.negative_);
    if (foil.negative_.stallAlpha >= 0 && foil.positive_.stallAlpha > 0)
        foil.negative_ = mirrored(foil.positive_);
    if (foil.positive_.stallAlpha <= 0)
        foil.positive_ = stallAt(foil.rows_.size() - 1);
    return foil;
}

// sign: +1 past the last row, -1 before the first.
Airfoil::Coefficients Airfoil::beyond(const Side& side, double alpha, double sign) const
{
    double a1 = side.a1, a2 = side.a2, b2 = side.b2, lift = 1;
    if (std::abs(alpha) >= kPi / 2) {
        // Past 90° the section meets the wind from behind.
        lift = -sign * kReversedLift;
        (sign > 0 ? a1 : a2) *= -1;
        b2 = -b2;
    }
    const double s = std::sin(alpha);
    const double c = std::cos(alpha);
    double cl = s == 0 ? 0 : lift * (a1 * 2 * s * c + a2 * c * c / s);
    const double cd = std::max(side.b1 * s * s + b2 * c, 0.0);
    // Towards ±180° the lift falls straight to zero, as a reversed plate's.
    if (sign * alpha >= kPi - std::abs(side.stallAlpha) && side.stallAlpha != 0)
        cl = (alpha - sign * kPi) / side.stallAlpha * side.stallCl * kReversedLift;
    return {cl, cd};
}

Airfoil::Coefficients Airfoil::at(double alpha) const
{
    alpha = wrapAngle(alpha);
    if (alpha > alpha_.back())
        return beyond(positive_, alpha, 1);
    if (alpha < alpha_.front())
        return beyond(negative_, alpha, -1);
    const auto upper = std::upper_bound(alpha_.begin(), alpha_.end(), alpha);
    if (upper == alpha_.end())
        return {rows_.back().cl, rows_.back().cd};
    const std::size_t i = static_cast<std::size_t>(upper - alpha_.begin());
    const double t = (alpha - alpha_[i - 1]) / (alpha_[i] - alpha_[i - 1]);
    return {rows_[i - 1].cl + t * (rows_[i].cl - rows_[i - 1].cl),
            rows_[i - 1].cd + t * (rows_[i].cd - rows_[i - 1].cd)};
}

Result<Airfoil> simpleAirfoil(const SimpleAirfoilInputs& in, double aspectRatio)
{
    if (!std::isfinite(in.cl) || !std::isfinite(in.alphaDegrees) || std::abs(in.alphaDegrees) >= 45)
        return Problem{ProblemKind::AirfoilNotUsable,
                       "the design Cl and angle of attack must be numbers, the angle within ±45°"};
    if (!std::isfinite(in.clMax) || in.clMax <= std::abs(in.cl))
        return Problem{ProblemKind::AirfoilNotUsable, "Cl max must be above the design Cl"};
    if (std::isnan(in.glideRatio) || in.glideRatio <= 0)
        return Problem{ProblemKind::AirfoilNotUsable, "the glide ratio L/D must be above 0"};
    const double slope = 2 * kPi;  // per radian, thin-airfoil theory
    const double cd = std::isinf(in.glideRatio) ? 0 : std::abs(in.cl) / in.glideRatio;
    const double stall = in.alphaDegrees + (in.clMax - in.cl) / slope / kDegree;
    const double negativeStall = in.alphaDegrees + (-in.clMax - in.cl) / slope / kDegree;
    return Airfoil::extended({{negativeStall, -in.clMax, cd}, {stall, in.clMax, cd}}, aspectRatio);
}

Result<Airfoil> readPolar(std::string_view text, double aspectRatio)
{
    const auto notAPolar = [](int line, const std::string& what) {
        return Problem{ProblemKind::NotAPolar, "line " + std::to_string(line) + ": " + what};
    };
    std::vector<PolarRow> rows;
    int lineNumber = 0;
    bool numbersBegun = false;
    for (std::string_view line : splitLines(text)) {
        ++lineNumber;
        const NumberRow row = numbersOf(line);
        if (row.blank)
            continue;
        if (!row.allNumbers) {
            // Header lines (XFOIL's banner, column names, its dashed line)
            // come before the numbers; a word among them ends nothing well.
            if (numbersBegun)
                return notAPolar(lineNumber, "expected numbers alpha, Cl, Cd, found \"" + row.firstBadField + "\"");
            continue;
        }
        numbersBegun = true;
        if (row.values.size() < 3)
            return notAPolar(lineNumber,
                             "expected three columns alpha, Cl, Cd, found " + std::to_string(row.values.size()));
        for (double v : row.values) {
            if (!std::isfinite(v))
                return notAPolar(lineNumber, "expected finite numbers, found one that is not");
        }
        const PolarRow polarRow{row.values[0], row.values[1], row.values[2]};
        if (std::abs(polarRow.alphaDegrees) >= 90)
            return notAPolar(lineNumber, "expected an angle of attack between -90 and 90 degrees");
        if (polarRow.cd < 0)
            return notAPolar(lineNumber, "expected a drag coefficient of 0 or more");
        if (!rows.empty() && polarRow.alphaDegrees <= rows.back().alphaDegrees)
            return notAPolar(lineNumber, "expected an angle of attack above the line before's");
        rows.push_back(polarRow);
    }
    if (rows.size() >= 2 && rows.back().alphaDegrees <= 0)
        return notAPolar(lineNumber, "expected angles of attack that reach above 0 degrees");
    if (rows.size() < 2)
        return Problem{ProblemKind::NotAPolar, "line " + std::to_string(lineNumber) +
                                                   ": expected at least two rows of alpha, Cl, Cd, found " +
                                                   std::to_string(rows.size())};
    return Airfoil::extended(std::move(rows), aspectRatio);
}

}  // namespace tivora::performance
