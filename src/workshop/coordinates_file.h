#pragma once

// A section's coordinates file, in either of the two formats airfoil
// databases publish:
//   Selig:    a name line, then x y pairs from the trailing edge along the
//             upper surface round the leading edge and back along the lower
//             surface to the trailing edge;
//   Lednicer: a name line, a line with the number of points of each surface
//             ("17.  17."), then the upper surface and the lower surface, each
//             from the leading edge to the trailing edge, a blank line before each.
// Read all or nothing: a file that is not one whole closed outline is
// refused with the line at fault.

#include "profile.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace tivora::workshop {

// A coordinates file is a few kilobytes; a megabyte is no section.
inline constexpr std::size_t kLargestCoordinatesFile = 1024 * 1024;
inline constexpr std::size_t kMostCoordinates = 2000;

struct CoordinatesProblem {
    int line;  // 1 for the first; 0 when the problem is the file as a whole
    std::string what;
    bool operator==(const CoordinatesProblem&) const = default;
};

// The section at unit chord: its leading edge (the point farthest from the
// trailing edge) at (0, 0), the middle of its trailing edge at (1, 0).
std::variant<Profile, CoordinatesProblem> readCoordinates(std::string_view text);

// The same from a file, read within kLargestCoordinatesFile; a file that
// cannot be read is line 0, with the reason.
std::variant<Profile, CoordinatesProblem> readCoordinatesFile(const std::string& path);

// "line 7: ..." or the reason alone.
std::string describe(const CoordinatesProblem& problem);

}  // namespace tivora::workshop
