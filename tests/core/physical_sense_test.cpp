#include "sheet_helpers.h"
#include "solve/physical_sense.h"

#include <gtest/gtest.h>

namespace tivora {
namespace {

using namespace tivora::testing;
using enum SenseRule;

struct SenseRow {
    const char* field;
    const char* text;
    std::optional<SenseRule> broken;
};

TEST(PhysicalSense, NamesTheRuleEachInputBreaksRightAtItsBounds)
{
    const SenseRow rows[] = {
        {"blades", "1", std::nullopt},
        {"blades", "0", WholeAtLeastOne},
        {"blades", "2.5", WholeAtLeastOne},
        {"tsr", "0.1", std::nullopt},
        {"tsr", "0", AboveZero},
        {"radius", "-1.5", AboveZero},
        {"windspeed", "-0", AboveZero},
        {"cl", "0", AboveZero},
        {"efficiency", "0.593", std::nullopt},
        {"efficiency", "0.594", BetzLimit},
        {"efficiency", "0", BetzLimit},
        {"alpha", "-10", std::nullopt},
        {"alpha", "20", std::nullopt},
        {"alpha", "-10.1", UnstalledAngle},
        {"alpha", "20.1", UnstalledAngle},
        {"alpha", "abc", std::nullopt},  // solving reports it
        {"Text9", "-5", std::nullopt},   // results have no rule
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.field << " = " << row.text);
        const DesignSheet sheet = sheetWith({{row.field, row.text}});
        EXPECT_EQ(brokenSenseRule(sheet, row.field), row.broken);
    }
}

}  // namespace
}  // namespace tivora
