#pragma once

// The main window, Form1: the calculator's only working surface.
//
// Map of the program:
//   app/        builds Form1 and the help window access, runs the event loop;
//               module_loader: the one way a module (a Qt plugin) is loaded
//   window/     Form1 (this), by job:
//                 controls.h, control_table   its 61 controls as data, by typed identity
//                 build_controls.cpp          making and connecting them from the table
//                 handlers.cpp                the handlers, and the sheet shown in the controls
//                 messages                    the wording of failures and marks, from the sheet alone
//                 menus_keys_painting.cpp     the design menu, keys, the background
//                 fonts_and_pictures          typefaces, colours, pictures
//                 bring_to_front              the main window in front once the others are up
//   help/       the help window and its web browser: the help module, loaded
//               after the first paint
//   modules/    what the program and the modules it loads know of each other
//   export/     copy, the design file on disk, the design sheet (PDF, print)
//               and the blade template, made on first use; file dialogs and
//               whole-or-nothing writing
//   performance_window/  the Rotor Performance window (Ctrl+R), made on first use
//   sections_window/     the Blade Sections window (Ctrl+B), made on first use
//   workshop/   the blade as carved: sections, the trim, the carving table, mass
//   chart/      the line charts of that window and of the design sheet
//   solve/      solve: power, speed, torque and the blade station table
//   units/      switchUnitSystem: SI, Metric, Imperial
//   sheet/      DesignSheet: every figure as text; reading, rounding, writing;
//               fields.h: the fields and captions by typed identity;
//               design_file and csv: the design file's format
//   assets/     pictures, and typeface.h: the one typeface of all that is drawn
//
// Form1 owns the DesignSheet and keeps it in step with the controls: every
// change of a field's text that the window did not make itself (typing,
// pasting, undo, an assistive tool) goes straight into the sheet, an option
// turned on by any route switches the units, and after every operation the
// controls show the sheet again. No arithmetic lives here; the handlers only
// call the core's operations and report their failures.

#include "controls.h"
#include "sheet/design_file.h"
#include "sheet/design_sheet.h"

#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <array>
#include <functional>
#include <future>
#include <optional>
#include <string_view>
#include <vector>

class QAbstractButton;
class QAction;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace tivora {

class DesignExport;
class PerformanceWindow;
class SectionsWindow;
class HelpAccess;
struct ControlEntry;

// The user's decimal and grouping separators, from QLocale.
NumberFormat userNumberFormat();

// The typeface and size of the window's text; also the application's, so
// that no control lays itself out in a second typeface while it is built.
QFont windowFont();

class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(HelpAccess* help = nullptr, QWidget* parent = nullptr);
    ~Form1() override;

    const DesignSheet& sheet() const { return sheet_; }
    QTimer* timer2() const { return timer2_; }
    QLineEdit* field(Field field) const { return fields_[static_cast<int>(field)]; }
    QAbstractButton* button(Button button) const { return buttons_[static_cast<int>(button)]; }

    // Form_Load: runs once, after the window is built and before it is shown.
    void Form_Load();

    // Copy, save and print the design (the context menu's commands); made
    // when the user first asks for one.
    DesignExport& designExport();

    // The design file. Opening replaces the whole design or, on a file that
    // is no design, changes nothing and says why; it never solves. Both
    // ask first when the design changed since it was last opened or saved.
    bool openDesign(const QString& path);
    void openDesignFromChooser();
    bool designChangedSinceSaved() const;
    enum class SaveAnswer { Save, Discard, Cancel };
    // The dialogs, replaceable so that tests never wait for a user: the
    // file to open (empty when cancelled), and whether to save changes.
    std::function<QString()> chooseDesignToOpen;
    std::function<SaveAnswer()> askToSaveChanges;
    // Settings that other windows keep in the design file: the ones to
    // save, and those an opened file held, handed to whoever takes them.
    std::function<DesignSettings()> designSettings;
    std::function<void(const DesignSettings&)> openedDesignSettings;
    // The Rotor Performance window (the context menu's "Rotor Performance…",
    // Ctrl+R); made when first asked for. None before.
    void showPerformance();
    PerformanceWindow* performanceWindow() const { return performance_; }
    // The Blade Sections window (the context menu's "Blade Sections…",
    // Ctrl+B); made when first asked for. None before.
    void showSections();
    SectionsWindow* sectionsWindow() const { return sections_; }

public slots:
    void Command1_Click();
    void Command2_Click();
    void Option1_Click();
    void Option2_Click();
    void Option4_Click();
    void alpha_Change();
    void cl_Change();
    void Timer2_Timer();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildControls();
    QWidget* buildField(const ControlEntry& entry);
    QWidget* buildLabel(const ControlEntry& entry);
    QWidget* buildOption(const ControlEntry& entry);
    QWidget* buildPictureButton(const ControlEntry& entry);
    void dressControl(QWidget* widget, const ControlEntry& entry);
    void bindKeys();
    bool solveAndShow();
    void showDesignMenu(QWidget* under, QPoint globalPos);
    void switchUnits(UnitSystem target);
    void report(const Failure& failure);
    void showSheet();
    void showSelectedSystem();
    void markSenselessInputs();
    void describe(QLineEdit* edit);
    bool mayReplaceDesign();
    DesignSettings settingsToSave() const;
    // The windows that keep settings in the design file: the names theirs
    // start with, and theirs once the window is made.
    struct SettingsOwner {
        std::vector<std::string_view> prefixes;
        std::function<std::optional<DesignSettings>()> made;  // none while the window is not
        std::function<void(const DesignSettings&)> apply;
    };
    enum SettingsWindow : std::size_t { PerformanceSettings, SectionsSettings };  // their places below
    std::vector<SettingsOwner> settingsOwners() const;
    DesignSettings gatheredSettings() const;
    void handOutSettings(const DesignSettings& opened);
    // The rows of `settings` that settingsOwners()[owner] keeps.
    DesignSettings ownedSettings(const DesignSettings& settings, std::size_t owner) const;
    // Made now, a window is no change of the design: what the opened file
    // held, or the start values, count as saved as they were.
    void makeWithOpenedSettings(const std::function<void()>& make);
    void markSaved();
    QAction* openAction();
    // Shows a text from its first character, as a figure is read.
    static void showFromStart(QLineEdit* edit);

    DesignSheet sheet_;
    HelpAccess* help_;
    bool sharp_ = false;  // a double-density screen: pictures come from their @2x files
    // Decoded on a second thread while the controls are built.
    std::future<QImage> backgroundLoading_;
    QPixmap background_;
    std::array<QLineEdit*, kFieldCount> fields_{};
    std::array<QLabel*, kCaptionCount> labels_{};
    std::array<QAbstractButton*, kButtonCount> buttons_{};
    QButtonGroup* options_ = nullptr;  // ids are the UnitSystem values
    // While set, the controls are being made to show the sheet: their
    // changes are the sheet's own and must not be written back to it.
    bool showing_ = false;
    // Inputs marked after the last completed solve, with the rule each breaks.
    QHash<QLineEdit*, QString> marks_;
    QTimer* timer2_ = nullptr;
    bool inputEditedSinceSolve_ = false;  // the results may belong to other inputs
    DesignExport* export_ = nullptr;
    // The design as last opened or saved, the start design until then.
    DesignSheet savedSheet_;
    DesignSettings savedSettings_;
    // The settings of the design last opened, for the windows not made yet
    // and for names no window knows (kept as they were).
    DesignSettings openedSettings_;
    QAction* openAction_ = nullptr;
    PerformanceWindow* performance_ = nullptr;
    SectionsWindow* sections_ = nullptr;
};

}  // namespace tivora
