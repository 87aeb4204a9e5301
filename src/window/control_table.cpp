#include "control_table.h"

#include "main_window.h"

namespace tivora {

namespace {

using enum ControlKind;
using enum BackColour;

QString controlName(Field field)
{
    return QString::fromUtf8(nameOf(field));
}

QString controlName(Caption caption)
{
    return QString::fromUtf8(nameOf(caption));
}

QString startCaption(Caption caption)
{
    return QString::fromUtf8(infoOf(caption).startText);
}

std::vector<ControlSpec> buildTable()
{
    // Station k sits in the row 144 + 16 (k - 1): rows overlap by 3 px.
    // Tab climbs each column from the tip up: radii, then twists, then chords.
    return {
        // Input block, top left: each field with its caption to the right.
        {.name = controlName(Field::Blades), .kind = TextField, .rect = {16, 16, 33, 19}, .tab = 4},
        {.name = controlName(Caption::Blades),
         .kind = Label,
         .rect = {56, 16, 113, 17},
         .caption = startCaption(Caption::Blades),
         .font = FontRole::Caption,
         .back = InactiveTitle,
         .tab = 9},
        {.name = controlName(Field::Tsr), .kind = TextField, .rect = {16, 40, 33, 19}, .tab = 5},
        {.name = controlName(Caption::Tsr),
         .kind = Label,
         .rect = {56, 40, 41, 17},
         .caption = startCaption(Caption::Tsr),
         .font = FontRole::Caption,
         .back = InactiveTitle,
         .tab = 10},
        {.name = controlName(Field::Efficiency), .kind = TextField, .rect = {16, 64, 33, 19}, .tab = 3},
        {.name = controlName(Caption::Efficiency),
         .kind = Label,
         .rect = {56, 64, 105, 17},
         .caption = startCaption(Caption::Efficiency),
         .font = FontRole::Caption,
         .back = InactiveTitle,
         .tab = 8},
        {.name = controlName(Field::Radius), .kind = TextField, .rect = {16, 88, 33, 19}, .tab = 2},
        {.name = controlName(Caption::Radius),
         .kind = Label,
         .rect = {56, 88, 121, 17},
         .caption = startCaption(Caption::Radius),
         .font = FontRole::Caption,
         .back = InactiveTitle,
         .tab = 7},
        {.name = controlName(Field::WindSpeed), .kind = TextField, .rect = {16, 112, 33, 19}, .tab = 1},
        {.name = controlName(Caption::WindSpeed),
         .kind = Label,
         .rect = {56, 112, 113, 17},
         .caption = startCaption(Caption::WindSpeed),
         .font = FontRole::Caption,
         .back = Highlight3D,
         .tab = 6},

        // Unit options, one group.
        {.name = "Option1",
         .kind = Option,
         .rect = {208, 24, 57, 17},
         .caption = "SI",
         .back = Highlight3D,
         .tab = 18,
         .handler = &Form1::Option1_Click,
         .system = UnitSystem::SI},
        {.name = "Option2",
         .kind = Option,
         .rect = {208, 64, 57, 25},
         .caption = "Metric",
         .back = Highlight3D,
         .tab = 17,
         .handler = &Form1::Option2_Click,
         .system = UnitSystem::Metric},
        {.name = "Option4",
         .kind = Option,
         .rect = {208, 112, 57, 25},
         .caption = "Imperial",
         .back = Highlight3D,
         .tab = 16,
         .handler = &Form1::Option4_Click,
         .system = UnitSystem::Imperial},

        // Station table column captions; the thirty fields follow below.
        {.name = controlName(Caption::StationRadius),
         .kind = Label,
         .rect = {424, 128, 65, 17},
         .caption = startCaption(Caption::StationRadius),
         .back = Highlight3D,
         .tab = 50,
         .centred = true},
        {.name = controlName(Caption::StationChord),
         .kind = Label,
         .rect = {504, 128, 65, 17},
         .caption = startCaption(Caption::StationChord),
         .back = Highlight3D,
         .tab = 51,
         .centred = true},
        {.name = controlName(Caption::StationTwist),
         .kind = Label,
         .rect = {592, 128, 49, 17},
         .caption = startCaption(Caption::StationTwist),
         .font = FontRole::Greek,
         .back = Highlight3D,
         .tab = 49,
         .centred = true},

        {.name = "Command1",
         .kind = PictureButton,
         .rect = {528, 328, 113, 41},
         .back = Highlight3D,
         .tab = 0,
         .picture = ":/assets/solve.png",
         .accessibleName = "Solve!",
         .handler = &Form1::Command1_Click},

        // Airfoil block. The caption is wider than first drawn, into the
        // white ground on its right, so that "Airfoil: user defined" shows
        // whole on one line.
        {.name = controlName(Caption::Airfoil),
         .kind = Label,
         .rect = {192, 408, 105, 17},
         .caption = startCaption(Caption::Airfoil),
         .back = Highlight3D,
         .tab = 13},
        {.name = controlName(Field::Cl),
         .kind = TextField,
         .rect = {136, 440, 41, 19},
         .tab = 12,
         .handler = &Form1::cl_Change},
        {.name = controlName(Caption::Cl),
         .kind = Label,
         .rect = {184, 440, 25, 25},
         .caption = startCaption(Caption::Cl),
         .font = FontRole::Caption,
         .back = Highlight3D,
         .tab = 15},
        {.name = controlName(Field::Alpha),
         .kind = TextField,
         .rect = {208, 440, 41, 19},
         .tab = 11,
         .buttonTextColour = true,
         .handler = &Form1::alpha_Change},
        {.name = controlName(Caption::Alpha),
         .kind = Label,
         .rect = {256, 440, 33, 25},
         .caption = startCaption(Caption::Alpha),
         .font = FontRole::GreekLarge,
         .back = Highlight3D,
         .tab = 14},

        // Generator block: torque, power, speed.
        {.name = controlName(Field::Torque), .kind = TextField, .rect = {344, 416, 49, 19}, .tab = 53},
        {.name = controlName(Caption::Torque),
         .kind = Label,
         .rect = {400, 416, 145, 17},
         .caption = startCaption(Caption::Torque),
         .font = FontRole::Caption,
         .back = Highlight3D,
         .tab = 56},
        {.name = controlName(Field::Power), .kind = TextField, .rect = {344, 440, 49, 19}, .tab = 52},
        {.name = controlName(Caption::Power),
         .kind = Label,
         .rect = {400, 440, 169, 17},
         .caption = startCaption(Caption::Power),
         .font = FontRole::Caption,
         .back = Highlight3D,
         .tab = 55},
        {.name = controlName(Field::GeneratorSpeed), .kind = TextField, .rect = {344, 464, 49, 19}, .tab = 54},
        {.name = controlName(Caption::GeneratorSpeed),
         .kind = Label,
         .rect = {400, 464, 161, 17},
         .caption = startCaption(Caption::GeneratorSpeed),
         .font = FontRole::Caption,
         .back = Highlight3D,
         .tab = 57},

        {.name = "Command2",
         .kind = PictureButton,
         .rect = {8, 448, 113, 41},
         .back = Highlight3D,
         .tab = 58,
         .picture = ":/assets/help.png",
         .accessibleName = "Help!",
         .handler = &Form1::Command2_Click},

        // Never drawn, never reached: the code of the system the figures are in.
        {.name = controlName(Field::Units), .kind = HiddenField, .rect = {216, 144, 49, 19}, .tab = 59},
        {.name = "Timer2", .kind = Timer, .handler = &Form1::Timer2_Timer},

        // The station table, station by station: radius, chord, twist.
        {.name = controlName(stationRadius(1)), .kind = TextField, .rect = {432, 144, 49, 19}, .tab = 28},
        {.name = controlName(stationChord(1)), .kind = TextField, .rect = {512, 144, 49, 19}, .tab = 48},
        {.name = controlName(stationTwist(1)), .kind = TextField, .rect = {592, 144, 49, 19}, .tab = 38},
        {.name = controlName(stationRadius(2)), .kind = TextField, .rect = {432, 160, 49, 19}, .tab = 27},
        {.name = controlName(stationChord(2)), .kind = TextField, .rect = {512, 160, 49, 19}, .tab = 47},
        {.name = controlName(stationTwist(2)), .kind = TextField, .rect = {592, 160, 49, 19}, .tab = 37},
        {.name = controlName(stationRadius(3)), .kind = TextField, .rect = {432, 176, 49, 19}, .tab = 26},
        {.name = controlName(stationChord(3)), .kind = TextField, .rect = {512, 176, 49, 19}, .tab = 46},
        {.name = controlName(stationTwist(3)), .kind = TextField, .rect = {592, 176, 49, 19}, .tab = 36},
        {.name = controlName(stationRadius(4)), .kind = TextField, .rect = {432, 192, 49, 19}, .tab = 25},
        {.name = controlName(stationChord(4)), .kind = TextField, .rect = {512, 192, 49, 19}, .tab = 45},
        {.name = controlName(stationTwist(4)), .kind = TextField, .rect = {592, 192, 49, 19}, .tab = 35},
        {.name = controlName(stationRadius(5)), .kind = TextField, .rect = {432, 208, 49, 19}, .tab = 24},
        {.name = controlName(stationChord(5)), .kind = TextField, .rect = {512, 208, 49, 19}, .tab = 44},
        {.name = controlName(stationTwist(5)), .kind = TextField, .rect = {592, 208, 49, 19}, .tab = 34},
        {.name = controlName(stationRadius(6)), .kind = TextField, .rect = {432, 224, 49, 19}, .tab = 23},
        {.name = controlName(stationChord(6)), .kind = TextField, .rect = {512, 224, 49, 19}, .tab = 43},
        {.name = controlName(stationTwist(6)), .kind = TextField, .rect = {592, 224, 49, 19}, .tab = 33},
        {.name = controlName(stationRadius(7)), .kind = TextField, .rect = {432, 240, 49, 19}, .tab = 22},
        {.name = controlName(stationChord(7)), .kind = TextField, .rect = {512, 240, 49, 19}, .tab = 42},
        {.name = controlName(stationTwist(7)), .kind = TextField, .rect = {592, 240, 49, 19}, .tab = 32},
        {.name = controlName(stationRadius(8)), .kind = TextField, .rect = {432, 256, 49, 19}, .tab = 21},
        {.name = controlName(stationChord(8)), .kind = TextField, .rect = {512, 256, 49, 19}, .tab = 41},
        {.name = controlName(stationTwist(8)), .kind = TextField, .rect = {592, 256, 49, 19}, .tab = 31},
        {.name = controlName(stationRadius(9)), .kind = TextField, .rect = {432, 272, 49, 19}, .tab = 20},
        {.name = controlName(stationChord(9)), .kind = TextField, .rect = {512, 272, 49, 19}, .tab = 40},
        {.name = controlName(stationTwist(9)), .kind = TextField, .rect = {592, 272, 49, 19}, .tab = 30},
        {.name = controlName(stationRadius(10)), .kind = TextField, .rect = {432, 288, 49, 19}, .tab = 19},
        {.name = controlName(stationChord(10)), .kind = TextField, .rect = {512, 288, 49, 19}, .tab = 39},
        {.name = controlName(stationTwist(10)), .kind = TextField, .rect = {592, 288, 49, 19}, .tab = 29},
    };
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
