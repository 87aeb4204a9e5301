#pragma once

// The charts of the site's wind: a measured series' histogram against the
// Weibull fitted to it, and the year's energy against hub height.

#include "performance_charts.h"

namespace tivora {

chart::Chart siteWindChart(const performance::Analysis& analysis, const ChartContext& context);
chart::Chart hubHeightChart(const performance::Analysis& analysis, const ChartContext& context);

}  // namespace tivora
