#pragma once

// Blade-element momentum analysis of a blade as built.
//
// Each blade element is solved with Ning's one-variable residual in the
// inflow angle φ (Ning 2014; the open-source CCBlade): the root is first
// bracketed, then found by Brent's method, so every element converges and
// there is no iteration limit to tune. Prandtl's tip and hub losses; Buhl's
// correction where the axial induction passes the momentum theory's limit.

#include "airfoil.h"
#include "result.h"
#include "sheet/design_sheet.h"

#include <vector>

namespace tivora::performance {

struct Station {
    double radius;        // m, from the rotor axis
    double chord;         // m
    double twistDegrees;  // β: the angle of the chord line to the rotor plane
};

// Linear between its stations from the first (the hub) to the last (the tip).
struct Blade {
    int blades = 3;
    std::vector<Station> stations;

    double tipRadius() const { return stations.back().radius; }
    double hubRadius() const { return stations.front().radius; }
};

Result<Blade> checkedBlade(Blade blade);

// The station table as the sheet shows it, in the unit system selected, in
// SI. The blade count is the sheet's too.
Result<Blade> bladeFromSheet(const DesignSheet& sheet);

// Tip radius over the chord at three quarters of it: the aspect ratio of
// Viterna and Corrigan's post-stall drag.
double aspectRatio(const Blade& blade);

struct Losses {
    bool tip = true;
    bool hub = true;
};

// Prandtl's tip and hub loss factor F = F_tip · F_hub at radius r (m) and
// inflow angle φ, as CCBlade has it: F_tip = (2/π) acos(exp(−B (R − r) /
// (2 r sin φ))), F_hub = (2/π) acos(exp(−B (r − R_hub) / (2 R_hub sin φ))).
double tipHubLoss(int blades, double r, double tipRadius, double hubRadius, double phiRadians, Losses losses = {});

struct StationResult {
    double radius;        // m
    double phiDegrees;    // inflow angle
    double alphaDegrees;  // angle of attack
    double cl, cd;
    double axialInduction;       // a
    double tangentialInduction;  // a'
    double tipHubLoss;           // F
    double normalLoad;           // N', N/m of one blade, at the wind speed given
    double tangentialLoad;       // T', N/m
    bool solved;                 // false: the residual has no root here, and the figures are none
};

struct RotorCoefficients {
    double cp = 0;  // power
    double ct = 0;  // thrust
    double cq = 0;  // torque, on πR³ ½ρV²
    // One blade's flapwise bending moment at its root (the first station),
    // on πR³ ½ρV²: the elements' normal loads times their distance from it.
    double flap = 0;
    long residualEvaluations = 0;
    // Elements whose residual has no root: they carry no load in the sums
    // above, and the analysis says so.
    int unsolvedElements = 0;
};

struct BladeAnalysis {
    std::vector<StationResult> stations;  // at the blade's own stations
    RotorCoefficients rotor;
    double power, thrust, torque;  // W, N, N·m at the wind speed given
};

// The rotor at tip speed ratio λ: integrated over elements between the
// stations, not at them, so that the zero load where Prandtl's factor is
// zero (hub and tip) needs no special case. The blade must be checked.
RotorCoefficients rotorCoefficients(const Blade& blade, const Airfoil& airfoil, double tsr, Losses losses = {});

// The same, with each station's figures and the loads at a wind speed.
// Where Prandtl's factor is zero (the hub and tip stations with losses on),
// the station's figures are those just inside the blade, 0.1 % of its span.
Result<BladeAnalysis> analyseBlade(const Blade& blade, const Airfoil& airfoil, double tsr, double windSpeed,
                                   double density, Losses losses = {});

}  // namespace tivora::performance
