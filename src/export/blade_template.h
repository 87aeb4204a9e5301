#pragma once

// The blade planform at full size as SVG, for printing at 100 % or for a
// cutter: the document's width and height are in millimetres and one user
// unit is one millimetre.

#include "shown_design.h"

#include <QByteArray>
#include <QString>

namespace tivora {

// Space around the blade, in mm: room for the title and the 100 mm check
// bar above, and for the station labels below.
struct TemplateMargins {
    static constexpr double side = 20;
    static constexpr double top = 30;
    static constexpr double bottom = 40;
};

// The template; empty when the station table holds no blade to draw.
QByteArray bladeTemplateSvg(const ShownDesign& design);

}  // namespace tivora
