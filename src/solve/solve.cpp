#include "solve.h"

#include "sheet/unit_conversions.h"

#include <algorithm>

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

// The inputs each result comes from that a later step of the solve reads: a
// zero or too large result is mended there, not in the result's own box,
// which the next solve overwrites.
std::vector<Field> inputsBehind(Field field)
{
    if (field == Field::Power)
        return {Field::Efficiency, Field::Radius, Field::WindSpeed};
    if (field == Field::GeneratorSpeed)
        return {Field::WindSpeed, Field::Tsr, Field::Radius};
    if (infoOf(field).column == StationColumn::Radius)
        return {Field::Radius};
    return {field};
}

bool readsAsZero(const DesignSheet& sheet, Field field)
{
    const ReadResult read = parseNumber(readText(sheet, field), sheet.numberFormat());
    return read.status == ReadStatus::Ok && read.value == 0.0;
}

// Takes the failure back from the results the solve wrote to the inputs the
// user typed, judged on the draft as it stood when the step failed.
Failure traceToInputs(Failure failure, const DesignSheet& draft)
{
    std::vector<Field> inputs;
    const auto add = [&inputs](Field input) {
        if (std::find(inputs.begin(), inputs.end(), input) == inputs.end())
            inputs.push_back(input);
    };
    if (failure.zeroField) {
        // A zero result: the inputs behind it that are zero themselves, or all
        // of them where only rounding made it zero.
        const std::vector<Field> behind = inputsBehind(*failure.zeroField);
        for (Field input : behind) {
            if (readsAsZero(draft, input))
                add(input);
        }
        if (inputs.empty())
            inputs = behind;
    } else {
        for (Field origin : failure.inputs) {
            for (Field input : inputsBehind(origin))
                add(input);
        }
    }
    failure.inputs = inputs == std::vector<Field>{failure.field} ? std::vector<Field>{} : inputs;
    return failure;
}

}  // namespace

std::optional<Failure> solve(DesignSheet& sheet)
{
    return runAllOrNothing(sheet, [](DesignSheet& draft) {
        try {
            solveSteps(draft);
        } catch (const StepFailure& failure) {
            throw StepFailure(traceToInputs(failure.failure(), draft));
        }
    });
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
        // R and λ are read twice, in this order, as the formula is defined:
        // R1 R2 and λ1 λ2. The second read gives the same value; what it keeps
        // is the written grouping ((5.6 R) R) and (((B Cl) λ) λ). A tidier
        // 5.6 R² or B Cl λ² regroups the products and now and then changes the
        // last digit: radius 9.9, four blades, Cl 1.1, λ 10 give station 8 a
        // chord of 0.158 as written and 0.157 regrouped.
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
