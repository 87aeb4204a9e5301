#include "control_table.h"

#include "sheet/design_sheet.h"

namespace tivora {

namespace {

using enum ControlKind;
using enum BackColour;

QString controlName(Field field)
{
    return QString::fromUtf8(nameOf(field));
}

ControlSpec field(Field field, QRect rect, int tab)
{
    return {controlName(field), TextField, rect, {}, FontRole::Window, Standard, tab, false, false, {}};
}

ControlSpec label(Caption caption, QRect rect, FontRole font, BackColour back, int tab, bool centred = false)
{
    const CaptionInfo& info = infoOf(caption);
    return {QString::fromUtf8(info.name),
            Label,
            rect,
            QString::fromUtf8(info.startText),
            font,
            back,
            tab,
            centred,
            false,
            {}};
}

ControlSpec option(const char* name, QRect rect, const char* caption, int tab)
{
    return {name, Option, rect, caption, FontRole::Window, Highlight3D, tab, false, false, {}};
}

ControlSpec pictureButton(const char* name, QRect rect, const char* picture, int tab)
{
    return {name, PictureButton, rect, {}, FontRole::Window, Highlight3D, tab, false, false, picture};
}

std::vector<ControlSpec> buildTable()
{
    std::vector<ControlSpec> controls = {
        // Input block, top left: each field with its caption to the right.
        field(Field::Blades, {16, 16, 33, 19}, 4),
        label(Caption::Blades, {56, 16, 113, 17}, FontRole::Caption, InactiveTitle, 9),
        field(Field::Tsr, {16, 40, 33, 19}, 5),
        label(Caption::Tsr, {56, 40, 41, 17}, FontRole::Caption, InactiveTitle, 10),
        field(Field::Efficiency, {16, 64, 33, 19}, 3),
        label(Caption::Efficiency, {56, 64, 105, 17}, FontRole::Caption, InactiveTitle, 8),
        field(Field::Radius, {16, 88, 33, 19}, 2),
        label(Caption::Radius, {56, 88, 121, 17}, FontRole::Caption, InactiveTitle, 7),
        field(Field::WindSpeed, {16, 112, 33, 19}, 1),
        label(Caption::WindSpeed, {56, 112, 113, 17}, FontRole::Caption, Highlight3D, 6),

        // Unit options, one group.
        option("Option1", {208, 24, 57, 17}, "SI", 18),
        option("Option2", {208, 64, 57, 25}, "Metric", 17),
        option("Option4", {208, 112, 57, 25}, "Imperial", 16),

        // Station table column captions; the thirty fields follow below.
        label(Caption::StationRadius, {424, 128, 65, 17}, FontRole::Window, Highlight3D, 50, true),
        label(Caption::StationChord, {504, 128, 65, 17}, FontRole::Window, Highlight3D, 51, true),
        label(Caption::StationTwist, {592, 128, 49, 17}, FontRole::Greek, Highlight3D, 49, true),

        pictureButton("Command1", {528, 328, 113, 41}, ":/assets/solve.png", 0),

        // Airfoil block.
        label(Caption::Airfoil, {192, 408, 89, 17}, FontRole::Window, Highlight3D, 13),
        field(Field::Cl, {136, 440, 41, 19}, 12),
        label(Caption::Cl, {184, 440, 25, 25}, FontRole::Caption, Highlight3D, 15),
        {controlName(Field::Alpha), TextField, {208, 440, 41, 19}, {}, FontRole::Window, Standard, 11, false, true, {}},
        label(Caption::Alpha, {256, 440, 33, 25}, FontRole::GreekLarge, Highlight3D, 14),

        // Generator block: torque, power, speed.
        field(Field::Torque, {344, 416, 49, 19}, 53),
        label(Caption::Torque, {400, 416, 145, 17}, FontRole::Caption, Highlight3D, 56),
        field(Field::Power, {344, 440, 49, 19}, 52),
        label(Caption::Power, {400, 440, 169, 17}, FontRole::Caption, Highlight3D, 55),
        field(Field::GeneratorSpeed, {344, 464, 49, 19}, 54),
        label(Caption::GeneratorSpeed, {400, 464, 161, 17}, FontRole::Caption, Highlight3D, 57),

        pictureButton("Command2", {8, 448, 113, 41}, ":/assets/help.png", 58),

        // Never drawn, never reached: the code of the system the figures are in.
        {controlName(Field::Units),
         HiddenField,
         {216, 144, 49, 19},
         {},
         FontRole::Window,
         Standard,
         59,
         false,
         false,
         {}},
        {"Timer2", Timer, {}, {}, FontRole::Window, Standard, -1, false, false, {}},
    };

    // Station k sits in the row 144 + 16 (k - 1): rows overlap by 3 px.
    // Tab climbs each column from the tip up: radii, then twists, then chords.
    for (int k = 1; k <= kStationCount; ++k) {
        const int top = 144 + 16 * (k - 1);
        controls.push_back(field(stationRadius(k), {432, top, 49, 19}, 29 - k));
        controls.push_back(field(stationChord(k), {512, top, 49, 19}, 49 - k));
        controls.push_back(field(stationTwist(k), {592, top, 49, 19}, 39 - k));
    }
    return controls;
}

}  // namespace

const std::vector<ControlSpec>& mainWindowControls()
{
    static const std::vector<ControlSpec> table = buildTable();
    return table;
}

FieldCaption captionOfField(const QString& field)
{
    const auto identity = fieldNamed(field.toStdString());
    if (!identity || !infoOf(*identity).caption)
        return {{}, 0};
    const FieldInfo& info = infoOf(*identity);
    return {QString::fromUtf8(nameOf(*info.caption)), info.station};
}

}  // namespace tivora
