#pragma once

// The calculator's whole state: the text of every field of the main window,
// the captions that operations rewrite, and which unit option is on.
//
// Every figure lives here as text, exactly as the user sees it. Operations
// read a field's text, compute in double precision, round, and write text
// back; the next step reads the text as it now stands, so rounding carries
// from step to step just as it does on screen.

#include "fields.h"

#include <array>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tivora {

enum class UnitSystem { SI = 1, Metric = 2, Imperial = 3 };

// The user's number format. The owner of the sheet (the window) takes it from
// the user's locale; the core never looks at the process locale, so a program
// whose C locale uses a decimal comma computes exactly the same.
struct NumberFormat {
    std::string decimalSeparator = ".";
    std::string groupSeparator = ",";

    bool operator==(const NumberFormat&) const = default;
};

// A text too large to read is the user's to mend in that field; a result
// computed beyond the double range comes from figures that each read well.
enum class FailureKind { NotANumber, TooLargeToRead, DivisionByZero, Overflow };

// Why an operation stopped, and where the user can mend it.
struct Failure {
    FailureKind kind;
    // The field read, for a text that reads as no number or too large a one;
    // the field being computed otherwise.
    Field field;
    // A division by zero: the field whose text made the divisor zero, an
    // input or a result that an earlier step wrote. None where no single
    // field did (a product too small for a double).
    std::optional<Field> zeroField = {};
    // The inputs to change, in the order the formula reads them: the zero
    // input itself, or those behind a zero or too large result. Empty when
    // `field` itself is the one to change.
    std::vector<Field> inputs = {};

    bool operator==(const Failure&) const = default;
};

// Thrown by a failing step; solve and the unit switch catch it, discard
// their draft and hand the Failure to their caller.
class StepFailure : public std::runtime_error {
public:
    explicit StepFailure(Failure failure);
    const Failure& failure() const { return failure_; }

private:
    Failure failure_;
};

class DesignSheet {
public:
    explicit DesignSheet(NumberFormat format = {});

    // Texts of fields and changing captions. By name, an unknown name is a
    // programming error: std::out_of_range; so is a caption that never
    // changes, which the sheet does not hold.
    const std::string& text(Field field) const { return text(nameOf(field)); }
    void setText(Field field, std::string text) { setText(nameOf(field), std::move(text)); }
    const std::string& text(Caption caption) const { return text(nameOf(caption)); }
    void setText(Caption caption, std::string text) { setText(nameOf(caption), std::move(text)); }
    const std::string& text(std::string_view name) const;
    void setText(std::string_view name, std::string text);

    UnitSystem selectedSystem() const { return selectedSystem_; }
    void setSelectedSystem(UnitSystem system) { selectedSystem_ = system; }

    const NumberFormat& numberFormat() const { return format_; }

    static const std::vector<std::string>& fieldNames();
    static const std::vector<std::string>& captionNames();

    bool operator==(const DesignSheet&) const = default;

private:
    std::map<std::string, std::string, std::less<>> texts_;
    UnitSystem selectedSystem_ = UnitSystem::SI;
    NumberFormat format_;
};

// The text a caption shows now: the sheet's for the six that change, the
// start caption for the others.
std::string_view captionText(const DesignSheet& sheet, Caption caption);

// A caption as a quantity's name and its unit: "Blade Radius (m)" is
// "Blade Radius" in "m"; "TSR" has no unit.
struct CaptionParts {
    std::string name;
    std::string unit;
};
CaptionParts splitCaption(std::string_view caption);

// The inputs and outputs in the window's reading order, as every export
// lists them: the rotor top down, the airfoil, then the generator in the
// order it is computed.
inline constexpr std::array kQuantitiesInReadingOrder = {
    Field::Blades, Field::Tsr,   Field::Efficiency, Field::Radius,         Field::WindSpeed,
    Field::Cl,     Field::Alpha, Field::Power,      Field::GeneratorSpeed, Field::Torque};

// Editing the airfoil's Cl or angle of attack makes it an airfoil of the
// user's own, whatever it was called before.
void markAirfoilUserDefined(DesignSheet& sheet);

// Field operations: the only way an operation touches the sheet.
double readNumber(const DesignSheet& sheet, Field field);  // throws StepFailure
double roundTo(double value, int decimals);
void writeNumber(DesignSheet& sheet, Field field, double value);
const std::string& readText(const DesignSheet& sheet, Field field);
void writeText(DesignSheet& sheet, Field field, std::string text);
void writeText(DesignSheet& sheet, Caption caption, std::string text);

// The same rules on bare texts, for callers without a sheet (fuzzing, tests).
enum class ReadStatus { Ok, NotANumber, Overflow };
struct ReadResult {
    ReadStatus status;
    double value;
};
ReadResult parseNumber(std::string_view text, const NumberFormat& format);
// A text that is no number in `format` but reads as one with the other of
// "." and "," as its decimal separator ("0,35" where a full stop is the
// separator): the user's slip, which the failure message can name.
bool readsWithTheOtherDecimalSeparator(std::string_view text, const NumberFormat& format);
std::string formatNumber(double value, const NumberFormat& format);

}  // namespace tivora
