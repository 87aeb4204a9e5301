#pragma once

// Carving a wooden blade from a plank, station by station: each section set
// at its twist β about the pitch axis (a quarter chord behind the leading
// edge), seen from the tip with the wind from above; the plank that holds
// them all; the blade's volume, mass and centre of mass.
//
// The plank's faces lie in the rotor plane. A section at β is as wide on the
// face as chord·cos β and its trailing edge lies chord·sin β further
// downwind than its leading edge (the drop). Each section sits as deep as
// it must for its most windward point to touch the windward face: for a
// section whose lower surface is flat or hollow there, that point is the
// leading edge; where a cambered lower surface bulges below its chord line
// the leading edge lies a little below the face, which the table says.

#include "blade.h"
#include "profile.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tivora::workshop {

// Sitka spruce at 12 % moisture content: specific gravity 0.40 on its
// oven-dry weight (Wood Handbook, USDA Forest Products Laboratory, 2010),
// times 1.12 for the water it holds.
inline constexpr double kSpruceDensity = 448;  // kg/m³

enum class ThicknessRule { Own, RootToTip };

struct Thickness {
    ThicknessRule rule = ThicknessRule::Own;
    double root = 0.18;  // ratio at the first station, when RootToTip
    double tip = 0.12;   // at the last
    double least = 0;    // m, for strength near the tip; 0: none
    bool operator==(const Thickness&) const = default;
};

// Everything the Blade Sections window sets, in SI.
struct WorkshopInputs {
    Thickness thickness;
    double plankWidth = 0.15;  // m
    bool capChord = false;
    std::optional<double> largestChord;  // m; none: the plank width
    std::optional<std::pair<int, int>> straightBetween;
    double woodDensity = kSpruceDensity;  // kg/m³
    std::string coordinatesFile;          // the name of a coordinates file in use; empty: none
    bool operator==(const WorkshopInputs&) const = default;
};

Trim trimOf(const WorkshopInputs& inputs);

// The airfoil the sections are cut to.
struct Section {
    Profile own;
    std::optional<NacaFourDigit> naca;  // made again from its equations at any thickness
    double ownRatio = 0;
};
// The main window's airfoil, when its caption names a four-digit section;
// kDefaultSection otherwise.
Section sectionNamedIn(std::string_view airfoilCaption);
Section sectionOf(Profile profile);
Profile profileAt(const Section& section, double thicknessRatio);

// In the plank's cross-section seen from the tip: x across the plank from its
// leading side, y into it from the windward face; metres.
struct CarvedStation {
    BladeStation blade;
    double thicknessRatio = 0;
    double thickness = 0;            // m
    double widthOnPlank = 0;         // chord·cos β
    double drop = 0;                 // chord·sin β: trailing edge below the leading edge
    double leadingEdgeFromAxis = 0;  // on the face: a quarter chord·cos β
    double leadingEdgeDepth = 0;     // below the windward face
    Point pitchAxis, leadingEdge, trailingEdge;
    std::vector<Point> outline;
};

// The plank for one blade, from station 1 to the tip.
struct Blank {
    double length = 0, width = 0, thickness = 0;  // m
};

struct MassAndBalance {
    double volume = 0;        // m³
    double mass = 0;          // kg
    double centreRadius = 0;  // m from the rotor axis
};

struct Carving {
    std::string sectionName;
    std::vector<CarvedStation> stations;
    Blank blank;
    MassAndBalance mass;
};

// The thickness ratio at a place of the blade: the rule's, then at least the
// least thickness.
double thicknessRatioAt(const Thickness& thickness, const Section& section, const Blade& blade, double radius,
                        double chord);

// From station 1 to the tip of the (trimmed) blade, straight between the
// stations: its volume, mass and the radius of its centre of mass (the root
// fitting inboard of station 1 is the builder's own).
MassAndBalance massAndBalance(const Blade& blade, const Section& section, const Thickness& thickness, double density);

// The blade needs two stations or more.
Carving carve(const Blade& trimmed, const Section& section, const WorkshopInputs& inputs);

}  // namespace tivora::workshop
