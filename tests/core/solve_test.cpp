#include "sheet_helpers.h"
#include "solve/solve.h"

#include <gtest/gtest.h>

namespace tivora {
namespace {

using namespace tivora::testing;
using enum Field;

struct PerformanceRow {
    const char* behaviour;
    UnitSystem system;
    std::initializer_list<std::pair<Field, const char*>> inputs;
    const char *windspeed, *radius, *power, *speed, *torque;
};

const PerformanceRow kPerformanceRows[] = {
    {"default rotor in SI gives back its start outputs", UnitSystem::SI, {}, "15", "1", "2587.1", "105", "24.64"},
    {"metric 54 km/h is 15 m/s, speed shown in rpm",
     UnitSystem::Metric,
     {{WindSpeed, "54"}},
     "54",
     "1",
     "2587.1",
     "1002.7",
     "24.64"},
    {"metric solve drifts 15 km/h to 15.1",
     UnitSystem::Metric,
     {{WindSpeed, "15"}},
     "15.1",
     "1",
     "56.8",
     "280.7",
     "1.93"},
    {"imperial 33.6 mph and 3.3 ft are the default rotor",
     UnitSystem::Imperial,
     {{WindSpeed, "33.6"}, {Radius, "3.3"}},
     "33.6",
     "3.3",
     "2587.1",
     "1002.7",
     "24.64"},
    {"imperial 20 mph and 10 ft compute with 8.9 m/s and 3 m",
     UnitSystem::Imperial,
     {{WindSpeed, "20"}, {Radius, "10"}},
     "19.9",
     "9.8",
     "4863.5",
     "198.3",
     "234.16"},
    {"zero efficiency gives zero power and torque", UnitSystem::SI, {{Efficiency, "0"}}, "15", "1", "0", "105", "0"},
    {"torque divides the rounded power by the rounded speed",
     UnitSystem::SI,
     {{WindSpeed, "14.96"}},
     "14.96",
     "1",
     "2566.5",
     "104.72",
     "24.51"},
};

TEST(Solve, WritesPowerSpeedTorqueAndConvertsInputsBack)
{
    for (const auto& row : kPerformanceRows) {
        SCOPED_TRACE(row.behaviour);
        DesignSheet sheet = sheetWith(row.inputs, row.system);
        ASSERT_EQ(solve(sheet), std::nullopt);
        EXPECT_EQ(sheet.text(WindSpeed), row.windspeed);
        EXPECT_EQ(sheet.text(Radius), row.radius);
        EXPECT_EQ(sheet.text(Power), row.power);
        EXPECT_EQ(sheet.text(GeneratorSpeed), row.speed);
        EXPECT_EQ(sheet.text(Torque), row.torque);

        // A second solve of what the first one left changes nothing.
        DesignSheet again = sheet;
        ASSERT_EQ(solve(again), std::nullopt);
        EXPECT_EQ(again, sheet);
    }
}

struct TableRow {
    const char* behaviour;
    UnitSystem system;
    std::initializer_list<std::pair<Field, const char*>> inputs;
    Column radii, chords, twists;
};

TEST(Solve, FillsTheStationTable)
{
    const Column wideRadii = {"0.984", "1.969", "2.953", "3.937", "4.921", "5.906", "6.89", "7.874", "8.858", "9.843"};
    const TableRow rows[] = {
        {"default rotor", UnitSystem::SI, {}, kDefaultRadii, kDefaultChords, kDefaultTwists},
        {"metric table ignores the wind speed",
         UnitSystem::Metric,
         {{WindSpeed, "15"}},
         kDefaultRadii,
         kDefaultChords,
         kDefaultTwists},
        {"imperial table in feet and inches from rounded metric texts",
         UnitSystem::Imperial,
         {{WindSpeed, "33.6"}, {Radius, "3.3"}},
         kImperialRadii,
         kImperialChords,
         kDefaultTwists},
        {"alpha 6.08 rounds station 9 to a plain zero",
         UnitSystem::SI,
         {{Alpha, "6.08"}},
         kDefaultRadii,
         kDefaultChords,
         {"37.5", "19.4", "11.5", "7.3", "4.7", "2.9", "1.7", "0.7", "0", "-0.6"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.behaviour);
        DesignSheet sheet = sheetWith(row.inputs, row.system);
        ASSERT_EQ(solve(sheet), std::nullopt);
        EXPECT_EQ(radii(sheet), row.radii);
        EXPECT_EQ(chords(sheet), row.chords);
        EXPECT_EQ(twists(sheet), row.twists);
    }
}

TEST(Solve, ImperialTenFootRotorEndsTheTableAtTheTipRadius)
{
    DesignSheet sheet = sheetWith({{WindSpeed, "20"}, {Radius, "10"}}, UnitSystem::Imperial);
    ASSERT_EQ(solve(sheet), std::nullopt);
    EXPECT_EQ(radii(sheet).front(), "0.984");
    EXPECT_EQ(radii(sheet).back(), "9.843");
    EXPECT_EQ(chords(sheet).front(), "52.953");
    EXPECT_EQ(chords(sheet).back(), "5.276");
    EXPECT_EQ(twists(sheet), kDefaultTwists);
}

TEST(Solve, NeverTouchesCaptionsUnitsCodeOrAirfoilInputs)
{
    DesignSheet sheet = sheetWith({}, UnitSystem::Imperial);
    markAirfoilUserDefined(sheet);
    const DesignSheet before = sheet;
    ASSERT_EQ(solve(sheet), std::nullopt);
    for (Caption caption : kChangingCaptions)
        EXPECT_EQ(sheet.text(caption), before.text(caption)) << nameOf(caption);
    for (Field field : {Units, Cl, Alpha, Blades, Tsr, Efficiency})
        EXPECT_EQ(sheet.text(field), before.text(field)) << nameOf(field);
}

TEST(Solve, ComputesTheSameWhateverTheUsersSeparators)
{
    DesignSheet sheet{NumberFormat{",", "."}};
    ASSERT_EQ(solve(sheet), std::nullopt);
    EXPECT_EQ(sheet.text(Power), "2587,1");
    EXPECT_EQ(sheet.text(Torque), "24,64");
    EXPECT_EQ(chords(sheet).front(), "0,448");
}

}  // namespace
}  // namespace tivora
