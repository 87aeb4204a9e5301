#pragma once

// The solve command: rotor power, generator speed and torque, then the
// ten-station blade table, all computed in SI from the texts on the sheet.
// With Metric or Imperial selected, the inputs are first rewritten in SI
// (rounded to one decimal) and the shown results converted back at the end.

#include "sheet/design_sheet.h"

#include <optional>

namespace tivora {

// Runs the whole sequence. On failure the sheet is left exactly as it was.
[[nodiscard]] std::optional<Failure> solve(DesignSheet& sheet);

// The station passes, in the order solve runs them. They throw StepFailure
// and leave cleaning up to their caller.
void computeStationRadii(DesignSheet& sheet);
void computeStationChords(DesignSheet& sheet);
void computeStationTwists(DesignSheet& sheet);
void convertStationTableToImperial(DesignSheet& sheet);

}  // namespace tivora
