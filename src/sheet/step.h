#pragma once

// One numeric step: read operand fields, compute one operation at a time in
// the written order, round, write one field.
//
// StepValue is a double that remembers the first arithmetic fault (division
// by zero, a result beyond the double range) instead of throwing, so that a
// formula reads like the formula; the fault surfaces when the step writes its
// target, and is reported against that field together with the fields that
// the faulty value came from. Operators associate left to
// right exactly as written, and constants are never folded: keep formulas
// parenthesised the way they are meant to be evaluated.

#include "design_sheet.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace tivora {

class StepValue {
public:
    StepValue(double value) : value_(value) {}  // NOLINT: constants mix freely

    double value() const { return value_; }
    std::optional<FailureKind> fault() const { return fault_; }

    // Where the value came from, so that a failure can name what the user
    // can change: every field read into it, in the order read, and the field
    // whose zero it carries, if it is zero because one field was.
    const std::vector<Field>& origins() const { return origins_; }
    const std::optional<Field>& zeroField() const { return zeroField_; }

    friend StepValue operator*(StepValue a, StepValue b)
    {
        StepValue product = combine(a, b, [](double x, double y) { return x * y; });
        product.zeroField_ = zeroOfEither(product, a, b);
        return product;
    }
    friend StepValue operator/(StepValue a, StepValue b)
    {
        if (!a.fault_ && !b.fault_ && b.value_ == 0.0) {
            // Blame the divisor: its zero field, or everything behind it.
            StepValue fault = faulty(FailureKind::DivisionByZero, b, 0.0);
            fault.zeroField_ = b.zeroField_;
            return fault;
        }
        StepValue quotient = combine(a, b, [](double x, double y) { return x / y; });
        quotient.zeroField_ = zeroOfEither(quotient, a, 0.0);
        return quotient;
    }
    friend StepValue operator-(StepValue a, StepValue b)
    {
        return combine(a, b, [](double x, double y) { return x - y; });
    }
    // The general power function, as the formulas ask for R² and V³.
    friend StepValue power(StepValue base, double exponent)
    {
        StepValue result = combine(base, exponent, [](double x, double y) { return std::pow(x, y); });
        result.zeroField_ = zeroOfEither(result, base, 0.0);
        return result;
    }
    friend StepValue arctangent(StepValue a)
    {
        StepValue result = combine(a, 0.0, [](double x, double) { return std::atan(x); });
        result.zeroField_ = zeroOfEither(result, a, 0.0);
        return result;
    }

    // A field's number as read, which is its own origin.
    static StepValue fromField(double value, Field field)
    {
        StepValue v(value);
        v.origins_.push_back(field);
        if (value == 0.0)
            v.zeroField_ = field;
        return v;
    }

private:
    static StepValue faulty(FailureKind kind, const StepValue& a, const StepValue& b)
    {
        StepValue v(0.0);
        v.fault_ = kind;
        v.origins_ = originsOf(a, b);
        return v;
    }
    static std::vector<Field> originsOf(const StepValue& a, const StepValue& b)
    {
        std::vector<Field> both = a.origins_;
        for (Field field : b.origins_) {
            if (std::find(both.begin(), both.end(), field) == both.end())
                both.push_back(field);
        }
        return both;
    }
    // A zero result owes its zero to the first operand that was zero; a zero
    // that no operand had (an underflow) is no one field's.
    static std::optional<Field> zeroOfEither(const StepValue& result, const StepValue& a, const StepValue& b)
    {
        if (result.fault_ || result.value_ != 0.0)
            return {};
        if (a.value_ == 0.0 && a.zeroField_)
            return a.zeroField_;
        if (b.value_ == 0.0)
            return b.zeroField_;
        return {};
    }
    template <class Op>
    static StepValue combine(const StepValue& a, const StepValue& b, Op op)
    {
        if (a.fault_)
            return a;
        if (b.fault_)
            return b;
        const double result = op(a.value_, b.value_);
        if (!std::isfinite(result))
            return faulty(FailureKind::Overflow, a, b);
        StepValue v(result);
        v.origins_ = originsOf(a, b);
        return v;
    }

    double value_;
    std::optional<FailureKind> fault_;
    std::vector<Field> origins_;
    std::optional<Field> zeroField_;
};

// readNumber, as a value to compute with.
inline StepValue read(const DesignSheet& sheet, Field field)
{
    return StepValue::fromField(readNumber(sheet, field), field);
}

// Throws a failure of the step that computes `field`, naming the fields
// behind `value`: the one whose zero made a divisor zero, or all of them.
[[noreturn]] inline void fail(FailureKind kind, const StepValue& value, Field field)
{
    Failure failure{kind, field};
    if (kind == FailureKind::DivisionByZero && value.zeroField()) {
        failure.zeroField = value.zeroField();
        failure.inputs = {*value.zeroField()};
    } else {
        failure.inputs = value.origins();
    }
    if (failure.inputs == std::vector<Field>{failure.field})
        failure.inputs.clear();
    throw StepFailure(std::move(failure));
}

// Throws the value's fault, if any, as a failure of the step that computes `field`.
inline void settle(const StepValue& value, Field field)
{
    if (value.fault())
        fail(*value.fault(), value, field);
}

// field := roundTo(x, decimals)
inline void write(DesignSheet& sheet, Field field, const StepValue& x, int decimals)
{
    settle(x, field);
    const double rounded = roundTo(x.value(), decimals);
    if (!std::isfinite(rounded))
        fail(FailureKind::Overflow, x, field);
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
