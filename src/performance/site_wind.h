#pragma once

// The wind at the hub: the mean wind speed and Weibull shape the user typed,
// or the Weibull fitted to the wind measured at the site, taken at the
// height it was measured at (10 m unless told) and carried to the hub by
// the height law. With the hub at the measured height (its default),
// nothing is carried. And the energy both give: from the Weibull, and from
// the measured frequencies themselves, at the hub and at every height of a
// tower from 6 to 40 m.

#include "inputs.h"
#include "site.h"
#include "site_height.h"
#include "weibull_fit.h"
#include "wind_series.h"

#include <optional>
#include <string>
#include <vector>

namespace tivora::performance {

// A year's energy of one power curve at one hub height.
struct SiteEnergy {
    double fittedKwh = 0;                // from the Weibull: fitted to the series, or typed
    std::optional<double> histogramKwh;  // from the measured frequencies, IEC 61400-12-1's binned sum on them
    double calmsKwh = 0;                 // what the calms cost: their hours, blowing as the rest, would give this
};

struct HeightEnergy {
    double hubM = 0;
    double meanMps = 0;  // the measured (or typed) mean, carried up
    SiteEnergy held, alternator;
};

// A series loaded, read and fitted.
struct SiteSeries {
    std::string fileName;
    WindSeries series;
    SiteWindFit fit;
};

struct SiteWind {
    double measuredHeightM = 10;
    double hubHeightM = 10;
    int lawOption = 0;  // of the height-law choice
    HeightLaw law;
    double factor = 1;           // the wind at the hub over the wind measured
    double measuredMeanMps = 0;  // typed, or the series' mean (calms included)
    WindDistribution atMeasured{5, 2, 0};
    WindDistribution atHub{5, 2, 0};  // what every annual energy is taken with
    std::optional<SiteSeries> series;
    SiteEnergy held, alternator;  // at the hub
    std::vector<HeightEnergy> byHeight;

    double hubMeanMps() const { return measuredMeanMps * factor; }
};

// The wind the inputs describe, without its energies. A series that does
// not read or fit is a Problem of the WindSeries input.
Result<SiteWind> siteWindOf(const AnalysisInputs& inputs, const DesignFigures& design);

// The energies of the two curves (as delivered, on the bins) at the hub and
// at each height of heightTable().
void addSiteEnergies(SiteWind& site, const std::vector<PowerCurvePoint>& held,
                     const std::vector<PowerCurvePoint>& alternator);

// The hub heights of the energy-against-height table: 6 to 40 m by 2 m.
std::vector<double> heightTable();

// A series loaded is kept in the design file by its name, and its fitted
// pair and calm share as figures beside it: these rows, written after the
// name (those of the design opened, where the series is named but not
// loaded again); none where no series is named.
DesignSettings seriesFitSettings(const AnalysisInputs& inputs);
bool isSeriesFitSetting(std::string_view name);

}  // namespace tivora::performance
