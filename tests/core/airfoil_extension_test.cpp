// The airfoil beyond its table: Viterna and Corrigan's model, the reversed
// section and the negative side, for tables of every reach.

#include "performance/power_curve.h"
#include "solve/solve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace tivora::performance {
namespace {

constexpr double kDegree = std::numbers::pi / 180;

// A NACA 2412 at Re 200 000 as XFOIL gives it, cut to different reaches.
constexpr const char* kFromMinus4To12 = "-4 -0.2198 0.0116\n0 0.2346 0.00928\n4 0.6706 0.01036\n"
                                        "8 1.0536 0.01464\n12 1.2410 0.02739\n";
constexpr const char* kFrom0To12 = "0 0.2346 0.00928\n4 0.6706 0.01036\n8 1.0536 0.01464\n12 1.2410 0.02739\n";
constexpr const char* kFrom2To12 = "2 0.4526 0.0098\n4 0.6706 0.01036\n8 1.0536 0.01464\n12 1.2410 0.02739\n";
// On past its maximum lift, as a polar measured into stall goes.
constexpr const char* kFromMinus4To25 = "-4 -0.2198 0.0116\n0 0.2346 0.00928\n4 0.6706 0.01036\n8 1.0536 0.01464\n"
                                        "12 1.2410 0.02739\n16 1.15 0.12\n20 1.05 0.22\n25 1.0 0.35\n";
// Reaching as far below 0° as above, through its negative stall.
constexpr const char* kFromMinus20To20 = "-20 -0.75 0.2\n-14 -0.9 0.04\n-4 -0.2198 0.0116\n0 0.2346 0.00928\n"
                                         "8 1.0536 0.01464\n12 1.2410 0.02739\n20 1.05 0.22\n";

TEST(AirfoilExtension, everyTableIsExtendedContinuouslyAndFinitelyAllRound)
{
    struct Case {
        std::string name;
        Airfoil airfoil;
        double alphaDegrees;  // the design's, that the blade is solved for
    };
    std::vector<Case> cases;
    for (const char* polar : {kFromMinus4To12, kFrom0To12, kFrom2To12, kFromMinus4To25, kFromMinus20To20})
        cases.push_back({std::string("polar ") + polar, readPolar(polar, 10).value(), 6});
    for (double alpha : {0.0, 6.0, 12.0, 20.0, 25.0})
        cases.push_back(
            {"typed at " + std::to_string(alpha) + "°", simpleAirfoil({0.85, alpha, 1.2, 50}, 10).value(), alpha});

    const double flatPlateLift = (1.11 + 0.018 * 10) / 2;  // Viterna's cdMax sin α cos α at 45°
    for (const Case& c : cases) {
        const std::vector<PolarRow>& rows = c.airfoil.rows();
        double tableLift = 0;
        for (const PolarRow& row : rows)
            tableLift = std::max(tableLift, std::abs(row.cl));
        // Joined without a step at both ends of the table.
        for (const PolarRow& row : {rows.front(), rows.back()}) {
            for (double side : {-1e-9, 1e-9}) {
                const auto [cl, cd] = c.airfoil.at(row.alphaDegrees * kDegree + side);
                EXPECT_NEAR(cl, row.cl, 1e-6) << c.name << " at " << row.alphaDegrees << "°";
                EXPECT_NEAR(cd, row.cd, 1e-6) << c.name << " at " << row.alphaDegrees << "°";
            }
        }
        // Finite, bounded, with drag, and without a jump anywhere (±180° included).
        Airfoil::Coefficients previous = c.airfoil.at(-std::numbers::pi);
        for (int step = -3600; step <= 3600; ++step) {
            const double degrees = step * 0.05;
            const Airfoil::Coefficients now = c.airfoil.at(degrees * kDegree);
            ASSERT_TRUE(std::isfinite(now.cl) && std::isfinite(now.cd)) << c.name << " at " << degrees << "°";
            ASSERT_LE(std::abs(now.cl), std::max(tableLift, flatPlateLift) + 1e-9) << c.name << " at " << degrees;
            ASSERT_GT(now.cd, 0) << c.name << " at " << degrees << "°";
            ASSERT_LT(std::abs(now.cl - previous.cl), 0.03) << c.name << " at " << degrees << "°";
            ASSERT_LT(std::abs(now.cd - previous.cd), 0.03) << c.name << " at " << degrees << "°";
            previous = now;
        }
        // And the blade solved for it stays below Betz's limit.
        DesignSheet sheet;
        sheet.setText(Field::Alpha, std::to_string(c.alphaDegrees));
        ASSERT_FALSE(solve(sheet)) << c.name;
        const CpCurve curve = cpCurve(bladeFromSheet(sheet).value(), c.airfoil);
        EXPECT_LT(curve.peakCp, 16.0 / 27) << c.name;
        EXPECT_GT(curve.peakCp, 0.3) << c.name;
    }
}

TEST(AirfoilExtension, followsViternaAndCorrigansFormulaAndTheReversedSection)
{
    // A table ending at 15° with Cl 1.1 and Cd 0.05, on a blade of aspect
    // ratio 10: Cd max = 1.11 + 0.018 × 10 = 1.29;
    // A2 = (1.1 − 1.29 sin 15° cos 15°) sin 15° / cos² 15° = 0.215680,
    // B2 = (0.05 − 1.29 sin² 15°) / cos 15° = −0.0376981.
    // At 40°: Cl = 1.29/2 sin 80° + A2 cos² 40° / sin 40° = 0.832103,
    //         Cd = 1.29 sin² 40° + B2 cos 40° = 0.504118.
    const Airfoil airfoil = readPolar("-2 0.03 0.01\n8 0.95 0.015\n15 1.1 0.05\n", 10).value();
    struct Row {
        double degrees, cl, cd;
    };
    const Row rows[] = {
        {40, 0.832103, 0.504118},
        {90, 0, 1.29},                         // a flat plate across the wind
        {140, -0.7 * 0.832103, 0.504118},      // the reversed section, 0.7 of the lift
        {172, -0.7 * 1.1 * 8 / 15, 0.01},      // lift falling straight to none at 180°; the drag the
                                               // table's least, Viterna's (−0.0123) being below it
        {-15, -0.7 * 1.1, 0.05},               // no negative stall in the table: the last row mirrored
        {-8.5, (0.03 - 0.7 * 1.1) / 2, 0.03},  // bridged to in a straight line
        {-40, -0.7 * 0.832103, 0.504118},      // and Viterna's model mirrored beyond
        {-172, 0.7 * 1.1 * 8 / 15, 0.01},
    };
    for (const Row& row : rows) {
        const auto [cl, cd] = airfoil.at(row.degrees * kDegree);
        EXPECT_NEAR(cl, row.cl, 1e-5) << row.degrees << "°";
        EXPECT_NEAR(cd, row.cd, 1e-5) << row.degrees << "°";
    }
}

TEST(AirfoilExtension, flatPlateDragGrowsWithAspectRatioUpToFifty)
{
    struct Row {
        double aspectRatio, cdAt90;
    };
    // A blade of many slender blades (10 blades at λ 7) passes 50.
    for (const Row row : {Row{10, 1.29}, Row{50, 2.01}, Row{80, 2.01}}) {
        EXPECT_NEAR(readPolar(kFromMinus4To12, row.aspectRatio).value().at(90 * kDegree).cd, row.cdAt90, 1e-12)
            << "aspect ratio " << row.aspectRatio;
        EXPECT_NEAR(simpleAirfoil({}, row.aspectRatio).value().at(-90 * kDegree).cd, row.cdAt90, 1e-12)
            << "aspect ratio " << row.aspectRatio;
    }
}

}  // namespace
}  // namespace tivora::performance
