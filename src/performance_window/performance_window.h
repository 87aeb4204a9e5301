#pragma once

// The Rotor Performance window: the analysis of the design as last solved
// in the main window, at a site the user describes, drawn live as charts
// and a table of the power curve. Made the first time the user asks for it;
// one instance, beside the main window and closed with it.
//
// By job: InputForm holds the inputs and shows them; the core's `analyse`
// makes every figure; performance_charts draws the charts from the result,
// performance_report writes its figures and rows; problem_words words what
// went wrong. This class joins them and says what is true at the top.

#include "export/performance_sheet.h"
#include "performance/analysis.h"
#include "sheet/design_file.h"
#include "sheet/design_sheet.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QTabWidget;
class QTableWidget;
class QTimer;

namespace tivora {

namespace chart {
class ChartView;
}
class AlternatorPage;
class InputForm;

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
    // message says why and the analysis stays as it was.
    void loadPolar(const QString& path);
    void loadMeasuredCurve(const QString& path);

    // The analysis shown, for the design sheet and the CSV; none while none is shown.
    std::optional<PerformanceSheet> exportSheet() const;

    // The inputs as the design file keeps them, and those of an opened
    // design (what it does not name at its default).
    DesignSettings settings() const;
    void applySettings(const DesignSettings& settings);

    // The open dialog, replaceable so that tests never wait for a user, and
    // the folder it starts in: the design's.
    std::function<QString(const QString& title)> chooseFile;
    std::function<QString()> designFolder;
    // The blade as the Blade Sections window carves it (its trim, wood and
    // section); none: as solved, in spruce.
    std::function<performance::AnalysisInputs::Carved()> carvedBlade;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void build();
    void analyse();
    // The form's inputs with the blade as carved.
    performance::AnalysisInputs inputs() const;
    void showAnalysis(const performance::Analysis& analysis);
    void showNothing(const QString& why);
    void say(const QString& message);
    void loadFile(performance::InputId input, const QString& path);
    void copyTable();
    void placeBesideMain();

    QWidget* main_;
    const DesignSheet& sheet_;
    std::function<bool()> resultsStale_;
    std::optional<PerformanceSheet> report_;  // of the analysis shown, while it is current

    InputForm* form_ = nullptr;
    QLabel* note_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* limits_ = nullptr;    // what limits the machine, at a glance
    QLabel* trimCost_ = nullptr;  // what the trim for carving costs, when there is one
    QTabWidget* tabs_ = nullptr;
    std::vector<chart::ChartView*> charts_;
    QTableWidget* table_ = nullptr;
    AlternatorPage* alternatorPage_ = nullptr;
    QTimer* pending_ = nullptr;
};

}  // namespace tivora
