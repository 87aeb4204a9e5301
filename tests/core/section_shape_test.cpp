// Blade sections: the NACA four-digit equations against figures worked by
// hand from them, and coordinates files read whole or refused with the line.

#include "workshop/coordinates_file.h"
#include "workshop/profile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace tivora::workshop {
namespace {

using namespace std::string_literals;

// Abbott and von Doenhoff's equations (§6.4) worked by hand at half chord,
// where the point lies on the generated grid: mean line, its slope θ, half
// thickness yt = 5t(0.2969√x − 0.1260x − 0.3516x² + 0.2843x³ − 0.1015x⁴)
// = 0.0529403 for t 0.12; upper (x − yt sin θ, yc + yt cos θ), lower (x + yt
// sin θ, yc − yt cos θ). At the trailing edge yt = 5t · 0.0021.
TEST(NacaFourDigit, pointsAreThoseOfThePublishedEquations)
{
    struct Row {
        const char* caption;
        int point;  // of 80 intervals, spaced by the cosine
        double xu, yu, xl, yl;
    };
    for (const Row& row : {
             Row{"Airfoil: NACA2412", 40, 0.5005882, 0.0723814, 0.4994118, -0.0334926},
             Row{"NACA 4412", 40, 0.5011761, 0.0918162, 0.4988239, -0.0140384},
             Row{"naca-0012", 40, 0.5, 0.0529403, 0.5, -0.0529403},
             Row{"NACA 0012", 80, 1, 0.00126, 1, -0.00126},
             Row{"NACA 4412", 0, 0, 0, 0, 0},
         }) {
        const auto naca = nacaFourDigitIn(row.caption);
        ASSERT_TRUE(naca) << row.caption;
        const Profile profile = nacaProfile(*naca);
        const Point upper = profile.upper[row.point], lower = profile.lower[row.point];
        EXPECT_NEAR(upper.x, row.xu, 2e-7) << row.caption;
        EXPECT_NEAR(upper.y, row.yu, 2e-7) << row.caption;
        EXPECT_NEAR(lower.x, row.xl, 2e-7) << row.caption;
        EXPECT_NEAR(lower.y, row.yl, 2e-7) << row.caption;
    }
}

TEST(NacaFourDigit, onlyAFourDigitSectionIsNamed)
{
    for (const char* none : {"Airfoil: user defined", "NACA 23012", "NACA 2012", "NACA 2400", "NACA 241", "NAC 2412"})
        EXPECT_FALSE(nacaFourDigitIn(none)) << none;
    EXPECT_EQ(nacaFourDigitIn("Airfoil: naca 4412 (flat-bottomed)"), (NacaFourDigit{4, 4, 12}));
}

// A 4412 is 12 % thick; a symmetric section's area is the integral of 2yt,
// 10t(0.2969·2/3 − 0.1260/2 − 0.3516/3 + 0.2843/4 − 0.1015/5) = 0.685083 t.
TEST(NacaFourDigit, thicknessAndAreaAreThePublishedOnes)
{
    EXPECT_NEAR(thicknessRatio(nacaProfile({4, 4, 12})), 0.12, 0.12 * 0.01);
    EXPECT_NEAR(thicknessRatio(nacaProfile({4, 4, 12}, 0.18)), 0.18, 0.18 * 0.01);
    EXPECT_NEAR(areaOf(nacaProfile({0, 0, 12})), 0.685083 * 0.12, 0.685083 * 0.12 * 0.005);
    // Thickened about its mean line, a section keeps its camber.
    const Profile thicker = withThickness(nacaProfile({4, 4, 12}), 0.18);
    EXPECT_NEAR(thicknessRatio(thicker), 0.18, 1e-4);
    const auto mean = [](const Profile& p, double x) { return (surfaceAt(p.upper, x) + surfaceAt(p.lower, x)) / 2; };
    EXPECT_NEAR(mean(thicker, 0.4), mean(nacaProfile({4, 4, 12}), 0.4), 1e-4);
}

// A coarse symmetric section, as a database would list it.
const char* kSelig = "Test section\n"
                     "1.0 0.0\n0.5 0.05\n0.2 0.06\n0.05 0.03\n0.0 0.0\n0.05 -0.03\n0.2 -0.06\n0.5 -0.05\n1.0 0.0\n";
const char* kLednicer = "Test section\n5. 5.\n\n0.0 0.0\n0.05 0.03\n0.2 0.06\n0.5 0.05\n1.0 0.0\n\n"
                        "0.0 0.0\n0.05 -0.03\n0.2 -0.06\n0.5 -0.05\n1.0 0.0\n";

TEST(CoordinatesFile, seligAndLednicerGiveTheSameSection)
{
    for (const char* text : {kSelig, kLednicer}) {
        const auto read = readCoordinates(text);
        ASSERT_TRUE(std::holds_alternative<Profile>(read)) << describe(std::get<CoordinatesProblem>(read));
        const Profile& profile = std::get<Profile>(read);
        EXPECT_EQ(profile.name, "Test section");
        EXPECT_NEAR(thicknessRatio(profile), 0.12, 1e-9);
        EXPECT_NEAR(surfaceAt(profile.upper, 0.2), 0.06, 1e-9);
        EXPECT_NEAR(surfaceAt(profile.lower, 0.5), -0.05, 1e-9);
    }
}

// Listed as a database would list them, with six decimals, sections read
// back as themselves: also those whose nose, laid off at right angles to a
// steep mean line, steps back a little in x.
TEST(CoordinatesFile, nacaSectionsListedInSeligsFormatReadBack)
{
    for (const NacaFourDigit section : {NacaFourDigit{4, 4, 12}, NacaFourDigit{5, 1, 30}, NacaFourDigit{8, 1, 27}}) {
        std::string text = nameOf(section) + "\n";
        for (const Point& p : outlineOf(nacaProfile(section))) {
            char line[64];
            std::snprintf(line, sizeof line, "%.6f %.6f\n", p.x, p.y);
            text += line;
        }
        const auto read = readCoordinates(text);
        ASSERT_TRUE(std::holds_alternative<Profile>(read))
            << text.substr(0, 10) << describe(std::get<CoordinatesProblem>(read));
        // The chord of a file runs from the point farthest from the trailing
        // edge, a little ahead of the equations' leading edge on a steep
        // nose: the thickness is the section's within a few per cent.
        EXPECT_NEAR(thicknessRatio(std::get<Profile>(read)), section.thickness / 100.0,
                    section.thickness / 100.0 * 0.03);
    }
}

TEST(CoordinatesFile, aFileThatIsNoClosedOutlineIsRefusedAtItsLine)
{
    struct Row {
        const char* what;
        std::string text;
        int line;
        const char* says;
    };
    const std::string name = "Bad section\n";
    const Row rows[] = {
        {"a word for a figure", name + "1.0 0.0\n0.5 0.05\n0.2 abc\n0 0\n0.2 -0.06\n1 0\n", 4, "two numbers"},
        {"three figures", name + "1.0 0.0\n0.5 0.05 7\n", 3, "two numbers"},
        {"a figure past the doubles' arithmetic", name + "1.0 0.0\n1e300 0.05\n", 3, "beyond a million"},
        {"unsorted", name + "1.0 0.0\n0.2 0.06\n0.5 0.05\n0.0 0.0\n0.5 -0.05\n1.0 0.0\n", 4, "turns back"},
        {"a single surface", name + "1.0 0.0\n0.5 0.05\n0.2 0.06\n0.05 0.03\n0.0 0.0\n", 6, "one surface"},
        {"open", name + "1.0 0.0\n0.5 0.05\n0.0 0.0\n0.5 -0.05\n0.7 -0.04\n", 6, "open"},
        {"self-crossing", name + "1.0 0.0\n0.5 -0.05\n0.0 0.0\n0.5 0.05\n0.8 -0.04\n1.0 0.0\n", 6, "crosses itself"},
        {"Lednicer counts that do not add up", name + "3. 3.\n\n0 0\n0.5 0.05\n1 0\n\n0 0\n0.5 -0.05\n", 2,
         "says 3 and 3"},
        {"a zero byte", name + "1.0 0.0\n0.5 0.05\0\n"s, 3, "zero byte"},
        {"nothing but a name", name, 0, "no coordinates"},
    };
    for (const Row& row : rows) {
        const auto read = readCoordinates(row.text);
        ASSERT_TRUE(std::holds_alternative<CoordinatesProblem>(read)) << row.what;
        const auto& problem = std::get<CoordinatesProblem>(read);
        EXPECT_EQ(problem.line, row.line) << row.what << ": " << describe(problem);
        EXPECT_NE(problem.what.find(row.says), std::string::npos) << row.what << ": " << describe(problem);
    }
}

TEST(CoordinatesFile, aDeviceOrAHugeFileIsNotRead)
{
    const auto huge = std::filesystem::temp_directory_path() / "tivora-section-test-huge.dat";
    {
        std::ofstream out(huge);
        const std::string line = "0.5 0.05\n";
        for (std::size_t written = 0; written < 10 * 1024 * 1024; written += line.size())
            out << line;
    }
    for (const auto& [path, says] : {std::pair<std::string, const char*>{"/dev/zero", "not a regular file"},
                                     std::pair<std::string, const char*>{huge.string(), "larger than 1 MB"}}) {
        const auto read = readCoordinatesFile(path);
        ASSERT_TRUE(std::holds_alternative<CoordinatesProblem>(read)) << path;
        EXPECT_EQ(std::get<CoordinatesProblem>(read).line, 0);
        EXPECT_NE(std::get<CoordinatesProblem>(read).what.find(says), std::string::npos) << path;
    }
    std::filesystem::remove(huge);
}

}  // namespace
}  // namespace tivora::workshop
