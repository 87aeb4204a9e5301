#pragma once

// The main window's buttons, options and timer by typed identity, as
// sheet/fields.h names its fields and captions: the window builds, finds and
// connects them by these, and the tests address them by these. This file
// and fields.h are the only places that spell a control's name.

#include "sheet/design_sheet.h"

#include <cstdint>
#include <string_view>

namespace tivora {

enum class Button : std::uint8_t { Solve, Help };
inline constexpr int kButtonCount = 2;

constexpr std::string_view nameOf(Button button)
{
    return button == Button::Solve ? "Command1" : "Command2";
}

// An option is known by the unit system it stands for.
constexpr std::string_view optionNameOf(UnitSystem system)
{
    switch (system) {
    case UnitSystem::SI:
        return "Option1";
    case UnitSystem::Metric:
        return "Option2";
    case UnitSystem::Imperial:
        return "Option4";
    }
    return {};
}
inline constexpr UnitSystem kOptionSystems[] = {UnitSystem::SI, UnitSystem::Metric, UnitSystem::Imperial};

inline constexpr std::string_view kMainWindowName = "Form1";
inline constexpr std::string_view kStartTimerName = "Timer2";

}  // namespace tivora
