#include "carved_blade.h"

#include "workshop/carving.h"
#include "workshop/workshop_settings.h"

#include <cmath>

namespace tivora::performance {

Result<workshop::Trim> trimOf(const AnalysisInputs& inputs)
{
    workshop::Trim trim = workshop::trimFrom(inputs.carved.settings);
    if (const auto chord = inputs.typed(InputId::LargestChord); chord && *chord > 0)
        trim.largestChord = *chord;
    const auto from = inputs.typed(InputId::StraightFrom), to = inputs.typed(InputId::StraightTo);
    if (from || to) {
        const double a = from.value_or(0), b = to.value_or(0);
        if (a != std::floor(a) || b != std::floor(b) || a < 1 || !(a < b) || b > kStationCount)
            return Problem{ProblemKind::BladeNotUsable,
                           "a straight stretch runs between two stations, numbered from 1 to " +
                               std::to_string(kStationCount) + ", the first nearer the hub",
                           from ? InputId::StraightFrom : InputId::StraightTo};
        trim.straightBetween = std::pair(static_cast<int>(a), static_cast<int>(b));
    }
    return trim;
}

Blade trimmedBlade(const Blade& solved, const workshop::Trim& trim)
{
    workshop::Blade carved;
    int number = 0;
    for (const Station& s : solved.stations)
        carved.stations.push_back({++number, s.radius, s.chord, s.twistDegrees});
    Blade out{solved.blades, {}};
    for (const workshop::BladeStation& s : workshop::trimBlade(carved, trim).stations)
        out.stations.push_back({s.radius, s.chord, s.twistDegrees});
    return out;
}

std::optional<CarvedMass> carvedMass(const DesignSheet& sheet, const AnalysisInputs& inputs)
{
    const std::optional<workshop::Blade> solved = workshop::solvedBlade(sheet);
    const Result<workshop::Trim> trim = trimOf(inputs);
    if (!solved || solved->stations.size() < 2 || !trim)
        return std::nullopt;
    workshop::WorkshopInputs carving = workshop::workshopFrom(inputs.carved.settings);
    const workshop::Section section = inputs.carved.coordinates
                                          ? workshop::sectionOf(*inputs.carved.coordinates)
                                          : workshop::sectionNamedIn(captionText(sheet, Caption::Airfoil));
    const workshop::MassAndBalance mass =
        workshop::massAndBalance(workshop::trimBlade(*solved, *trim), section, carving.thickness, carving.woodDensity);
    return CarvedMass{mass.mass, mass.centreRadius};
}

}  // namespace tivora::performance

namespace tivora::performance {

DesignFigures designFiguresOf(const DesignSheet& sheet, const AnalysisInputs& inputs)
{
    DesignFigures figures = designFiguresOf(sheet);
    if (const std::optional<CarvedMass> mass = carvedMass(sheet, inputs))
        figures.bladeMassKg = mass->kg;
    return figures;
}

}  // namespace tivora::performance
