// The chart as a widget and as words: what a screen reader says of it,
// and the figures under the pointer in a tooltip.

#include "chart.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace tivora::chart {

QString description(const Chart& chart)
{
    if (!chart.empty.isEmpty())
        return chart.title + QLatin1String(". ") + chart.empty;
    QStringList parts{chart.title};
    parts << QStringLiteral("%1 from %2 to %3; %4 from %5 to %6.")
                 .arg(chart.x.title, chart.number(chart.x.low), chart.number(chart.x.high), chart.y.title,
                      chart.number(chart.y.low), chart.number(chart.y.high));
    for (const Series& series : chart.series) {
        if (!series.name.isEmpty())
            parts << series.name + QLatin1Char('.');
    }
    for (const Rule& rule : chart.rules) {
        if (!rule.label.isEmpty())
            parts << rule.label + QLatin1Char('.');
    }
    for (const Mark& mark : chart.marks) {
        if (!mark.label.isEmpty())
            parts << mark.label + QLatin1Char('.');
    }
    for (const QString& note : chart.notes)
        parts << note + QLatin1Char('.');
    return parts.join(QLatin1Char(' '));
}

ChartView::ChartView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void ChartView::setChart(Chart chart)
{
    chart_ = std::move(chart);
    setAccessibleName(chart_.title);
    setAccessibleDescription(description(chart_));
    update();
}

void ChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setFont(font());
    draw(painter, QRectF(rect()).adjusted(6, 4, -8, -4), chart_);
}

bool ChartView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString figures = figuresAt(chart_, QRectF(rect()).adjusted(6, 4, -8, -4), help->pos(), this);
        if (figures.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), figures, this);
        return true;
    }
    return QWidget::event(event);
}

}  // namespace tivora::chart
