#pragma once

// The analysis as figures and rows, named once: the Rotor Performance
// window's table and summary, its copy, the design sheet's second page, the
// CSV and `tivora --analyse` are all written from these lists. A new result
// column is a row of `powerCurveColumns()` (and its enumerator); a new
// figure is a line of `analysisFigures`.
//
// Captions are English sentence case; the window translates them, the
// command line writes them in lower case.

#include "analysis.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tivora::performance {

struct Figure {
    std::string_view key;  // stable, for a program: "air-density"
    std::string caption;   // "Air density"
    double value;          // SI
    Quantity quantity;
    int decimals;        // as the window and the exports show it
    int scriptDecimals;  // as the command line prints it, for other programs to read
};

// Which figures: those of the running the design is shown with (the window,
// the exports), or every running (the command line).
enum class FigureScope { Shown, Every };

// The analysis's own figures: the air, the blade, the cut-in, the energy.
std::vector<Figure> analysisFigures(const Analysis& analysis, FigureScope scope);
// The designed alternator's figures, when it is designed (alternator_report.cpp).
void addAlternatorFigures(const Analysis& analysis, std::vector<Figure>& figures);

// The energy of each curve at the site, with what its capacity factor is
// taken against.
struct EnergyRow {
    std::string_view key;
    std::string_view caption;  // "Held at the design tip speed ratio", "On the alternator", "Measured"
    CurveEnergy energy;
};
std::vector<EnergyRow> energyRows(const Analysis& analysis, FigureScope scope);

enum class Column {
    WindSpeed,
    Rpm,
    RotorPower,
    DeliveredPower,
    Loss,
    Cp,
    Torque,
    State,
    // What limits the machine.
    TipSpeed,
    PastTipSpeedLimit,
    Yaw,
    RunawayRpm,
    Current,
    CopperLoss,
    RectifierLoss,
    Efficiency,
    Thrust,
    RootMoment,
    CentrifugalForce,
};
struct ColumnEntry {
    Column id;
    std::string_view caption;
    Quantity quantity;  // a column of words: none
    int decimals;
};
std::span<const ColumnEntry> powerCurveColumns();
double columnValue(Column column, const PowerCurveRow& row);
// A column of words' cell, in English (the window translates it); none for
// a column of figures.
std::optional<std::string_view> columnWords(Column column, const PowerCurveRow& row);

// In English; the window translates them.
std::string_view stateWords(OperatingState state);
std::string_view basisWords(CapacityBasis basis);

// A figure with exactly `decimals` decimals in the user's format ("1.0",
// "0.4597"); -1: the shortest text that is the figure. A zero is "0" (or
// "0.00"), never "-0".
std::string figureText(double value, int decimals, const NumberFormat& format);

}  // namespace tivora::performance
