#pragma once

// The one report of an analysis, as the user's units and number format show
// it: the figures (the inputs analysed and the results) and the power
// curve's rows. The window's table, its copy, the design sheet's second page
// and the CSV are all made from it; none reads a widget back.

#include "export/performance_sheet.h"
#include "performance/analysis.h"

#include <QMimeData>

#include <memory>

namespace tivora {

// The rows of the power curve the table shows: the running shown, above 0 m/s.
std::vector<performance::PowerCurveRow> tableRows(const performance::Analysis& analysis);

// Every field of the sheet but its charts.
PerformanceSheet reportOf(const performance::Analysis& analysis, const performance::AnalysisInputs& inputs,
                          UnitSystem system, const NumberFormat& format);

// The power curve as tab-separated text and as an HTML table, for the
// clipboard: a typed minus sign is written as the ASCII one, so that a
// spreadsheet reads the figure as a number.
std::unique_ptr<QMimeData> tableAsMimeData(const PerformanceSheet& report);

}  // namespace tivora
