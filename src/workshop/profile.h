#pragma once

// The shape of a blade section at unit chord: the NACA four-digit family
// from its published equations, or any outline read from a coordinates file,
// and what the workshop needs of it (thickness, area, a thicker or thinner
// copy).
//
// NACA four-digit sections: the mean line of two parabolas and the thickness
// distribution laid off at right angles to it, as Abbott and von Doenhoff
// give them ("Theory of Wing Sections", 1959, §6.4; the same equations in
// Ladson, Brooks, Hill and Sproles, NASA TM-4741, 1996), with the published
// coefficients, so the trailing edge keeps its small published thickness
// (0.252 % of the chord on a 12 % section).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tivora::workshop {

struct Point {
    double x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

// Chord line from the leading edge (0, 0) to the trailing edge (1, 0); y
// towards the suction side (the side the section is cambered to).
struct Profile {
    std::string name;
    std::vector<Point> upper;  // leading edge to trailing edge
    std::vector<Point> lower;  // leading edge to trailing edge
    bool operator==(const Profile&) const = default;
};

struct NacaFourDigit {
    int camber = 0;     // first digit: greatest camber, % of chord
    int position = 0;   // second digit: where it lies, tenths of chord
    int thickness = 0;  // last two: % of chord
    bool operator==(const NacaFourDigit&) const = default;
};

// The four-digit section a text names: "NACA2412", "NACA 4412", "Airfoil:
// naca 0012"; none when it names none (a five-digit section is none).
std::optional<NacaFourDigit> nacaFourDigitIn(std::string_view text);

// The section a design falls back on when its airfoil names no four-digit
// section: a NACA 4412, 4 % camber at 40 % of the chord, 12 % thick, whose
// lower surface is nearly flat from a third of the chord back (easy to carve).
inline constexpr NacaFourDigit kDefaultSection{4, 4, 12};

std::string nameOf(const NacaFourDigit& section);

// The section from its equations at `thicknessRatio` of the chord (its own
// digits' when none), 81 points a surface, spaced closer at both edges.
Profile nacaProfile(const NacaFourDigit& section, std::optional<double> thicknessRatio = std::nullopt);

// The closed outline: trailing edge along the upper surface to the leading
// edge and back along the lower one (the leading edge once).
std::vector<Point> outlineOf(const Profile& profile);

// The largest distance between the surfaces across the chord, in chords.
double thicknessRatio(const Profile& profile);

// The area inside the outline, in chords squared.
double areaOf(const Profile& profile);

// The same section `ratio` thick: each surface moved towards or away from
// the mean line halfway between them, in proportion.
Profile withThickness(const Profile& profile, double ratio);

// y of a surface at x, straight between its points; the nearest end's
// beyond them.
double surfaceAt(const std::vector<Point>& surface, double x);

}  // namespace tivora::workshop
