#include "site_wind_report.h"

#include "analyse_words.h"

#include <cctype>

namespace tivora::performance {

namespace {

std::string number(double value, int decimals)
{
    return figureText(value, decimals, NumberFormat{});
}

std::string lowerFirst(std::string text)
{
    if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

// "held at the design tip speed ratio (kWh)", and from the histogram.
std::string energyColumns(std::string_view from)
{
    std::string columns;
    for (const std::string_view curve : {"held at the design tip speed ratio", "on the alternator"}) {
        columns.append(columns.empty() ? "" : ",").append(curve);
        if (!from.empty())
            columns.append(" ").append(from);
        columns.append(" (kWh)");
    }
    return columns;
}

std::string where(const LeftOut& left, bool withText)
{
    std::string words = " (the first at line " + std::to_string(left.firstLine);
    return words + (withText ? ": \"" + left.firstText + "\")" : ")");
}

}  // namespace

std::string leftOutWords(const WindSeries& s)
{
    std::vector<std::string> parts;
    const auto count = [](long n, const char* one, const char* many) {
        return std::to_string(n) + ' ' + (n == 1 ? one : many);
    };
    if (s.codes.count)
        parts.push_back(count(s.codes.count, "cell that holds no number", "cells that hold no number") +
                        where(s.codes, true));
    if (s.gaps.count)
        parts.push_back(count(s.gaps.count, "empty cell", "empty cells") + where(s.gaps, false));
    if (s.outOfRange.count)
        parts.push_back(count(s.outOfRange.count, "speed out of range", "speeds out of range") +
                        where(s.outOfRange, true));
    std::string words = "left out";
    for (std::size_t i = 0; i < parts.size(); ++i)
        words += (i == 0 ? " " : i + 1 == parts.size() ? " and " : ", ") + parts[i];
    return words;
}

std::vector<Figure> siteWindFigures(const Analysis& a)
{
    const SiteWind& w = a.siteWind;
    // The captions hold no comma: the command line writes them as CSV cells.
    std::vector<Figure> figures = {
        {"hub-height", "Hub height", w.hubHeightM, Quantity::Length, 1, -1},
    };
    // The power law's exponent is an input, shown as one.
    if (w.law.roughnessM)
        figures.push_back(
            {"roughness-length", "Roughness length of the terrain", *w.law.roughnessM, Quantity::Length, 4, 4});
    figures.push_back({"height-factor", "Wind speed at the hub over that measured", w.factor, Quantity::None, 3, 4});
    figures.push_back(
        {"hub-mean-wind-speed", "Mean wind speed at the hub height", w.hubMeanMps(), Quantity::WindSpeed, 2, 3});
    if (!w.series)
        return figures;
    const WindSeries& s = w.series->series;
    const SiteWindFit& fit = w.series->fit;
    const bool bins = s.form == SeriesForm::Histogram;
    figures.insert(
        figures.end(),
        {
            {"series-lines", bins ? "Site wind bins read" : "Site wind records read", static_cast<double>(s.lines),
             Quantity::None, 0, 0},
            {"series-calms", "Calms in the site wind", fit.calmShare * 100, Quantity::Percent, 1, 2},
            {"series-gaps", "Empty cells left out", static_cast<double>(s.gaps.count), Quantity::None, 0, 0},
            {"series-codes", "Cells with no number left out", static_cast<double>(s.codes.count), Quantity::None, 0, 0},
            {"series-out-of-range", "Speeds out of range left out", static_cast<double>(s.outOfRange.count),
             Quantity::None, 0, 0},
        });
    if (s.unreadTimes.count)
        figures.push_back({"series-unread-times", "Timestamps unread (no period is given)",
                           static_cast<double>(s.unreadTimes.count), Quantity::None, 0, 0});
    if (s.period) {
        figures.push_back({"series-period", "Period covered", s.period->days, Quantity::Days, 1, 2});
        if (!bins)
            figures.push_back({"series-missing", "Records missing between timestamps",
                               static_cast<double>(s.period->missingSteps), Quantity::None, 0, 0});
    }
    figures.insert(
        figures.end(),
        {
            {"series-mean", "Mean wind speed measured", s.meanMps(), Quantity::WindSpeed, 2, 3},
            {"likelihood-k", "Weibull shape k by maximum likelihood", fit.likelihood.shape, Quantity::None, 3, 4},
            {"likelihood-c", "Weibull scale c by maximum likelihood", fit.likelihood.scaleMps, Quantity::WindSpeed, 2,
             3},
            {"moments-k", "Weibull shape k by the method of moments", fit.moments.shape, Quantity::None, 3, 4},
            {"moments-c", "Weibull scale c by the method of moments", fit.moments.scaleMps, Quantity::WindSpeed, 2, 3},
        });
    return figures;
}

std::vector<Figure> siteEnergyFigures(const Analysis& a)
{
    const SiteWind& w = a.siteWind;
    const SiteEnergy& e = a.onAlternator ? w.alternator : w.held;
    if (!w.series || !e.histogramKwh)
        return {};
    std::vector<Figure> figures = {
        {"histogram-energy", "Annual energy from the measured histogram", *e.histogramKwh, Quantity::Energy, 0, 1}};
    if (w.series->fit.calmShare > 0)
        figures.push_back({"calms-cost", "What the calms cost a year", e.calmsKwh, Quantity::Energy, 0, 1});
    return figures;
}

void writeSiteWind(std::ostream& csv, const Analysis& a)
{
    const SiteWind& w = a.siteWind;
    csv << "\n# Site wind, measured at " << number(w.measuredHeightM, -1) << " m and carried to the hub by the ";
    if (w.law.roughnessM)
        csv << "log law over " << kTerrains[static_cast<std::size_t>(w.lawOption)].key;
    else
        csv << "power law, exponent " << number(w.law.exponent, 4);
    if (w.series)
        csv << "; from " << w.series->fileName << ", column \"" << w.series->series.column << "\" in "
            << w.series->series.unit;
    csv << "\nquantity,value,unit\n";
    for (const Figure& f : siteWindFigures(a))
        csv << lowerFirst(ascii(f.caption)) << ',' << number(f.value, f.scriptDecimals) << ','
            << asciiUnitOf(f.quantity) << '\n';

    if (w.series) {
        csv << "\n# Site wind's annual energy at the hub height\n"
               "curve,from the fitted Weibull (kWh),from the measured histogram (kWh),what the calms cost (kWh)\n";
        for (const auto& [caption, e] :
             {std::pair{"held at the design tip speed ratio", &w.held}, std::pair{"on the alternator", &w.alternator}})
            csv << caption << ',' << number(e->fittedKwh, 1) << ',' << number(e->histogramKwh.value_or(0), 1) << ','
                << number(e->calmsKwh, 1) << '\n';
    }

    csv << "\n# Hub heights and their annual energy\nhub height (m),mean wind speed (m/s),"
        << energyColumns(w.series ? "from the fitted Weibull" : "");
    if (w.series)
        csv << ',' << energyColumns("from the measured histogram");
    csv << '\n';
    for (const HeightEnergy& h : w.byHeight) {
        csv << number(h.hubM, 0) << ',' << number(h.meanMps, 2) << ',' << number(h.held.fittedKwh, 1) << ','
            << number(h.alternator.fittedKwh, 1);
        if (w.series)
            csv << ',' << number(h.held.histogramKwh.value_or(0), 1) << ','
                << number(h.alternator.histogramKwh.value_or(0), 1);
        csv << '\n';
    }
}

}  // namespace tivora::performance
