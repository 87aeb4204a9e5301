// The print dialog lives in a module of its own: Qt's print support is
// loaded only when the user first asks to print, not at every start.

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <functional>

// 1 printed, 0 cancelled, -1 the printer could not be drawn on. `draw` may
// start further pages with QPagedPaintDevice::newPage().
extern "C" Q_DECL_EXPORT int tivoraPrint(QWidget* parent, const QString& dialogTitle, const QString& documentTitle,
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
