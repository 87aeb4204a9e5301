#pragma once

#include <QPageSize>
#include <QString>

#include <functional>

class QPainter;
class QWidget;

namespace tivora {

// Asks for a printer in the platform's print dialog and draws on it.
// 1 printed, 0 cancelled, -1 the printer could not be drawn on.
int printThroughDialog(QWidget* parent, const QString& documentName, const QPageSize& pageSize,
                       const std::function<void(QPainter&)>& draw);

}  // namespace tivora
