#pragma once

// The design as the window shows it, ready to leave the program: every
// figure is the field's text exactly as shown, every unit is read from the
// caption in force, so what is copied, saved or printed is what the user
// sees. Plain functions, no window: the export commands and the tests call
// them alike.

#include "sheet/design_sheet.h"
#include "workshop/blade.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tivora {

// One input or output: "Blade Radius", "1", "m".
struct ShownQuantity {
    QString caption;
    QString figure;
    QString unit;  // empty for a figure without unit (blades, TSR, Cl)
};

struct ShownStation {
    int number;  // 1 nearest the hub
    QString radius;
    QString chord;
    QString twist;
};

struct ShownDesign {
    std::vector<ShownQuantity> quantities;  // the seven inputs, then power, speed, torque
    int inputCount = 0;                     // the first ones, which the user types
    QStringList stationHeader;              // "Station" and the three column captions
    std::vector<ShownStation> stations;     // root to tip, as solved (the main window's table)
    // The blade the drawings show: the stations as solved, or as trimmed for
    // carving, in the same units and decimals as the table; `trimNote` says
    // how it was trimmed (empty when it was not).
    std::vector<ShownStation> drawn;
    QString trimNote;
    QString radiusUnit;  // of the blade and station radii: "m" or "ft"
    QString chordUnit;   // "m" or "in"
    NumberFormat format;
    bool unsolved = false;  // the user chose to export results that may belong to other inputs
};

// The words every export carries when `unsolved` is set.
QString unsolvedNote();

ShownDesign shownDesign(const DesignSheet& sheet, bool unsolved = false, const workshop::Trim& trim = {});

// The results may not belong to the inputs: an input was edited since the
// last completed solve, or the station table has an empty field.
bool resultsMayBeStale(const DesignSheet& sheet, bool inputEditedSinceSolve);

// Lines of tab-separated cells that a spreadsheet pastes into cells. The
// tabular forms write a typed minus sign as the ASCII one, so that a
// spreadsheet reads the figure as a number.
QString designAsText(const ShownDesign& design);
// The same as one HTML table, for word processors.
QString designAsHtml(const ShownDesign& design);

// "tivora-3-blades-1m": a file name from the design, without suffix.
QString designFileStem(const ShownDesign& design);

// The drawn figures as numbers, for drawing; none when a station figure is
// not a number (an empty table) or a unit is not a length the program writes.
struct BladeGeometry {
    struct Station {
        int number;
        double radiusMm;  // from the rotor axis
        double chordMm;
        double twistDegrees;
    };
    std::vector<Station> stations;  // as ShownDesign::drawn
    double radiusUnitMm;            // one shown radius unit in millimetres
    double chordUnitMm;
};
std::optional<BladeGeometry> bladeGeometry(const ShownDesign& design);

// Why the drawn station table cannot be drawn as a blade (a radius or chord
// not above zero, stations not growing outwards, a figure that is no number);
// empty when it can. The drawings are made only when it is empty.
QString bladeProblem(const ShownDesign& design);

}  // namespace tivora
