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

QPalette drawnPalette()
{
    // Every role, so that none comes from the desktop's palette: active and
    // inactive alike, then disabled.
    struct RoleColours {
        QPalette::ColorRole role;
        QRgb enabled;
        QRgb disabled;
    };
    static constexpr RoleColours kColours[] = {
        {QPalette::WindowText, 0xff000000, 0xffbebebe},    {QPalette::Button, 0xffefefef, 0xffefefef},
        {QPalette::Light, 0xffffffff, 0xffffffff},         {QPalette::Midlight, 0xffcacaca, 0xffcacaca},
        {QPalette::Dark, 0xff9f9f9f, 0xffbebebe},          {QPalette::Mid, 0xffb8b8b8, 0xffb8b8b8},
        {QPalette::Text, 0xff000000, 0xffbebebe},          {QPalette::BrightText, 0xffffffff, 0xffffffff},
        {QPalette::ButtonText, 0xff000000, 0xffbebebe},    {QPalette::Base, 0xffffffff, 0xffefefef},
        {QPalette::Window, 0xffefefef, 0xffefefef},        {QPalette::Shadow, 0xff767676, 0xffb1b1b1},
        {QPalette::Highlight, 0xff308cc6, 0xff919191},     {QPalette::HighlightedText, 0xffffffff, 0xffffffff},
        {QPalette::Link, 0xff0000ff, 0xff0000ff},          {QPalette::LinkVisited, 0xffff00ff, 0xffff00ff},
        {QPalette::AlternateBase, 0xfff7f7f7, 0xfff7f7f7}, {QPalette::ToolTipBase, 0xffffffdc, 0xffffffdc},
        {QPalette::ToolTipText, 0xff000000, 0xff000000},   {QPalette::PlaceholderText, 0x80000000, 0x80000000},
    };
    QPalette palette;
    for (const RoleColours& colours : kColours) {
        for (auto group : {QPalette::Active, QPalette::Inactive})
            palette.setColor(group, colours.role, QColor::fromRgba(colours.enabled));
        palette.setColor(QPalette::Disabled, colours.role, QColor::fromRgba(colours.disabled));
    }
    return palette;
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
