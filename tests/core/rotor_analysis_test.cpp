// The blade-element analysis against figures others published.

#include "performance/power_curve.h"
#include "sheet_helpers.h"
#include "solve/solve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace tivora::performance {
namespace {

using std::numbers::pi;
constexpr Losses kNoLosses{false, false};
constexpr double kNoDrag = std::numeric_limits<double>::infinity();

Airfoil dragFree(double cl, double alphaDegrees)
{
    return simpleAirfoil({cl, alphaDegrees, 3 * cl, kNoDrag}, 10).value();
}

// Glauert's optimum rotor with wake rotation (Manwell, McGowan and Rogers,
// Wind Energy Explained, ch. 3): φ = (2/3) atan(1/λr), c = 8πr(1 − cos φ)/(B Cl).
Blade glauertOptimum(double tsr, int blades, double cl, double alphaDegrees)
{
    Blade blade;
    blade.blades = blades;
    const int n = 200;
    for (int i = 0; i < n; ++i) {
        const double r = 0.005 + (1 - 0.005) * i / (n - 1);
        const double phi = 2.0 / 3 * std::atan(1 / (tsr * r));
        blade.stations.push_back({r, 8 * pi * r * (1 - std::cos(phi)) / (blades * cl), phi * 180 / pi - alphaDegrees});
    }
    return blade;
}

TEST(RotorAnalysis, idealRotorReachesManwellsMaximumPowerCoefficients)
{
    struct Row {
        double tsr, cp;
    };
    // Manwell et al., table 3.2: the maximum power coefficient with wake rotation.
    for (const Row row : {Row{1, 0.416}, Row{2, 0.511}, Row{5, 0.570}, Row{7.5, 0.581}, Row{10, 0.585}}) {
        const Blade blade = glauertOptimum(row.tsr, 3, 1.0, 6);
        const RotorCoefficients rotor = rotorCoefficients(blade, dragFree(1.0, 6), row.tsr, kNoLosses);
        EXPECT_NEAR(rotor.cp, row.cp, 0.005) << "tip speed ratio " << row.tsr;
    }
}

TEST(RotorAnalysis, startDesignsBladeSlowsTheWindByAThirdAtItsTipSpeedRatio)
{
    DesignSheet sheet;
    ASSERT_FALSE(solve(sheet));
    const Blade blade = bladeFromSheet(sheet).value();
    const BladeAnalysis analysis = analyseBlade(blade, dragFree(0.85, 6), 7, 15, 1.225, kNoLosses).value();
    // Betz's optimum, a = 1/3; the small-angle chord departs from it near the root.
    EXPECT_NEAR(analysis.stations[0].axialInduction, 0.26, 0.02);
    for (int k = 2; k <= 9; ++k)
        EXPECT_NEAR(analysis.stations[k - 1].axialInduction, 1.0 / 3, 0.015) << "station " << k;
}

TEST(RotorAnalysis, imperialTableIsTheSameBladeInMetres)
{
    DesignSheet metric;
    ASSERT_FALSE(solve(metric));
    DesignSheet imperial =
        testing::sheetWith({{Field::WindSpeed, "33.6"}, {Field::Radius, "3.3"}}, UnitSystem::Imperial);
    ASSERT_FALSE(solve(imperial));
    const Blade a = bladeFromSheet(metric).value();
    const Blade b = bladeFromSheet(imperial).value();
    for (std::size_t k = 0; k < a.stations.size(); ++k) {
        EXPECT_NEAR(b.stations[k].radius, a.stations[k].radius, 0.0005);
        EXPECT_NEAR(b.stations[k].chord, a.stations[k].chord, 0.0005);
    }
}

TEST(RotorAnalysis, unsolvedSheetOrNoBladesIsAProblemNotANumber)
{
    const Result<Blade> unsolved = bladeFromSheet(DesignSheet{});
    ASSERT_FALSE(unsolved);
    EXPECT_EQ(unsolved.problem().kind, ProblemKind::SheetNotSolved);
    EXPECT_EQ(unsolved.problem().message, "station 1's radius holds no number: solve the design first");

    DesignSheet sheet;
    ASSERT_FALSE(solve(sheet));
    for (const char* blades : {"0", "2.5"}) {
        sheet.setText(Field::Blades, blades);
        EXPECT_EQ(bladeFromSheet(sheet).problem().kind, ProblemKind::BladeNotUsable) << blades;
    }
}

TEST(RotorAnalysis, cpCurvePeakIsFoundToAHundredthOfTheTipSpeedRatio)
{
    DesignSheet sheet;
    ASSERT_FALSE(solve(sheet));
    const Blade blade = bladeFromSheet(sheet).value();
    const Airfoil airfoil = simpleAirfoil({}, aspectRatio(blade)).value();
    const CpCurve curve = cpCurve(blade, airfoil);
    EXPECT_EQ(curve.points.front().tsr, 0.5);
    EXPECT_EQ(curve.points.back().tsr, 15);
    for (const CpPoint& point : curve.points)
        EXPECT_LE(point.cp, curve.peakCp) << "tip speed ratio " << point.tsr;
    // The peak is where it says, and a hundredth either side is no better.
    const double atPeak = rotorCoefficients(blade, airfoil, curve.peakTsr).cp;
    EXPECT_DOUBLE_EQ(atPeak, curve.peakCp);
    for (double step : {-0.01, 0.01})
        EXPECT_LE(rotorCoefficients(blade, airfoil, curve.peakTsr + step).cp, atPeak);
}

}  // namespace
}  // namespace tivora::performance
