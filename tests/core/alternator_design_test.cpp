// The alternator designed: against figures worked by hand, a published
// home-built alternator, the rotor it is matched to, and the inputs it must
// refuse.

#include "analyse_output.h"
#include "performance/alternator_inputs.h"
#include "performance/analysis.h"
#include "solve/solve.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tivora::performance {
namespace {

DesignSheet solvedStartDesign()
{
    DesignSheet sheet;
    EXPECT_FALSE(solve(sheet));
    return sheet;
}

AnalysisInputs designedFrom(AlternatorFrom from, const std::vector<std::pair<InputId, double>>& typed)
{
    AnalysisInputs inputs;
    inputs.setChoice(InputId::Running, 1);
    inputs.setChoice(InputId::AlternatorFrom, static_cast<int>(from));
    for (const auto& [id, value] : typed)
        inputs.setTyped(id, value);
    return inputs;
}

TEST(AlternatorDesign, testCoilScalesToTheWindingAsWorkedByHand)
{
    // 9 coils, 3 in series in each phase, 100 turns each; a 50-turn test
    // coil gave 2.0 V rms at 100 rpm. One coil of 100 turns: 2.0 × 100/50 =
    // 4.0 V rms at 100 rpm; a phase of three in phase: 12.0 V rms.
    // Star: line = √3 × 12.0 = 20.785 V rms; the bridge charges at its peak,
    // √2 × 20.785 = 29.394 V: 0.29394 V/rpm. Cut-in on 24 V through two
    // diodes of 0.7 V: 25.4 / 0.29394 = 86.41 rpm.
    // Delta: line = phase = 12.0 V rms, peak 16.971 V: 0.16971 V/rpm, cut-in
    // 25.4 / 0.16971 = 149.67 rpm.
    struct Row {
        int connection;
        double voltsPerRpm, cutInRpm;
    };
    for (const Row row : {Row{0, 0.29394, 86.41}, Row{1, 0.16971, 149.67}}) {
        AnalysisInputs inputs = designedFrom(AlternatorFrom::TestCoil, {{InputId::Coils, 9},
                                                                        {InputId::Turns, 100},
                                                                        {InputId::TestCoilTurns, 50},
                                                                        {InputId::TestCoilVolts, 2.0},
                                                                        {InputId::TestCoilRpm, 100},
                                                                        {InputId::BatteryVolts, 24},
                                                                        {InputId::RectifierDrop, 1.4}});
        inputs.setChoice(InputId::Connection, row.connection);
        const Result<ChosenAlternator> chosen = chosenAlternator(inputs, {});
        ASSERT_TRUE(chosen) << chosen.problem().message;
        EXPECT_NEAR(chosen->alternator.voltsPerRpm, row.voltsPerRpm, 0.01 * row.voltsPerRpm);
        EXPECT_NEAR(chosen->alternator.cutInRpm(), row.cutInRpm, 0.01 * row.cutInRpm);
    }
}

TEST(AlternatorDesign, theCommandLinePrintsTheTestCoilCaseAndRefusesAnUnknownConnection)
{
    // The case above on the command line: 0.2939 V/rpm, cut-in 86.4 rpm.
    const testing::Outcome run =
        testing::analyseCommand({"--alternator", "test-coil", "--turns", "100", "--test-coil-turns", "50",
                                 "--test-coil-volts", "2", "--test-coil-rpm", "100"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\nalternator volts per rpm (DC at the battery),0.2939,V/rpm\n"), std::string::npos);
    EXPECT_NE(run.out.find("\nalternator cut-in rpm,86.4,rpm\n"), std::string::npos);
    const testing::Outcome wye = testing::analyseCommand({"--connection", "wye"});
    EXPECT_EQ(wye.status, 2);
    EXPECT_EQ(wye.err, "tivora --analyse: --connection: expected star or delta, found \"wye\"\n");
}

TEST(AlternatorDesign, gapFieldMeetsTheClosedFormsOfBlockMagnets)
{
    // Two rotors of magnets much wider than the gap: the magnetic circuit's
    // B = Br Lm / (Lm + g) = 1.26 × 20 / (20 + 17) = 0.6811 T at the centre.
    RotorMagnets wide{2, 0.5, 0.5, 0.010, 1.26, 2, 4};
    // One rotor, a 46 × 30 × 10 mm magnet on its steel (mirrored into a
    // block 20 mm thick), on its axis 8.5 mm off its face (2 mm gap, half a
    // 13 mm stator): (Br/π)[atan(ab / (2 d √(a² + b² + 4d²)))] from
    // d = 8.5 to d = 28.5 mm = (1.26/π)(0.95470 − 0.29683) = 0.26380 T.
    RotorMagnets single{2, 0.046, 0.030, 0.010, 1.26, 1, 4};
    const StatorCoils stator{};
    EXPECT_NEAR(meanGapField(wide, stator, 1e-5, 1e-5), 0.6811, 0.01 * 0.6811);
    EXPECT_NEAR(meanGapField(single, stator, 1e-5, 1e-5), 0.26380, 0.001 * 0.26380);
}

TEST(AlternatorDesign, faradayEstimateMeetsAPublishedHomeBuiltAlternator)
{
    // "Amanda", fieldlines.com forum, topic 129602 (2012?): two steel rotors
    // each with 6 N45 discs 20 mm across and 10 mm thick on a 100 mm ring,
    // 12 mm between the magnet faces, a 10 mm stator with coils 10 × 10 mm
    // in section; a 12-turn test coil gave 0.1 V ac at 195 rpm. A disc is
    // taken as the square of its area, 17.72 mm a side; a coil of 12 turns
    // filling a 10 mm leg.
    const double side = 0.020 * std::sqrt(std::numbers::pi / 4);
    AlternatorDesign amanda;
    amanda.magnets = {6, side, side, 0.010, 1.32, 2, 0.080 + side};
    amanda.stator.airGapM = 0.001;
    amanda.stator.thicknessM = 0.010;
    amanda.stator.coils = 15;
    amanda.stator.turnsPerCoil = 12;
    amanda.stator.wireDiameterM = std::sqrt(0.010 * 0.010 / 12);
    const double volts = designAlternator(amanda).voltsRmsPerTurnRpm * 12 * 195;
    EXPECT_NEAR(volts, 0.1, 0.15 * 0.1);
}

TEST(AlternatorDesign, resistanceCopperAndRatingAsWorkedByHand)
{
    // 60 turns of 1.4 mm wire in a 13 mm stator: a leg of 60 × 1.4² / 13 =
    // 9.046 mm; the mean turn round a 46 × 30 mm hole 2 (46 + 30) + π 9.046
    // = 180.42 mm; a phase of 3 coils 32.476 m of 1.5394 mm²: at 1/58
    // Ω·mm²/m 0.36374 Ω. Star, line to line 0.72748 Ω, and 20 m of 6 mm²
    // cable there and back, 40/58/6 = 0.11494 Ω: 0.84242 Ω. Three phases of
    // copper, 8890 kg/m³ × 97.43 m × 1.5394e-6 m² = 1.3333 kg. At 4 A/mm²
    // the wire carries 6.1575 A rms, a bridge's direct current √(3/2) of
    // it: 7.5414 A. At 120 °C the phase is 0.36374 × 1.393 = 0.50669 Ω.
    AlternatorDesign design;
    const DesignedAlternator d = designAlternator(design);
    EXPECT_NEAR(d.coil.legWidthM, 9.046e-3, 1e-6);
    EXPECT_NEAR(d.coil.meanTurnM, 0.18042, 1e-5);
    EXPECT_NEAR(d.phaseOhms20, 0.36374, 1e-4);
    EXPECT_NEAR(d.windingOhms20, 0.84242, 1e-4);
    EXPECT_NEAR(d.copperKg, 1.3333, 1e-3);
    EXPECT_NEAR(d.currentRatingAmps, 7.5414, 1e-3);
    EXPECT_NEAR(d.phaseOhms20 * copperResistivityOhmM(120) / copperResistivityOhmM(20), 0.50669, 1e-4);
}

TEST(AlternatorDesign, turnsForTheWantedCutInPutTheRotorAtItsBestTipSpeedRatio)
{
    const DesignSheet sheet = solvedStartDesign();
    for (const AlternatorFrom from : {AlternatorFrom::Magnets, AlternatorFrom::TestCoil}) {
        const Result<Analysis> analysis = analyse(sheet, designedFrom(from, {{InputId::WantedCutIn, 3}}));
        ASSERT_TRUE(analysis) << analysis.problem().message;
        ASSERT_TRUE(analysis->turnsForCutIn);
        const CutInTurns& turns = *analysis->turnsForCutIn;
        // The start design's blade is 1 m: rpm = 60 λ V / (2π R).
        const double bestRpm = 60 * analysis->cp.peakTsr * 3 / (2 * std::numbers::pi * 1.0);
        EXPECT_NEAR(turns.rpm, bestRpm, 1e-9 * bestRpm);
        ASSERT_EQ(turns.batteries.size(), 3U);
        for (const TurnsForCutIn& t : turns.batteries) {
            // Wound with them, the alternator cuts in there.
            AnalysisInputs wound = designedFrom(from, {{InputId::Turns, t.turnsPerCoil},
                                                       {InputId::WireDiameter, t.thickestWireM * 1000},
                                                       {InputId::BatteryVolts, t.batteryVolts}});
            const Result<Analysis> with = analyse(sheet, wound);
            ASSERT_TRUE(with) << t.batteryVolts << " V: " << with.problem().message;
            EXPECT_NEAR(with->alternator.cutInRpm(), bestRpm, 0.02 * bestRpm) << t.batteryVolts << " V";
        }
        EXPECT_GT(turns.batteries[2].turnsPerCoil, turns.batteries[0].turnsPerCoil);
        EXPECT_LT(turns.batteries[2].thickestWireM, turns.batteries[0].thickestWireM);
    }
}

TEST(AlternatorDesign, refusesWhatCannotBeBuiltAndNamesTheInput)
{
    struct Row {
        InputId input;
        double value;
        ProblemKind kind;
    };
    const DesignSheet sheet = solvedStartDesign();
    for (const Row row :
         {Row{InputId::Turns, 0, ProblemKind::InputOutside}, Row{InputId::Coils, 10, ProblemKind::GeneratorNotUsable},
          Row{InputId::AirGap, 12, ProblemKind::InputNotBelow},
          Row{InputId::WireDiameter, 3, ProblemKind::GeneratorNotUsable}}) {
        const AnalysisInputs inputs = designedFrom(AlternatorFrom::Magnets, {{row.input, row.value}});
        const Result<Analysis> analysis = analyse(sheet, inputs);
        ASSERT_FALSE(analysis) << static_cast<int>(row.input);
        EXPECT_EQ(analysis.problem().kind, row.kind) << analysis.problem().message;
        EXPECT_EQ(analysis.problem().input, row.input) << analysis.problem().message;
    }
}

}  // namespace
}  // namespace tivora::performance
