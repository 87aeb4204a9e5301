#include "site_wind_charts.h"

#include "performance/report.h"
#include "problem_words.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace tivora {

using namespace performance;

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("tivora::PerformanceWindow", text);
}

const QColor kMeasuredColour(120, 120, 120);
const QColor kLikelihoodColour(0, 90, 170);
const QColor kMomentsColour(200, 90, 0);

// The Weibull's density at v (per m/s).
double density(const WeibullFit& fit, double v)
{
    const double k = fit.shape, c = fit.scaleMps;
    return v <= 0 ? 0 : k / c * std::pow(v / c, k - 1) * std::exp(-std::pow(v / c, k));
}

QString fitName(const QString& method, const WeibullFit& fit, const ChartContext& c)
{
    return tr("%1: k %2, c %3 %4")
        .arg(method, shownFigure(fit.shape, 2, c.format),
             shownFigure(shownFromSi(Quantity::WindSpeed, c.system, fit.scaleMps), 2, c.format),
             QString::fromStdString(unitOf(Quantity::WindSpeed, c.system)));
}

}  // namespace

chart::Chart siteWindChart(const Analysis& a, const ChartContext& c)
{
    chart::Chart chart;
    if (!a.siteWind.series) {
        chart.empty = tr("No wind measured at the site is loaded: \"Site wind from a file…\" reads a logger's or a "
                         "weather station's speeds, fits a Weibull to them and draws both here.");
        return chart;
    }
    const SiteSeries& site = *a.siteWind.series;
    const WindSeries& s = site.series;
    chart.number = c.numbers();
    const double perMps = shownFromSi(Quantity::WindSpeed, c.system, 1);
    const QString unit = QString::fromStdString(unitOf(Quantity::WindSpeed, c.system));
    // Bins of a round width in the units shown, up to the speed all but a
    // thousandth of the time stays below.
    double topMps = s.speeds.back().windMps;
    for (const WeightedSpeed& w : s.speeds) {
        if (s.cumulative(w.windMps) >= 0.999) {
            topMps = w.windMps;
            break;
        }
    }
    const double width = chart::niceStep(topMps * perMps, 24);
    chart::Series measured{
        tr("Measured, %1 records at %2 %3")
            .arg(shownFigure(s.totalWeight, 0, c.format),
                 shownFigure(shownFromSi(Quantity::Length, c.system, a.siteWind.measuredHeightM), 1, c.format),
                 QString::fromStdString(unitOf(Quantity::Length, c.system))),
        {},
        kMeasuredColour};
    double highest = 0;
    for (double from = 0; from < topMps * perMps; from += width) {
        const double share = s.cumulative((from + width) / perMps) - s.cumulative(from / perMps);
        const double percent = share / width * 100;
        measured.points.emplace_back(from, percent);
        measured.points.emplace_back(from + width, percent);
        highest = std::max(highest, percent);
    }
    chart.series.push_back(measured);
    const double windy = 1 - site.fit.calmShare;
    for (const auto& [method, fit, colour, style] :
         {std::tuple{tr("Maximum likelihood"), site.fit.likelihood, kLikelihoodColour, Qt::SolidLine},
          std::tuple{tr("Method of moments"), site.fit.moments, kMomentsColour, Qt::DashLine}}) {
        chart::Series curve{fitName(method, fit, c), {}, colour, style};
        const double end = measured.points.back().x();
        for (int i = 0; i <= 120; ++i) {
            const double x = end * i / 120;
            const double percent = windy * density(fit, x / perMps) / perMps * 100;
            curve.points.emplace_back(x, percent);
            highest = std::max(highest, percent);
        }
        chart.series.push_back(curve);
    }
    chart.x = chart::niceAxis(tr("Wind speed (%1)").arg(unit), 0, measured.points.back().x());
    chart.y = chart::niceAxis(tr("Time (%1 per %2)").arg(QStringLiteral("%"), unit), 0, highest * 1.1);
    // One line: the plot keeps its room in a small window.
    QString note = tr("Mean %1 %2").arg(shownFigure(s.meanMps() * perMps, 2, c.format), unit);
    if (s.period)
        note = tr("%1 over %2 days").arg(note, shownFigure(s.period->days, 1, c.format));
    chart.notes
        << tr("%1 · calms %2 % of the time, not drawn").arg(note, shownFigure(site.fit.calmShare * 100, 1, c.format));
    return chart;
}

chart::Chart hubHeightChart(const Analysis& a, const ChartContext& c)
{
    chart::Chart chart;
    chart.number = c.numbers();
    const SiteWind& w = a.siteWind;
    const auto height = [&c](double m) { return shownFromSi(Quantity::Length, c.system, m); };
    const QString unit = QString::fromStdString(unitOf(Quantity::Length, c.system));
    chart::Series fitted{
        w.series ? tr("From the fitted Weibull") : tr("From the typed mean and shape"), {}, QColor(0, 90, 170)};
    chart::Series measured{tr("From the measured histogram"), {}, QColor(120, 120, 120), Qt::DashLine};
    double highest = 0;
    for (const HeightEnergy& h : w.byHeight) {
        const SiteEnergy& e = a.onAlternator ? h.alternator : h.held;
        fitted.points.emplace_back(height(h.hubM), e.fittedKwh);
        highest = std::max(highest, e.fittedKwh);
        if (e.histogramKwh) {
            measured.points.emplace_back(height(h.hubM), *e.histogramKwh);
            highest = std::max(highest, *e.histogramKwh);
        }
    }
    chart.series.push_back(fitted);
    if (!measured.points.empty())
        chart.series.push_back(measured);
    chart.x = chart::niceAxis(tr("Hub height (%1)").arg(unit), 0, height(w.byHeight.back().hubM));
    chart.y = chart::niceAxis(tr("Annual energy (kWh)"), 0, highest * 1.15);
    chart.rules.push_back({true, height(w.measuredHeightM), tr("measured"), Qt::darkGray, Qt::DotLine});
    const double hubKwh = a.energy().energy.kilowattHours;
    chart.marks.push_back(
        {{height(w.hubHeightM), hubKwh},
         tr("hub %1 %2: %3 kWh")
             .arg(shownFigure(height(w.hubHeightM), 1, c.format), unit, shownFigure(hubKwh, 0, c.format)),
         QColor(0, 90, 170)});
    chart.notes << tr("%1 · %2").arg(
        w.law.roughnessM
            ? tr("Log law, roughness length %1 %2").arg(shownFigure(height(*w.law.roughnessM), 4, c.format), unit)
            : tr("Power law, exponent %1").arg(shownFigure(w.law.exponent, 3, c.format)),
        a.onAlternator ? tr("on the alternator") : tr("held at the design λ"));
    return chart;
}

}  // namespace tivora
