#pragma once

#include <QPageSize>
#include <QString>

#include <functional>

class QPainter;
class QWidget;

namespace tivora {

// Asks for a printer in the platform's print dialog and draws on it, on
// the printer's own paper where it has one and `systemPaper` otherwise; the
// job carries `documentTitle` as the saved PDFs do. `draw` may start further
// pages with QPagedPaintDevice::newPage(). 1 printed, 0 cancelled, -1 the
// printer could not be drawn on.
int printThroughDialog(QWidget* parent, const QString& dialogTitle, const QString& documentTitle,
                       const QPageSize& systemPaper, const std::function<void(QPainter&)>& draw);

}  // namespace tivora
