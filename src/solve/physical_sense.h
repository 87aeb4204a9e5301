#pragma once

// Inputs that compute but make no physical sense: a negative radius, an
// efficiency above what the wind holds, half a blade. The solve computes with
// them all the same; these rules only say which input breaks which, so that
// the window can mark it. Nothing here changes a figure.

#include "sheet/design_sheet.h"

#include <optional>

namespace tivora {

enum class SenseRule {
    WholeAtLeastOne,  // blades
    AboveZero,        // tip speed ratio, blade radius, wind speed, Cl
    BetzLimit,        // efficiency: above 0, at most 0.593
    UnstalledAngle,   // alpha: -10 to 20 degrees; beyond, a thin airfoil has stalled
};

inline constexpr double kBetzLimit = 0.593;  // 16/27, to the three digits a user types
inline constexpr double kLowestAlpha = -10;
inline constexpr double kHighestAlpha = 20;

// The rule an input is held to; none for the other fields.
std::optional<SenseRule> senseRuleOf(Field field);

// The rule the field's current text breaks, if any. A text that is no number
// breaks none here: solving reports it.
std::optional<SenseRule> brokenSenseRule(const DesignSheet& sheet, Field field);

}  // namespace tivora
