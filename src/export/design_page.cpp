#include "design_page.h"

#include "assets/typeface.h"
#include "carving_page.h"
#include "chart/chart.h"
#include "performance_sheet.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <cstdint>

#if defined(__GLIBC__)
#include <langinfo.h>
#endif

namespace tivora {

namespace {

// Lengths on the page are written in millimetres and turned into device
// units here, so the same drawing serves a PDF and any printer.
class Page {
public:
    explicit Page(QPainter& painter)
        : painter_(painter), unit_(painter.device()->logicalDpiX() / 25.4), width_(painter.device()->width() / unit_),
          height_(painter.device()->height() / unit_)
    {
    }

    double width() const { return width_; }
    double height() const { return height_; }
    QPointF at(double x, double y) const { return {x * unit_, y * unit_}; }
    QPainter& painter() { return painter_; }

    void font(double points, bool bold = false)
    {
        QFont font(kTypeface);
        font.setPointSizeF(points);
        font.setBold(bold);
        painter_.setFont(font);
    }
    void pen(double widthMm, Qt::PenStyle style = Qt::SolidLine, QColor colour = Qt::black)
    {
        painter_.setPen(QPen(colour, widthMm * unit_, style, Qt::FlatCap));
    }
    // Text with its baseline at y; aligned left, centred or right at x.
    void text(double x, double y, const QString& words, Qt::Alignment align = Qt::AlignLeft)
    {
        const double advance = QFontMetricsF(painter_.font(), painter_.device()).horizontalAdvance(words);
        double left = x * unit_;
        if (align & Qt::AlignHCenter)
            left -= advance / 2;
        else if (align & Qt::AlignRight)
            left -= advance;
        painter_.drawText(QPointF(left, y * unit_), words);
    }
    void line(double x1, double y1, double x2, double y2) { painter_.drawLine(at(x1, y1), at(x2, y2)); }

private:
    QPainter& painter_;
    double unit_;  // device units per millimetre
    double width_;
    double height_;
};

constexpr double kMargin = 15;
constexpr double kRow = 5.6;

// 1, 2 or 5 times a power of ten: the smallest such step that fits `span`
// into at most `count` steps.
using chart::niceStep;

// Line widths and gaps of the charts, sized as on a screen at 100 %.
constexpr double kMillimetresPerPixel = 25.4 / 96;

QString figure(double value, const ShownDesign& design)
{
    return QString::fromStdString(formatNumber(roundTo(value, 3), design.format));
}

double drawTables(Page& page, const ShownDesign& design, double top)
{
    const double left = kMargin;
    double y = top;
    const auto heading = [&](const QString& words) {
        page.font(10, true);
        page.text(left, y, words);
        y += kRow;
    };
    heading(QStringLiteral("Rotor"));
    page.font(10);
    for (std::size_t i = 0; i < design.quantities.size(); ++i) {
        if (static_cast<int>(i) == design.inputCount) {
            y += 2;
            heading(QStringLiteral("Generator"));
            page.font(10);
        }
        const auto& quantity = design.quantities[i];
        page.text(left, y, quantity.caption);
        page.text(left + 62, y, quantity.figure, Qt::AlignRight);
        page.text(left + 64, y, quantity.unit);
        y += kRow;
    }
    const double tableBottom = y;

    // The station table, right half.
    const double columns[] = {112, 137, 162, 187};
    y = top;
    page.font(10, true);
    for (int c = 0; c < 4; ++c)
        page.text(columns[c] + (c == 0 ? -5 : 0), y, design.stationHeader[c], Qt::AlignRight);
    page.pen(0.2);
    page.line(columns[0] - 22, y + 1.5, columns[3] + 1, y + 1.5);
    y += kRow + 0.5;
    page.font(10);
    for (const auto& station : design.stations) {
        page.text(columns[0] - 5, y, QString::number(station.number), Qt::AlignRight);
        page.text(columns[1], y, station.radius, Qt::AlignRight);
        page.text(columns[2], y, station.chord, Qt::AlignRight);
        page.text(columns[3], y, station.twist, Qt::AlignRight);
        y += kRow;
    }
    return std::max(tableBottom, y);
}

double drawPlanform(Page& page, const ShownDesign& design, const BladeGeometry& blade, double top, double room)
{
    const auto& stations = blade.stations;
    const double root = stations.front().radiusMm;
    const double length = stations.back().radiusMm - root;
    double widest = 0;
    std::size_t widestAt = 0;
    for (std::size_t i = 0; i < stations.size(); ++i) {
        if (stations[i].chordMm > widest) {
            widest = stations[i].chordMm;
            widestAt = i;
        }
    }
    const double across = page.width() - 2 * kMargin - 25;
    const double chordRoom = room - 28;  // numbers, dimension and scale bar below
    double scale = 1;
    for (double candidate : {1, 2, 5, 10, 20, 25, 50, 100, 200, 500, 1000, 2000, 5000}) {
        scale = candidate;
        if (length / scale <= across && widest / scale <= chordRoom)
            break;
    }

    page.font(11, true);
    page.text(kMargin, top, QStringLiteral("Blade planform, scale 1:%1").arg(scale));
    if (!design.trimNote.isEmpty()) {
        page.font(8, true);
        page.text(page.width() - kMargin, top, design.trimNote, Qt::AlignRight);
    }
    page.font(8);
    page.text(kMargin, top + 4.5,
              QStringLiteral("Root at the left, leading edge on top, pitch axis (dash-dot) at a quarter chord."));

    const double left = kMargin + 10;
    const double axis = top + 9 + widest / scale / 4;
    const auto x = [&](double radiusMm) { return left + (radiusMm - root) / scale; };
    const auto leading = [&](double chordMm) { return axis - chordMm / scale / 4; };
    const auto trailing = [&](double chordMm) { return axis + chordMm / scale * 3 / 4; };

    QPainterPath outline;
    outline.moveTo(page.at(x(root), leading(stations.front().chordMm)));
    for (const auto& station : stations)
        outline.lineTo(page.at(x(station.radiusMm), leading(station.chordMm)));
    for (auto it = stations.rbegin(); it != stations.rend(); ++it)
        outline.lineTo(page.at(x(it->radiusMm), trailing(it->chordMm)));
    outline.closeSubpath();
    page.pen(0.35);
    page.painter().drawPath(outline);
    page.pen(0.15);
    for (const auto& station : stations)
        page.line(x(station.radiusMm), leading(station.chordMm), x(station.radiusMm), trailing(station.chordMm));
    page.pen(0.15, Qt::DashDotLine);
    page.line(x(root) - 2, axis, x(stations.back().radiusMm) + 4, axis);

    // Station numbers under the blade, then the dimensions.
    const double under = axis + widest / scale * 3 / 4;
    page.font(7);
    for (const auto& station : stations)
        page.text(x(station.radiusMm), under + 4, QString::number(station.number), Qt::AlignHCenter);

    const double dimension = under + 9;
    page.pen(0.15);
    page.line(x(root), dimension, x(stations.back().radiusMm), dimension);
    page.line(x(root), dimension - 1.5, x(root), dimension + 1.5);
    page.line(x(stations.back().radiusMm), dimension - 1.5, x(stations.back().radiusMm), dimension + 1.5);
    page.font(8);
    page.text((x(root) + x(stations.back().radiusMm)) / 2, dimension - 1,
              QStringLiteral("%1 %2 from station 1 to the tip")
                  .arg(figure(length / blade.radiusUnitMm, design), design.radiusUnit),
              Qt::AlignHCenter);
    // The widest chord, dimensioned left of the root and written upwards.
    const double side = x(root) - 5;
    page.line(side, leading(widest), side, trailing(widest));
    page.line(side - 1.5, leading(widest), side + 1.5, leading(widest));
    page.line(side - 1.5, trailing(widest), side + 1.5, trailing(widest));
    page.painter().save();
    page.painter().translate(page.at(side - 1, (leading(widest) + trailing(widest)) / 2));
    page.painter().rotate(-90);
    page.text(0, 0, QStringLiteral("chord %1 %2").arg(design.drawn[widestAt].chord, design.chordUnit),
              Qt::AlignHCenter);
    page.painter().restore();

    // A scale bar of a round length in the shown radius unit.
    const double bar = niceStep(length / blade.radiusUnitMm, 3);
    const double barMm = bar * blade.radiusUnitMm / scale;
    const double barY = dimension + 8;
    page.pen(0.3);
    page.line(left, barY, left + barMm, barY);
    for (double tick : {0.0, barMm / 2, barMm})
        page.line(left + tick, barY - 1.2, left + tick, barY);
    page.font(7);
    page.text(left, barY + 3.5, QStringLiteral("0"), Qt::AlignHCenter);
    page.text(left + barMm, barY + 3.5, QStringLiteral("%1 %2").arg(figure(bar, design), design.radiusUnit),
              Qt::AlignHCenter);
    return barY + 6;
}

void drawTwist(Page& page, const ShownDesign& design, const BladeGeometry& blade, double top, double room)
{
    double tip = 0;
    std::vector<double> twists;
    chart::Series through;
    through.dots = true;
    through.width = 0.6;
    for (const auto& station : blade.stations) {
        const double radius = station.radiusMm / blade.radiusUnitMm;
        tip = std::max(tip, radius);
        twists.push_back(station.twistDegrees);
        through.points.emplace_back(radius, station.twistDegrees);
    }
    const PlotAxis axis = twistAxis(twists);
    chart::Chart plot;
    plot.title = QStringLiteral("Twist against radius");
    plot.x = chart::niceAxis(design.stationHeader[1], 0, tip);
    plot.y = {design.stationHeader[3], axis.low, axis.high, axis.step};
    plot.series.push_back(std::move(through));
    plot.number = [&design](double value) { return figure(value, design); };
    const QPointF corner = page.at(kMargin, top - 4.5);
    const QPointF far = page.at(page.width() - kMargin, top + room - 4);
    page.font(8);
    chart::draw(page.painter(), QRectF(corner, far), plot, page.at(kMillimetresPerPixel, 0).x(), 8);
}

}  // namespace

void drawDesignPage(QPainter& painter, const ShownDesign& design);

PlotAxis twistAxis(const std::vector<double>& twists)
{
    double low = 0, high = 0;
    for (const double twist : twists) {
        low = std::min(low, twist);
        high = std::max(high, twist);
    }
    const double step = niceStep(std::max(high - low, 1.0), 5);
    low = std::floor(low / step) * step;
    high = std::ceil(high / step) * step;
    if (high <= low)  // every twist zero: the scale still needs a span
        high = low + step;
    return {low, high, step};
}

QPageSize paperOfSize(QSizeF millimetres)
{
    if (!(millimetres.width() > 0 && millimetres.height() > 0))
        return QPageSize(QPageSize::A4);
    // Named when it is a known size within a millimetre or so (glibc gives
    // Letter as 216 x 279).
    return QPageSize(millimetres, QPageSize::Millimeter, {}, QPageSize::FuzzyMatch);
}

QPageSize systemPaper()
{
#if defined(__GLIBC__)
    // The paper of the LC_PAPER locale; glibc returns the figures in place of a pointer.
    const auto height = static_cast<int>(reinterpret_cast<std::intptr_t>(nl_langinfo(_NL_PAPER_HEIGHT)));
    const auto width = static_cast<int>(reinterpret_cast<std::intptr_t>(nl_langinfo(_NL_PAPER_WIDTH)));
    return paperOfSize(QSizeF(width, height));
#else
    return QPageSize(QPageSize::A4);
#endif
}

void drawDesignSheet(QPainter& painter, const ShownDesign& design, const SheetExtras& extras)
{
    drawDesignPage(painter, design);
    auto* paged = dynamic_cast<QPagedPaintDevice*>(painter.device());
    if (extras.performance && paged && paged->newPage())
        drawPerformancePages(painter, *extras.performance);
    if (extras.carving && paged && paged->newPage())
        drawCarvingPage(painter, *extras.carving);
}

void drawDesignPage(QPainter& painter, const ShownDesign& design)
{
    Page page(painter);
    double y = kMargin + 5;
    page.font(16, true);
    page.text(kMargin, y, QStringLiteral("Tivora rotor design"));
    if (design.unsolved) {
        page.font(11, true);
        page.painter().setPen(QColor(170, 0, 0));
        page.text(page.width() - kMargin, y, unsolvedNote(), Qt::AlignRight);
    }
    page.pen(0.3);
    page.line(kMargin, y + 2.5, page.width() - kMargin, y + 2.5);
    y = drawTables(page, design, y + 10) + 6;

    const auto blade = bladeGeometry(design);
    if (!blade) {
        page.font(11);
        page.text(kMargin, y + 5, QStringLiteral("The station table holds no blade to draw: solve first."));
        return;
    }
    const double room = page.height() - kMargin - y;
    y = drawPlanform(page, design, *blade, y + 4, room * 0.55) + 8;
    drawTwist(page, design, *blade, y, page.height() - kMargin - y);
}

bool writeDesignSheetPdf(const ShownDesign& design, const QPageSize& paper, const QString& title, QIODevice* out,
                         const SheetExtras& extras)
{
    QPdfWriter pdf(out);
    pdf.setCreator(QStringLiteral("Tivora"));
    pdf.setTitle(title);
    pdf.setPageSize(paper);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setResolution(720);
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;
    drawDesignSheet(painter, design, extras);
    return painter.end();
}

}  // namespace tivora
