// spades-gallery OUTDIR [--surface FILE]...: writes contact sheets of the card
// images, the effect label and the bids table as PNG files, for a person to look
// over the artwork, the four built-in table surfaces tiled over the table's area,
// and one sheet per surface image given.
#include "Cmpint32.h"
#include "Sheets.h"

#include <exception>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace {

bool Save(const QImage& image, const QDir& out, const QString& name)
{
    QSaveFile file(out.filePath(name));
    if (image.isNull() || !file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") ||
        !file.commit()) {
        std::fprintf(stderr, "spades-gallery: cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    std::printf("%s\n", qPrintable(file.fileName()));
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString outDir;
    QStringList surfaces;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == "--surface" && i + 1 < args.size())
            surfaces << args[++i];
        else if (outDir.isEmpty() && !args[i].startsWith("--"))
            outDir = args[i];
        else {
            std::fprintf(stderr, "usage: spades-gallery OUTDIR [--surface FILE]...\n");
            return 2;
        }
    }
    if (outDir.isEmpty()) {
        std::fprintf(stderr, "usage: spades-gallery OUTDIR [--surface FILE]...\n");
        return 2;
    }
    const QDir out(outDir);
    if (!out.mkpath(".")) {
        std::fprintf(stderr, "spades-gallery: cannot create %s\n", qPrintable(outDir));
        return 1;
    }
    using namespace spades::gallery;
    bool ok = Save(CardSheet(), out, "cards.png") && Save(CardSheet2x(), out, "cards@2x.png");
    const std::array<const char*, 5> rows = {"spades", "hearts", "clubs", "diamonds", "backs"};
    for (int row = 0; ok && row < 5; ++row)
        ok = Save(ZoomedCardRow(row, 3), out, QStringLiteral("zoom-%1.png").arg(rows[row]));
    ok = ok && Save(CourtSheet(1, 4), out, "courts.png") &&
         Save(CourtSheet(2, 2), out, "courts@2x.png");
    ok = ok && Save(LabelSheet(), out, "labels.png") && Save(BidsSheet(), out, "bids.png");
    for (const char* name : {"IDB_GREENCLOTH", "IDB_MAHOGANY", "IDB_OAK", "IDB_GRANITE"}) {
        QImage tile;
        try {
            spades::LoadCompressedBitmap(name, tile);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "spades-gallery: %s\n", error.what());
            ok = false;
            continue;
        }
        ok = Save(SurfaceSheet(tile), out, QStringLiteral("surface-%1.png").arg(name)) && ok;
    }
    for (const QString& file : surfaces) {
        const QImage tile(file);
        if (tile.isNull()) {
            std::fprintf(stderr, "spades-gallery: %s is not an image\n", qPrintable(file));
            ok = false;
            continue;
        }
        ok = Save(SurfaceSheet(tile), out,
                  "surface-" + QFileInfo(file).completeBaseName() + ".png") && ok;
    }
    return ok ? 0 : 1;
}
