#include "performance_sheet.h"

#include "millimetre_page.h"
#include "sheet/csv.h"
#include "sheet/design_file.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <array>
#include <utility>

namespace tivora {

void drawPerformancePage(QPainter& painter, const PerformanceSheet& sheet)
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
    y += static_cast<double>(half) * line + 4;

    // The charts two abreast, as many rows as they need; an odd last one
    // takes the whole width.
    const double pixel = 25.4 / 96 * mm;
    const double gap = 8;
    const double column = (width - 2 * margin - gap) / 2;
    const std::size_t rows = (sheet.charts.size() + 1) / 2;
    const double rowHeight = rows ? (height - margin - y - gap * static_cast<double>(rows - 1)) / rows : 0;
    font(8);
    for (std::size_t i = 0; i < sheet.charts.size(); ++i) {
        const double top = y + static_cast<double>(i / 2) * (rowHeight + gap);
        const bool alone = i % 2 == 0 && i + 1 == sheet.charts.size();
        const double left = margin + (i % 2 ? column + gap : 0);
        const double right = alone || i % 2 ? width - margin : margin + column;
        chart::draw(painter, QRectF(at(left, top), at(right, top + rowHeight)), sheet.charts[i], pixel, 8);
    }
    painter.restore();
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
