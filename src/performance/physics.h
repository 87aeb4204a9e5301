#pragma once

// The physical constants and unit relations of the analysis, defined once.
// (The solve keeps its own figures "as written", src/sheet/unit_conversions.h:
// it reproduces a calculator's arithmetic digit for digit; the analysis
// computes in full double precision.)

#include <numbers>

namespace tivora::performance {

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kRadiansPerDegree = kPi / 180;

// Betz's limit: no rotor takes more than 16/27 of the power of the wind
// through its disc.
inline constexpr double kBetzLimit = 16.0 / 27;

inline constexpr double kHoursPerYear = 8760;

// Air of the ISO 2533 standard atmosphere at sea level, which makers'
// power curves are normalised to.
inline constexpr double kSeaLevelDensity = 1.225;  // kg/m³
inline constexpr double kCelsiusZero = 273.15;     // K

constexpr double radPerSecFromRpm(double rpm)
{
    return rpm * 2 * kPi / 60;
}
constexpr double rpmFromRadPerSec(double radPerSec)
{
    return radPerSec * 60 / (2 * kPi);
}
constexpr double radiansFromDegrees(double degrees)
{
    return degrees * kRadiansPerDegree;
}
constexpr double degreesFromRadians(double radians)
{
    return radians / kRadiansPerDegree;
}

// The power of the wind through a rotor's disc, ½ ρ π R² V³ (W).
constexpr double windPowerWatts(double densityKgM3, double tipRadiusM, double windMps)
{
    return 0.5 * densityKgM3 * kPi * tipRadiusM * tipRadiusM * windMps * windMps * windMps;
}

// The rotor's rpm at a tip speed ratio and wind speed, and back.
constexpr double rpmAt(double tsr, double windMps, double tipRadiusM)
{
    return rpmFromRadPerSec(tsr * windMps / tipRadiusM);
}
constexpr double tsrAt(double rpm, double windMps, double tipRadiusM)
{
    return radPerSecFromRpm(rpm) * tipRadiusM / windMps;
}

}  // namespace tivora::performance
