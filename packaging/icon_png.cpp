// Writes the program's icon as a PNG of the given size, each pixel of the
// 32x32 design repeated so that larger sizes stay sharp.
//   icon_png <design.xpm> <size> <out.png>
#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: icon_png <design.xpm> <size> <out.png>\n");
        return 2;
    }
    const QImage design(QString::fromLocal8Bit(argv[1]));
    const int size = std::atoi(argv[2]);
    if (design.isNull() || size <= 0 || size % design.width() != 0) {
        std::fprintf(stderr, "icon_png: cannot draw %s at %s pixels\n", argv[1], argv[2]);
        return 1;
    }
    const QImage icon = design.convertToFormat(QImage::Format_ARGB32)
                            .scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!icon.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "icon_png: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
