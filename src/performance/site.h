#pragma once

// The site: the density of its air and the spread of its winds, and the
// energy a power curve gives there in a year.

#include "physics.h"
#include "result.h"

#include <functional>
#include <optional>
#include <vector>

namespace tivora::performance {

// ISO 2533 standard atmosphere, troposphere (below 11 000 m). With a
// temperature the user measured (°C), the pressure is still the standard one
// at that altitude.
Result<double> airDensity(double altitudeMetres, std::optional<double> temperatureCelsius = std::nullopt);
// The standard atmosphere's temperature at an altitude (°C): 15 °C at sea
// level, falling 6.5 °C a kilometre.
double standardTemperatureCelsius(double altitudeMetres);

// Weibull distribution of the hourly mean wind speed, its scale taken from
// the site's mean speed through the gamma function. Shape 2 is Rayleigh's.
// Calms may be kept apart, as a measured wind's are (weibull_fit.h): then
// the Weibull is that of the winds above calm, and its mean theirs.
struct WindDistribution {
    double meanSpeed;  // m/s
    double shape = 2;  // k
    double calmShare = 0;
};
Result<WindDistribution> windDistribution(double meanSpeed, double shape);
double weibullScale(const WindDistribution& site);
// Probability that the wind is below v; the calms are below any v above 0.
double cumulativeProbability(const WindDistribution& site, double v);

struct PowerCurvePoint {
    double windSpeed;  // m/s
    double power;      // W
};

struct AnnualEnergy {
    double kilowattHours = 0;         // of the power delivered (the curve's positive part)
    double standbyKilowattHours = 0;  // drawn where the curve is below zero (a turbine's standby), 0 or less
};

// The binned sum of IEC 61400-12-1: for each bin between two points of the
// curve, its probability times the mean of its end powers, times the hours
// of a year. Winds above the curve's last point give nothing. What the
// turbine delivers and what it draws are summed apart.
AnnualEnergy annualEnergy(const std::vector<PowerCurvePoint>& curve, const WindDistribution& site);
// The same sum on any distribution, `cumulative` its probability below v:
// a measured one (wind_series.h) gives the binned sum on measured frequencies.
AnnualEnergy annualEnergy(const std::vector<PowerCurvePoint>& curve, const std::function<double(double)>& cumulative);

// A maker's power curve, published at sea-level air (1.225 kg/m³), at a
// site's density: IEC 61400-12-1's density normalisation of the wind speed,
// V_n = V (ρ / ρ₀)^(1/3), turned round, so each power is reached at
// V (ρ₀ / ρ)^(1/3). The kinetic power through the disc is then what it was
// at sea level, and a curve capped at its rated power keeps its cap.
std::vector<PowerCurvePoint> atSiteDensity(const std::vector<PowerCurvePoint>& seaLevelCurve, double densityKgM3);

// The energy over what a year at `basisWatts` all the time would give.
double capacityFactor(double kilowattHours, double basisWatts);

}  // namespace tivora::performance
