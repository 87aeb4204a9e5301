#include "rotor.h"

#include "numeric.h"
#include "physics.h"
#include "sheet/unit_conversions.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace tivora::performance {

namespace {

// Elements the rotor is integrated over, at the least; each interval between
// stations gets an equal share, its elements evaluated at their midpoints.
constexpr int kElements = 48;

struct Section {
    double radius, chord;  // m
    double twistRadians;
};

struct SectionState {
    double residual = 1;
    double phi = 0;
    double a = 0, ap = 0, cl = 0, cd = 0, cn = 0, ct = 0, F = 1;
    bool solved = false;
};

// The rotor's part in a section's equations, per unit wind speed.
struct RotorFrame {
    const Airfoil& airfoil;
    int blades;
    double tipRadius, hubRadius;
    double tsr;
    Losses losses;
};

// Prandtl's factor for a distance from the blade's end, over the radius
// it is measured against: r at the tip, the hub's radius at the hub.
double prandtl(int blades, double distance, double radius, double sinPhi)
{
    return 2 / kPi * std::acos(std::exp(-blades / 2.0 * distance / (radius * std::abs(sinPhi))));
}

double lossFactor(int blades, double r, double tipRadius, double hubRadius, double sinPhi, Losses losses)
{
    double F = 1;
    if (losses.tip)
        F *= prandtl(blades, tipRadius - r, r, sinPhi);
    if (losses.hub)
        F *= prandtl(blades, r - hubRadius, hubRadius, sinPhi);
    return F;
}

// Ning's residual at inflow angle phi, with the inductions that go with it.
SectionState residual(const RotorFrame& rotor, const Section& section, double phi)
{
    SectionState s;
    s.phi = phi;
    const double localSpeedRatio = rotor.tsr * section.radius / rotor.tipRadius;
    const double solidity = rotor.blades * section.chord / (2 * kPi * section.radius);
    const double sinPhi = std::sin(phi);
    const double cosPhi = std::cos(phi);
    const auto [cl, cd] = rotor.airfoil.at(phi - section.twistRadians);
    s.cl = cl;
    s.cd = cd;
    s.cn = cl * cosPhi + cd * sinPhi;
    s.ct = cl * sinPhi - cd * cosPhi;
    s.F = lossFactor(rotor.blades, section.radius, rotor.tipRadius, rotor.hubRadius, sinPhi, rotor.losses);
    if (!(s.F > 0))
        return s;  // the blade's very end carries nothing; callers keep off it

    double k = s.cn * solidity / (4 * s.F * sinPhi * sinPhi);
    const double kp = s.ct * solidity / (4 * s.F * sinPhi * cosPhi);
    if (phi < 0)
        k = -k;  // the propeller-brake region
    if (std::abs(k + 1) < 1e-6 || std::abs(kp - 1) < 1e-6)
        return s;  // no finite induction: any nonzero residual steers the search away
    if (k <= 2.0 / 3) {
        s.a = k / (1 + k);
    } else {
        // Buhl's correction (2005): the empirical thrust of a heavily
        // loaded rotor, joined smoothly to momentum theory at a = 0.4.
        const double g1 = 2 * s.F * k - (10.0 / 9 - s.F);
        const double g2 = 2 * s.F * k - s.F * (4.0 / 3 - s.F);
        const double g3 = 2 * s.F * k - (25.0 / 9 - 2 * s.F);
        s.a = std::abs(g3) < 1e-6 ? 1 - 1 / (2 * std::sqrt(g2)) : (g1 - std::sqrt(g2)) / g3;
    }
    s.ap = kp / (1 - kp);
    s.residual = sinPhi / (1 - s.a) - cosPhi / (localSpeedRatio * (1 + s.ap));
    return s;
}

// Solves one section: the first bracket of the residual's root in the
// quadrants of a wind turbine's operation, in CCBlade's order, then Brent.
// A section without a root (no lift and no drag at all, or a residual
// that never changes sign) is reported as unsolved, never as a result.
SectionState solveSection(const RotorFrame& rotor, const Section& section, long& evaluations)
{
    const auto f = [&](double phi) {
        ++evaluations;
        return residual(rotor, section, phi).residual;
    };
    // Each quadrant is searched from just inside its start, where the
    // residual is singular, to its end, in 19 steps.
    constexpr double kInside = 1e-6;  // rad
    constexpr int kSteps = 19;
    struct Quadrant {
        double from, to;
    };
    constexpr Quadrant kQuadrants[] = {
        {kInside, kPi / 2}, {-kInside, -kPi / 2}, {kPi - kInside, kPi / 2}, {-kPi + kInside, -kPi / 2}};
    for (const Quadrant& q : kQuadrants) {
        const std::optional<numeric::Root> root = numeric::firstRoot(f, q.from, q.to, kSteps, numeric::kAngleTolerance);
        if (!root)
            continue;
        if (!root->converged)
            break;
        SectionState solved = residual(rotor, section, root->x);
        solved.solved = true;
        return solved;
    }
    SectionState none;
    none.phi = std::atan2(1, rotor.tsr * section.radius / rotor.tipRadius);
    return none;
}

Section sectionAt(const Blade& blade, double r)
{
    const auto radius = [](const Station& s) { return s.radius; };
    const numeric::Segment at = numeric::segmentOf(blade.stations, r, radius);
    const Station &inner = blade.stations[at.upper - 1], &outer = blade.stations[at.upper];
    return {r, numeric::lerp(inner.chord, outer.chord, at.t),
            radiansFromDegrees(numeric::lerp(inner.twistDegrees, outer.twistDegrees, at.t))};
}

double relativeSpeedSquared(const SectionState& s, double localSpeedRatio)
{
    const double axial = 1 - s.a;
    const double tangential = localSpeedRatio * (1 + s.ap);
    return axial * axial + tangential * tangential;
}

}  // namespace

Result<Blade> checkedBlade(Blade blade)
{
    const auto notUsable = [](std::string what) { return Problem{ProblemKind::BladeNotUsable, std::move(what)}; };
    if (blade.blades < 1 || blade.blades > 100)
        return notUsable("the number of blades must be a whole number from 1 to 100");
    if (blade.stations.size() < 2)
        return notUsable("a blade needs at least two stations");
    double previous = 0;
    for (std::size_t i = 0; i < blade.stations.size(); ++i) {
        const Station& s = blade.stations[i];
        const std::string which = "station " + std::to_string(i + 1);
        if (!std::isfinite(s.radius) || s.radius <= previous)
            return notUsable(which + ": the radius must be above the station before's (and above 0)");
        if (!std::isfinite(s.chord) || s.chord <= 0)
            return notUsable(which + ": the chord must be above 0");
        if (!std::isfinite(s.twistDegrees) || std::abs(s.twistDegrees) > 90)
            return notUsable(which + ": the twist must lie within ±90°");
        previous = s.radius;
    }
    return blade;
}

Result<Blade> bladeFromSheet(const DesignSheet& sheet)
{
    const auto readField = [&](Field field, double& value) -> std::optional<Problem> {
        try {
            value = readNumber(sheet, field);
            return std::nullopt;
        } catch (const StepFailure&) {
            // Named as the window shows it: the station and column, or the caption.
            const FieldInfo& info = infoOf(field);
            const char* column = info.column == StationColumn::Radius  ? "radius"
                                 : info.column == StationColumn::Chord ? "chord"
                                                                       : "twist";
            if (!info.station)
                return Problem{ProblemKind::BladeNotUsable,
                               "\"" + std::string(infoOf(*info.caption).startText) + "\" holds no number"};
            return Problem{ProblemKind::SheetNotSolved, "station " + std::to_string(info.station) + "'s " + column +
                                                            " holds no number: solve the design first"};
        }
    };
    double blades = 0;
    if (auto problem = readField(Field::Blades, blades))
        return *problem;
    if (blades != std::floor(blades) || blades < 1 || blades > 100)
        return Problem{ProblemKind::BladeNotUsable, "the number of blades must be a whole number from 1 to 100"};
    // Imperial shows the radii in feet and the chords in inches. Solve and
    // the unit switch both leave the table in the selected system's units.
    const bool imperial = sheet.selectedSystem() == UnitSystem::Imperial;
    Blade blade;
    blade.blades = static_cast<int>(blades);
    for (int k = 1; k <= kStationCount; ++k) {
        Station s{};
        if (auto problem = readField(stationRadius(k), s.radius))
            return *problem;
        if (auto problem = readField(stationChord(k), s.chord))
            return *problem;
        if (auto problem = readField(stationTwist(k), s.twistDegrees))
            return *problem;
        if (imperial) {
            s.radius /= units::kFeetPerMetre;
            s.chord /= units::kInchesPerMetre;
        }
        blade.stations.push_back(s);
    }
    return checkedBlade(std::move(blade));
}

double tipHubLoss(int blades, double r, double tipRadius, double hubRadius, double phiRadians, Losses losses)
{
    return lossFactor(blades, r, tipRadius, hubRadius, std::sin(phiRadians), losses);
}

double aspectRatio(const Blade& blade)
{
    const double r75 = std::max(0.75 * blade.tipRadius(), blade.hubRadius());
    return blade.tipRadius() / sectionAt(blade, r75).chord;
}

RotorCoefficients rotorCoefficients(const Blade& blade, const Airfoil& airfoil, double tsr, Losses losses)
{
    const RotorFrame rotor{airfoil, blade.blades, blade.tipRadius(), blade.hubRadius(), tsr, losses};
    RotorCoefficients result;
    const auto& st = blade.stations;
    const int intervals = static_cast<int>(st.size()) - 1;
    const int perInterval = std::max(1, (kElements + intervals - 1) / intervals);
    // ∫ W² c ct r dr, ∫ W² c cn dr and ∫ W² c cn (r − r_root) dr, per unit wind speed
    double torqueSum = 0, thrustSum = 0, flapSum = 0;
    for (int i = 0; i < intervals; ++i) {
        const double dr = (st[i + 1].radius - st[i].radius) / perInterval;
        for (int j = 0; j < perInterval; ++j) {
            const Section section = sectionAt(blade, st[i].radius + (j + 0.5) * dr);
            const SectionState s = solveSection(rotor, section, result.residualEvaluations);
            if (!s.solved)
                ++result.unsolvedElements;
            const double w2 = relativeSpeedSquared(s, tsr * section.radius / rotor.tipRadius);
            torqueSum += w2 * section.chord * s.ct * section.radius * dr;
            thrustSum += w2 * section.chord * s.cn * dr;
            flapSum += w2 * section.chord * s.cn * (section.radius - rotor.hubRadius) * dr;
        }
    }
    const double R = rotor.tipRadius;
    result.cp = blade.blades * tsr * torqueSum / (kPi * R * R * R);
    result.ct = blade.blades * thrustSum / (kPi * R * R);
    result.cq = tsr > 0 ? result.cp / tsr : 0;
    result.flap = flapSum / (kPi * R * R * R);
    return result;
}

Result<BladeAnalysis> analyseBlade(const Blade& blade, const Airfoil& airfoil, double tsr, double windSpeed,
                                   double density, Losses losses)
{
    if (!std::isfinite(tsr) || tsr <= 0 || tsr > 30)
        return Problem{ProblemKind::OperatingNotUsable, "the tip speed ratio must lie above 0 and up to 30"};
    if (!std::isfinite(windSpeed) || windSpeed < 0 || !std::isfinite(density) || density <= 0)
        return Problem{ProblemKind::OperatingNotUsable, "the wind speed must be 0 or more, the air density above 0"};
    BladeAnalysis analysis{};
    analysis.rotor = rotorCoefficients(blade, airfoil, tsr, losses);
    const RotorFrame rotor{airfoil, blade.blades, blade.tipRadius(), blade.hubRadius(), tsr, losses};
    const double inside = 0.001 * (blade.tipRadius() - blade.hubRadius());
    for (const Station& station : blade.stations) {
        double r = station.radius;
        if (losses.tip)
            r = std::min(r, blade.tipRadius() - inside);
        if (losses.hub)
            r = std::max(r, blade.hubRadius() + inside);
        const Section section = sectionAt(blade, r);
        const SectionState s = solveSection(rotor, section, analysis.rotor.residualEvaluations);
        const double phi = s.phi;
        const double halfRhoV2 = 0.5 * density * windSpeed * windSpeed;
        const double w2 = relativeSpeedSquared(s, tsr * r / blade.tipRadius());
        analysis.stations.push_back(
            {station.radius, degreesFromRadians(phi), degreesFromRadians(phi - section.twistRadians), s.cl, s.cd, s.a,
             s.ap, s.F, halfRhoV2 * w2 * section.chord * s.cn, halfRhoV2 * w2 * section.chord * s.ct, s.solved});
    }
    const double R = blade.tipRadius();
    analysis.power = analysis.rotor.cp * windPowerWatts(density, R, windSpeed);
    analysis.thrust = analysis.rotor.ct * 0.5 * density * windSpeed * windSpeed * kPi * R * R;
    analysis.torque = analysis.rotor.cq * 0.5 * density * windSpeed * windSpeed * kPi * R * R * R;
    return analysis;
}

}  // namespace tivora::performance
