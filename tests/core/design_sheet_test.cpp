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
    using enum Field;
    const std::pair<Field, const char*> fields[] = {
        {WindSpeed, "15"}, {Radius, "1"},          {Efficiency, "0.4"},   {Blades, "3"},           {Tsr, "7"},
        {Cl, "0.85"},      {Alpha, "6"},           {Power, "2587.1"},     {GeneratorSpeed, "105"}, {Torque, "24.64"},
        {Units, "1"},      {stationRadius(1), ""}, {stationChord(1), ""}, {stationTwist(10), ""},
    };
    const std::pair<Caption, const char*> captions[] = {
        {Caption::Radius, "Blade Radius (m)"},
        {Caption::WindSpeed, "Wind Speed (m/s)"},
        {Caption::GeneratorSpeed, "Generator speed (rad/sec)"},
        {Caption::StationChord, "Chord (m)"},
        {Caption::StationRadius, "Radius (m)"},
        {Caption::Airfoil, "Airfoil: NACA2412"},
    };
    const DesignSheet sheet;
    for (const auto& [field, text] : fields)
        EXPECT_EQ(sheet.text(field), text) << nameOf(field);
    for (const auto& [caption, text] : captions)
        EXPECT_EQ(sheet.text(caption), text) << nameOf(caption);
    EXPECT_EQ(sheet.selectedSystem(), UnitSystem::SI);
}

TEST(DesignSheet, WritesStartFractionsInTheUsersFormat)
{
    const DesignSheet sheet(NumberFormat{",", "."});
    EXPECT_EQ(sheet.text(Field::Efficiency), "0,4");
    EXPECT_EQ(sheet.text(Field::Cl), "0,85");
    EXPECT_EQ(sheet.text(Field::Power), "2587,1");
    EXPECT_EQ(readNumber(sheet, Field::Efficiency), 0.4);
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
        EXPECT_EQ(nameOf(stationRadius(row.station)), row.radius);
        EXPECT_EQ(nameOf(stationChord(row.station)), row.chord);
        EXPECT_EQ(nameOf(stationTwist(row.station)), row.twist);
    }
}

TEST(Fields, EachNameLeadsBackToItsFieldOrCaption)
{
    for (Field field : kAllFields)
        EXPECT_EQ(fieldNamed(nameOf(field)), field) << nameOf(field);
    for (Caption caption : kAllCaptions)
        EXPECT_EQ(captionNamed(nameOf(caption)), caption) << nameOf(caption);
    EXPECT_EQ(fieldNamed("Label5"), std::nullopt);
}

TEST(DesignSheet, ShowsChangingCaptionsFromTheSheetAndTheOthersAsTheyStart)
{
    DesignSheet sheet;
    markAirfoilUserDefined(sheet);
    EXPECT_EQ(captionText(sheet, Caption::Airfoil), "Airfoil: user defined");
    EXPECT_EQ(captionText(sheet, Caption::Power), "Generator Power (Watts) ");
    EXPECT_THROW(sheet.text(Caption::Power), std::out_of_range);
}

TEST(DesignSheet, StoresTextsUnchangedAndRefusesUnknownNames)
{
    DesignSheet sheet;
    writeText(sheet, stationRadius(1), " ");
    EXPECT_EQ(readText(sheet, stationRadius(1)), " ");
    EXPECT_THROW(sheet.text("Text5"), std::out_of_range);
    EXPECT_THROW(sheet.setText("Label1", "x"), std::out_of_range);
}

TEST(ReadNumber, NamesTheFieldItCouldNotRead)
{
    DesignSheet sheet;
    sheet.setText(Field::Tsr, "seven");
    sheet.setText(Field::Radius, "1e400");
    try {
        readNumber(sheet, Field::Tsr);
        FAIL();
    } catch (const StepFailure& failure) {
        EXPECT_EQ(failure.failure(), (Failure{FailureKind::NotANumber, Field::Tsr}));
    }
    try {
        readNumber(sheet, Field::Radius);
        FAIL();
    } catch (const StepFailure& failure) {
        EXPECT_EQ(failure.failure(), (Failure{FailureKind::Overflow, Field::Radius}));
    }
}

}  // namespace
}  // namespace tivora
