#include "design_file_io.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace tivora {

QByteArray designFileBytes(const DesignSheet& sheet, const DesignSettings& settings, bool unsolved,
                           const PerformanceSheet* performance)
{
    QByteArray bytes = QByteArray::fromStdString(writeDesignFile(sheet, settings, unsolved));
    if (performance)
        bytes += performanceCsvRows(*performance, sheet.numberFormat());
    return bytes;
}

std::variant<DesignFile, QString> readDesignFileAt(const QString& path, const NumberFormat& format)
{
    const auto tr = [](const char* text) { return QCoreApplication::translate("Form1", text); };
    if (QFileInfo(path).isDir())
        return tr("it is a folder");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    // Never more than one byte beyond the limit, whatever the file claims
    // to be (a device, a pipe, a file still growing).
    const QByteArray bytes =
        file.size() > qint64(kLargestDesignFile) ? QByteArray() : file.read(kLargestDesignFile + 1);
    if (file.size() > qint64(kLargestDesignFile) || bytes.size() > qint64(kLargestDesignFile))
        return tr("it is larger than a design file can be (1 MB)");
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    auto read = readDesignFile(std::string_view(bytes.constData(), std::size_t(bytes.size())), format);
    if (const auto* failure = std::get_if<DesignFileFailure>(&read))
        return tr("line %1: expected %2").arg(failure->line).arg(QString::fromStdString(failure->expected));
    return std::move(std::get<DesignFile>(read));
}

}  // namespace tivora
