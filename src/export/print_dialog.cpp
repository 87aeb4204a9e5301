// Qt's print support is linked in: loading it at start costs the main window
// nothing measurable (bench/README.md). The printer and its dialog are made
// only when the user asks to print.

#include "print_dialog.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace tivora {

// 1 printed, 0 cancelled, -1 the printer could not be drawn on.
int printThroughDialog(QWidget* parent, const QString& dialogTitle, const QString& documentTitle,
                       const QPageSize& systemPaper, const std::function<void(QPainter&)>& draw)
{
    QPrinter printer(QPrinter::HighResolution);
    // The same title and creator as the PDF the program saves, also when
    // the user prints to a PDF file.
    printer.setDocName(documentTitle);
    printer.setCreator(QStringLiteral("Tivora"));
    // The printer's own paper where it has one, the system's otherwise.
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    const QPageSize printerPaper = defaultPrinter.isNull() ? QPageSize() : defaultPrinter.defaultPageSize();
    printer.setPageSize(printerPaper.isValid() ? printerPaper : systemPaper);
    printer.setFullPage(true);
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("printDialog"));
    dialog.setWindowTitle(dialogTitle);
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    QPainter painter;
    if (!painter.begin(&printer))
        return -1;
    draw(painter);
    return painter.end() ? 1 : -1;
}

}  // namespace tivora
