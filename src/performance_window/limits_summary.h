#pragma once

// The lines under the Rotor Performance window's summary: what limits the
// machine, read at a glance, and what the blade's trim for carving costs.

#include "performance/analysis.h"

#include <QString>

namespace tivora {

// Where it furls, where its tip passes the limit (loaded and unloaded),
// where the winding overheats, the parked loads; and that these are figures,
// not a certification.
QString limitsSummary(const performance::Analysis& analysis, UnitSystem system, const NumberFormat& format);

// The peak Cp and the year's energy of the blade as solved and as trimmed;
// empty without a trim.
QString trimCostSummary(const performance::Analysis& analysis, UnitSystem system, const NumberFormat& format);

}  // namespace tivora
