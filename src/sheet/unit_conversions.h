#pragma once

// Conversion constants and formulas shared by the solve and the unit switch.
// The constants are the decimals as written, not full-precision values: two
// pi in particular is 6.28318530717958, not 2 * std::numbers::pi.

#include "step.h"

namespace tivora::units {

inline constexpr double kFeetPerMetre = 3.2808399;
inline constexpr double kInchesPerMetre = 39.3700787;
inline constexpr double kMphPerMetrePerSecond = 2.23693629;
inline constexpr double kMilesPerKilometre = 0.621371192;
inline constexpr double kTwoPi = 6.28318530717958;

// Each is evaluated left to right as written.
inline StepValue rpmFromRadPerSec(StepValue v)
{
    return v * 60 / kTwoPi;
}
inline StepValue radPerSecFromRpm(StepValue v)
{
    return v * kTwoPi / 60;
}
inline StepValue kphFromMetresPerSec(StepValue v)
{
    return v * 60 * 60 / 1000;
}
inline StepValue metresPerSecFromKph(StepValue v)
{
    return v * 1000 / 3600;
}
inline StepValue mphFromMetresPerSec(StepValue v)
{
    return v * kMphPerMetrePerSecond;
}
inline StepValue metresPerSecFromMph(StepValue v)
{
    return v / kMphPerMetrePerSecond;
}
inline StepValue mphFromKph(StepValue v)
{
    return v * kMilesPerKilometre;
}
inline StepValue kphFromMph(StepValue v)
{
    return v / kMilesPerKilometre;
}
inline StepValue feetFromMetres(StepValue v)
{
    return v * kFeetPerMetre;
}
inline StepValue metresFromFeet(StepValue v)
{
    return v / kFeetPerMetre;
}
inline StepValue inchesFromMetres(StepValue v)
{
    return v * kInchesPerMetre;
}
inline StepValue metresFromInches(StepValue v)
{
    return v / kInchesPerMetre;
}

using Conversion = StepValue (*)(StepValue);

// Converts the station radii (3 decimals), then the chords (3 decimals), each
// column from station 1 to 10.
inline void convertStationTable(DesignSheet& sheet, Conversion radius, Conversion chord)
{
    for (int station = 1; station <= kStationCount; ++station)
        convert(sheet, stationRadius(station), radius, 3);
    for (int station = 1; station <= kStationCount; ++station)
        convert(sheet, stationChord(station), chord, 3);
}

}  // namespace tivora::units
