#pragma once

// Every field of the main window and every label that captions one, once.
//
// A Field or a Caption is a typed identity: the core computes with it, the
// window builds and names its controls from it, and the tests address the
// sheet and the controls by it, so a misspelt field is a compile error. Its
// name ("Text9") is the sheet's key and the control's objectName; this file
// is the only place that spells one.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tivora {

// The station table: station 1 nearest the axis, station 10 at the tip.
inline constexpr int kStationCount = 10;

enum class Field : std::uint8_t {
    WindSpeed,
    Radius,
    Efficiency,
    Blades,
    Tsr,
    Cl,
    Alpha,
    Power,
    GeneratorSpeed,
    Torque,
    Units,  // hidden: the code of the system the figures are in
    // The thirty station fields follow station by station, each as radius,
    // chord, twist; stationRadius() and its siblings name them.
    FirstStationField,
};
inline constexpr int kFieldCount = static_cast<int>(Field::FirstStationField) + 3 * kStationCount;

// The labels that caption fields, and the airfoil's name. The first six are
// rewritten by operations and so live in the sheet; the others never change.
enum class Caption : std::uint8_t {
    Radius,
    WindSpeed,
    GeneratorSpeed,
    StationChord,
    StationRadius,
    Airfoil,
    Blades,
    Tsr,
    Efficiency,
    Cl,
    Alpha,
    Torque,
    Power,
    StationTwist,
};
inline constexpr int kCaptionCount = 14;
inline constexpr int kChangingCaptionCount = 6;

enum class StationColumn : std::uint8_t { None, Radius, Chord, Twist };

struct FieldInfo {
    std::string_view name;
    std::optional<Caption> caption;  // none for the hidden `units`
    int station;                     // 1..10 in the station table, 0 elsewhere
    StationColumn column;
    bool typedByUser;  // an input; the others are computed (or hidden)
    std::string_view startText;
};

struct CaptionInfo {
    std::string_view name;
    std::string_view startText;
    bool changes;  // held by the sheet and rewritten by operations
};

namespace registry {

using enum StationColumn;

// The three outputs start with what a solve of the start inputs in SI
// writes, so the window looks solved from the start.
inline constexpr FieldInfo kFields[kFieldCount] = {
    {"windspeed", Caption::WindSpeed, 0, None, true, "15"},
    {"radius", Caption::Radius, 0, None, true, "1"},
    {"efficiency", Caption::Efficiency, 0, None, true, "0.4"},
    {"blades", Caption::Blades, 0, None, true, "3"},
    {"tsr", Caption::Tsr, 0, None, true, "7"},
    {"cl", Caption::Cl, 0, None, true, "0.85"},
    {"alpha", Caption::Alpha, 0, None, true, "6"},
    {"Text9", Caption::Power, 0, None, false, "2587.1"},
    {"Text6", Caption::GeneratorSpeed, 0, None, false, "105"},
    {"Text7", Caption::Torque, 0, None, false, "24.64"},
    {"units", std::nullopt, 0, None, false, "1"},
    // Text9 sits between the first two chord fields but holds the power.
    {"Text29", Caption::StationRadius, 1, Radius, false, ""},
    {"Text8", Caption::StationChord, 1, Chord, false, ""},
    {"Text19", Caption::StationTwist, 1, Twist, false, ""},
    {"Text30", Caption::StationRadius, 2, Radius, false, ""},
    {"Text10", Caption::StationChord, 2, Chord, false, ""},
    {"Text20", Caption::StationTwist, 2, Twist, false, ""},
    {"Text31", Caption::StationRadius, 3, Radius, false, ""},
    {"Text11", Caption::StationChord, 3, Chord, false, ""},
    {"Text21", Caption::StationTwist, 3, Twist, false, ""},
    {"Text32", Caption::StationRadius, 4, Radius, false, ""},
    {"Text12", Caption::StationChord, 4, Chord, false, ""},
    {"Text22", Caption::StationTwist, 4, Twist, false, ""},
    {"Text33", Caption::StationRadius, 5, Radius, false, ""},
    {"Text13", Caption::StationChord, 5, Chord, false, ""},
    {"Text23", Caption::StationTwist, 5, Twist, false, ""},
    {"Text34", Caption::StationRadius, 6, Radius, false, ""},
    {"Text14", Caption::StationChord, 6, Chord, false, ""},
    {"Text24", Caption::StationTwist, 6, Twist, false, ""},
    {"Text35", Caption::StationRadius, 7, Radius, false, ""},
    {"Text15", Caption::StationChord, 7, Chord, false, ""},
    {"Text25", Caption::StationTwist, 7, Twist, false, ""},
    {"Text36", Caption::StationRadius, 8, Radius, false, ""},
    {"Text16", Caption::StationChord, 8, Chord, false, ""},
    {"Text26", Caption::StationTwist, 8, Twist, false, ""},
    {"Text37", Caption::StationRadius, 9, Radius, false, ""},
    {"Text17", Caption::StationChord, 9, Chord, false, ""},
    {"Text27", Caption::StationTwist, 9, Twist, false, ""},
    {"Text38", Caption::StationRadius, 10, Radius, false, ""},
    {"Text18", Caption::StationChord, 10, Chord, false, ""},
    {"Text28", Caption::StationTwist, 10, Twist, false, ""},
};

// In the order of the Caption enumeration.
inline constexpr CaptionInfo kCaptions[kCaptionCount] = {
    {"Label5", "Blade Radius (m)", true},
    {"Label6", "Wind Speed (m/s)", true},
    {"Label10", "Generator speed (rad/sec)", true},
    {"Label13", "Chord (m)", true},
    {"Label14", "Radius (m)", true},
    {"Label24", "Airfoil: NACA2412", true},
    {"Label3", "Number of Blades", false},
    {"Label1", "TSR", false},
    {"Label4", "Blade Efficiency", false},
    {"Label7", "Cl", false},
    {"Label9", "α(°)", false},
    {"Label11", "Generator Torque (N.m)", false},
    {"Label12", "Generator Power (Watts) ", false},
    {"Label15", "β (°)", false},
};

}  // namespace registry

constexpr const FieldInfo& infoOf(Field field)
{
    return registry::kFields[static_cast<int>(field)];
}
constexpr const CaptionInfo& infoOf(Caption caption)
{
    return registry::kCaptions[static_cast<int>(caption)];
}

constexpr std::string_view nameOf(Field field)
{
    return infoOf(field).name;
}
constexpr std::string_view nameOf(Caption caption)
{
    return infoOf(caption).name;
}

constexpr Field stationRadius(int station)
{
    return static_cast<Field>(static_cast<int>(Field::FirstStationField) + 3 * (station - 1));
}
constexpr Field stationChord(int station)
{
    return static_cast<Field>(static_cast<int>(stationRadius(station)) + 1);
}
constexpr Field stationTwist(int station)
{
    return static_cast<Field>(static_cast<int>(stationRadius(station)) + 2);
}

// Lists, each in the sheet's order.
inline constexpr auto kAllFields = [] {
    std::array<Field, kFieldCount> all{};
    for (int i = 0; i < kFieldCount; ++i)
        all[i] = static_cast<Field>(i);
    return all;
}();
inline constexpr std::array<Field, 7> kInputFields = {Field::WindSpeed, Field::Radius, Field::Efficiency, Field::Blades,
                                                      Field::Tsr,       Field::Cl,     Field::Alpha};
inline constexpr std::array<Field, 3> kOutputFields = {Field::Power, Field::GeneratorSpeed, Field::Torque};
inline constexpr auto kStationFields = [] {
    std::array<Field, 3 * kStationCount> stations{};
    for (int i = 0; i < 3 * kStationCount; ++i)
        stations[i] = static_cast<Field>(static_cast<int>(Field::FirstStationField) + i);
    return stations;
}();
inline constexpr auto kAllCaptions = [] {
    std::array<Caption, kCaptionCount> all{};
    for (int i = 0; i < kCaptionCount; ++i)
        all[i] = static_cast<Caption>(i);
    return all;
}();
inline constexpr std::array<Caption, kChangingCaptionCount> kChangingCaptions = {
    Caption::Radius,       Caption::WindSpeed,     Caption::GeneratorSpeed,
    Caption::StationChord, Caption::StationRadius, Caption::Airfoil};

// A name back to its identity: for callers that hold names (objectNames,
// the sheet's text interface).
constexpr std::optional<Field> fieldNamed(std::string_view name)
{
    for (Field field : kAllFields) {
        if (nameOf(field) == name)
            return field;
    }
    return std::nullopt;
}
constexpr std::optional<Caption> captionNamed(std::string_view name)
{
    for (Caption caption : kAllCaptions) {
        if (nameOf(caption) == name)
            return caption;
    }
    return std::nullopt;
}

// The table is written out by hand; these keep it in step with the
// enumerations and the station arithmetic above.
constexpr bool registryIsConsistent()
{
    for (Field field : kInputFields) {
        if (!infoOf(field).typedByUser)
            return false;
    }
    int typed = 0;
    for (Field field : kAllFields)
        typed += infoOf(field).typedByUser;
    if (typed != static_cast<int>(kInputFields.size()))
        return false;
    for (int station = 1; station <= kStationCount; ++station) {
        const FieldInfo& r = infoOf(stationRadius(station));
        const FieldInfo& c = infoOf(stationChord(station));
        const FieldInfo& t = infoOf(stationTwist(station));
        if (r.station != station || c.station != station || t.station != station || r.column != StationColumn::Radius ||
            c.column != StationColumn::Chord || t.column != StationColumn::Twist)
            return false;
    }
    int changing = 0;
    for (Caption caption : kAllCaptions)
        changing += infoOf(caption).changes && static_cast<int>(caption) == changing;
    return changing == kChangingCaptionCount;
}
static_assert(registryIsConsistent());

}  // namespace tivora
