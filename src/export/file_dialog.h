#pragma once

// The file dialogs of the design's commands: the desktop's own where it has
// one (GTK, KDE or the portal, through Qt's platform theme), else Qt's widget
// dialog, which is kept from writing its state anywhere.

#include <QString>

class QWidget;

namespace tivora {

// Qt's widget file dialog saves its history, last folder and layout in a
// QtProject settings file when it is destroyed; after this call it cannot.
// Also for the print dialog, whose "..." button opens a file dialog.
void keepFileDialogStateInMemory();

// Where the next save is proposed: the folder of the last file chosen in
// this run, at first the documents folder. Kept in memory only.
QString startFolder();
void rememberFolderOf(const QString& chosenPath);

// The path to save to, or empty when the user cancelled. `proposedPath`
// names the folder and the file first shown.
QString chooseFileToSave(QWidget* parent, const QString& title, const QString& proposedPath, const QString& filter,
                         const QString& suffix);

// A design file to open, from the documents folder; empty when cancelled.
QString chooseDesignFileToOpen(QWidget* parent);

}  // namespace tivora
