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
    cp.number = c.numbers();
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
    cp.rules.push_back({true, a.runaway().tsr, tr("runaway λ %1").arg(shownFigure(a.runaway().tsr, 2, c.format)),
                        stateColour(OperatingState::Runaway), Qt::DotLine});
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

// The furl onset, and the wind speed at which the tip passes its limit, as
// lines across a chart against wind speed.
void addLimitRules(chart::Chart& chart, const Analysis& a, const ChartContext& c)
{
    if (a.limits.furlOnsetMps)
        chart.rules.push_back({true, shownSpeed(c, *a.limits.furlOnsetMps), tr("furl onset"),
                               stateColour(OperatingState::Furled), Qt::DashLine});
    if (const std::optional<double> past = firstPastTipLimit(a.curve()))
        chart.rules.push_back(
            {true, shownSpeed(c, *past),
             tr("tip > %1 %2").arg(shownFigure(shownSpeed(c, a.limits.tipSpeedLimitMps), 0, c.format), speedUnit(c)),
             stateColour(OperatingState::Runaway), Qt::DotLine});
}

chart::Chart powerChart(const Analysis& a, const ChartContext& c)
{
    chart::Chart power;
    power.number = c.numbers();
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
    if (a.onAlternator) {
        // What the rotor gives beside what the battery gets: the gap is the
        // winding's heat and the rectifier's.
        chart::Series shaft{tr("Rotor's shaft power"), {}, Qt::darkGray, Qt::DashLine};
        shaft.width = 1;
        for (const PowerCurveRow& row : a.curve()) {
            shaft.points.emplace_back(shownSpeed(c, row.windMps), row.rotorWatts);
            highest = std::max(highest, row.rotorWatts);
        }
        power.series.push_back(shaft);
    }
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
    addLimitRules(power, a, c);
    if (a.onAlternator)
        power.rules.push_back({false, a.alternator.batteryVolts * a.limits.currentRatingAmps,
                               tr("current rating %1 A").arg(shownFigure(a.limits.currentRatingAmps, 1, c.format)),
                               stateColour(OperatingState::Overheating), Qt::DotLine});
    power.notes << tr("Air density %1 kg/m³").arg(shownFigure(a.densityKgM3, 3, c.format));
    return power;
}

chart::Chart matchingChart(const Analysis& a, const ChartContext& c)
{
    chart::Chart matching;
    matching.number = c.numbers();
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

// The tip's speed against wind speed, loaded and unloaded, with the limit.
chart::Chart tipSpeedChart(const Analysis& a, const ChartContext& c)
{
    chart::Chart tip;
    tip.number = c.numbers();
    chart::Series loaded{a.onAlternator ? tr("On the alternator") : tr("Held at the design λ"), {}, kDesignColour};
    chart::Series unloaded{tr("Unloaded (runaway)"), {}, stateColour(OperatingState::Runaway), Qt::DashLine};
    double highest = a.limits.tipSpeedLimitMps;
    const double radius = a.design.stations.empty() ? 0 : a.design.stations.back().radius;
    std::vector<std::pair<QPointF, OperatingState>> states;
    for (const PowerCurveRow& row : a.curve()) {
        const double runaway = radPerSecFromRpm(row.runawayRpm) * radius;
        loaded.points.emplace_back(shownSpeed(c, row.windMps), shownSpeed(c, row.tipSpeedMps));
        unloaded.points.emplace_back(shownSpeed(c, row.windMps), shownSpeed(c, runaway));
        highest = std::max({highest, row.tipSpeedMps, runaway});
        if (row.windMps > 0 && row.tipSpeedMps > 0)
            states.emplace_back(QPointF(shownSpeed(c, row.windMps), shownSpeed(c, row.tipSpeedMps)), row.state);
    }
    tip.series.push_back(loaded);
    tip.series.push_back(unloaded);
    addStates(tip, states);
    tip.x = chart::niceAxis(tr("Wind speed (%1)").arg(speedUnit(c)), 0, shownSpeed(c, 25));
    tip.y = chart::niceAxis(tr("Tip speed (%1)").arg(speedUnit(c)), 0, shownSpeed(c, highest) * 1.1);
    tip.rules.push_back(
        {false, shownSpeed(c, a.limits.tipSpeedLimitMps),
         tr("limit %1 %2").arg(shownFigure(shownSpeed(c, a.limits.tipSpeedLimitMps), 0, c.format), speedUnit(c)),
         stateColour(OperatingState::Runaway), Qt::DotLine});
    if (a.limits.furlOnsetMps)
        tip.rules.push_back({true, shownSpeed(c, *a.limits.furlOnsetMps), tr("furl onset"),
                             stateColour(OperatingState::Furled), Qt::DashLine});
    tip.notes << tr("Unloaded: Cp falls to zero at λ %1").arg(shownFigure(a.runaway().tsr, 2, c.format));
    return tip;
}

// The rotor's thrust and one blade's root bending moment against wind speed.
chart::Chart loadsChart(const Analysis& a, const ChartContext& c)
{
    chart::Chart loads;
    loads.number = c.numbers();
    chart::Series thrust{tr("Rotor thrust (N)"), {}, kDesignColour};
    chart::Series moment{tr("Blade root bending moment (N·m)"), {}, kAlternatorColour};
    double highest = 0;
    for (const PowerCurveRow& row : a.curve()) {
        thrust.points.emplace_back(shownSpeed(c, row.windMps), row.thrustN);
        moment.points.emplace_back(shownSpeed(c, row.windMps), row.rootMomentNm);
        highest = std::max({highest, row.thrustN, row.rootMomentNm});
    }
    loads.series.push_back(thrust);
    loads.series.push_back(moment);
    loads.x = chart::niceAxis(tr("Wind speed (%1)").arg(speedUnit(c)), 0, shownSpeed(c, 25));
    loads.y = chart::niceAxis(tr("Thrust (N), moment (N·m)"), 0, highest * 1.15);
    addLimitRules(loads, a, c);
    loads.notes << tr("Parked in %1 %2 (IEC 61400-2, case H):")
                       .arg(shownFigure(shownSpeed(c, a.survivalWindMps), 1, c.format), speedUnit(c))
                << tr("thrust %1 N, blade root %2 N·m")
                       .arg(shownFigure(a.parked.thrustN, 0, c.format), shownFigure(a.parked.rootMomentNm, 0, c.format))
                << tr("Figures for a first sizing, not a certification");
    return loads;
}

// Each station's Reynolds number at the design point, and the polar's.
chart::Chart reynoldsChart(const Analysis& a, const ChartContext& c)
{
    chart::Chart reynolds;
    reynolds.number = c.numbers();
    chart::Series stations{tr("Blade at the design point"), {}, kDesignColour};
    stations.dots = true;
    double highest = a.polarReynolds.value_or(0);
    for (std::size_t k = 0; k < a.stationReynolds.size(); ++k) {
        stations.points.emplace_back(shownFromSi(Quantity::Length, c.system, a.design.stations[k].radius),
                                     a.stationReynolds[k] / 1000);
        highest = std::max(highest, a.stationReynolds[k]);
    }
    reynolds.series.push_back(stations);
    const double tip = a.design.stations.empty() ? 1 : a.design.stations.back().radius;
    reynolds.x = chart::niceAxis(tr("Radius (%1)").arg(QString::fromStdString(unitOf(Quantity::Length, c.system))), 0,
                                 shownFromSi(Quantity::Length, c.system, tip));
    reynolds.y = chart::niceAxis(tr("Reynolds number (thousands)"), 0, highest / 1000 * 1.15);
    if (a.polarReynolds)
        reynolds.rules.push_back({false, *a.polarReynolds / 1000,
                                  tr("polar's %1").arg(shownFigure(*a.polarReynolds, 0, c.format)), kTypedColour,
                                  Qt::DashLine});
    reynolds.notes << tr("Air viscosity %1 µPa·s (Sutherland) at %2 %3")
                          .arg(shownFigure(a.viscosityPaS * 1e6, 2, c.format),
                               shownFigure(shownFromSi(Quantity::Temperature, c.system, a.temperatureCelsius), 1,
                                           c.format),
                               QString::fromStdString(unitOf(Quantity::Temperature, c.system)));
    return reynolds;
}

#define TIVORA_TR(text) QT_TRANSLATE_NOOP("tivora::PerformanceWindow", text)
constexpr ChartEntry kCharts[] = {
    {"powerChart", TIVORA_TR("Power curve"), TIVORA_TR("Power against wind speed"), powerChart},
    {"cpChart", TIVORA_TR("Cp–λ"), TIVORA_TR("Power coefficient against tip speed ratio"), cpChart},
    {"matchingChart", TIVORA_TR("Generator matching"), TIVORA_TR("Generator matching: rotor power against rpm"),
     matchingChart},
    {"tipSpeedChart", TIVORA_TR("Tip speed"), TIVORA_TR("Tip speed against wind speed, loaded and unloaded"),
     tipSpeedChart},
    {"loadsChart", TIVORA_TR("Loads"), TIVORA_TR("Rotor thrust and blade root bending moment"), loadsChart},
    {"reynoldsChart", TIVORA_TR("Reynolds"), TIVORA_TR("Reynolds number of the stations at the design point"),
     reynoldsChart},
    {"siteWindChart", TIVORA_TR("Site wind"), TIVORA_TR("Site wind measured, and the Weibull fitted to it"),
     siteWindChart},
    {"hubHeightChart", TIVORA_TR("Hub height"), TIVORA_TR("Annual energy against hub height"), hubHeightChart},
};
#undef TIVORA_TR

}  // namespace

std::function<QString(double)> ChartContext::numbers() const
{
    return [format = format](double v) { return shownFigure(v, std::abs(v) >= 100 ? 0 : 3, format); };
}

std::span<const ChartEntry> performanceCharts()
{
    return kCharts;
}

QString tabTitle(const ChartEntry& entry)
{
    return tr(entry.tab);
}

chart::Chart chartOf(const ChartEntry& entry, const Analysis& analysis, const ChartContext& context)
{
    chart::Chart made = entry.make(analysis, context);
    made.title = tr(entry.title);
    return made;
}

chart::Chart emptyChart(const ChartEntry& entry, const QString& why)
{
    chart::Chart empty;
    empty.title = tr(entry.title);
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
    case OperatingState::Furled:
        return QColor(120, 60, 160);
    case OperatingState::Overheating:
        return QColor(220, 60, 0);
    }
    return Qt::black;
}

}  // namespace tivora
