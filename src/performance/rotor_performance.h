#pragma once

// The whole analysis of the design as last solved, as the Rotor Performance
// window and the design sheet show it: the blade's Cp–λ curve, its power
// curve at a site with the annual energy, and the rotor's power against rpm
// for the generator to be matched to. And the site's figures in the units of
// the system in force, with the rules that say when one makes no physical
// sense.

#include "power_curve.h"
#include "sheet/design_sheet.h"

#include <optional>
#include <string>
#include <vector>

namespace tivora::performance {

// Everything beyond the sheet, in SI. The defaults are a fair small-wind
// site and a 24 V battery system.
struct PerformanceInputs {
    double meanWindSpeed = 5;  // m/s
    double weibullShape = 2;
    double altitude = 0;      // m
    double temperature = 15;  // °C
    double clMax = 1.2;
    double glideRatio = 50;
    std::optional<std::string> polarText;  // a polar file's text, instead of Cl max and L/D
    bool onAlternator = false;             // else held at the design tip speed ratio
    double cutIn = 3;                      // m/s
    double cutOut = 25;                    // m/s
    std::optional<double> ratedPower;      // W; none: the design's generator power
    Alternator alternator;
    std::optional<std::vector<PowerCurvePoint>> measured;
};

struct MatchingPoint {
    double rpm, power;  // W
};
// The rotor's power against its rpm at one wind speed.
struct MatchingCurve {
    double windSpeed;  // m/s
    std::vector<MatchingPoint> points;
    MatchingPoint peak;
    std::optional<MatchingPoint> crossing;  // with the alternator, rising from its cut-in
};

struct RotorPerformance {
    double density = 0;  // kg/m³
    CpCurve cp;
    double designTsr = 0;
    double designCp = 0;  // of the blade at the design tip speed ratio
    double typedEfficiency = 0;
    double ratedPower = 0;  // W
    double cutIn = 0, cutOut = 0;
    std::vector<PowerCurveRow> powerCurve;  // of the running chosen
    AnnualEnergy energy{};
    std::vector<PowerCurvePoint> measured;  // on the bins; empty without one
    std::optional<AnnualEnergy> measuredEnergy;
    std::vector<MatchingCurve> matching;
    std::vector<MatchingPoint> alternatorLine;  // shaft power, from the alternator's cut-in
};

// The wind speeds of the generator-matching chart, in the system's own
// units: 3 to 12 m/s, 10 to 45 km/h, 6 to 26 mph.
std::vector<double> matchingWindSpeeds(UnitSystem system);  // m/s

// The sheet must be solved; its station table is read in its own units.
Result<RotorPerformance> analysePerformance(const DesignSheet& sheet, const PerformanceInputs& inputs,
                                            UnitSystem shownSystem = UnitSystem::SI);

// The site's quantities and their units in each system: wind speeds in m/s,
// km/h or mph, altitude in m or ft, temperature in °C or °F.
enum class SiteQuantity { WindSpeed, Altitude, Temperature };
std::string unitOf(SiteQuantity quantity, UnitSystem system);
double shownFromSi(SiteQuantity quantity, UnitSystem system, double si);
double siFromShown(SiteQuantity quantity, UnitSystem system, double shown);

// Each input of the window and why a value of it makes no physical sense;
// none when it does.
enum class PerformanceInput {
    MeanWindSpeed,
    WeibullShape,
    Altitude,
    Temperature,
    ClMax,
    GlideRatio,
    CutIn,
    RatedPower,
    CutOut,
    VoltsPerRpm,
    BatteryVolts,
    WindingResistance,
};
std::optional<std::string> senselessReason(PerformanceInput input, double si, const PerformanceInputs& all);

}  // namespace tivora::performance
