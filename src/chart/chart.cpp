#include "chart.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace tivora::chart {

namespace {

QFont sized(const QFont& base, double points, bool bold = false)
{
    QFont font(base);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// The ticks of an axis, each rounded to its step so that 0.1 + 0.2 shows 0.3.
std::vector<double> ticksOf(const Axis& axis)
{
    std::vector<double> ticks;
    if (!(axis.step > 0) || !(axis.high > axis.low))
        return ticks;
    const double decimals = std::max(0.0, -std::floor(std::log10(axis.step)) + 1);
    const double scale = std::pow(10.0, decimals);
    for (int i = 0;; ++i) {
        const double value = std::round((axis.low + i * axis.step) * scale) / scale;
        if (value > axis.high + axis.step / 1000 || i > 1000)
            break;
        ticks.push_back(value);
    }
    return ticks;
}

struct LegendEntry {
    QString name;
    QColor colour;
    Qt::PenStyle style;
    bool dots;
};

std::vector<LegendEntry> legendOf(const Chart& chart)
{
    std::vector<LegendEntry> entries;
    for (const Series& series : chart.series) {
        if (!series.name.isEmpty())
            entries.push_back({series.name, series.colour, series.style, series.dots});
    }
    return entries;
}

// Where everything goes, in device units.
struct Layout {
    QRectF plot;
    double titleBaseline;
    double legendTop;
    double lineHeight;
    double swatch;
    std::vector<QPointF> entryAt;  // the legend entries' top-left corners
    double notesTop;
    double yTitleHeight;  // its lines, read upwards beside the plot
    int yTitleFlags;
};

Layout layoutOf(const Chart& chart, const QRectF& frame, const QPaintDevice* device, const QFont& base, double pixel,
                double points)
{
    const QFontMetricsF title(sized(base, points * 1.2, true), device);
    const QFontMetricsF body(sized(base, points), device);
    Layout layout;
    layout.lineHeight = body.height();
    layout.swatch = 24 * pixel;
    layout.titleBaseline = frame.top() + title.ascent();
    layout.legendTop = frame.top() + title.height() + 3 * pixel;
    double x = frame.left(), y = layout.legendTop;
    for (const LegendEntry& entry : legendOf(chart)) {
        const double width = layout.swatch + 4 * pixel + body.horizontalAdvance(entry.name) + 12 * pixel;
        if (x > frame.left() && x + width > frame.right()) {
            x = frame.left();
            y += layout.lineHeight;
        }
        layout.entryAt.emplace_back(x, y);
        x += width;
    }
    if (!layout.entryAt.empty())
        y += layout.lineHeight;
    layout.notesTop = y;
    y += chart.notes.size() * layout.lineHeight + 4 * pixel;

    double widest = 0;
    for (double tick : ticksOf(chart.y))
        widest = std::max(widest, body.horizontalAdvance(chart.number(tick)));
    const double top = y + body.height() / 2;
    const double bottom = frame.bottom() - 2 * body.height() - 6 * pixel;
    // The y axis's title on one line, or on two where one is longer than
    // the plot is high; past that, on one line again, centred on the plot.
    const int wrapped = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
    const double lines =
        body.boundingRect(QRectF(0, 0, std::max(bottom - top, 1.0), 1e6), wrapped, chart.y.title).height();
    const bool two = lines > body.height() * 1.5 && lines < body.height() * 2.5;
    layout.yTitleHeight = two ? lines : body.height();
    layout.yTitleFlags = two ? wrapped : Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip;
    const double left = frame.left() + layout.yTitleHeight + 4 * pixel + widest + 6 * pixel;
    const double right = frame.right() - body.horizontalAdvance(chart.number(chart.x.high)) / 2 - 2 * pixel;
    layout.plot = QRectF(QPointF(left, top), QPointF(right, bottom));
    return layout;
}

QPointF toDevice(const Chart& chart, const QRectF& plot, QPointF value)
{
    const double fx = (value.x() - chart.x.low) / (chart.x.high - chart.x.low);
    const double fy = (value.y() - chart.y.low) / (chart.y.high - chart.y.low);
    return {plot.left() + fx * plot.width(), plot.bottom() - fy * plot.height()};
}

// A series' value at x, linear between its points; none outside them.
std::optional<double> valueAt(const Series& series, double x)
{
    for (std::size_t i = 1; i < series.points.size(); ++i) {
        const QPointF &a = series.points[i - 1], &b = series.points[i];
        if ((x >= a.x() && x <= b.x()) || (x <= a.x() && x >= b.x())) {
            if (b.x() == a.x())
                return a.y();
            return a.y() + (x - a.x()) / (b.x() - a.x()) * (b.y() - a.y());
        }
    }
    return std::nullopt;
}

}  // namespace

double niceStep(double span, int count)
{
    if (!(span > 0) || count < 1)
        return 1;
    const double raw = span / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= raw * (1 - 1e-12))
            return factor * power;
    }
    return 10 * power;
}

Axis niceAxis(const QString& title, double low, double high, int ticks)
{
    if (!std::isfinite(low) || !std::isfinite(high))
        low = high = 0;
    if (high <= low)
        high = low + 1;
    const double step = niceStep(high - low, ticks);
    return {title, std::floor(low / step + 1e-9) * step, std::ceil(high / step - 1e-9) * step, step};
}

void draw(QPainter& painter, const QRectF& frame, const Chart& chart, double pixel, double points)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QFont base = painter.font();
    const Layout layout = layoutOf(chart, frame, painter.device(), base, pixel, points);
    const QRectF& plot = layout.plot;
    const QFontMetricsF body(sized(base, points), painter.device());

    painter.setFont(sized(base, points * 1.2, true));
    painter.setPen(Qt::black);
    painter.drawText(QPointF(frame.left(), layout.titleBaseline), chart.title);
    if (!chart.empty.isEmpty()) {
        painter.setFont(sized(base, points));
        const QRectF below(frame.left(), layout.legendTop, frame.width(), frame.bottom() - layout.legendTop);
        painter.drawText(below.adjusted(8 * pixel, 8 * pixel, -8 * pixel, -8 * pixel),
                         Qt::AlignCenter | Qt::TextWordWrap, chart.empty);
        painter.restore();
        return;
    }

    // Legend entries, then its notes.
    painter.setFont(sized(base, points));
    const std::vector<LegendEntry> entries = legendOf(chart);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const QPointF at = layout.entryAt[i];
        const double middle = at.y() + layout.lineHeight / 2;
        painter.setPen(QPen(entries[i].colour, 2 * pixel, entries[i].style));
        painter.drawLine(QPointF(at.x(), middle), QPointF(at.x() + layout.swatch, middle));
        if (entries[i].dots) {
            painter.setBrush(entries[i].colour);
            painter.setPen(Qt::NoPen);
            painter.drawEllipse(QPointF(at.x() + layout.swatch / 2, middle), 3 * pixel, 3 * pixel);
            painter.setBrush(Qt::NoBrush);
        }
        painter.setPen(Qt::black);
        painter.drawText(QPointF(at.x() + layout.swatch + 4 * pixel, at.y() + body.ascent()), entries[i].name);
    }
    for (int i = 0; i < chart.notes.size(); ++i)
        painter.drawText(QPointF(frame.left(), layout.notesTop + i * layout.lineHeight + body.ascent()),
                         chart.notes[i]);

    // Grid and ticks.
    const QColor grid(215, 215, 215);
    for (double tick : ticksOf(chart.y)) {
        const double y = toDevice(chart, plot, {chart.x.low, tick}).y();
        painter.setPen(QPen(grid, 0.75 * pixel));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(Qt::black);
        const QString text = chart.number(tick);
        painter.drawText(QPointF(plot.left() - 5 * pixel - body.horizontalAdvance(text), y + body.ascent() / 2 - 1),
                         text);
    }
    for (double tick : ticksOf(chart.x)) {
        const double x = toDevice(chart, plot, {tick, chart.y.low}).x();
        painter.setPen(QPen(grid, 0.75 * pixel));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(Qt::black);
        const QString text = chart.number(tick);
        painter.drawText(QPointF(x - body.horizontalAdvance(text) / 2, plot.bottom() + 3 * pixel + body.ascent()),
                         text);
    }
    painter.setPen(QPen(Qt::black, pixel));
    painter.drawRect(plot);
    if (chart.y.low < 0 && chart.y.high > 0) {
        const double zero = toDevice(chart, plot, {0, 0}).y();
        painter.drawLine(QPointF(plot.left(), zero), QPointF(plot.right(), zero));
    }
    painter.drawText(QPointF(plot.center().x() - body.horizontalAdvance(chart.x.title) / 2,
                             plot.bottom() + 5 * pixel + body.height() + body.ascent()),
                     chart.x.title);
    painter.save();
    painter.translate(frame.left(), plot.bottom());
    painter.rotate(-90);
    painter.drawText(QRectF(0, 0, plot.height(), layout.yTitleHeight), layout.yTitleFlags, chart.y.title);
    painter.restore();

    painter.setClipRect(plot.adjusted(-pixel, -pixel, pixel, pixel));
    // Labels go where no label drawn before them is, in the plot: a mark's
    // that finds no free place is left out (its tooltip remains), a rule's
    // takes its first place.
    std::vector<QRectF> placed;
    const auto place = [&placed, &plot](const std::vector<QRectF>& candidates) {
        for (const QRectF& candidate : candidates) {
            if (plot.contains(candidate) &&
                std::none_of(placed.begin(), placed.end(), [&](const QRectF& r) { return r.intersects(candidate); })) {
                placed.push_back(candidate);
                return candidate;
            }
        }
        return QRectF();
    };
    const double gap = 3 * pixel, inset = 4 * pixel;
    // A rule's label's places, the first preferred.
    const auto placesOf = [&](const Rule& rule) -> std::vector<QRectF> {
        const double width = body.horizontalAdvance(rule.label), height = body.height();
        if (rule.vertical) {
            // Read upwards, beside the line: at its top or bottom, left or right of it.
            const double x = toDevice(chart, plot, {rule.at, 0}).x();
            const double left = x - gap - height, right = x + gap;
            return {QRectF(left, plot.top() + inset, height, width),
                    QRectF(left, plot.bottom() - inset - width, height, width),
                    QRectF(right, plot.top() + inset, height, width),
                    QRectF(right, plot.bottom() - inset - width, height, width)};
        }
        const double y = toDevice(chart, plot, {0, rule.at}).y();
        const double right = plot.right() - inset - width, left = plot.left() + inset,
                     middle = plot.center().x() - width / 2;
        const double above = y - gap - height, below = y + gap;
        return {QRectF(right, above, width, height),  QRectF(left, above, width, height),
                QRectF(middle, above, width, height), QRectF(right, below, width, height),
                QRectF(left, below, width, height),   QRectF(middle, below, width, height)};
    };
    // The rules' labels in this order, each in its first free place, or in
    // its first place where none is free; and how many found none.
    const auto arranged = [&](const std::vector<const Rule*>& order) {
        std::vector<std::pair<const Rule*, QRectF>> labels;
        int crowded = 0;
        for (const Rule* rule : order) {
            const std::vector<QRectF> places = placesOf(*rule);
            auto free = std::find_if(places.begin(), places.end(), [&](const QRectF& candidate) {
                return plot.contains(candidate) && std::none_of(labels.begin(), labels.end(), [&](const auto& label) {
                           return label.second.intersects(candidate);
                       });
            });
            if (free == places.end()) {
                ++crowded;
                free = places.begin();
            }
            labels.emplace_back(rule, *free);
        }
        return std::make_pair(labels, crowded);
    };
    // In the chart's order; where that crowds labels, the rules across the x
    // axis first (read upwards, theirs have fewer places) if that crowds fewer.
    std::vector<const Rule*> order;
    for (const Rule& rule : chart.rules)
        order.push_back(&rule);
    auto [labels, crowded] = arranged(order);
    if (crowded > 0) {
        std::stable_partition(order.begin(), order.end(), [](const Rule* rule) { return rule->vertical; });
        auto [otherLabels, otherCrowded] = arranged(order);
        if (otherCrowded < crowded)
            labels = std::move(otherLabels);
    }
    for (const auto& [rule, at] : labels) {
        placed.push_back(at);
        painter.setPen(QPen(rule->colour, pixel, rule->style));
        if (rule->vertical) {
            const double x = toDevice(chart, plot, {rule->at, 0}).x();
            painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
            painter.save();
            painter.translate(at.left() + body.ascent(), at.bottom());
            painter.rotate(-90);
            painter.drawText(QPointF(0, 0), rule->label);
            painter.restore();
        } else {
            const double y = toDevice(chart, plot, {0, rule->at}).y();
            painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
            painter.drawText(QPointF(at.left(), at.top() + body.ascent()), rule->label);
        }
    }
    for (const Series& series : chart.series) {
        QPainterPath path;
        for (const QPointF& point : series.points) {
            const QPointF at = toDevice(chart, plot, point);
            if (path.elementCount() == 0)
                path.moveTo(at);
            else
                path.lineTo(at);
        }
        painter.setPen(QPen(series.colour, series.width * pixel, series.style, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        if (series.dots) {
            painter.setBrush(series.colour);
            for (const QPointF& point : series.points)
                painter.drawEllipse(toDevice(chart, plot, point), 2 * pixel, 2 * pixel);
        }
    }
    for (const Mark& mark : chart.marks) {
        const QPointF at = toDevice(chart, plot, mark.at);
        painter.setPen(QPen(mark.colour, pixel));
        if (mark.dot) {
            painter.setBrush(mark.colour);
            painter.drawEllipse(at, 3.5 * pixel, 3.5 * pixel);
        }
        // Beside the point, clear of the labels before it, inside the plot.
        if (mark.label.isEmpty())
            continue;
        const double width = body.horizontalAdvance(mark.label), height = body.height();
        const double right = std::min(at.x() + 6 * pixel, plot.right() - width),
                     left = std::max(at.x() - 6 * pixel - width, plot.left());
        const double above = std::max(at.y() - 5 * pixel - height, plot.top());
        const QRectF where = place({QRectF(right, above, width, height), QRectF(left, above, width, height)});
        if (where.isNull())
            continue;
        painter.setPen(Qt::black);
        painter.drawText(QPointF(where.left(), where.top() + body.ascent()), mark.label);
    }
    painter.restore();
}

QString figuresAt(const Chart& chart, const QRectF& frame, QPointF position, const QWidget* device, double points)
{
    if (!chart.empty.isEmpty())
        return {};
    const Layout layout = layoutOf(chart, frame, device, device->font(), 1, points);
    if (!layout.plot.contains(position))
        return {};
    const double x =
        chart.x.low + (position.x() - layout.plot.left()) / layout.plot.width() * (chart.x.high - chart.x.low);
    QStringList lines{QStringLiteral("%1: %2").arg(chart.x.title, chart.number(x))};
    for (const Series& series : chart.series) {
        if (series.name.isEmpty())
            continue;
        if (const auto y = valueAt(series, x))
            lines << QStringLiteral("%1: %2").arg(series.name, chart.number(*y));
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace tivora::chart
