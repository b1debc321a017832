// spades-icon OUTDIR: the program's icon, a fan of three cards with a spade on
// the front one, drawn at every size of the icon theme, plus a resource list for
// the program itself. Only paths: no fonts, the same bytes every time.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QTextStream>
#include <array>
#include <cmath>
#include <cstdio>

namespace {

constexpr std::array<int, 8> Sizes = {16, 22, 24, 32, 48, 64, 128, 256};
constexpr const char* IconName = "net.tarnwell.QuelbrinSpades";

// A spade in a unit box, point up.
QPainterPath Spade()
{
    QPainterPath spade;
    spade.moveTo(0.5, 0.0);
    spade.cubicTo(0.62, 0.18, 1.0, 0.36, 1.0, 0.6);
    spade.cubicTo(1.0, 0.78, 0.78, 0.86, 0.58, 0.74);
    spade.cubicTo(0.6, 0.84, 0.66, 0.94, 0.74, 1.0);
    spade.lineTo(0.26, 1.0);
    spade.cubicTo(0.34, 0.94, 0.4, 0.84, 0.42, 0.74);
    spade.cubicTo(0.22, 0.86, 0.0, 0.78, 0.0, 0.6);
    spade.cubicTo(0.0, 0.36, 0.38, 0.18, 0.5, 0.0);
    spade.closeSubpath();
    return spade;
}

void DrawCard(QPainter& painter, double size, double angle, const QColor& face, bool withSpade)
{
    painter.save();
    painter.translate(size * 0.5, size * 0.9);
    painter.rotate(angle);
    const double width = size * 0.44, height = size * 0.62;
    const QRectF card(-width / 2, -height - size * 0.06, width, height);
    painter.setPen(QPen(QColor(40, 40, 40), std::max(1.0, size / 48.0)));
    painter.setBrush(face);
    painter.drawRoundedRect(card, width * 0.12, width * 0.12);
    if (withSpade) {
        const double s = width * 0.72;
        painter.translate(card.center().x() - s / 2, card.center().y() - s / 2);
        painter.scale(s, s);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(20, 20, 20));
        painter.drawPath(Spade());
    }
    painter.restore();
}

QImage Icon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawCard(painter, size, -22, QColor(200, 40, 40), false);
    DrawCard(painter, size, 22, QColor(40, 90, 170), false);
    DrawCard(painter, size, 0, Qt::white, true);
    return image;
}

bool Save(const QImage& image, const QString& path)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: spades-icon OUTDIR\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QString qrc = "<RCC>\n  <qresource prefix=\"/icon\">\n";
    for (int size : Sizes) {
        const QString folder = QString("hicolor/%1x%1/apps").arg(size);
        if (!out.mkpath(folder) || !Save(Icon(size), out.filePath(folder + "/" + IconName + ".png"))) {
            std::fprintf(stderr, "spades-icon: cannot write the %dx%d icon into %s\n", size, size, argv[1]);
            return 1;
        }
        qrc += QString("    <file alias=\"%1.png\">%2/%3.png</file>\n").arg(size).arg(folder, IconName);
    }
    qrc += "  </qresource>\n</RCC>\n";
    QSaveFile list(out.filePath("icon.qrc"));
    if (!list.open(QIODevice::WriteOnly) || list.write(qrc.toUtf8()) < 0 || !list.commit()) {
        std::fprintf(stderr, "spades-icon: cannot write icon.qrc\n");
        return 1;
    }
    return 0;
}
