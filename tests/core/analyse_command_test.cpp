// `tivora --analyse` as a script sees it: its output and its exit status.

#include "performance/analyse_command.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tivora::performance {
namespace {

struct Outcome {
    int status;
    std::string out, err;
};
Outcome analyse(std::vector<std::string> arguments)
{
    std::ostringstream out, err;
    const int status = runAnalyseCommand(arguments, out, err);
    return {status, out.str(), err.str()};
}

TEST(AnalyseCommand, printsEverySectionForTheStartDesign)
{
    const Outcome run = analyse({"--blades", "3", "--tsr=7", "--altitude", "1000"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    for (const char* section :
         {"# Power coefficient against tip speed ratio\ntip speed ratio,Cp,Ct,Cq\n0.50,",
          "# Stations at the design tip speed ratio and wind speed\nstation,radius (m),",
          "# Power curve held at tip speed ratio 7", "# Power curve on the alternator\nwind speed (m/s),",
          "# Annual energy at a mean wind speed of 5 m/s, Weibull shape 2\ncurve,annual energy (kWh),capacity factor\n"
          "held at the design tip speed ratio,",
          "air density,1.1117,kg/m3\n"})
        EXPECT_NE(run.out.find(section), std::string::npos) << section;
}

TEST(AnalyseCommand, badOptionsAndFilesEndWithOneLineAndStatusTwo)
{
    struct Row {
        std::vector<std::string> arguments;
        const char* err;
    };
    const Row rows[] = {
        {{"--blade", "3"}, "tivora --analyse: unknown option --blade (see --help)\n"},
        {{"--radius", "one"}, "tivora --analyse: --radius: expected a number, found \"one\"\n"},
        {{"--blades", "0"}, "tivora --analyse: --blades: the design cannot be solved (division by zero)\n"},
        {{"--tsr"}, "tivora --analyse: --tsr needs a value\n"},
        {{"--polar", "/nonexistent/polar.txt"}, "tivora --analyse: /nonexistent/polar.txt: cannot be opened\n"},
    };
    for (const Row& row : rows) {
        const Outcome run = analyse(row.arguments);
        EXPECT_EQ(run.status, 2) << row.err;
        EXPECT_EQ(run.err, row.err);
        EXPECT_EQ(run.out, "");
    }
}

TEST(AnalyseCommand, helpNamesEachOptionWithUnitAndDefault)
{
    const Outcome run = analyse({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* line : {"--radius VALUE", "blade radius (m; 1)", "--winding-resistance VALUE", "(ohm; 3)",
                             "--polar FILE", "--measured FILE", "(m/s; 5)"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line;
}

}  // namespace
}  // namespace tivora::performance
