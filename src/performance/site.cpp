#include "site.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tivora::performance {

namespace {

// ISO 2533, the troposphere.
constexpr double kSeaLevelTemperature = 288.15;  // K
constexpr double kLapseRate = 0.0065;            // K/m
constexpr double kSeaLevelPressure = 101325;     // Pa
constexpr double kPressureExponent = 5.2559;     // g / (R L)
constexpr double kGasConstant = 287.05;          // J/(kg K), dry air
constexpr double kTropopause = 11000;            // m
constexpr double kLowestAltitude = -2000;        // m, where the standard's table begins

}  // namespace

Result<double> airDensity(double altitudeMetres, std::optional<double> temperatureCelsius)
{
    if (!std::isfinite(altitudeMetres) || altitudeMetres < kLowestAltitude || altitudeMetres > kTropopause)
        return Problem{ProblemKind::OutsideAtmosphere, "the altitude must lie between -2000 and 11000 m"};
    const double standardTemperature = kSeaLevelTemperature - kLapseRate * altitudeMetres;
    const double pressure = kSeaLevelPressure * std::pow(standardTemperature / kSeaLevelTemperature, kPressureExponent);
    double temperature = standardTemperature;
    if (temperatureCelsius) {
        if (!std::isfinite(*temperatureCelsius) || *temperatureCelsius < -90 || *temperatureCelsius > 60)
            return Problem{ProblemKind::OutsideAtmosphere, "the air temperature must lie between -90 and 60 °C"};
        temperature = *temperatureCelsius + 273.15;
    }
    return pressure / (kGasConstant * temperature);
}

Result<WindDistribution> windDistribution(double meanSpeed, double shape)
{
    if (!std::isfinite(meanSpeed) || meanSpeed <= 0)
        return Problem{ProblemKind::SiteNotUsable, "the mean wind speed must be above 0"};
    if (!std::isfinite(shape) || shape < 0.5 || shape > 10)
        return Problem{ProblemKind::SiteNotUsable, "the Weibull shape must lie between 0.5 and 10"};
    return WindDistribution{meanSpeed, shape};
}

double weibullScale(const WindDistribution& site)
{
    return site.meanSpeed / std::tgamma(1 + 1 / site.shape);
}

double cumulativeProbability(const WindDistribution& site, double v)
{
    if (v <= 0)
        return 0;
    return 1 - std::exp(-std::pow(v / weibullScale(site), site.shape));
}

AnnualEnergy annualEnergy(const std::vector<PowerCurvePoint>& curve, const WindDistribution& site)
{
    double sum = 0;
    double highest = 0;
    for (std::size_t i = 0; i < curve.size(); ++i) {
        highest = std::max(highest, curve[i].power);
        if (i == 0)
            continue;
        const double binProbability =
            cumulativeProbability(site, curve[i].windSpeed) - cumulativeProbability(site, curve[i - 1].windSpeed);
        sum += binProbability * (curve[i - 1].power + curve[i].power) / 2;
    }
    const double wattHours = sum * kHoursPerYear;
    return {wattHours / 1000, highest > 0 ? wattHours / (highest * kHoursPerYear) : 0};
}

}  // namespace tivora::performance
