// Opening and saving the design file, dropping one on the window, and the
// question before a changed design is closed or replaced.

#include "export/design_export.h"
#include "main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QStandardPaths>

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
    const QFileInfo info(path);
    QFile file(path);
    if (info.isDir()) {
        tellCannotOpen(this, path, tr("it is a folder"));
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        tellCannotOpen(this, path, file.errorString());
        return false;
    }
    // Never more than one byte beyond the limit, whatever the file claims
    // to be (a device, a pipe, a file still growing).
    const QByteArray bytes =
        file.size() > qint64(kLargestDesignFile) ? QByteArray() : file.read(kLargestDesignFile + 1);
    if (file.size() > qint64(kLargestDesignFile) || bytes.size() > qint64(kLargestDesignFile)) {
        tellCannotOpen(this, path, tr("it is larger than a design file can be (1 MB)"));
        return false;
    }
    if (file.error() != QFileDevice::NoError) {
        tellCannotOpen(this, path, file.errorString());
        return false;
    }
    auto read = readDesignFile(std::string_view(bytes.constData(), std::size_t(bytes.size())), userNumberFormat());
    if (const auto* failure = std::get_if<DesignFileFailure>(&read)) {
        tellCannotOpen(this, path,
                       tr("line %1: expected %2").arg(failure->line).arg(QString::fromStdString(failure->expected)));
        return false;
    }
    DesignFile& design = std::get<DesignFile>(read);
    DesignExport::rememberFolder(info.absolutePath());
    sheet_ = std::move(design.sheet);
    showSheet();
    markSenselessInputs();
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
    QString path;
    if (chooseDesignToOpen) {
        path = chooseDesignToOpen();
    } else {
        // Made first: it keeps Qt's file dialogs from writing their state.
        designExport();
        QFileDialog dialog(this, tr("Open Design"));
        dialog.setObjectName(QStringLiteral("openDesignDialog"));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters({tr("CSV files (*.csv)"), tr("All files (*)")});
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        dialog.setDirectory(QDir(documents).exists() ? documents : QDir::homePath());
        if (dialog.exec() == QDialog::Accepted)
            path = dialog.selectedFiles().value(0);
    }
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
