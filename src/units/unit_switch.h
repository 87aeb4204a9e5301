#pragma once

// Switching the shown unit system: converts wind speed, blade radius,
// generator speed and the station table from the system recorded in the
// hidden field `units` to the target, rewrites the unit captions, and records
// the target in `units` as its last write.

#include "sheet/design_sheet.h"

#include <optional>

namespace tivora {

// On failure the sheet, captions and units code included, is left as it was.
[[nodiscard]] std::optional<Failure> switchUnitSystem(DesignSheet& sheet, UnitSystem target);

// The system the shown figures are in, from the `units` code; none when the
// code is not one of 1, 2 and 3.
std::optional<UnitSystem> systemInForce(const DesignSheet& sheet);

}  // namespace tivora
