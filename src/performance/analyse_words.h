#pragma once

// What `tivora --analyse` says, in English and ASCII for a terminal: the
// defaults of --help, and problems and warnings naming the option at fault.
// (The window words the same kinds in its own way, translated.)

#include "analysis.h"

#include <string>
#include <string_view>

namespace tivora::performance {

// "5", "none", "the design's generator power", a choice's default name.
std::string defaultWords(const InputEntry& entry);
// A choice's names: "open-sea, open-grass, ..., power-law".
std::string choiceNames(const InputEntry& entry);
// "above 0", "from -2000 to 11000 m".
std::string boundsWords(const Bounds& bounds, std::string_view unit);
// The text with its non-ASCII units spelt out: "kg/m³" is "kg/m3".
std::string ascii(std::string_view text);

// Why the design the options describe does not solve, naming the option to
// change: of the inputs behind the failure, the one that alone lets the
// design solve when put back to its default.
std::string unsolvableWords(const Failure& failure, const DesignSheet& sheet);
// What stopped the solve: "division by zero while computing "Chord (m)"".
std::string solveFailureWords(const Failure& failure, const DesignSheet& sheet);
std::string problemWords(const Problem& problem, const AnalysisInputs& inputs);
std::string warningWords(const Warning& warning, const Analysis& analysis, const AnalysisInputs& inputs);

}  // namespace tivora::performance
