#include "file_dialog.h"

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

QString documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents : QDir::homePath();
}

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
                                QCoreApplication::translate("DesignExport",
                                                            "The name is too long for this folder: it takes %1 bytes, "
                                                            "and the folder's file system allows at most %2. Choose a "
                                                            "shorter name.")
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

// Pointing the user settings at a folder inside the program's resources,
// which can never be written, keeps Qt's widget dialog from writing anything;
// the program keeps no settings of its own.
void keepFileDialogStateInMemory()
{
    static const bool done = [] {
        for (auto format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, QStringLiteral(":/no-settings"));
        return true;
    }();
    Q_UNUSED(done);
}

QString startFolder()
{
    if (!lastFolder().isEmpty() && QDir(lastFolder()).exists())
        return lastFolder();
    return documentsFolder();
}

void rememberFolderOf(const QString& chosenPath)
{
    lastFolder() = QFileInfo(chosenPath).absolutePath();
}

QString chooseFileToSave(QWidget* parent, const QString& title, const QString& proposedPath, const QString& filter,
                         const QString& suffix)
{
    keepFileDialogStateInMemory();
    SaveFileDialog dialog(parent, title);
    dialog.setObjectName(QStringLiteral("exportFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    const QFileInfo proposed(proposedPath);
    dialog.setDirectory(proposed.absolutePath());
    dialog.selectFile(proposed.fileName());
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

QString chooseDesignFileToOpen(QWidget* parent)
{
    keepFileDialogStateInMemory();
    QFileDialog dialog(parent, QCoreApplication::translate("Form1", "Open Design"));
    dialog.setObjectName(QStringLiteral("openDesignDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QCoreApplication::translate("Form1", "CSV files (*.csv)"),
                           QCoreApplication::translate("Form1", "All files (*)")});
    dialog.setDirectory(documentsFolder());
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

}  // namespace tivora
