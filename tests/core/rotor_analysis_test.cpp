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
// Wind Energy Explained, ch. 3): φ = (2/3) atan(1/λr), c = 8πr(1 − cos φ)/(B Cl),
// on a blade of tip radius R (λr = λ r / R).
Blade glauertOptimum(double tsr, int blades, double tipRadius, double cl, double alphaDegrees)
{
    Blade blade;
    blade.blades = blades;
    const int n = 200;
    for (int i = 0; i < n; ++i) {
        const double share = 0.005 + (1 - 0.005) * i / (n - 1);
        const double r = share * tipRadius;
        const double phi = 2.0 / 3 * std::atan(1 / (tsr * share));
        blade.stations.push_back({r, 8 * pi * r * (1 - std::cos(phi)) / (blades * cl), phi * 180 / pi - alphaDegrees});
    }
    return blade;
}

// The power coefficient does not hang on the rotor's size or its number of
// blades, only on the tip speed ratio: every row reaches Manwell's figure.
TEST(RotorAnalysis, idealRotorReachesManwellsMaximumPowerCoefficients)
{
    struct Row {
        double tsr;
        int blades;
        double tipRadius, cp;
    };
    // Manwell et al., table 3.2: the maximum power coefficient with wake rotation.
    for (const Row row : {Row{1, 3, 1, 0.416}, Row{2, 2, 2.5, 0.511}, Row{5, 3, 2, 0.570}, Row{7.5, 3, 1, 0.581},
                          Row{10, 4, 0.6, 0.585}}) {
        const Blade blade = glauertOptimum(row.tsr, row.blades, row.tipRadius, 1.0, 6);
        const RotorCoefficients rotor = rotorCoefficients(blade, dragFree(1.0, 6), row.tsr, kNoLosses);
        EXPECT_NEAR(rotor.cp, row.cp, 0.005) << "tip speed ratio " << row.tsr << ", R " << row.tipRadius << " m";
    }
}

// Prandtl's factor worked by hand from CCBlade's form, e.g. the first row:
// F_hub = (2/π) acos(exp(−3/2 · (0.2 − 0.1) / (0.1 · sin 30°))) = (2/π) acos(e⁻³)
// = 0.968292, and F_tip = (2/π) acos(e⁻¹²) = 0.999996.
TEST(RotorAnalysis, tipAndHubLossAreCCBladesPrandtlFactors)
{
    struct Row {
        int blades;
        double r, tipRadius, hubRadius, phiDegrees;
        double loss;
    };
    for (const Row row : {Row{3, 0.2, 1, 0.1, 30, 0.968288}, Row{3, 0.9, 1, 0.1, 10, 0.749802},
                          Row{2, 0.95, 2, 0.2, 20, 0.974839}, Row{3, 0.15, 1, 0.1, 40, 0.798427}})
        EXPECT_NEAR(tipHubLoss(row.blades, row.r, row.tipRadius, row.hubRadius, row.phiDegrees * pi / 180), row.loss,
                    2e-6)
            << row.blades << " blades, r " << row.r << " m";
}

// A blade so narrow that it barely slows the wind sees the wind at the
// geometric angle atan(1 / λr), from nearly along the plane to nearly across it.
TEST(RotorAnalysis, lightlyLoadedElementSeesTheGeometricInflowAngle)
{
    Blade blade;
    for (double r : {0.05, 0.1, 0.5, 1.0})
        blade.stations.push_back({r, 1e-4, 0});
    struct Row {
        double tsr, r, phiDegrees;
    };
    for (const Row row : {Row{0.5, 0.1, 87.14}, Row{2, 0.5, 45}, Row{10, 1, 5.71}}) {
        const BladeAnalysis analysis = analyseBlade(blade, dragFree(0.5, 2), row.tsr, 10, 1.225, kNoLosses).value();
        for (const StationResult& station : analysis.stations) {
            if (station.radius != row.r)
                continue;
            EXPECT_TRUE(station.solved) << "λr " << row.tsr * row.r;
            EXPECT_NEAR(station.phiDegrees, row.phiDegrees, 0.02) << "λr " << row.tsr * row.r;
        }
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
