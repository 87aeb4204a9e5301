#include "weibull_fit.h"

#include "numeric.h"

#include <algorithm>
#include <cmath>

namespace tivora::performance {

namespace {

// Where a shape is sought: wider than any wind's (1 to 4 near the ground).
constexpr double kLeastShape = 0.05, kMostShape = 100;
// A shape to 1e-10: far below what changes a figure.
constexpr double kShapeTolerance = 1e-10;

Problem unusable(const std::string& why)
{
    return Problem{ProblemKind::SiteNotUsable, why};
}

template <class F>
Result<double> shapeWhere(F f, const char* method)
{
    const double low = f(kLeastShape), high = f(kMostShape);
    if ((low < 0) == (high < 0) && low != 0 && high != 0)
        return unusable(std::string("no Weibull shape from 0.05 to 100 fits the speeds by ") + method);
    const numeric::Root root = numeric::brentRoot(f, kLeastShape, kMostShape, low, high, kShapeTolerance);
    if (!root.converged)
        return unusable(std::string("the Weibull shape by ") + method + " did not converge");
    return root.x;
}

}  // namespace

double WeibullFit::meanMps() const
{
    return scaleMps * std::tgamma(1 + 1 / shape);
}

Result<SiteWindFit> fitWeibull(const std::vector<WeightedSpeed>& speeds)
{
    SiteWindFit fit;
    struct Windy {
        double v, weight, lnU;  // ln(v / the highest v), so that no power overflows
    };
    std::vector<Windy> windy;
    double total = 0, calm = 0, highest = 0;
    for (const WeightedSpeed& s : speeds) {
        total += s.weight;
        if (s.windMps <= 0)
            calm += s.weight;
        else if (s.weight > 0)
            highest = std::max(highest, s.windMps);
    }
    double weight = 0, sum = 0, sumLnU = 0;
    for (const WeightedSpeed& s : speeds) {
        if (s.windMps <= 0 || s.weight <= 0)
            continue;
        windy.push_back({s.windMps, s.weight, std::log(s.windMps / highest)});
        weight += s.weight;
        sum += s.weight * s.windMps;
        sumLnU += s.weight * windy.back().lnU;
    }
    if (windy.size() < 2)
        return unusable("fewer than two different wind speeds above calm");
    fit.calmShare = calm / total;

    // Maximum likelihood. The equation holds for v / the highest as for v.
    const double meanLnU = sumLnU / weight;
    const auto powers = [&](double k, double& s0, double& s1) {
        s0 = s1 = 0;
        for (const Windy& w : windy) {
            const double p = w.weight * std::exp(k * w.lnU);
            s0 += p;
            s1 += p * w.lnU;
        }
    };
    const Result<double> k = shapeWhere(
        [&](double shape) {
            double s0 = 0, s1 = 0;
            powers(shape, s0, s1);
            return s1 / s0 - 1 / shape - meanLnU;
        },
        "maximum likelihood");
    if (!k)
        return k.problem();
    double s0 = 0, s1 = 0;
    powers(*k, s0, s1);
    fit.likelihood = {*k, highest * std::pow(s0 / weight, 1 / *k)};

    // The method of moments: the measured spread σ/v̄ of the winds above calm.
    const double mean = sum / weight;
    double spread = 0;
    for (const Windy& w : windy)
        spread += w.weight * (w.v - mean) * (w.v - mean);
    const double ratio = spread / weight / (mean * mean);
    const Result<double> km = shapeWhere(
        [&](double shape) { return std::exp(std::lgamma(1 + 2 / shape) - 2 * std::lgamma(1 + 1 / shape)) - 1 - ratio; },
        "the method of moments");
    if (!km)
        return km.problem();
    fit.moments = {*km, mean / std::tgamma(1 + 1 / *km)};
    return fit;
}

}  // namespace tivora::performance
