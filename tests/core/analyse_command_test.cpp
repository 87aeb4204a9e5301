// `tivora --analyse` as a script sees it: its output and its exit status.

#include "analyse_output.h"

#include <gtest/gtest.h>

#include <streambuf>

namespace tivora::performance {
namespace {

using testing::analyseCommand;
using testing::Outcome;

TEST(AnalyseCommand, printsEverySectionForTheStartDesign)
{
    const Outcome run = analyseCommand({"--blades", "3", "--tsr=7", "--altitude", "1000"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    for (const char* section :
         {"# Power coefficient against tip speed ratio\ntip speed ratio,Cp,Ct,Cq\n0.50,",
          "# Stations at the design tip speed ratio and wind speed\nstation,radius (m),",
          "# Power curve held at tip speed ratio 7",
          "# Power curve on the alternator\nwind speed (m/s),rotor speed (rpm),rotor power (W),delivered power (W),"
          "lost between (W),Cp,rotor torque (N.m),state,tip speed (m/s),tip-speed limit,furled out of the wind "
          "(degrees),runaway rotor speed (rpm),current (A),copper loss (W),rectifier loss (W),efficiency,rotor thrust "
          "(N),blade root bending moment (N.m),centrifugal force at the root (N)\n",
          "# Annual energy at a mean wind speed of 5 m/s, Weibull shape 2\ncurve,annual energy (kWh),capacity factor,"
          "capacity factor against,standby draw (kWh)\nheld at the design tip speed ratio,",
          "air density,1.1117,kg/m3\nair temperature of the standard atmosphere,8.5,degrees C\n"})
        EXPECT_NE(run.out.find(section), std::string::npos) << section;
}

TEST(AnalyseCommand, badOptionsAndFilesEndWithOneLineAndStatusTwo)
{
    struct Row {
        std::vector<std::string> arguments;
        const char* err;
    };
    const Row rows[] = {
        {{"--blade", "3"}, "unknown option --blade (see --help)"},
        {{"--radius", "one"}, "--radius: expected a number, found \"one\""},
        {{"--blades", "0"}, "--blades: the design cannot be solved (division by zero while computing \"Chord (m)\")"},
        // The speed comes to zero from the wind speed, the tip speed ratio
        // and the radius; only the radius, put back, lets the design solve.
        {{"--radius", "1e6"},
         "--radius: the design cannot be solved (division by zero while computing \"Generator Torque (N.m)\")"},
        {{"--tsr"}, "--tsr needs a value (see --help)"},
        {{"--tsr", "--radius", "2"}, "--tsr needs a value (see --help)"},
        {{"--radius", "1", "--tsr", "6", "--radius=2"}, "--radius is given twice: give each option once"},
        {{"--altitude", "12000"}, "--altitude: 12000 m cannot be analysed; it must be from -2000 to 11000 m"},
        {{"--cut-in", "30"}, "--cut-in: 30 m/s must be below --cut-out"},
        {{"--weibull-shape", "0"}, "--weibull-shape: 0 cannot be analysed; it must be from 0.5 to 10"},
        {{"--polar", "/nonexistent/polar.txt"}, "/nonexistent/polar.txt: not found"},
        // Read with a bound: a folder or a device that never ends is no polar.
        {{"--polar", "/tmp"}, "/tmp: a folder, not a file"},
        {{"--measured", "/dev/zero"}, "/dev/zero: not a regular file but a device, a pipe or a socket"},
    };
    for (const Row& row : rows) {
        const Outcome run = analyseCommand(row.arguments);
        EXPECT_EQ(run.status, 2) << row.err;
        EXPECT_EQ(run.err, std::string("tivora --analyse: ") + row.err + "\n");
        EXPECT_EQ(run.out, "");
    }
}

// Figures the analysis computes with, but that no rotor can have: said on
// standard error, the analysis printed all the same.
TEST(AnalyseCommand, aDesignBeyondWhatAnyRotorDoesIsAnalysedWithAWarning)
{
    struct Row {
        std::vector<std::string> arguments;
        const char* warning;
    };
    const Row rows[] = {
        {{"--efficiency", "2"}, "warning: --efficiency 2 is above the Betz limit, 16/27 = 0.593"},
        {{"--alpha", "25"}, "warning: --alpha 25 degrees is past the airfoil's stall at 20 degrees"},
        {{"--altitude", "7000"}, "warning: --altitude 7000 m makes no physical sense: expected from -430 to 6000 m"},
    };
    for (const Row& row : rows) {
        const Outcome run = analyseCommand(row.arguments);
        EXPECT_EQ(run.status, 0) << row.warning;
        EXPECT_NE(run.err.find(std::string("tivora --analyse: ") + row.warning), std::string::npos) << run.err;
        EXPECT_NE(run.out.find("# Annual energy"), std::string::npos);
    }
}

// Whatever the design angle of attack, the blade's Cp stays below Betz's
// limit, or the analysis refuses to print one above it.
TEST(AnalyseCommand, noDesignAngleGivesACpAboveBetz)
{
    for (const char* alpha : {"0", "5", "10", "15", "20", "25"}) {
        const Outcome run = analyseCommand({"--alpha", alpha});
        const auto at = run.out.find("highest Cp,");
        if (run.status == 2) {
            EXPECT_NE(run.err.find("above the Betz limit"), std::string::npos) << alpha << ": " << run.err;
            continue;
        }
        ASSERT_NE(at, std::string::npos) << alpha;
        EXPECT_LE(std::stod(run.out.substr(at + 11)), 16.0 / 27) << "alpha " << alpha;
    }
}

// An output that refuses what is written to it (a full disk, a closed pipe).
class RefusingOutput : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST(AnalyseCommand, anOutputThatCannotBeWrittenIsAFailure)
{
    RefusingOutput refusing;
    std::ostream out(&refusing);
    std::ostringstream err;
    EXPECT_EQ(runAnalyseCommand({}, out, err), 1);
    EXPECT_EQ(err.str(), "tivora --analyse: the output could not be written\n");
}

TEST(AnalyseCommand, helpNamesEachOptionWithUnitAndDefault)
{
    const Outcome run = analyseCommand({"--help"});
    EXPECT_EQ(run.status, 0);
    // Read as one line: --help folds its words to the terminal's 80 columns.
    std::string words;
    for (char c : run.out) {
        if (c != ' ' && c != '\n')
            words += c;
        else if (!words.empty() && words.back() != ' ')
            words += ' ';
    }
    for (const char* line :
         {"--radius VALUE", "blade radius (m; 1)", "--winding-resistance VALUE", "(ohm; 3)", "--polar FILE",
          "--measured FILE", "(m/s; 5)", "air temperature (degrees C; the standard atmosphere's at the altitude)",
          "(W; the design's generator power)", "--wind-series FILE", "--hub-height VALUE", "(m; the measured height)",
          "--height-law open-sea|open-grass|farmland-hedges|scattered-trees|suburbs|power-law",
          "power law (no unit; open-grass)", "(no unit; 1/7)"})
        EXPECT_NE(words.find(line), std::string::npos) << line;
}

}  // namespace
}  // namespace tivora::performance
