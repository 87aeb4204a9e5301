// The rows of the analysis's inputs (inputs.h says what each column means).
// The setting keys are those of every design file saved so far: keep them.

#include "inputs.h"
#include "site_height.h"

#include <array>

namespace tivora::performance {

namespace {

constexpr ChoiceOption kRunning[] = {
    {"held", "Held at the design tip speed ratio"},
    {"alternator", "On a battery-charging alternator"},
};
// The terrains' log laws, then the power law.
constexpr auto kHeightLaws = [] {
    std::array<ChoiceOption, std::size(kTerrains) + 1> laws{};
    for (std::size_t i = 0; i < std::size(kTerrains); ++i)
        laws[i] = {kTerrains[i].key, kTerrains[i].caption};
    laws.back() = {kPowerLawKey, kPowerLawCaption};
    return laws;
}();
constexpr int kOpenGrass = 1;  // unless chosen: weather stations stand their 10 m anemometers over open land
static_assert(kTerrains[kOpenGrass].key == "open-grass");
constexpr Condition kPowerLaw{InputId::HeightLaw, static_cast<int>(std::size(kTerrains))};
constexpr Condition kNoSeries{InputId::WindSeries, 0};
constexpr Condition kHeld{InputId::Running, 0};
constexpr Condition kOnAlternator{InputId::Running, 1};
constexpr Condition kNoPolar{InputId::Polar, 0};

// The table's order is the form's and --help's.
// One row an input, its fields in the order of InputSpec.
// clang-format off
constexpr InputSpec kInputs[] = {
    // The design: its defaults are the main window's start texts.
    {.id = InputId::Blades, .kind = InputKind::Design, .group = InputGroup::Design, .name = "blades",
     .settingKey = {}, .option = "blades", .caption = "Number of blades", .meaning = "number of blades",
     .field = Field::Blades},
    {.id = InputId::Tsr, .kind = InputKind::Design, .group = InputGroup::Design, .name = "tsr", .settingKey = {},
     .option = "tsr", .caption = "Tip speed ratio", .meaning = "design tip speed ratio", .field = Field::Tsr},
    {.id = InputId::Efficiency, .kind = InputKind::Design, .group = InputGroup::Design, .name = "efficiency",
     .settingKey = {}, .option = "efficiency", .caption = "Blade efficiency",
     .meaning = "blade efficiency guessed for the design power", .field = Field::Efficiency},
    {.id = InputId::Radius, .kind = InputKind::Design, .group = InputGroup::Design, .name = "radius",
     .settingKey = {}, .option = "radius", .caption = "Blade radius", .meaning = "blade radius",
     .quantity = Quantity::Length, .field = Field::Radius},
    {.id = InputId::WindSpeed, .kind = InputKind::Design, .group = InputGroup::Design, .name = "windSpeed",
     .settingKey = {}, .option = "wind-speed", .caption = "Wind speed", .meaning = "design wind speed",
     .quantity = Quantity::WindSpeed, .field = Field::WindSpeed},
    {.id = InputId::Cl, .kind = InputKind::Design, .group = InputGroup::Design, .name = "cl", .settingKey = {},
     .option = "cl", .caption = "Cl", .meaning = "lift coefficient at the design angle of attack",
     .field = Field::Cl},
    {.id = InputId::Alpha, .kind = InputKind::Design, .group = InputGroup::Design, .name = "alpha", .settingKey = {},
     .option = "alpha", .caption = "Angle of attack", .meaning = "design angle of attack",
     .quantity = Quantity::Angle, .field = Field::Alpha},

    // The site.
    {.id = InputId::MeanWindSpeed, .kind = InputKind::Number, .group = InputGroup::Site, .name = "meanWindSpeed",
     .settingKey = "site.mean-wind-speed-m/s", .option = "mean-wind-speed", .caption = "Mean wind speed",
     .meaning = "site's annual mean wind speed at the measured height", .quantity = Quantity::WindSpeed,
     .fallback = 5, .decimals = 2, .computable = above(0), .sensible = between(0.5, 20), .enabledWhen = kNoSeries},
    {.id = InputId::WeibullShape, .kind = InputKind::Number, .group = InputGroup::Site, .name = "weibullShape",
     .settingKey = "site.weibull-k", .option = "weibull-shape", .caption = "Weibull shape k",
     .meaning = "Weibull shape k of the site's winds (2 is Rayleigh)", .fallback = 2, .decimals = 2,
     .computable = between(0.5, 10), .sensible = between(1, 4), .enabledWhen = kNoSeries},
    // The wind measured at the site, and the heights it is carried between.
    {.id = InputId::WindSeries, .kind = InputKind::File, .group = InputGroup::Site, .name = "windSeries",
     .settingKey = "site.wind-series-file", .option = "wind-series", .caption = "Site wind from a file",
     .meaning = "wind speeds measured at the site (a logger's series or a histogram, m/s, km/h, mph or knots) "
                "instead of the mean wind speed and Weibull shape",
     .removeCaption = "Typed Mean"},
    {.id = InputId::MeasuredHeight, .kind = InputKind::Number, .group = InputGroup::Site, .name = "measuredHeight",
     .settingKey = "site.measured-height-m", .option = "measured-height", .caption = "Measured at height",
     .meaning = "height above ground the wind was measured at (or the mean wind speed is for)",
     .quantity = Quantity::Length, .fallback = 10, .decimals = 1, .computable = between(1, 1000),
     .sensible = between(2, 200)},
    {.id = InputId::HubHeight, .kind = InputKind::Number, .group = InputGroup::Site, .name = "hubHeight",
     .settingKey = "site.hub-height-m", .option = "hub-height", .caption = "Hub height",
     .meaning = "height of the rotor's hub above ground", .quantity = Quantity::Length,
     .derived = DerivedDefault::MeasuredHeight, .derivedWords = "the measured height", .decimals = 1,
     .computable = between(1, 1000), .sensible = between(2, 200)},
    {.id = InputId::HeightLaw, .kind = InputKind::Choice, .group = InputGroup::Site, .name = "heightLaw",
     .settingKey = "site.height-law", .option = "height-law", .caption = "Height law",
     .meaning = "how the wind is carried from the measured height to the hub: the log law over a terrain of the "
                "European Wind Atlas, or the power law",
     .fallback = kOpenGrass, .choices = kHeightLaws},
    {.id = InputId::ShearExponent, .kind = InputKind::Number, .group = InputGroup::Site, .name = "shearExponent",
     .settingKey = "site.shear-exponent", .option = "shear-exponent", .caption = "Power law exponent α",
     .meaning = "exponent of the power law, used with --height-law power-law", .fallback = kSeventhPower,
     .derivedWords = "1/7", .decimals = 3, .computable = between(0, 1), .sensible = between(0.05, 0.5), .placedUnder = kPowerLaw,
     .enabledWhen = kPowerLaw},
    {.id = InputId::Altitude, .kind = InputKind::Number, .group = InputGroup::Site, .name = "altitude",
     .settingKey = "site.altitude-m", .option = "altitude", .caption = "Altitude", .meaning = "site altitude",
     .quantity = Quantity::Altitude, .fallback = 0, .decimals = 0, .computable = between(-2000, 11000),
     .sensible = between(-430, 6000)},
    {.id = InputId::Temperature, .kind = InputKind::Number, .group = InputGroup::Site, .name = "temperature",
     .settingKey = "site.temperature-c", .option = "temperature", .caption = "Air temperature",
     .meaning = "air temperature", .quantity = Quantity::Temperature, .derived = DerivedDefault::StandardTemperature,
     .derivedWords = "the standard atmosphere's at the altitude", .decimals = 1, .computable = between(-90, 60),
     .sensible = between(-60, 55)},

    // The airfoil: the typed design point extended, or a polar.
    {.id = InputId::ClMax, .kind = InputKind::Number, .group = InputGroup::Airfoil, .name = "clMax",
     .settingKey = "airfoil.cl-max", .option = "cl-max", .caption = "Maximum lift coefficient",
     .meaning = "maximum lift coefficient of the typed airfoil", .fallback = 1.2, .decimals = 2,
     .computable = above(0), .sensible = between(0.3, 2.5), .enabledWhen = kNoPolar},
    {.id = InputId::GlideRatio, .kind = InputKind::Number, .group = InputGroup::Airfoil, .name = "glideRatio",
     .settingKey = "airfoil.glide-ratio", .option = "glide-ratio", .caption = "Glide ratio L/D",
     .meaning = "lift over drag of the typed airfoil", .fallback = 50, .decimals = 1, .computable = above(0),
     .sensible = between(1, 200), .enabledWhen = kNoPolar},
    {.id = InputId::Polar, .kind = InputKind::File, .group = InputGroup::Airfoil, .name = "polarFile",
     .settingKey = "airfoil.polar-file", .option = "polar", .caption = "Polar file",
     .meaning = "airfoil polar (XFOIL output or alpha, Cl, Cd columns) instead of the typed airfoil",
     .removeCaption = "Simple Model"},

    // How the rotor runs: held at its tip speed ratio, or on an alternator.
    {.id = InputId::Running, .kind = InputKind::Choice, .group = InputGroup::Running, .name = "running",
     .settingKey = "running.mode", .option = {}, .caption = "Running", .meaning = {}, .choices = kRunning},
    {.id = InputId::CutIn, .kind = InputKind::Number, .group = InputGroup::Running, .name = "cutIn",
     .settingKey = "running.cut-in-m/s", .option = "cut-in", .caption = "Cut-in",
     .meaning = "cut-in wind speed of the rotor held at its tip speed ratio", .quantity = Quantity::WindSpeed,
     .fallback = 3, .decimals = 1, .computable = atLeast(0), .sensible = above(0), .below = InputId::CutOut,
     .placedUnder = kHeld, .enabledWhen = kHeld},
    {.id = InputId::RatedPower, .kind = InputKind::Number, .group = InputGroup::Running, .name = "ratedPower",
     .settingKey = "running.rated-power-w", .option = "rated-power", .caption = "Rated power",
     .meaning = "rated power of the held rotor", .quantity = Quantity::Power, .derived = DerivedDefault::DesignPower,
     .derivedWords = "the design's generator power", .decimals = 1, .computable = above(0), .sensible = above(0),
     .placedUnder = kHeld, .enabledWhen = kHeld},
    {.id = InputId::CutOut, .kind = InputKind::Number, .group = InputGroup::Running, .name = "cutOut",
     .settingKey = "running.cut-out-m/s", .option = "cut-out", .caption = "Cut-out",
     .meaning = "cut-out wind speed of the rotor held at its tip speed ratio", .quantity = Quantity::WindSpeed,
     .fallback = 25, .decimals = 1, .computable = above(0), .sensible = {0, 40, false, true},
     .placedUnder = kHeld,
     .enabledWhen = kHeld},
    // The alternator's line is drawn on the matching chart whichever way
    // the rotor runs, so its figures are never greyed.
    {.id = InputId::VoltsPerRpm, .kind = InputKind::Number, .group = InputGroup::Running, .name = "voltsPerRpm",
     .settingKey = "alternator.volts-per-rpm", .option = "volts-per-rpm", .caption = "Volts per rpm",
     .meaning = "alternator's open-circuit voltage per rpm", .quantity = Quantity::VoltsPerRpm, .fallback = 0.12,
     .decimals = 3, .computable = above(0), .sensible = above(0), .placedUnder = kOnAlternator},
    {.id = InputId::BatteryVolts, .kind = InputKind::Number, .group = InputGroup::Running, .name = "batteryVolts",
     .settingKey = "alternator.battery-v", .option = "battery-voltage", .caption = "Battery voltage",
     .meaning = "battery voltage", .quantity = Quantity::Voltage, .fallback = 24, .decimals = 1,
     .computable = above(0), .sensible = above(0), .placedUnder = kOnAlternator},
    {.id = InputId::RectifierDrop, .kind = InputKind::Number, .group = InputGroup::Running, .name = "rectifierDrop",
     .settingKey = "alternator.rectifier-drop-v", .option = "rectifier-drop", .caption = "Rectifier drop",
     .meaning = "voltage lost in the rectifier", .quantity = Quantity::Voltage, .fallback = 1.4, .decimals = 2,
     .computable = atLeast(0), .sensible = between(0, 5), .placedUnder = kOnAlternator},
    {.id = InputId::WindingResistance, .kind = InputKind::Number, .group = InputGroup::Running,
     .name = "windingResistance", .settingKey = "alternator.winding-ohm", .option = "winding-resistance",
     .caption = "Winding resistance", .meaning = "alternator's winding resistance", .quantity = Quantity::Resistance,
     .fallback = 3, .decimals = 2, .computable = above(0), .sensible = above(0), .placedUnder = kOnAlternator},

    // A maker's curve beside the design's: a comparison, not kept with it.
    {.id = InputId::Measured, .kind = InputKind::File, .group = InputGroup::Comparison, .name = "measuredCurve",
     .settingKey = {}, .option = "measured", .caption = "Measured power curve",
     .meaning = "a measured power curve (wind speed and power columns, W or kW) to set beside the design",
     .removeCaption = "Remove"},
};
// clang-format on

constexpr bool inEnumOrder()
{
    for (std::size_t i = 0; i < std::size(kInputs); ++i) {
        if (kInputs[i].id != static_cast<InputId>(i))
            return false;
    }
    return std::size(kInputs) == kInputCount;
}
static_assert(inEnumOrder(), "one row for each InputId, in the enumeration's order");

}  // namespace

std::span<const InputSpec> inputTable()
{
    return kInputs;
}

const InputSpec& specOf(InputId id)
{
    return kInputs[static_cast<std::size_t>(id)];
}

}  // namespace tivora::performance
