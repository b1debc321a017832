#include "StopPicture.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <array>
#include <cmath>

namespace spades {

namespace {

constexpr double Units = 32.0;
constexpr double Centre = 15.5;  // where the bitmap's octagon stands

// A regular octagon with flat sides up, down, left and right.
QPolygonF Octagon(double centre, double apothem)
{
    const double t = apothem * (std::sqrt(2.0) - 1.0);
    QPolygonF octagon;
    for (const auto& [x, y] : std::array<std::pair<double, double>, 8>{
             {{apothem, t}, {t, apothem}, {-t, apothem}, {-apothem, t}, {-apothem, -t}, {-t, -apothem},
              {t, -apothem}, {apothem, -t}}})
        octagon << QPointF(centre + x, centre + y);
    return octagon;
}

// "STOP" in the bitmap's own four-by-seven letters.
QPainterPath Lettering()
{
    static constexpr std::array<std::array<const char*, 7>, 4> Letters{{
        {".###", "#...", "#...", ".##.", "...#", "...#", "###."},
        {"####", ".##.", ".##.", ".##.", ".##.", ".##.", ".##."},
        {".##.", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."},
        {"###.", "#..#", "#..#", "###.", "#...", "#...", "#..."},
    }};
    constexpr int Left = 6, Top = 12;
    QPainterPath path;
    for (size_t letter = 0; letter < Letters.size(); ++letter)
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 4; ++col)
                if (Letters[letter][static_cast<size_t>(row)][col] == '#')
                    path.addRect(Left + static_cast<int>(letter) * 5 + col, Top + row, 1, 1);
    return path.simplified();
}

}  // namespace

QImage StopPicture(int pixels)
{
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(pixels / Units, pixels / Units);
    painter.setPen(Qt::NoPen);
    const auto fill = [&](const QPolygonF& shape, QColor colour) {
        painter.setBrush(colour);
        painter.drawPolygon(shape);
    };
    fill(Octagon(Centre + 1, 14.6), QColor(128, 128, 128));  // shadow, down and to the right
    fill(Octagon(Centre, 14.6), QColor(128, 0, 0));
    fill(Octagon(Centre, 13.6), Qt::white);
    fill(Octagon(Centre, 12.2), QColor(255, 0, 0));
    painter.setBrush(Qt::white);
    painter.drawPath(Lettering());
    return image;
}

QImage ClearGround(const QImage& glyph)
{
    if (glyph.isNull())
        return glyph;
    QImage clear = glyph.convertToFormat(QImage::Format_ARGB32);
    const QRgb ground = clear.pixel(0, clear.height() - 1);
    for (int y = 0; y < clear.height(); ++y)
        for (int x = 0; x < clear.width(); ++x)
            if (clear.pixel(x, y) == ground)
                clear.setPixel(x, y, 0);
    return clear.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace spades
