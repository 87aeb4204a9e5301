#pragma once

// The analysis's inputs by identity, and the bounds an input is held to:
// what a Problem names when an input is at fault. The rows that describe
// each input are in inputs.h.

#include <cstddef>
#include <limits>

namespace tivora::performance {

enum class InputId {
    // The design, as typed in the main window.
    Blades,
    Tsr,
    Efficiency,
    Radius,
    WindSpeed,
    Cl,
    Alpha,
    // The site.
    MeanWindSpeed,
    WeibullShape,
    WindSeries,
    MeasuredHeight,
    HubHeight,
    HeightLaw,
    ShearExponent,
    Altitude,
    Temperature,
    // The airfoil.
    ClMax,
    GlideRatio,
    Polar,
    // How the rotor runs.
    Running,
    CutIn,
    RatedPower,
    CutOut,
    VoltsPerRpm,
    BatteryVolts,
    RectifierDrop,
    WindingResistance,
    // The alternator designed from its magnets and coils, or a test coil.
    AlternatorFrom,
    TestCoilTurns,
    TestCoilVolts,
    TestCoilRpm,
    Magnets,
    MagnetLength,
    MagnetWidth,
    MagnetThickness,
    MagnetGrade,
    MagnetRotors,
    RingDiameter,
    AirGap,
    StatorThickness,
    Coils,
    Turns,
    WireDiameter,
    WiresInHand,
    Connection,
    CableLength,
    CableSection,
    CurrentDensity,
    WantedCutIn,
    // What limits the machine: the alternator's heat, the furling tail, the
    // tip speed, the loads.
    WindingTemperature,
    CurrentRating,
    FurlOnset,
    TipSpeedLimit,
    SurvivalWind,
    BladeMass,
    // The blade as carved, where no Blade Sections window sets it (the
    // command line).
    LargestChord,
    StraightFrom,
    StraightTo,
    // A maker's curve to compare with.
    Measured,
};
inline constexpr std::size_t kInputCount = static_cast<std::size_t>(InputId::Measured) + 1;

// A range of values, each end open or closed; an end at infinity is none.
struct Bounds {
    double low = -std::numeric_limits<double>::infinity();
    double high = std::numeric_limits<double>::infinity();
    bool lowIncluded = true;
    bool highIncluded = true;

    constexpr bool holds(double v) const
    {
        return (lowIncluded ? v >= low : v > low) && (highIncluded ? v <= high : v < high);
    }
    bool operator==(const Bounds&) const = default;
};
inline constexpr Bounds kAnyValue{};
constexpr Bounds above(double low)
{
    return {low, std::numeric_limits<double>::infinity(), false, true};
}
constexpr Bounds atLeast(double low)
{
    return {low, std::numeric_limits<double>::infinity(), true, true};
}
constexpr Bounds between(double low, double high)
{
    return {low, high, true, true};
}

}  // namespace tivora::performance
