#pragma once

// Every input of the rotor analysis, named once.
//
// One row of `inputTable()` says all there is to an input: its identity,
// its setting in the design file, its command-line option, its caption, its
// unit in each system, its default, the decimals it is shown with, the
// range it can be computed in and the range that makes physical sense, and
// where it sits in the form. The Rotor Performance window builds its form
// from the rows, the design file keeps the rows' settings, `tivora
// --analyse` takes the rows' options and prints its --help from them.
// Adding an input is one row (and its enumerator); the analysis then reads
// it with `valueOf`.
//
// `AnalysisInputs` holds what the user gave, in SI: an input not given is
// at its default, which is defined here alone.

#include "input_id.h"
#include "result.h"
#include "sheet/design_file.h"
#include "sheet/design_sheet.h"
#include "workshop/profile.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tivora::performance {

enum class InputKind {
    Design,  // a figure of the main window's design; on the command line only
    Number,
    Choice,  // one of a few named options
    File,    // a text file, kept by its name
};

// The form's boxes, in order. The limits sit on a page of their own, the
// alternator designed on another; the blade as carved has no box (the Blade
// Sections window sets it).
enum class InputGroup { Design, Site, Airfoil, Running, Comparison, Limits, Heat, Loads, Carving, Alternator };

// How an input's unit follows the unit system shown.
enum class Quantity {
    None,
    WindSpeed,       // m/s, km/h, mph
    Altitude,        // m, m, ft
    Temperature,     // °C, °C, °F
    Length,          // m, m, ft
    Angle,           // °
    Power,           // W
    Voltage,         // V
    VoltsPerRpm,     // V/rpm
    Resistance,      // Ω
    Size,            // mm, mm, in: magnets, gaps, wire (its SI figure is in millimetres)
    Area,            // mm²: a cable's cross-section (its SI figure is in square millimetres)
    CurrentDensity,  // A/mm²
    // Results only.
    Rpm,          // rpm
    Torque,       // N·m
    Force,        // N
    Density,      // kg/m³
    Energy,       // kWh
    Current,      // A
    Mass,         // kg, kg, lb
    FluxDensity,  // T
    Percent,      // %
    Days,         // days
};
std::string unitOf(Quantity quantity, UnitSystem system);
// The SI unit in ASCII, as the command line writes it: "degrees C", "ohm".
std::string_view asciiUnitOf(Quantity quantity);
double shownFromSi(Quantity quantity, UnitSystem system, double si);
double siFromShown(Quantity quantity, UnitSystem system, double shown);

// A default that follows other figures; the row words it.
enum class DerivedDefault {
    None,
    StandardTemperature,  // the standard atmosphere's at the altitude
    DesignPower,          // the generator power Solve! wrote
    DesignWindSpeed,      // the design wind speed typed in the main window
    MatchedCurrent,       // the battery voltage over the hot winding's resistance
    CarvedMass,           // the blade as carved, in the Blade Sections window's wood
    MeasuredHeight,       // the height the wind was measured at: nothing carried up
};

struct ChoiceOption {
    std::string_view key;  // in the design file
    std::string_view caption;
};

// A choice's option, or a file loaded (1) or not (0).
struct Condition {
    InputId input;
    int state;
};

struct InputEntry {
    InputId id;
    InputKind kind;
    InputGroup group;
    std::string_view name;        // identity: the window's control, in tests too
    std::string_view settingKey;  // in the design file; empty: not kept there
    std::string_view option;      // --option of `tivora --analyse`; empty: none
    std::string_view caption;     // the form's label, without its unit; a File's button, with "…"
    std::string_view meaning;     // --help's words for it
    Quantity quantity = Quantity::None;
    double fallback = 0;  // the default, in SI, unless derived; a Choice's option
    DerivedDefault derived = DerivedDefault::None;
    std::string_view derivedWords = {};  // the derived default in words: "the design's generator power";
                                         // or a default better said so than as a figure ("1/7")
    int decimals = 2;                    // shown
    Bounds computable = kAnyValue;       // outside: refused, the analysis cannot compute with it
    Bounds sensible = kAnyValue;         // outside: analysed, and marked as making no physical sense
    std::optional<InputId> below = {};   // must stay below that input
    std::optional<Field> field = {};     // Design: the sheet's field
    std::span<const ChoiceOption> choices = {};
    std::optional<Condition> placedUnder = {};  // in the form, under that choice's option
    std::optional<Condition> enabledWhen = {};
    std::string_view removeCaption = {};  // File: the button that lets the file go
};

std::span<const InputEntry> inputTable();
const InputEntry& entryOf(InputId id);
const InputEntry* entryByOption(std::string_view option);

// A file the user chose: its name, and its text once read. A design file
// keeps the name only, so an opened design may name a file not loaded yet.
struct InputFile {
    std::string name;
    std::optional<std::string> text;
    bool operator==(const InputFile&) const = default;
};

class AnalysisInputs {
public:
    // A number in SI; none: its default.
    std::optional<double> typed(InputId id) const { return slot(id).si; }
    // `decimals`: as many as the user wrote, kept so that a design file
    // gives back "1.0" as "1.0"; -1 where unknown.
    void setTyped(InputId id, std::optional<double> si, int decimals = -1);
    int typedDecimals(InputId id) const { return slot(id).decimals; }

    // A choice's option; unless chosen, the row's default (its fallback).
    int choice(InputId id) const { return slot(id).choice.value_or(static_cast<int>(entryOf(id).fallback)); }
    std::optional<int> chosen(InputId id) const { return slot(id).choice; }
    void setChoice(InputId id, std::optional<int> option) { slot(id).choice = option; }

    const InputFile& file(InputId id) const { return slot(id).file; }
    void setFile(InputId id, InputFile file) { slot(id).file = std::move(file); }

    // A choice's option, or whether a file's text is loaded.
    int state(InputId id) const;
    bool enabled(const InputEntry& entry) const;

    bool onAlternator() const { return choice(InputId::Running) == 1; }
    // Where the alternator's figures come from: typed (0), the magnets (1), a test coil (2).
    int alternatorFrom() const { return choice(InputId::AlternatorFrom); }

    // The design file's settings that no row names, kept as they came.
    DesignSettings otherSettings;

    // The blade as the Blade Sections window carves it: its settings (the
    // `sections.` rows, which that window keeps in the design file), whose
    // trim the rotor is analysed with and whose wood and thickness weigh it;
    // and the section of a coordinates file it carves to, if any (otherwise
    // the main window's airfoil). None of it is written with the settings
    // above.
    struct Carved {
        DesignSettings settings;
        std::optional<workshop::Profile> coordinates;
        bool operator==(const Carved&) const = default;
    };
    Carved carved;

    bool operator==(const AnalysisInputs&) const = default;

private:
    struct Slot {
        std::optional<double> si;
        int decimals = -1;
        std::optional<int> choice;
        InputFile file;
        bool operator==(const Slot&) const = default;
    };
    const Slot& slot(InputId id) const { return slots_[static_cast<std::size_t>(id)]; }
    Slot& slot(InputId id) { return slots_[static_cast<std::size_t>(id)]; }
    std::array<Slot, kInputCount> slots_{};
};

// What the defaults that follow the design need from it.
struct DesignFigures {
    double generatorPowerWatts = 0;
    double windMps = 0;      // the design wind speed
    double bladeMassKg = 0;  // the blade as carved
};
// The sheet's generator power and wind speed, 0 when it holds none.
DesignFigures designFiguresOf(const DesignSheet& sheet);
// With the mass of the blade as the inputs carve it.
DesignFigures designFiguresOf(const DesignSheet& sheet, const AnalysisInputs& inputs);

// An input's value in SI: as given, or its default.
double valueOf(const AnalysisInputs& inputs, InputId id, const DesignFigures& design);
double defaultOf(const AnalysisInputs& inputs, InputId id, const DesignFigures& design);

// The first number the analysis cannot compute with, in the table's order:
// a Problem of kind InputOutside or InputNotBelow naming it.
std::optional<Problem> refusal(const AnalysisInputs& inputs, const DesignFigures& design);
// Whether a number given makes physical sense (with the inputs it is
// judged against); a number not given always does.
bool sensible(const AnalysisInputs& inputs, InputId id, const DesignFigures& design);

// The design file's settings: only what the user gave, in the table's
// order, numbers in SI with a full stop; then the settings no row names.
DesignSettings settingsOf(const AnalysisInputs& inputs);
// A setting that does not read leaves its input at the default.
AnalysisInputs inputsFrom(const DesignSettings& settings);

}  // namespace tivora::performance
