#pragma once

// What the printed pages and the saved drawings share: a page laid out in
// millimetres with a rule under its title, and an SVG whose unit is one
// millimetre.

#include "assets/typeface.h"

#include <QFont>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QString>
#include <QXmlStreamWriter>

namespace tivora {

// A painter's page measured in millimetres, with a 15 mm margin.
struct MillimetrePage {
    explicit MillimetrePage(QPainter& painter)
        : painter(painter), mm(painter.device()->logicalDpiX() / 25.4), width(painter.device()->width() / mm),
          height(painter.device()->height() / mm)
    {
    }
    QPointF at(double x, double y) const { return {x * mm, y * mm}; }
    void font(double points, bool bold = false) const
    {
        QFont f(kTypeface);
        f.setPointSizeF(points);
        f.setBold(bold);
        painter.setFont(f);
    }
    // The title at the top left, ruled across the page; returns the
    // title's baseline.
    double title(const QString& text) const
    {
        font(16, true);
        const double y = margin + 5;
        painter.drawText(at(margin, y), text);
        painter.setPen(QPen(Qt::black, 0.3 * mm));
        painter.drawLine(at(margin, y + 2.5), at(width - margin, y + 2.5));
        painter.setPen(Qt::black);
        return y;
    }

    QPainter& painter;
    const double mm;  // device pixels a millimetre
    const double width, height;
    const double margin = 15;
};

// A length in an SVG of millimetres.
inline QString svgMillimetres(double value)
{
    return QString::number(value, 'f', 2);
}

// Opens the SVG document and its root element, width × height millimetres
// with one unit a millimetre, and writes its title.
inline void startMillimetreSvg(QXmlStreamWriter& out, double width, double height, const QString& title)
{
    out.setAutoFormatting(true);
    out.writeStartDocument();
    out.writeStartElement(QStringLiteral("svg"));
    out.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
    out.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    out.writeAttribute(QStringLiteral("width"), svgMillimetres(width) + QStringLiteral("mm"));
    out.writeAttribute(QStringLiteral("height"), svgMillimetres(height) + QStringLiteral("mm"));
    out.writeAttribute(QStringLiteral("viewBox"),
                       QStringLiteral("0 0 %1 %2").arg(svgMillimetres(width), svgMillimetres(height)));
    out.writeTextElement(QStringLiteral("title"), title);
}

}  // namespace tivora
