#pragma once

// The printed design sheet: one page with the inputs, the results, the
// station table, the blade planform to scale and the twist against radius,
// all drawn as vector paths and real text.

#include "shown_design.h"

#include <QPageSize>

class QIODevice;
class QLocale;
class QPainter;

namespace tivora {

// A4, or Letter where the locale's paper is Letter (the Americas' Letter
// countries and the Philippines).
QPageSize pageSizeFor(const QLocale& locale);

// Draws the sheet on the painter's page, in the device's own units.
void drawDesignSheet(QPainter& painter, const ShownDesign& design);

// Writes the sheet as a one-page PDF of the locale's paper size.
bool writeDesignSheetPdf(const ShownDesign& design, const QLocale& locale, QIODevice* out);

}  // namespace tivora
