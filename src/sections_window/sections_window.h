#pragma once

// The Blade Sections window: the design as last solved, carved from a plank.
// The section (the main window's NACA four-digit airfoil or a coordinates
// file), its thickness along the blade, the trim of the planform for
// carving, the wood; the sections drawn in the plank, the carving table, the
// blank, the mass; and the 1:1 section gauges as PDF and the sections as SVG.
// Made the first time the user asks for it; one instance, beside the main
// window and closed with it.
//
// It computes nothing itself: the core (workshop/) carves, the export layer
// draws; this only reads the inputs and shows what they return.

#include "export/carving_page.h"
#include "export/section_drawing.h"
#include "sheet/design_file.h"
#include "sheet/design_sheet.h"
#include "workshop/carving.h"
#include "workshop/workshop_settings.h"

#include <QWidget>

#include <functional>
#include <optional>

class QCheckBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class QTimer;

namespace tivora {

class SectionsView;

class SectionsWindow : public QWidget {
    Q_OBJECT

public:
    SectionsWindow(QWidget* main, const DesignSheet& sheet, std::function<bool()> resultsStale);

    // The main window's design changed: the sections follow once the event
    // loop is free again.
    void designChanged();

    // Reads a coordinates file; on a problem the message names the line and
    // the section stays as it was.
    void loadCoordinates(const QString& path);

    // The inputs as the design file keeps them, and those of an opened design.
    DesignSettings settings() const;
    void applySettings(const DesignSettings& settings);

    // What is shown; none while the design is not solved.
    const std::optional<workshop::Carving>& carving() const { return carving_; }
    // The section of a coordinates file carved to; none: the main window's airfoil.
    const std::optional<workshop::Profile>& coordinates() const { return fileProfile_; }
    std::optional<CarvingSheet> carvingSheet() const;
    std::vector<SectionFigure> figures() const;

    // Writes the gauges or the sections to a file the user chooses.
    void saveGauges();
    void saveSvg();

    // Replaceable so that tests never wait for a user: a file to open, and
    // one to save (suffix without dot).
    std::function<QString(const QString& title)> chooseFileToOpen;
    std::function<QString(const QString& title, const QString& proposed, const QString& suffix)> chooseFileToSave;

signals:
    // The user changed an input (the trim among them), or a design's
    // settings were applied: what follows the trimmed blade follows it.
    void settingsChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum class Shown { Percent, Across, Density };
    struct Input {
        workshop::WorkshopInput which;
        Shown shown;
        QLineEdit* edit;
        QLabel* label;
        QString caption;
    };

    void build();
    QWidget* buildInputs();
    void addInput(QFormLayout* form, workshop::WorkshopInput which, const char* objectName, const QString& caption,
                  Shown shown);
    double siOf(workshop::WorkshopInput which) const;
    double shownValue(const Input& input) const;
    QString unitOf(Shown shown) const;
    int decimalsOf(Shown shown) const;
    void inputEdited(Input& input);
    void mark(Input& input, const QString& why);
    void showInputs();
    void recarve();
    void inputsChanged();
    void showCarving();
    void say(const QString& message);
    QString figure(double value, int decimals) const;
    workshop::Section section() const;
    QStringList notes() const;
    void copyTable();
    void placeBesideMain();

    QWidget* main_;
    const DesignSheet& sheet_;
    std::function<bool()> resultsStale_;
    workshop::WorkshopInputs inputs_;
    std::optional<workshop::Profile> fileProfile_;  // from a coordinates file; none: the main window's airfoil
    std::optional<workshop::Carving> carving_;
    std::optional<workshop::CarvingTable> table_;
    QString trimNote_;
    std::vector<Input> fields_;
    bool showing_ = false;
    UnitSystem shownSystem_ = UnitSystem::SI;

    QLabel* note_ = nullptr;
    QLabel* airfoil_ = nullptr;
    QRadioButton* ownThickness_ = nullptr;
    QRadioButton* rootToTip_ = nullptr;
    QCheckBox* cap_ = nullptr;
    QCheckBox* straight_ = nullptr;
    QSpinBox* straightFrom_ = nullptr;
    QSpinBox* straightTo_ = nullptr;
    QLabel* summary_ = nullptr;
    SectionsView* view_ = nullptr;
    QTableWidget* tableView_ = nullptr;
    QTimer* pending_ = nullptr;
};

}  // namespace tivora
