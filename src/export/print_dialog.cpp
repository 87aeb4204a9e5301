// The print dialog lives in a module of its own: Qt's print support is
// loaded only when the user first asks to print, not at every start.

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <functional>

// 1 printed, 0 cancelled, -1 the printer could not be drawn on.
extern "C" Q_DECL_EXPORT int tivoraPrint(QWidget* parent, const QString& documentName, const QPageSize& pageSize,
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
