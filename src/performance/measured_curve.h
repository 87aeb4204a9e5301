#pragma once

// A published or measured power curve, read from a file and put on the
// analysis' wind speed bins.

#include "result.h"
#include "site.h"

#include <string_view>
#include <vector>

namespace tivora::performance {

// Wind speed and power columns, the power in W or kW as the header before
// the numbers says ("Power (W)", "P [kW]", "power_kw", "Power
// (kilowatts)"); decimal commas read as numbersOf reads them. Negative
// powers (a turbine's standby draw) are kept.
Result<std::vector<PowerCurvePoint>> readPowerCurve(std::string_view text);

// A curve on the bins, linear between its points and nothing outside them;
// the bins at its first and last wind speeds get those points' powers.
std::vector<PowerCurvePoint> onBins(const std::vector<PowerCurvePoint>& curve);

}  // namespace tivora::performance
