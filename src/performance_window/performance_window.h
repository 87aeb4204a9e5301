#pragma once

// The Rotor Performance window: the analysis of the design as last solved
// in the main window, at a site the user describes, drawn live as three
// charts and a table of the power curve. Made the first time the user asks
// for it; one instance, beside the main window and closed with it.
//
// It computes nothing itself: the inputs are read and converted, and the
// analysis made, by the core (performance/rotor_performance.h); this only
// shows what the core returns.

#include "export/performance_sheet.h"
#include "performance/rotor_performance.h"
#include "sheet/design_file.h"
#include "sheet/design_sheet.h"

#include <QHash>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QAbstractButton;
class QFormLayout;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableWidget;
class QTimer;

namespace tivora {

namespace chart {
class ChartView;
}

class PerformanceWindow : public QWidget {
    Q_OBJECT

public:
    // The main window's sheet, and whether its results may belong to other
    // inputs. `main` is the window this one sits beside and closes with.
    PerformanceWindow(QWidget* main, const DesignSheet& sheet, std::function<bool()> resultsStale);

    // The main window's design changed (a solve, a unit switch, an edit):
    // the analysis follows once the event loop is free again.
    void designChanged();

    // Reads a polar or a measured power curve from a file; on a problem the
    // message says why and the previous analysis stays.
    void loadPolar(const QString& path);
    void loadMeasuredCurve(const QString& path);

    // The analysis shown, for the design sheet and the CSV; none while none is shown.
    std::optional<PerformanceSheet> exportSheet() const;

    // The inputs as the design file keeps them, and the inputs of an opened
    // design (those it does not name at their start values).
    DesignSettings settings() const;
    void applySettings(const DesignSettings& settings);

    // Replaceable so that tests never wait for a user.
    std::function<QString(const QString& title)> chooseFile;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Input {
        performance::PerformanceInput which;
        std::optional<performance::SiteQuantity> quantity;  // converted with the units in force
        QLineEdit* edit;
        QLabel* label;
        QString caption;  // without unit
        QString fixedUnit;
        double* value;  // in SI, in inputs_
        int decimals;
    };

    void build();
    QLineEdit* addInput(QFormLayout* form, performance::PerformanceInput which, const QString& objectName,
                        const QString& caption, std::optional<performance::SiteQuantity> quantity,
                        const QString& fixedUnit, double* value, int decimals);
    void inputEdited(Input& input);
    void showInputs();
    void mark(Input& input, const QString& why);
    void analyse();
    void showAnalysis(const performance::RotorPerformance& result);
    void say(const QString& message);
    QString figure(double value, int decimals) const;
    QString speedUnit() const;
    double shownSpeed(double metresPerSecond) const;
    std::optional<std::string> readFile(const QString& path);
    void copyTable();
    void placeBesideMain();

    QWidget* main_;
    const DesignSheet& sheet_;
    std::function<bool()> resultsStale_;
    performance::PerformanceInputs inputs_;
    double ratedPower_ = 0;
    bool ratedPowerTyped_ = false;
    QString polarName_;
    QString measuredName_;
    std::vector<Input> fields_;
    bool showing_ = false;
    UnitSystem shownSystem_ = UnitSystem::SI;
    std::optional<performance::RotorPerformance> shown_;
    bool current_ = false;  // shown_ is of the design and inputs now in force

    QLabel* note_ = nullptr;
    QLabel* density_ = nullptr;
    QLabel* polarLabel_ = nullptr;
    QAbstractButton* simpleAirfoil_ = nullptr;
    QRadioButton* held_ = nullptr;
    QRadioButton* alternator_ = nullptr;
    QLabel* measuredLabel_ = nullptr;
    QLabel* summary_ = nullptr;
    chart::ChartView* cpChart_ = nullptr;
    chart::ChartView* powerChart_ = nullptr;
    chart::ChartView* matchingChart_ = nullptr;
    QTableWidget* table_ = nullptr;
    QTimer* pending_ = nullptr;
};

}  // namespace tivora
