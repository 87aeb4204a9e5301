#pragma once

// The site's wind as figures and rows: the wind carried to the hub, a
// series' fit, counts and period, and the energies it gives, for the
// window's report, the design sheet, the CSV and `tivora --analyse`.

#include "report.h"

#include <ostream>
#include <string>
#include <vector>

namespace tivora::performance {

// The wind at the hub; with a series, its counts, period, mean and both fits.
std::vector<Figure> siteWindFigures(const Analysis& analysis);

// With a series, the energies of the curve shown beside the fitted
// Weibull's: from the measured histogram, and what the calms cost.
std::vector<Figure> siteEnergyFigures(const Analysis& analysis);

// What the reader left out of a series, in English: "left out 480 cells
// that hold no number (the first at line 57: "ERR") and 20 empty cells (the
// first at line 88)".
std::string leftOutWords(const WindSeries& series);

// `tivora --analyse`'s sections: the site's wind, the energies of both
// curves from the fit and from the histogram, and the energy against hub height.
void writeSiteWind(std::ostream& csv, const Analysis& analysis);

}  // namespace tivora::performance
