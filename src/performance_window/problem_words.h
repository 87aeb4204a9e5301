#pragma once

// The Rotor Performance window's words for what the analysis returns: its
// problems, warnings and states, and the rules an input breaks, translated,
// in the units and number format shown. The core names the kind and the
// input at fault; the words live here.

#include "performance/analysis.h"

#include <QString>

namespace tivora {

// A figure rounded to `decimals` and written in the user's format ("18", "1.225").
QString shownFigure(double value, int decimals, const NumberFormat& format);
// What an empty field stands for: "standard, 8.5".
QString defaultPlaceholder(performance::DerivedDefault derived, const QString& figure);
QString captionText(const performance::InputEntry& entry);
QString stateText(performance::OperatingState state);

// Why a value given makes no physical sense, in the units shown.
QString senseWords(const performance::InputEntry& entry, const performance::AnalysisInputs& inputs,
                   const performance::DesignFigures& design, UnitSystem system, const NumberFormat& format);
QString fileProblemWords(performance::InputId input, const QString& fileName, const performance::Problem& problem);
QString problemText(const performance::Problem& problem, const performance::AnalysisInputs& inputs,
                    const performance::DesignFigures& design, UnitSystem system, const NumberFormat& format);
// What the reader left out of a site's wind series, with the first line of each kind.
QString leftOutText(const performance::SiteSeries& site, const NumberFormat& format);
// Empty for a warning the form shows as a mark instead.
QString warningText(const performance::Warning& warning, const performance::Analysis& analysis, UnitSystem system,
                    const NumberFormat& format);

}  // namespace tivora
