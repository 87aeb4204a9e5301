#pragma once

// The alternator the analysis runs on: the three typed figures, or the
// machine designed from the input table's magnets and coils (or its test
// coil). One function gives the analysis what it takes either way.

#include "alternator_design.h"
#include "inputs.h"
#include "power_curve.h"

#include <optional>
#include <vector>

namespace tivora::performance {

enum class AlternatorFrom { Typed, Magnets, TestCoil };

// The design the inputs describe, checked: a Problem names the input at
// fault (coils not a multiple of 3, an odd number of magnets, magnets that
// overlap round their ring, coils with no room, wire that cannot fit).
Result<AlternatorDesign> alternatorDesignOf(const AnalysisInputs& inputs, const DesignFigures& design);

// What the analysis's Alternator takes (volts per rpm, battery, rectifier
// drop, winding resistance at 20 °C with the cable) and, when designed,
// the winding's continuous current rating and the whole design.
struct ChosenAlternator {
    AlternatorFrom from = AlternatorFrom::Typed;
    Alternator alternator;
    std::optional<double> currentRatingAmps;
    std::optional<AlternatorDesign> design;
    std::optional<DesignedAlternator> designed;
};
Result<ChosenAlternator> chosenAlternator(const AnalysisInputs& inputs, const DesignFigures& design);

// The turns per coil (and the thickest wire) for 12, 24 and 48 V batteries
// that make the alternator cut in at the rotor's best tip speed ratio at the
// wanted wind speed.
struct CutInTurns {
    double windMps = 0;
    double rpm = 0;  // the rotor's at its best tip speed ratio there
    std::vector<TurnsForCutIn> batteries;
};
inline constexpr double kSideBySideBatteries[] = {12, 24, 48};
CutInTurns cutInTurns(const AlternatorDesign& design, double windMps, double bestTsr, double tipRadiusM);

}  // namespace tivora::performance
