#include "site_height.h"

#include <cmath>
#include <iterator>

namespace tivora::performance {

HeightLaw heightLawOf(int option, double exponent)
{
    if (option >= 0 && static_cast<std::size_t>(option) < std::size(kTerrains))
        return {kTerrains[static_cast<std::size_t>(option)].roughnessM, exponent};
    return {std::nullopt, exponent};
}

double heightFactor(const HeightLaw& law, double fromM, double toM)
{
    if (law.roughnessM)
        return std::log(toM / *law.roughnessM) / std::log(fromM / *law.roughnessM);
    return std::pow(toM / fromM, law.exponent);
}

}  // namespace tivora::performance
