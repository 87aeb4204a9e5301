#pragma once

// The rotor analysis, one function from the solved design and the inputs to
// all of its figures. The Rotor Performance window, the design sheet, the
// CSV and `tivora --analyse` all take their figures from `analyse`, so they
// cannot tell different stories.

#include "inputs.h"
#include "power_curve.h"
#include "site_wind.h"

#include <optional>
#include <vector>

namespace tivora::performance {

struct MatchingPoint {
    double rpm, watts;
};
// The rotor's power against its rpm at one wind speed, for matching a
// generator to it, and where the alternator holds it there.
struct MatchingCurve {
    double windMps;
    std::vector<MatchingPoint> points;
    MatchingPoint peak;
    PowerCurveRow operating;  // the alternator's operating point at this wind speed
};

// What the capacity factor is taken against.
enum class CapacityBasis {
    RatedPower,        // held at the tip speed ratio: the rated power
    LargestDelivered,  // the alternator and a measured curve: the largest power delivered
};
struct CurveEnergy {
    AnnualEnergy energy;
    double capacityFactor = 0;
    CapacityBasis basis = CapacityBasis::RatedPower;
    double basisWatts = 0;
};

// The speed at which the rotor starts to deliver.
struct CutIn {
    double windMps = 0;
    double rpm = 0;
};

// Figures computed, and worth a word to the user: none stops the analysis.
enum class WarningKind {
    EfficiencyAboveBetz,  // `figure`: the typed efficiency; the design power is more than any rotor gives
    AlphaPastStall,       // `figure`: the stall angle (°) the design angle of attack is past
    ElementsUnsolved,     // `figure`: how many blade elements found no inflow angle; they carry no load
    NotSensible,          // `input` is outside physical sense (the window marks it instead)
    HubBelowTip,          // `figure`: the blade's tip radius, which the hub height is not above
    SeriesLeftOut,        // `figure`: records of the site's wind left out (empty, no number, out of range)
};
struct Warning {
    WarningKind kind;
    std::optional<InputId> input = std::nullopt;
    double figure = 0;
    bool operator==(const Warning&) const = default;
};

struct MeasuredComparison {
    std::vector<PowerCurvePoint> binned;  // on the bins, at the site's density
    CurveEnergy energy;
};

struct Analysis {
    double densityKgM3 = 0;
    double temperatureCelsius = 0;
    bool standardTemperature = true;  // the standard atmosphere's, not typed
    CpCurve cp;
    double designTsr = 0;
    double designCp = 0;  // of the blade at the design tip speed ratio
    double typedEfficiency = 0;
    double designAlphaDegrees = 0;
    double generatorWatts = 0;  // what Solve! wrote from the typed efficiency at 1.22 kg/m³
    BladeAnalysis design;       // at the design tip speed ratio and wind speed
    double designWindMps = 0;

    bool onAlternator = false;  // the running the design is shown with
    HeldRunning held;
    Alternator alternator;
    std::vector<PowerCurveRow> heldCurve, alternatorCurve;
    CurveEnergy heldEnergy, alternatorEnergy;
    CutIn heldCutIn, alternatorCutIn;
    std::optional<MeasuredComparison> measured;
    SiteWind siteWind;  // the wind every energy is taken with, and the energies a measured one gives

    std::vector<MatchingCurve> matching;
    std::vector<MatchingPoint> alternatorLine;  // shaft power, from the alternator's cut-in
    std::vector<Warning> warnings;

    // The curve of the running chosen, and its energy and cut-in.
    const std::vector<PowerCurveRow>& curve() const { return onAlternator ? alternatorCurve : heldCurve; }
    const CurveEnergy& energy() const { return onAlternator ? alternatorEnergy : heldEnergy; }
    const CutIn& cutIn() const { return onAlternator ? alternatorCutIn : heldCutIn; }
};

// The wind speeds of the generator-matching chart, in the system's own
// units: 3 to 12 m/s, 10 to 45 km/h, 6 to 26 mph.
std::vector<double> matchingWindSpeeds(UnitSystem system);  // m/s

// Whether a file's text is one the input takes (a polar, a power curve),
// whatever design it is used with; the Problem says where it is not.
std::optional<Problem> checkFile(InputId input, std::string_view text);

// The sheet must be solved; its station table is read in its own units.
Result<Analysis> analyse(const DesignSheet& sheet, const AnalysisInputs& inputs);

}  // namespace tivora::performance
