#include "site_wind.h"

#include "text_columns.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tivora::performance {

namespace {

constexpr std::array<std::string_view, 3> kFitKeys = {"site.wind-series-weibull-k", "site.wind-series-weibull-c-m/s",
                                                      "site.wind-series-calm-share"};

Problem ofSeries(Problem problem)
{
    problem.input = InputId::WindSeries;
    return problem;
}

WindDistribution scaled(const WindDistribution& d, double factor)
{
    return {d.meanSpeed * factor, d.shape, d.calmShare};
}

SiteEnergy energyAt(const SiteWind& site, const std::vector<PowerCurvePoint>& curve, double factor)
{
    SiteEnergy e;
    const WindDistribution hub = scaled(site.atMeasured, factor);
    e.fittedKwh = annualEnergy(curve, hub).kilowattHours;
    if (site.series) {
        const WindSeries& measured = site.series->series;
        e.histogramKwh = annualEnergy(curve, [&](double v) { return measured.cumulative(v / factor); }).kilowattHours;
    }
    if (hub.calmShare > 0)
        e.calmsKwh = annualEnergy(curve, WindDistribution{hub.meanSpeed, hub.shape, 0}).kilowattHours - e.fittedKwh;
    return e;
}

}  // namespace

std::vector<double> heightTable()
{
    std::vector<double> heights;
    for (int h = 6; h <= 40; h += 2)
        heights.push_back(h);
    return heights;
}

Result<SiteWind> siteWindOf(const AnalysisInputs& inputs, const DesignFigures& design)
{
    SiteWind site;
    site.measuredHeightM = valueOf(inputs, InputId::MeasuredHeight, design);
    site.hubHeightM = valueOf(inputs, InputId::HubHeight, design);
    site.lawOption = inputs.choice(InputId::HeightLaw);
    site.law = heightLawOf(site.lawOption, valueOf(inputs, InputId::ShearExponent, design));
    site.factor = heightFactor(site.law, site.measuredHeightM, site.hubHeightM);
    if (const InputFile& file = inputs.file(InputId::WindSeries); file.text) {
        Result<WindSeries> series = readWindSeries(*file.text);
        if (!series)
            return ofSeries(series.problem());
        const Result<SiteWindFit> fit = fitWeibull(series->speeds);
        if (!fit)
            return ofSeries(fit.problem());
        site.measuredMeanMps = series->meanMps();
        site.atMeasured = {fit->likelihood.meanMps(), fit->likelihood.shape, fit->calmShare};
        site.series = SiteSeries{file.name, std::move(series.value()), *fit};
    } else {
        site.measuredMeanMps = valueOf(inputs, InputId::MeanWindSpeed, design);
        const Result<WindDistribution> typed =
            windDistribution(site.measuredMeanMps, valueOf(inputs, InputId::WeibullShape, design));
        if (!typed) {
            Problem problem = typed.problem();
            problem.input = InputId::MeanWindSpeed;
            return problem;
        }
        site.atMeasured = *typed;
    }
    site.atHub = scaled(site.atMeasured, site.factor);
    return site;
}

void addSiteEnergies(SiteWind& site, const std::vector<PowerCurvePoint>& held,
                     const std::vector<PowerCurvePoint>& alternator)
{
    site.held = energyAt(site, held, site.factor);
    site.alternator = energyAt(site, alternator, site.factor);
    site.byHeight.clear();
    for (double h : heightTable()) {
        const double factor = heightFactor(site.law, site.measuredHeightM, h);
        site.byHeight.push_back(
            {h, site.measuredMeanMps * factor, energyAt(site, held, factor), energyAt(site, alternator, factor)});
    }
}

bool isSeriesFitSetting(std::string_view name)
{
    return std::find(kFitKeys.begin(), kFitKeys.end(), name) != kFitKeys.end();
}

DesignSettings seriesFitSettings(const AnalysisInputs& inputs)
{
    const InputFile& file = inputs.file(InputId::WindSeries);
    DesignSettings rows;
    if (file.name.empty())
        return rows;
    if (!file.text) {
        for (const auto& row : inputs.otherSettings) {
            if (isSeriesFitSetting(row.first))
                rows.push_back(row);
        }
        return rows;
    }
    const Result<WindSeries> series = readWindSeries(*file.text);
    const Result<SiteWindFit> fit = series ? fitWeibull(series->speeds) : Result<SiteWindFit>(series.problem());
    if (!fit)
        return rows;
    rows.emplace_back(kFitKeys[0], numberText(fit->likelihood.shape, 3));
    rows.emplace_back(kFitKeys[1], numberText(fit->likelihood.scaleMps, 3));
    rows.emplace_back(kFitKeys[2], numberText(fit->calmShare, 4));
    return rows;
}

}  // namespace tivora::performance
