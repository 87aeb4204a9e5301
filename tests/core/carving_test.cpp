// Carving the blade: the trim, the carving table against rows worked by hand,
// the blank that holds every section, the mass and its centre.

#include "solve/solve.h"
#include "workshop/carving_table.h"
#include "workshop/workshop_settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace tivora::workshop {
namespace {

constexpr double kDegree = std::numbers::pi / 180;

Blade startBlade(const char* radius = "1")
{
    DesignSheet sheet;
    sheet.setText(Field::Radius, radius);
    EXPECT_FALSE(solve(sheet));
    return *solvedBlade(sheet);
}

// The 1.2 m design's chords are 0.538 m at station 1 down to 0.054 m; the
// straight stretch from station 3 (r 0.36, c 0.179, β 11.6°) to the tip
// (r 1.2, c 0.054, β −0.6°) gives station 5 (r 0.6) 0.179 − 0.125 · 0.24 / 0.84
// = 0.143286 m and 11.6 − 12.2 · 0.24 / 0.84 = 8.114286°.
TEST(Trim, capsTheChordAndStraightensBetweenTwoStations)
{
    const Blade solved = startBlade("1.2");
    ASSERT_DOUBLE_EQ(solved.stations[0].chord, 0.538);
    struct Row {
        Trim trim;
        int station;
        double chord, twist;
    };
    for (const Row& row : {
             Row{{0.15, {}}, 1, 0.15, 37.6}, Row{{0.15, {}}, 3, 0.15, 11.6}, Row{{0.15, {}}, 4, 0.134, 7.4},
             Row{{{}, std::pair(3, 10)}, 5, 0.143286, 8.114286}, Row{{{}, std::pair(3, 10)}, 2, 0.269, 19.5},
             Row{{0.15, std::pair(3, 10)}, 2, 0.15, 19.5},
             Row{{0.15, std::pair(3, 10)}, 5, 0.143286, 8.114286},  // straightened first, then capped
             Row{{{}, std::pair(10, 3)}, 5, 0.108, 4.8},            // not root before tip: as solved
         }) {
        const BladeStation cut = trimBlade(solved, row.trim).stations[row.station - 1];
        EXPECT_NEAR(cut.chord, row.chord, 1e-6) << "station " << row.station;
        EXPECT_NEAR(cut.twistDegrees, row.twist, 1e-6) << "station " << row.station;
        EXPECT_DOUBLE_EQ(cut.radius, solved.stations[row.station - 1].radius);
    }
}

double figureIn(const std::string& text)
{
    return std::stod(text);
}

// Station 1 of the start design: c 448 mm, β 37.6°, cos 0.792290, sin
// 0.610145: 354.9 mm wide on the plank, the trailing edge 273.3 mm below the
// leading edge, 53.8 mm thick (12 %), the leading edge 448/4 · 0.792290 =
// 88.7 mm from the pitch axis. Station 10: c 45 mm, β −0.6°: the trailing
// edge 0.5 mm above.
TEST(CarvingTable, widthAndDropAreTheChordOnThePlankAndAcrossIt)
{
    const Blade blade = startBlade();
    const Carving carving = carve(blade, sectionNamedIn("Airfoil: NACA2412"), {});
    const CarvingTable table = carvingTable(carving, {}, UnitSystem::SI, NumberFormat{});
    ASSERT_EQ(table.rows.size(), 10u);
    EXPECT_EQ(table.header[5], "Drop of trailing edge (mm)");
    struct Row {
        int station;
        const char *width, *drop, *thickness, *fromAxis;
    };
    for (const Row& row : {Row{1, "354.9", "273.3", "53.8", "88.7"}, Row{5, "89.7", "7.5", "10.8", "22.4"},
                           Row{10, "45", "-0.5", "5.4", "11.2"}}) {
        const auto& cells = table.rows[row.station - 1];
        EXPECT_EQ(cells[4], row.width) << "station " << row.station;
        EXPECT_EQ(cells[5], row.drop) << "station " << row.station;
        EXPECT_EQ(cells[6], row.thickness) << "station " << row.station;
        EXPECT_EQ(cells[8], row.fromAxis) << "station " << row.station;
    }
    // At every station, to the table's tenth of a millimetre.
    for (const BladeStation& s : blade.stations) {
        const auto& cells = table.rows[s.number - 1];
        EXPECT_NEAR(figureIn(cells[4]), 1000 * s.chord * std::cos(s.twistDegrees * kDegree), 0.05);
        EXPECT_NEAR(figureIn(cells[5]), 1000 * s.chord * std::sin(s.twistDegrees * kDegree), 0.05);
    }
}

// Each outline, turned back by β about its pitch axis, is the section at its
// chord: 12 % thick for a 4412, its chord the distance between its edges, the
// pitch axis a quarter of it behind the leading edge and in line along the
// blade. The blank holds them all, whichever section is the deepest.
TEST(CarvingTable, everySectionIsTheAirfoilAtItsChordAndLiesInTheBlank)
{
    const Blade deepTip{{{1, 0.2, 0.05, 0}, {2, 0.6, 0.1, 5}, {3, 1.0, 0.2, 30}}};
    for (const Blade& blade : {startBlade(), deepTip}) {
        const Carving carving = carve(blade, sectionNamedIn("NACA 4412"), {});
        double left = 1, right = 0, top = 1, bottom = 0;
        for (const CarvedStation& s : carving.stations) {
            const double beta = s.blade.twistDegrees * kDegree;
            // The outline runs round from the trailing edge over the suction
            // side: its first half is that surface.
            Profile measured;
            const std::size_t half = s.outline.size() / 2;
            for (std::size_t i = 0; i < s.outline.size(); ++i) {
                const Point& p = s.outline[i];
                const double dx = p.x - s.pitchAxis.x, dy = p.y - s.pitchAxis.y;
                const Point chordwise{(dx * std::cos(beta) + dy * std::sin(beta)) / s.blade.chord + 0.25,
                                      (-dx * std::sin(beta) + dy * std::cos(beta)) / s.blade.chord};
                if (i <= half)
                    measured.upper.insert(measured.upper.begin(), chordwise);
                if (i >= half)
                    measured.lower.push_back(chordwise);
                left = std::min(left, p.x);
                right = std::max(right, p.x);
                top = std::min(top, p.y);
                bottom = std::max(bottom, p.y);
            }
            EXPECT_NEAR(thicknessRatio(measured), 0.12, 0.12 * 0.01) << "station " << s.blade.number;
            EXPECT_NEAR(s.thickness, 0.12 * s.blade.chord, 1e-12);
            const auto apart = [](Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); };
            EXPECT_NEAR(apart(s.leadingEdge, s.trailingEdge), s.blade.chord, 1e-9);
            EXPECT_NEAR(apart(s.leadingEdge, s.pitchAxis), s.blade.chord / 4, 1e-9);
            EXPECT_NEAR(s.pitchAxis.x, carving.stations.front().pitchAxis.x, 1e-12);
            EXPECT_NEAR(s.trailingEdge.y - s.leadingEdge.y, s.drop, 1e-9);
        }
        EXPECT_NEAR(left, 0, 1e-12);
        EXPECT_NEAR(top, 0, 1e-12);
        EXPECT_NEAR(right, carving.blank.width, 1e-12);
        EXPECT_NEAR(bottom, carving.blank.thickness, 1e-12);
        EXPECT_NEAR(carving.blank.length, 0.8 + (blade == deepTip ? 0 : 0.1), 1e-12);
    }
}

// A NACA 0012 blade from r 0.2 to 1.2 m: the section's area is 0.685083 t c²
// (see the section test), so a constant 0.1 m chord holds 8.22100e-4 m³ with
// its centre in the middle; tapering 0.2 to 0.1 m, ∫c² = L (c1² + c1c2 + c2²)/3
// = 0.0233333 and ∫(r − 0.2)c² = 0.0091667, the centre at 0.2 + 0.392857.
TEST(MassAndBalance, volumeMassAndCentreAreTheIntegralsWorkedByHand)
{
    const Section naca0012 = sectionNamedIn("NACA 0012");
    const double k = 0.685083 * 0.12;
    struct Row {
        const char* what;
        double rootChord, tipChord, least;
        double volume, centre;
    };
    for (const Row& row :
         {Row{"constant chord", 0.1, 0.1, 0, k * 0.01, 0.7}, Row{"tapered", 0.2, 0.1, 0, k * 0.0233333, 0.592857},
          Row{"at least 15 mm thick", 0.1, 0.1, 0.015, k * 0.01 * 1.25, 0.7}}) {
        const Blade blade{{{1, 0.2, row.rootChord, 10}, {2, 1.2, row.tipChord, 0}}};
        const MassAndBalance mass = massAndBalance(blade, naca0012, {ThicknessRule::Own, 0, 0, row.least}, 450);
        EXPECT_NEAR(mass.volume, row.volume, row.volume * 0.005) << row.what;
        EXPECT_NEAR(mass.mass, 450 * row.volume, 450 * row.volume * 0.005) << row.what;
        EXPECT_NEAR(mass.centreRadius, row.centre, 1e-4) << row.what;
    }
}

TEST(WorkshopSettings, keptInTheDesignFileAndReadBack)
{
    WorkshopInputs inputs;
    inputs.thickness = {ThicknessRule::RootToTip, 0.2, 0.1, 0.006};
    inputs.plankWidth = 0.14;
    inputs.capChord = true;
    inputs.straightBetween = std::pair(2, 9);
    inputs.woodDensity = 520;
    inputs.coordinatesFile = "sg6043.dat";
    EXPECT_EQ(workshopFrom(settingsOf(inputs)), inputs);
    EXPECT_EQ(trimFrom(settingsOf(inputs)), (Trim{0.14, std::pair(2, 9)}));
    DesignSheet solved;
    ASSERT_FALSE(solve(solved));
    const auto carving = carvingOf(solved, settingsOf(inputs));
    ASSERT_TRUE(carving);
    EXPECT_DOUBLE_EQ(carving->stations[0].blade.chord, 0.14);
    EXPECT_EQ(carving->sectionName, "NACA 2412");  // the start design's airfoil
    // Values that make no sense keep the start ones.
    const WorkshopInputs kept = workshopFrom({{"sections.plank-width-mm", "-5"},
                                              {"sections.straight-from", "9"},
                                              {"sections.straight-to", "2"},
                                              {"sections.wood-density-kg/m3", "abc"}});
    EXPECT_EQ(kept, WorkshopInputs{});
}

}  // namespace
}  // namespace tivora::workshop
