#pragma once

// A file the user chose, written whole or not at all: QSaveFile writes beside
// the target and renames only when every write has gone through.

#include <QIODevice>
#include <QString>

#include <functional>

namespace tivora {

// `write` writes the file's content to the device it is given and says
// whether it went through. Each of its writes is carried on until the disk
// has taken all of it or refuses; the first refusal cancels the file. Returns
// why the file could not be written, in the user's words ("the disk is
// full"), or an empty text when it was.
QString writeWholeFile(const QString& path, const std::function<bool(QIODevice&)>& write);

}  // namespace tivora
