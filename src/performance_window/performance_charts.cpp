#include "performance_charts.h"

#include "performance/physics.h"
#include "performance/report.h"
#include "problem_words.h"
#include "site_wind_charts.h"

#include <QCoreApplication>

#include <algorithm>
#include <map>

namespace tivora {

using namespace performance;

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("tivora::PerformanceWindow", text);
}

// The charts are drawn on white paper in the window and on the sheet alike,
// so their colours are chosen against white.
const QColor kDesignColour(0, 90, 170);
const QColor kMeasuredColour(200, 90, 0);
const QColor kAlternatorColour(180, 0, 0);
const QColor kTypedColour(0, 120, 0);

std::function<QString(double)> numbersIn(const NumberFormat& format)
{
    return [format](double v) { return shownFigure(v, std::abs(v) >= 100 ? 0 : 3, format); };
}

double shownSpeed(const ChartContext& c, double metresPerSecond)
{
    return shownFromSi(Quantity::WindSpeed, c.system, metresPerSecond);
}

QString speedUnit(const ChartContext& c)
{
    return QString::fromStdString(unitOf(Quantity::WindSpeed, c.system));
}

// The rotor's operating points, one dotted series a state, so that the
// legend says what each colour is.
void addStates(chart::Chart& chart, const std::vector<std::pair<QPointF, OperatingState>>& points)
{
    std::map<OperatingState, chart::Series> byState;
    for (const auto& [at, state] : points) {
        chart::Series& series = byState[state];
        if (series.points.empty()) {
            series.name = stateText(state);
            series.colour = stateColour(state);
            series.style = Qt::NoPen;
            series.dots = true;
        }
        series.points.push_back(at);
    }
    for (auto& [state, series] : byState)
        chart.series.push_back(std::move(series));
}

chart::Chart cpChart(const Analysis& a, const ChartContext& c)
{
    chart::Chart cp;
    cp.number = numbersIn(c.format);
    chart::Series curve{tr("Blade Cp"), {}, kDesignColour};
    for (const CpPoint& p : a.cp.points)
        curve.points.emplace_back(p.tsr, p.cp);
    cp.series.push_back(curve);
    cp.x = chart::niceAxis(tr("Tip speed ratio λ"), 0, a.cp.points.back().tsr);
    cp.y = {tr("Cp"), 0, 0.7, 0.1};  // room above Betz's line for its label
    cp.rules.push_back({false, kBetzLimit, tr("Betz 16/27"), Qt::darkGray, Qt::DashLine});
    cp.rules.push_back({false, a.typedEfficiency,
                        tr("typed efficiency %1").arg(shownFigure(a.typedEfficiency, 3, c.format)), kTypedColour,
                        Qt::DotLine});
    cp.rules.push_back(
        {true, a.designTsr, tr("design λ %1").arg(shownFigure(a.designTsr, 2, c.format)), kTypedColour, Qt::DashLine});
    cp.marks.push_back({{a.cp.peakTsr, a.cp.peakCp},
                        tr("Cp max %1 at λ %2")
                            .arg(QString::fromStdString(figureText(a.cp.peakCp, 3, c.format)),
                                 QString::fromStdString(figureText(a.cp.peakTsr, 2, c.format))),
                        kDesignColour});
    return cp;
}

// A year's energy, and apart from it what a turbine draws on standby.
QString energyText(const QString& name, const CurveEnergy& e, const NumberFormat& format)
{
    const QString energy = tr("%1: %2 kWh a year").arg(name, shownFigure(e.energy.kilowattHours, 0, format));
    if (e.energy.standbyKilowattHours >= 0)
        return energy;
    return tr("%1, standby draw %2 kWh").arg(energy, shownFigure(e.energy.standbyKilowattHours, 0, format));
}

chart::Chart powerChart(const Analysis& a, const ChartContext& c)
{
    chart::Chart power;
    power.number = numbersIn(c.format);
    chart::Series design{
        energyText(a.onAlternator ? tr("On the alternator") : tr("Held at the design λ"), a.energy(), c.format),
        {},
        kDesignColour};
    double highest = 0;
    std::vector<std::pair<QPointF, OperatingState>> states;
    for (const PowerCurveRow& row : a.curve()) {
        design.points.emplace_back(shownSpeed(c, row.windMps), row.deliveredWatts);
        highest = std::max(highest, row.deliveredWatts);
        if (row.windMps > 0)
            states.emplace_back(QPointF(shownSpeed(c, row.windMps), row.deliveredWatts), row.state);
    }
    power.series.push_back(design);
    if (a.measured) {
        chart::Series measured{
            energyText(tr("Measured"), a.measured->energy, c.format), {}, kMeasuredColour, Qt::DashLine};
        for (const PowerCurvePoint& p : a.measured->binned) {
            measured.points.emplace_back(shownSpeed(c, p.windSpeed), p.power);
            highest = std::max(highest, p.power);
        }
        power.series.push_back(measured);
    }
    addStates(power, states);
    power.x = chart::niceAxis(tr("Wind speed (%1)").arg(speedUnit(c)), 0, shownSpeed(c, 25));
    power.y = chart::niceAxis(tr("Delivered power (W)"), 0, highest * 1.15);
    if (!a.onAlternator) {
        power.rules.push_back({true, shownSpeed(c, a.held.cutInMps), tr("cut-in"), Qt::darkGray, Qt::DashLine});
        power.rules.push_back({true, shownSpeed(c, a.held.cutOutMps), tr("cut-out"), Qt::darkGray, Qt::DashLine});
        power.rules.push_back({false, a.held.ratedWatts,
                               tr("rated %1 W").arg(shownFigure(a.held.ratedWatts, 0, c.format)), Qt::darkGray,
                               Qt::DashLine});
    }
    power.notes << tr("Air density %1 kg/m³").arg(shownFigure(a.densityKgM3, 3, c.format));
    return power;
}

chart::Chart matchingChart(const Analysis& a, const ChartContext& c)
{
    chart::Chart matching;
    matching.number = numbersIn(c.format);
    double topPower = 0, topRpm = 0;
    chart::Series peaks{tr("Maximum power"), {}, Qt::black, Qt::DashLine};
    std::vector<std::pair<MatchingPoint, QString>> peakNames;
    std::vector<std::pair<QPointF, OperatingState>> states;
    for (const MatchingCurve& curve : a.matching) {
        chart::Series s{{}, {}, QColor(120, 140, 170)};
        s.width = 1;
        for (const MatchingPoint& p : curve.points) {
            s.points.emplace_back(p.rpm, p.watts);
            topRpm = std::max(topRpm, p.rpm);
        }
        topPower = std::max(topPower, curve.peak.watts);
        peaks.points.emplace_back(curve.peak.rpm, curve.peak.watts);
        peakNames.emplace_back(curve.peak, QStringLiteral("%1 %2").arg(
                                               shownFigure(shownSpeed(c, curve.windMps), 0, c.format), speedUnit(c)));
        matching.series.push_back(s);
        if (curve.operating.state != OperatingState::BelowCutIn)
            states.emplace_back(QPointF(curve.operating.rpm, curve.operating.rotorWatts), curve.operating.state);
    }
    matching.series.push_back(peaks);
    // The slow winds' peaks crowd in a corner: only those clear of it are named.
    for (const auto& [peak, name] : peakNames) {
        if (peak.watts >= 0.08 * topPower)
            matching.marks.push_back({{peak.rpm, peak.watts}, name, Qt::black, false});
    }
    chart::Series line{tr("Alternator's shaft power"), {}, kAlternatorColour};
    for (const MatchingPoint& p : a.alternatorLine) {
        if (p.watts > topPower * 1.1)
            break;
        line.points.emplace_back(p.rpm, p.watts);
    }
    matching.series.push_back(line);
    addStates(matching, states);
    matching.x = chart::niceAxis(tr("Rotor speed (rpm)"), 0, topRpm);
    matching.y = chart::niceAxis(tr("Rotor power (W)"), 0, topPower * 1.1);
    matching.notes << tr("Dots: where the alternator holds the rotor, by state");
    return matching;
}

#define TIVORA_TR(text) QT_TRANSLATE_NOOP("tivora::PerformanceWindow", text)
constexpr ChartSpec kCharts[] = {
    {"powerChart", TIVORA_TR("Power curve"), TIVORA_TR("Power against wind speed"), powerChart},
    {"cpChart", TIVORA_TR("Cp–λ"), TIVORA_TR("Power coefficient against tip speed ratio"), cpChart},
    {"matchingChart", TIVORA_TR("Generator matching"), TIVORA_TR("Generator matching: rotor power against rpm"),
     matchingChart},
    {"siteWindChart", TIVORA_TR("Site wind"), TIVORA_TR("Site wind measured, and the Weibull fitted to it"),
     siteWindChart},
    {"hubHeightChart", TIVORA_TR("Hub height"), TIVORA_TR("Annual energy against hub height"), hubHeightChart},
};
#undef TIVORA_TR

}  // namespace

std::span<const ChartSpec> performanceCharts()
{
    return kCharts;
}

QString tabTitle(const ChartSpec& spec)
{
    return tr(spec.tab);
}

chart::Chart chartOf(const ChartSpec& spec, const Analysis& analysis, const ChartContext& context)
{
    chart::Chart made = spec.make(analysis, context);
    made.title = tr(spec.title);
    return made;
}

chart::Chart emptyChart(const ChartSpec& spec, const QString& why)
{
    chart::Chart empty;
    empty.title = tr(spec.title);
    empty.empty = why;
    return empty;
}

QColor stateColour(OperatingState state)
{
    switch (state) {
    case OperatingState::BelowCutIn:
    case OperatingState::CutOut:
        return QColor(110, 110, 110);
    case OperatingState::Held:
    case OperatingState::Charging:
        return QColor(0, 120, 0);
    case OperatingState::AtRated:
        return QColor(0, 90, 170);
    case OperatingState::Stalled:
        return QColor(190, 90, 0);
    case OperatingState::Runaway:
        return QColor(180, 0, 0);
    }
    return Qt::black;
}

}  // namespace tivora
