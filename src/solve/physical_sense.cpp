#include "physical_sense.h"

#include <cmath>

namespace tivora {

namespace {

struct FieldRule {
    Field field;
    SenseRule rule;
};

// In the order of the input block.
constexpr FieldRule kRules[] = {
    {Field::Blades, SenseRule::WholeAtLeastOne}, {Field::Tsr, SenseRule::AboveZero},
    {Field::Efficiency, SenseRule::BetzLimit},   {Field::Radius, SenseRule::AboveZero},
    {Field::WindSpeed, SenseRule::AboveZero},    {Field::Cl, SenseRule::AboveZero},
    {Field::Alpha, SenseRule::UnstalledAngle},
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

std::optional<SenseRule> senseRuleOf(Field field)
{
    for (const FieldRule& entry : kRules) {
        if (field == entry.field)
            return entry.rule;
    }
    return std::nullopt;
}

std::optional<SenseRule> brokenSenseRule(const DesignSheet& sheet, Field field)
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
