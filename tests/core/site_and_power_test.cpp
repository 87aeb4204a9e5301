// Air density, annual energy and the alternator against closed forms and tables.

#include "performance/power_curve.h"
#include "solve/solve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace tivora::performance {
namespace {

TEST(Site, airDensityFollowsTheStandardAtmospheresTable)
{
    struct Row {
        double altitude, density;
    };
    // ISO 2533 (U.S. Standard Atmosphere 1976), kg/m³.
    for (const Row row : {Row{0, 1.2250}, Row{1000, 1.1117}, Row{2000, 1.0066}})
        EXPECT_NEAR(airDensity(row.altitude).value(), row.density, 0.0002) << row.altitude << " m";
    EXPECT_EQ(airDensity(12000).problem().kind, ProblemKind::OutsideAtmosphere);
    EXPECT_EQ(airDensity(0, std::nan("")).problem().kind, ProblemKind::OutsideAtmosphere);
}

TEST(Site, rayleighIsWeibullOfShapeTwo)
{
    const WindDistribution site = windDistribution(6, 2).value();
    for (double v : {1.0, 4.0, 6.0, 9.5, 20.0}) {
        const double rayleigh = 1 - std::exp(-std::numbers::pi / 4 * (v / 6) * (v / 6));
        EXPECT_NEAR(cumulativeProbability(site, v), rayleigh, 1e-12) << v << " m/s";
    }
    EXPECT_EQ(windDistribution(0, 2).problem().kind, ProblemKind::SiteNotUsable);
}

TEST(Site, annualEnergyOfFlatAndCubicCurvesMatchesTheirIntegrals)
{
    struct Row {
        const char* curve;
        double mean, shape;
    };
    for (const Row row : {Row{"flat", 6, 2}, Row{"flat", 5, 3}, Row{"cubic", 6, 2}, Row{"cubic", 5, 3}}) {
        const bool cubic = std::string_view(row.curve) == "cubic";
        std::vector<PowerCurvePoint> curve;
        for (double v : windSpeedBins())
            curve.push_back({v, cubic ? 0.5 * v * v * v : 1000});
        const WindDistribution site = windDistribution(row.mean, row.shape).value();
        const double scale = row.mean / std::tgamma(1 + 1 / row.shape);
        // Flat: the chance of a wind below 25 m/s. Cubic: 0.5 A³ Γ(1 + 3/k),
        // the mean of v³ (the tail above 25 m/s is below 10⁻⁵ of it); the
        // bins' straight lines lie above the convex cubic by under 1 %.
        const double watts = cubic ? 0.5 * scale * scale * scale * std::tgamma(1 + 3 / row.shape)
                                   : 1000 * (1 - std::exp(-std::pow(25 / scale, row.shape)));
        const AnnualEnergy energy = annualEnergy(curve, site);
        EXPECT_NEAR(energy.kilowattHours, watts * 8.76, watts * 8.76 * (cubic ? 0.01 : 1e-9))
            << row.curve << " k " << row.shape;
        const double highest = cubic ? 0.5 * 25 * 25 * 25 : 1000;
        EXPECT_NEAR(energy.capacityFactor, energy.kilowattHours / 8.76 / highest, 1e-9);
    }
}

// The circuit on its own: open-circuit volts less battery and rectifier,
// through the winding.
double shaftPower(const Alternator& a, double rpm)
{
    const double current = (a.voltsPerRpm * rpm - a.batteryVolts - a.rectifierDrop) / a.windingResistance;
    return current <= 0 ? 0 : (a.batteryVolts + a.rectifierDrop) * current + current * current * a.windingResistance;
}

TEST(PowerCurve, alternatorDeliversNothingBelowCutInAndMeetsTheRotorAbove)
{
    DesignSheet sheet;
    ASSERT_FALSE(solve(sheet));
    const Blade blade = bladeFromSheet(sheet).value();
    const CpCurve curve = cpCurve(blade, simpleAirfoil({}, aspectRatio(blade)).value());
    const Alternator alternator;
    const double cutInRpm = (alternator.batteryVolts + alternator.rectifierDrop) / alternator.voltsPerRpm;
    int below = 0, charging = 0;
    for (const AlternatorRow& row : alternatorPowerCurve(curve, alternator, 1, 1.225)) {
        if (row.row.windSpeed > 0 && row.row.rpm < cutInRpm) {
            ++below;
            EXPECT_EQ(row.row.deliveredPower, 0) << row.row.windSpeed << " m/s";
            EXPECT_EQ(row.state, AlternatorState::BelowCutIn);
        }
        if (row.state == AlternatorState::Charging || row.state == AlternatorState::Stalled) {
            ++charging;
            const double shaft = shaftPower(alternator, row.row.rpm);
            EXPECT_NEAR(row.row.rotorPower, shaft, 0.001 * shaft) << row.row.windSpeed << " m/s";
            EXPECT_LT(row.row.deliveredPower, shaft);
        }
    }
    EXPECT_GT(below, 0);
    EXPECT_GT(charging, 20);
}

TEST(PowerCurve, heldRotorStopsOutsideCutInAndOutAndIsCappedAtRated)
{
    HeldRunning running{7, 3, 20, 1000};
    const std::vector<PowerCurveRow> rows = heldPowerCurve(running, 0.4, 1, 1.225).value();
    ASSERT_EQ(rows.size(), 51u);
    for (const PowerCurveRow& row : rows) {
        const double wind = 0.4 * 0.5 * 1.225 * std::numbers::pi * std::pow(row.windSpeed, 3);
        const double expected = row.windSpeed < 3 || row.windSpeed > 20 ? 0 : std::min(wind, 1000.0);
        EXPECT_NEAR(row.deliveredPower, expected, 1e-9) << row.windSpeed << " m/s";
    }
}

}  // namespace
}  // namespace tivora::performance
