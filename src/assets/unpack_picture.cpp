// Build step: rewrites an opaque PNG as a binary PPM, raw pixels that the
// program reads with almost no work. Inflating the background's PNG was the
// longest single step before the main window's first paint.
// Usage: tivora_unpack_picture picture.png picture.ppm

#include <QImage>
#include <QString>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fputs("usage: tivora_unpack_picture picture.png picture.ppm\n", stderr);
        return 2;
    }
    const QImage picture(QString::fromLocal8Bit(argv[1]), "png");
    if (picture.isNull() || picture.hasAlphaChannel()) {
        std::fprintf(stderr, "tivora_unpack_picture: %s is no opaque PNG\n", argv[1]);
        return 1;
    }
    if (!picture.save(QString::fromLocal8Bit(argv[2]), "ppm")) {
        std::fprintf(stderr, "tivora_unpack_picture: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
