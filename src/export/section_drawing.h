#pragma once

// The blade's sections drawn as the builder sees them from the tip, wind
// from above, the leading edge to the left: each at its β about the pitch
// axis, in the plank. One drawing in millimetres, y down from the plank's
// windward face, that the Blade Sections window, the SVG and the card
// gauges all draw; made from the core's carving and its table's texts, so a
// caller without a window (the command line) makes the same bytes.

#include "workshop/carving_table.h"

#include <QByteArray>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <vector>

class QPainter;
class QTransform;

namespace tivora {

struct SectionFigure {
    int station = 0;
    QPolygonF outline;  // closed: the last point joins the first
    QRectF section;     // the outline's bounds
    QRectF blank;       // the plank's cross-section
    QPointF pitchAxis, leadingEdge, trailingEdge;
    QString title;      // "Station 3"
    QStringList facts;  // "r 0.3 m", "β 11.6°", "chord 149 mm", ...
};

std::vector<SectionFigure> sectionFigures(const workshop::Carving& carving, const workshop::CarvingTable& table);

// Draws the lines of one figure through `toDevice` (millimetres to the
// device): the plank's outline when `plank`, else the windward face as a
// line across the section; the outline, its chord line and the pitch axis.
// Stroke widths are in millimetres times `strokeUnit` device units.
void drawSectionLines(QPainter& painter, const SectionFigure& figure, const QTransform& toDevice, bool plank,
                      double strokeUnit);

// Every section one below the other with its plank, at full size: one
// user unit one millimetre, width and height in millimetres. Each outline
// is a closed path with the id "section-N".
QByteArray sectionsSvg(const std::vector<SectionFigure>& figures, const QString& title);

}  // namespace tivora
