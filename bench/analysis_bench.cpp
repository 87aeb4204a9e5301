// Times the whole analysis of the start design, as the window and the
// command line make it: the blade Solve! draws for the start texts, its
// Cp–λ curve, both power curves, the generator-matching curves and the
// annual energy of each. Standard C++ only; see README.md.

#include "performance/analysis.h"
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
    const Analysis analysis = analyse(sheet, AnalysisInputs{}).value();
    return {analysis.design.rotor.residualEvaluations + analysis.cp.residualEvaluations,
            analysis.heldEnergy.energy.kilowattHours + analysis.alternatorEnergy.energy.kilowattHours};
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
