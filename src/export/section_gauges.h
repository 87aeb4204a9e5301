#pragma once

// Section gauges at full size, to print on card and cut out: each gauge whole
// on a page, as many to a page as fit, every page with a bar that measures
// 100 mm when printed at 100 %.

#include "section_drawing.h"

#include <QPageSize>
#include <QSizeF>

#include <optional>
#include <vector>

class QIODevice;

namespace tivora {

struct GaugePage {
    static constexpr double margin = 10;  // beyond what printers leave blank
    static constexpr double band = 14;    // below: the page's note and the check bar
    static constexpr double gap = 5;      // between gauges
};

// A gauge's extent around its section: the windward face's line beyond it
// at the sides, its two label lines above. In the figure's millimetres.
QRectF gaugeBounds(const SectionFigure& figure);

struct GaugeLayout {
    QSizeF paper;  // mm, as turned
    int pages = 0;
    struct Place {
        int page;    // from 1
        QPointF at;  // the gauge's top left corner on its page, mm
    };
    std::vector<Place> places;    // one a gauge, in their order
    std::optional<int> tooLarge;  // the index of a gauge no page holds whole
};

// Row by row, top to bottom, a new page when the next gauge does not fit.
GaugeLayout gaugeLayout(const std::vector<QSizeF>& gauges, QSizeF paper);

// The layout on `paper` turned whichever way takes fewer pages, or holds
// every gauge whole.
GaugeLayout gaugeLayoutOn(const std::vector<SectionFigure>& figures, const QPageSize& paper);

// Why the gauges cannot be printed on `paper`, naming the station; empty
// when they can.
QString gaugesProblem(const std::vector<SectionFigure>& figures, const QPageSize& paper);

// Draws the gauges laid out for the painter's own pages (a QPagedPaintDevice),
// starting a new page between pages.
void drawSectionGauges(QPainter& painter, const std::vector<SectionFigure>& figures);

// The gauges as a PDF on `paper`; false when they cannot be drawn.
bool writeSectionGaugesPdf(const std::vector<SectionFigure>& figures, const QPageSize& paper, const QString& title,
                           QIODevice* out);

}  // namespace tivora
