// The Rotor Performance window's analysis and the site's units.

#include "performance/performance_settings.h"
#include "performance/rotor_performance.h"
#include "solve/solve.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tivora::performance {
namespace {

TEST(SiteUnits, convertAsPublishedAndBack)
{
    struct Row {
        SiteQuantity quantity;
        UnitSystem system;
        double si, shown;
        const char* unit;
    };
    // 1 m/s = 3.6 km/h = 2.23694 mph; 1 ft = 0.3048 m; °F = °C · 9/5 + 32.
    for (const Row row : {Row{SiteQuantity::WindSpeed, UnitSystem::SI, 5, 5, "m/s"},
                          Row{SiteQuantity::WindSpeed, UnitSystem::Metric, 5, 18, "km/h"},
                          Row{SiteQuantity::WindSpeed, UnitSystem::Imperial, 5, 11.1847, "mph"},
                          Row{SiteQuantity::Altitude, UnitSystem::Metric, 304.8, 304.8, "m"},
                          Row{SiteQuantity::Altitude, UnitSystem::Imperial, 304.8, 1000, "ft"},
                          Row{SiteQuantity::Temperature, UnitSystem::Imperial, -40, -40, "°F"},
                          Row{SiteQuantity::Temperature, UnitSystem::Imperial, 15, 59, "°F"}}) {
        EXPECT_NEAR(shownFromSi(row.quantity, row.system, row.si), row.shown, 1e-4) << row.unit;
        EXPECT_NEAR(siFromShown(row.quantity, row.system, row.shown), row.si, 1e-4) << row.unit;
        EXPECT_EQ(unitOf(row.quantity, row.system), row.unit);
    }
}

// The matching chart's crossings are found on its own rpm curves; the
// alternator's power curve finds them by bisection on the Cp–λ curve. The
// two must meet where their wind speeds do.
TEST(GeneratorMatching, crossingsAreTheAlternatorPowerCurvesOperatingPoints)
{
    DesignSheet sheet;
    ASSERT_FALSE(solve(sheet));
    PerformanceInputs inputs;
    inputs.onAlternator = true;
    const RotorPerformance result = analysePerformance(sheet, inputs).value();
    int compared = 0;
    for (const MatchingCurve& curve : result.matching) {
        for (const PowerCurveRow& row : result.powerCurve) {
            if (row.windSpeed != curve.windSpeed || row.rotorPower <= 0)
                continue;
            ASSERT_TRUE(curve.crossing) << curve.windSpeed << " m/s";
            EXPECT_NEAR(curve.crossing->rpm, row.rpm, 0.01 * row.rpm) << curve.windSpeed << " m/s";
            EXPECT_NEAR(curve.crossing->power, row.rotorPower, 0.03 * row.rotorPower) << curve.windSpeed << " m/s";
            ++compared;
        }
    }
    EXPECT_GE(compared, 5);
    // Each curve's peak is Cp max of the wind through the disc.
    for (const MatchingCurve& curve : result.matching)
        EXPECT_NEAR(curve.peak.power,
                    result.cp.peakCp * 0.5 * result.density * 3.14159265 * std::pow(curve.windSpeed, 3),
                    1e-6 * curve.peak.power);
}

TEST(PerformanceInputs, senselessValuesAreNamedAndUsualOnesAreNot)
{
    const PerformanceInputs usual;
    EXPECT_FALSE(senselessReason(PerformanceInput::MeanWindSpeed, usual.meanWindSpeed, usual));
    EXPECT_FALSE(senselessReason(PerformanceInput::CutIn, usual.cutIn, usual));
    EXPECT_TRUE(senselessReason(PerformanceInput::MeanWindSpeed, 0, usual));
    EXPECT_TRUE(senselessReason(PerformanceInput::CutIn, 30, usual));  // above the cut-out
    EXPECT_TRUE(senselessReason(PerformanceInput::Temperature, 80, usual));
}

// A design file gives the window back every input it was saved with, in SI
// and exactly; what it does not name starts afresh.
TEST(PerformanceInputs, aDesignFileKeepsEveryInputOfTheWindow)
{
    PerformanceInputs saved;
    saved.meanWindSpeed = 6.35;
    saved.weibullShape = 1.8;
    saved.altitude = 1234.5;
    saved.temperature = -3.25;
    saved.clMax = 1.35;
    saved.glideRatio = 72;
    saved.onAlternator = true;
    saved.cutIn = 2.5;
    saved.cutOut = 22;
    saved.ratedPower = 1800;
    saved.alternator = {0.095, 48, 1.1, 2.2};
    saved.polarText = "polar";
    std::string polar;
    const PerformanceInputs opened = inputsFrom(settingsOf(saved, "naca4412.txt"), polar);
    EXPECT_EQ(polar, "naca4412.txt");
    EXPECT_FALSE(opened.polarText);  // the polar's text is the user's file, not the design's
    const auto same = [](const PerformanceInputs& a, const PerformanceInputs& b) {
        return a.meanWindSpeed == b.meanWindSpeed && a.weibullShape == b.weibullShape && a.altitude == b.altitude &&
               a.temperature == b.temperature && a.clMax == b.clMax && a.glideRatio == b.glideRatio &&
               a.onAlternator == b.onAlternator && a.cutIn == b.cutIn && a.cutOut == b.cutOut &&
               a.ratedPower == b.ratedPower && a.alternator.voltsPerRpm == b.alternator.voltsPerRpm &&
               a.alternator.batteryVolts == b.alternator.batteryVolts &&
               a.alternator.rectifierDrop == b.alternator.rectifierDrop &&
               a.alternator.windingResistance == b.alternator.windingResistance;
    };
    EXPECT_TRUE(same(opened, saved));
    EXPECT_TRUE(same(inputsFrom({{"site.weibull-k", "not a number"}}, polar), PerformanceInputs()));
}

}  // namespace
}  // namespace tivora::performance
