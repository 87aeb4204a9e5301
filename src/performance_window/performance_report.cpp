#include "performance_report.h"

#include "performance/report.h"
#include "problem_words.h"

#include <QCoreApplication>

namespace tivora {

using namespace performance;

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("tivora::PerformanceWindow", text);
}

QString unitIn(Quantity quantity, UnitSystem system)
{
    return QString::fromStdString(unitOf(quantity, system));
}

QString percent(double share, const NumberFormat& format)
{
    return shownFigure(share * 100, 1, format);
}

}  // namespace

std::vector<PowerCurveRow> tableRows(const Analysis& analysis)
{
    std::vector<PowerCurveRow> rows;
    for (const PowerCurveRow& row : analysis.curve()) {
        if (row.windMps > 0)
            rows.push_back(row);
    }
    return rows;
}

PerformanceSheet reportOf(const Analysis& analysis, const AnalysisInputs& inputs, UnitSystem system,
                          const NumberFormat& format)
{
    PerformanceSheet report;
    const DesignFigures design{analysis.generatorWatts};
    const auto add = [&](const QString& caption, const QString& figure, const QString& unit) {
        report.figures.push_back({caption, figure, unit});
    };
    // What was analysed: every input that counts for the running shown.
    for (const InputEntry& entry : inputTable()) {
        // A default that follows other figures is among the results below.
        if (entry.kind == InputKind::Design || !inputs.enabled(entry) || entry.derived != DerivedDefault::None)
            continue;
        // The blade as carved is the Blade Sections window's; its figures say what it costs.
        if (entry.group == InputGroup::Carving)
            continue;
        switch (entry.kind) {
        case InputKind::Number:
            add(captionText(entry),
                shownFigure(shownFromSi(entry.quantity, system, valueOf(inputs, entry.id, design)), entry.decimals,
                            format),
                unitIn(entry.quantity, system));
            break;
        case InputKind::Choice:
            add(captionText(entry), tr(entry.choices[static_cast<std::size_t>(inputs.choice(entry.id))].caption.data()),
                {});
            break;
        case InputKind::File:
            if (inputs.file(entry.id).text)
                add(captionText(entry), QString::fromStdString(inputs.file(entry.id).name), {});
            break;
        case InputKind::Design:
            break;
        }
    }
    // What it gave.
    for (const Figure& figure : analysisFigures(analysis, FigureScope::Shown))
        add(tr(figure.caption.c_str()),
            QString::fromStdString(
                figureText(shownFromSi(figure.quantity, system, figure.value), figure.decimals, format)),
            unitIn(figure.quantity, system));
    for (const EnergyRow& row : energyRows(analysis, FigureScope::Shown)) {
        // The design's own first; a measured curve's named as such.
        const bool measured = row.key == "measured";
        add(measured ? tr("Measured curve's annual energy") : tr("Annual energy"),
            shownFigure(row.energy.energy.kilowattHours, 0, format), tr("kWh"));
        add((measured ? tr("Its capacity factor against %1") : tr("Capacity factor against %1"))
                .arg(tr(basisWords(row.energy.basis).data())),
            percent(row.energy.capacityFactor, format), QStringLiteral("%"));
        if (row.energy.energy.standbyKilowattHours < 0)
            add(measured ? tr("Its standby draw") : tr("Standby draw"),
                shownFigure(row.energy.energy.standbyKilowattHours, 0, format), tr("kWh"));
    }

    for (const ColumnEntry& column : powerCurveColumns()) {
        const QString unit = unitIn(column.quantity, system);
        report.tableHeader << (unit.isEmpty() ? tr(column.caption.data())
                                              : QStringLiteral("%1 (%2)").arg(tr(column.caption.data()), unit));
    }
    for (const PowerCurveRow& row : tableRows(analysis)) {
        QStringList cells;
        for (const ColumnEntry& column : powerCurveColumns()) {
            const std::optional<std::string_view> words = columnWords(column.id, row);
            cells << (words ? (words->empty() ? QString() : tr(std::string(*words).c_str()))
                            : QString::fromStdString(
                                  figureText(shownFromSi(column.quantity, system, columnValue(column.id, row)),
                                             column.decimals, format)));
        }
        report.table.push_back(cells);
    }
    return report;
}

std::unique_ptr<QMimeData> tableAsMimeData(const PerformanceSheet& report)
{
    const auto plain = [](QString cell) { return cell.replace(QChar(0x2212), u'-'); };
    QStringList lines;
    QString html = QStringLiteral("<table><tr>");
    for (const QString& caption : report.tableHeader)
        html += QStringLiteral("<th>%1</th>").arg(caption.toHtmlEscaped());
    html += QStringLiteral("</tr>");
    lines << report.tableHeader.join(u'\t');
    for (const QStringList& row : report.table) {
        QStringList cells;
        html += QStringLiteral("<tr>");
        for (const QString& cell : row) {
            cells << plain(cell);
            html += QStringLiteral("<td>%1</td>").arg(cells.back().toHtmlEscaped());
        }
        html += QStringLiteral("</tr>");
        lines << cells.join(u'\t');
    }
    html += QStringLiteral("</table>");
    auto data = std::make_unique<QMimeData>();
    data->setText(lines.join(u'\n') + u'\n');
    data->setHtml(html);
    return data;
}

}  // namespace tivora
