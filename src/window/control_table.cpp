#include "control_table.h"

#include "sheet/design_sheet.h"

#include <QHash>

namespace tivora {

namespace {

using enum ControlKind;
using enum FontRole;
using enum BackColour;

ControlSpec field(const QString& name, QRect rect, int tab)
{
    return {name, TextField, rect, {}, Window, Standard, tab, false, false, {}};
}

ControlSpec label(const char* name, QRect rect, const char* caption, FontRole font, BackColour back, int tab,
                  bool centred = false)
{
    return {name, Label, rect, QString::fromUtf8(caption), font, back, tab, centred, false, {}};
}

ControlSpec option(const char* name, QRect rect, const char* caption, int tab)
{
    return {name, Option, rect, caption, Window, Highlight3D, tab, false, false, {}};
}

ControlSpec pictureButton(const char* name, QRect rect, const char* picture, int tab)
{
    return {name, PictureButton, rect, {}, Window, Highlight3D, tab, false, false, picture};
}

std::vector<ControlSpec> buildTable()
{
    std::vector<ControlSpec> controls = {
        // Input block, top left: each field with its caption to the right.
        field("blades", {16, 16, 33, 19}, 4),
        label("Label3", {56, 16, 113, 17}, "Number of Blades", Caption, InactiveTitle, 9),
        field("tsr", {16, 40, 33, 19}, 5),
        label("Label1", {56, 40, 41, 17}, "TSR", Caption, InactiveTitle, 10),
        field("efficiency", {16, 64, 33, 19}, 3),
        label("Label4", {56, 64, 105, 17}, "Blade Efficiency", Caption, InactiveTitle, 8),
        field("radius", {16, 88, 33, 19}, 2),
        label("Label5", {56, 88, 121, 17}, "Blade Radius (m)", Caption, InactiveTitle, 7),
        field("windspeed", {16, 112, 33, 19}, 1),
        label("Label6", {56, 112, 113, 17}, "Wind Speed (m/s)", Caption, Highlight3D, 6),

        // Unit options, one group.
        option("Option1", {208, 24, 57, 17}, "SI", 18),
        option("Option2", {208, 64, 57, 25}, "Metric", 17),
        option("Option4", {208, 112, 57, 25}, "Imperial", 16),

        // Station table column captions; the thirty fields follow below.
        label("Label14", {424, 128, 65, 17}, "Radius (m)", Window, Highlight3D, 50, true),
        label("Label13", {504, 128, 65, 17}, "Chord (m)", Window, Highlight3D, 51, true),
        label("Label15", {592, 128, 49, 17}, "β (°)", Greek, Highlight3D, 49, true),

        pictureButton("Command1", {528, 328, 113, 41}, ":/assets/solve.png", 0),

        // Airfoil block.
        label("Label24", {192, 408, 89, 17}, "Airfoil: NACA2412", Window, Highlight3D, 13),
        field("cl", {136, 440, 41, 19}, 12),
        label("Label7", {184, 440, 25, 25}, "Cl", Caption, Highlight3D, 15),
        {"alpha", TextField, {208, 440, 41, 19}, {}, Window, Standard, 11, false, true, {}},
        label("Label9", {256, 440, 33, 25}, "α(°)", GreekLarge, Highlight3D, 14),

        // Generator block: torque, power, speed.
        field("Text7", {344, 416, 49, 19}, 53),
        label("Label11", {400, 416, 145, 17}, "Generator Torque (N.m)", Caption, Highlight3D, 56),
        field("Text9", {344, 440, 49, 19}, 52),
        label("Label12", {400, 440, 169, 17}, "Generator Power (Watts) ", Caption, Highlight3D, 55),
        field("Text6", {344, 464, 49, 19}, 54),
        label("Label10", {400, 464, 161, 17}, "Generator speed (rad/sec)", Caption, Highlight3D, 57),

        pictureButton("Command2", {8, 448, 113, 41}, ":/assets/help.png", 58),

        // Never drawn, never reached: the code of the system the figures are in.
        {"units", HiddenField, {216, 144, 49, 19}, {}, Window, Standard, 59, false, false, {}},
        {"Timer2", Timer, {}, {}, Window, Standard, -1, false, false, {}},
    };

    // Station k sits in the row 144 + 16 (k - 1): rows overlap by 3 px.
    // Tab climbs each column from the tip up: radii, then twists, then chords.
    for (int k = 1; k <= kStationCount; ++k) {
        const int top = 144 + 16 * (k - 1);
        const auto name = [](const std::string& s) { return QString::fromStdString(s); };
        controls.push_back(field(name(stationRadiusField(k)), {432, top, 49, 19}, 29 - k));
        controls.push_back(field(name(stationChordField(k)), {512, top, 49, 19}, 49 - k));
        controls.push_back(field(name(stationTwistField(k)), {592, top, 49, 19}, 39 - k));
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
    static const QHash<QString, QString> labels = {
        {"blades", "Label3"},    {"tsr", "Label1"},    {"efficiency", "Label4"}, {"radius", "Label5"},
        {"windspeed", "Label6"}, {"cl", "Label7"},     {"alpha", "Label9"},      {"Text7", "Label11"},
        {"Text9", "Label12"},    {"Text6", "Label10"},
    };
    if (const auto it = labels.find(field); it != labels.end())
        return {*it, 0};
    for (int k = 1; k <= kStationCount; ++k) {
        if (field == QString::fromStdString(stationRadiusField(k)))
            return {"Label14", k};
        if (field == QString::fromStdString(stationChordField(k)))
            return {"Label13", k};
        if (field == QString::fromStdString(stationTwistField(k)))
            return {"Label15", k};
    }
    return {{}, 0};
}

}  // namespace tivora
