#include "section_drawing.h"

#include "millimetre_page.h"

#include "assets/typeface.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <QXmlStreamWriter>

#include <algorithm>

namespace tivora {

namespace {

QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

// "mm" from "Chord (mm)".
QString unitIn(const std::string& header)
{
    const QString text = q(header);
    const qsizetype open = text.lastIndexOf(u'('), close = text.lastIndexOf(u')');
    return open >= 0 && close > open ? text.mid(open + 1, close - open - 1) : QString();
}

QPointF inMillimetres(workshop::Point p)
{
    return {p.x * 1000, p.y * 1000};
}

// Room around each section in the SVG: its label above, a gap below.
constexpr double kSide = 20;
constexpr double kTitle = 16;
constexpr double kLabel = 9;
constexpr double kGap = 10;

}  // namespace

std::vector<SectionFigure> sectionFigures(const workshop::Carving& carving, const workshop::CarvingTable& table)
{
    std::vector<SectionFigure> figures;
    const QRectF blank(0, 0, carving.blank.width * 1000, carving.blank.thickness * 1000);
    for (std::size_t i = 0; i < carving.stations.size(); ++i) {
        const workshop::CarvedStation& station = carving.stations[i];
        SectionFigure figure;
        figure.station = station.blade.number;
        for (const workshop::Point& p : station.outline)
            figure.outline << inMillimetres(p);
        figure.section = figure.outline.boundingRect();
        figure.blank = blank;
        figure.pitchAxis = inMillimetres(station.pitchAxis);
        figure.leadingEdge = inMillimetres(station.leadingEdge);
        figure.trailingEdge = inMillimetres(station.trailingEdge);
        figure.title = QStringLiteral("Station %1").arg(figure.station);
        if (i < table.rows.size() && table.header.size() >= 7) {
            const auto& cells = table.rows[i];
            const auto fact = [&](const char* name, int column) {
                const QString unit = unitIn(table.header[column]);
                return QStringLiteral("%1 %2%3%4")
                    .arg(QString::fromUtf8(name), q(cells[column]), unit == u"°" ? QString() : QStringLiteral(" "),
                         unit);
            };
            figure.facts << fact("r", 1) << fact("β", 3) << fact("chord", 2) << fact("thickness", 6) << fact("drop", 5);
        }
        figures.push_back(std::move(figure));
    }
    return figures;
}

void drawSectionLines(QPainter& painter, const SectionFigure& figure, const QTransform& toDevice, bool plank,
                      double strokeUnit)
{
    painter.save();
    const auto pen = [&](double width, Qt::PenStyle style = Qt::SolidLine, QColor colour = Qt::black) {
        painter.setPen(QPen(colour, width * strokeUnit, style, Qt::FlatCap, Qt::MiterJoin));
    };
    painter.setBrush(Qt::NoBrush);
    if (plank) {
        pen(0.3, Qt::SolidLine, QColor(120, 80, 40));
        painter.setBrush(QColor(250, 240, 222));
        painter.drawPolygon(toDevice.map(QPolygonF(figure.blank)));
        painter.setBrush(Qt::NoBrush);
    } else {
        // The gauge rests on the plank's windward face.
        pen(0.3, Qt::DashLine);
        painter.drawLine(toDevice.map(QPointF(figure.section.left() - 8, 0)),
                         toDevice.map(QPointF(figure.section.right() + 8, 0)));
    }
    pen(0.2, Qt::DashLine, QColor(90, 90, 90));
    painter.drawLine(toDevice.map(figure.leadingEdge), toDevice.map(figure.trailingEdge));
    pen(0.4);
    QPainterPath outline;
    outline.addPolygon(toDevice.map(figure.outline));
    outline.closeSubpath();
    painter.drawPath(outline);
    // The pitch axis: a cross a few millimetres across.
    pen(0.25, Qt::SolidLine, QColor(0, 90, 170));
    for (const QPointF arm : {QPointF(3, 0), QPointF(0, 3)})
        painter.drawLine(toDevice.map(figure.pitchAxis - arm), toDevice.map(figure.pitchAxis + arm));
    painter.restore();
}

QByteArray sectionsSvg(const std::vector<SectionFigure>& figures, const QString& title)
{
    if (figures.empty())
        return {};
    const QRectF blank = figures.front().blank;
    const double width = std::max(blank.width() + 2 * kSide, 160.0);
    const double row = kLabel + blank.height() + kGap;
    const double height = kTitle + row * static_cast<double>(figures.size());

    QByteArray svg;
    QXmlStreamWriter out(&svg);
    startMillimetreSvg(out, width, height, title);
    out.writeTextElement(QStringLiteral("desc"),
                         QStringLiteral("Print at 100 %: one unit is one millimetre. Each section seen from the tip, "
                                        "wind from above, leading edge to the left, in the plank (brown); the cross "
                                        "marks the pitch axis, the dashed line the chord."));
    out.writeStartElement(QStringLiteral("g"));
    out.writeAttribute(QStringLiteral("font-family"), QString(kTypeface) + QStringLiteral(", Arial, sans-serif"));
    const auto text = [&out](double x, double y, const QString& words, double size) {
        out.writeStartElement(QStringLiteral("text"));
        out.writeAttribute(QStringLiteral("x"), svgMillimetres(x));
        out.writeAttribute(QStringLiteral("y"), svgMillimetres(y));
        out.writeAttribute(QStringLiteral("font-size"), svgMillimetres(size));
        out.writeCharacters(words);
        out.writeEndElement();
    };
    const auto line = [&out](QPointF a, QPointF b, const char* colour, double stroke, const char* dashes = nullptr) {
        out.writeEmptyElement(QStringLiteral("line"));
        out.writeAttribute(QStringLiteral("x1"), svgMillimetres(a.x()));
        out.writeAttribute(QStringLiteral("y1"), svgMillimetres(a.y()));
        out.writeAttribute(QStringLiteral("x2"), svgMillimetres(b.x()));
        out.writeAttribute(QStringLiteral("y2"), svgMillimetres(b.y()));
        out.writeAttribute(QStringLiteral("stroke"), QString::fromLatin1(colour));
        out.writeAttribute(QStringLiteral("stroke-width"), svgMillimetres(stroke));
        if (dashes)
            out.writeAttribute(QStringLiteral("stroke-dasharray"), QString::fromLatin1(dashes));
    };
    text(kSide, 10, title, 5);
    for (std::size_t i = 0; i < figures.size(); ++i) {
        const SectionFigure& figure = figures[i];
        const QPointF origin(kSide, kTitle + row * static_cast<double>(i) + kLabel);
        text(origin.x(), origin.y() - 3, (QStringList{figure.title} + figure.facts).join(QStringLiteral(" · ")), 3.5);
        out.writeEmptyElement(QStringLiteral("rect"));
        out.writeAttribute(QStringLiteral("id"), QStringLiteral("plank-%1").arg(figure.station));
        out.writeAttribute(QStringLiteral("x"), svgMillimetres(origin.x()));
        out.writeAttribute(QStringLiteral("y"), svgMillimetres(origin.y()));
        out.writeAttribute(QStringLiteral("width"), svgMillimetres(blank.width()));
        out.writeAttribute(QStringLiteral("height"), svgMillimetres(blank.height()));
        out.writeAttribute(QStringLiteral("fill"), QStringLiteral("#faf0de"));
        out.writeAttribute(QStringLiteral("stroke"), QStringLiteral("#785028"));
        out.writeAttribute(QStringLiteral("stroke-width"), svgMillimetres(0.3));
        line(origin + figure.leadingEdge, origin + figure.trailingEdge, "#5a5a5a", 0.2, "2 1");
        QString path;
        for (const QPointF& p : figure.outline)
            path += (path.isEmpty() ? QStringLiteral("M") : QStringLiteral("L")) + svgMillimetres(origin.x() + p.x()) +
                    u',' + svgMillimetres(origin.y() + p.y()) + u' ';
        out.writeEmptyElement(QStringLiteral("path"));
        out.writeAttribute(QStringLiteral("id"), QStringLiteral("section-%1").arg(figure.station));
        out.writeAttribute(QStringLiteral("d"), path + u'Z');
        out.writeAttribute(QStringLiteral("fill"), QStringLiteral("none"));
        out.writeAttribute(QStringLiteral("stroke"), QStringLiteral("black"));
        out.writeAttribute(QStringLiteral("stroke-width"), svgMillimetres(0.4));
        const QPointF axis = origin + figure.pitchAxis;
        line(axis - QPointF(3, 0), axis + QPointF(3, 0), "#005aaa", 0.25);
        line(axis - QPointF(0, 3), axis + QPointF(0, 3), "#005aaa", 0.25);
    }
    out.writeEndElement();  // g
    out.writeEndElement();  // svg
    out.writeEndDocument();
    return out.hasError() ? QByteArray() : svg;
}

}  // namespace tivora
