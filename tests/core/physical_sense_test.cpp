#include "sheet_helpers.h"
#include "solve/physical_sense.h"

#include <gtest/gtest.h>

namespace tivora {
namespace {

using namespace tivora::testing;
using enum SenseRule;
using enum Field;

struct SenseRow {
    Field field;
    const char* text;
    std::optional<SenseRule> broken;
};

TEST(PhysicalSense, NamesTheRuleEachInputBreaksRightAtItsBounds)
{
    const SenseRow rows[] = {
        {Blades, "1", std::nullopt},
        {Blades, "0", WholeAtLeastOne},
        {Blades, "2.5", WholeAtLeastOne},
        {Tsr, "0.1", std::nullopt},
        {Tsr, "0", AboveZero},
        {Radius, "-1.5", AboveZero},
        {WindSpeed, "-0", AboveZero},
        {Cl, "0", AboveZero},
        {Efficiency, "0.593", std::nullopt},
        {Efficiency, "0.594", BetzLimit},
        {Efficiency, "0", BetzLimit},
        {Alpha, "-10", std::nullopt},
        {Alpha, "20", std::nullopt},
        {Alpha, "-10.1", UnstalledAngle},
        {Alpha, "20.1", UnstalledAngle},
        {Alpha, "abc", std::nullopt},  // solving reports it
        {Power, "-5", std::nullopt},   // results have no rule
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << nameOf(row.field) << " = " << row.text);
        const DesignSheet sheet = sheetWith({{row.field, row.text}});
        EXPECT_EQ(brokenSenseRule(sheet, row.field), row.broken);
    }
}

}  // namespace
}  // namespace tivora
