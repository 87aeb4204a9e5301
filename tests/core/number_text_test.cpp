#include "sheet/design_sheet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace tivora {
namespace {

const NumberFormat kDot{".", ","};
const NumberFormat kComma{",", "."};

struct RoundRow {
    double value;
    int decimals;
    double expected;
};

TEST(RoundTo, SendsTiesToTheEvenNeighbourAndRoundsTheRestToNearest)
{
    const RoundRow rows[] = {
        {0.125, 2, 0.12},       {0.375, 2, 0.38},
        {2.125, 2, 2.12},       {1.25, 1, 1.2},
        {-0.25, 1, -0.2},       {-0.75, 1, -0.8},
        {0.0625, 3, 0.062},     {2.4567, 3, 2.457},
        {24.6390476, 2, 24.64}, {2587.101550231192, 1, 2587.1},
        {-0.0394, 1, 0.0},      {0.0005, 3, 0.0},
        {0.0015, 3, 0.002},     {104.7197, 2, 104.72},
        {-2.5, 0, -2.0},        {1e300, 3, 1e300},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.value << " to " << row.decimals);
        EXPECT_EQ(roundTo(row.value, row.decimals), row.expected);
    }
}

struct WriteRow {
    double value;
    const char* text;
};

TEST(FormatNumber, WritesFifteenDigitsPlainUpTo1E15AndExponentBeyond)
{
    const WriteRow rows[] = {
        {105, "105"},
        {2587.1, "2587.1"},
        {24.64, "24.64"},
        {0.09, "0.09"},
        {-0.6, "-0.6"},
        {100000, "100000"},
        {1234567890123.457, "1234567890123.46"},
        {0.0, "0"},
        {-0.0, "0"},
        {1e15, "1E+15"},
        {2.5e20, "2.5E+20"},
        {1.5e-5, "1.5E-05"},
        {999999999999999.0, "999999999999999"},
        {9999999999999999.0, "1E+16"},
        {0.0001, "0.0001"},
        {-1.23e-7, "-1.23E-07"},
        {1e100, "1E+100"},
        {0.1 + 0.2, "0.3"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(formatNumber(row.value, kDot), row.text);
    }
}

struct ReadRow {
    const char* text;
    ReadStatus status;
    double value;
};

TEST(ParseNumber, AcceptsBlanksSignsGroupingAndExponentsAndRefusesTheRest)
{
    const ReadRow rows[] = {
        {" 15 ", ReadStatus::Ok, 15},
        {".5", ReadStatus::Ok, 0.5},
        {"5.", ReadStatus::Ok, 5},
        {"1.5E3", ReadStatus::Ok, 1500},
        {"2e-3", ReadStatus::Ok, 0.002},
        {"-0.25", ReadStatus::Ok, -0.25},
        {"+7", ReadStatus::Ok, 7},
        {"1,000", ReadStatus::Ok, 1000},
        {"12,345,678.5", ReadStatus::Ok, 12345678.5},
        {"\t0.4", ReadStatus::Ok, 0.4},
        {"007", ReadStatus::Ok, 7},
        {"1e-400", ReadStatus::Ok, 0},
        {"1.7976931348623157e308", ReadStatus::Ok, std::numeric_limits<double>::max()},
        {"1e309", ReadStatus::Overflow, 0},
        {"-1e99999999999999999999", ReadStatus::Overflow, 0},
        {"", ReadStatus::NotANumber, 0},
        {" ", ReadStatus::NotANumber, 0},
        {"abc", ReadStatus::NotANumber, 0},
        {"1.2.3", ReadStatus::NotANumber, 0},
        {"-", ReadStatus::NotANumber, 0},
        {"E5", ReadStatus::NotANumber, 0},
        {".", ReadStatus::NotANumber, 0},
        {"1e", ReadStatus::NotANumber, 0},
        {"1e+", ReadStatus::NotANumber, 0},
        {"1 5", ReadStatus::NotANumber, 0},
        {",100", ReadStatus::NotANumber, 0},
        {"100,", ReadStatus::NotANumber, 0},
        {"1.000,5", ReadStatus::NotANumber, 0},
        {"--1", ReadStatus::NotANumber, 0},
        {"inf", ReadStatus::NotANumber, 0},
        {"nan", ReadStatus::NotANumber, 0},
        {"0x10", ReadStatus::NotANumber, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << '"' << row.text << '"');
        const ReadResult read = parseNumber(row.text, kDot);
        EXPECT_EQ(read.status, row.status);
        if (row.status == ReadStatus::Ok) {
            EXPECT_EQ(read.value, row.value);
        }
    }
}

struct GroupingRow {
    const char* text;
    const NumberFormat& format;
    ReadStatus status;
    double value;
};

// A decimal typed with the other separator must not read as a number tens or
// hundreds of times too large.
TEST(ParseNumber, SkipsGroupingOnlyBetweenTrueGroupsAndReadsTheMinusSign)
{
    const GroupingRow rows[] = {
        {"1,000.25", kDot, ReadStatus::Ok, 1000.25},
        {"1.500", kComma, ReadStatus::Ok, 1500},
        {"-12.345.678,5", kComma, ReadStatus::Ok, -12345678.5},
        {"0,35", kDot, ReadStatus::NotANumber, 0},
        {"0,350", kDot, ReadStatus::NotANumber, 0},
        {"1,5", kDot, ReadStatus::NotANumber, 0},
        {"1.5", kComma, ReadStatus::NotANumber, 0},
        {"1,0000", kDot, ReadStatus::NotANumber, 0},
        {"1234,567", kDot, ReadStatus::NotANumber, 0},
        {",5", kDot, ReadStatus::NotANumber, 0},
        {"1,,000", kDot, ReadStatus::NotANumber, 0},
        {"1,000,00", kDot, ReadStatus::NotANumber, 0},
        {"1,00,000", kDot, ReadStatus::NotANumber, 0},
        {"\u22122.5", kDot, ReadStatus::Ok, -2.5},
        {"1.5E\u22123", kDot, ReadStatus::Ok, 0.0015},
        {"\u2212", kDot, ReadStatus::NotANumber, 0},
        {"1e-500", kDot, ReadStatus::Ok, 0},
        {"1e5000000000000000000000000", kDot, ReadStatus::Overflow, 0},
        {"1e-5000000000000000000000000", kDot, ReadStatus::Ok, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << '"' << row.text << '"');
        const ReadResult read = parseNumber(row.text, row.format);
        EXPECT_EQ(read.status, row.status);
        if (row.status == ReadStatus::Ok) {
            EXPECT_EQ(read.value, row.value);
        }
    }
}

TEST(ParseNumber, KeepsTheSignOfZero)
{
    EXPECT_TRUE(std::signbit(parseNumber("-0", kDot).value));
    EXPECT_FALSE(std::signbit(parseNumber("0.000", kDot).value));
}

TEST(NumberFormatTest, CommaDecimalReadsAndWritesWithTheUsersSeparators)
{
    EXPECT_EQ(parseNumber("0,4", kComma).value, 0.4);
    EXPECT_EQ(parseNumber("1.000,5", kComma).value, 1000.5);
    EXPECT_EQ(parseNumber("0.4", kComma).status, ReadStatus::NotANumber);  // 0 is no group of digits
    EXPECT_EQ(formatNumber(2587.1, kComma), "2587,1");
    EXPECT_EQ(formatNumber(2.5e20, kComma), "2,5E+20");

    const NumberFormat spaced{",", "\u202f"};  // narrow no-break space groups digits
    EXPECT_EQ(parseNumber("12\u202f345,5", spaced).value, 12345.5);
}

// Every value roundTo produces below 10^12 in magnitude survives a trip
// through its text, so a field never drifts by being written and read.
TEST(NumberText, RoundedValuesReadBackAsThemselves)
{
    std::mt19937_64 random(20261209);
    std::uniform_real_distribution<double> exponent(-4.0, 12.0);
    std::uniform_int_distribution<int> decimals(1, 3);
    for (const NumberFormat& format : {kDot, kComma}) {
        for (int i = 0; i < 200000; ++i) {
            const double magnitude = std::pow(10.0, exponent(random));
            const double value = roundTo(i % 2 ? -magnitude : magnitude, decimals(random));
            if (std::fabs(value) >= 1e12)
                continue;
            const std::string text = formatNumber(value, format);
            const ReadResult back = parseNumber(text, format);
            ASSERT_EQ(back.status, ReadStatus::Ok) << text;
            ASSERT_EQ(back.value, value) << text;
        }
    }
}

}  // namespace
}  // namespace tivora
