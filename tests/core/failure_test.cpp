// A failed operation changes nothing and says what went wrong where.

#include "sheet_helpers.h"
#include "solve/solve.h"
#include "units/unit_switch.h"

#include <gtest/gtest.h>

namespace tivora {
namespace {

using namespace tivora::testing;
using enum FailureKind;

struct SolveFailureRow {
    const char* behaviour;
    UnitSystem system;
    std::initializer_list<std::pair<const char*, const char*>> inputs;
    Failure failure;
};

TEST(SolveFailure, LeavesTheWholeSheetAsItWasAndNamesKindAndField)
{
    const SolveFailureRow rows[] = {
        {"zero radius divides the speed by zero",
         UnitSystem::SI,
         {{"radius", "0"}},
         {DivisionByZero, "Text6", "radius", {"radius"}}},
        {"zero wind speed makes torque divide by zero",
         UnitSystem::SI,
         {{"windspeed", "0"}},
         {DivisionByZero, "Text7", "Text6", {"windspeed"}}},
        {"zero power and speed is still division by zero",
         UnitSystem::SI,
         {{"tsr", "0"}, {"efficiency", "0"}},
         {DivisionByZero, "Text7", "Text6", {"tsr"}}},
        {"empty Cl fails at the first chord", UnitSystem::SI, {{"cl", ""}}, {NotANumber, "cl"}},
        {"empty Cl in imperial keeps the typed mph and feet",
         UnitSystem::Imperial,
         {{"cl", ""}, {"windspeed", "20"}, {"radius", "10"}},
         {NotANumber, "cl"}},
        {"empty efficiency in metric keeps the typed km/h",
         UnitSystem::Metric,
         {{"efficiency", ""}, {"windspeed", "15"}},
         {NotANumber, "efficiency"}},
        {"letters in TSR", UnitSystem::SI, {{"tsr", "seven"}}, {NotANumber, "tsr"}},
        {"a speed rounded to zero names every input behind it",
         UnitSystem::SI,
         {{"windspeed", "0.0001"}},
         {DivisionByZero, "Text7", "Text6", {"windspeed", "tsr", "radius"}}},
        {"0.1 km/h is zero m/s once converted",
         UnitSystem::Metric,
         {{"windspeed", "0.1"}},
         {DivisionByZero, "Text7", "Text6", {"windspeed"}}},
        {"blades 0 divides the first chord by zero",
         UnitSystem::SI,
         {{"blades", "0"}},
         {DivisionByZero, "Text8", "blades", {"blades"}}},
        {"4 mm blade rounds station 1 to zero",
         UnitSystem::SI,
         {{"radius", "0.004"}},
         {DivisionByZero, "Text8", "Text29", {"radius"}}},
        {"empty alpha fails in the twists", UnitSystem::SI, {{"alpha", ""}}, {NotANumber, "alpha"}},
        {"empty metric wind speed fails at once", UnitSystem::Metric, {{"windspeed", ""}}, {NotANumber, "windspeed"}},
        {"empty imperial radius", UnitSystem::Imperial, {{"radius", " "}}, {NotANumber, "radius"}},
        {"enormous wind speed overflows the power",
         UnitSystem::SI,
         {{"windspeed", "1e120"}},
         {Overflow, "Text9", "", {"windspeed"}}},
        {"a wind speed beyond any double", UnitSystem::SI, {{"windspeed", "1e400"}}, {TooLargeToRead, "windspeed"}},
        {"huge TSR overflows the chord",
         UnitSystem::SI,
         {{"tsr", "1e200"}},
         {Overflow, "Text8", "", {"blades", "cl", "tsr"}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.behaviour);
        DesignSheet sheet = sheetWith(row.inputs, row.system);
        sheet.setText("Text28", "earlier");  // stands in for an earlier table
        const DesignSheet before = sheet;
        EXPECT_EQ(solve(sheet), row.failure);
        EXPECT_EQ(sheet, before);
    }
}

TEST(SolveFailure, TinyRadiusWouldHaveFilledTheRadiiBeforeFailing)
{
    // What the solve gets through before it stops, seen through its passes.
    DesignSheet sheet = sheetWith({{"radius", "0.004"}});
    computeStationRadii(sheet);
    EXPECT_EQ(radii(sheet),
              (Column{"0", "0.001", "0.001", "0.002", "0.002", "0.002", "0.003", "0.003", "0.004", "0.004"}));
    EXPECT_THROW(computeStationChords(sheet), StepFailure);

    DesignSheet draft = sheetWith({{"radius", "0.004"}});
    EXPECT_EQ(solve(draft), (Failure{DivisionByZero, "Text8", "Text29", {"radius"}}));
}

struct SwitchFailureRow {
    const char* behaviour;
    std::vector<UnitSystem> before;
    std::initializer_list<std::pair<const char*, const char*>> edits;
    UnitSystem target;
    Failure failure;
};

TEST(SwitchFailure, LeavesTheWholeSheetAsItWasAndNamesKindAndField)
{
    using enum UnitSystem;
    const SwitchFailureRow rows[] = {
        {"cleared wind speed, SI to metric", {}, {{"windspeed", ""}}, Metric, {NotANumber, "windspeed"}},
        {"cleared wind speed, metric to SI", {Metric}, {{"windspeed", ""}}, SI, {NotANumber, "windspeed"}},
        {"blank first radius is not an empty table", {}, {{"Text29", " "}}, Imperial, {NotANumber, "Text29"}},
        {"last chord empty, SI to imperial", {}, {{"Text18", ""}}, Imperial, {NotANumber, "Text18"}},
        {"last chord empty, imperial to SI, the step before the code",
         {Imperial},
         {{"Text18", ""}},
         SI,
         {NotANumber, "Text18"}},
        {"speed near the largest double overflows", {}, {{"Text6", "1.7e308"}}, Metric, {Overflow, "Text6"}},
        {"cleared radius, metric to imperial", {Metric}, {{"radius", ""}}, Imperial, {NotANumber, "radius"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.behaviour);
        DesignSheet sheet;
        ASSERT_EQ(solve(sheet), std::nullopt);
        for (UnitSystem system : row.before) {
            sheet.setSelectedSystem(system);
            ASSERT_EQ(switchUnitSystem(sheet, system), std::nullopt);
        }
        for (const auto& [name, text] : row.edits)
            sheet.setText(name, text);
        sheet.setSelectedSystem(row.target);
        const DesignSheet before = sheet;
        EXPECT_EQ(switchUnitSystem(sheet, row.target), row.failure);
        EXPECT_EQ(sheet, before);
    }
}

}  // namespace
}  // namespace tivora
