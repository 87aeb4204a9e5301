#pragma once

// What limits a real small turbine, modelled: the tail that turns the rotor
// out of the wind, the regulation of a rotor held at its tip speed ratio,
// the alternator's heat, the tip speed, the rotor left to run away, the
// loads at the blade root and on the tower, and the Reynolds number its
// sections work at. Figures for a first sizing, not a certification.
//
// Sources (README, "What limits the machine"):
// - the yawed rotor: Glauert's momentum theory of a rotor at yaw γ, as
//   Burton, Sharpe, Jenkins and Bossanyi give it ("Wind Energy Handbook",
//   2001, §3.10): the wind's component along the rotor's axis, V cos γ, does
//   the work, so the thrust goes with cos²γ and the power with cos³γ;
// - annealed copper's temperature coefficient, 0.00393 /K at 20 °C
//   (IEC 60028, the international standard of resistance for copper);
// - air's viscosity by Sutherland's law with the constants of the U.S.
//   Standard Atmosphere (1976);
// - the parked rotor's loads: IEC 61400-2's simplified load model, load case
//   H (parked wind loading), drag coefficient 1.5 on the blades' planform.

#include "power_curve.h"

#include <optional>
#include <vector>

namespace tivora::performance {

// --- The yawed rotor and the furling tail ---

struct YawedShare {
    double power;   // of the rotor's power facing the wind: cos³γ
    double thrust;  // of its thrust: cos²γ
};
YawedShare yawedShare(double yawRadians);

// A hinged tail's restoring moment is about constant once it lifts, and
// balances the thrust's moment about the yaw axis: with the thrust ∝
// (V cos γ)², cos γ = V_onset / V past the onset, so the rotor sees the
// onset's wind along its axis. 0 below the onset.
double furlAngleRadians(double onsetMps, double windMps);

// --- Copper and air ---

// IEC 60028 annealed copper: R(T) = R20 (1 + 0.00393 (T − 20 °C)).
inline constexpr double kCopperTemperatureCoefficient = 0.00393;  // per K, at 20 °C
double copperOhms(double ohmsAt20Celsius, double celsius);

// Sutherland's law, μ = μ0 (T / T0)^1.5 (T0 + S) / (T + S), with the U.S.
// Standard Atmosphere's μ0 = 1.716e-5 Pa·s at T0 = 273.15 K and S = 110.4 K:
// 1.789e-5 Pa·s at 15 °C.
double airViscosityPaS(double celsius);
// ρ W c / μ.
double reynoldsNumber(double densityKgM3, double speedMps, double chordM, double viscosityPaS);

// --- Loads ---

// IEC 61400-2's simplified load model, load case H: the parked blades take
// the wind's drag flat on, C_d = 1.5 on each blade's planform area; the
// shaft the thrust F = B C_d ½ ρ V_e50² A_B, each blade's root the moment
// M = C_d ¼ ρ V_e50² A_B R (the drag at half the radius).
inline constexpr double kParkedDragCoefficient = 1.5;
struct ParkedLoads {
    double thrustN = 0;
    double rootMomentNm = 0;
};
ParkedLoads parkedLoads(int blades, double bladeAreaM2, double tipRadiusM, double densityKgM3, double windMps);

// m ω² r, the blade's mass at its centre of mass.
double centrifugalForceN(double massKg, double rpm, double centreRadiusM);

// One blade's planform: its chord integrated from the first station to the tip.
double planformAreaM2(const Blade& blade);

// --- The curves with their limits ---

struct Limits {
    std::optional<double> furlOnsetMps;  // none: no furling tail
    double tipSpeedLimitMps = 80;
    double currentRatingAmps = 0;  // on the alternator
    double bladeMassKg = 0;
    double bladeCentreM = 0;
};

// The curve's coefficients at a tip speed ratio: thrust, and one blade's
// root flapwise moment on πR³ ½ρV²; below the curve's first point, its first.
double ctAt(const CpCurve& curve, double tsr);
double flapAt(const CpCurve& curve, double tsr);

// The unloaded rotor (the battery disconnected, the alternator open).
struct Runaway {
    double tsr = 0;  // where Cp falls back to zero
    // The wind speed along the axis past which the furled, unloaded rotor
    // sees no more: its thrust at the runaway tip speed ratio meets the
    // tail's moment there; none without a tail.
    std::optional<double> furledWindMps;
    // Where its tip passes the tip-speed limit; none: never up to 25 m/s.
    std::optional<double> pastLimitMps;
};

struct LimitedCurve {
    std::vector<PowerCurveRow> rows;
    Runaway runaway;
    double onsetThrustN = 0;  // the loaded rotor's at the furl onset: what the tail is set to hold
};

// Held at the design tip speed ratio between cut-in and cut-out, furled past
// the onset, and regulated at the rated power: where the rotor would give
// more, the controller slows it to the tip speed ratio below the design's
// at which its shaft power is the rated power (it stalls its blades), so
// the shaft never gives more than the load takes.
LimitedCurve heldCurve(const HeldRunning& running, double designCp, const CpCurve& curve, const Limits& limits,
                       double tipRadiusM, double densityKgM3);

// On the alternator, furled past the onset; the current, copper and
// rectifier losses and efficiency at each bin, and "overheating" where the
// current passes the rating. The alternator's resistance is the warm one.
LimitedCurve alternatorCurve(const CpCurve& curve, const Alternator& alternator, const Limits& limits,
                             double tipRadiusM, double densityKgM3);

// The first wind speed of a curve whose tip runs past the limit; none.
std::optional<double> firstPastTipLimit(const std::vector<PowerCurveRow>& rows);
// The first overheating wind speed; none.
std::optional<double> firstOverheating(const std::vector<PowerCurveRow>& rows);

}  // namespace tivora::performance
