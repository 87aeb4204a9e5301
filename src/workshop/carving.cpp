#include "carving.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace tivora::workshop {

namespace {

constexpr double kDegree = std::numbers::pi / 180;

// Between two stations the chord is straight and the area goes with its
// square and the thickness: Simpson's rule on this many steps is exact to
// far below a gram.
constexpr int kStepsBetweenStations = 16;

}  // namespace

Trim trimOf(const WorkshopInputs& inputs)
{
    Trim trim;
    if (inputs.capChord)
        trim.largestChord = inputs.largestChord.value_or(inputs.plankWidth);
    trim.straightBetween = inputs.straightBetween;
    return trim;
}

Section sectionNamedIn(std::string_view airfoilCaption)
{
    const NacaFourDigit naca = nacaFourDigitIn(airfoilCaption).value_or(kDefaultSection);
    return {nacaProfile(naca), naca, naca.thickness / 100.0};
}

Section sectionOf(Profile profile)
{
    const double ratio = thicknessRatio(profile);
    return {std::move(profile), std::nullopt, ratio};
}

Profile profileAt(const Section& section, double thicknessRatio)
{
    if (section.naca)
        return nacaProfile(*section.naca, thicknessRatio);
    return withThickness(section.own, thicknessRatio);
}

double thicknessRatioAt(const Thickness& thickness, const Section& section, const Blade& blade, double radius,
                        double chord)
{
    double ratio = section.ownRatio;
    if (thickness.rule == ThicknessRule::RootToTip && blade.stations.size() > 1) {
        const double root = blade.stations.front().radius, tip = blade.stations.back().radius;
        const double along = tip > root ? (radius - root) / (tip - root) : 0;
        ratio = thickness.root + (thickness.tip - thickness.root) * along;
    }
    if (thickness.least > 0 && chord > 0)
        ratio = std::max(ratio, thickness.least / chord);
    return ratio;
}

MassAndBalance massAndBalance(const Blade& blade, const Section& section, const Thickness& thickness, double density)
{
    // Moving each surface towards the mean line in proportion scales the
    // area with the thickness ratio.
    const double areaPerRatio = section.ownRatio > 0 ? areaOf(section.own) / section.ownRatio : 0;
    const auto area = [&](double radius, double chord) {
        return areaPerRatio * thicknessRatioAt(thickness, section, blade, radius, chord) * chord * chord;
    };
    double volume = 0, moment = 0;
    const auto& stations = blade.stations;
    for (std::size_t i = 1; i < stations.size(); ++i) {
        const BladeStation& a = stations[i - 1];
        const BladeStation& b = stations[i];
        const double step = (b.radius - a.radius) / kStepsBetweenStations;
        for (int k = 0; k <= kStepsBetweenStations; ++k) {
            const double along = static_cast<double>(k) / kStepsBetweenStations;
            const double radius = a.radius + (b.radius - a.radius) * along;
            const double chord = a.chord + (b.chord - a.chord) * along;
            const double weight = (k == 0 || k == kStepsBetweenStations) ? 1 : (k % 2 == 1 ? 4 : 2);
            const double slice = weight * step / 3 * area(radius, chord);
            volume += slice;
            moment += slice * radius;
        }
    }
    return {volume, volume * density, volume > 0 ? moment / volume : 0};
}

Carving carve(const Blade& trimmed, const Section& section, const WorkshopInputs& inputs)
{
    Carving carving;
    carving.sectionName = section.own.name;
    double leftmost = std::numeric_limits<double>::max(), rightmost = std::numeric_limits<double>::lowest();
    std::vector<double> shallowest;
    for (const BladeStation& station : trimmed.stations) {
        CarvedStation carved;
        carved.blade = station;
        carved.thicknessRatio = thicknessRatioAt(inputs.thickness, section, trimmed, station.radius, station.chord);
        carved.thickness = carved.thicknessRatio * station.chord;
        const double beta = station.twistDegrees * kDegree;
        const double c = station.chord;
        carved.widthOnPlank = c * std::cos(beta);
        carved.drop = c * std::sin(beta);
        carved.leadingEdgeFromAxis = c / 4 * std::cos(beta);
        // About the pitch axis: along the chord towards the trailing edge,
        // the suction side downwind; turned by β, the trailing edge downwind.
        const auto placed = [&](Point p) {
            const double along = (p.x - 0.25) * c, across = p.y * c;
            return Point{along * std::cos(beta) - across * std::sin(beta),
                         along * std::sin(beta) + across * std::cos(beta)};
        };
        double top = std::numeric_limits<double>::max();
        for (const Point& p : outlineOf(profileAt(section, carved.thicknessRatio))) {
            carved.outline.push_back(placed(p));
            top = std::min(top, carved.outline.back().y);
            leftmost = std::min(leftmost, carved.outline.back().x);
            rightmost = std::max(rightmost, carved.outline.back().x);
        }
        carved.leadingEdge = placed({0, 0});
        carved.trailingEdge = placed({1, 0});
        shallowest.push_back(top);
        carving.stations.push_back(std::move(carved));
    }
    // Into the plank: its leading side and each section's most windward
    // point at zero.
    for (std::size_t i = 0; i < carving.stations.size(); ++i) {
        CarvedStation& carved = carving.stations[i];
        const auto shifted = [&](Point p) { return Point{p.x - leftmost, p.y - shallowest[i]}; };
        double deepest = 0;
        for (Point& p : carved.outline) {
            p = shifted(p);
            deepest = std::max(deepest, p.y);
        }
        carved.pitchAxis = shifted({0, 0});
        carved.leadingEdge = shifted(carved.leadingEdge);
        carved.trailingEdge = shifted(carved.trailingEdge);
        carved.leadingEdgeDepth = carved.leadingEdge.y;
        carving.blank.thickness = std::max(carving.blank.thickness, deepest);
    }
    if (!trimmed.stations.empty()) {
        carving.blank.length = trimmed.stations.back().radius - trimmed.stations.front().radius;
        carving.blank.width = rightmost - leftmost;
    }
    carving.mass = massAndBalance(trimmed, section, inputs.thickness, inputs.woodDensity);
    return carving;
}

}  // namespace tivora::workshop
