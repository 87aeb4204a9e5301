#include "sheet/design_file.h"
#include "solve/solve.h"
#include "units/unit_switch.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

namespace tivora {
namespace {

const NumberFormat kFullStop{".", ","};
const NumberFormat kDecimalComma{",", "."};

DesignSheet solvedIn(UnitSystem system, const NumberFormat& format)
{
    DesignSheet sheet(format);
    sheet.setSelectedSystem(system);
    EXPECT_FALSE(switchUnitSystem(sheet, system));
    EXPECT_FALSE(solve(sheet));
    return sheet;
}

// Every text of the sheet, for comparing whole sheets field by field.
std::string everyText(const DesignSheet& sheet)
{
    std::string all;
    for (Field field : kAllFields)
        all += std::string(nameOf(field)) + "=" + sheet.text(field) + "\n";
    for (Caption caption : kChangingCaptions)
        all += std::string(nameOf(caption)) + "=" + sheet.text(caption) + "\n";
    return all + "option=" + std::to_string(static_cast<int>(sheet.selectedSystem()));
}

std::string swapMarks(std::string text)
{
    for (char& c : text)
        c = c == '.' ? ',' : c == ',' ? '.' : c;
    return text;
}

TEST(DesignFile, savedDesignsOpenWithEveryTextAsSavedInTheReadersMarks)
{
    for (UnitSystem system : {UnitSystem::SI, UnitSystem::Metric, UnitSystem::Imperial}) {
        for (const auto& saver : {kFullStop, kDecimalComma}) {
            for (const auto& opener : {kFullStop, kDecimalComma}) {
                const bool unsolved = system == UnitSystem::Metric;  // saved as shown
                DesignSheet saved = solvedIn(system, saver);
                saved.setText(Field::Cl, "0" + saver.decimalSeparator + "90");  // a trailing zero stays
                // "2,587.1" opens as "2.587,1" where the marks are the other way round.
                saved.setText(Field::Power, "2" + saver.groupSeparator + "587" + saver.decimalSeparator + "1");
                markAirfoilUserDefined(saved);
                const DesignSettings settings = {{"site.speed", "5.5"}, {"airfoil", "naca 4412; \"thin\""}};
                const auto opened = readDesignFile(writeDesignFile(saved, settings, unsolved), opener);
                ASSERT_TRUE(std::holds_alternative<DesignFile>(opened)) << std::get<DesignFileFailure>(opened).expected;
                const DesignFile& file = std::get<DesignFile>(opened);
                const std::string expected = saver == opener ? everyText(saved) : swapMarks(everyText(saved));
                // Captions hold no marks of numbers, so swapping spared them.
                EXPECT_EQ(everyText(file.sheet), expected) << static_cast<int>(system);
                EXPECT_EQ(file.settings, settings);
                EXPECT_EQ(file.sheet.numberFormat(), opener);
                EXPECT_EQ(file.unsolved, unsolved);
            }
        }
    }
}

// A design saved at start, as a spreadsheet saves it again.
constexpr std::string_view kResaved = "\"Tivora design\";\"1\";;\n"
                                      "Station;\"Radius (m)\";\"Chord (m)\";\"β (°)\";\n"
                                      "Number of Blades;3;;\n"
                                      "TSR;7;;\n"
                                      "Blade Efficiency;0,4;;\n"
                                      "Blade Radius;1;m;\n"
                                      "Wind Speed;15;m/s;\n"
                                      "Cl;0,85;;\n"
                                      "α;6;°;\n"
                                      "Generator Power;2587,1;Watts;\n"
                                      "Generator speed;105;rad/sec;\n"
                                      "Generator Torque;24,64;N.m;\n"
                                      "10;\"\";\"\";;\n"
                                      "1;;;;\n2;;;;\n3;;;;\n4;;;;\n5;;;;\n6;;;;\n7;;;;\n8;;;;\n9;;;;\n"
                                      "My note;about this rotor;;\n"
                                      "Unit system;SI;;\n"
                                      "Airfoil;NACA2412;;\n";

// `text` with a note of the user's own after it, `size` bytes in all.
std::string paddedTo(std::string text, std::size_t size)
{
    text += "My note;";
    return text + std::string(size - text.size(), 'x');
}

TEST(DesignFile, aDesignResavedByASpreadsheetOpens)
{
    for (const std::string& bytes : {std::string(kResaved), paddedTo(std::string(kResaved), kLargestDesignFile)}) {
        const auto opened = readDesignFile(bytes, kFullStop);
        ASSERT_TRUE(std::holds_alternative<DesignFile>(opened))
            << bytes.size() << " bytes: " << std::get<DesignFileFailure>(opened).expected;
        EXPECT_EQ(everyText(std::get<DesignFile>(opened).sheet), everyText(DesignSheet(kFullStop)));
    }
}

// The rotor's performance, saved below the design, repeats names of the
// design's rows (the airfoil, wind speeds that look like station numbers).
TEST(DesignFile, theRotorsPerformanceBelowTheDesignIsNotReadAsIt)
{
    const std::string saved = writeDesignFile(solvedIn(UnitSystem::SI, kFullStop)) +
                              "\r\nRotor performance,Value,Unit\r\nAirfoil,\"Cl max 1.2, L/D 50\",\r\n"
                              "\r\nWind speed (m/s),rpm,Power (W)\r\n1,0,0\r\n2,95.5,12.4\r\n";
    const auto opened = readDesignFile(saved, kFullStop);
    ASSERT_TRUE(std::holds_alternative<DesignFile>(opened)) << std::get<DesignFileFailure>(opened).expected;
    EXPECT_EQ(everyText(std::get<DesignFile>(opened).sheet), everyText(solvedIn(UnitSystem::SI, kFullStop)));
}

std::string replaced(std::string_view text, std::string_view from, std::string_view to)
{
    std::string out(text);
    out.replace(out.find(from), from.size(), to);
    return out;
}

std::string crLineEnds(std::string text)
{
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.erase(at + 1, 1);
    return text;
}

TEST(DesignFile, badFilesNameTheLineAndWhatWasExpected)
{
    const std::string good = writeDesignFile(solvedIn(UnitSystem::Metric, kFullStop));
    struct Row {
        const char* what;
        std::string bytes;
        DesignFileFailure failure;
    };
    const Row rows[] = {
        {"not a design",
         "Name,Age\r\nAda,36\r\n",
         {1, "\"Tivora design\" and a format version: this is not a Tivora design file"}},
        {"empty", "", {1, "a Tivora design, but the file is empty"}},
        {"a newer version",
         replaced(good, "design,1", "design,2"),
         {1, "format version 1, but the file is of version 2 from a newer Tivora"}},
        {"a figure not a number",
         replaced(good, "Wind Speed,54", "Wind Speed,fast"),
         {6, "a number for Wind Speed with \".\" as the decimal mark, found \"fast\""}},
        {"a missing input", replaced(good, "TSR,7,\r\n", ""), {26, "a row for TSR, but the file ends without one"}},
        {"an unknown unit system",
         replaced(good, "Unit system,Metric", "Unit system,Furlongs"),
         {25, "SI, Metric or Imperial as the unit system, found \"Furlongs\""}},
        {"cut short in a row",
         good.substr(0, good.find("Unit system")),
         {25, "a row \"Unit system\", but the file ends without one"}},
        {"cut short in a quote",
         good + "Setting,\"site",
         {27, "a closing quote for the cell that begins here: the file is cut short"}},
        {"binary",
         replaced(good, "TSR", std::string("TS\0", 3)),
         {3, "text, but the file holds a zero byte: it is not a design file"}},
        {"not UTF-8",
         replaced(good, "α", "\xE1"),
         {8, "text in UTF-8, but the file holds bytes that are no text: it is not a design file"}},
        {"a version of 20 digits",
         replaced(good, "design,1", "design,12345678901234567890"),
         {1, "a format version after \"Tivora design\", found \"12345678901234567890\""}},
        {"a note of two lines before a bad figure",
         replaced(good, "Wind Speed,54", "\"My note,\r\nits second line\"\r\nWind Speed,fast"),
         {8, "a number for Wind Speed with \".\" as the decimal mark, found \"fast\""}},
        {"the same with CR line ends",
         crLineEnds(replaced(good, "Wind Speed,54", "\"My note,\r\nits second line\"\r\nWind Speed,fast")),
         {8, "a number for Wind Speed with \".\" as the decimal mark, found \"fast\""}},
        {"one byte over the size limit",
         paddedTo(good, kLargestDesignFile + 1),
         {1, "a design file of at most 1 MB, but the file is larger"}},
        {"a row twice", good + "TSR,8\r\n", {27, "one row for TSR, but line 3 has one already"}},
        {"a station twice", good + "3,0.3,0.149,11.6\r\n", {27, "one row for station 3, but line 16 has one already"}},
    };
    for (const Row& row : rows) {
        const auto opened = readDesignFile(row.bytes, kFullStop);
        ASSERT_TRUE(std::holds_alternative<DesignFileFailure>(opened)) << row.what;
        EXPECT_EQ(std::get<DesignFileFailure>(opened), row.failure)
            << row.what << ": " << std::get<DesignFileFailure>(opened).line << " "
            << std::get<DesignFileFailure>(opened).expected;
    }
}

}  // namespace
}  // namespace tivora
