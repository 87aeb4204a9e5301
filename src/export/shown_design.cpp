#include "shown_design.h"

#include "sheet/csv.h"
#include "sheet/design_file.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cmath>

namespace tivora {

namespace {

QString captionInForce(const DesignSheet& sheet, Caption caption)
{
    return QString::fromUtf8(captionText(sheet, caption));
}

QString shown(const DesignSheet& sheet, Field field)
{
    return QString::fromStdString(sheet.text(field));
}

// Millimetres in one unit of the lengths the program writes.
std::optional<double> millimetresPer(const QString& unit)
{
    if (unit == u"m")
        return 1000.0;
    if (unit == u"ft" || unit == u"feet")
        return 304.8;
    if (unit == u"in")
        return 25.4;
    return std::nullopt;
}

QString forSpreadsheet(const QString& figure)
{
    return QString::fromStdString(spreadsheetFigure(figure.toStdString()));
}

// The rows every tabular export has: the note when unsolved, the quantities,
// a blank row, the station header and the stations.
std::vector<QStringList> rowsOf(const ShownDesign& design)
{
    std::vector<QStringList> rows;
    if (design.unsolved) {
        rows.push_back({unsolvedNote()});
        rows.push_back({});
    }
    for (const auto& quantity : design.quantities)
        rows.push_back({quantity.caption, forSpreadsheet(quantity.figure), quantity.unit});
    rows.push_back({});
    rows.push_back(design.stationHeader);
    for (const auto& station : design.stations) {
        rows.push_back({QString::number(station.number), forSpreadsheet(station.radius), forSpreadsheet(station.chord),
                        forSpreadsheet(station.twist)});
    }
    return rows;
}

}  // namespace

QString unsolvedNote()
{
    return QString::fromUtf8(kUnsolvedNote);
}

ShownDesign shownDesign(const DesignSheet& sheet, bool unsolved)
{
    ShownDesign design;
    for (const Field field : kQuantitiesInReadingOrder) {
        const CaptionParts caption = splitCaption(captionText(sheet, *infoOf(field).caption));
        design.quantities.push_back(
            {QString::fromStdString(caption.name), shown(sheet, field), QString::fromStdString(caption.unit)});
        design.inputCount += infoOf(field).typedByUser;
    }
    design.stationHeader = {QStringLiteral("Station"), captionInForce(sheet, Caption::StationRadius).trimmed(),
                            captionInForce(sheet, Caption::StationChord).trimmed(),
                            captionInForce(sheet, Caption::StationTwist).trimmed()};
    for (int k = 1; k <= kStationCount; ++k) {
        design.stations.push_back(
            {k, shown(sheet, stationRadius(k)), shown(sheet, stationChord(k)), shown(sheet, stationTwist(k))});
    }
    design.radiusUnit = QString::fromStdString(splitCaption(captionText(sheet, Caption::StationRadius)).unit);
    design.chordUnit = QString::fromStdString(splitCaption(captionText(sheet, Caption::StationChord)).unit);
    design.format = sheet.numberFormat();
    design.unsolved = unsolved;
    return design;
}

bool resultsMayBeStale(const DesignSheet& sheet, bool inputEditedSinceSolve)
{
    return inputEditedSinceSolve || std::any_of(kStationFields.begin(), kStationFields.end(),
                                                [&sheet](Field field) { return sheet.text(field).empty(); });
}

QString designAsText(const ShownDesign& design)
{
    QString text;
    for (const QStringList& row : rowsOf(design))
        text += row.join(u'\t') + u'\n';
    return text;
}

QString designAsHtml(const ShownDesign& design)
{
    // The charset names the encoding for programs that read the clipboard's
    // bytes without Qt's knowledge that they are UTF-8.
    QString html = QStringLiteral("<meta charset=\"utf-8\">\n<table>\n");
    for (const QStringList& row : rowsOf(design)) {
        const bool header = row.size() == 4 && row == design.stationHeader;
        html += QStringLiteral("<tr>");
        for (const QString& cell : row) {
            html += header ? QStringLiteral("<th>") : QStringLiteral("<td>");
            html += cell.toHtmlEscaped();
            html += header ? QStringLiteral("</th>") : QStringLiteral("</td>");
        }
        html += QStringLiteral("</tr>\n");
    }
    return html + QStringLiteral("</table>\n");
}

QString designFileStem(const ShownDesign& design)
{
    const auto figure = [&design](int index) { return design.quantities[index].figure.trimmed(); };
    QString stem = QStringLiteral("tivora-%1-blades-%2%3").arg(figure(0), figure(3), design.quantities[3].unit);
    // Whatever the user typed, the name stays one plain file name.
    static const QRegularExpression unsafe(QStringLiteral(R"([^A-Za-z0-9.,_+-])"));
    return stem.replace(unsafe, QStringLiteral("_"));
}

std::optional<BladeGeometry> bladeGeometry(const ShownDesign& design)
{
    const auto radiusUnit = millimetresPer(design.radiusUnit);
    const auto chordUnit = millimetresPer(design.chordUnit);
    if (!radiusUnit || !chordUnit)
        return std::nullopt;
    BladeGeometry geometry{{}, *radiusUnit, *chordUnit};
    for (const ShownStation& station : design.stations) {
        const auto radius = parseNumber(station.radius.toStdString(), design.format);
        const auto chord = parseNumber(station.chord.toStdString(), design.format);
        const auto twist = parseNumber(station.twist.toStdString(), design.format);
        if (radius.status != ReadStatus::Ok || chord.status != ReadStatus::Ok || twist.status != ReadStatus::Ok)
            return std::nullopt;
        geometry.stations.push_back(
            {station.number, radius.value * *radiusUnit, chord.value * *chordUnit, twist.value});
    }
    return geometry;
}

QString bladeProblem(const ShownDesign& design)
{
    const auto geometry = bladeGeometry(design);
    if (!geometry) {
        for (const ShownStation& station : design.stations) {
            if (station.radius.trimmed().isEmpty() || station.chord.trimmed().isEmpty() ||
                station.twist.trimmed().isEmpty())
                return QStringLiteral("The station table is not filled in: solve the design first.");
        }
        return QStringLiteral("A figure in the station table is not a number.");
    }
    // Beyond these no drawing is of any use, and coordinates that large
    // would overflow the drawing's arithmetic.
    constexpr double kLongestMm = 1e6;
    constexpr double kLargestTwist = 360;
    const auto& stations = geometry->stations;
    for (std::size_t i = 0; i < stations.size(); ++i) {
        const auto& station = stations[i];
        const ShownStation& shown = design.stations[i];
        if (!(station.radiusMm > 0))
            return QStringLiteral("Station %1 has the radius %2: every radius must be above zero.")
                .arg(station.number)
                .arg(shown.radius);
        if (!(station.chordMm > 0))
            return QStringLiteral("Station %1 has the chord %2: every chord must be above zero.")
                .arg(station.number)
                .arg(shown.chord);
        if (i > 0 && !(station.radiusMm > stations[i - 1].radiusMm))
            return QStringLiteral("Station %1 does not lie beyond station %2: the radii must grow from root to tip.")
                .arg(station.number)
                .arg(stations[i - 1].number);
        if (!(station.radiusMm < kLongestMm && station.chordMm < kLongestMm))
            return QStringLiteral("Station %1 is too large to draw.").arg(station.number);
        if (!(std::abs(station.twistDegrees) <= kLargestTwist))
            return QStringLiteral("Station %1 has the twist %2°: a twist beyond ±%3° cannot be drawn.")
                .arg(station.number)
                .arg(shown.twist)
                .arg(kLargestTwist);
    }
    return {};
}

}  // namespace tivora
