// Qt's print support is linked in: loading it at start costs the main window
// nothing measurable (bench/README.md). The printer and its dialog are made
// only when the user asks to print.

#include "print_dialog.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace tivora {

int printThroughDialog(QWidget* parent, const QString& documentName, const QPageSize& pageSize,
                       const std::function<void(QPainter&)>& draw)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    printer.setPageSize(pageSize);
    printer.setFullPage(true);
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("printDialog"));
    dialog.setWindowTitle(QStringLiteral("Print Design Sheet"));
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    QPainter painter;
    if (!painter.begin(&printer))
        return -1;
    draw(painter);
    return painter.end() ? 1 : -1;
}

}  // namespace tivora
