// Polar and power curve files: what reads, and what each broken one is told.

#include "performance/power_curve.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(PolarFile, xfoilOutputReadsWithItsReynoldsNumber)
{
    const Airfoil airfoil = readPolar(kXfoilPolar, 10).value();
    ASSERT_EQ(airfoil.rows().size(), 6u);
    EXPECT_NEAR(airfoil.at(4 * kDegree).cl, 0.6706, 1e-12);
    EXPECT_NEAR(airfoil.at(6 * kDegree).cd, (0.01036 + 0.01464) / 2, 1e-12);
    EXPECT_EQ(airfoil.reynolds(), 200000);  // "Re =     0.200 e 6"
    EXPECT_EQ(readPolar("Re = 3.5e5\n0 0.2 0.01\n5 0.7 0.012\n", 10)->reynolds(), 350000);
    EXPECT_FALSE(readPolar("0 0.2 0.01\n5 0.7 0.012\n", 10)->reynolds());
}

TEST(PolarFile, plainColumnsReadWithAnySeparator)
{
    // Decimal commas where the fields are separated otherwise, as a
    // spreadsheet saves them where the comma is the decimal mark.
    for (const char* text :
         {"alpha,cl,cd\n0,0.2,0.01\n5,0.7,0.012\n", "0;0.2;0.01\r\n5;0.7;0.012\r\n", "0\t0.2\t0.01\n5\t0.7\t0.012",
          "0  0.2 0.01\n 5 0.7  0.012\n", "alpha;cl;cd\n0,0;0,2;0,01\n5,0;0,7;0,012\n", "0\t0,2\t0,01\n5\t0,7\t0,012\n",
          "  0,000   0,2000   0,01000\n  5,000   0,7000   0,01200\n"}) {
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
        {"0 0.2 0.01\n4 0.6 -0.011\n", "line 2: expected a drag coefficient from 0 to 2.01, found -0.011"},
        {"-8 -0.6 0.01\n-4 -0.2 0.011\n", "line 2: expected angles of attack that reach above 0 degrees"},
        // A step in the lift.
        {"0 0.2 0.01\n4 0.6 0.011\n4 0.7 0.012\n8 0.9 0.02\n",
         "line 3: the angle of attack 4 is given again: expected one row for each angle"},
        // Outliers beyond any airfoil section.
        {"0 0.2 0.01\n4 1e6 0.011\n8 0.9 0.02\n", "line 2: expected a lift coefficient within ±3, found 1e+06"},
        {"0 0.2 0.01\n4 0.6 0.011\n8 0.9 50\n", "line 3: expected a drag coefficient from 0 to 2.01, found 50"},
        // Read as degrees, the lift would rise 5.5 in a degree: (1.24 + 0.4) / 0.3.
        {"alpha (rad),cl,cd\n-0.1,-0.4,0.012\n0,0.23,0.009\n0.1,0.85,0.011\n0.2,1.24,0.027\n",
         "line 2: expected angles of attack in degrees, found what look like radians (all within ±1.6, the lift "
         "changing by 5.5 for each)"},
        {"16 1.15 0.12\n20 1.05 0.22\n25 1.0 0.35\n",
         "line 1: expected angles of attack from below stall, found the lift falling from the first row on"},
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
    struct Unit {
        const char* header;
        double watts;  // for each unit of the power column
    };
    for (const Unit unit : {Unit{"Wind speed (m/s),Power (kW)", 1000}, Unit{"Wind speed (m/s),Power (kilowatts)", 1000},
                            Unit{"v,P [kW]", 1000}, Unit{"v,Power kW", 1000}, Unit{"wind_ms,power_kw", 1000},
                            Unit{"v;P [W]", 1}, Unit{"speed,power (watts)", 1}, Unit{"v,power_w", 1}}) {
        const std::string text = std::string(unit.header) + "\n3,0.05\n10,1.2\n";
        const Result<std::vector<PowerCurvePoint>> curve = readPowerCurve(text);
        ASSERT_TRUE(curve) << unit.header << ": " << curve.problem().message;
        EXPECT_EQ(curve->back().power, 1.2 * unit.watts) << unit.header;
    }

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

TEST(PowerCurveFile, curveOnTheBinsKeepsItsEndsAndItsStandbyDraw)
{
    // Decimal commas, a standby draw of 10 W below cut-in, and an end at 10 m/s.
    const std::vector<PowerCurvePoint> binned =
        onBins(readPowerCurve("Wind speed (m/s);Power (kW)\n0;-0,01\n3;0,05\n10;1,2\n").value());
    struct Bin {
        double windSpeed, power;
    };
    for (const Bin bin : {Bin{0, -10}, Bin{1.5, 20}, Bin{6.5, 625}, Bin{10, 1200}, Bin{10.5, 0}, Bin{25, 0}}) {
        const auto at = std::find_if(binned.begin(), binned.end(),
                                     [&](const PowerCurvePoint& p) { return p.windSpeed == bin.windSpeed; });
        ASSERT_NE(at, binned.end()) << bin.windSpeed << " m/s";
        EXPECT_NEAR(at->power, bin.power, 1e-9) << bin.windSpeed << " m/s";
    }
}

}  // namespace
}  // namespace tivora::performance
