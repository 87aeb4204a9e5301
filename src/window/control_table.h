#pragma once

// Every control of the main window as data: what it is, where it sits, what
// it says, how it looks, where Tab reaches it and what it calls. The window
// builds and connects itself by walking this table; nothing else places a
// control.

#include "controls.h"
#include "sheet/design_sheet.h"

#include <QRect>
#include <QString>

#include <variant>
#include <vector>

namespace tivora {

class Form1;

// What a control calls: on a click, on the user's edit, on the timer's tick.
using Handler = void (Form1::*)();

enum class ControlKind { TextField, HiddenField, Label, Option, PictureButton, Timer };

// Sizes at 96 dots per inch: the window's 8.25 pt, the captions' 9.75 pt,
// and the Greek column and airfoil captions.
enum class FontRole { Window, Caption, Greek, GreekLarge };

enum class BackColour { Standard, Highlight3D, InactiveTitle };

// The one timer, which starts with the window.
struct StartTimer {};

// Which control an entry is; its objectName follows from this.
using ControlId = std::variant<Field, Caption, UnitSystem, Button, StartTimer>;
QString controlName(const ControlId& id);

struct ControlEntry {
    ControlId id;
    ControlKind kind;
    QRect rect{};  // client-area pixels; the timer has none
    QString caption{};
    FontRole font = FontRole::Window;
    BackColour back = BackColour::Standard;
    int tab = -1;  // 0..59, each used once; the timer has none
    bool centred = false;
    bool buttonTextColour = false;
    QString picture{};         // resource of a picture button's face
    QString accessibleName{};  // for a control that shows no text
    Handler handler = nullptr;
};

// All 61 controls, the thirty station fields included.
const std::vector<ControlEntry>& mainWindowControls();

}  // namespace tivora
