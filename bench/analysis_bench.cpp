// Times the whole analysis of the start design: the blade Solve! draws for
// the start texts, its Cp–λ curve, both power curves and the annual energy
// of each. Standard C++ only; see README.md.

#include "performance/power_curve.h"
#include "performance/site.h"
#include "solve/solve.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using namespace tivora;
using namespace tivora::performance;

struct Outcome {
    long residualEvaluations;
    double energy;  // kWh, kept so that nothing is optimised away
};

Outcome analyseStartDesign()
{
    DesignSheet sheet;  // at the start texts
    if (solve(sheet))
        std::abort();
    const Blade blade = bladeFromSheet(sheet).value();
    const Airfoil airfoil = simpleAirfoil({}, aspectRatio(blade)).value();
    const double density = airDensity(0).value();
    const WindDistribution site = windDistribution(5, 2).value();

    const BladeAnalysis design = analyseBlade(blade, airfoil, 7, 15, density).value();
    const CpCurve curve = cpCurve(blade, airfoil);
    HeldRunning running;
    running.ratedPower = readNumber(sheet, Field::Power);
    const auto held = heldPowerCurve(running, design.rotor.cp, blade.tipRadius(), density).value();
    const auto charging = alternatorPowerCurve(curve, Alternator{}, blade.tipRadius(), density);
    std::vector<PowerCurvePoint> heldPoints, chargingPoints;
    for (const PowerCurveRow& row : held)
        heldPoints.push_back({row.windSpeed, row.deliveredPower});
    for (const AlternatorRow& row : charging)
        chargingPoints.push_back({row.row.windSpeed, row.row.deliveredPower});
    return {design.rotor.residualEvaluations + curve.residualEvaluations,
            annualEnergy(heldPoints, site).kilowattHours + annualEnergy(chargingPoints, site).kilowattHours};
}

}  // namespace

int main(int argc, char* argv[])
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 101;
    std::vector<double> milliseconds;
    Outcome outcome{};
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        outcome = analyseStartDesign();
        const auto stop = std::chrono::steady_clock::now();
        milliseconds.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("whole analysis of the start design, %d runs: median %.2f ms, fastest %.2f ms, slowest %.2f ms\n", runs,
                milliseconds[milliseconds.size() / 2], milliseconds.front(), milliseconds.back());
    std::printf("residual evaluations per analysis: %ld (annual energy %.1f kWh)\n", outcome.residualEvaluations,
                outcome.energy);
    return 0;
}
