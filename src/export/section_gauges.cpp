#include "section_gauges.h"

#include "assets/typeface.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTransform>

namespace tivora {

namespace {

constexpr double kLabels = 11;  // the two label lines above a gauge
constexpr double kBeyond = 10;  // the face's line beyond the section at each side

QRectF usableArea(QSizeF paper)
{
    const double m = GaugePage::margin;
    return {m, m, paper.width() - 2 * m, paper.height() - 2 * m - GaugePage::band};
}

std::vector<QSizeF> sizesOf(const std::vector<SectionFigure>& figures)
{
    std::vector<QSizeF> sizes;
    for (const SectionFigure& figure : figures)
        sizes.push_back(gaugeBounds(figure).size());
    return sizes;
}

void text(QPainter& painter, double unit, QPointF baselineMm, const QString& words, double sizeMm, bool bold = false,
          bool centred = false)
{
    QFont font(kTypeface);
    font.setPointSizeF(sizeMm * 72 / 25.4);
    font.setBold(bold);
    painter.setFont(font);
    QPointF at = baselineMm * unit;
    if (centred)
        at.rx() -= QFontMetricsF(font, painter.device()).horizontalAdvance(words) / 2;
    painter.drawText(at, words);
}

void drawPage(QPainter& painter, const std::vector<SectionFigure>& figures, const GaugeLayout& layout, int page)
{
    const double unit = painter.device()->logicalDpiX() / 25.4;  // device units per millimetre
    painter.setPen(Qt::black);
    for (std::size_t i = 0; i < figures.size(); ++i) {
        if (layout.places[i].page != page)
            continue;
        const SectionFigure& figure = figures[i];
        const QRectF bounds = gaugeBounds(figure);
        const QPointF shift = layout.places[i].at - bounds.topLeft();
        const QTransform toDevice = QTransform::fromTranslate(shift.x(), shift.y()) * QTransform::fromScale(unit, unit);
        drawSectionLines(painter, figure, toDevice, false, unit);
        painter.setPen(Qt::black);
        const QPointF labels = layout.places[i].at + QPointF(0, 4);
        text(painter, unit, labels,
             QStringLiteral("%1   %2").arg(figure.title, figure.facts.mid(0, 2).join(QStringLiteral("   "))), 3.5,
             true);
        text(painter, unit, labels + QPointF(0, 4.5), figure.facts.mid(2).join(QStringLiteral("   ")), 2.6);
        text(painter, unit, QPointF(figure.section.right() + 1, -1) + shift, QStringLiteral("windward face"), 2.2);
    }
    // Below: what the page is, and the bar to check the printer's scale by.
    const QRectF area = usableArea(layout.paper);
    const double band = area.bottom();
    const QString lines[] = {
        QStringLiteral("Tivora section gauges, full size (1:1), page %1 of %2.").arg(page).arg(layout.pages),
        QStringLiteral("Seen from the tip, wind from above. Cut each along its outline; the dashed line"),
        QStringLiteral("is the plank's windward face, the cross the pitch axis. Turned over: the other hand.")};
    for (int i = 0; i < 3; ++i)
        text(painter, unit, {area.left(), band + 5 + 3.5 * i}, lines[i], 2.5, i == 0);
    const double barLeft = area.right() - 100;
    painter.setPen(QPen(Qt::black, 0.4 * unit, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(barLeft, band + 8) * unit, QPointF(area.right(), band + 8) * unit);
    painter.setPen(QPen(Qt::black, 0.25 * unit, Qt::SolidLine, Qt::FlatCap));
    for (const double x : {barLeft, area.right()})
        painter.drawLine(QPointF(x, band + 6.5) * unit, QPointF(x, band + 9.5) * unit);
    painter.setPen(Qt::black);
    text(painter, unit, {barLeft + 50, band + 5.5}, QStringLiteral("100 mm when printed at 100 %"), 2.5, false, true);
}

}  // namespace

QRectF gaugeBounds(const SectionFigure& figure)
{
    const QRectF& s = figure.section;
    return QRectF(QPointF(s.left() - kBeyond, std::min(s.top(), 0.0) - kLabels),
                  QPointF(s.right() + kBeyond, s.bottom() + 3));
}

GaugeLayout gaugeLayout(const std::vector<QSizeF>& gauges, QSizeF paper)
{
    GaugeLayout layout;
    layout.paper = paper;
    const QRectF area = usableArea(paper);
    double x = area.left(), y = area.top(), rowHeight = 0;
    int page = 1;
    for (std::size_t i = 0; i < gauges.size(); ++i) {
        const QSizeF size = gauges[i];
        if (size.width() > area.width() || size.height() > area.height()) {
            layout.tooLarge = static_cast<int>(i);
            return layout;
        }
        if (x + size.width() > area.right()) {
            x = area.left();
            y += rowHeight + GaugePage::gap;
            rowHeight = 0;
        }
        if (y + size.height() > area.bottom()) {
            ++page;
            x = area.left();
            y = area.top();
            rowHeight = 0;
        }
        layout.places.push_back({page, {x, y}});
        x += size.width() + GaugePage::gap;
        rowHeight = std::max(rowHeight, size.height());
    }
    layout.pages = gauges.empty() ? 0 : page;
    return layout;
}

GaugeLayout gaugeLayoutOn(const std::vector<SectionFigure>& figures, const QPageSize& paper)
{
    const QSizeF portrait = paper.size(QPageSize::Millimeter);
    const GaugeLayout upright = gaugeLayout(sizesOf(figures), portrait);
    const GaugeLayout turned = gaugeLayout(sizesOf(figures), portrait.transposed());
    if (upright.tooLarge || turned.tooLarge)
        return upright.tooLarge && !turned.tooLarge ? turned : upright;
    return turned.pages < upright.pages ? turned : upright;
}

QString gaugesProblem(const std::vector<SectionFigure>& figures, const QPageSize& paper)
{
    if (figures.empty())
        return QStringLiteral("There is no blade to draw: solve the design first.");
    const GaugeLayout layout = gaugeLayoutOn(figures, paper);
    if (!layout.tooLarge)
        return {};
    const SectionFigure& figure = figures[static_cast<std::size_t>(*layout.tooLarge)];
    const QSizeF size = gaugeBounds(figure).size();
    return QStringLiteral("The gauge of station %1 (%2 × %3 mm) is larger than a page of %4 paper. Cap the chord "
                          "(the root you would cut) or save the sections as SVG.")
        .arg(figure.station)
        .arg(qRound(size.width()))
        .arg(qRound(size.height()))
        .arg(paper.name());
}

void drawSectionGauges(QPainter& painter, const std::vector<SectionFigure>& figures)
{
    const double unit = painter.device()->logicalDpiX() / 25.4;
    const QSizeF paper(painter.device()->width() / unit, painter.device()->height() / unit);
    const GaugeLayout layout = gaugeLayout(sizesOf(figures), paper);
    if (layout.tooLarge) {
        text(painter, unit, {GaugePage::margin, GaugePage::margin + 5},
             QStringLiteral("This paper is too small for the gauge of station %1.")
                 .arg(figures[static_cast<std::size_t>(*layout.tooLarge)].station),
             3.5);
        return;
    }
    auto* pages = dynamic_cast<QPagedPaintDevice*>(painter.device());
    for (int page = 1; page <= layout.pages; ++page) {
        if (page > 1 && !(pages && pages->newPage()))
            return;
        drawPage(painter, figures, layout, page);
    }
}

bool writeSectionGaugesPdf(const std::vector<SectionFigure>& figures, const QPageSize& paper, const QString& title,
                           QIODevice* out)
{
    const GaugeLayout layout = gaugeLayoutOn(figures, paper);
    if (layout.tooLarge || layout.pages == 0)
        return false;
    QPdfWriter pdf(out);
    pdf.setCreator(QStringLiteral("Tivora"));
    pdf.setTitle(title);
    const bool turned = layout.paper.width() > layout.paper.height();
    pdf.setPageLayout(QPageLayout(paper, turned ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));
    pdf.setResolution(720);
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;
    for (int page = 1; page <= layout.pages; ++page) {
        if (page > 1 && !pdf.newPage())
            return false;
        drawPage(painter, figures, layout, page);
    }
    return painter.end();
}

}  // namespace tivora
