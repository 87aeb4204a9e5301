#pragma once

// The Blade Sections window's inputs as the design file keeps them: one
// named setting a row, every name starting "sections.", in SI (lengths in
// millimetres, as their names say) with a full stop whatever the user's
// format. A coordinates file is kept by its name only.

#include "carving.h"
#include "sheet/design_file.h"

#include <string_view>

namespace tivora::workshop {

inline constexpr std::string_view kSettingsPrefix = "sections.";

DesignSettings settingsOf(const WorkshopInputs& inputs);

// The inputs the settings name, the others at their start values; a value
// that does not read, or makes no sense, leaves its start value.
WorkshopInputs workshopFrom(const DesignSettings& settings);

// The trim a design's settings ask for, for every drawing of the blade.
Trim trimFrom(const DesignSettings& settings);

// The design's blade as it will be cut: solved, trimmed as its settings say,
// to the main window's airfoil or to `coordinates` (a file the settings name
// by its name only); none while the station table holds no figures. What the
// Blade Sections window shows, for any caller with a design.
std::optional<Carving> carvingOf(const DesignSheet& sheet, const DesignSettings& settings,
                                 const std::optional<Profile>& coordinates = std::nullopt);

// The window's typed inputs, and why a value (in SI; ratios as fractions)
// makes no sense for carving; none when it does.
enum class WorkshopInput { RootThickness, TipThickness, LeastThickness, PlankWidth, LargestChord, WoodDensity };
std::optional<std::string> senselessReason(WorkshopInput input, double si);

}  // namespace tivora::workshop
