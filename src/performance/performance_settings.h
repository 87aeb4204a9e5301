#pragma once

// The Rotor Performance window's inputs as the design file keeps them: one
// named setting a row, in SI and with a full stop whatever the user's
// format, so that a design opens with the same site, airfoil and running in
// any locale and unit system.

#include "rotor_performance.h"
#include "sheet/design_file.h"

#include <string>

namespace tivora::performance {

// A polar file is kept by its name only: the file itself stays the user's.
DesignSettings settingsOf(const PerformanceInputs& inputs, const std::string& polarName);

// The inputs the settings name, the others at their start values; a value
// that does not read leaves its start value. The name of a polar file used
// when the design was saved goes to `polarName` (its text is not in the file).
PerformanceInputs inputsFrom(const DesignSettings& settings, std::string& polarName);

}  // namespace tivora::performance
