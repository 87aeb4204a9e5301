#pragma once

// The carving table as the builder reads it, in the units of the main
// window's system: radii in m or ft as the station table, the lengths across
// the plank in mm (SI and Metric) or in (Imperial). Texts in the user's number
// format with the ASCII minus sign, so that a spreadsheet reads each as a
// number: the window, the copy, the design sheet and the CSV all show these.

#include "carving.h"
#include "sheet/design_sheet.h"

#include <string>
#include <vector>

namespace tivora::workshop {

enum class WorkshopQuantity {
    Across,   // mm or in: chords, widths, drops, thicknesses, the blank
    Radius,   // m or ft
    Density,  // kg/m³ or lb/ft³
    Mass,     // kg or lb
    Volume,   // cm³ or in³
};
std::string unitOf(WorkshopQuantity quantity, UnitSystem system);
double shownFromSi(WorkshopQuantity quantity, UnitSystem system, double si);
double siFromShown(WorkshopQuantity quantity, UnitSystem system, double shown);
int decimalsOf(WorkshopQuantity quantity, UnitSystem system);

struct CarvingTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;  // a station each, root to tip
    struct Figure {
        std::string caption, value, unit;
    };
    std::vector<Figure> figures;  // the section, the blank, the mass and its centre
};

CarvingTable carvingTable(const Carving& carving, const WorkshopInputs& inputs, UnitSystem system,
                          const NumberFormat& format);

// "Trimmed for carving: chord and twist straight from station 3 to 10; chord
// at most 150 mm." in the system's units; empty when the trim changes nothing.
std::string trimDescription(const Trim& trim, UnitSystem system, const NumberFormat& format);

// The figures, a blank row, the header and the stations; CSV as Tivora
// writes it (";" between cells where the decimal separator is a comma).
std::string carvingTableCsv(const CarvingTable& table, const NumberFormat& format);

}  // namespace tivora::workshop
