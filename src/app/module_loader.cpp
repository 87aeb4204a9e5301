#include "module_loader.h"

#include <QCoreApplication>
#include <QPluginLoader>
#include <QStringList>

namespace tivora {

QStringList moduleFolders()
{
    const QString program = QCoreApplication::applicationDirPath();
    return {program, program + QStringLiteral("/" TIVORA_MODULE_DIR_FROM_PROGRAM)};
}

QObject* loadModule(const QString& fileName, QString& error, const QStringList& folders)
{
    QStringList errors;
    for (const QString& folder : folders) {
        const QString path = folder + u'/' + fileName;
        QPluginLoader loader(path);
        if (QObject* root = loader.instance())
            return root;
        errors << QStringLiteral("%1: %2").arg(path, loader.errorString());
    }
    error = errors.join(QStringLiteral("; "));
    return nullptr;
}

}  // namespace tivora
