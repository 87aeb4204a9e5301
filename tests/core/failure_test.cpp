// A failed operation changes nothing and says what went wrong where.

#include "sheet_helpers.h"
#include "solve/solve.h"
#include "units/unit_switch.h"

#include <gtest/gtest.h>

namespace tivora {
namespace {

using namespace tivora::testing;
using enum Field;
using enum FailureKind;

struct SolveFailureRow {
    const char* behaviour;
    UnitSystem system;
    std::initializer_list<std::pair<Field, const char*>> inputs;
    Failure failure;
};

TEST(SolveFailure, LeavesTheWholeSheetAsItWasAndNamesKindAndField)
{
    const SolveFailureRow rows[] = {
        {"zero radius divides the speed by zero", UnitSystem::SI, {{Radius, "0"}}, {DivisionByZero, GeneratorSpeed}},
        {"zero wind speed makes torque divide by zero", UnitSystem::SI, {{WindSpeed, "0"}}, {DivisionByZero, Torque}},
        {"zero power and speed is still division by zero",
         UnitSystem::SI,
         {{Tsr, "0"}, {Efficiency, "0"}},
         {DivisionByZero, Torque}},
        {"empty Cl fails at the first chord", UnitSystem::SI, {{Cl, ""}}, {NotANumber, Cl}},
        {"empty Cl in imperial keeps the typed mph and feet",
         UnitSystem::Imperial,
         {{Cl, ""}, {WindSpeed, "20"}, {Radius, "10"}},
         {NotANumber, Cl}},
        {"empty efficiency in metric keeps the typed km/h",
         UnitSystem::Metric,
         {{Efficiency, ""}, {WindSpeed, "15"}},
         {NotANumber, Efficiency}},
        {"letters in TSR", UnitSystem::SI, {{Tsr, "seven"}}, {NotANumber, Tsr}},
        {"blades 0 divides the first chord by zero",
         UnitSystem::SI,
         {{Blades, "0"}},
         {DivisionByZero, stationChord(1)}},
        {"4 mm blade rounds station 1 to zero", UnitSystem::SI, {{Radius, "0.004"}}, {DivisionByZero, stationChord(1)}},
        {"empty alpha fails in the twists", UnitSystem::SI, {{Alpha, ""}}, {NotANumber, Alpha}},
        {"empty metric wind speed fails at once", UnitSystem::Metric, {{WindSpeed, ""}}, {NotANumber, WindSpeed}},
        {"empty imperial radius", UnitSystem::Imperial, {{Radius, " "}}, {NotANumber, Radius}},
        {"enormous wind speed overflows the power", UnitSystem::SI, {{WindSpeed, "1e120"}}, {Overflow, Power}},
        {"a wind speed beyond any double", UnitSystem::SI, {{WindSpeed, "1e400"}}, {Overflow, WindSpeed}},
        {"huge TSR overflows the chord", UnitSystem::SI, {{Tsr, "1e200"}}, {Overflow, stationChord(1)}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.behaviour);
        DesignSheet sheet = sheetWith(row.inputs, row.system);
        sheet.setText(stationTwist(10), "earlier");  // stands in for an earlier table
        const DesignSheet before = sheet;
        EXPECT_EQ(solve(sheet), row.failure);
        EXPECT_EQ(sheet, before);
    }
}

TEST(SolveFailure, TinyRadiusWouldHaveFilledTheRadiiBeforeFailing)
{
    // What the solve gets through before it stops, seen through its passes.
    DesignSheet sheet = sheetWith({{Radius, "0.004"}});
    computeStationRadii(sheet);
    EXPECT_EQ(radii(sheet),
              (Column{"0", "0.001", "0.001", "0.002", "0.002", "0.002", "0.003", "0.003", "0.004", "0.004"}));
    EXPECT_THROW(computeStationChords(sheet), StepFailure);

    DesignSheet draft = sheetWith({{Radius, "0.004"}});
    EXPECT_EQ(solve(draft), (Failure{DivisionByZero, stationChord(1)}));
}

struct SwitchFailureRow {
    const char* behaviour;
    std::vector<UnitSystem> before;
    std::initializer_list<std::pair<Field, const char*>> edits;
    UnitSystem target;
    Failure failure;
};

TEST(SwitchFailure, LeavesTheWholeSheetAsItWasAndNamesKindAndField)
{
    using enum UnitSystem;
    const SwitchFailureRow rows[] = {
        {"cleared wind speed, SI to metric", {}, {{WindSpeed, ""}}, Metric, {NotANumber, WindSpeed}},
        {"cleared wind speed, metric to SI", {Metric}, {{WindSpeed, ""}}, SI, {NotANumber, WindSpeed}},
        {"blank first radius is not an empty table",
         {},
         {{stationRadius(1), " "}},
         Imperial,
         {NotANumber, stationRadius(1)}},
        {"last chord empty, SI to imperial", {}, {{stationChord(10), ""}}, Imperial, {NotANumber, stationChord(10)}},
        {"last chord empty, imperial to SI, the step before the code",
         {Imperial},
         {{stationChord(10), ""}},
         SI,
         {NotANumber, stationChord(10)}},
        {"speed near the largest double overflows",
         {},
         {{GeneratorSpeed, "1.7e308"}},
         Metric,
         {Overflow, GeneratorSpeed}},
        {"cleared radius, metric to imperial", {Metric}, {{Radius, ""}}, Imperial, {NotANumber, Radius}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.behaviour);
        DesignSheet sheet;
        ASSERT_EQ(solve(sheet), std::nullopt);
        for (UnitSystem system : row.before) {
            sheet.setSelectedSystem(system);
            ASSERT_EQ(switchUnitSystem(sheet, system), std::nullopt);
        }
        for (const auto& [field, text] : row.edits)
            sheet.setText(field, text);
        sheet.setSelectedSystem(row.target);
        const DesignSheet before = sheet;
        EXPECT_EQ(switchUnitSystem(sheet, row.target), row.failure);
        EXPECT_EQ(sheet, before);
    }
}

}  // namespace
}  // namespace tivora
