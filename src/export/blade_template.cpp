#include "blade_template.h"

#include "assets/typeface.h"

#include <QXmlStreamWriter>

#include <algorithm>

namespace tivora {

namespace {

QString mm(double value)
{
    return QString::number(value, 'f', 2);
}

}  // namespace

QByteArray bladeTemplateSvg(const ShownDesign& design)
{
    const auto geometry = bladeGeometry(design);
    if (!geometry || geometry->stations.empty())
        return {};
    const auto& stations = geometry->stations;
    const double root = stations.front().radiusMm;
    const double length = stations.back().radiusMm - root;
    double widest = 0;
    for (const auto& station : stations)
        widest = std::max(widest, station.chordMm);
    const double width = length + 2 * TemplateMargins::side;
    const double height = widest + TemplateMargins::top + TemplateMargins::bottom;
    // The pitch axis runs straight at a quarter chord from the leading edge,
    // which is drawn on top.
    const double axis = TemplateMargins::top + widest / 4;
    const auto x = [&](double radiusMm) { return TemplateMargins::side + radiusMm - root; };
    const auto leading = [&](double chordMm) { return axis - chordMm / 4; };
    const auto trailing = [&](double chordMm) { return axis + chordMm * 3 / 4; };

    QByteArray svg;
    QXmlStreamWriter out(&svg);
    out.setAutoFormatting(true);
    out.writeStartDocument();
    out.writeStartElement(QStringLiteral("svg"));
    out.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
    out.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    out.writeAttribute(QStringLiteral("width"), mm(width) + QStringLiteral("mm"));
    out.writeAttribute(QStringLiteral("height"), mm(height) + QStringLiteral("mm"));
    out.writeAttribute(QStringLiteral("viewBox"), QStringLiteral("0 0 %1 %2").arg(mm(width), mm(height)));
    out.writeTextElement(QStringLiteral("title"), QStringLiteral("Tivora blade template, full size"));
    out.writeTextElement(QStringLiteral("desc"),
                         QStringLiteral("Print at 100 %: one unit is one millimetre. The drawing has %1 mm margins "
                                        "at the sides, %2 mm above and %3 mm below the blade.")
                             .arg(TemplateMargins::side)
                             .arg(TemplateMargins::top)
                             .arg(TemplateMargins::bottom));

    const auto text = [&out](double atX, double atY, const QString& words, double size, const char* anchor) {
        out.writeStartElement(QStringLiteral("text"));
        out.writeAttribute(QStringLiteral("x"), mm(atX));
        out.writeAttribute(QStringLiteral("y"), mm(atY));
        out.writeAttribute(QStringLiteral("font-size"), mm(size));
        out.writeAttribute(QStringLiteral("text-anchor"), QString::fromLatin1(anchor));
        out.writeCharacters(words);
        out.writeEndElement();
    };
    const auto line = [&out](double x1, double y1, double x2, double y2, const QString& id, double stroke,
                             const QString& dashes = {}) {
        out.writeEmptyElement(QStringLiteral("line"));
        if (!id.isEmpty())
            out.writeAttribute(QStringLiteral("id"), id);
        out.writeAttribute(QStringLiteral("x1"), mm(x1));
        out.writeAttribute(QStringLiteral("y1"), mm(y1));
        out.writeAttribute(QStringLiteral("x2"), mm(x2));
        out.writeAttribute(QStringLiteral("y2"), mm(y2));
        out.writeAttribute(QStringLiteral("stroke"), QStringLiteral("black"));
        out.writeAttribute(QStringLiteral("stroke-width"), mm(stroke));
        if (!dashes.isEmpty())
            out.writeAttribute(QStringLiteral("stroke-dasharray"), dashes);
    };

    out.writeStartElement(QStringLiteral("g"));
    out.writeAttribute(QStringLiteral("font-family"), QString(kTypeface) + QStringLiteral(", Arial, sans-serif"));
    const double side = TemplateMargins::side;
    text(side, 8, QStringLiteral("Tivora blade template, full size (1:1). Root at the left, leading edge on top."), 4,
         "start");
    // The rotor the blade belongs to: blades, radius, TSR, Cl and α.
    QStringList rotor;
    for (const int i : {0, 3, 1, 5, 6}) {
        const ShownQuantity& quantity = design.quantities[i];
        rotor << QStringLiteral("%1 %2%3%4")
                     .arg(quantity.caption, quantity.figure, quantity.unit == u"°" ? QString() : QStringLiteral(" "),
                          quantity.unit)
                     .trimmed();
    }
    text(side, 14, rotor.join(QStringLiteral(", ")), 3.5, "start");
    if (design.unsolved)
        text(side, 20, unsolvedNote(), 3.5, "start");
    // Measure this bar after printing: 100 mm means the scale is right.
    line(width - side - 100, 22, width - side, 22, QStringLiteral("check-bar"), 0.5);
    line(width - side - 100, 20, width - side - 100, 24, {}, 0.3);
    line(width - side, 20, width - side, 24, {}, 0.3);
    text(width - side - 50, 19, QStringLiteral("100 mm when printed at 100 %"), 3, "middle");

    QString outline;
    for (const auto& station : stations)
        outline += (outline.isEmpty() ? QStringLiteral("M") : QStringLiteral("L")) + mm(x(station.radiusMm)) + u',' +
                   mm(leading(station.chordMm)) + u' ';
    for (auto it = stations.rbegin(); it != stations.rend(); ++it)
        outline += QStringLiteral("L%1,%2 ").arg(mm(x(it->radiusMm)), mm(trailing(it->chordMm)));
    out.writeEmptyElement(QStringLiteral("path"));
    out.writeAttribute(QStringLiteral("id"), QStringLiteral("outline"));
    out.writeAttribute(QStringLiteral("d"), outline + u'Z');
    out.writeAttribute(QStringLiteral("fill"), QStringLiteral("none"));
    out.writeAttribute(QStringLiteral("stroke"), QStringLiteral("black"));
    out.writeAttribute(QStringLiteral("stroke-width"), mm(0.4));

    line(x(root) - 5, axis, x(stations.back().radiusMm) + 5, axis, QStringLiteral("pitch-axis"), 0.25,
         QStringLiteral("8 2 1 2"));
    text(x(stations.back().radiusMm) + 6, axis + 1, QStringLiteral("¼ c"), 3, "start");

    const double labels = TemplateMargins::top + widest + 8;
    for (std::size_t i = 0; i < stations.size(); ++i) {
        const auto& station = stations[i];
        const ShownStation& shown = design.stations[i];
        const double at = x(station.radiusMm);
        line(at, leading(station.chordMm), at, trailing(station.chordMm),
             QStringLiteral("station-%1").arg(station.number), 0.25);
        line(at, trailing(station.chordMm) + 1, at, labels - 4, {}, 0.1, QStringLiteral("1 1"));
        text(at, labels, QString::number(station.number), 4, "middle");
        text(at, labels + 5, QStringLiteral("r %1 %2").arg(shown.radius, design.radiusUnit), 2.8, "middle");
        text(at, labels + 9, QStringLiteral("c %1 %2").arg(shown.chord, design.chordUnit), 2.8, "middle");
        text(at, labels + 13, QStringLiteral("β %1°").arg(shown.twist), 2.8, "middle");
    }
    out.writeEndElement();  // g
    out.writeEndElement();  // svg
    out.writeEndDocument();
    return svg;
}

}  // namespace tivora
