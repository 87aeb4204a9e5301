#pragma once

// The Rotor Performance window's charts as pure functions of the analysis:
// each makes a chart::Chart description, drawn alike in the window and on
// the design sheet's pages of charts. A new chart is one function and one row
// of `performanceCharts()`.

#include "chart/chart.h"
#include "performance/analysis.h"

#include <functional>
#include <span>

namespace tivora {

struct ChartContext {
    UnitSystem system = UnitSystem::SI;
    NumberFormat format;
    // A chart's figures: three decimals below 100, whole numbers above.
    std::function<QString(double)> numbers() const;
};

struct ChartEntry {
    const char* name;   // the view's objectName
    const char* tab;    // its tab's caption
    const char* title;  // drawn above it
    chart::Chart (*make)(const performance::Analysis& analysis, const ChartContext& context);
};
std::span<const ChartEntry> performanceCharts();
QString tabTitle(const ChartEntry& entry);
chart::Chart chartOf(const ChartEntry& entry, const performance::Analysis& analysis, const ChartContext& context);

// A chart with nothing to draw, saying why instead of bare axes.
chart::Chart emptyChart(const ChartEntry& entry, const QString& why);

// The colour each state is marked with, on the charts' light paper.
QColor stateColour(performance::OperatingState state);

}  // namespace tivora
