#include "blade_template.h"

#include "millimetre_page.h"

#include "assets/typeface.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>

namespace tivora {

namespace {

QString dashes(TemplateDrawing::Dash dash)
{
    switch (dash) {
    case TemplateDrawing::Dash::Solid:
        break;
    case TemplateDrawing::Dash::Dotted:
        return QStringLiteral("1 1");
    case TemplateDrawing::Dash::DashDot:
        return QStringLiteral("8 2 1 2");
    }
    return {};
}

// Tiles of `tile` sharing `overlap` that cover `extent`.
int tilesAcross(double extent, double tile, double overlap)
{
    if (extent <= tile)
        return 1;
    // A hair's excess over a whole number of steps is rounding, not a page.
    return 1 + static_cast<int>(std::ceil((extent - tile) / (tile - overlap) - 1e-9));
}

}  // namespace

TemplateDrawing bladeTemplate(const ShownDesign& design)
{
    const auto geometry = bladeGeometry(design);
    TemplateDrawing drawing;
    if (!geometry || geometry->stations.empty())
        return drawing;
    const auto& stations = geometry->stations;
    const double tip = stations.back().radiusMm;
    double widest = 0;
    for (const auto& station : stations)
        widest = std::max(widest, station.chordMm);
    const double side = TemplateMargins::side;
    const double width = tip + 2 * side;
    drawing.size = QSizeF(width, widest + TemplateMargins::top + TemplateMargins::bottom);
    // The pitch axis runs straight at a quarter chord from the leading edge,
    // which is drawn on top; the rotor axis, r = 0, stands across it.
    const double axis = TemplateMargins::top + widest / 4;
    const auto x = [&](double radiusMm) { return side + radiusMm; };
    const auto leading = [&](double chordMm) { return axis - chordMm / 4; };
    const auto trailing = [&](double chordMm) { return axis + chordMm * 3 / 4; };
    const auto line = [&drawing](double x1, double y1, double x2, double y2, double stroke, const QString& id = {},
                                 TemplateDrawing::Dash dash = TemplateDrawing::Dash::Solid) {
        drawing.lines.push_back({{x1, y1}, {x2, y2}, stroke, id, dash});
    };
    const auto text = [&drawing](double atX, double atY, const QString& words, double size,
                                 TemplateDrawing::Anchor anchor = TemplateDrawing::Anchor::Start) {
        drawing.texts.push_back({{atX, atY}, words, size, anchor});
    };
    using Anchor = TemplateDrawing::Anchor;

    text(side, 8, QStringLiteral("Tivora blade template, full size (1:1). Root at the left, leading edge on top."), 4);
    // The rotor the blade belongs to: blades, radius, TSR, Cl and α.
    QStringList rotor;
    for (const int i : {0, 3, 1, 5, 6}) {
        const ShownQuantity& quantity = design.quantities[i];
        rotor << QStringLiteral("%1 %2%3%4")
                     .arg(quantity.caption, quantity.figure, quantity.unit == u"°" ? QString() : QStringLiteral(" "),
                          quantity.unit)
                     .trimmed();
    }
    text(side, 14, rotor.join(QStringLiteral(", ")), 3.5);
    const QString notes = QStringList{design.unsolved ? unsolvedNote() : QString(), design.trimNote}.join(u' ');
    if (!notes.trimmed().isEmpty())
        text(side, 20, notes.trimmed(), 3.5);
    // Measure this bar after printing: 100 mm means the scale is right.
    line(width - side - 100, 22, width - side, 22, 0.5, QStringLiteral("check-bar"));
    line(width - side - 100, 20, width - side - 100, 24, 0.3);
    line(width - side, 20, width - side, 24, 0.3);
    text(width - side - 50, 19, QStringLiteral("100 mm when printed at 100 %"), 3, Anchor::Middle);

    for (const auto& station : stations)
        drawing.outline << QPointF(x(station.radiusMm), leading(station.chordMm));
    for (auto it = stations.rbegin(); it != stations.rend(); ++it)
        drawing.outline << QPointF(x(it->radiusMm), trailing(it->chordMm));

    line(x(0), axis, x(tip) + 5, axis, 0.25, QStringLiteral("pitch-axis"), TemplateDrawing::Dash::DashDot);
    text(x(tip) + 6, axis + 1, QStringLiteral("¼ c"), 3);
    line(x(0), leading(widest) - 3, x(0), trailing(widest) + 3, 0.35, QStringLiteral("rotor-axis"),
         TemplateDrawing::Dash::DashDot);

    const double labels = TemplateMargins::top + widest + 8;
    text(x(0), labels, QStringLiteral("rotor axis"), 3, Anchor::Middle);
    text(x(0), labels + 5, QStringLiteral("r 0"), 2.8, Anchor::Middle);
    for (std::size_t i = 0; i < stations.size(); ++i) {
        const auto& station = stations[i];
        const ShownStation& shown = design.drawn[i];
        const double at = x(station.radiusMm);
        line(at, leading(station.chordMm), at, trailing(station.chordMm), 0.25,
             QStringLiteral("station-%1").arg(station.number));
        line(at, trailing(station.chordMm) + 1, at, labels - 4, 0.1, {}, TemplateDrawing::Dash::Dotted);
        text(at, labels, QString::number(station.number), 4, Anchor::Middle);
        text(at, labels + 5, QStringLiteral("r %1 %2").arg(shown.radius, design.radiusUnit), 2.8, Anchor::Middle);
        text(at, labels + 9, QStringLiteral("c %1 %2").arg(shown.chord, design.chordUnit), 2.8, Anchor::Middle);
        text(at, labels + 13, QStringLiteral("β %1°").arg(shown.twist), 2.8, Anchor::Middle);
    }
    return drawing;
}

QByteArray bladeTemplateSvg(const ShownDesign& design)
{
    if (!bladeProblem(design).isEmpty())
        return {};
    const TemplateDrawing drawing = bladeTemplate(design);
    const double width = drawing.size.width(), height = drawing.size.height();

    QByteArray svg;
    QXmlStreamWriter out(&svg);
    startMillimetreSvg(out, width, height, QStringLiteral("Tivora blade template, full size"));
    out.writeTextElement(QStringLiteral("desc"),
                         QStringLiteral("Print at 100 %: one unit is one millimetre. The rotor axis (r = 0) is "
                                        "%1 mm from the left edge; the drawing has %2 mm above and %3 mm below "
                                        "the blade.")
                             .arg(TemplateMargins::side)
                             .arg(TemplateMargins::top)
                             .arg(TemplateMargins::bottom));

    out.writeStartElement(QStringLiteral("g"));
    out.writeAttribute(QStringLiteral("font-family"), QString(kTypeface) + QStringLiteral(", Arial, sans-serif"));
    QString outline;
    for (const QPointF& point : drawing.outline)
        outline += (outline.isEmpty() ? QStringLiteral("M") : QStringLiteral("L")) + svgMillimetres(point.x()) + u',' +
                   svgMillimetres(point.y()) + u' ';
    out.writeEmptyElement(QStringLiteral("path"));
    out.writeAttribute(QStringLiteral("id"), QStringLiteral("outline"));
    out.writeAttribute(QStringLiteral("d"), outline + u'Z');
    out.writeAttribute(QStringLiteral("fill"), QStringLiteral("none"));
    out.writeAttribute(QStringLiteral("stroke"), QStringLiteral("black"));
    out.writeAttribute(QStringLiteral("stroke-width"), svgMillimetres(0.4));
    for (const auto& line : drawing.lines) {
        out.writeEmptyElement(QStringLiteral("line"));
        if (!line.id.isEmpty())
            out.writeAttribute(QStringLiteral("id"), line.id);
        out.writeAttribute(QStringLiteral("x1"), svgMillimetres(line.from.x()));
        out.writeAttribute(QStringLiteral("y1"), svgMillimetres(line.from.y()));
        out.writeAttribute(QStringLiteral("x2"), svgMillimetres(line.to.x()));
        out.writeAttribute(QStringLiteral("y2"), svgMillimetres(line.to.y()));
        out.writeAttribute(QStringLiteral("stroke"), QStringLiteral("black"));
        out.writeAttribute(QStringLiteral("stroke-width"), svgMillimetres(line.stroke));
        if (line.dash != TemplateDrawing::Dash::Solid)
            out.writeAttribute(QStringLiteral("stroke-dasharray"), dashes(line.dash));
    }
    for (const auto& text : drawing.texts) {
        static const QString anchors[] = {QStringLiteral("start"), QStringLiteral("middle"), QStringLiteral("end")};
        out.writeStartElement(QStringLiteral("text"));
        out.writeAttribute(QStringLiteral("x"), svgMillimetres(text.at.x()));
        out.writeAttribute(QStringLiteral("y"), svgMillimetres(text.at.y()));
        out.writeAttribute(QStringLiteral("font-size"), svgMillimetres(text.size));
        out.writeAttribute(QStringLiteral("text-anchor"), anchors[static_cast<int>(text.anchor)]);
        out.writeCharacters(text.words);
        out.writeEndElement();
    }
    out.writeEndElement();  // g
    out.writeEndElement();  // svg
    out.writeEndDocument();
    return out.hasError() ? QByteArray() : svg;
}

QRectF TileLayout::piece(int row, int column) const
{
    const double left = (column - 1) * (tile.width() - overlap);
    const double top = (row - 1) * (tile.height() - overlap);
    return {left, top, std::min(tile.width(), drawing.width() - left), std::min(tile.height(), drawing.height() - top)};
}

QRectF TiledPage::tileArea(QSizeF paper)
{
    return {margin, margin, paper.width() - 2 * margin, paper.height() - 2 * margin - band};
}

TileLayout tileLayout(QSizeF drawing, QSizeF paper)
{
    const QSizeF tile = TiledPage::tileArea(paper).size();
    const double overlap = TiledPage::overlap;
    // Paper too small to hold more than the overlaps (a label chosen in the
    // print dialog) would take countless pages: none instead.
    if (!(tile.width() > 3 * overlap && tile.height() > 3 * overlap))
        return {tile, overlap, 0, 0, drawing};
    return {tile, overlap, tilesAcross(drawing.height(), tile.height(), overlap),
            tilesAcross(drawing.width(), tile.width(), overlap), drawing};
}

namespace {

// Millimetres on a page to the device's units, as the design sheet draws.
class Sheet {
public:
    explicit Sheet(QPainter& painter) : painter_(painter), unit_(painter.device()->logicalDpiX() / 25.4) {}

    QSizeF paper() const { return {painter_.device()->width() / unit_, painter_.device()->height() / unit_}; }
    QPointF at(QPointF point) const { return point * unit_; }
    QRectF at(const QRectF& rect) const { return {at(rect.topLeft()), at(rect.bottomRight())}; }
    QPainter& painter() { return painter_; }

    void pen(double widthMm, Qt::PenStyle style = Qt::SolidLine)
    {
        painter_.setPen(QPen(Qt::black, widthMm * unit_, style, Qt::FlatCap));
    }
    void line(QPointF from, QPointF to) { painter_.drawLine(at(from), at(to)); }
    void text(QPointF baseline, const QString& words, double sizeMm, TemplateDrawing::Anchor anchor, bool bold = false)
    {
        QFont font(kTypeface);
        font.setPointSizeF(sizeMm * 72 / 25.4);
        font.setBold(bold);
        painter_.setFont(font);
        const double advance = QFontMetricsF(font, painter_.device()).horizontalAdvance(words);
        QPointF left = at(baseline);
        if (anchor == TemplateDrawing::Anchor::Middle)
            left.rx() -= advance / 2;
        else if (anchor == TemplateDrawing::Anchor::End)
            left.rx() -= advance;
        painter_.drawText(left, words);
    }

private:
    QPainter& painter_;
    double unit_;
};

// A target printed on both pages that share it: laid one over the other,
// the circles and crosses meet.
void alignmentMark(Sheet& sheet, QPointF centre)
{
    sheet.pen(0.2);
    sheet.line(centre - QPointF(4, 0), centre + QPointF(4, 0));
    sheet.line(centre - QPointF(0, 4), centre + QPointF(0, 4));
    const double radius = sheet.at(QPointF(2.5, 0)).x();
    sheet.painter().drawEllipse(sheet.at(centre), radius, radius);
}

void drawTile(Sheet& sheet, const TemplateDrawing& drawing, const TileLayout& layout, int row, int column)
{
    const QRectF area = TiledPage::tileArea(sheet.paper());
    const QRectF piece = layout.piece(row, column);
    const QRectF printed(area.topLeft(), piece.size());
    // Drawing coordinates to page millimetres.
    const QPointF shift = area.topLeft() - piece.topLeft();
    const auto onPage = [shift](QPointF point) { return point + shift; };
    QPainter& painter = sheet.painter();

    painter.save();
    painter.setClipRect(sheet.at(printed));
    // The bands this page shares with its neighbours, in grey: the next page
    // is laid on them.
    const double overlap = layout.overlap;
    const QColor shared(228, 228, 228);
    if (column > 1)
        painter.fillRect(sheet.at(QRectF(printed.left(), printed.top(), overlap, printed.height())), shared);
    if (column < layout.columns)
        painter.fillRect(sheet.at(QRectF(printed.right() - overlap, printed.top(), overlap, printed.height())), shared);
    if (row > 1)
        painter.fillRect(sheet.at(QRectF(printed.left(), printed.top(), printed.width(), overlap)), shared);
    if (row < layout.rows)
        painter.fillRect(sheet.at(QRectF(printed.left(), printed.bottom() - overlap, printed.width(), overlap)),
                         shared);

    QPolygonF outline;
    for (const QPointF& point : drawing.outline)
        outline << sheet.at(onPage(point));
    sheet.pen(0.4);
    painter.drawPolygon(outline);
    for (const auto& line : drawing.lines) {
        const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DotLine, Qt::DashDotLine};
        sheet.pen(line.stroke, styles[static_cast<int>(line.dash)]);
        sheet.line(onPage(line.from), onPage(line.to));
    }
    for (const auto& text : drawing.texts)
        sheet.text(onPage(text.at), text.words, text.size, text.anchor);

    // Targets in the middle of every shared band, and where two bands cross;
    // each shows on every page that holds its spot.
    std::vector<double> acrossBands, downBands, acrossMiddles, downMiddles;
    for (int c = 1; c <= layout.columns; ++c) {
        acrossMiddles.push_back(layout.piece(1, c).center().x());
        if (c < layout.columns)
            acrossBands.push_back(layout.piece(1, c).right() - overlap / 2);
    }
    for (int r = 1; r <= layout.rows; ++r) {
        downMiddles.push_back(layout.piece(r, 1).center().y());
        if (r < layout.rows)
            downBands.push_back(layout.piece(r, 1).bottom() - overlap / 2);
    }
    for (double x : acrossBands) {
        for (double y : downMiddles)
            alignmentMark(sheet, onPage({x, y}));
        for (double y : downBands)
            alignmentMark(sheet, onPage({x, y}));
    }
    for (double y : downBands) {
        for (double x : acrossMiddles)
            alignmentMark(sheet, onPage({x, y}));
    }
    painter.restore();

    // Crop marks: short lines outside each corner, in line with the edges.
    sheet.pen(0.15);
    for (const QPointF corner : {printed.topLeft(), printed.topRight(), printed.bottomLeft(), printed.bottomRight()}) {
        const double outX = corner.x() == printed.left() ? -1 : 1;
        const double outY = corner.y() == printed.top() ? -1 : 1;
        sheet.line(corner + QPointF(outX * 1.5, 0), corner + QPointF(outX * 7, 0));
        sheet.line(corner + QPointF(0, outY * 1.5), corner + QPointF(0, outY * 7));
    }

    // The band below: where this page goes, what it covers, the check bar.
    using Anchor = TemplateDrawing::Anchor;
    const double band = area.bottom();
    sheet.text(
        {area.left(), band + 11},
        QStringLiteral("row %1, column %2 of %3 × %4 pages").arg(row).arg(column).arg(layout.rows).arg(layout.columns),
        3.2, Anchor::Start, true);
    sheet.text({area.left(), band + 15},
               QStringLiteral("Tivora blade template 1:1. This page: across %1 to %2 mm, down %3 to %4 mm.")
                   .arg(svgMillimetres(piece.left()), svgMillimetres(piece.right()), svgMillimetres(piece.top()),
                        svgMillimetres(piece.bottom())),
               2.5, Anchor::Start);
    sheet.text({area.left(), band + 18.5},
               QStringLiteral("Trim one page at its crop marks, lay it on the grey band of the next, match the "
                              "targets and tape."),
               2.5, Anchor::Start);
    const double barLeft = area.right() - 100;
    sheet.pen(0.4);
    sheet.line({barLeft, band + 10}, {area.right(), band + 10});
    sheet.pen(0.25);
    sheet.line({barLeft, band + 8.5}, {barLeft, band + 11.5});
    sheet.line({area.right(), band + 8.5}, {area.right(), band + 11.5});
    sheet.text({barLeft + 50, band + 8}, QStringLiteral("100 mm when printed at 100 %"), 2.5, Anchor::Middle);
}

}  // namespace

void drawTiledTemplate(QPainter& painter, const TemplateDrawing& drawing)
{
    Sheet sheet(painter);
    auto* pages = dynamic_cast<QPagedPaintDevice*>(painter.device());
    const TileLayout layout = tileLayout(drawing.size, sheet.paper());
    if (layout.pages() == 0) {
        sheet.text({TiledPage::margin, TiledPage::margin + 5},
                   QStringLiteral("This paper is too small for the template."), 3.5, TemplateDrawing::Anchor::Start);
        return;
    }
    for (int row = 1; row <= layout.rows; ++row) {
        for (int column = 1; column <= layout.columns; ++column) {
            if ((row > 1 || column > 1) && !(pages && pages->newPage()))
                return;
            drawTile(sheet, drawing, layout, row, column);
        }
    }
}

bool writeTiledTemplatePdf(const TemplateDrawing& drawing, const QPageSize& paper, const QString& title, QIODevice* out)
{
    const QSizeF portrait = paper.size(QPageSize::Millimeter);
    const QSizeF landscape = portrait.transposed();
    const bool turned = tileLayout(drawing.size, landscape).pages() < tileLayout(drawing.size, portrait).pages();
    QPdfWriter pdf(out);
    pdf.setCreator(QStringLiteral("Tivora"));
    pdf.setTitle(title);
    pdf.setPageLayout(QPageLayout(paper, turned ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));
    pdf.setResolution(720);
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;
    drawTiledTemplate(painter, drawing);
    return painter.end();
}

}  // namespace tivora
