// Polar and power curve files: what reads, and what each broken one is told.

#include "performance/power_curve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace tivora::performance {
namespace {

// XFOIL 6.99's polar save file, shortened.
constexpr const char* kXfoilPolar = R"(
       XFOIL         Version 6.99

 Calculated polar for: NACA 2412

 1 1 Reynolds number fixed          Mach number fixed

 xtrf =   1.000 (top)        1.000 (bottom)
 Mach =   0.000     Re =     0.200 e 6     Ncrit =   9.000

   alpha    CL        CD       CDp       CM     Top_Xtr  Bot_Xtr
  ------ -------- --------- --------- -------- -------- --------
  -4.000  -0.2198   0.01160   0.00398  -0.0533   0.8946   0.0614
   0.000   0.2346   0.00928   0.00302  -0.0545   0.6926   1.0000
   4.000   0.6706   0.01036   0.00431  -0.0541   0.4911   1.0000
   8.000   1.0536   0.01464   0.00838  -0.0474   0.2218   1.0000
  12.000   1.2410   0.02739   0.02057  -0.0244   0.0560   1.0000
  14.000   1.1930   0.04412   0.03723  -0.0167   0.0327   1.0000
)";

constexpr double kDegree = std::numbers::pi / 180;

TEST(PolarFile, xfoilOutputReadsAndExtendsToEveryAngle)
{
    const Airfoil airfoil = readPolar(kXfoilPolar, 10).value();
    ASSERT_EQ(airfoil.rows().size(), 6u);
    EXPECT_NEAR(airfoil.at(4 * kDegree).cl, 0.6706, 1e-12);
    EXPECT_NEAR(airfoil.at(6 * kDegree).cd, (0.01036 + 0.01464) / 2, 1e-12);
    // Viterna and Corrigan: a flat plate across the wind, no lift and the
    // drag 1.11 + 0.018 AR.
    EXPECT_NEAR(airfoil.at(90 * kDegree).cl, 0, 1e-9);
    EXPECT_NEAR(airfoil.at(90 * kDegree).cd, 1.11 + 0.018 * 10, 1e-9);
    EXPECT_NEAR(airfoil.at(180 * kDegree).cl, 0, 1e-9);
    // Finite everywhere, and without a step: the reversed section beyond
    // ±90° joins the straight fall of lift towards ±180°.
    double previous = airfoil.at(-std::numbers::pi).cl;
    for (double degrees = -180; degrees <= 180; degrees += 0.5) {
        const auto [cl, cd] = airfoil.at(degrees * kDegree);
        ASSERT_TRUE(std::isfinite(cl) && std::isfinite(cd) && cd >= 0) << degrees << "°";
        EXPECT_LT(std::abs(cl - previous), 0.1) << degrees << "°";
        previous = cl;
    }
}

TEST(PolarFile, plainColumnsReadWithAnySeparator)
{
    for (const char* text : {"alpha,cl,cd\n0,0.2,0.01\n5,0.7,0.012\n", "0;0.2;0.01\r\n5;0.7;0.012\r\n",
                             "0\t0.2\t0.01\n5\t0.7\t0.012", "0  0.2 0.01\n 5 0.7  0.012\n"}) {
        const Result<Airfoil> airfoil = readPolar(text, 10);
        ASSERT_TRUE(airfoil) << text << ": " << airfoil.problem().message;
        EXPECT_NEAR(airfoil->at(5 * kDegree).cl, 0.7, 1e-12) << text;
    }
}

TEST(PolarFile, brokenFilesAreToldTheLineAndWhatWasExpected)
{
    struct Row {
        const char* text;
        const char* message;
    };
    const Row rows[] = {
        {"alpha cl cd\n4 0.6 0.01\n", "line 2: expected at least two rows of alpha, Cl, Cd, found 1"},
        {"a picture, not a polar\n", "line 1: expected at least two rows of alpha, Cl, Cd, found 0"},
        {"0 0.2 0.01\n4 nan 0.01\n", "line 2: expected finite numbers, found one that is not"},
        {"0 0.2 0.01\n4 0.6 0.011\n8 0.9\n", "line 3: expected three columns alpha, Cl, Cd, found 2"},
        {"0 0.2 0.01\n4 0.6 0.011\nend of table\n", "line 3: expected numbers alpha, Cl, Cd, found \"end\""},
        {"0 0.2 0.01\n4 0.6 0.011\n2 0.4 0.01\n", "line 3: expected an angle of attack above the line before's"},
        {"0 0.2 0.01\n4 0.6 -0.011\n", "line 2: expected a drag coefficient of 0 or more"},
        {"-8 -0.6 0.01\n-4 -0.2 0.011\n", "line 2: expected angles of attack that reach above 0 degrees"},
    };
    for (const Row& row : rows) {
        const Result<Airfoil> airfoil = readPolar(row.text, 10);
        ASSERT_FALSE(airfoil) << row.text;
        EXPECT_EQ(airfoil.problem().kind, ProblemKind::NotAPolar);
        EXPECT_EQ(airfoil.problem().message, row.message);
    }
}

TEST(PowerCurveFile, headerSaysWattsOrKilowatts)
{
    const auto curve = readPowerCurve("Wind speed (m/s),Power (kW)\n3,0.05\n10,1.2\n").value();
    EXPECT_EQ(curve[1].power, 1200);
    EXPECT_EQ(readPowerCurve("v;P [W]\n3;50\n10;1200\n").value()[1].power, 1200);

    struct Row {
        const char* text;
        const char* message;
    };
    const Row rows[] = {
        {"3,50\n10,1200\n", "line 1: expected a header before the numbers naming the power's unit, W or kW"},
        {"speed,power (W)\n3,50\n10,inf\n", "line 3: expected finite numbers, found one that is not"},
        {"speed,power (W)\n3,50\n3,60\n", "line 3: expected a wind speed above the line before's"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(readPowerCurve(row.text).problem().message, row.message) << row.text;
}

}  // namespace
}  // namespace tivora::performance
