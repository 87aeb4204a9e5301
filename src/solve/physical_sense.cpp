#include "physical_sense.h"

#include <cmath>

namespace tivora {

namespace {

struct FieldRule {
    const char* field;
    SenseRule rule;
};

constexpr FieldRule kRules[] = {
    {"blades", SenseRule::WholeAtLeastOne}, {"tsr", SenseRule::AboveZero},       {"efficiency", SenseRule::BetzLimit},
    {"radius", SenseRule::AboveZero},       {"windspeed", SenseRule::AboveZero}, {"cl", SenseRule::AboveZero},
    {"alpha", SenseRule::UnstalledAngle},
};

bool keeps(SenseRule rule, double value)
{
    switch (rule) {
    case SenseRule::WholeAtLeastOne:
        return value >= 1 && value == std::floor(value);
    case SenseRule::AboveZero:
        return value > 0;
    case SenseRule::BetzLimit:
        return value > 0 && value <= kBetzLimit;
    case SenseRule::UnstalledAngle:
        return value >= kLowestAlpha && value <= kHighestAlpha;
    }
    return true;
}

}  // namespace

std::optional<SenseRule> senseRuleOf(std::string_view field)
{
    for (const FieldRule& entry : kRules) {
        if (field == entry.field)
            return entry.rule;
    }
    return std::nullopt;
}

std::optional<SenseRule> brokenSenseRule(const DesignSheet& sheet, std::string_view field)
{
    const auto rule = senseRuleOf(field);
    if (!rule)
        return std::nullopt;
    const ReadResult read = parseNumber(readText(sheet, field), sheet.numberFormat());
    if (read.status != ReadStatus::Ok || keeps(*rule, read.value))
        return std::nullopt;
    return rule;
}

}  // namespace tivora
