// Card decks made up for the tests, laid out in temporary folders the way the
// desktop keeps them: each card a rectangle of a colour of its own, so that a
// drawing shows which element it came from, with a dark index mark in its top
// left corner (or its top right, for a deck a fan would hide it in).
#pragma once

#include "InstalledDecks.h"
#include "PlayerU.h"

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <zlib.h>

#include <cstdint>
#include <set>

namespace spades::test {

// The colour of a value's rectangle: every face, the back and the joker differ.
inline QColor DeckColour(uint8_t value)
{
    return QColor(value * 4, 255 - value * 4, 0x80);
}

struct TDeckContent {
    std::set<QString> LeaveOut;  // elements not drawn
    bool Joker = false;
    bool IndexAtRight = false;
};

inline QByteArray DeckSvg(TDeckFormat format, const TDeckContent& content = {})
{
    QByteArray svg = "<?xml version='1.0'?>\n<svg xmlns='http://www.w3.org/2000/svg' "
                     "width='300' height='300'>\n";
    const auto element = [&](const QString& id, uint8_t value) {
        if (id.isEmpty() || content.LeaveOut.count(id))
            return;
        // Cards lie at their own places, 20 x 30, as on a sheet.
        const int x = value % 12 * 24, y = value / 12 * 34;
        const double mark = content.IndexAtRight ? x + 16.8 : x + 1.2;
        svg += QStringLiteral("<g id='%1'><rect x='%2' y='%3' width='20' height='30' fill='%4'/>"
                              "<rect x='%5' y='%6' width='2' height='5' fill='#101010'/></g>\n")
                   .arg(id)
                   .arg(x)
                   .arg(y)
                   .arg(DeckColour(value).name())
                   .arg(mark)
                   .arg(y + 1.5)
                   .toUtf8();
    };
    for (int value = 1; value <= 52; ++value)
        element(DeckElementName(format, static_cast<uint8_t>(value)), static_cast<uint8_t>(value));
    element(QStringLiteral("back"), FirstBackValue);
    if (content.Joker)
        element(JokerElements(format).first(), JokerValue);
    return svg + "</svg>\n";
}

inline QByteArray Gzip(const QByteArray& data)
{
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(static_cast<qsizetype>(deflateBound(&stream, static_cast<uLong>(data.size()))) + 64, 0);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(static_cast<qsizetype>(stream.total_out));
    deflateEnd(&stream);
    return out;
}

// Two deck roots in a temporary folder, and ways to fill them.
class TDeckFolders {
public:
    TDeckFolders()
    {
        QDir(FDir.path()).mkpath("carddecks");
        QDir(FDir.path()).mkpath("aisleriot");
    }
    TDeckRoots Roots() const { return {{Shared()}, {Aisleriot()}}; }
    QString Shared() const { return FDir.path() + "/carddecks"; }
    QString Aisleriot() const { return FDir.path() + "/aisleriot"; }

    static void Write(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(bytes);
    }
    // A shared deck: <folder>/index.desktop naming <svgFile>, and that file
    // unless `svg` is null.
    void AddShared(const QString& folder, const QString& name, const QString& svgFile,
                   const QByteArray& svg) const
    {
        Write(Shared() + "/" + folder + "/index.desktop",
              ("[KDE Backdeck]\nName=" + name + "\nSVG=" + svgFile + "\nBack=x\n").toUtf8());
        if (!svg.isNull())
            Write(Shared() + "/" + folder + "/" + svgFile, svg);
    }
    void AddAisleriot(const QString& file, const QByteArray& bytes) const
    {
        Write(Aisleriot() + "/" + file, bytes);
    }

private:
    QTemporaryDir FDir;
};

}  // namespace spades::test
