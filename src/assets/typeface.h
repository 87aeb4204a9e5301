#pragma once

// The one typeface of everything the program draws: the window, the design
// sheet and the blade template. "MS Sans Serif" and "Symbol" are not on
// Linux; Liberation Sans has Arial's widths, narrow enough that every start
// caption of the window fits its box on one line, and has the Greek letters
// the two Symbol captions show.

#include <QString>

namespace tivora {

inline constexpr QLatin1String kTypeface("Liberation Sans");

}  // namespace tivora
