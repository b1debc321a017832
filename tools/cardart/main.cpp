// spades-cardart OUTDIR: draws every card image at 1x and 2x as PNG files named
// after the card's resource name in upper case, and the resource list that
// builds them into the program.
#include "CardArt.h"
#include "PlayerU.h"

#include <QDir>
#include <QSaveFile>
#include <QString>

#include <cstdio>

namespace {

bool WriteAtomically(const QString& path, const QByteArray& data)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

bool SavePng(const QImage& image, const QString& path)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: spades-cardart OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(".")) {
        std::fprintf(stderr, "spades-cardart: cannot create %s\n", argv[1]);
        return 1;
    }
    QByteArray qrc = "<RCC>\n  <qresource prefix=\"/cards\">\n";
    for (int value = 1; value <= spades::LastBackValue; ++value) {
        const QString name =
            QString::fromStdString(spades::CardImageName(static_cast<uint8_t>(value))).toUpper();
        for (int scale : {1, 2}) {
            const QString file = name + (scale == 2 ? "@2x" : "") + ".png";
            if (!SavePng(spades::cardart::DrawCard(value, scale), out.filePath(file))) {
                std::fprintf(stderr, "spades-cardart: cannot write %s\n",
                             qPrintable(out.filePath(file)));
                return 1;
            }
            qrc += "    <file>" + file.toUtf8() + "</file>\n";
        }
    }
    qrc += "  </qresource>\n</RCC>\n";
    if (!WriteAtomically(out.filePath("cards.qrc"), qrc)) {
        std::fprintf(stderr, "spades-cardart: cannot write the resource list\n");
        return 1;
    }
    return 0;
}
