// spades-surfaces: draws the five bitmaps behind the "CMPBMP" resources.
//   spades-surfaces OUTDIR             writes OUTDIR/<NAME>.bmp for each
//   spades-surfaces --preview OUTDIR   writes OUTDIR/<NAME>.png, each tiled over
//                                      769 × 461, and <NAME>-zoom.png enlarged
#include "Surfaces.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QImage>
#include <QSaveFile>
#include <QString>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kPreviewWidth = 769;
constexpr int kPreviewHeight = 461;

bool WriteAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    std::fprintf(stderr, "spades-surfaces: cannot write %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
    return false;
}

QByteArray BmpBytes(const spades::surfaces::TIndexedImage& image)
{
    const auto bytes = spades::surfaces::EncodeBmp(image);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

QImage Tiled(const QImage& tile, int width, int height, int zoom)
{
    QImage out(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.setPixel(x, y, tile.pixel((x / zoom) % tile.width(), (y / zoom) % tile.height()));
    return out;
}

bool WritePng(const QString& path, const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") && WriteAtomically(path, png);
}

bool WritePreview(const QString& dir, const spades::surfaces::TNamedImage& named)
{
    // Read back through Qt's own BMP reader, so that the preview shows what the game will see.
    const QImage tile = QImage::fromData(BmpBytes(named.image), "BMP");
    if (tile.isNull()) {
        std::fprintf(stderr, "spades-surfaces: Qt cannot read the BMP of %s\n", named.name.c_str());
        return false;
    }
    // Life size, and enlarged three times (the glyph eight times) to judge the seams.
    const QString base = dir + QLatin1Char('/') + QString::fromStdString(named.name);
    const int zoom = tile.width() <= 32 ? 8 : 3;
    return WritePng(base + ".png", Tiled(tile, kPreviewWidth, kPreviewHeight, 1)) &&
           WritePng(base + "-zoom.png", Tiled(tile, kPreviewWidth, kPreviewHeight, zoom));
}

}  // namespace

int main(int argc, char** argv)
{
    const bool preview = argc == 3 && std::strcmp(argv[1], "--preview") == 0;
    if (!(argc == 2 && argv[1][0] != '-') && !preview) {
        std::fputs("usage: spades-surfaces [--preview] OUTDIR\n", stderr);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[argc - 1]);
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "spades-surfaces: cannot create %s\n", qPrintable(dir));
        return 1;
    }
    bool ok = true;
    for (const auto& named : spades::surfaces::DrawAll()) {
        if (preview)
            ok = WritePreview(dir, named) && ok;
        else
            ok = WriteAtomically(dir + QLatin1Char('/') + QString::fromStdString(named.name) + ".bmp",
                                 BmpBytes(named.image)) && ok;
    }
    return ok ? 0 : 1;
}
