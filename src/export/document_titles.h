#pragma once

// The titles the saved and printed documents carry, the same whether the
// window or the command line writes them.

#include <QString>

namespace tivora {

inline QString designSheetTitle()
{
    return QStringLiteral("Tivora rotor design");
}

inline QString templateTitle()
{
    return QStringLiteral("Tivora blade template");
}

inline QString gaugesTitle()
{
    return QStringLiteral("Tivora section gauges");
}

inline QString sectionsTitle()
{
    return QStringLiteral("Tivora blade sections, full size");
}

}  // namespace tivora
