#pragma once

// The rotor's performance as the Rotor Performance window shows it, ready
// to leave the program: its charts, its figures and the power curve as
// text, all made from the analysis (never read back from the window). The
// design sheet draws it on the pages after its first; the CSV appends it as
// one block of rows.

#include "chart/chart.h"
#include "shown_design.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

class QPainter;

namespace tivora {

struct PerformanceSheet {
    std::vector<chart::Chart> charts;    // any number, laid out two abreast; the empty ones left off
    std::vector<ShownQuantity> figures;  // the site's and the analysis's: "Annual energy", "1 234", "kWh"
    QStringList tableHeader;             // of the power curve, with units
    std::vector<QStringList> table;      // one row per wind speed
};

// Draws the sheet's figures on the painter's page, in the device's own units,
// and its charts on the pages after it (a paged device's).
void drawPerformancePages(QPainter& painter, const PerformanceSheet& sheet);

// The rows the CSV gains: a blank line, the figures, a blank line, the power
// curve; in the separator the design's rows use.
QByteArray performanceCsvRows(const PerformanceSheet& sheet, const NumberFormat& format);

}  // namespace tivora
