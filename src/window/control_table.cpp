#include "control_table.h"

#include "main_window.h"

namespace tivora {

namespace {

using enum ControlKind;
using enum BackColour;

QString startCaption(Caption caption)
{
    return QString::fromUtf8(infoOf(caption).startText);
}

std::vector<ControlEntry> buildTable()
{
    // Station k sits in the row 144 + 16 (k - 1): rows overlap by 3 px.
    // Tab climbs each column from the tip up: radii, then twists, then chords.
    return {
        // Input block, top left: each field with its caption to the right.
        {.id = Field::Blades, .kind = TextField, .rect = {16, 16, 33, 19}, .tab = 4},
        {.id = Caption::Blades,
         .kind = Label,
         .rect = {56, 16, 113, 17},
         .caption = startCaption(Caption::Blades),
         .font = FontRole::Caption,
         .back = InactiveTitle,
         .tab = 9},
        {.id = Field::Tsr, .kind = TextField, .rect = {16, 40, 33, 19}, .tab = 5},
        {.id = Caption::Tsr,
         .kind = Label,
         .rect = {56, 40, 41, 17},
         .caption = startCaption(Caption::Tsr),
         .font = FontRole::Caption,
         .back = InactiveTitle,
         .tab = 10},
        {.id = Field::Efficiency, .kind = TextField, .rect = {16, 64, 33, 19}, .tab = 3},
        {.id = Caption::Efficiency,
         .kind = Label,
         .rect = {56, 64, 105, 17},
         .caption = startCaption(Caption::Efficiency),
         .font = FontRole::Caption,
         .back = InactiveTitle,
         .tab = 8},
        {.id = Field::Radius, .kind = TextField, .rect = {16, 88, 33, 19}, .tab = 2},
        {.id = Caption::Radius,
         .kind = Label,
         .rect = {56, 88, 121, 17},
         .caption = startCaption(Caption::Radius),
         .font = FontRole::Caption,
         .back = InactiveTitle,
         .tab = 7},
        {.id = Field::WindSpeed, .kind = TextField, .rect = {16, 112, 33, 19}, .tab = 1},
        {.id = Caption::WindSpeed,
         .kind = Label,
         .rect = {56, 112, 113, 17},
         .caption = startCaption(Caption::WindSpeed),
         .font = FontRole::Caption,
         .back = Highlight3D,
         .tab = 6},

        // Unit options, one group.
        {.id = UnitSystem::SI,
         .kind = Option,
         .rect = {208, 24, 57, 17},
         .caption = "SI",
         .back = Highlight3D,
         .tab = 18,
         .handler = &Form1::Option1_Click},
        {.id = UnitSystem::Metric,
         .kind = Option,
         .rect = {208, 64, 57, 25},
         .caption = "Metric",
         .back = Highlight3D,
         .tab = 17,
         .handler = &Form1::Option2_Click},
        {.id = UnitSystem::Imperial,
         .kind = Option,
         .rect = {208, 112, 57, 25},
         .caption = "Imperial",
         .back = Highlight3D,
         .tab = 16,
         .handler = &Form1::Option4_Click},

        // Station table column captions; the thirty fields follow below.
        {.id = Caption::StationRadius,
         .kind = Label,
         .rect = {424, 128, 65, 17},
         .caption = startCaption(Caption::StationRadius),
         .back = Highlight3D,
         .tab = 50,
         .centred = true},
        {.id = Caption::StationChord,
         .kind = Label,
         .rect = {504, 128, 65, 17},
         .caption = startCaption(Caption::StationChord),
         .back = Highlight3D,
         .tab = 51,
         .centred = true},
        {.id = Caption::StationTwist,
         .kind = Label,
         .rect = {592, 128, 49, 17},
         .caption = startCaption(Caption::StationTwist),
         .font = FontRole::Greek,
         .back = Highlight3D,
         .tab = 49,
         .centred = true},

        {.id = Button::Solve,
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
        {.id = Caption::Airfoil,
         .kind = Label,
         .rect = {192, 408, 105, 17},
         .caption = startCaption(Caption::Airfoil),
         .back = Highlight3D,
         .tab = 13},
        {.id = Field::Cl, .kind = TextField, .rect = {136, 440, 41, 19}, .tab = 12, .handler = &Form1::cl_Change},
        {.id = Caption::Cl,
         .kind = Label,
         .rect = {184, 440, 25, 25},
         .caption = startCaption(Caption::Cl),
         .font = FontRole::Caption,
         .back = Highlight3D,
         .tab = 15},
        {.id = Field::Alpha,
         .kind = TextField,
         .rect = {208, 440, 41, 19},
         .tab = 11,
         .buttonTextColour = true,
         .handler = &Form1::alpha_Change},
        {.id = Caption::Alpha,
         .kind = Label,
         .rect = {256, 440, 33, 25},
         .caption = startCaption(Caption::Alpha),
         .font = FontRole::GreekLarge,
         .back = Highlight3D,
         .tab = 14},

        // Generator block: torque, power, speed.
        {.id = Field::Torque, .kind = TextField, .rect = {344, 416, 49, 19}, .tab = 53},
        {.id = Caption::Torque,
         .kind = Label,
         .rect = {400, 416, 145, 17},
         .caption = startCaption(Caption::Torque),
         .font = FontRole::Caption,
         .back = Highlight3D,
         .tab = 56},
        {.id = Field::Power, .kind = TextField, .rect = {344, 440, 49, 19}, .tab = 52},
        {.id = Caption::Power,
         .kind = Label,
         .rect = {400, 440, 169, 17},
         .caption = startCaption(Caption::Power),
         .font = FontRole::Caption,
         .back = Highlight3D,
         .tab = 55},
        {.id = Field::GeneratorSpeed, .kind = TextField, .rect = {344, 464, 49, 19}, .tab = 54},
        {.id = Caption::GeneratorSpeed,
         .kind = Label,
         .rect = {400, 464, 161, 17},
         .caption = startCaption(Caption::GeneratorSpeed),
         .font = FontRole::Caption,
         .back = Highlight3D,
         .tab = 57},

        {.id = Button::Help,
         .kind = PictureButton,
         .rect = {8, 448, 113, 41},
         .back = Highlight3D,
         .tab = 58,
         .picture = ":/assets/help.png",
         .accessibleName = "Help!",
         .handler = &Form1::Command2_Click},

        // Never drawn, never reached: the code of the system the figures are in.
        {.id = Field::Units, .kind = HiddenField, .rect = {216, 144, 49, 19}, .tab = 59},
        {.id = StartTimer{}, .kind = Timer, .handler = &Form1::Timer2_Timer},

        // The station table, station by station: radius, chord, twist.
        {.id = stationRadius(1), .kind = TextField, .rect = {432, 144, 49, 19}, .tab = 28},
        {.id = stationChord(1), .kind = TextField, .rect = {512, 144, 49, 19}, .tab = 48},
        {.id = stationTwist(1), .kind = TextField, .rect = {592, 144, 49, 19}, .tab = 38},
        {.id = stationRadius(2), .kind = TextField, .rect = {432, 160, 49, 19}, .tab = 27},
        {.id = stationChord(2), .kind = TextField, .rect = {512, 160, 49, 19}, .tab = 47},
        {.id = stationTwist(2), .kind = TextField, .rect = {592, 160, 49, 19}, .tab = 37},
        {.id = stationRadius(3), .kind = TextField, .rect = {432, 176, 49, 19}, .tab = 26},
        {.id = stationChord(3), .kind = TextField, .rect = {512, 176, 49, 19}, .tab = 46},
        {.id = stationTwist(3), .kind = TextField, .rect = {592, 176, 49, 19}, .tab = 36},
        {.id = stationRadius(4), .kind = TextField, .rect = {432, 192, 49, 19}, .tab = 25},
        {.id = stationChord(4), .kind = TextField, .rect = {512, 192, 49, 19}, .tab = 45},
        {.id = stationTwist(4), .kind = TextField, .rect = {592, 192, 49, 19}, .tab = 35},
        {.id = stationRadius(5), .kind = TextField, .rect = {432, 208, 49, 19}, .tab = 24},
        {.id = stationChord(5), .kind = TextField, .rect = {512, 208, 49, 19}, .tab = 44},
        {.id = stationTwist(5), .kind = TextField, .rect = {592, 208, 49, 19}, .tab = 34},
        {.id = stationRadius(6), .kind = TextField, .rect = {432, 224, 49, 19}, .tab = 23},
        {.id = stationChord(6), .kind = TextField, .rect = {512, 224, 49, 19}, .tab = 43},
        {.id = stationTwist(6), .kind = TextField, .rect = {592, 224, 49, 19}, .tab = 33},
        {.id = stationRadius(7), .kind = TextField, .rect = {432, 240, 49, 19}, .tab = 22},
        {.id = stationChord(7), .kind = TextField, .rect = {512, 240, 49, 19}, .tab = 42},
        {.id = stationTwist(7), .kind = TextField, .rect = {592, 240, 49, 19}, .tab = 32},
        {.id = stationRadius(8), .kind = TextField, .rect = {432, 256, 49, 19}, .tab = 21},
        {.id = stationChord(8), .kind = TextField, .rect = {512, 256, 49, 19}, .tab = 41},
        {.id = stationTwist(8), .kind = TextField, .rect = {592, 256, 49, 19}, .tab = 31},
        {.id = stationRadius(9), .kind = TextField, .rect = {432, 272, 49, 19}, .tab = 20},
        {.id = stationChord(9), .kind = TextField, .rect = {512, 272, 49, 19}, .tab = 40},
        {.id = stationTwist(9), .kind = TextField, .rect = {592, 272, 49, 19}, .tab = 30},
        {.id = stationRadius(10), .kind = TextField, .rect = {432, 288, 49, 19}, .tab = 19},
        {.id = stationChord(10), .kind = TextField, .rect = {512, 288, 49, 19}, .tab = 39},
        {.id = stationTwist(10), .kind = TextField, .rect = {592, 288, 49, 19}, .tab = 29},
    };
}

}  // namespace

const std::vector<ControlEntry>& mainWindowControls()
{
    static const std::vector<ControlEntry> table = buildTable();
    return table;
}

QString controlName(const ControlId& id)
{
    struct Name {
        std::string_view operator()(Field field) const { return nameOf(field); }
        std::string_view operator()(Caption caption) const { return nameOf(caption); }
        std::string_view operator()(UnitSystem system) const { return optionNameOf(system); }
        std::string_view operator()(Button button) const { return nameOf(button); }
        std::string_view operator()(StartTimer) const { return kStartTimerName; }
    };
    return QString::fromUtf8(std::visit(Name{}, id));
}

}  // namespace tivora
