#include "sheet/design_sheet.h"

#include <gtest/gtest.h>

#include <set>

namespace tivora {
namespace {

TEST(DesignSheet, HoldsFortyOneDistinctFieldsAndSixCaptions)
{
    const auto& fields = DesignSheet::fieldNames();
    EXPECT_EQ(fields.size(), 41u);
    EXPECT_EQ(std::set<std::string>(fields.begin(), fields.end()).size(), 41u);
    EXPECT_EQ(DesignSheet::captionNames().size(), 6u);
}

TEST(DesignSheet, StartsWithTheSolvedDefaultRotorInSi)
{
    const std::pair<const char*, const char*> rows[] = {
        {"windspeed", "15"},
        {"radius", "1"},
        {"efficiency", "0.4"},
        {"blades", "3"},
        {"tsr", "7"},
        {"cl", "0.85"},
        {"alpha", "6"},
        {"Text9", "2587.1"},
        {"Text6", "105"},
        {"Text7", "24.64"},
        {"units", "1"},
        {"Text29", ""},
        {"Text8", ""},
        {"Text28", ""},
        {"Label5", "Blade Radius (m)"},
        {"Label6", "Wind Speed (m/s)"},
        {"Label10", "Generator speed (rad/sec)"},
        {"Label13", "Chord (m)"},
        {"Label14", "Radius (m)"},
        {"Label24", "Airfoil: NACA2412"},
    };
    const DesignSheet sheet;
    for (const auto& [name, text] : rows)
        EXPECT_EQ(sheet.text(name), text) << name;
    EXPECT_EQ(sheet.selectedSystem(), UnitSystem::SI);
}

TEST(DesignSheet, WritesStartFractionsInTheUsersFormat)
{
    const DesignSheet sheet(NumberFormat{",", "."});
    EXPECT_EQ(sheet.text("efficiency"), "0,4");
    EXPECT_EQ(sheet.text("cl"), "0,85");
    EXPECT_EQ(sheet.text("Text9"), "2587,1");
    EXPECT_EQ(readNumber(sheet, "efficiency"), 0.4);
}

TEST(DesignSheet, MapsStationsToTheirFieldsSkippingThePowerField)
{
    const struct {
        int station;
        const char *radius, *chord, *twist;
    } rows[] = {
        {1, "Text29", "Text8", "Text19"},
        {2, "Text30", "Text10", "Text20"},
        {10, "Text38", "Text18", "Text28"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(stationRadiusField(row.station), row.radius);
        EXPECT_EQ(stationChordField(row.station), row.chord);
        EXPECT_EQ(stationTwistField(row.station), row.twist);
    }
}

TEST(DesignSheet, StoresTextsUnchangedAndRefusesUnknownNames)
{
    DesignSheet sheet;
    writeText(sheet, "Text29", " ");
    EXPECT_EQ(readText(sheet, "Text29"), " ");
    EXPECT_THROW(sheet.text("Text5"), std::out_of_range);
    EXPECT_THROW(sheet.setText("Label1", "x"), std::out_of_range);
}

TEST(ReadNumber, NamesTheFieldItCouldNotRead)
{
    DesignSheet sheet;
    sheet.setText("tsr", "seven");
    sheet.setText("radius", "1e400");
    try {
        readNumber(sheet, "tsr");
        FAIL();
    } catch (const StepFailure& failure) {
        EXPECT_EQ(failure.failure(), (Failure{FailureKind::NotANumber, "tsr"}));
    }
    try {
        readNumber(sheet, "radius");
        FAIL();
    } catch (const StepFailure& failure) {
        EXPECT_EQ(failure.failure(), (Failure{FailureKind::TooLargeToRead, "radius"}));
    }
}

}  // namespace
}  // namespace tivora
