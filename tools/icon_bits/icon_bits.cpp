// quillon-icon-bits IN.png OUT.argb: the picture of IN as the windows take it,
// so that a start shows the program's icon without decoding PNGs. OUT holds
// the width and the height (32 bits each), then the pixels row by row as
// premultiplied 32-bit ARGB, all in this machine's byte order: the program
// built here reads them as they are.

#include <QFile>
#include <QImage>

#include <cstdint>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: quillon-icon-bits IN.png OUT.argb\n");
        return 2;
    }
    const QImage picture = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull()) {
        std::fprintf(stderr, "quillon-icon-bits: cannot read %s\n", argv[1]);
        return 1;
    }
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "quillon-icon-bits: cannot write %s\n", argv[2]);
        return 1;
    }
    const std::uint32_t size[2] = {std::uint32_t(picture.width()), std::uint32_t(picture.height())};
    out.write(reinterpret_cast<const char *>(size), sizeof size);
    for (int y = 0; y < picture.height(); ++y)
        out.write(reinterpret_cast<const char *>(picture.constScanLine(y)), qsizetype(picture.width()) * 4);
    return out.error() == QFile::NoError && out.flush() ? 0 : 1;
}
