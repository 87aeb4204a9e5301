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
        convert(sheet, "windspeed", metresPerSecFromKph, 1);
    if (system == UnitSystem::Imperial) {
        convert(sheet, "windspeed", metresPerSecFromMph, 1);
        convert(sheet, "radius", metresFromFeet, 1);
    }

    {
        const StepValue eta = read(sheet, "efficiency");
        const StepValue R = read(sheet, "radius");
        const StepValue V = read(sheet, "windspeed");
        write(sheet, "Text9", eta * 0.5 * kAirDensity * kPi * power(R, 2) * power(V, 3), 1);
    }
    {
        const StepValue V = read(sheet, "windspeed");
        const StepValue lambda = read(sheet, "tsr");
        const StepValue R = read(sheet, "radius");
        write(sheet, "Text6", V * lambda / R, 2);
    }
    {
        // Torque from the rounded texts just written, not the exact values.
        const StepValue P = read(sheet, "Text9");
        const StepValue omega = read(sheet, "Text6");
        write(sheet, "Text7", P / omega, 2);
    }

    // Metric shows its results before the table: the table needs the radius
    // in metres, and only Imperial changes the radius field.
    if (system == UnitSystem::Metric) {
        convert(sheet, "Text6", rpmFromRadPerSec, 1);
        convert(sheet, "windspeed", kphFromMetresPerSec, 1);
    }

    computeStationRadii(sheet);
    computeStationChords(sheet);
    computeStationTwists(sheet);

    if (system == UnitSystem::Imperial) {
        convert(sheet, "windspeed", mphFromMetresPerSec, 1);
        convert(sheet, "radius", feetFromMetres, 1);
        convert(sheet, "Text6", rpmFromRadPerSec, 1);
        convertStationTableToImperial(sheet);
    }
}

// Where each station sits along the blade; the tip is exactly the radius.
constexpr double kStationFraction[kStationCount] = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1};

// The inputs each result comes from that a later step of the solve reads: a
// zero or too large result is mended there, not in the result's own box,
// which the next solve overwrites.
std::vector<std::string> inputsBehind(const std::string& field)
{
    if (field == "Text9")
        return {"efficiency", "radius", "windspeed"};
    if (field == "Text6")
        return {"windspeed", "tsr", "radius"};
    for (int station = 1; station <= kStationCount; ++station) {
        if (field == stationRadiusField(station))
            return {"radius"};
    }
    return {field};
}

bool readsAsZero(const DesignSheet& sheet, const std::string& field)
{
    const ReadResult read = parseNumber(readText(sheet, field), sheet.numberFormat());
    return read.status == ReadStatus::Ok && read.value == 0.0;
}

// Takes the failure back from the results the solve wrote to the inputs the
// user typed, judged on the draft as it stood when the step failed.
Failure traceToInputs(Failure failure, const DesignSheet& draft)
{
    std::vector<std::string> inputs;
    const auto add = [&inputs](const std::string& input) {
        if (std::find(inputs.begin(), inputs.end(), input) == inputs.end())
            inputs.push_back(input);
    };
    if (!failure.zeroField.empty()) {
        // A zero result: the inputs behind it that are zero themselves, or all
        // of them where only rounding made it zero.
        const std::vector<std::string> behind = inputsBehind(failure.zeroField);
        for (const std::string& input : behind) {
            if (readsAsZero(draft, input))
                add(input);
        }
        if (inputs.empty())
            inputs = behind;
    } else {
        for (const std::string& origin : failure.inputs) {
            for (const std::string& input : inputsBehind(origin))
                add(input);
        }
    }
    failure.inputs = inputs == std::vector<std::string>{failure.field} ? std::vector<std::string>{} : inputs;
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
        const StepValue R = read(sheet, "radius");
        write(sheet, stationRadiusField(station), kStationFraction[station - 1] * R, 3);
    }
}

// The optimum blade in its small-angle form, 16π/9 taken as 5.6. The station
// radius r is the rounded text of the radii pass.
void computeStationChords(DesignSheet& sheet)
{
    constexpr double kChordFactor = 5.6;
    for (int station = 1; station <= kStationCount; ++station) {
        const StepValue R1 = read(sheet, "radius");
        const StepValue R2 = read(sheet, "radius");
        const StepValue B = read(sheet, "blades");
        const StepValue Cl = read(sheet, "cl");
        const StepValue lambda1 = read(sheet, "tsr");
        const StepValue lambda2 = read(sheet, "tsr");
        const StepValue r = read(sheet, stationRadiusField(station));
        write(sheet, stationChordField(station), (kChordFactor * R1 * R2) / (B * Cl * lambda1 * lambda2 * r), 3);
    }
}

// Twist is the inflow angle atan(2 / (3 λr)) less the angle of attack.
void computeStationTwists(DesignSheet& sheet)
{
    constexpr double kInflowFactor = 1.5;
    for (int station = 1; station <= kStationCount; ++station) {
        const std::string twistField = stationTwistField(station);
        const StepValue r = read(sheet, stationRadiusField(station));
        const StepValue lambda = read(sheet, "tsr");
        const StepValue R = read(sheet, "radius");
        const StepValue q = kInflowFactor * r * lambda / R;
        const StepValue phi = arctangent(1 / q);
        settle(phi, twistField);  // the angle comes before alpha is read
        const StepValue alpha = read(sheet, "alpha");
        write(sheet, twistField, phi * 360 / kTwoPi - alpha, 1);
    }
}

void convertStationTableToImperial(DesignSheet& sheet)
{
    convertStationTable(sheet, feetFromMetres, inchesFromMetres);
}

}  // namespace tivora
