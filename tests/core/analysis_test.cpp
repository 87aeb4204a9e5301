// The analysis as one thing: the command line and the window's inputs give
// the same figures, the design file gives every input back, and the states
// on the alternator say what the rotor does.

#include "analyse_output.h"
#include "performance/analysis.h"
#include "performance/report.h"
#include "solve/solve.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tivora::performance {
namespace {

using testing::analyseCommand;
using testing::Rows;
using testing::section;
using testing::sectionsOf;

DesignSheet solvedStartDesign()
{
    DesignSheet sheet;
    EXPECT_FALSE(solve(sheet));
    return sheet;
}

// The inputs as the window's form holds them once the user has typed
// `typed` (SI figures by option name).
AnalysisInputs typedInForm(const std::vector<std::pair<std::string, double>>& typed, bool onAlternator = false)
{
    AnalysisInputs inputs;
    for (const auto& [option, si] : typed)
        inputs.setTyped(entryByOption(option)->id, si);
    if (onAlternator)
        inputs.setChoice(InputId::Running, 1);
    return inputs;
}

std::vector<std::string> optionsOf(const std::vector<std::pair<std::string, double>>& typed)
{
    std::vector<std::string> arguments;
    for (const auto& [option, si] : typed)
        arguments.insert(arguments.end(), {"--" + option, formatNumber(si, NumberFormat{})});
    return arguments;
}

TEST(SiteUnits, convertAsPublishedAndBack)
{
    struct Row {
        Quantity quantity;
        UnitSystem system;
        double si, shown;
        const char* unit;
    };
    // 1 m/s = 3.6 km/h = 2.23694 mph; 1 ft = 0.3048 m; °F = °C · 9/5 + 32.
    for (const Row row : {Row{Quantity::WindSpeed, UnitSystem::SI, 5, 5, "m/s"},
                          Row{Quantity::WindSpeed, UnitSystem::Metric, 5, 18, "km/h"},
                          Row{Quantity::WindSpeed, UnitSystem::Imperial, 5, 11.1847, "mph"},
                          Row{Quantity::Altitude, UnitSystem::Metric, 304.8, 304.8, "m"},
                          Row{Quantity::Altitude, UnitSystem::Imperial, 304.8, 1000, "ft"},
                          Row{Quantity::Temperature, UnitSystem::Imperial, -40, -40, "°F"},
                          Row{Quantity::Temperature, UnitSystem::Imperial, 15, 59, "°F"}}) {
        EXPECT_NEAR(shownFromSi(row.quantity, row.system, row.si), row.shown, 1e-4) << row.unit;
        EXPECT_NEAR(siFromShown(row.quantity, row.system, row.shown), row.si, 1e-4) << row.unit;
        EXPECT_EQ(unitOf(row.quantity, row.system), row.unit);
    }
}

// Every input the design file keeps comes back exactly, as written; what
// the file does not name stays at its default.
TEST(AnalysisInputs, aDesignFileGivesBackEveryInputAsSaved)
{
    AnalysisInputs saved;
    double distinct = 1.25;
    for (const InputEntry& entry : inputTable()) {
        if (entry.settingKey.empty())
            continue;
        if (entry.kind == InputKind::Number)
            saved.setTyped(entry.id, distinct += 0.3);
        if (entry.kind == InputKind::Choice)
            saved.setChoice(entry.id, static_cast<int>(entry.choices.size()) - 1);
        if (entry.kind == InputKind::File)
            saved.setFile(entry.id, {"naca4412.txt", std::nullopt});
    }
    saved.otherSettings = {{"furling.angle-degrees", "20"}};
    EXPECT_EQ(inputsFrom(settingsOf(saved)), saved);

    struct Row {
        DesignSettings file;
        DesignSettings savedAgain;
    };
    const Row rows[] = {
        {{{"airfoil.cl-max", "1.0"}}, {{"airfoil.cl-max", "1.0"}}},                        // as typed
        {{{"running.rated-power-w", "1800"}}, {{"running.rated-power-w", "1800"}}},        // not the design's
        {{{"running.mode", "alternator"}}, {{"running.mode", "alternator"}}},              // the choice
        {{{"airfoil.polar-file", "sd7062.dat"}}, {{"airfoil.polar-file", "sd7062.dat"}}},  // named, not loaded
        {{{"site.weibull-k", "not a number"}}, {}},                                        // left at its default
        {{}, {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(settingsOf(inputsFrom(row.file)), row.savedAgain) << (row.file.empty() ? "" : row.file[0].first);
}

// ISO 2533: p(h) = 101325 (1 − 0.0065 h / 288.15)^5.2559, ρ = p / (287.05 T):
// 1.1117 kg/m³ at 1000 m (its table); with 35 °C measured at sea level,
// 101325 / (287.05 × 308.15) = 1.1455; at 2000 m and −5 °C,
// 79495 / (287.05 × 268.15) = 1.0328.
// A maker's curve measured at sea level, 100 W for each m/s up to 20 m/s,
// moved to the site's air by IEC 61400-12-1's wind-speed rule: at a mean
// wind of 5 m/s it gives 8.76 × 100 × 5 × (ρ / 1.225)^(1/3) kWh a year (the
// wind above 20 m/s blows a millionth of the year).
TEST(Analysis, airDensityIsTheSitesFromTheCommandLineAndFromTheForm)
{
    struct Row {
        std::vector<std::pair<std::string, double>> typed;
        const char* density;
    };
    const Row rows[] = {{{}, "1.2250"},
                        {{{"altitude", 1000}}, "1.1117"},
                        {{{"temperature", 35}}, "1.1455"},
                        {{{"altitude", 2000}, {"temperature", -5}}, "1.0328"}};
    const DesignSheet sheet = solvedStartDesign();
    for (const Row& row : rows) {
        const auto sections = sectionsOf(analyseCommand(optionsOf(row.typed)).out);
        const Rows& design = section(sections, "Design");
        ASSERT_GT(design.size(), 1u);
        EXPECT_EQ(design[1], (std::vector<std::string>{"air density", row.density, "kg/m3"}));
        AnalysisInputs inputs = typedInForm(row.typed);
        inputs.setFile(InputId::Measured, {"maker.csv", "wind speed (m/s),power (W)\n0,0\n20,2000\n"});
        const Analysis form = analyse(sheet, inputs).value();
        EXPECT_EQ(figureText(form.densityKgM3, 4, {}), row.density);
        EXPECT_NEAR(form.measured->energy.energy.kilowattHours, 4380 * std::cbrt(std::stod(row.density) / 1.225), 5)
            << row.density;
    }
}

// A handful of inputs through `tivora --analyse` and through the window's
// form: every figure, energy and row of both power curves is the same text.
TEST(Analysis, commandLineAndWindowTellTheSameStory)
{
    const std::vector<std::pair<std::string, double>> cases[] = {
        {},
        {{"altitude", 1000}},
        {{"altitude", 1000}, {"rated-power", 1800}, {"cut-in", 3.5}},
        {{"temperature", 35}, {"mean-wind-speed", 6.5}, {"weibull-shape", 1.8}, {"glide-ratio", 30}},
        {{"battery-voltage", 12.5}, {"rectifier-drop", 0.8}, {"winding-resistance", 0.5}, {"volts-per-rpm", 0.08}},
    };
    const DesignSheet sheet = solvedStartDesign();
    for (const auto& typed : cases) {
        const std::string name = optionsOf(typed).empty() ? "defaults" : optionsOf(typed)[0];
        const auto printed = sectionsOf(analyseCommand(optionsOf(typed)).out);
        const Analysis form = analyse(sheet, typedInForm(typed)).value();
        Rows figures{{"quantity", "value", "unit"}};
        for (const Figure& f : analysisFigures(form, FigureScope::Every))
            figures.push_back({f.caption, figureText(f.value, f.scriptDecimals, {}), ""});
        const Rows& design = section(printed, "Design");
        ASSERT_EQ(design.size(), figures.size()) << name;
        for (std::size_t i = 1; i < figures.size(); ++i)
            EXPECT_EQ(design[i][1], figures[i][1]) << name << ": " << figures[i][0];
        const Rows& energy = section(printed, "Annual energy");
        const std::vector<EnergyRow> energies = energyRows(form, FigureScope::Every);
        ASSERT_EQ(energy.size(), energies.size() + 1) << name;
        for (std::size_t i = 0; i < energies.size(); ++i) {
            EXPECT_EQ(energy[i + 1][1], figureText(energies[i].energy.energy.kilowattHours, 1, {})) << name;
            EXPECT_EQ(energy[i + 1][2], figureText(energies[i].energy.capacityFactor, 4, {})) << name;
        }
        for (const auto& [title, rows] : {std::pair{"Power curve held", &form.heldCurve},
                                          std::pair{"Power curve on the alternator", &form.alternatorCurve}}) {
            const Rows& curve = section(printed, title);
            ASSERT_EQ(curve.size(), rows->size() + 1) << name << ": " << title;
            for (std::size_t i = 0; i < rows->size(); ++i) {
                EXPECT_EQ(curve[i + 1][3], figureText((*rows)[i].deliveredWatts, 1, {})) << name << ": " << title;
                EXPECT_EQ(curve[i + 1][7], stateWords((*rows)[i].state)) << name << ": " << title;
            }
        }
    }
}

// What the rotor does on the alternator, read from the command line's
// table at one wind speed, and the Cp it runs at there. The stall rows with
// the winding cold (3 Ω) and no current rating, as the rotor alone decides.
TEST(Alternator, statesSayWhatTheRotorDoes)
{
    struct Row {
        std::vector<std::string> arguments;
        const char* windSpeed;
        const char* state;
        double cpBelow;  // the state's Cp lies below this
    };
    const std::vector<std::string> cold = {"--winding-temperature", "20", "--current-rating", "1000"};
    const auto with = [&cold](std::vector<std::string> more) {
        more.insert(more.end(), cold.begin(), cold.end());
        return more;
    };
    const Row rows[] = {
        {{}, "1.0", "below cut-in", 1e-9},
        {with({}), "10.0", "charging", 1},
        // 0.12 V/rpm into 24 V through 3 Ω at 120 °C, 4.18 Ω: 5.7 A, where
        // the winding's heat equals the charge, is passed by 7 m/s.
        {{}, "10.0", "overheating", 1},
        // Past the tail's onset the rotor turns out of the wind.
        {with({}), "20.0", "furled", 0.2},
        // A 12 V battery holds the start rotor on the slow side of its peak
        // (0.46 at λ 5.7), from 3 m/s on, deep in stall by 10 m/s.
        {with({"--battery-voltage", "12.5"}), "5.0", "stalled", 0.9 * 0.4597},
        {with({"--battery-voltage", "12.5"}), "10.0", "stalled", 0.05},
        {with({"--battery-voltage", "12.5"}), "13.0", "stalled", 0.05},
        // A blade for λ 12 on a winding too weak to load it.
        {with({"--tsr", "12", "--winding-resistance", "1000"}), "10.0", "runaway", 1},
    };
    for (const Row& row : rows) {
        const auto printed = sectionsOf(analyseCommand(row.arguments).out);
        const Rows& curve = section(printed, "Power curve on the alternator");
        bool found = false;
        for (const auto& cells : curve) {
            if (cells[0] != row.windSpeed)
                continue;
            found = true;
            EXPECT_EQ(cells[7], row.state) << row.windSpeed << " m/s";
            EXPECT_LT(std::stod(cells[5]), row.cpBelow) << row.windSpeed << " m/s";
        }
        EXPECT_TRUE(found) << row.windSpeed;
    }
}

// No bin within 5 % of the highest Cp is called stalled; where the rotor
// delivers, the rotor's power is the battery's plus what is lost between,
// the winding and the rectifier, and the battery gets its own voltage times
// the current through the warm winding: 3 Ω at 20 °C is
// 3 × (1 + 0.00393 × (120 − 20)) = 4.179 Ω at 120 °C, so
// I = (0.12 V/rpm × rpm − 24 V − 1.4 V) / 4.179 Ω, P = 24 V × I, the copper
// I² × 4.179 Ω and the rectifier 1.4 V × I.
TEST(Alternator, columnsAddUpAndStallIsNoHairBelowThePeak)
{
    const auto sections = sectionsOf(analyseCommand({}).out);
    double highestCp = 0;
    for (const auto& cells : section(sections, "Design")) {
        if (cells[0] == "highest Cp")
            highestCp = std::stod(cells[1]);
    }
    ASSERT_GT(highestCp, 0.4);
    const double warm = 4.179;
    int delivering = 0;
    for (const auto& cells : section(sections, "Power curve on the alternator")) {
        if (cells[7] != "charging" && cells[7] != "stalled" && cells[7] != "overheating" && cells[7] != "furled")
            continue;
        const double rpm = std::stod(cells[1]), rotor = std::stod(cells[2]), battery = std::stod(cells[3]),
                     lost = std::stod(cells[4]), cp = std::stod(cells[5]), amps = std::stod(cells[12]),
                     copper = std::stod(cells[13]), rectifier = std::stod(cells[14]);
        if (cells[7] == "stalled") {
            EXPECT_LT(cp, 0.95 * highestCp) << cells[0] << " m/s";
        }
        EXPECT_NEAR(rotor, battery + lost, 0.11) << cells[0] << " m/s";
        EXPECT_NEAR(lost, copper + rectifier, 0.11) << cells[0] << " m/s";
        const double current = (0.12 * rpm - 25.4) / warm;
        EXPECT_NEAR(amps, current, 0.051) << cells[0] << " m/s";
        EXPECT_NEAR(battery, 24 * current, 0.12) << cells[0] << " m/s";
        EXPECT_NEAR(copper, current * current * warm, 0.001 * copper + 0.06) << cells[0] << " m/s";
        EXPECT_NEAR(rectifier, 1.4 * current, 0.06) << cells[0] << " m/s";
        ++delivering;
    }
    EXPECT_GT(delivering, 30);
}

}  // namespace
}  // namespace tivora::performance
