// What limits a small turbine, against published figures and cases worked by
// hand: the yawed rotor, warm copper, air's viscosity, the parked rotor's
// loads; and in the analysis, the furled and regulated rotor, the
// alternator's heat and the blade trimmed for carving.

#include "analyse_output.h"
#include "performance/analysis.h"
#include "performance/limits.h"
#include "performance/report.h"
#include "solve/solve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tivora::performance {
namespace {

using testing::analyseCommand;
using testing::Rows;
using testing::section;
using testing::sectionsOf;

constexpr double kDegree = std::numbers::pi / 180;

// Glauert's yawed rotor: the ideal rotor's Cp at yaw γ is 16/27 cos³γ
// (0.3849 at 30°), its thrust goes with cos²γ. A constant tail moment
// balances the thrust at cos γ = V_onset / V: 60° at twice the onset.
TEST(YawedRotor, powerAndThrustFallWithTheCubeAndSquareOfTheCosine)
{
    struct Row {
        double yawDegrees, power, thrust;
    };
    for (const Row row : {Row{0, 1, 1}, Row{30, 0.649519, 0.75}, Row{60, 0.125, 0.25}}) {
        const YawedShare share = yawedShare(row.yawDegrees * kDegree);
        EXPECT_NEAR(share.power, row.power, 1e-6) << row.yawDegrees << "°";
        EXPECT_NEAR(share.thrust, row.thrust, 1e-6) << row.yawDegrees << "°";
    }
    EXPECT_NEAR(16.0 / 27 * yawedShare(30 * kDegree).power, 0.3849, 5e-5);
    EXPECT_NEAR(furlAngleRadians(10, 20) / kDegree, 60, 1e-9);
    EXPECT_EQ(furlAngleRadians(10, 8), 0);
    EXPECT_EQ(furlAngleRadians(0, 20), 0);
}

// IEC 60028: annealed copper's resistance grows 0.393 % a kelvin from 20 °C.
// A winding of 3 Ω at 20 °C is 4.179 Ω at 120 °C; 10 A lose 417.9 W there.
TEST(WarmCopper, resistanceAndLossOfAStatedCurrent)
{
    EXPECT_NEAR(copperOhms(3, 20), 3, 1e-12);
    EXPECT_NEAR(copperOhms(1, 75), 1.21615, 1e-5);
    EXPECT_NEAR(copperOhms(3, 120), 4.179, 1e-9);
    const double amps = 10;
    EXPECT_NEAR(amps * amps * copperOhms(3, 120), 417.9, 1e-9);
}

// The U.S. Standard Atmosphere's viscosity: 1.7894e-5 Pa·s at 15 °C,
// 1.716e-5 at 0 °C, 1.4216e-5 at −56.5 °C (11 km). A station of 0.1 m chord meeting
// the air at 50 m/s, at sea level: 1.225 × 50 × 0.1 / 1.7894e-5 = 342 293.
TEST(AirViscosity, sutherlandGivesTheStandardAtmospheresFigures)
{
    struct Row {
        double celsius, viscosity;
    };
    for (const Row row : {Row{15, 1.7894e-5}, Row{0, 1.716e-5}, Row{-56.5, 1.4216e-5}})
        EXPECT_NEAR(airViscosityPaS(row.celsius), row.viscosity, 2e-9) << row.celsius << " °C";
    EXPECT_NEAR(reynoldsNumber(1.225, 50, 0.1, airViscosityPaS(15)), 342293, 40);
}

// IEC 61400-2, load case H, worked by hand for three blades of 0.1 m² on a
// 1 m rotor in 59.5 m/s of sea-level air: ½ × 1.225 × 59.5² = 2168.4 Pa,
// thrust 3 × 1.5 × 2168.4 × 0.1 = 975.8 N, root moment
// 1.5 × ¼ × 1.225 × 59.5² × 0.1 × 1 = 162.6 N·m. A blade tapering from
// 0.2 m to 0.1 m over 1 m has 0.15 m² of planform.
TEST(ParkedLoads, thrustAndRootMomentOfTheSimplifiedModel)
{
    const ParkedLoads parked = parkedLoads(3, 0.1, 1, 1.225, 59.5);
    EXPECT_NEAR(parked.thrustN, 975.8, 0.05);
    EXPECT_NEAR(parked.rootMomentNm, 162.6, 0.05);
    const Blade taper{3, {{0.5, 0.2, 10}, {1.0, 0.15, 5}, {1.5, 0.1, 0}}};
    EXPECT_NEAR(planformAreaM2(taper), 0.15, 1e-12);
    // m ω² r: 1 kg at 0.5 m, 600 rpm (62.83 rad/s) pulls 1973.9 N.
    EXPECT_NEAR(centrifugalForceN(1, 600, 0.5), 1973.92, 0.01);
}

// The start design's blade meets the air at Re 327 000 at three quarters of
// its radius: a polar of Re 200 000 is within a factor of two of it, one of
// 100 000 or 700 000 is not, and the analysis says so.
TEST(AirViscosity, aPolarMoreThanTwiceAwayFromTheBladesReynoldsNumberIsWorthAWord)
{
    DesignSheet sheet;
    ASSERT_FALSE(solve(sheet));
    struct Row {
        const char* header;
        bool warned;
    };
    for (const Row row : {Row{"Re = 0.2e6", false}, Row{"Re = 1.0e5", true}, Row{"Re = 7.0e5", true}}) {
        AnalysisInputs inputs;
        inputs.setFile(InputId::Polar, {"polar.txt", std::string(row.header) +
                                                         "\n-4 -0.2198 0.0116\n0 0.2346 0.00928\n4 0.6706 0.01036\n"
                                                         "8 1.0536 0.01464\n12 1.2410 0.02739\n14 1.1930 0.04412\n"});
        const Analysis analysis = analyse(sheet, inputs).value();
        EXPECT_NEAR(analysis.reynoldsAtThreeQuarters, 327000, 2000);
        const bool warned = std::any_of(analysis.warnings.begin(), analysis.warnings.end(),
                                        [](const Warning& w) { return w.kind == WarningKind::PolarReynoldsAway; });
        EXPECT_EQ(warned, row.warned) << row.header;
    }
}

// The analysis of the start design, as the command line prints it.
std::map<std::string, Rows> printed(std::vector<std::string> arguments)
{
    const testing::Outcome run = analyseCommand(arguments);
    EXPECT_EQ(run.status, 0) << run.err;
    return sectionsOf(run.out);
}

double figure(const std::map<std::string, Rows>& sections, const std::string& caption)
{
    for (const auto& cells : section(sections, "Design")) {
        if (cells[0] == caption)
            return std::stod(cells[1]);
    }
    ADD_FAILURE() << "no figure " << caption;
    return 0;
}

const std::vector<std::string>& rowAt(const Rows& curve, const char* windSpeed)
{
    for (const auto& cells : curve) {
        if (cells[0] == windSpeed)
            return cells;
    }
    static const std::vector<std::string> none(20);
    ADD_FAILURE() << "no row at " << windSpeed;
    return none;
}

// Past the onset the rotor sees the onset's wind along its axis, whatever
// the wind: its power, thrust and rpm stay the onset's, its Cp falls as
// (V_onset / V)³, and it is turned out of the wind by acos(V_onset / V).
TEST(Furling, theFurledRotorDeliversWhatItDidAtTheOnset)
{
    for (const char* title : {"Power curve held", "Power curve on the alternator"}) {
        const auto sections = printed({"--furl-onset", "10", "--current-rating", "1000", "--rated-power", "5000"});
        const Rows& curve = section(sections, title);
        const auto &onset = rowAt(curve, "10.0"), &twice = rowAt(curve, "20.0");
        EXPECT_EQ(twice[7], "furled") << title;
        for (int column : {1, 2, 3, 17})  // rpm, rotor power, delivered power, thrust
            EXPECT_EQ(twice[static_cast<std::size_t>(column)], onset[static_cast<std::size_t>(column)]) << title;
        EXPECT_NEAR(std::stod(twice[5]), std::stod(onset[5]) / 8, 2e-4) << title;
        EXPECT_EQ(twice[10], "60.0") << title;
    }
}

// Without a tail the held rotor is regulated at its rated power: slowed
// into stall, its shaft gives no more than the rated power, so nothing is
// shed; its speed falls below the design tip speed ratio's.
TEST(Regulation, theHeldRotorsShaftNeverGivesMoreThanTheRatedPower)
{
    const auto sections = printed({"--furl-onset", "0", "--rated-power", "1500"});
    int atRated = 0;
    for (const auto& cells : section(sections, "Power curve held")) {
        if (cells[0] == "wind speed (m/s)")
            continue;
        EXPECT_LE(std::stod(cells[2]), 1500.05) << cells[0] << " m/s";
        EXPECT_EQ(std::stod(cells[4]), 0) << cells[0] << " m/s";
        if (cells[7] != "at rated power")
            continue;
        ++atRated;
        // λ 7 would turn 1 m at 7 × V / (2π) × 60 rpm.
        EXPECT_LT(std::stod(cells[1]), 7 * std::stod(cells[0]) / (2 * std::numbers::pi) * 60) << cells[0] << " m/s";
    }
    EXPECT_GT(atRated, 20);
}

// With the defaults no alternator bin says "charging" while the battery gets
// less than 40 % of the rotor's power: such a bin is "overheating" (past the
// current rating) or the analysis warns; the year counts what it delivers
// within the rating.
TEST(AlternatorHeat, noBinChargesWhileMostOfThePowerHeatsTheWinding)
{
    const testing::Outcome run = analyseCommand({});
    const auto sections = sectionsOf(run.out);
    int overheating = 0;
    for (const auto& cells : section(sections, "Power curve on the alternator")) {
        if (cells[7] == "overheating")
            ++overheating;
        if (cells[7] == "charging" || cells[7] == "furled" || cells[7] == "stalled") {
            EXPECT_GE(std::stod(cells[3]), 0.4 * std::stod(cells[2])) << cells[0] << " m/s";
        }
    }
    EXPECT_GT(overheating, 0);
    const Rows& energy = section(sections, "Annual energy");
    EXPECT_LT(std::stod(energy[2][1]),
              figure(sections, "annual energy on the alternator were the overheating current counted"));
    // A rating typed too high: the bins charge, and the warning says so.
    const testing::Outcome generous = analyseCommand({"--current-rating", "1000"});
    EXPECT_NE(generous.err.find("less than 40 % of the rotor's power"), std::string::npos) << generous.err;
}

// The root's flapwise moment integrates the elements' normal loads times
// their distance from the root; the stations' loads at the design point,
// integrated by the trapezoid rule, come to about the same.
TEST(BladeLoads, theRootMomentIsTheNormalLoadsMomentAboutTheRoot)
{
    const auto sections = printed({});
    const Rows& stations = section(sections, "Stations at the design");
    double moment = 0;
    for (std::size_t k = 2; k < stations.size(); ++k) {
        const double r0 = std::stod(stations[k - 1][1]), r1 = std::stod(stations[k][1]);
        const double n0 = std::stod(stations[k - 1][9]), n1 = std::stod(stations[k][9]);
        moment += (n0 * (r0 - 0.1) + n1 * (r1 - 0.1)) / 2 * (r1 - r0);
    }
    EXPECT_NEAR(figure(sections, "blade root bending moment at the design wind speed"), moment, 0.05 * moment);
}

// A 1.2 m design, its chord capped at 150 mm for carving as the Blade
// Sections window sets it: the analysis takes the capped blade, says what
// the cap costs, and the command line's --largest-chord agrees.
TEST(TrimmedBlade, aCappedChordChangesTheAnalysisAndItsCostIsShown)
{
    DesignSheet sheet;
    sheet.setText(Field::Radius, "1.2");
    ASSERT_FALSE(solve(sheet));
    AnalysisInputs solved, capped;
    capped.carved.settings = {{"sections.chord-cap", "on"}, {"sections.plank-width-mm", "150"}};
    const Analysis whole = analyse(sheet, solved).value();
    const Analysis cut = analyse(sheet, capped).value();
    ASSERT_FALSE(whole.trimCost);
    ASSERT_TRUE(cut.trimCost);
    EXPECT_DOUBLE_EQ(cut.trimCost->peakCpBefore, whole.cp.peakCp);
    EXPECT_DOUBLE_EQ(cut.trimCost->heldBefore.energy.kilowattHours, whole.heldEnergy.energy.kilowattHours);
    EXPECT_NE(cut.cp.peakCp, whole.cp.peakCp);
    EXPECT_NEAR(cut.stationChordsM.front(), 0.150, 1e-12);
    EXPECT_GT(whole.stationChordsM.front(), 0.5);
    EXPECT_LT(cut.limits.bladeMassKg, whole.limits.bladeMassKg);

    const auto sections = printed({"--radius", "1.2", "--largest-chord", "0.15"});
    EXPECT_EQ(figure(sections, "highest Cp"), std::stod(figureText(cut.cp.peakCp, 4, {})));
    EXPECT_EQ(figure(sections, "highest Cp of the blade as solved"), std::stod(figureText(whole.cp.peakCp, 4, {})));
}

}  // namespace
}  // namespace tivora::performance
