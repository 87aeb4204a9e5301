#include "design_export.h"

#include "blade_template.h"
#include "design_file_io.h"
#include "design_page.h"
#include "document_titles.h"
#include "file_dialog.h"
#include "print_dialog.h"
#include "saved_file.h"
#include "shown_design.h"
#include "workshop/workshop_settings.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSize>
#include <QPainter>
#include <QPushButton>

namespace tivora {

namespace {

struct CommandEntry {
    DesignExport::Command command;
    const char* text;
    QKeySequence keys;
};

const std::vector<CommandEntry>& commandEntries()
{
    using enum DesignExport::Command;
    static const std::vector<CommandEntry> entries = {
        {Copy, "Copy Design", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)},
        {SaveCsv, "Save Design…", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {Print, "Print Design Sheet…", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {SavePdf, "Save Design Sheet as PDF…", {}},
        {PrintTemplate, "Print Blade Template…", {}},
        {SaveTemplatePdf, "Save Blade Template as PDF…", {}},
        {SaveSvg, "Save Blade Template as SVG…", {}},
    };
    return entries;
}

// More pages than a builder would tape together: a drawing this large wants
// a plotter and the SVG.
constexpr int kMostTemplatePages = 300;

}  // namespace

DesignExport::DesignExport(QWidget* window, const DesignSheet& sheet, std::function<bool()> inputEditedSinceSolve,
                           std::function<bool()> solve)
    : QObject(window), window_(window), sheet_(sheet), inputEditedSinceSolve_(std::move(inputEditedSinceSolve)),
      solve_(std::move(solve))
{
    // The print dialog's "..." button opens a file dialog of its own.
    keepFileDialogStateInMemory();
    chooseFile = [this](const FileRequest& request) { return chooseFileInDialog(window_, request); };
    askWhenStale = [this] {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Tivora"),
                        tr("The results may not belong to the inputs: an input was changed since the last "
                           "Solve!, or the station table is empty."),
                        QMessageBox::NoButton, window_);
        box.setObjectName(QStringLiteral("staleResultsQuestion"));
        box.setInformativeText(tr("Solve now and export the new results, or export the figures as they are shown?"));
        QPushButton* solveFirst = box.addButton(tr("&Solve Now and Export"), QMessageBox::AcceptRole);
        QPushButton* asShown = box.addButton(tr("&Export as Shown"), QMessageBox::ActionRole);
        box.addButton(QMessageBox::Cancel);
        solveFirst->setObjectName(QStringLiteral("solveFirst"));
        asShown->setObjectName(QStringLiteral("exportAsShown"));
        box.setDefaultButton(solveFirst);
        box.exec();
        if (box.clickedButton() == solveFirst)
            return Answer::SolveFirst;
        return box.clickedButton() == asShown ? Answer::ExportAsShown : Answer::Cancel;
    };
}

DesignExport::~DesignExport() = default;

std::optional<DesignExport::Command> DesignExport::commandForKeys(const QKeySequence& keys)
{
    for (const auto& entry : commandEntries()) {
        if (!entry.keys.isEmpty() && entry.keys == keys)
            return entry.command;
    }
    return std::nullopt;
}

QList<QAction*> DesignExport::actions()
{
    if (actions_.isEmpty()) {
        for (const auto& entry : commandEntries()) {
            auto* action = new QAction(tr(entry.text), this);
            const QString name = QString::fromUtf8(entry.text).remove(u'…');
            action->setObjectName(name);
            action->setShortcut(entry.keys);
            action->setShortcutVisibleInContextMenu(true);
            // The window reads the keys itself, so that they work before
            // this menu exists; the menu only shows them.
            action->setShortcutContext(Qt::WidgetShortcut);
            connect(action, &QAction::triggered, this, [this, command = entry.command] { run(command); });
            actions_ << action;
        }
    }
    return actions_;
}

void DesignExport::run(Command command)
{
    bool unsolved = false;
    if (resultsMayBeStale(sheet_, inputEditedSinceSolve_())) {
        switch (askWhenStale()) {
        case Answer::Cancel:
            return;
        case Answer::SolveFirst:
            if (!solve_())
                return;  // Solve! has said what went wrong
            break;
        case Answer::ExportAsShown:
            unsolved = true;
            break;
        }
    }
    const DesignSettings settings = designSettings ? designSettings() : DesignSettings{};
    // The drawings show the blade as it will be cut.
    const ShownDesign design = shownDesign(sheet_, unsolved, workshop::trimFrom(settings));
    const std::optional<PerformanceSheet> performance = performanceSheet ? performanceSheet() : std::nullopt;
    const std::optional<CarvingSheet> carving = carvingSheet ? carvingSheet() : std::nullopt;
    const SheetExtras extras{performance ? &*performance : nullptr, carving ? &*carving : nullptr};
    const QString stem = QDir(startFolder()).filePath(designFileStem(design));
    const bool printing = command == Command::Print || command == Command::PrintTemplate;
    const QString nothingDone = printing ? tr("Nothing was printed.") : tr("Nothing was written.");
    if (command != Command::Copy && command != Command::SaveCsv) {
        // A drawing of a table that is no blade would be no use, or broken.
        if (const QString problem = bladeProblem(design); !problem.isEmpty()) {
            tell(tr("The station table cannot be drawn as a blade. %1").arg(problem) + QStringLiteral("\n\n") +
                 nothingDone);
            return;
        }
    }
    const bool tiled = command == Command::PrintTemplate || command == Command::SaveTemplatePdf;
    const TemplateDrawing blade = tiled ? bladeTemplate(design) : TemplateDrawing();
    // Counted on the system's paper; a printer's may differ a little.
    if (const int pages = tiled ? tileLayout(blade.size, systemPaper().size(QPageSize::Millimeter)).pages() : 0;
        pages > kMostTemplatePages) {
        tell(tr("The template would take %1 pages. Save it as SVG for a plotter instead.").arg(pages) +
             QStringLiteral("\n\n") + nothingDone);
        return;
    }
    switch (command) {
    case Command::Copy:
        copy(design);
        break;
    case Command::SaveCsv: {
        const QByteArray csv =
            designFileBytes(sheet_, settings, design.unsolved, performance ? &*performance : nullptr);
        if (save({tr("Save Design"), stem + QStringLiteral(".csv"), tr("CSV files (*.csv)"), QStringLiteral("csv")},
                 [&csv](QIODevice& file) { return file.write(csv) == csv.size(); }) &&
            designSaved)
            designSaved();
        break;
    }
    case Command::Print:
        print(tr("Print Design Sheet"), designSheetTitle(),
              [&](QPainter& painter) { drawDesignSheet(painter, design, extras); });
        break;
    case Command::SavePdf:
        save({tr("Save Design Sheet as PDF"), stem + QStringLiteral(".pdf"), tr("PDF files (*.pdf)"),
              QStringLiteral("pdf")},
             [&](QIODevice& file) {
                 return writeDesignSheetPdf(design, systemPaper(), designSheetTitle(), &file, extras);
             });
        break;
    case Command::PrintTemplate:
        print(tr("Print Blade Template"), templateTitle(),
              [&blade](QPainter& painter) { drawTiledTemplate(painter, blade); });
        break;
    case Command::SaveTemplatePdf:
        save({tr("Save Blade Template as PDF"), stem + QStringLiteral("-template.pdf"), tr("PDF files (*.pdf)"),
              QStringLiteral("pdf")},
             [&](QIODevice& file) { return writeTiledTemplatePdf(blade, systemPaper(), templateTitle(), &file); });
        break;
    case Command::SaveSvg: {
        const QByteArray svg = bladeTemplateSvg(design);
        save({tr("Save Blade Template as SVG"), stem + QStringLiteral("-template.svg"), tr("SVG files (*.svg)"),
              QStringLiteral("svg")},
             [&svg](QIODevice& file) { return file.write(svg) == svg.size(); });
        break;
    }
    }
}

void DesignExport::copy(const ShownDesign& design)
{
    auto* data = new QMimeData;
    data->setText(designAsText(design));
    data->setHtml(designAsHtml(design));
    QGuiApplication::clipboard()->setMimeData(data);
}

bool DesignExport::save(const FileRequest& request, const std::function<bool(QIODevice&)>& write)
{
    const QString path = chooseFile(request);
    if (path.isEmpty())
        return false;
    rememberFolderOf(path);
    const QString reason = writeWholeFile(path, write);
    if (reason.isEmpty())
        return true;
    tell(tr("Could not save \"%1\": %2.\n\nNo file was written.").arg(QDir::toNativeSeparators(path), reason));
    return false;
}

void DesignExport::print(const QString& dialogTitle, const QString& documentTitle,
                         const std::function<void(QPainter&)>& draw)
{
    if (printThroughDialog(window_, dialogTitle, documentTitle, systemPaper(), draw) < 0)
        tell(tr("The printer could not be drawn on. Nothing was printed."));
}

void DesignExport::tell(const QString& message)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tivora"), message, QMessageBox::Ok, window_);
    box.setObjectName(QStringLiteral("exportMessage"));
    box.exec();
}

QString DesignExport::chooseFileInDialog(QWidget* parent, const FileRequest& request)
{
    return chooseFileToSave(parent, request.title, request.proposedPath, request.filter, request.suffix);
}

}  // namespace tivora
