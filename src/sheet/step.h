#pragma once

// One numeric step: read operand fields, compute one operation at a time in
// the written order, round, write one field.
//
// StepValue is a double that remembers the first arithmetic fault (division
// by zero, a result beyond the double range) instead of throwing, so that a
// formula reads like the formula; the fault surfaces when the step writes its
// target, and is reported against that field. Operators associate left to
// right exactly as written, and constants are never folded: keep formulas
// parenthesised the way they are meant to be evaluated.

#include "design_sheet.h"

#include <cmath>

namespace tivora {

class StepValue {
public:
    StepValue(double value) : value_(value) {}  // NOLINT: constants mix freely

    double value() const { return value_; }
    std::optional<FailureKind> fault() const { return fault_; }

    friend StepValue operator*(StepValue a, StepValue b)
    {
        return combine(a, b, [](double x, double y) { return x * y; });
    }
    friend StepValue operator/(StepValue a, StepValue b)
    {
        if (!a.fault_ && !b.fault_ && b.value_ == 0.0)
            return faulty(FailureKind::DivisionByZero);
        return combine(a, b, [](double x, double y) { return x / y; });
    }
    friend StepValue operator-(StepValue a, StepValue b)
    {
        return combine(a, b, [](double x, double y) { return x - y; });
    }
    // The general power function, as the formulas ask for R² and V³.
    friend StepValue power(StepValue base, double exponent)
    {
        return combine(base, exponent, [](double x, double y) { return std::pow(x, y); });
    }
    friend StepValue arctangent(StepValue a)
    {
        return combine(a, 0.0, [](double x, double) { return std::atan(x); });
    }

private:
    static StepValue faulty(FailureKind kind)
    {
        StepValue v(0.0);
        v.fault_ = kind;
        return v;
    }
    template <class Op>
    static StepValue combine(StepValue a, StepValue b, Op op)
    {
        if (a.fault_)
            return a;
        if (b.fault_)
            return b;
        const double result = op(a.value_, b.value_);
        return std::isfinite(result) ? StepValue(result) : faulty(FailureKind::Overflow);
    }

    double value_;
    std::optional<FailureKind> fault_;
};

// readNumber, as a value to compute with.
inline StepValue read(const DesignSheet& sheet, Field field)
{
    return readNumber(sheet, field);
}

// Throws the value's fault, if any, as a failure of the step that computes `field`.
inline void settle(const StepValue& value, Field field)
{
    if (value.fault())
        throw StepFailure({*value.fault(), field});
}

// field := roundTo(x, decimals)
inline void write(DesignSheet& sheet, Field field, const StepValue& x, int decimals)
{
    settle(x, field);
    const double rounded = roundTo(x.value(), decimals);
    if (!std::isfinite(rounded))
        throw StepFailure({FailureKind::Overflow, field});
    writeNumber(sheet, field, rounded);
}

// A conversion in place: field := roundTo(formula(field), decimals)
template <class Formula>
void convert(DesignSheet& sheet, Field field, Formula formula, int decimals)
{
    write(sheet, field, formula(read(sheet, field)), decimals);
}

// Runs the steps of one operation on a draft of the sheet. Only a run that
// reaches its end is kept: a failure leaves every text, caption and the
// units code as they were, so no figure is ever left half converted.
template <class Steps>
std::optional<Failure> runAllOrNothing(DesignSheet& sheet, Steps steps)
{
    DesignSheet draft = sheet;
    try {
        steps(draft);
    } catch (const StepFailure& failure) {
        return failure.failure();
    }
    sheet = std::move(draft);
    return std::nullopt;
}

}  // namespace tivora
