#pragma once

// The blade as solved and the blade as it will be cut.
//
// Solve! gives the optimum planform, whose root chord (0.45 m at a tenth of a
// 1 m rotor) no builder cuts. The trim caps the chord (at the plank's width,
// say) and may make chord and twist straight lines between two stations, the
// usual simplification for carving. The trimmed blade is the one value that
// the template, the sections, the carving table and the mass all take.

#include "sheet/design_sheet.h"

#include <optional>
#include <vector>

namespace tivora::workshop {

struct BladeStation {
    int number = 0;           // 1 nearest the hub
    double radius = 0;        // m, from the rotor axis
    double chord = 0;         // m
    double twistDegrees = 0;  // β: the chord line's angle to the rotor plane
    bool operator==(const BladeStation&) const = default;
};

// Root to tip, in SI; straight between the stations.
struct Blade {
    std::vector<BladeStation> stations;
    bool operator==(const Blade&) const = default;
};

// The station table as the sheet shows it, turned into SI from the unit
// system in force (radii in m or ft, chords in m or in); none while a station
// figure is no number.
std::optional<Blade> solvedBlade(const DesignSheet& sheet);

struct Trim {
    // No chord wider than this, in m; none: the chord as solved.
    std::optional<double> largestChord;
    // Chord and twist straight from the first of these stations to the
    // second (their numbers), through the solved figures there; none: as
    // solved. Applied before the cap.
    std::optional<std::pair<int, int>> straightBetween;
    bool operator==(const Trim&) const = default;
};

bool trims(const Trim& trim);

// The blade as cut. A straight stretch naming stations the blade does not
// have, or not root before tip, is left out; so is a cap not above zero.
Blade trimBlade(const Blade& solved, const Trim& trim);

}  // namespace tivora::workshop
