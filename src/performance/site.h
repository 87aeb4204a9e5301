#pragma once

// The site: the density of its air and the spread of its winds, and the
// energy a power curve gives there in a year.

#include "result.h"

#include <optional>
#include <vector>

namespace tivora::performance {

// ISO 2533 standard atmosphere, troposphere (below 11 000 m). With a
// temperature the user measured (°C), the pressure is still the standard one
// at that altitude.
Result<double> airDensity(double altitudeMetres, std::optional<double> temperatureCelsius = std::nullopt);

// Weibull distribution of the hourly mean wind speed, its scale taken from
// the site's mean speed through the gamma function. Shape 2 is Rayleigh's.
struct WindDistribution {
    double meanSpeed;  // m/s
    double shape = 2;  // k
};
Result<WindDistribution> windDistribution(double meanSpeed, double shape);
double weibullScale(const WindDistribution& site);
// Probability that the wind is below v.
double cumulativeProbability(const WindDistribution& site, double v);

struct PowerCurvePoint {
    double windSpeed;  // m/s
    double power;      // W
};

struct AnnualEnergy {
    double kilowattHours;
    double capacityFactor;  // of the curve's highest power
};

inline constexpr double kHoursPerYear = 8760;

// The binned sum of IEC 61400-12-1: for each bin between two points of the
// curve, its probability times the mean of its end powers, times the hours
// of a year. Winds above the curve's last point give nothing.
AnnualEnergy annualEnergy(const std::vector<PowerCurvePoint>& curve, const WindDistribution& site);

}  // namespace tivora::performance
