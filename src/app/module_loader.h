#pragma once

// The one way the program loads a module: a Qt plugin whose root object
// offers an interface declared with Q_DECLARE_INTERFACE. Modules keep
// libraries that are slow to load (the web engine) off the start path.

#include <QObject>
#include <QString>
#include <QStringList>

namespace tivora {

// Where modules are looked for: beside the program (the build tree), then
// in their installed folder.
QStringList moduleFolders();

// The root object of the module file `fileName` from the first of `folders`
// that has it; null, with `error` saying why for each folder, when it cannot
// be loaded.
QObject* loadModule(const QString& fileName, QString& error, const QStringList& folders = moduleFolders());

template <class Interface>
Interface* loadModule(const QString& fileName, QString& error, const QStringList& folders = moduleFolders())
{
    QObject* root = loadModule(fileName, error, folders);
    auto* module = qobject_cast<Interface*>(root);
    if (root && !module)
        error = QStringLiteral("%1 does not offer %2")
                    .arg(fileName, QString::fromLatin1(qobject_interface_iid<Interface*>()));
    return module;
}

}  // namespace tivora
