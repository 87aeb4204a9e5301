#pragma once

// What the blade gives across tip speed ratios and wind speeds: its
// power coefficient curve, and its power curve run two ways, held at the
// design tip speed ratio by a controller or loaded by a battery-charging
// permanent-magnet alternator. And a measured power curve read from a file.

#include "measured_curve.h"
#include "rotor.h"
#include "site.h"

#include <string_view>
#include <vector>

namespace tivora::performance {

struct CpPoint {
    double tsr, cp, ct, cq;
};

struct CpCurve {
    std::vector<CpPoint> points;  // λ 0.5 to 15 in steps of 0.25
    double peakTsr = 0;           // to 0.001, between the grid's points
    double peakCp = 0;
    long residualEvaluations = 0;
};

CpCurve cpCurve(const Blade& blade, const Airfoil& airfoil, Losses losses = {});

// Linear between the curve's points; 0 at λ 0; past the last point, the
// last segment carried on.
double cpAt(const CpCurve& curve, double tsr);

// The wind speeds of every power curve: 0 to 25 m/s in bins of 0.5 m/s.
std::vector<double> windSpeedBins();

struct PowerCurveRow {
    double windSpeed;       // m/s
    double rpm;             // rotor, direct drive
    double rotorPower;      // W, what the blade gives at that rpm
    double deliveredPower;  // W, to the load
    double cp;              // of the rotor power
    double torque;          // N·m, of the rotor power
};

// A controlled, variable-speed rotor: held at its tip speed ratio between
// cut-in and cut-out, the delivered power capped at the rated power. Still
// outside that range.
struct HeldRunning {
    double tsr = 7;
    double cutIn = 3;            // m/s
    double cutOut = 25;          // m/s
    double ratedPower = 2587.1;  // W
};
Result<std::vector<PowerCurveRow>> heldPowerCurve(const HeldRunning& running, double cpAtTsr, double tipRadius,
                                                  double density);

// A permanent-magnet alternator charging a battery through a rectifier:
// current flows once the open-circuit voltage passes the battery's plus
// the rectifier's drop, limited by the winding's resistance.
struct Alternator {
    double voltsPerRpm = 0.12;     // open circuit, V/rpm
    double batteryVolts = 24;      // V
    double rectifierDrop = 1.4;    // V, two silicon diodes
    double windingResistance = 3;  // Ω, line to line through the rectifier, with the cable

    double cutInRpm() const { return (batteryVolts + rectifierDrop) / voltsPerRpm; }
    double current(double rpm) const;      // A
    double shaftPower(double rpm) const;   // W: to the battery, the rectifier and the winding
    double batteryPower(double rpm) const  // W
    {
        return batteryVolts * current(rpm);
    }
};
Result<Alternator> checkedAlternator(const Alternator& alternator);

enum class AlternatorState {
    BelowCutIn,  // the unloaded rotor turns too slowly to charge
    Charging,    // at the crossing, on the fast side of the curve's peak
    Stalled,     // at the crossing, held on the slow side of the peak, where the blade stalls
    Runaway,     // the alternator cannot hold the rotor within the curve's tip speed ratios
};
struct AlternatorRow {
    PowerCurveRow row;
    AlternatorState state;
};
// Where the rotor, accelerating from rest, first meets the alternator: the
// rotor's power at that rpm (from the Cp–λ curve) equals the alternator's
// shaft power.
std::vector<AlternatorRow> alternatorPowerCurve(const CpCurve& curve, const Alternator& alternator, double tipRadius,
                                                double density);

}  // namespace tivora::performance
