#include "performance_sheet.h"

#include "millimetre_page.h"
#include "sheet/csv.h"
#include "sheet/design_file.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <array>
#include <utility>

namespace tivora {

void drawPerformancePages(QPainter& painter, const PerformanceSheet& sheet)
{
    const MillimetrePage page(painter);
    const double mm = page.mm, width = page.width, height = page.height, margin = page.margin;
    const auto at = [&page](double x, double y) { return page.at(x, y); };
    const auto font = [&page](double points, bool bold = false) { page.font(points, bold); };

    painter.save();
    double y = page.title(QStringLiteral("Tivora rotor performance"));

    // The figures in two columns, each a caption, a figure set right and its
    // unit; the type is made smaller until the longest row of each fits.
    y += 10;
    const std::size_t half = (sheet.figures.size() + 1) / 2;
    const double columnWidth = (width - 2 * margin) / 2 - 4;
    double points = 10;
    const auto widthsAt = [&](double size, std::size_t from, std::size_t to) {
        font(size);
        const QFontMetricsF metrics(painter.font(), painter.device());
        double caption = 0, figure = 0, unit = 0;
        for (std::size_t i = from; i < to; ++i) {
            caption = std::max(caption, metrics.horizontalAdvance(sheet.figures[i].caption) / mm);
            figure = std::max(figure, metrics.horizontalAdvance(sheet.figures[i].figure) / mm);
            unit = std::max(unit, metrics.horizontalAdvance(sheet.figures[i].unit) / mm);
        }
        return std::array<double, 3>{caption, figure, unit};
    };
    const auto fits = [&](double size) {
        for (const auto& [from, to] : {std::pair{std::size_t(0), half}, std::pair{half, sheet.figures.size()}}) {
            const auto [caption, figure, unit] = widthsAt(size, from, to);
            if (caption + 3 + figure + 2 + unit > columnWidth)
                return false;
        }
        return true;
    };
    while (points > 6 && !fits(points))
        points -= 0.5;
    const double line = points * 0.56;
    for (const auto& [from, to] : {std::pair{std::size_t(0), half}, std::pair{half, sheet.figures.size()}}) {
        const auto [caption, figure, unit] = widthsAt(points, from, to);
        const QFontMetricsF metrics(painter.font(), painter.device());
        const double left = margin + (from == 0 ? 0 : (width - 2 * margin) / 2);
        const double right = left + caption + 3 + figure;
        for (std::size_t i = from; i < to; ++i) {
            const ShownQuantity& q = sheet.figures[i];
            const double row = y + static_cast<double>(i - from) * line;
            painter.drawText(at(left, row), q.caption);
            painter.drawText(QPointF(right * mm - metrics.horizontalAdvance(q.figure), row * mm), q.figure);
            painter.drawText(at(right + 2, row), q.unit);
        }
    }
    painter.restore();

    // The charts on pages of their own, two abreast and at most four rows a
    // page, each row of the same height whatever the number of charts; an
    // odd last one takes the whole width. A chart with nothing to draw (the
    // site's wind, when none is loaded) is no use on paper.
    std::vector<const chart::Chart*> drawn;
    for (const chart::Chart& c : sheet.charts)
        if (c.empty.isEmpty())
            drawn.push_back(&c);
    auto* paged = dynamic_cast<QPagedPaintDevice*>(painter.device());
    constexpr std::size_t kRowsAPage = 4;
    const double pixel = 25.4 / 96 * mm;
    const double gap = 8;
    const double column = (width - 2 * margin - gap) / 2;
    for (std::size_t first = 0; first < drawn.size() && paged && paged->newPage(); first += 2 * kRowsAPage) {
        painter.save();
        const double top = page.title(QStringLiteral("Tivora rotor performance: charts")) + 8;
        const double rowHeight = (height - margin - top - gap * (kRowsAPage - 1)) / kRowsAPage;
        font(8);
        for (std::size_t i = first; i < std::min(drawn.size(), first + 2 * kRowsAPage); ++i) {
            const std::size_t k = i - first;
            const double y0 = top + static_cast<double>(k / 2) * (rowHeight + gap);
            const bool alone = k % 2 == 0 && i + 1 == drawn.size();
            const double left = margin + (k % 2 ? column + gap : 0);
            const double right = alone || k % 2 ? width - margin : margin + column;
            chart::draw(painter, QRectF(at(left, y0), at(right, y0 + rowHeight)), *drawn[i], pixel, 8);
        }
        painter.restore();
    }
}

QByteArray performanceCsvRows(const PerformanceSheet& sheet, const NumberFormat& format)
{
    // The design's own separator, so that a decimal comma stays inside its cell.
    CsvWriter csv(format);
    const auto row = [&](const QStringList& cells) {
        std::vector<std::string> fields;
        for (const QString& cell : cells)
            fields.push_back(spreadsheetFigure(cell.toStdString()));
        csv.row(fields);
    };
    csv.row({});
    row({QString::fromUtf8(kPerformanceRows), QStringLiteral("Value"), QStringLiteral("Unit")});
    for (const ShownQuantity& q : sheet.figures)
        row({q.caption, q.figure, q.unit});
    csv.row({});
    row(sheet.tableHeader);
    for (const QStringList& cells : sheet.table)
        row(cells);
    return QByteArray::fromStdString(csv.text());
}

}  // namespace tivora
