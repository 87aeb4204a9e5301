#pragma once

// The printed design sheet: one page with the inputs, the results, the
// station table, the blade planform to scale and the twist against radius,
// all drawn as vector paths and real text.

#include "shown_design.h"

#include <QPageSize>
#include <QSizeF>
#include <QString>

#include <vector>

class QIODevice;
class QPainter;

namespace tivora {

// The paper of the system's LC_PAPER locale (A4 where it cannot be read).
QPageSize systemPaper();
// The named size of a sheet of paper `millimetres` wide and high.
QPageSize paperOfSize(QSizeF millimetres);

// The twist axis of the sheet's plot: from `low` to `high` in whole
// `step`s, taking in zero and every twist.
struct PlotAxis {
    double low;
    double high;
    double step;
};
PlotAxis twistAxis(const std::vector<double>& twists);

struct PerformanceSheet;

// Draws the sheet on the painter's page, in the device's own units; with a
// performance, on a second page too (the device must then be a paged one).
void drawDesignSheet(QPainter& painter, const ShownDesign& design, const PerformanceSheet* performance = nullptr);

// Writes the sheet as a PDF on `paper`: one page, two with a performance.
bool writeDesignSheetPdf(const ShownDesign& design, const QPageSize& paper, const QString& title, QIODevice* out,
                         const PerformanceSheet* performance = nullptr);

}  // namespace tivora
