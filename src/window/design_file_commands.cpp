// Opening and saving the design file, dropping one on the window, and the
// question before a changed design is closed or replaced.

#include "export/design_export.h"
#include "export/design_file_io.h"
#include "export/file_dialog.h"
#include "main_window.h"
#include "performance_window/performance_window.h"
#include "sections_window/sections_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>

#include <algorithm>
#include <variant>

namespace tivora {

namespace {

// The one local file a drag carries, if it carries exactly one.
QString droppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().front().isLocalFile())
        return {};
    return data->urls().front().toLocalFile();
}

void tellCannotOpen(QWidget* parent, const QString& path, const QString& reason)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tivora"),
                    QObject::tr("Could not open \"%1\": %2.\n\nThe design was not changed.")
                        .arg(QDir::toNativeSeparators(path), reason),
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("openFailure"));
    box.exec();
}

}  // namespace

DesignSettings Form1::settingsToSave() const
{
    return designSettings ? designSettings() : DesignSettings{};
}

std::vector<Form1::SettingsOwner> Form1::settingsOwners() const
{
    return {
        {{"site.", "airfoil.", "running.", "alternator.", "limits."},
         [this] { return performance_ ? std::optional(performance_->settings()) : std::nullopt; },
         [this](const DesignSettings& settings) {
             if (performance_)
                 performance_->applySettings(settings);
         }},
        {{workshop::kSettingsPrefix},
         [this] { return sections_ ? std::optional(sections_->settings()) : std::nullopt; },
         [this](const DesignSettings& settings) {
             if (sections_)
                 sections_->applySettings(settings);
         }},
    };
}

namespace {

bool ownedBy(const std::string& name, const std::vector<std::string_view>& prefixes)
{
    return std::any_of(prefixes.begin(), prefixes.end(),
                       [&name](std::string_view prefix) { return name.starts_with(prefix); });
}

DesignSettings ownedRows(const DesignSettings& settings, const std::vector<std::string_view>& prefixes)
{
    DesignSettings rows;
    for (const auto& row : settings) {
        if (ownedBy(row.first, prefixes))
            rows.push_back(row);
    }
    return rows;
}

}  // namespace

// Each window's own, in the order of the windows, then the rows of the
// opened design that no window writes, as they were.
DesignSettings Form1::gatheredSettings() const
{
    DesignSettings all;
    std::vector<std::string_view> owned;
    for (const SettingsOwner& owner : settingsOwners()) {
        const std::optional<DesignSettings> made = owner.made();
        const DesignSettings rows = made ? *made : ownedRows(openedSettings_, owner.prefixes);
        all.insert(all.end(), rows.begin(), rows.end());
        owned.insert(owned.end(), owner.prefixes.begin(), owner.prefixes.end());
    }
    for (const auto& row : openedSettings_) {
        const bool written =
            std::any_of(all.begin(), all.end(), [&row](const auto& r) { return r.first == row.first; });
        if (!written && !ownedBy(row.first, owned))
            all.push_back(row);
    }
    return all;
}

void Form1::handOutSettings(const DesignSettings& opened)
{
    openedSettings_ = opened;
    for (const SettingsOwner& owner : settingsOwners())
        owner.apply(ownedRows(opened, owner.prefixes));
}

DesignSettings Form1::ownedSettings(const DesignSettings& settings, std::size_t owner) const
{
    return ownedRows(settings, settingsOwners().at(owner).prefixes);
}

void Form1::makeWithOpenedSettings(const std::function<void()>& make)
{
    // Judged before the window exists: once it does, its start values
    // stand in the settings to save.
    const bool unchanged = settingsToSave() == savedSettings_;
    make();
    if (unchanged)
        savedSettings_ = settingsToSave();
}

void Form1::markSaved()
{
    savedSheet_ = sheet_;
    savedSettings_ = settingsToSave();
}

bool Form1::designChangedSinceSaved() const
{
    return !(sheet_ == savedSheet_) || settingsToSave() != savedSettings_;
}

// Save, discard or keep the changed design; true when it may go.
bool Form1::mayReplaceDesign()
{
    if (!designChangedSinceSaved())
        return true;
    const SaveAnswer answer = askToSaveChanges ? askToSaveChanges() : [this] {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Tivora"),
                        tr("The design was changed since it was last opened or saved."),
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
        box.setObjectName(QStringLiteral("unsavedChangesQuestion"));
        box.setInformativeText(tr("Save the changes before they are lost?"));
        box.setDefaultButton(QMessageBox::Save);
        switch (box.exec()) {
        case QMessageBox::Save:
            return SaveAnswer::Save;
        case QMessageBox::Discard:
            return SaveAnswer::Discard;
        default:
            return SaveAnswer::Cancel;
        }
    }();
    switch (answer) {
    case SaveAnswer::Discard:
        return true;
    case SaveAnswer::Cancel:
        return false;
    case SaveAnswer::Save:
        designExport().run(DesignExport::Command::SaveCsv);
        // A save cancelled or failed has said so, and keeps the design.
        return !designChangedSinceSaved();
    }
    return false;
}

bool Form1::openDesign(const QString& path)
{
    auto read = readDesignFileAt(path, userNumberFormat());
    if (const auto* reason = std::get_if<QString>(&read)) {
        tellCannotOpen(this, path, *reason);
        return false;
    }
    DesignFile& design = std::get<DesignFile>(read);
    rememberFolderOf(path);
    sheet_ = std::move(design.sheet);
    showSheet();
    markSenselessInputs();
    // Saved as shown, its results may not belong to its inputs: the next
    // export asks again and carries the note.
    inputEditedSinceSolve_ = design.unsolved;
    if (openedDesignSettings)
        openedDesignSettings(design.settings);
    savedSheet_ = sheet_;
    savedSettings_ = designSettings ? settingsToSave() : design.settings;
    return true;
}

void Form1::openDesignFromChooser()
{
    if (!mayReplaceDesign())
        return;
    const QString path = chooseDesignToOpen ? chooseDesignToOpen() : chooseDesignFileToOpen(this);
    if (!path.isEmpty())
        openDesign(path);
}

QAction* Form1::openAction()
{
    if (!openAction_) {
        openAction_ = new QAction(tr("Open Design…"), this);
        openAction_->setObjectName(QStringLiteral("Open Design"));
        openAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
        openAction_->setShortcutVisibleInContextMenu(true);
        openAction_->setShortcutContext(Qt::WidgetShortcut);  // read in keyPressEvent
        connect(openAction_, &QAction::triggered, this, &Form1::openDesignFromChooser);
    }
    return openAction_;
}

void Form1::closeEvent(QCloseEvent* event)
{
    if (mayReplaceDesign())
        event->accept();
    else
        event->ignore();
}

void Form1::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent* event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    if (mayReplaceDesign())
        openDesign(path);
}

}  // namespace tivora
