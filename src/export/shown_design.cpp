#include "shown_design.h"

#include "sheet/csv.h"
#include "sheet/design_file.h"
#include "sheet/unit_conversions.h"
#include "workshop/carving_table.h"

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

namespace {

// The trimmed blade in the table's units and decimals; a station the trim
// leaves alone keeps the table's own texts.
void drawTrimmed(ShownDesign& design, const DesignSheet& sheet, const workshop::Trim& trim)
{
    design.drawn = design.stations;
    const auto solved = workshop::solvedBlade(sheet);
    if (!workshop::trims(trim) || !solved)
        return;
    const workshop::Blade cut = workshop::trimBlade(*solved, trim);
    const bool imperial = sheet.selectedSystem() == UnitSystem::Imperial;
    const auto text = [&design](double value, int decimals) {
        return QString::fromStdString(formatNumber(roundTo(value, decimals), design.format));
    };
    for (std::size_t i = 0; i < cut.stations.size() && i < design.drawn.size(); ++i) {
        const workshop::BladeStation& before = solved->stations[i];
        const workshop::BladeStation& after = cut.stations[i];
        if (after.chord != before.chord)
            design.drawn[i].chord = text(after.chord * (imperial ? units::kInchesPerMetre : 1), 3);
        if (after.twistDegrees != before.twistDegrees)
            design.drawn[i].twist = text(after.twistDegrees, 1);
    }
    design.trimNote = QString::fromStdString(workshop::trimDescription(trim, sheet.selectedSystem(), design.format));
}

}  // namespace

ShownDesign shownDesign(const DesignSheet& sheet, bool unsolved, const workshop::Trim& trim)
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
    drawTrimmed(design, sheet, trim);
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
    for (const ShownStation& station : design.drawn) {
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
        for (const ShownStation& station : design.drawn) {
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
        const ShownStation& shown = design.drawn[i];
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
