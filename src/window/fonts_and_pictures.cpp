#include "fonts_and_pictures.h"

#include "assets/typeface.h"
#include "main_window.h"

#include <QImageReader>
#include <QPixmap>

namespace tivora {

QFont fontFor(FontRole role)
{
    QFont font(kTypeface);
    switch (role) {
    case FontRole::Window:
        font.setPointSizeF(8.25);
        break;
    case FontRole::Caption:
    case FontRole::Greek:
        font.setPointSizeF(9.75);
        break;
    case FontRole::GreekLarge:
        font.setPointSizeF(12);
        break;
    }
    return font;
}

QFont windowFont()
{
    return fontFor(FontRole::Window);
}

// Read in the format its name ends with. Left to guess, Qt's image reader
// first loads every image-format plugin on the machine.
QImage readPicture(const QString& path, bool sharp)
{
    QString file = path;
    const qsizetype dot = file.lastIndexOf(u'.');
    const QByteArray format = file.mid(dot + 1).toLatin1();
    if (sharp)
        file.insert(dot, QStringLiteral("@2x"));
    QImageReader reader(file, format);
    reader.setAutoDetectImageFormat(false);
    QImage picture = reader.read();
    picture.setDevicePixelRatio(sharp ? 2 : 1);
    return picture;
}

QIcon iconOf(std::initializer_list<QString> paths, bool sharp)
{
    QIcon icon;
    for (const QString& path : paths)
        icon.addPixmap(QPixmap::fromImage(readPicture(path, sharp)));
    return icon;
}

}  // namespace tivora
