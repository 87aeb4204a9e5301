#include "solve.h"

#include "sheet/unit_conversions.h"

namespace tivora {

namespace {

using namespace units;

constexpr double kAirDensity = 1.22;      // kg/m³, fixed
constexpr double kPi = 3.14159265358979;  // as written, not the full double

void solveSteps(DesignSheet& sheet)
{
    const UnitSystem system = sheet.selectedSystem();

    // Inputs to SI, in their own fields.
    if (system == UnitSystem::Metric)
        convert(sheet, Field::WindSpeed, metresPerSecFromKph, 1);
    if (system == UnitSystem::Imperial) {
        convert(sheet, Field::WindSpeed, metresPerSecFromMph, 1);
        convert(sheet, Field::Radius, metresFromFeet, 1);
    }

    {
        const StepValue eta = read(sheet, Field::Efficiency);
        const StepValue R = read(sheet, Field::Radius);
        const StepValue V = read(sheet, Field::WindSpeed);
        write(sheet, Field::Power, eta * 0.5 * kAirDensity * kPi * power(R, 2) * power(V, 3), 1);
    }
    {
        const StepValue V = read(sheet, Field::WindSpeed);
        const StepValue lambda = read(sheet, Field::Tsr);
        const StepValue R = read(sheet, Field::Radius);
        write(sheet, Field::GeneratorSpeed, V * lambda / R, 2);
    }
    {
        // Torque from the rounded texts just written, not the exact values.
        const StepValue P = read(sheet, Field::Power);
        const StepValue omega = read(sheet, Field::GeneratorSpeed);
        write(sheet, Field::Torque, P / omega, 2);
    }

    // Metric shows its results before the table: the table needs the radius
    // in metres, and only Imperial changes the radius field.
    if (system == UnitSystem::Metric) {
        convert(sheet, Field::GeneratorSpeed, rpmFromRadPerSec, 1);
        convert(sheet, Field::WindSpeed, kphFromMetresPerSec, 1);
    }

    computeStationRadii(sheet);
    computeStationChords(sheet);
    computeStationTwists(sheet);

    if (system == UnitSystem::Imperial) {
        convert(sheet, Field::WindSpeed, mphFromMetresPerSec, 1);
        convert(sheet, Field::Radius, feetFromMetres, 1);
        convert(sheet, Field::GeneratorSpeed, rpmFromRadPerSec, 1);
        convertStationTableToImperial(sheet);
    }
}

// Where each station sits along the blade; the tip is exactly the radius.
constexpr double kStationFraction[kStationCount] = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1};

}  // namespace

std::optional<Failure> solve(DesignSheet& sheet)
{
    return runAllOrNothing(sheet, solveSteps);
}

void computeStationRadii(DesignSheet& sheet)
{
    for (int station = 1; station <= kStationCount; ++station) {
        const StepValue R = read(sheet, Field::Radius);
        write(sheet, stationRadius(station), kStationFraction[station - 1] * R, 3);
    }
}

// The optimum blade in its small-angle form, 16π/9 taken as 5.6. The station
// radius r is the rounded text of the radii pass.
void computeStationChords(DesignSheet& sheet)
{
    constexpr double kChordFactor = 5.6;
    for (int station = 1; station <= kStationCount; ++station) {
        const StepValue R1 = read(sheet, Field::Radius);
        const StepValue R2 = read(sheet, Field::Radius);
        const StepValue B = read(sheet, Field::Blades);
        const StepValue Cl = read(sheet, Field::Cl);
        const StepValue lambda1 = read(sheet, Field::Tsr);
        const StepValue lambda2 = read(sheet, Field::Tsr);
        const StepValue r = read(sheet, stationRadius(station));
        write(sheet, stationChord(station), (kChordFactor * R1 * R2) / (B * Cl * lambda1 * lambda2 * r), 3);
    }
}

// Twist is the inflow angle atan(2 / (3 λr)) less the angle of attack.
void computeStationTwists(DesignSheet& sheet)
{
    constexpr double kInflowFactor = 1.5;
    for (int station = 1; station <= kStationCount; ++station) {
        const Field twistField = stationTwist(station);
        const StepValue r = read(sheet, stationRadius(station));
        const StepValue lambda = read(sheet, Field::Tsr);
        const StepValue R = read(sheet, Field::Radius);
        const StepValue q = kInflowFactor * r * lambda / R;
        const StepValue phi = arctangent(1 / q);
        settle(phi, twistField);  // the angle comes before alpha is read
        const StepValue alpha = read(sheet, Field::Alpha);
        write(sheet, twistField, phi * 360 / kTwoPi - alpha, 1);
    }
}

void convertStationTableToImperial(DesignSheet& sheet)
{
    convertStationTable(sheet, feetFromMetres, inchesFromMetres);
}

}  // namespace tivora
