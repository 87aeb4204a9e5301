#pragma once

// The wording of what the window tells the user, from a failure and the
// sheet alone: the captions named are those the window shows at the time,
// in the units the sheet is in.

#include "sheet/design_sheet.h"

#include <QString>

namespace tivora {

// The caption that names a field, as a screen reader speaks it and a
// message quotes it: "Chord (m), station 3". The hidden `units` has none and
// goes by its name.
QString fieldCaption(const DesignSheet& sheet, Field field);

// The message of a failed solve or switch, ending in "Nothing was changed."
QString failureMessage(const Failure& failure, const DesignSheet& sheet);

// The rule of physical sense that `input` breaks.
QString senseRuleText(Field input);

}  // namespace tivora
