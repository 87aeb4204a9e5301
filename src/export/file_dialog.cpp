// The file dialogs of the export commands, and the folder they start in.

#include "design_export.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>

#include <unistd.h>

namespace tivora {

namespace {

// The folder of the last file chosen in this run; kept in memory only.
QString& lastFolder()
{
    static QString folder;
    return folder;
}

}  // namespace

// Qt's widget file dialog saves its history, last folder and layout in a
// QtProject settings file when it is destroyed, and nothing turns that off.
// Pointing the user settings at a folder inside the program's resources,
// which can never be written, keeps it from writing anything; the program
// keeps no settings of its own.
void DesignExport::keepDialogStateInMemory()
{
    static const bool done = [] {
        for (auto format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, QStringLiteral(":/no-settings"));
        return true;
    }();
    Q_UNUSED(done);
}

QString DesignExport::startFolder()
{
    if (!lastFolder().isEmpty() && QDir(lastFolder()).exists())
        return lastFolder();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents : QDir::homePath();
}

void DesignExport::rememberFolder(const QString& folder)
{
    lastFolder() = folder;
}

namespace {

// Qt's widget dialog greys out Save, without a word, while the name is
// longer than the folder's file system takes. This one keeps the button and
// says why when it is pressed. A desktop's own dialog is left to its ways.
class SaveFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        if (QLineEdit* name = nameField(); name && name->isVisible()) {
            const QFileInfo chosen(selectedFiles().value(0));
            const long longest = pathconf(QFile::encodeName(chosen.absolutePath()).constData(), _PC_NAME_MAX);
            const qsizetype length = QFile::encodeName(chosen.fileName()).size();
            if (!chosen.exists() && longest > 0 && length > longest) {
                QMessageBox box(QMessageBox::Warning, QStringLiteral("Tivora"),
                                DesignExport::tr("The name is too long for this folder: it takes %1 bytes, and the "
                                                 "folder's file system allows at most %2. Choose a shorter name.")
                                    .arg(length)
                                    .arg(longest),
                                QMessageBox::Ok, this);
                box.setObjectName(QStringLiteral("exportMessage"));
                box.exec();
                return;
            }
        }
        QFileDialog::accept();
    }

protected:
    void showEvent(QShowEvent* event) override
    {
        QFileDialog::showEvent(event);
        QLineEdit* name = nameField();
        auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        if (name && buttons && !watching_) {
            watching_ = true;
            // After the dialog's own update of the button, which this follows.
            connect(name, &QLineEdit::textChanged, this, [name, buttons] {
                for (QAbstractButton* button : buttons->buttons()) {
                    if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole && !name->text().isEmpty())
                        button->setEnabled(true);
                }
            });
        }
    }

private:
    // Only Qt's widget dialog has it.
    QLineEdit* nameField() const { return findChild<QLineEdit*>(QStringLiteral("fileNameEdit")); }

    bool watching_ = false;
};

}  // namespace

QString DesignExport::chooseFileInDialog(QWidget* parent, const FileRequest& request)
{
    keepDialogStateInMemory();  // also for callers without a DesignExport
    SaveFileDialog dialog(parent, request.title);
    dialog.setObjectName(QStringLiteral("exportFileDialog"));
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
