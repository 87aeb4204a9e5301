#pragma once

// What the blade gives across tip speed ratios and wind speeds: its
// power coefficient curve, and its power curve run two ways, held at the
// design tip speed ratio by a controller or loaded by a battery-charging
// permanent-magnet alternator, with the state the rotor is in at each wind
// speed. And a measured power curve read from a file.

#include "measured_curve.h"
#include "rotor.h"
#include "site.h"

#include <string_view>
#include <vector>

namespace tivora::performance {

struct CpPoint {
    double tsr, cp, ct, cq;
    double flap = 0;  // one blade's root flapwise moment on πR³ ½ρV²
};

struct CpCurve {
    std::vector<CpPoint> points;  // λ 0.5 to 15 in steps of 0.25
    double peakTsr = 0;           // to 0.001, between the grid's points
    double peakCp = 0;
    long residualEvaluations = 0;
    int unsolvedElements = 0;  // over every point: elements whose residual has no root
};

CpCurve cpCurve(const Blade& blade, const Airfoil& airfoil, Losses losses = {});

// Linear between the curve's points; 0 at λ 0; past the last point, the
// last segment carried on.
double cpAt(const CpCurve& curve, double tsr);

// Where the unloaded rotor runs: the tip speed ratio above the peak at
// which its Cp falls back to zero, or the curve's last where it never does.
double freeRunningTsr(const CpCurve& curve);

// The wind speeds of every power curve: 0 to 25 m/s in bins of 0.5 m/s.
std::vector<double> windSpeedBins();

// What the rotor does at a wind speed.
enum class OperatingState {
    BelowCutIn,   // too slow to deliver: below the cut-in, or turning too slowly to charge
    Held,         // held at its tip speed ratio by the controller
    AtRated,      // held, its delivered power capped at the rated power
    CutOut,       // stopped above the cut-out wind speed
    Charging,     // on the alternator, on the fast side of the peak or near it
    Stalled,      // on the alternator, held so far on the slow side of the peak that the blade stalls
    Runaway,      // the alternator cannot hold the rotor within the curve's tip speed ratios
    Furled,       // turned out of the wind by the tail past its onset, delivering
    Overheating,  // on the alternator, a current above the winding's continuous rating
};

// The share of the peak Cp below which a rotor held on the slow side of
// the peak is stalled: there the blade's sections are past their lift's
// maximum, and a little more load slows it further.
inline constexpr double kStalledBelowPeakShare = 0.9;

struct PowerCurveRow {
    double windMps;
    double rpm;             // rotor, direct drive
    double rotorWatts;      // the shaft power the blade gives at that rpm
    double deliveredWatts;  // to the load
    double lossWatts;       // rotor less delivered: the rectifier and winding, or what is shed above rated
    double cp;              // of the rotor power
    double torqueNm;        // of the rotor power
    OperatingState state;
    // What limits the machine (limits.h): filled by the curves with limits.
    double tipSpeedMps = 0;
    bool pastTipSpeedLimit = false;
    double yawDegrees = 0;   // the furled rotor's angle out of the wind
    double runawayRpm = 0;   // the rotor unloaded at this wind speed
    double currentAmps = 0;  // on the alternator
    double copperWatts = 0;  // I²R in the warm winding
    double rectifierWatts = 0;
    double efficiency = 0;    // delivered over the rotor's power
    double thrustN = 0;       // on the rotor, along its axis
    double rootMomentNm = 0;  // one blade's root, flapwise
    double centrifugalN = 0;  // at one blade's root
};

// A controlled, variable-speed rotor: held at its tip speed ratio between
// cut-in and cut-out, the delivered power capped at the rated power. Still
// outside that range.
struct HeldRunning {
    double tsr = 7;
    double cutInMps = 3;
    double cutOutMps = 25;
    double ratedWatts = 2587.1;
};
Result<std::vector<PowerCurveRow>> heldPowerCurve(const HeldRunning& running, double cpAtTsr, double tipRadiusM,
                                                  double densityKgM3);

// A permanent-magnet alternator charging a battery through a rectifier:
// current flows once the open-circuit voltage passes the battery's plus
// the rectifier's drop, limited by the winding's resistance.
struct Alternator {
    double voltsPerRpm = 0.12;        // open circuit
    double batteryVolts = 24;         //
    double rectifierDropVolts = 1.4;  // two silicon diodes
    double windingOhms = 3;           // line to line through the rectifier, with the cable

    double cutInRpm() const { return (batteryVolts + rectifierDropVolts) / voltsPerRpm; }
    double currentAmps(double rpm) const;
    double shaftWatts(double rpm) const;  // to the battery, the rectifier and the winding
    double batteryWatts(double rpm) const { return batteryVolts * currentAmps(rpm); }
};
Result<Alternator> checkedAlternator(const Alternator& alternator);

// Where the rotor, speeding up from rest at a wind speed, first meets the
// alternator: its power at that rpm (from the Cp–λ curve) equals the
// alternator's shaft power. The one crossing finder of the analysis.
PowerCurveRow alternatorRow(const CpCurve& curve, const Alternator& alternator, double windMps, double tipRadiusM,
                            double densityKgM3);
std::vector<PowerCurveRow> alternatorPowerCurve(const CpCurve& curve, const Alternator& alternator, double tipRadiusM,
                                                double densityKgM3);

}  // namespace tivora::performance
