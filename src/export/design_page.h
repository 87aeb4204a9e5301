#pragma once

// The printed design sheet: one page with the inputs, the results, the
// station table, the blade planform to scale and the twist against radius,
// all drawn as vector paths and real text.

#include "carving_page.h"
#include "shown_design.h"

#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <QStringList>

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

// What the design sheet shows beyond the design: the rotor's performance
// and the carving table, each on a page of its own, when there is one.
struct SheetExtras {
    const PerformanceSheet* performance = nullptr;
    const CarvingSheet* carving = nullptr;
};

// Draws the sheet on the painter's page, in the device's own units; with
// extras, on further pages too (the device must then be a paged one).
void drawDesignSheet(QPainter& painter, const ShownDesign& design, const SheetExtras& extras = {});

// Writes the sheet as a PDF on `paper`: one page, and one for each extra.
bool writeDesignSheetPdf(const ShownDesign& design, const QPageSize& paper, const QString& title, QIODevice* out,
                         const SheetExtras& extras = {});

}  // namespace tivora
