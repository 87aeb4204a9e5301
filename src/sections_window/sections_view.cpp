#include "sections_view.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace tivora {

SectionsView::SectionsView(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(420, 320);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void SectionsView::setFigures(std::vector<SectionFigure> figures)
{
    figures_ = std::move(figures);
    QStringList described;
    for (const SectionFigure& figure : figures_)
        described << figure.title + QStringLiteral(": ") + figure.facts.join(QStringLiteral(", "));
    setAccessibleDescription(described.join(QStringLiteral("; ")));
    update();
}

void SectionsView::paintEvent(QPaintEvent*)
{
    if (figures_.empty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(font());
    const double label = metrics.height() + 4;
    // Each section as large as its box allows, with room for the windward
    // face's line at its sides: the tip's are too small to read at the
    // root's scale.
    const auto room = [](const SectionFigure& figure) { return figure.section.adjusted(-6, -3, 6, 3); };
    const int count = static_cast<int>(figures_.size());
    // As many columns as make the smallest drawing the largest.
    int columns = 1;
    double best = 0;
    for (int c = 1; c <= count; ++c) {
        const int rows = (count + c - 1) / c;
        const double cellWidth = (width() - 8.0) / c - 10, cellHeight = (height() - 8.0) / rows - label - 6;
        double smallest = cellWidth;
        for (const SectionFigure& figure : figures_)
            smallest = std::min(smallest, cellHeight * room(figure).width() / room(figure).height());
        if (smallest > best) {
            best = smallest;
            columns = c;
        }
    }
    const int rows = (count + columns - 1) / columns;
    const double cellWidth = (width() - 8.0) / columns;
    const double cellHeight = (height() - 8.0) / rows;
    scale_ = 0;
    for (int i = 0; i < count; ++i) {
        const SectionFigure& figure = figures_[static_cast<std::size_t>(i)];
        const QRectF cell(4 + cellWidth * (i % columns), 4 + cellHeight * (i / columns), cellWidth - 10,
                          cellHeight - 6);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(cell.topLeft() + QPointF(0, metrics.ascent() + 1),
                         figure.title + QStringLiteral("   ") + figure.facts.mid(0, 2).join(QStringLiteral("   ")));
        const QRectF box = cell.adjusted(0, label, 0, 0);
        const QRectF wanted = room(figure);
        const double scale = std::min(box.width() / wanted.width(), box.height() / wanted.height());
        scale_ = i == 0 ? scale : std::min(scale_, scale);
        const QPointF offset = box.topLeft() - wanted.topLeft() * scale;
        const QTransform toDevice =
            QTransform::fromScale(scale, scale) * QTransform::fromTranslate(offset.x(), offset.y());
        painter.save();
        painter.setClipRect(box);
        drawSectionLines(painter, figure, toDevice, true, std::clamp(scale, 2.5, 5.0));
        painter.restore();
    }
}

}  // namespace tivora
