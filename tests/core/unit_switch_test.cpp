#include "sheet_helpers.h"
#include "solve/solve.h"
#include "units/unit_switch.h"

#include <gtest/gtest.h>

namespace tivora {
namespace {

using namespace tivora::testing;
using enum Field;

DesignSheet solvedDefault()
{
    DesignSheet sheet;
    EXPECT_EQ(solve(sheet), std::nullopt);
    return sheet;
}

// Selects the option and runs the switch, as the window does.
void switchTo(DesignSheet& sheet, UnitSystem system)
{
    sheet.setSelectedSystem(system);
    ASSERT_EQ(switchUnitSystem(sheet, system), std::nullopt);
}

struct Shown {
    const char *windspeed, *radius, *speed, *units;
};

struct SequenceRow {
    const char* behaviour;
    bool solvedFirst;
    std::vector<UnitSystem> path;
    Shown shown;
};

TEST(SwitchUnitSystem, ConvertsShownFiguresAlongEachPath)
{
    using enum UnitSystem;
    const SequenceRow rows[] = {
        {"empty table to metric", false, {Metric}, {"54", "1", "1002.7", "2"}},
        {"empty table to imperial", false, {Imperial}, {"33.6", "3.3", "1002.7", "3"}},
        {"solved, to metric", true, {Metric}, {"54", "1", "1002.7", "2"}},
        {"solved, metric then imperial", true, {Metric, Imperial}, {"33.6", "3.3", "1002.7", "3"}},
        {"solved, metric, imperial, back to SI", true, {Metric, Imperial, SI}, {"15", "1", "105", "1"}},
        {"imperial then metric drifts to 54.1", true, {Imperial, Metric}, {"54.1", "1", "1002.7", "2"}},
        {"metric and back", true, {Metric, SI}, {"15", "1", "105", "1"}},
        {"the system in force changes nothing", true, {SI}, {"15", "1", "105", "1"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.behaviour);
        DesignSheet sheet = row.solvedFirst ? solvedDefault() : DesignSheet{};
        const DesignSheet start = sheet;
        for (UnitSystem system : row.path)
            switchTo(sheet, system);
        EXPECT_EQ(sheet.text(WindSpeed), row.shown.windspeed);
        EXPECT_EQ(sheet.text(Radius), row.shown.radius);
        EXPECT_EQ(sheet.text(GeneratorSpeed), row.shown.speed);
        EXPECT_EQ(sheet.text(Units), row.shown.units);
        for (Field field : {Torque, Power, Blades, Tsr, Efficiency, Cl, Alpha})
            EXPECT_EQ(sheet.text(field), start.text(field)) << nameOf(field);
        EXPECT_EQ(twists(sheet), twists(start));
    }
}

TEST(SwitchUnitSystem, ConvertsTheStationTableOnlyIntoAndOutOfImperial)
{
    DesignSheet sheet = solvedDefault();
    switchTo(sheet, UnitSystem::Metric);
    EXPECT_EQ(radii(sheet), kDefaultRadii);
    EXPECT_EQ(chords(sheet), kDefaultChords);
    switchTo(sheet, UnitSystem::Imperial);
    EXPECT_EQ(radii(sheet), kImperialRadii);
    EXPECT_EQ(chords(sheet), kImperialChords);
    switchTo(sheet, UnitSystem::SI);
    EXPECT_EQ(radii(sheet), kDefaultRadii);
    EXPECT_EQ(chords(sheet), kDefaultChords);

    DesignSheet empty;
    switchTo(empty, UnitSystem::Imperial);
    EXPECT_EQ(radii(empty), Column(10, ""));
    EXPECT_EQ(chords(empty), Column(10, ""));
}

TEST(SwitchUnitSystem, SpeedWrittenWithTwoDecimalsLosesOneOnTheWayBack)
{
    DesignSheet sheet = sheetWith({{GeneratorSpeed, "104.72"}});
    switchTo(sheet, UnitSystem::Metric);
    EXPECT_EQ(sheet.text(GeneratorSpeed), "1000");
    switchTo(sheet, UnitSystem::SI);
    EXPECT_EQ(sheet.text(GeneratorSpeed), "104.7");
}

struct CaptionRow {
    const char* behaviour;
    std::vector<UnitSystem> path;
    const char *label5, *label6, *label10, *label13, *label14;
};

TEST(SwitchUnitSystem, RecaptionsUnitsKeepingTheCapitalRUntilImperialIsLeft)
{
    using enum UnitSystem;
    const CaptionRow rows[] = {
        {"start", {}, "Blade Radius (m)", "Wind Speed (m/s)", "Generator speed (rad/sec)", "Chord (m)", "Radius (m)"},
        {"metric",
         {Metric},
         "Blade Radius (m)",
         "Wind Speed (kph)",
         "Generator speed (rpm)",
         "Chord (m)",
         "Radius (m)"},
        {"metric and back",
         {Metric, SI, Metric, SI},
         "Blade Radius (m)",
         "Wind Speed (m/s)",
         "Generator speed (rad/sec)",
         "Chord (m)",
         "Radius (m)"},
        {"imperial",
         {Imperial},
         "Blade radius (feet)",
         "Wind Speed (mph)",
         "Generator speed (rpm)",
         "Chord (in)",
         "Radius (ft)"},
        {"imperial to SI",
         {Imperial, SI},
         "Blade radius (m)",
         "Wind Speed (m/s)",
         "Generator speed (rad/sec)",
         "Chord (m)",
         "Radius (m)"},
        {"imperial to metric",
         {Imperial, Metric},
         "Blade radius (m)",
         "Wind Speed (kph)",
         "Generator speed (rpm)",
         "Chord (m)",
         "Radius (m)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.behaviour);
        DesignSheet sheet = solvedDefault();
        for (UnitSystem system : row.path)
            switchTo(sheet, system);
        EXPECT_EQ(sheet.text(Caption::Radius), row.label5);
        EXPECT_EQ(sheet.text(Caption::WindSpeed), row.label6);
        EXPECT_EQ(sheet.text(Caption::GeneratorSpeed), row.label10);
        EXPECT_EQ(sheet.text(Caption::StationChord), row.label13);
        EXPECT_EQ(sheet.text(Caption::StationRadius), row.label14);
    }
}

TEST(SwitchUnitSystem, GoesByTheUnitsCodeNotBySelectedOption)
{
    DesignSheet sheet;
    sheet.setSelectedSystem(UnitSystem::Imperial);  // option moved, figures still SI
    ASSERT_EQ(switchUnitSystem(sheet, UnitSystem::Metric), std::nullopt);
    EXPECT_EQ(sheet.text(WindSpeed), "54");
    EXPECT_EQ(sheet.text(Units), "2");
}

TEST(SwitchUnitSystem, ToTheSystemInForceRewritesOnlyTheColumnCaptions)
{
    DesignSheet sheet = solvedDefault();
    switchTo(sheet, UnitSystem::Imperial);
    sheet.setText(Caption::StationChord, "stale");
    sheet.setText(WindSpeed, "not a number");  // not read at all
    DesignSheet expected = sheet;
    expected.setText(Caption::StationChord, "Chord (in)");
    switchTo(sheet, UnitSystem::Imperial);
    EXPECT_EQ(sheet, expected);
}

}  // namespace
}  // namespace tivora

namespace tivora {
namespace {

TEST(SystemInForce, ReadsTheUnitsCodeAndNothingElse)
{
    const std::pair<const char*, std::optional<UnitSystem>> rows[] = {
        {"1", UnitSystem::SI}, {"2", UnitSystem::Metric}, {"3", UnitSystem::Imperial}, {"2.0", UnitSystem::Metric},
        {"4", std::nullopt},   {"", std::nullopt},        {"2.5", std::nullopt},
    };
    for (const auto& [code, system] : rows) {
        DesignSheet sheet;
        sheet.setText(Units, code);
        sheet.setSelectedSystem(UnitSystem::Imperial);
        EXPECT_EQ(systemInForce(sheet), system) << code;
    }
}

}  // namespace
}  // namespace tivora
