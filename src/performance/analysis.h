#pragma once

// The rotor analysis, one function from the solved design and the inputs to
// all of its figures. The Rotor Performance window, the design sheet, the
// CSV and `tivora --analyse` all take their figures from `analyse`, so they
// cannot tell different stories.

#include "alternator_inputs.h"
#include "inputs.h"
#include "limits.h"
#include "power_curve.h"
#include "site_wind.h"
#include "workshop/blade.h"

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
    PolarReynoldsAway,    // `figure`: the polar's Reynolds number, more than twice or half the blade's at 0.75 R
    MostlyLost,   // `figure`: the first wind speed at which the alternator, within its rating, delivers less than 40 %
    HubBelowTip,  // `figure`: the blade's tip radius, which the hub height is not above
    SeriesLeftOut,  // `figure`: records of the site's wind left out (empty, no number, out of range)
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

// What the trim for carving costs: the untrimmed blade's figures.
struct TrimCost {
    workshop::Trim trim;
    double peakCpBefore = 0;
    CurveEnergy heldBefore, alternatorBefore;
};

// Below this share of the rotor's power delivered, a charging alternator is
// worth a word even within its current rating.
inline constexpr double kMostlyLostBelow = 0.4;

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
    // Where the alternator's figures come from; when designed, its design,
    // and the turns that cut it in where the builder wants.
    ChosenAlternator alternatorChoice;
    std::optional<CutInTurns> turnsForCutIn;
    std::vector<PowerCurveRow> heldCurve, alternatorCurve;
    CurveEnergy heldEnergy, alternatorEnergy;
    CutIn heldCutIn, alternatorCutIn;
    std::optional<MeasuredComparison> measured;
    SiteWind siteWind;  // the wind every energy is taken with, and the energies a measured one gives

    std::vector<MatchingCurve> matching;
    std::vector<MatchingPoint> alternatorLine;  // shaft power, from the alternator's cut-in
    std::vector<Warning> warnings;

    // What limits the machine (limits.h).
    Limits limits;
    double windingCelsius = 20;
    double warmWindingOhms = 0;       // the alternator's, at the winding temperature
    double alternatorUnratedKWh = 0;  // the alternator's energy were its overheating current counted too
    Runaway heldRunaway, alternatorRunaway;
    double heldOnsetThrustN = 0, alternatorOnsetThrustN = 0;
    double designRootMomentNm = 0;  // one blade's, at the design tip speed ratio and wind speed
    double bladeAreaM2 = 0;         // one blade's planform, for the parked loads
    double survivalWindMps = 0;
    ParkedLoads parked;  // at the survival wind, in sea-level air
    double viscosityPaS = 0;
    std::vector<double> stationChordsM;   // of the blade analysed (trimmed for carving, if it is)
    std::vector<double> stationReynolds;  // at the design point, one a station
    double reynoldsAtThreeQuarters = 0;
    std::optional<double> polarReynolds;
    std::optional<TrimCost> trimCost;  // when the blade is trimmed for carving

    // The curve of the running chosen, and its energy and cut-in.
    const std::vector<PowerCurveRow>& curve() const { return onAlternator ? alternatorCurve : heldCurve; }
    const CurveEnergy& energy() const { return onAlternator ? alternatorEnergy : heldEnergy; }
    const CutIn& cutIn() const { return onAlternator ? alternatorCutIn : heldCutIn; }
    const Runaway& runaway() const { return onAlternator ? alternatorRunaway : heldRunaway; }
    double onsetThrustN() const { return onAlternator ? alternatorOnsetThrustN : heldOnsetThrustN; }
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
