#include "carving_table.h"

#include "sheet/csv.h"
#include "sheet/unit_conversions.h"

namespace tivora::workshop {

namespace {

constexpr double kKilogramsPerPound = 0.45359237;
constexpr double kKilogramsPerCubicMetrePerPoundPerCubicFoot = 16.0184634;
constexpr double kCubicInchesPerCubicMetre = 61023.7441;

bool imperial(UnitSystem system)
{
    return system == UnitSystem::Imperial;
}

double perSi(WorkshopQuantity quantity, UnitSystem system)
{
    switch (quantity) {
    case WorkshopQuantity::Across:
        return imperial(system) ? units::kInchesPerMetre : 1000;
    case WorkshopQuantity::Radius:
        return imperial(system) ? units::kFeetPerMetre : 1;
    case WorkshopQuantity::Density:
        return imperial(system) ? 1 / kKilogramsPerCubicMetrePerPoundPerCubicFoot : 1;
    case WorkshopQuantity::Mass:
        return imperial(system) ? 1 / kKilogramsPerPound : 1;
    case WorkshopQuantity::Volume:
        return imperial(system) ? kCubicInchesPerCubicMetre : 1e6;
    }
    return 1;
}

}  // namespace

std::string unitOf(WorkshopQuantity quantity, UnitSystem system)
{
    const bool i = imperial(system);
    switch (quantity) {
    case WorkshopQuantity::Across:
        return i ? "in" : "mm";
    case WorkshopQuantity::Radius:
        return i ? "ft" : "m";
    case WorkshopQuantity::Density:
        return i ? "lb/ft³" : "kg/m³";
    case WorkshopQuantity::Mass:
        return i ? "lb" : "kg";
    case WorkshopQuantity::Volume:
        return i ? "in³" : "cm³";
    }
    return {};
}

double shownFromSi(WorkshopQuantity quantity, UnitSystem system, double si)
{
    return si * perSi(quantity, system);
}

double siFromShown(WorkshopQuantity quantity, UnitSystem system, double shown)
{
    return shown / perSi(quantity, system);
}

int decimalsOf(WorkshopQuantity quantity, UnitSystem system)
{
    const bool i = imperial(system);
    switch (quantity) {
    case WorkshopQuantity::Across:
        return i ? 2 : 1;
    case WorkshopQuantity::Radius:
        return 3;
    case WorkshopQuantity::Density:
        return i ? 1 : 0;
    case WorkshopQuantity::Mass:
        return 2;
    case WorkshopQuantity::Volume:
        return i ? 1 : 0;
    }
    return 3;
}

CarvingTable carvingTable(const Carving& carving, const WorkshopInputs& inputs, UnitSystem system,
                          const NumberFormat& format)
{
    const auto text = [&](double value, int decimals) { return formatNumber(roundTo(value, decimals), format); };
    const auto shown = [&](WorkshopQuantity quantity, double si) {
        return text(shownFromSi(quantity, system, si), decimalsOf(quantity, system));
    };
    const std::string across = " (" + unitOf(WorkshopQuantity::Across, system) + ")";
    CarvingTable table;
    table.header = {"Station",
                    "Radius (" + unitOf(WorkshopQuantity::Radius, system) + ")",
                    "Chord" + across,
                    "β (°)",
                    "Width on plank" + across,
                    "Drop of trailing edge" + across,
                    "Thickness" + across,
                    "Thickness (%)",
                    "Leading edge from pitch axis" + across,
                    "Leading edge below face" + across};
    using enum WorkshopQuantity;
    for (const CarvedStation& s : carving.stations) {
        table.rows.push_back({std::to_string(s.blade.number), shown(Radius, s.blade.radius),
                              shown(Across, s.blade.chord), text(s.blade.twistDegrees, 1),
                              shown(Across, s.widthOnPlank), shown(Across, s.drop), shown(Across, s.thickness),
                              text(s.thicknessRatio * 100, 1), shown(Across, s.leadingEdgeFromAxis),
                              shown(Across, s.leadingEdgeDepth)});
    }
    const auto figure = [&](std::string caption, WorkshopQuantity quantity, double si) {
        table.figures.push_back({std::move(caption), shown(quantity, si), unitOf(quantity, system)});
    };
    table.figures.push_back({"Section", carving.sectionName, {}});
    figure("Blank length", Across, carving.blank.length);
    figure("Blank width", Across, carving.blank.width);
    figure("Blank thickness", Across, carving.blank.thickness);
    figure("Wood density", Density, inputs.woodDensity);
    figure("Blade volume", Volume, carving.mass.volume);
    figure("Blade mass", Mass, carving.mass.mass);
    figure("Centre of mass radius", Radius, carving.mass.centreRadius);
    return table;
}

std::string trimDescription(const Trim& trim, UnitSystem system, const NumberFormat& format)
{
    std::string how;
    if (trim.straightBetween)
        how = "chord and twist straight from station " + std::to_string(trim.straightBetween->first) + " to " +
              std::to_string(trim.straightBetween->second);
    if (trim.largestChord && *trim.largestChord > 0) {
        const auto across = WorkshopQuantity::Across;
        how +=
            (how.empty() ? "" : "; ") + std::string("chord at most ") +
            formatNumber(roundTo(shownFromSi(across, system, *trim.largestChord), decimalsOf(across, system)), format) +
            " " + unitOf(across, system);
    }
    return how.empty() ? how : "Trimmed for carving: " + how + ".";
}

std::string carvingTableCsv(const CarvingTable& table, const NumberFormat& format)
{
    CsvWriter csv(format);
    for (const auto& figure : table.figures)
        csv.row({figure.caption, spreadsheetFigure(figure.value), figure.unit});
    csv.row(std::vector<std::string>{});
    csv.row(table.header);
    for (const auto& row : table.rows)
        csv.row(row);
    return csv.text();
}

}  // namespace tivora::workshop
