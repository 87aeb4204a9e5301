// The wind at the user's site: a logger's file read, fitted by maximum
// likelihood and by moments, its energy from the fit and from its own
// frequencies, carried to the hub by the log or the power law; and
// `tivora --analyse --wind-series` printing all of it.

#include "analyse_output.h"
#include "performance/analysis.h"
#include "performance/site_wind.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace tivora::performance {
namespace {

namespace fs = std::filesystem;

// Weibull speeds by the inverse of its distribution, v = c (−ln u)^(1/k),
// from std::mt19937's own 32-bit output, which the standard fixes (the
// standard's distributions differ from one library to another).
std::vector<double> weibullSpeeds(int count, double k, double c)
{
    std::mt19937 generator(20240611);
    std::vector<double> speeds;
    for (int i = 0; i < count; ++i) {
        const double u = (static_cast<double>(generator()) + 0.5) / 4294967296.0;
        speeds.push_back(c * std::pow(-std::log(u), 1 / k));
    }
    return speeds;
}

// A logger's export: a timestamp every ten minutes from 1 January 2023 and
// the speed to 0.01 m/s.
std::string loggerFile(const std::vector<double>& speeds)
{
    std::string text = "Timestamp,Wind speed avg (m/s)\n";
    char line[64];
    for (std::size_t i = 0; i < speeds.size(); ++i) {
        const long minutes = static_cast<long>(i) * 10;
        const long day = minutes / 1440;
        // January has 31 days, February 28, and so on: the days of 2023 from their start.
        const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        int month = 0;
        long d = day;
        while (d >= lengths[month])
            d -= lengths[month++];
        std::snprintf(line, sizeof line, "2023-%02d-%02ld %02ld:%02ld,%.2f\n", month + 1, d + 1, minutes % 1440 / 60,
                      minutes % 60, speeds[i]);
        text += line;
    }
    return text;
}

// A held rotor's curve, as the analysis bins it: 40 % of the wind's power
// through a 1 m disc from 3 m/s, capped at 1 kW.
std::vector<PowerCurvePoint> heldCurve()
{
    std::vector<PowerCurvePoint> curve;
    for (double v : windSpeedBins())
        curve.push_back({v, v < 3 ? 0 : std::min(1000.0, 0.4 * 0.5 * 1.225 * 3.14159265 * v * v * v)});
    return curve;
}

TEST(SiteWind, fiftyThousandWeibullSpeedsFitBothWaysAndTheirHistogramGivesTheFitsEnergy)
{
    const std::vector<double> drawn = weibullSpeeds(50000, 2.1, 6.0);
    const WindSeries series = readWindSeries(loggerFile(drawn)).value();
    EXPECT_EQ(series.lines, 50000);
    EXPECT_EQ(series.totalWeight, 50000);
    ASSERT_TRUE(series.period);
    EXPECT_NEAR(series.period->days, 50000.0 / 144, 1e-9);  // 144 records a day
    EXPECT_EQ(series.period->missingSteps, 0);

    const SiteWindFit fit = fitWeibull(series.speeds).value();
    for (const auto& [method, found] : {std::pair{"maximum likelihood", fit.likelihood}, {"moments", fit.moments}}) {
        EXPECT_NEAR(found.shape, 2.1, 0.02 * 2.1) << method;
        EXPECT_NEAR(found.scaleMps, 6.0, 0.02 * 6.0) << method;
    }
    const double fitted =
        annualEnergy(heldCurve(), WindDistribution{fit.likelihood.meanMps(), fit.likelihood.shape}).kilowattHours;
    const double measured = annualEnergy(heldCurve(), [&](double v) { return series.cumulative(v); }).kilowattHours;
    EXPECT_NEAR(measured, fitted, 0.02 * fitted);
}

// A weather station's km/h, semicolons and decimal commas, a byte-order
// mark and CRLF: a calm every 20th record (5 %), an error code every 100th
// (1 %), skipped and counted with the first one's line, the calms kept.
TEST(SiteWind, aKilometresAnHourSeriesCountsItsCalmsAndLeavesOutItsErrorCodesByLine)
{
    std::string text = "\xEF\xBB\xBFStation 4711\r\nDate;Time;Speed [km/h];Gust [km/h]\r\n";
    double sum = 0;
    for (int i = 0; i < 2000; ++i) {
        std::string speed = i % 20 == 0 ? "0" : std::to_string(10 + i % 17) + ",5";
        if (i % 100 == 7)
            speed = i % 200 == 7 ? "ERR" : "NaN";
        else if (i % 20 != 0)
            sum += (10 + i % 17 + 0.5) / 3.6;
        text += "01.03.2024;" + std::to_string(10 + i / 60 % 10) + ":" + std::to_string(10 + i % 50) + ";" + speed +
                ";99\r\n";
    }
    const WindSeries series = readWindSeries(text).value();
    EXPECT_EQ(series.unit, "km/h");
    EXPECT_EQ(series.column, "Speed [km/h]");
    EXPECT_EQ(series.lines, 2000);
    EXPECT_EQ(series.calmWeight, 100);
    EXPECT_EQ(series.totalWeight, 1980);
    EXPECT_EQ(series.codes.count, 20);
    EXPECT_EQ(series.codes.firstLine, 10);  // record 7, below two header lines
    EXPECT_EQ(series.codes.firstText, "ERR");
    EXPECT_EQ(series.gaps.count + series.outOfRange.count, 0);
    EXPECT_NEAR(series.meanMps(), sum / 1980, 1e-9);

    struct Row {
        const char* text;
        const char* problem;
    };
    const Row refused[] = {
        {"5.1\n6.2\n", "line 1: expected a header naming the wind speed column and its unit (m/s, km/h, mph or knots)"},
        {"time\tspeed\n2024-01-01 00:00\t5.1\n", "line 1: expected a header naming the wind speed column"},
        {"WS 10 m (m/s),WS 20 m (m/s)\n5,6\n", "line 1: expected one wind speed column, found 2: \"WS 10 m (m/s)\", "
                                               "\"WS 20 m (m/s)\"; keep one"},
        {"bin (m/s),hours\n1,100\n3,200\n2,50\n",
         "line 4: expected a bin's wind speed above the line before's, found 2"},
        {"bin (knots);hours\n1;100\n3;-5\n", "line 3: expected the bin's hours (0 or more), found \"-5\""},
        {"speed (mph)\n0\n0\n12\n", "line 4: expected wind speeds above calm that vary, found 1 speed"},
    };
    for (const Row& row : refused) {
        const Result<WindSeries> read = readWindSeries(row.text);
        ASSERT_FALSE(read) << row.text;
        EXPECT_EQ(read.problem().kind, ProblemKind::NotAWindSeries);
        EXPECT_TRUE(read.problem().message.starts_with(row.problem)) << read.problem().message;
    }
    // A histogram of hours in knots: a year's 8760 hours, the calms' bin at 0.
    const WindSeries bins = readWindSeries("Speed (kn)\tHours\n0\t360\n4\t3000\n8\t3400\n12\t2000\n").value();
    EXPECT_EQ(bins.form, SeriesForm::Histogram);
    EXPECT_NEAR(bins.speeds[1].windMps, 4 * 1852.0 / 3600, 1e-12);
    EXPECT_NEAR(bins.calmShare(), 360.0 / 8760, 1e-12);
    EXPECT_NEAR(bins.period->days, 365, 1e-9);
}

// The log law v(z₂)/v(z₁) = ln(z₂/z₀)/ln(z₁/z₀) of the European Wind Atlas
// (Troen and Petersen 1989), worked by hand: over farmland with hedges
// (z₀ = 0.1 m) from 10 to 20 m, ln 200 / ln 100 = 5.298317 / 4.605170 =
// 1.150515, so 5 m/s at 10 m is 5.753 m/s at 20 m; over the open sea
// (z₀ = 0.0002 m) ln 100000 / ln 50000 = 11.512925 / 10.819778 = 1.064062.
// The power law with the one-seventh exponent: 2^(1/7) = 1.104090.
TEST(SiteWind, theLogLawCarriesFiveMetresASecondOverFarmlandToThePublishedFactor)
{
    struct Row {
        const char* law;
        double fromM, toM, factor;
    };
    const auto option = [](std::string_view key) {
        const auto& choices = entryOf(InputId::HeightLaw).choices;
        for (std::size_t i = 0; i < choices.size(); ++i) {
            if (choices[i].key == key)
                return static_cast<int>(i);
        }
        return -1;
    };
    for (const Row row : {Row{"farmland-hedges", 10, 20, 1.150515}, Row{"open-sea", 10, 20, 1.064062},
                          Row{"power-law", 10, 20, 1.104090}, Row{"suburbs", 10, 10, 1}}) {
        const HeightLaw law = heightLawOf(option(row.law), 1.0 / 7);
        EXPECT_NEAR(heightFactor(law, row.fromM, row.toM), row.factor, 1e-6) << row.law;
    }
    EXPECT_NEAR(5 * heightFactor(heightLawOf(option("farmland-hedges"), 0), 10, 20), 5.7526, 1e-4);
}

struct ScratchFile {
    fs::path path = fs::temp_directory_path() / ("tivora-site-wind-" + std::to_string(std::random_device{}()) + ".csv");
    explicit ScratchFile(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    ~ScratchFile() { fs::remove(path); }
};

TEST(SiteWind, analyseWithASeriesPrintsTheFitBothEnergiesAndTheEnergyAgainstHeight)
{
    std::vector<double> speeds = weibullSpeeds(5000, 2.1, 6.0);
    for (std::size_t i = 0; i < speeds.size(); i += 25)
        speeds[i] = 0;  // 4 % calms
    const ScratchFile file(loggerFile(speeds));
    const testing::Outcome run =
        testing::analyseCommand({"--wind-series", file.path.string(), "--measured-height", "10", "--hub-height", "18"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto sections = testing::sectionsOf(run.out);
    const testing::Rows& wind = testing::section(sections, "Site wind, measured at 10 m");
    const auto figure = [&](const std::string& caption) {
        for (const auto& row : wind) {
            if (row.at(0) == caption)
                return std::stod(row.at(1));
        }
        ADD_FAILURE() << "no " << caption;
        return 0.0;
    };
    EXPECT_NEAR(figure("weibull shape k by maximum likelihood"), 2.1, 0.1);
    EXPECT_NEAR(figure("weibull scale c by the method of moments"), 6.0, 0.3);
    EXPECT_EQ(figure("calms in the site wind"), 4);
    EXPECT_EQ(figure("hub height"), 18);
    // Open grass, z₀ = 0.03 m: ln(18 / 0.03) / ln(10 / 0.03) = 1.1011.
    EXPECT_NEAR(figure("wind speed at the hub over that measured"), std::log(600) / std::log(1000 / 3.0), 1e-4);

    const testing::Rows& energy = testing::section(sections, "Site wind's annual energy at the hub height");
    ASSERT_EQ(energy.size(), 3u);
    const testing::Rows& heights = testing::section(sections, "Hub heights and their annual energy");
    ASSERT_EQ(heights.size(), 19u);  // 6 to 40 m by 2 m, below the header
    const auto& at18 = heights[7];
    EXPECT_EQ(at18.at(0), "18");
    // The table's 18 m row is the hub's: from the fit and from the histogram.
    for (std::size_t curve : {0, 1}) {
        EXPECT_EQ(at18.at(2 + curve), energy[1 + curve].at(1));
        EXPECT_EQ(at18.at(4 + curve), energy[1 + curve].at(2));
        EXPECT_GT(std::stod(energy[1 + curve].at(3)), 0);  // the calms cost something
    }
    EXPECT_NE(run.out.find("# Annual energy at a mean wind speed of"), std::string::npos);

    const testing::Outcome badLaw = testing::analyseCommand({"--height-law", "meadow"});
    EXPECT_EQ(badLaw.err, "tivora --analyse: --height-law: expected open-sea, open-grass, farmland-hedges, "
                          "scattered-trees, suburbs or power-law, found \"meadow\"\n");
}

// The series is kept by its name, and its fit beside it; opened without
// the file, the fit stays as it was saved; let go, both go.
TEST(SiteWind, theDesignFileKeepsTheSeriesByNameAndItsFittedPair)
{
    AnalysisInputs inputs;
    inputs.setFile(InputId::WindSeries, {"mast.csv", loggerFile(weibullSpeeds(2000, 2.1, 6.0))});
    const DesignSettings saved = settingsOf(inputs);
    ASSERT_EQ(saved.size(), 4u);
    EXPECT_EQ(saved[0], (std::pair<std::string, std::string>{"site.wind-series-file", "mast.csv"}));
    EXPECT_EQ(saved[1].first, "site.wind-series-weibull-k");
    EXPECT_NEAR(std::stod(saved[1].second), 2.1, 0.1);
    EXPECT_EQ(saved[2].first, "site.wind-series-weibull-c-m/s");
    EXPECT_EQ(saved[3], (std::pair<std::string, std::string>{"site.wind-series-calm-share", "0.0000"}));
    EXPECT_EQ(settingsOf(inputsFrom(saved)), saved);
    AnalysisInputs letGo = inputsFrom(saved);
    letGo.setFile(InputId::WindSeries, {});
    EXPECT_EQ(settingsOf(letGo), DesignSettings{});
}

}  // namespace
}  // namespace tivora::performance
