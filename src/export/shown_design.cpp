#include "shown_design.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace tivora {

namespace {

// Which fields leave the program, in which order, and the label that
// captions each; the one place that knows them.
struct Exported {
    const char* field;
    const char* label;
};
// The window's reading order: the rotor top down, the airfoil, then the
// generator in the order it is computed.
constexpr std::array<Exported, 10> kQuantities = {{
    {"blades", "Label3"},
    {"tsr", "Label1"},
    {"efficiency", "Label4"},
    {"radius", "Label5"},
    {"windspeed", "Label6"},
    {"cl", "Label7"},
    {"alpha", "Label9"},
    {"Text9", "Label12"},
    {"Text6", "Label10"},
    {"Text7", "Label11"},
}};
constexpr int kInputCount = 7;
constexpr const char* kRadiusColumn = "Label14";
constexpr const char* kChordColumn = "Label13";
constexpr const char* kTwistColumn = "Label15";

// The captions no operation changes; the others are on the sheet.
struct FixedCaption {
    const char* label;
    const char* text;
};
constexpr FixedCaption kFixedCaptions[] = {
    {"Label3", "Number of Blades"},
    {"Label1", "TSR"},
    {"Label4", "Blade Efficiency"},
    {"Label7", "Cl"},
    {"Label9", "α(°)"},
    {"Label12", "Generator Power (Watts) "},
    {"Label11", "Generator Torque (N.m)"},
    {"Label15", "β (°)"},
};

QString captionInForce(const DesignSheet& sheet, const char* label)
{
    for (const auto& fixed : kFixedCaptions) {
        if (qstrcmp(fixed.label, label) == 0)
            return QString::fromUtf8(fixed.text);
    }
    return QString::fromStdString(sheet.text(label));
}

QString shown(const DesignSheet& sheet, const std::string& field)
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

QString csvField(const QString& text, QChar separator)
{
    if (!text.contains(separator) && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
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
        rows.push_back({quantity.caption, quantity.figure, quantity.unit});
    rows.push_back({});
    rows.push_back(design.stationHeader);
    for (const auto& station : design.stations)
        rows.push_back({QString::number(station.number), station.radius, station.chord, station.twist});
    return rows;
}

}  // namespace

QString unsolvedNote()
{
    return QStringLiteral("results not solved for these inputs");
}

bool isInput(const QString& field)
{
    return std::any_of(kQuantities.begin(), kQuantities.begin() + kInputCount,
                       [&field](const Exported& entry) { return field == QLatin1String(entry.field); });
}

ShownQuantity splitCaption(const QString& caption)
{
    static const QRegularExpression withUnit(QStringLiteral(R"(^(.*?)\s*\(([^()]*)\)$)"));
    const QString trimmed = caption.trimmed();
    if (const auto match = withUnit.match(trimmed); match.hasMatch())
        return {match.captured(1), {}, match.captured(2)};
    return {trimmed, {}, {}};
}

ShownDesign shownDesign(const DesignSheet& sheet, bool unsolved)
{
    ShownDesign design;
    for (const auto& entry : kQuantities) {
        ShownQuantity quantity = splitCaption(captionInForce(sheet, entry.label));
        quantity.figure = shown(sheet, entry.field);
        design.quantities.push_back(quantity);
    }
    design.inputCount = kInputCount;
    design.stationHeader = {QStringLiteral("Station"), captionInForce(sheet, kRadiusColumn).trimmed(),
                            captionInForce(sheet, kChordColumn).trimmed(), captionInForce(sheet, kTwistColumn).trimmed()};
    for (int k = 1; k <= kStationCount; ++k) {
        design.stations.push_back({k, shown(sheet, stationRadiusField(k)), shown(sheet, stationChordField(k)),
                                   shown(sheet, stationTwistField(k))});
    }
    design.radiusUnit = splitCaption(captionInForce(sheet, kRadiusColumn)).unit;
    design.chordUnit = splitCaption(captionInForce(sheet, kChordColumn)).unit;
    design.format = sheet.numberFormat();
    design.unsolved = unsolved;
    return design;
}

bool resultsMayBeStale(const DesignSheet& sheet, bool inputEditedSinceSolve)
{
    if (inputEditedSinceSolve)
        return true;
    for (int k = 1; k <= kStationCount; ++k) {
        for (const auto& field : {stationRadiusField(k), stationChordField(k), stationTwistField(k)}) {
            if (sheet.text(field).empty())
                return true;
        }
    }
    return false;
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
    QString html = QStringLiteral("<table>\n");
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

QByteArray designAsCsv(const ShownDesign& design)
{
    const QChar separator = design.format.decimalSeparator == "," ? u';' : u',';
    QString csv;
    for (const QStringList& row : rowsOf(design)) {
        QStringList fields;
        for (const QString& cell : row)
            fields << csvField(cell, separator);
        csv += fields.join(separator) + QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + csv.toUtf8();
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
        geometry.stations.push_back({station.number, radius.value * *radiusUnit, chord.value * *chordUnit, twist.value});
    }
    return geometry;
}

}  // namespace tivora
