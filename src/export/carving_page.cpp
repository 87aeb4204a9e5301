#include "carving_page.h"

#include "millimetre_page.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QStringList>

namespace tivora {

namespace {

QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

// A header cut into lines no wider than `width` device units.
QStringList wrapped(const QString& header, const QFontMetricsF& metrics, double width)
{
    QStringList lines;
    for (const QString& word : header.split(u' ')) {
        if (!lines.isEmpty() && metrics.horizontalAdvance(lines.back() + u' ' + word) <= width)
            lines.back() += u' ' + word;
        else
            lines << word;
    }
    return lines;
}

}  // namespace

void drawCarvingPage(QPainter& painter, const CarvingSheet& sheet)
{
    const workshop::CarvingTable& table = sheet.table;
    const MillimetrePage page(painter);
    const double mm = page.mm, width = page.width, margin = page.margin;
    const auto at = [&page](double x, double y) { return page.at(x, y); };
    const auto font = [&page](double points, bool bold = false) { page.font(points, bold); };
    const auto right = [&painter](QPointF at, const QString& text) {
        const double advance = QFontMetricsF(painter.font(), painter.device()).horizontalAdvance(text);
        painter.drawText(at - QPointF(advance, 0), text);
    };

    painter.save();
    double y = page.title(QStringLiteral("Carving the blade"));
    font(8);
    y += 8;
    const QFontMetricsF noteMetrics(painter.font(), painter.device());
    for (const QString& note : sheet.notes) {
        for (const QString& line : wrapped(note, noteMetrics, (width - 2 * margin) * mm)) {
            painter.drawText(at(margin, y), line);
            y += 3.8;
        }
    }

    // The section, the blank and the mass in two columns.
    font(10);
    y += 4;
    const std::size_t half = (table.figures.size() + 1) / 2;
    for (std::size_t i = 0; i < table.figures.size(); ++i) {
        const auto& figure = table.figures[i];
        const double left = margin + (i < half ? 0 : (width - 2 * margin) / 2);
        const double row = y + static_cast<double>(i % half) * 5.6;
        painter.drawText(at(left, row), q(figure.caption));
        right(at(left + 68, row), q(figure.value));
        painter.drawText(at(left + 70, row), q(figure.unit));
    }
    y += static_cast<double>(half) * 5.6 + 6;

    // The table: narrow columns under headers of two or three lines.
    const std::size_t columns = table.header.size();
    if (columns == 0)
        return painter.restore();
    const double columnWidth = (width - 2 * margin) / static_cast<double>(columns);
    font(8, true);
    const QFontMetricsF metrics(painter.font(), painter.device());
    std::vector<QStringList> headers;
    qsizetype lines = 1;
    for (const std::string& header : table.header) {
        headers.push_back(wrapped(q(header), metrics, (columnWidth - 1.5) * mm));
        lines = std::max(lines, headers.back().size());
    }
    for (std::size_t c = 0; c < columns; ++c) {
        const double x = margin + columnWidth * static_cast<double>(c + 1) - 1;
        for (qsizetype l = 0; l < headers[c].size(); ++l)
            right(at(x, y + 3.5 * static_cast<double>(lines - headers[c].size() + l)), headers[c][l]);
    }
    y += 3.5 * static_cast<double>(lines - 1) + 1.5;
    painter.setPen(QPen(Qt::black, 0.2 * mm));
    painter.drawLine(at(margin, y), at(width - margin, y));
    painter.setPen(Qt::black);
    font(9);
    y += 5;
    for (const auto& row : table.rows) {
        for (std::size_t c = 0; c < columns && c < row.size(); ++c)
            right(at(margin + columnWidth * static_cast<double>(c + 1) - 1, y), q(row[c]));
        y += 5;
    }
    painter.restore();
}

QStringList carvingNotes(const workshop::Trim& trim, UnitSystem system, const NumberFormat& format)
{
    QStringList notes{QCoreApplication::translate(
        "SectionsWindow",
        "Seen from the tip, wind from above, the leading edge to the left. Width on the plank: chord × cos β; drop: "
        "how far the trailing edge lies below the leading edge, chord × sin β; leading edge below face: where a "
        "cambered pressure side bulges past its chord line, the section sits that much deeper so that it touches "
        "the plank's windward face.")};
    if (const std::string words = workshop::trimDescription(trim, system, format); !words.empty())
        notes << QString::fromStdString(words);
    return notes;
}

QString carvingTableText(const workshop::CarvingTable& table)
{
    QString text;
    for (const auto& figure : table.figures)
        text += QStringList{q(figure.caption), q(figure.value), q(figure.unit)}.join(u'\t') + u'\n';
    text += u'\n';
    QStringList header;
    for (const std::string& cell : table.header)
        header << q(cell);
    text += header.join(u'\t') + u'\n';
    for (const auto& row : table.rows) {
        QStringList cells;
        for (const std::string& cell : row)
            cells << q(cell);
        text += cells.join(u'\t') + u'\n';
    }
    return text;
}

QString carvingTableHtml(const workshop::CarvingTable& table)
{
    QString html = QStringLiteral("<meta charset=\"utf-8\">\n<table>\n");
    const auto row = [&html](const std::vector<std::string>& cells, bool header) {
        html += QStringLiteral("<tr>");
        for (const std::string& cell : cells)
            html +=
                (header ? QStringLiteral("<th>%1</th>") : QStringLiteral("<td>%1</td>")).arg(q(cell).toHtmlEscaped());
        html += QStringLiteral("</tr>\n");
    };
    for (const auto& figure : table.figures)
        row({figure.caption, figure.value, figure.unit}, false);
    row(table.header, true);
    for (const auto& cells : table.rows)
        row(cells, false);
    return html + QStringLiteral("</table>\n");
}

}  // namespace tivora
