#pragma once

// The blade the rotor is analysed as: the one carved. The Blade Sections
// window trims the solved blade for carving (its chord capped, chord and
// twist straight between two stations) and weighs it; the rotor analysis
// takes the same trim and mass, so that what it says is what the builder
// cuts. On the command line --largest-chord, --straight-from and
// --straight-to set the trim.

#include "inputs.h"
#include "rotor.h"
#include "workshop/blade.h"

namespace tivora::performance {

// The Blade Sections window's trim, with the command line's where given; a
// Problem names a straight stretch between no two stations.
Result<workshop::Trim> trimOf(const AnalysisInputs& inputs);

// The checked blade as the trim cuts it.
Blade trimmedBlade(const Blade& solved, const workshop::Trim& trim);

struct CarvedMass {
    double kg = 0;
    double centreRadiusM = 0;
};
// As the Blade Sections window weighs it: its wood and thickness, its
// section (a coordinates file's, or the main window's airfoil), the trim;
// none before Solve!.
std::optional<CarvedMass> carvedMass(const DesignSheet& sheet, const AnalysisInputs& inputs);

}  // namespace tivora::performance
