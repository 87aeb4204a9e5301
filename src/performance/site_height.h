#pragma once

// The wind carried from the height it was measured at to the hub.
//
// The log law of the neutral surface layer, v(z₂)/v(z₁) = ln(z₂/z₀)/ln(z₁/z₀),
// with the roughness length z₀ of the terrain around, from the table of
// roughness lengths of I. Troen and E. L. Petersen, "European Wind Atlas",
// Risø National Laboratory (1989); or the power law
// v(z₂)/v(z₁) = (z₂/z₁)^α with an exponent the user gives (1/7 over open
// land). Either scales every speed by the same factor: a Weibull's scale
// moves with it, its shape stays.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace tivora::performance {

struct Terrain {
    std::string_view key;      // in the design file and on the command line
    std::string_view caption;  // in the window, the terrain first: a narrow list shows that
    double roughnessM;
};
// The European Wind Atlas's roughness lengths for these terrains.
inline constexpr Terrain kTerrains[] = {
    {"open-sea", "Open sea (log law)", 0.0002},                  // water areas: sea, fjords, lakes
    {"open-grass", "Open grass (log law)", 0.03},                // farmland with very few buildings or trees
    {"farmland-hedges", "Farmland with hedges (log law)", 0.1},  // farmland of closed appearance
    {"scattered-trees", "Scattered trees (log law)", 0.2},       // many trees and bushes
    {"suburbs", "Suburbs (log law)", 0.5},
};
// The height law's option after the terrains'.
inline constexpr std::string_view kPowerLawKey = "power-law";
inline constexpr std::string_view kPowerLawCaption = "Power law";
inline constexpr double kSeventhPower = 1.0 / 7;

struct HeightLaw {
    std::optional<double> roughnessM;  // the log law; none: the power law
    double exponent = kSeventhPower;
};
// The law of a height-law option: a terrain's log law, or past them the
// power law with the exponent.
HeightLaw heightLawOf(int option, double exponent);

// The wind at `toM` over the wind at `fromM`; both heights above the
// roughness length.
double heightFactor(const HeightLaw& law, double fromM, double toM);

}  // namespace tivora::performance
