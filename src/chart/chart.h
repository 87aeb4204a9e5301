#pragma once

// A small line chart drawn with QPainter, for the screen and for paper
// alike: axes with units and round tick values, lines, marked points with
// labels, straight rules, a legend, and the figures under a point for a
// tooltip. The Rotor Performance window and the design sheet draw with it.
// (Qt Charts would do this too, but is GPL-only and Tivora is MIT.)

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>

#include <functional>
#include <vector>

class QPainter;

namespace tivora::chart {

// 1, 2 or 5 times a power of ten: the smallest such step that fits `span`
// into at most `count` steps.
double niceStep(double span, int count);

struct Axis {
    QString title;  // with its unit: "Wind speed (m/s)"
    double low = 0;
    double high = 1;
    double step = 0.2;  // between ticks
};
// An axis of round ticks that takes in `low` and `high`.
Axis niceAxis(const QString& title, double low, double high, int ticks = 5);

struct Series {
    QString name;  // in the legend and the tooltip; none: neither
    std::vector<QPointF> points;
    QColor colour = Qt::black;
    Qt::PenStyle style = Qt::SolidLine;
    double width = 1.5;  // in pixels at 100 %
    bool dots = false;   // a dot at every point
};

// A point of note: a dot and a label beside it.
struct Mark {
    QPointF at;
    QString label;
    QColor colour = Qt::black;
    bool dot = true;
};

// A straight line across the plot at a value of one axis, labelled.
struct Rule {
    bool vertical = true;  // at an x value; else at a y value
    double at = 0;
    QString label;
    QColor colour = Qt::darkGray;
    Qt::PenStyle style = Qt::DashLine;
};

struct Chart {
    QString title;
    Axis x, y;
    std::vector<Series> series;
    std::vector<Rule> rules;
    std::vector<Mark> marks;
    QStringList notes;  // lines of the legend under its entries
    // Set when there is nothing to draw: why, said in place of bare axes.
    QString empty;
    // Tick and tooltip figures; the caller's number format.
    std::function<QString(double)> number = [](double v) { return QString::number(v, 'g', 6); };
};

// Draws the chart in `frame` of the painter's device. `pixel`: device units
// per pixel at 100 % (1 on a screen; Qt scales for the screen itself). Text
// sizes are in points of the device: `points` is the body text's.
void draw(QPainter& painter, const QRectF& frame, const Chart& chart, double pixel = 1, double points = 9);

// The figures under `position` in a chart drawn so: the x value and each
// series' value there. Empty outside the plot.
QString figuresAt(const Chart& chart, const QRectF& frame, QPointF position, const QWidget* device, double points = 9);

// The chart as words, for a screen reader.
QString description(const Chart& chart);

// The chart in a widget, with its figures as tooltip.
class ChartView : public QWidget {
    Q_OBJECT

public:
    explicit ChartView(QWidget* parent = nullptr);
    void setChart(Chart chart);
    const Chart& chart() const { return chart_; }
    QSize sizeHint() const override { return {420, 300}; }
    QSize minimumSizeHint() const override { return {260, 200}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    Chart chart_;
};

}  // namespace tivora::chart
