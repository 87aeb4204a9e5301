#pragma once

// What an analysis gives back: its figures, or the named reason it has none.
//
// The analysis never hands out a NaN: an input it cannot work with (an
// altitude above the atmosphere's table, zero blades, a file that is not a
// polar) is a Problem: its kind, the input at fault and the figures the
// words need. The window and the command line word it, each in its own way
// (the window names the field and takes the user there, the command line
// names the option). Where the fault lies inside a file or the blade, the
// message says where ("line 3: expected ...").

#include "input_id.h"
#include "sheet/fields.h"

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace tivora::performance {

enum class ProblemKind {
    OutsideAtmosphere,   // altitude or temperature beyond the standard atmosphere's table
    BladeNotUsable,      // no blades, fewer than two stations, radii not rising, a chord not above zero
    SheetNotSolved,      // a station field of the sheet holds no number
    AirfoilNotUsable,    // design Cl above Cl max, glide ratio not above zero
    NotAPolar,           // a polar file's line that is not what was expected
    NotAPowerCurve,      // a power curve file's line that is not what was expected
    NotAWindSeries,      // a wind series file's line that is not what was expected
    OperatingNotUsable,  // a tip speed ratio, wind speed, cut-in or rated power that cannot be
    GeneratorNotUsable,  // volts per rpm, battery voltage or resistance that cannot be
    SiteNotUsable,       // mean wind speed or Weibull shape not above zero
    FileNotReadable,     // a named file that is missing, no regular file, too large or unreadable
    InputOutside,        // `input` outside `bounds`, where the analysis cannot compute
    InputNotBelow,       // `input` not below `other` (a cut-in at or above the cut-out)
    FileNotLoaded,       // `input` names a file whose text is not at hand (a design opened without it)
    AboveBetz,           // `figures`: a Cp above Betz's limit and its tip speed ratio; the airfoil is at fault
};

struct Problem {
    ProblemKind kind;
    std::string message;  // where in a file or the blade; may be empty
    std::optional<InputId> input = std::nullopt;
    std::optional<InputId> other = std::nullopt;
    Bounds bounds = {};                         // InputOutside: the range the input must lie in, SI
    std::optional<Field> field = std::nullopt;  // a field of the main window's design at fault
    std::vector<double> figures = {};           // what the words need beyond the input's own value

    bool operator==(const Problem&) const = default;
};

// Either the figures or the Problem; checked before use.
template <class T>
class Result {
public:
    Result(T value) : state_(std::move(value)) {}            // NOLINT: returned plainly
    Result(Problem problem) : state_(std::move(problem)) {}  // NOLINT

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const { return std::get<0>(state_); }
    T& value() { return std::get<0>(state_); }
    const T& operator*() const { return value(); }
    const T* operator->() const { return &value(); }
    const Problem& problem() const { return std::get<1>(state_); }

private:
    std::variant<T, Problem> state_;
};

}  // namespace tivora::performance
