#pragma once

// The carving table leaving the program: a page of the design sheet, and
// tab-separated text and an HTML table for the clipboard, from the texts the
// core made (workshop/carving_table.h), which carry the ASCII minus sign.

#include "workshop/carving_table.h"

#include <QString>
#include <QStringList>

class QPainter;

namespace tivora {

// The carving table as the Blade Sections window holds it, with the notes
// that say what it is of (the section, the trim).
struct CarvingSheet {
    workshop::CarvingTable table;
    QStringList notes;
};

// The notes that say what the table is of: how a section sits in the
// plank, and how the blade was trimmed, if it was.
QStringList carvingNotes(const workshop::Trim& trim, UnitSystem system, const NumberFormat& format);

// Draws the page in the device's own units: the figures of the section, the
// blank and the mass, then the table; the notes below the title.
void drawCarvingPage(QPainter& painter, const CarvingSheet& sheet);

// The figures, a blank line, the header and the rows.
QString carvingTableText(const workshop::CarvingTable& table);
QString carvingTableHtml(const workshop::CarvingTable& table);

}  // namespace tivora
