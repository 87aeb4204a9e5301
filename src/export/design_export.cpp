#include "design_export.h"

#include "blade_template.h"
#include "design_page.h"
#include "print_dialog.h"
#include "shown_design.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSize>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

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
        {SaveCsv, "Save Design as CSV…", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {Print, "Print Design Sheet…", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {SavePdf, "Save Design Sheet as PDF…", {}},
        {SaveSvg, "Save Blade Template as SVG…", {}},
    };
    return entries;
}

// Qt's widget file dialog saves its history, last folder and layout in a
// QtProject settings file when it is destroyed, and nothing turns that off.
// Pointing the user settings at a folder inside the program's resources,
// which can never be written, keeps it from writing anything; the program
// keeps no settings of its own.
void keepFileDialogStateInMemory()
{
    static const bool done = [] {
        for (auto format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, QStringLiteral(":/no-settings"));
        return true;
    }();
    Q_UNUSED(done);
}

QString documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents : QDir::homePath();
}

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
    const ShownDesign design = shownDesign(sheet_, unsolved);
    const QString stem = QDir(documentsFolder()).filePath(designFileStem(design));
    const QLocale locale;
    switch (command) {
    case Command::Copy:
        copy(design);
        break;
    case Command::SaveCsv:
        save({tr("Save Design as CSV"), stem + QStringLiteral(".csv"), tr("CSV files (*.csv)"), QStringLiteral("csv")},
             [&design](QIODevice& file) { return file.write(designAsCsv(design)) >= 0; });
        break;
    case Command::Print:
        printSheet(design);
        break;
    case Command::SavePdf:
        save({tr("Save Design Sheet as PDF"), stem + QStringLiteral(".pdf"), tr("PDF files (*.pdf)"),
              QStringLiteral("pdf")},
             [&](QIODevice& file) { return writeDesignSheetPdf(design, locale, &file); });
        break;
    case Command::SaveSvg: {
        const QByteArray svg = bladeTemplateSvg(design);
        if (svg.isEmpty()) {
            tell(tr("The station table holds no blade to draw. Solve the design first."));
            return;
        }
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

void DesignExport::save(const FileRequest& request, const std::function<bool(QIODevice&)>& write)
{
    const QString path = chooseFile(request);
    if (path.isEmpty())
        return;
    // Written whole or not at all: QSaveFile writes beside the target and
    // renames on commit; on any failure the target is left as it was.
    QSaveFile file(path);
    bool written = file.open(QIODevice::WriteOnly) && write(file);
    written = written && file.commit();
    if (!written) {
        QString reason = file.errorString();
        if (reason.isEmpty() || reason == u"Unknown error")
            reason = tr("the file could not be written");
        tell(tr("Could not save \"%1\": %2.\n\nNo file was written.").arg(QDir::toNativeSeparators(path), reason));
    }
}

void DesignExport::printSheet(const ShownDesign& design)
{
    const int result = printThroughDialog(window_, designFileStem(design), pageSizeFor(QLocale()),
                                          [&design](QPainter& painter) { drawDesignSheet(painter, design); });
    if (result < 0)
        tell(tr("The design sheet could not be printed."));
}

void DesignExport::tell(const QString& message)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tivora"), message, QMessageBox::Ok, window_);
    box.setObjectName(QStringLiteral("exportMessage"));
    box.exec();
}

QString DesignExport::chooseFileInDialog(QWidget* parent, const FileRequest& request)
{
    keepFileDialogStateInMemory();  // also for callers without a DesignExport
    QFileDialog dialog(parent, request.title);
    dialog.setObjectName(QStringLiteral("exportFileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.suffix);
    const QFileInfo proposed(request.proposedPath);
    dialog.setDirectory(proposed.absolutePath());
    dialog.selectFile(proposed.fileName());
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

}  // namespace tivora
