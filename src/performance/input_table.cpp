// The rows of the analysis's inputs (inputs.h says what each column means).
// The setting keys are those of every design file saved so far: keep them.

#include "alternator_design.h"
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

constexpr ChoiceOption kAlternatorFrom[] = {
    {"typed", "Typed figures"},
    {"magnets", "Designed from the magnets"},
    {"test-coil", "Designed from a test coil"},
};
constexpr Condition kTypedAlternator{InputId::AlternatorFrom, 0};
constexpr Condition kFromMagnets{InputId::AlternatorFrom, 1};
constexpr Condition kFromTestCoil{InputId::AlternatorFrom, 2};
constexpr auto kGradeOptions = [] {
    std::array<ChoiceOption, std::size(kMagnetGrades)> options{};
    for (std::size_t i = 0; i < options.size(); ++i)
        options[i] = {kMagnetGrades[i].key, kMagnetGrades[i].caption};
    return options;
}();
constexpr ChoiceOption kConnection[] = {{"star", "Star"}, {"delta", "Delta"}};

// The table's order is the form's and --help's.
// One row an input, its fields in the order of InputEntry.
// clang-format off
constexpr InputEntry kInputs[] = {
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
     .decimals = 3, .computable = above(0), .sensible = above(0), .placedUnder = kOnAlternator,
     .enabledWhen = kTypedAlternator},
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
     .fallback = 3, .decimals = 2, .computable = above(0), .sensible = above(0), .placedUnder = kOnAlternator,
     .enabledWhen = kTypedAlternator},

    // The alternator designed: its magnets, stator and cable (sizes in mm),
    // or one test coil spun on the magnets. The battery and the rectifier's
    // drop above are the design's too.
    {.id = InputId::AlternatorFrom, .kind = InputKind::Choice, .group = InputGroup::Alternator,
     .name = "alternatorFrom", .settingKey = "alternator.from", .option = "alternator",
     .caption = "Alternator figures",
     .meaning = "where the alternator's figures come from: typed, magnets (Faraday's law) or test-coil",
     .choices = kAlternatorFrom},
    {.id = InputId::TestCoilTurns, .kind = InputKind::Number, .group = InputGroup::Alternator, .name = "testCoilTurns",
     .settingKey = "alternator.test-coil-turns", .option = "test-coil-turns", .caption = "Test coil turns",
     .meaning = "turns of the test coil", .fallback = 50, .decimals = 0, .computable = above(0),
     .sensible = atLeast(1), .placedUnder = kFromTestCoil, .enabledWhen = kFromTestCoil},
    {.id = InputId::TestCoilVolts, .kind = InputKind::Number, .group = InputGroup::Alternator, .name = "testCoilVolts",
     .settingKey = "alternator.test-coil-v", .option = "test-coil-volts", .caption = "Test coil volts (AC rms)",
     .meaning = "AC rms volts the test coil gives, open circuit", .quantity = Quantity::Voltage, .fallback = 2,
     .decimals = 2, .computable = above(0), .sensible = above(0), .placedUnder = kFromTestCoil, .enabledWhen = kFromTestCoil},
    {.id = InputId::TestCoilRpm, .kind = InputKind::Number, .group = InputGroup::Alternator, .name = "testCoilRpm",
     .settingKey = "alternator.test-coil-rpm", .option = "test-coil-rpm", .caption = "Test coil measured at",
     .meaning = "rpm at which the test coil's volts were measured", .quantity = Quantity::Rpm, .fallback = 100,
     .decimals = 0, .computable = above(0), .sensible = above(0), .placedUnder = kFromTestCoil, .enabledWhen = kFromTestCoil},
    {.id = InputId::Magnets, .kind = InputKind::Number, .group = InputGroup::Alternator, .name = "magnets",
     .settingKey = "alternator.magnets", .option = "magnets", .caption = "Magnets on a rotor",
     .meaning = "magnets on each rotor, poles alternating", .fallback = 12, .decimals = 0,
     .computable = between(2, 400), .sensible = between(4, 64)},
    {.id = InputId::MagnetLength, .kind = InputKind::Number, .group = InputGroup::Alternator, .name = "magnetLength",
     .settingKey = "alternator.magnet-length-mm", .option = "magnet-length", .caption = "Magnet length (radial)",
     .meaning = "magnet's length along the rotor's radius", .quantity = Quantity::Size, .fallback = 46, .decimals = 1,
     .computable = above(0), .sensible = between(5, 200)},
    {.id = InputId::MagnetWidth, .kind = InputKind::Number, .group = InputGroup::Alternator, .name = "magnetWidth",
     .settingKey = "alternator.magnet-width-mm", .option = "magnet-width", .caption = "Magnet width",
     .meaning = "magnet's width along the circle", .quantity = Quantity::Size, .fallback = 30, .decimals = 1,
     .computable = above(0), .sensible = between(5, 200)},
    {.id = InputId::MagnetThickness, .kind = InputKind::Number, .group = InputGroup::Alternator,
     .name = "magnetThickness", .settingKey = "alternator.magnet-thickness-mm", .option = "magnet-thickness",
     .caption = "Magnet thickness", .meaning = "magnet's thickness along the axis, from pole to pole",
     .quantity = Quantity::Size, .fallback = 10, .decimals = 1, .computable = above(0), .sensible = between(2, 50),
     .enabledWhen = kFromMagnets},
    {.id = InputId::MagnetGrade, .kind = InputKind::Choice, .group = InputGroup::Alternator, .name = "magnetGrade",
     .settingKey = "alternator.magnet-grade", .option = "magnet-grade", .caption = "Magnet grade",
     .meaning = "magnet's grade: N35 to N52, or ferrite", .choices = kGradeOptions, .enabledWhen = kFromMagnets},
    {.id = InputId::MagnetRotors, .kind = InputKind::Number, .group = InputGroup::Alternator, .name = "magnetRotors",
     .settingKey = "alternator.magnet-rotors", .option = "magnet-rotors", .caption = "Magnet rotors",
     .meaning = "steel discs with magnets: 2 on both sides of the stator, or 1", .fallback = 2, .decimals = 0,
     .computable = between(1, 2), .enabledWhen = kFromMagnets},
    {.id = InputId::RingDiameter, .kind = InputKind::Number, .group = InputGroup::Alternator, .name = "ringDiameter",
     .settingKey = "alternator.ring-diameter-mm", .option = "ring-diameter",
     .caption = "Magnet ring diameter", .meaning = "diameter across the magnets' outer ends",
     .quantity = Quantity::Size, .fallback = 300, .decimals = 0, .computable = above(0),
     .sensible = between(50, 2000)},
    {.id = InputId::AirGap, .kind = InputKind::Number, .group = InputGroup::Alternator, .name = "airGap",
     .settingKey = "alternator.air-gap-mm", .option = "air-gap", .caption = "Air gap",
     .meaning = "mechanical clearance between each magnet face and the stator", .quantity = Quantity::Size,
     .fallback = 2, .decimals = 1, .computable = atLeast(0), .sensible = between(0.5, 10),
     .below = InputId::MagnetThickness, .enabledWhen = kFromMagnets},
    {.id = InputId::StatorThickness, .kind = InputKind::Number, .group = InputGroup::Alternator,
     .name = "statorThickness", .settingKey = "alternator.stator-thickness-mm", .option = "stator-thickness",
     .caption = "Stator thickness", .meaning = "thickness of the cast stator, which the coils fill",
     .quantity = Quantity::Size, .fallback = 13, .decimals = 1, .computable = above(0), .sensible = between(3, 50)},
    {.id = InputId::Coils, .kind = InputKind::Number, .group = InputGroup::Alternator, .name = "coils",
     .settingKey = "alternator.coils", .option = "coils", .caption = "Coils",
     .meaning = "coils in the stator, a multiple of 3 (coils/3 in series in each phase)", .fallback = 9,
     .decimals = 0, .computable = between(3, 300), .sensible = between(3, 48)},
    {.id = InputId::Turns, .kind = InputKind::Number, .group = InputGroup::Alternator, .name = "turns",
     .settingKey = "alternator.turns", .option = "turns", .caption = "Turns per coil", .meaning = "turns of each coil",
     .fallback = 60, .decimals = 0, .computable = above(0), .sensible = between(1, 2000)},
    {.id = InputId::WireDiameter, .kind = InputKind::Number, .group = InputGroup::Alternator, .name = "wireDiameter",
     .settingKey = "alternator.wire-mm", .option = "wire-diameter", .caption = "Wire diameter",
     .meaning = "diameter of the bare copper wire", .quantity = Quantity::Size, .fallback = 1.4, .decimals = 2,
     .computable = above(0), .sensible = between(0.2, 5)},
    {.id = InputId::WiresInHand, .kind = InputKind::Number, .group = InputGroup::Alternator, .name = "wiresInHand",
     .settingKey = "alternator.wires-in-hand", .option = "wires-in-hand", .caption = "Wires in hand",
     .meaning = "wires wound side by side as one turn", .fallback = 1, .decimals = 0, .computable = between(1, 20)},
    {.id = InputId::Connection, .kind = InputKind::Choice, .group = InputGroup::Alternator, .name = "connection",
     .settingKey = "alternator.connection", .option = "connection", .caption = "Connection",
     .meaning = "how the phases are joined: star or delta", .choices = kConnection},
    {.id = InputId::CableLength, .kind = InputKind::Number, .group = InputGroup::Alternator, .name = "cableLength",
     .settingKey = "alternator.cable-length-m", .option = "cable-length", .caption = "Cable length",
     .meaning = "length of the cable from the alternator to the battery (two conductors in the path)",
     .quantity = Quantity::Length, .fallback = 20, .decimals = 1, .computable = atLeast(0)},
    {.id = InputId::CableSection, .kind = InputKind::Number, .group = InputGroup::Alternator, .name = "cableSection",
     .settingKey = "alternator.cable-mm2", .option = "cable-section", .caption = "Cable cross-section",
     .meaning = "copper cross-section of each of the cable's conductors", .quantity = Quantity::Area, .fallback = 6,
     .decimals = 1, .computable = above(0), .sensible = between(0.5, 120)},
    {.id = InputId::CurrentDensity, .kind = InputKind::Number, .group = InputGroup::Alternator,
     .name = "currentDensity", .settingKey = "alternator.current-density-a/mm2", .option = "current-density",
     .caption = "Continuous current density",
     .meaning = "current density the winding carries without overheating, which rates its current",
     .quantity = Quantity::CurrentDensity, .fallback = 4, .decimals = 1, .computable = above(0),
     .sensible = between(1.5, 10)},
    {.id = InputId::WantedCutIn, .kind = InputKind::Number, .group = InputGroup::Alternator, .name = "wantedCutIn",
     .settingKey = "alternator.wanted-cut-in-m/s", .option = "wanted-cut-in",
     .caption = "Wanted cut-in", .meaning = "wind speed at which the turns found for 12, 24 and 48 V cut in",
     .quantity = Quantity::WindSpeed, .fallback = 3, .decimals = 1, .computable = above(0),
     .sensible = between(1, 8)},

    // What limits the machine. The winding resistance is taken at 20 °C;
    // its copper is warmer when it works.
    {.id = InputId::WindingTemperature, .kind = InputKind::Number, .group = InputGroup::Heat,
     .name = "windingTemperature", .settingKey = "alternator.winding-temperature-c", .option = "winding-temperature",
     .caption = "Winding temperature",
     .meaning = "temperature of the working winding, whose copper's resistance grows with it (the resistance typed is "
                "at 20 degrees C)",
     .quantity = Quantity::Temperature, .fallback = 120, .decimals = 0, .computable = between(-50, 250),
     .sensible = between(-20, 180)},
    {.id = InputId::CurrentRating, .kind = InputKind::Number, .group = InputGroup::Heat, .name = "currentRating",
     .settingKey = "alternator.current-rating-a", .option = "current-rating", .caption = "Current rating",
     .meaning = "continuous current the winding carries without overheating", .quantity = Quantity::Current,
     .derived = DerivedDefault::MatchedCurrent,
     .derivedWords = "the battery voltage over the warm winding's resistance, where its heat equals the charge",
     .decimals = 1, .computable = above(0), .sensible = above(0)},
    {.id = InputId::FurlOnset, .kind = InputKind::Number, .group = InputGroup::Limits, .name = "furlOnset",
     .settingKey = "limits.furl-onset-m/s", .option = "furl-onset", .caption = "Furl onset, 0 for none",
     .meaning = "wind speed at which the tail starts to turn the rotor out of the wind; 0: no furling tail",
     .quantity = Quantity::WindSpeed, .derived = DerivedDefault::DesignWindSpeed,
     .derivedWords = "the design wind speed", .decimals = 1, .computable = atLeast(0), .sensible = atLeast(0)},
    {.id = InputId::TipSpeedLimit, .kind = InputKind::Number, .group = InputGroup::Limits, .name = "tipSpeedLimit",
     .settingKey = "limits.tip-speed-limit-m/s", .option = "tip-speed-limit", .caption = "Tip-speed limit",
     .meaning = "tip speed above which the rotor is marked as noisy and wearing its leading edges",
     .quantity = Quantity::WindSpeed, .fallback = 80, .decimals = 0, .computable = above(0),
     .sensible = between(20, 150)},
    {.id = InputId::SurvivalWind, .kind = InputKind::Number, .group = InputGroup::Loads, .name = "survivalWind",
     .settingKey = "limits.survival-wind-m/s", .option = "survival-wind", .caption = "Survival wind",
     .meaning = "extreme wind the parked rotor must survive (IEC 61400-2 class II: 1.4 x 42.5)",
     .quantity = Quantity::WindSpeed, .fallback = 59.5, .decimals = 1, .computable = above(0),
     .sensible = between(20, 100)},
    {.id = InputId::BladeMass, .kind = InputKind::Number, .group = InputGroup::Loads, .name = "bladeMass",
     .settingKey = "limits.blade-mass-kg", .option = "blade-mass", .caption = "Blade mass",
     .meaning = "mass of one blade, for the centrifugal force at its root", .quantity = Quantity::Mass,
     .derived = DerivedDefault::CarvedMass,
     .derivedWords = "the blade as carved: the design's section in spruce of 448 kg/m3, trimmed as given",
     .decimals = 2, .computable = above(0), .sensible = above(0)},

    // The blade as carved: the Blade Sections window sets its trim; on the
    // command line these do.
    {.id = InputId::LargestChord, .kind = InputKind::Number, .group = InputGroup::Carving, .name = "largestChord",
     .settingKey = {}, .option = "largest-chord", .caption = "Largest chord",
     .meaning = "no chord of the blade as carved wider than this", .quantity = Quantity::Length,
     .derivedWords = "none: the chord as solved", .decimals = 3, .computable = atLeast(0)},
    {.id = InputId::StraightFrom, .kind = InputKind::Number, .group = InputGroup::Carving, .name = "straightFrom",
     .settingKey = {}, .option = "straight-from", .caption = "Straight from station",
     .meaning = "chord and twist straight from this station to --straight-to's", .derivedWords = "none",
     .decimals = 0, .computable = between(0, kStationCount)},
    {.id = InputId::StraightTo, .kind = InputKind::Number, .group = InputGroup::Carving, .name = "straightTo",
     .settingKey = {}, .option = "straight-to", .caption = "Straight to station",
     .meaning = "the station the straight stretch ends at", .derivedWords = "none", .decimals = 0,
     .computable = between(0, kStationCount)},

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

std::span<const InputEntry> inputTable()
{
    return kInputs;
}

const InputEntry& entryOf(InputId id)
{
    return kInputs[static_cast<std::size_t>(id)];
}

}  // namespace tivora::performance
