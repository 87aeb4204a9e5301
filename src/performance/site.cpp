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
        temperature = *temperatureCelsius + kCelsiusZero;
    }
    return pressure / (kGasConstant * temperature);
}

double standardTemperatureCelsius(double altitudeMetres)
{
    return kSeaLevelTemperature - kLapseRate * altitudeMetres - kCelsiusZero;
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
    if (v < 0)
        return 0;
    const double windy = v == 0 ? 0 : 1 - std::exp(-std::pow(v / weibullScale(site), site.shape));
    return site.calmShare + (1 - site.calmShare) * windy;
}

AnnualEnergy annualEnergy(const std::vector<PowerCurvePoint>& curve, const WindDistribution& site)
{
    return annualEnergy(curve, [&site](double v) { return cumulativeProbability(site, v); });
}

AnnualEnergy annualEnergy(const std::vector<PowerCurvePoint>& curve, const std::function<double(double)>& cumulative)
{
    double delivered = 0, drawn = 0;  // W, weighted by probability
    for (std::size_t i = 1; i < curve.size(); ++i) {
        const double binProbability = cumulative(curve[i].windSpeed) - cumulative(curve[i - 1].windSpeed);
        const double p0 = curve[i - 1].power, p1 = curve[i].power;
        delivered += binProbability * (std::max(p0, 0.0) + std::max(p1, 0.0)) / 2;
        drawn += binProbability * (std::min(p0, 0.0) + std::min(p1, 0.0)) / 2;
    }
    return {delivered * kHoursPerYear / 1000, drawn * kHoursPerYear / 1000};
}

std::vector<PowerCurvePoint> atSiteDensity(const std::vector<PowerCurvePoint>& seaLevelCurve, double densityKgM3)
{
    const double stretch = std::cbrt(kSeaLevelDensity / densityKgM3);
    std::vector<PowerCurvePoint> site;
    for (const PowerCurvePoint& p : seaLevelCurve)
        site.push_back({p.windSpeed * stretch, p.power});
    return site;
}

double capacityFactor(double kilowattHours, double basisWatts)
{
    return basisWatts > 0 ? kilowattHours * 1000 / (basisWatts * kHoursPerYear) : 0;
}

}  // namespace tivora::performance
