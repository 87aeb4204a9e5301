#pragma once

// The blade's airfoil: lift and drag coefficients at every angle of attack
// from -180° to 180°.
//
// Within the angles it was given (a polar file, or the straight lift line of
// the two figures the user typed) it is read linearly between rows; beyond
// them it is extended as wind-turbine codes do, with Viterna and Corrigan's
// post-stall model from the positive and negative stall points, and a
// reversed section beyond ±90°, so that every operating point solves.

#include "result.h"

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

class Airfoil {
public:
    struct Coefficients {
        double cl;
        double cd;
    };
    // alpha in radians, any value: it is brought into [-π, π).
    Coefficients at(double alpha) const;

    const std::vector<PolarRow>& rows() const { return rows_; }

    // The rows must be checked already: two or more, angles rising within
    // (-90°, 90°), finite, drag not below zero. aspectRatio: the blade's tip
    // radius over its chord at three quarters of it.
    static Airfoil extended(std::vector<PolarRow> rows, double aspectRatio);

private:
    struct Side {
        double stallAlpha, stallCl;  // radians
        double a1, a2, b1, b2;
    };
    Coefficients beyond(const Side& side, double alpha, double sign) const;

    std::vector<PolarRow> rows_;
    std::vector<double> alpha_;  // radians, for the look-up
    Side positive_{}, negative_{};
};

// Lift slope 2π per radian through the design point, capped at ±Cl max.
Result<Airfoil> simpleAirfoil(const SimpleAirfoilInputs& inputs, double aspectRatio);

// XFOIL's polar output (its header, a dashed line, then alpha, CL, CD, ...
// columns) or plain alpha, Cl, Cd columns separated by commas, semicolons,
// tabs or blanks, with optional header lines before the numbers. The
// message of a Problem names the line and what was expected there.
Result<Airfoil> readPolar(std::string_view text, double aspectRatio);

}  // namespace tivora::performance
