#pragma once

// The blade's airfoil: lift and drag coefficients at every angle of attack
// from -180° to 180°.
//
// Within the angles it was given (a polar file, or the straight lift line of
// the two figures the user typed) it is read linearly between rows; beyond
// them it is extended as wind-turbine codes do (AirfoilPrep, CCBlade), with
// Viterna and Corrigan's post-stall model fitted where the table ends and a
// reversed section beyond ±90°, so that every operating point solves. The
// extension joins the table without a step at either end and is finite at
// every angle, whatever angles the table covers.

#include "result.h"

#include <optional>
#include <string_view>
#include <vector>

namespace tivora::performance {

struct PolarRow {
    double alphaDegrees;
    double cl;
    double cd;
};

// The figures the typed design point is extended with; the defaults are a
// small-wind builder's usual guesses for a NACA 4-digit section at low
// Reynolds number.
struct SimpleAirfoilInputs {
    double cl = 0.85;         // at the design angle
    double alphaDegrees = 6;  // design angle of attack
    double clMax = 1.2;       // lift is capped here, -clMax on the negative side
    double glideRatio = 50;   // L/D at the design point; drag held at cl / glideRatio; infinity: no drag
};

// What a polar file may hold: beyond these no airfoil section goes, so a
// figure past them is a typing or unit slip, refused with its line.
inline constexpr double kLargestLift = 3;  // |Cl|, half as much again as a single section's best
// Cd: a flat plate across the wind, Viterna and Corrigan's 1.11 + 0.018 AR
// at the largest aspect ratio, 50.
inline constexpr double kLargestDrag = 2.01;

class Airfoil {
public:
    struct Coefficients {
        double cl;
        double cd;
    };
    // alpha in radians, any value: it is brought into [-π, π).
    Coefficients at(double alpha) const;

    const std::vector<PolarRow>& rows() const { return rows_; }
    // The Reynolds number the polar was computed or measured at, when its
    // file says (XFOIL's header does).
    std::optional<double> reynolds() const { return reynolds_; }

    // The rows must be checked already: two or more, angles rising within
    // (-90°, 90°), the last above 0°, finite, drag not below zero.
    // aspectRatio: the blade's tip radius over its chord at three quarters
    // of it.
    static Airfoil extended(std::vector<PolarRow> rows, double aspectRatio,
                            std::optional<double> reynolds = std::nullopt);

private:
    // Viterna and Corrigan's coefficients, fitted at a point (angle in
    // radians, above 0) of a table read with the angle's sign flipped as
    // needed, so that one form serves both sides.
    struct Viterna {
        double stallAlpha, a2, b2;
        double cl(double alpha, double cdMax) const;
        double cd(double alpha, double cdMax) const;
    };
    static Viterna fitted(double alpha, double cl, double cd, double cdMax);
    Coefficients beyondLast(double alpha) const;
    Coefficients beforeFirst(double alpha) const;
    Coefficients reversed(double fromBehind, double liftSign) const;

    std::vector<PolarRow> rows_;
    std::vector<double> alpha_;  // radians, for the look-up
    std::optional<double> reynolds_;
    double cdMax_ = 0;      // a flat plate's drag across the wind
    double leastDrag_ = 0;  // the table's, the floor of the extension's
    Viterna last_{}, first_{};
    double firstLift_ = 1;  // the negative side's Viterna lift as a share of its fit's
};

// Lift slope 2π per radian through the design point, capped at ±Cl max.
Result<Airfoil> simpleAirfoil(const SimpleAirfoilInputs& inputs, double aspectRatio);

// XFOIL's polar output (its header, a dashed line, then alpha, CL, CD, ...
// columns) or plain alpha, Cl, Cd columns separated by commas, semicolons,
// tabs or blanks, with optional header lines before the numbers; decimal
// commas read where the fields are separated otherwise. The message of a
// Problem names the line and what was expected there.
Result<Airfoil> readPolar(std::string_view text, double aspectRatio);

}  // namespace tivora::performance
