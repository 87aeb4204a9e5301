#pragma once

// The commands that take the design out of the window: copy it, save it as
// CSV, print the design sheet or save it as PDF, print the blade template
// tiled over pages or save it so as PDF, save it whole as SVG. The window makes this object the first time the user
// asks for one of them; nothing of it exists at start.

#include "carving_page.h"
#include "performance_sheet.h"
#include "sheet/design_file.h"
#include "sheet/design_sheet.h"

#include <QIODevice>
#include <QKeySequence>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QAction;
class QPainter;
class QWidget;

namespace tivora {

struct ShownDesign;
struct PerformanceSheet;

class DesignExport : public QObject {
    Q_OBJECT

public:
    enum class Command { Copy, SaveCsv, Print, SavePdf, PrintTemplate, SaveTemplatePdf, SaveSvg };
    // What to do when the results may belong to other inputs.
    enum class Answer { SolveFirst, ExportAsShown, Cancel };

    // The window's part: its sheet, whether an input was edited since the
    // last completed solve, and Solve! with its failure handling (true when
    // the solve completed).
    DesignExport(QWidget* window, const DesignSheet& sheet, std::function<bool()> inputEditedSinceSolve,
                 std::function<bool()> solve);
    ~DesignExport() override;

    // The command a key press asks for, if any; known without an object, so
    // shortcuts work before the first menu is made.
    static std::optional<Command> commandForKeys(const QKeySequence& keys);

    // The context menu's entries, in order, made on first use.
    QList<QAction*> actions();

    void run(Command command);

    // The dialogs, replaceable so that tests never wait for a user. A file
    // chooser returns the chosen path, or empty when the user cancelled.
    struct FileRequest {
        QString title;
        QString proposedPath;
        QString filter;
        QString suffix;
    };
    std::function<QString(const FileRequest&)> chooseFile;
    std::function<Answer()> askWhenStale;
    // The window's settings saved with the design, and its word that the
    // design is now saved.
    std::function<DesignSettings()> designSettings;
    std::function<void()> designSaved;
    // The rotor's performance when a window holds an analysis of it: the
    // design sheet's second page and the CSV's last rows.
    std::function<std::optional<PerformanceSheet>()> performanceSheet;
    // The carving table when the Blade Sections window holds one: a page of
    // the design sheet.
    std::function<std::optional<CarvingSheet>()> carvingSheet;

    // The file dialog the commands use unless told otherwise: the desktop's
    // own where it has one, else Qt's widget dialog, kept from writing its
    // state anywhere.
    static QString chooseFileInDialog(QWidget* parent, const FileRequest& request);

private:
    void copy(const ShownDesign& design);
    bool save(const FileRequest& request, const std::function<bool(QIODevice&)>& write);
    void print(const QString& dialogTitle, const QString& documentTitle, const std::function<void(QPainter&)>& draw);
    void tell(const QString& message);

    QWidget* window_;
    const DesignSheet& sheet_;
    std::function<bool()> inputEditedSinceSolve_;
    std::function<bool()> solve_;
    QList<QAction*> actions_;
};

}  // namespace tivora
