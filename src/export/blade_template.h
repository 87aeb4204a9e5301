#pragma once

// The blade planform at full size: as SVG, for printing at 100 % or for a
// cutter (the document's width and height are in millimetres and one user
// unit is one millimetre), and as a PDF or a print job tiled over ordinary
// paper, to be taped together.

#include "shown_design.h"

#include <QByteArray>
#include <QPageSize>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

class QIODevice;
class QPainter;

namespace tivora {

// Space around the blade, in mm: room for the title and the 100 mm check
// bar above, and for the station labels below. The drawing starts `side`
// before the rotor axis (r = 0) and ends `side` beyond the tip.
struct TemplateMargins {
    static constexpr double side = 20;
    static constexpr double top = 30;
    static constexpr double bottom = 40;
};

// The template in millimetres, y downwards from the top left corner: the
// one drawing that the SVG and the tiled pages are made from.
struct TemplateDrawing {
    enum class Dash { Solid, Dotted, DashDot };
    struct Line {
        QPointF from, to;
        double stroke;
        QString id;  // named in the SVG for programs that read it
        Dash dash = Dash::Solid;
    };
    enum class Anchor { Start, Middle, End };
    struct Text {
        QPointF at;  // baseline
        QString words;
        double size;  // mm
        Anchor anchor = Anchor::Start;
    };
    QSizeF size;
    QPolygonF outline;
    std::vector<Line> lines;
    std::vector<Text> texts;
};

// Only for a design without a bladeProblem().
TemplateDrawing bladeTemplate(const ShownDesign& design);

// The template; empty when the station table holds no blade to draw.
QByteArray bladeTemplateSvg(const ShownDesign& design);

// How the drawing is cut into pages: tiles of at most `tile` millimetres,
// neighbours sharing `overlap` millimetres, row by row from the top left.
struct TileLayout {
    QSizeF tile;
    double overlap;
    int rows;
    int columns;
    QSizeF drawing;
    // The part of the drawing on the page at `row`, `column` (from 1).
    QRectF piece(int row, int column) const;
    int pages() const { return rows * columns; }
};

// The parts of a page of paper, in mm from its top left corner.
struct TiledPage {
    static constexpr double margin = 10;  // beyond what printers leave blank
    static constexpr double band = 16;    // below the tile: index and check bar
    static constexpr double overlap = 12;
    // Where the tile is printed on a sheet of `paper` millimetres.
    static QRectF tileArea(QSizeF paper);
};

TileLayout tileLayout(QSizeF drawing, QSizeF paper);

// Draws the template tiled, one tile per page of the painter's device (a
// QPagedPaintDevice), starting a new page between them.
void drawTiledTemplate(QPainter& painter, const TemplateDrawing& drawing);

// The tiled template as a PDF on `paper`, turned whichever way takes fewer
// pages.
bool writeTiledTemplatePdf(const TemplateDrawing& drawing, const QPageSize& paper, const QString& title,
                           QIODevice* out);

}  // namespace tivora
