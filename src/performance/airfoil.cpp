#include "airfoil.h"

#include "text_columns.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>
#include <string>

namespace tivora::performance {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDegree = kPi / 180;
// Lift of a reversed section, and of a negative stall the table does not
// reach, as a share of the forward one's (AirfoilPrep, CCBlade).
constexpr double kReversedLift = 0.7;
// Viterna and Corrigan's flat-plate drag: 1.11 + 0.018 AR, the aspect
// ratio taken no higher than 50, where the blade is a wing of infinite span.
constexpr double kLargestAspectRatio = 50;
// A table of angles in degrees rises at most about 2π per radian (thin-airfoil
// theory), 0.11 per degree; read as degrees, a table in radians rises 57
// times faster.
constexpr double kRadiansLiftSlope = 0.5;  // per unit of the angle column

double wrapAngle(double alpha)
{
    alpha = std::fmod(alpha + kPi, 2 * kPi);
    if (alpha < 0)
        alpha += 2 * kPi;
    return alpha - kPi;
}

}  // namespace

double Airfoil::Viterna::cl(double alpha, double cdMax) const
{
    const double s = std::sin(alpha), c = std::cos(alpha);
    return cdMax * s * c + a2 * c * c / s;
}

double Airfoil::Viterna::cd(double alpha, double cdMax) const
{
    const double s = std::sin(alpha);
    return cdMax * s * s + b2 * std::cos(alpha);
}

// Viterna and Corrigan's constants through a point at alpha in (0, π/2):
// A2 = (Cl_s − Cd_max sin α_s cos α_s) sin α_s / cos² α_s and
// B2 = (Cd_s − Cd_max sin² α_s) / cos α_s, so the model meets the point.
Airfoil::Viterna Airfoil::fitted(double alpha, double cl, double cd, double cdMax)
{
    const double s = std::sin(alpha), c = std::cos(alpha);
    return {alpha, (cl - cdMax * s * c) * s / (c * c), (cd - cdMax * s * s) / c};
}

Airfoil Airfoil::extended(std::vector<PolarRow> rows, double aspectRatio, std::optional<double> reynolds)
{
    Airfoil foil;
    foil.rows_ = std::move(rows);
    foil.reynolds_ = reynolds;
    for (const PolarRow& row : foil.rows_)
        foil.alpha_.push_back(row.alphaDegrees * kDegree);

    const double ratio = aspectRatio > 0 ? std::min(aspectRatio, kLargestAspectRatio) : 0;
    foil.cdMax_ = 1.11 + 0.018 * ratio;
    foil.leastDrag_ = foil.rows_.front().cd;
    for (const PolarRow& row : foil.rows_) {
        foil.cdMax_ = std::max(foil.cdMax_, row.cd);
        foil.leastDrag_ = std::min(foil.leastDrag_, row.cd);
    }
    // Fitted at the table's ends, not at its highest lift, so that a table
    // that goes on past stall is carried on from where it stops.
    const PolarRow& last = foil.rows_.back();
    const PolarRow& first = foil.rows_.front();
    foil.last_ = fitted(foil.alpha_.back(), last.cl, last.cd, foil.cdMax_);
    if (-foil.alpha_.front() >= foil.alpha_.back()) {
        // The table reaches as far below 0° as above: its first row is the
        // negative side's stall point, the fit mirrored.
        foil.first_ = fitted(-foil.alpha_.front(), -first.cl, first.cd, foil.cdMax_);
    } else {
        // No negative stall in the table: the positive side's, mirrored with
        // its lift scaled as a reversed section's, bridged to linearly.
        foil.first_ = foil.last_;
        foil.firstLift_ = kReversedLift;
    }
    return foil;
}

// fromBehind: the angle between the wind and the reversed chord, 0 to π/2;
// liftSign: −1 past +90°, +1 past −90°.
Airfoil::Coefficients Airfoil::reversed(double fromBehind, double liftSign) const
{
    const double stall = last_.stallAlpha;
    const double cd = last_.cd(fromBehind, cdMax_);
    if (fromBehind >= stall)
        return {liftSign * kReversedLift * last_.cl(fromBehind, cdMax_), cd};
    // Towards ±180° the lift falls straight to none, as a reversed plate's;
    // Viterna's drag, which would fall below zero there, is held at the
    // table's least.
    const double cl = liftSign * kReversedLift * rows_.back().cl * fromBehind / stall;
    return {cl, std::max(cd, leastDrag_)};
}

Airfoil::Coefficients Airfoil::beyondLast(double alpha) const
{
    if (alpha <= kPi / 2)
        return {last_.cl(alpha, cdMax_), last_.cd(alpha, cdMax_)};
    return reversed(kPi - alpha, -1);
}

Airfoil::Coefficients Airfoil::beforeFirst(double alpha) const
{
    if (alpha < -kPi / 2)
        return reversed(alpha + kPi, 1);
    const double stall = -first_.stallAlpha;
    if (alpha <= stall)
        return {-firstLift_ * first_.cl(-alpha, cdMax_), first_.cd(-alpha, cdMax_)};
    // Between the mirrored stall point and the table's first row.
    const double clStall = -firstLift_ * first_.cl(-stall, cdMax_);
    const double cdStall = first_.cd(-stall, cdMax_);
    const double t = (alpha - stall) / (alpha_.front() - stall);
    return {clStall + t * (rows_.front().cl - clStall), cdStall + t * (rows_.front().cd - cdStall)};
}

Airfoil::Coefficients Airfoil::at(double alpha) const
{
    alpha = wrapAngle(alpha);
    if (alpha > alpha_.back())
        return beyondLast(alpha);
    if (alpha < alpha_.front())
        return beforeFirst(alpha);
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
    if (stall <= 0)
        return Problem{ProblemKind::AirfoilNotUsable, "the lift line through the design point reaches Cl max at " +
                                                          numberText(stall, 1) + "°: it must do so above 0°"};
    if (stall >= 90 || negativeStall <= -90)
        return Problem{ProblemKind::AirfoilNotUsable,
                       "the lift line through the design point reaches ±Cl max beyond ±90°: Cl max must lie closer "
                       "to the design Cl"};
    return Airfoil::extended({{negativeStall, -in.clMax, cd}, {stall, in.clMax, cd}}, aspectRatio);
}

namespace {

Problem notAPolar(int line, const std::string& what)
{
    return Problem{ProblemKind::NotAPolar, "line " + std::to_string(line) + ": " + what};
}

// What is wrong with one row of numbers, if anything.
std::optional<std::string> rowFault(const std::vector<double>& values, const std::vector<PolarRow>& before)
{
    if (values.size() < 3)
        return "expected three columns alpha, Cl, Cd, found " + std::to_string(values.size());
    for (double v : values) {
        if (!std::isfinite(v))
            return "expected finite numbers, found one that is not";
    }
    const PolarRow row{values[0], values[1], values[2]};
    if (std::abs(row.alphaDegrees) >= 90)
        return "expected an angle of attack between -90 and 90 degrees";
    if (std::abs(row.cl) > kLargestLift)
        return "expected a lift coefficient within ±" + numberText(kLargestLift) + ", found " + numberText(row.cl);
    if (row.cd < 0 || row.cd > kLargestDrag)
        return "expected a drag coefficient from 0 to " + numberText(kLargestDrag) + ", found " + numberText(row.cd);
    if (!before.empty() && row.alphaDegrees == before.back().alphaDegrees)
        return "the angle of attack " + numberText(row.alphaDegrees) +
               " is given again: expected one row for each angle";
    if (!before.empty() && row.alphaDegrees < before.back().alphaDegrees)
        return "expected an angle of attack above the line before's";
    return std::nullopt;
}

// What is wrong with the table as a whole, if anything; lines: the line of
// each row.
std::optional<Problem> tableFault(const std::vector<PolarRow>& rows, const std::vector<int>& lines, int lastLine)
{
    if (rows.size() < 2)
        return notAPolar(lastLine, "expected at least two rows of alpha, Cl, Cd, found " + std::to_string(rows.size()));
    if (rows.back().alphaDegrees <= 0)
        return notAPolar(lines.back(), "expected angles of attack that reach above 0 degrees");
    const auto byLift = [](const PolarRow& a, const PolarRow& b) { return a.cl < b.cl; };
    const auto lowest = std::min_element(rows.begin(), rows.end(), byLift);
    const auto highest = std::max_element(rows.begin(), rows.end(), byLift);  // the first of the highest
    const double span = rows.back().alphaDegrees - rows.front().alphaDegrees;
    const double slope = (highest->cl - lowest->cl) / span;
    if (std::abs(rows.front().alphaDegrees) <= kPi / 2 && std::abs(rows.back().alphaDegrees) <= kPi / 2 &&
        slope > kRadiansLiftSlope)
        return notAPolar(lines.front(), "expected angles of attack in degrees, found what look like radians (all "
                                        "within ±1.6, the lift changing by " +
                                            numberText(slope, 1) + " for each)");
    if (highest == rows.begin())
        return notAPolar(lines.front(),
                         "expected angles of attack from below stall, found the lift falling from the first row on");
    return std::nullopt;
}

// XFOIL's "Re =     0.200 e 6" (its exponent apart), or a plain "Re = 200000".
std::optional<double> reynoldsOf(std::string_view line)
{
    for (std::size_t at = line.find("Re"); at != std::string_view::npos; at = line.find("Re", at + 1)) {
        if (at > 0 && std::isalpha(static_cast<unsigned char>(line[at - 1])))
            continue;
        std::string_view rest = line.substr(at + 2);
        const auto skipBlanks = [&] { rest.remove_prefix(std::min(rest.find_first_not_of(" \t"), rest.size())); };
        skipBlanks();
        if (rest.empty() || rest.front() != '=')
            continue;
        rest.remove_prefix(1);
        skipBlanks();
        double mantissa = 0, exponent = 0;
        if (!readDouble(rest.substr(0, rest.find_first_of(" \t")), mantissa))
            return std::nullopt;
        rest.remove_prefix(std::min(rest.find_first_of(" \t"), rest.size()));
        skipBlanks();
        if (!rest.empty() && (rest.front() == 'e' || rest.front() == 'E')) {
            rest.remove_prefix(1);
            skipBlanks();
            if (!readDouble(rest.substr(0, rest.find_first_of(" \t")), exponent))
                return std::nullopt;
        }
        const double re = mantissa * std::pow(10.0, exponent);
        if (std::isfinite(re) && re > 0)
            return re;
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

Result<Airfoil> readPolar(std::string_view text, double aspectRatio)
{
    std::vector<PolarRow> rows;
    std::vector<int> lines;
    std::optional<double> reynolds;
    int lineNumber = 0;
    for (std::string_view line : splitLines(text)) {
        ++lineNumber;
        const NumberRow row = numbersOf(line);
        if (row.blank)
            continue;
        if (!row.allNumbers) {
            // Header lines (XFOIL's banner, column names, its dashed line)
            // come before the numbers; a word among them ends nothing well.
            if (!rows.empty())
                return notAPolar(lineNumber, "expected numbers alpha, Cl, Cd, found \"" + row.firstBadField + "\"");
            if (!reynolds)
                reynolds = reynoldsOf(line);
            continue;
        }
        if (const std::optional<std::string> fault = rowFault(row.values, rows))
            return notAPolar(lineNumber, *fault);
        rows.push_back({row.values[0], row.values[1], row.values[2]});
        lines.push_back(lineNumber);
    }
    if (const std::optional<Problem> fault = tableFault(rows, lines, lineNumber))
        return *fault;
    return Airfoil::extended(std::move(rows), aspectRatio, reynolds);
}

}  // namespace tivora::performance
