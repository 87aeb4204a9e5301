#pragma once

#include "sheet/design_sheet.h"

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace tivora::testing {

using Column = std::vector<std::string>;

inline Column radii(const DesignSheet& s)
{
    Column c;
    for (int k = 1; k <= kStationCount; ++k)
        c.push_back(s.text(stationRadius(k)));
    return c;
}
inline Column chords(const DesignSheet& s)
{
    Column c;
    for (int k = 1; k <= kStationCount; ++k)
        c.push_back(s.text(stationChord(k)));
    return c;
}
inline Column twists(const DesignSheet& s)
{
    Column c;
    for (int k = 1; k <= kStationCount; ++k)
        c.push_back(s.text(stationTwist(k)));
    return c;
}

inline const Column kDefaultRadii = {"0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1"};
inline const Column kDefaultChords = {"0.448", "0.224", "0.149", "0.112", "0.09",
                                      "0.075", "0.064", "0.056", "0.05",  "0.045"};
inline const Column kDefaultTwists = {"37.6", "19.5", "11.6", "7.4", "4.8", "3", "1.7", "0.8", "0", "-0.6"};
inline const Column kImperialRadii = {"0.328", "0.656", "0.984", "1.312", "1.64",
                                      "1.969", "2.297", "2.625", "2.953", "3.281"};
inline const Column kImperialChords = {"17.638", "8.819", "5.866", "4.409", "3.543",
                                       "2.953",  "2.52",  "2.205", "1.969", "1.772"};

// A sheet at its start texts with some fields set.
inline DesignSheet sheetWith(std::initializer_list<std::pair<Field, const char*>> texts,
                             UnitSystem system = UnitSystem::SI)
{
    DesignSheet sheet;
    for (const auto& [field, text] : texts)
        sheet.setText(field, text);
    sheet.setSelectedSystem(system);
    return sheet;
}

}  // namespace tivora::testing
