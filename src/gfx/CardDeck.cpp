#include "CardDeck.h"

#include "CardFaces.h"
#include "CardRender.h"
#include "CardTitle.h"
#include "DevicePixels.h"
#include "PlayerU.h"

#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QPointer>

#include <algorithm>
#include <array>

// The card images live in this static library; make sure they are linked in.
static void InitCardResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(cards);
        return true;
    }();
    (void)done;
}

namespace spades {

namespace {

// The twelve pixels that round a card's corners, for a W x H card.
std::array<QPoint, 12> CornerPixels(int w, int h)
{
    return {QPoint(0, 0),         QPoint(1, 0),         QPoint(0, 1),
            QPoint(w - 1, 0),     QPoint(w - 2, 0),     QPoint(w - 1, 1),
            QPoint(w - 1, h - 1), QPoint(w - 2, h - 1), QPoint(w - 1, h - 2),
            QPoint(0, h - 1),     QPoint(1, h - 1),     QPoint(0, h - 2)};
}

}  // namespace

QString CardResourcePath(uint8_t value, int scale)
{
    const QString name = QString::fromStdString(CardImageName(value)).toUpper();
    return ":/cards/" + name + (scale > 1 ? "@2x" : "") + ".png";
}

QImage CardImage(uint8_t value, int scale)
{
    InitCardResources();
    if (value < 1 || value > LastBackValue)
        return {};
    return QImage(CardResourcePath(value, scale));
}

QPixmap CardPixmap(uint8_t value, int scale, bool rounded)
{
    scale = scale > 1 ? 2 : 1;
    const QString key = QStringLiteral("spades-card/%1/%2/%3").arg(value).arg(scale).arg(rounded);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    QImage image = CardImage(value, scale);
    if (image.isNull())
        return {};
    if (rounded) {
        image = image.convertToFormat(QImage::Format_ARGB32);
        for (const QPoint& p : CornerPixels(CardImageWidth, CardImageHeight))
            for (int dy = 0; dy < scale; ++dy)
                for (int dx = 0; dx < scale; ++dx)
                    image.setPixel(p.x() * scale + dx, p.y() * scale + dy, 0);
    }
    pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(scale);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

TCardDeck::TCardDeck(QWidget* owner) : QWidget(owner)
{
    resize(CardImageWidth, CardImageHeight);
    setAccessibleName(CardTitle(FValue));
    // A control on a form is shown with it; its own flag decides what it paints.
    if (owner)
        show();
}

void TCardDeck::SetValue(uint8_t value)
{
    if (value == FValue)
        return;
    FValue = value;
    setAccessibleName(CardTitle(value));
    repaint();
}

void TCardDeck::SetShaded(bool shaded)
{
    if (shaded == FShaded)
        return;
    FShaded = shaded;
    update();
}

void TCardDeck::SetOutline(TOutline outline)
{
    if (outline == FOutline)
        return;
    FOutline = outline;
    update();
}

void TCardDeck::PaintMarks(QPainter& painter) const
{
    if (!FShaded && !Outlined())
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal radius = 3.0 * width() / CardImageWidth;
    const QRectF card = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (FShaded) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 110));
        painter.drawRoundedRect(card, radius, radius);
    }
    if (Outlined()) {
        const qreal pen = std::max(2.0, 3.0 * width() / CardImageWidth);
        if (FOutline == TOutline::Hint)
            painter.setPen(QPen(QColor(0x40, 0xC0, 0xFF), pen, Qt::DashLine));
        else
            painter.setPen(QPen(QColor(0xFF, 0xD7, 0x00), pen));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(card.adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2), radius, radius);
    }
}

void TCardDeck::SetStretch(bool stretch)
{
    if (stretch == FStretch)
        return;
    if (!stretch)
        resize(CardImageWidth, CardImageHeight);
    FStretch = stretch;
    update();
}

void TCardDeck::SetVisible(bool visible)
{
    if (visible == FVisible)
        return;
    FVisible = visible;
    repaint();
}

QRegion TCardDeck::OpaqueArea() const
{
    // An installed deck's drawing is its maker's: what it leaves clear is not known.
    if (FFaces && FFaces->Draws(FValue))
        return {};
    return CoverArea();
}

QRegion TCardDeck::CoverArea() const
{
    if (!isVisible() || !FVisible || FValue < 1 || FValue > LastBackValue)
        return {};
    if (FFaces && FFaces->Draws(FValue))
        return RoundedInside(rect(), (width() + 7) / 8);  // an installed deck's corners may be rounder than ours
    if (FStretch)
        return rect();
    return RoundedInside(rect(), (3 * width() + CardImageWidth - 1) / CardImageWidth);
}

QRegion TCardDeck::UncoveredRegion(const QRegion& region) const
{
    // Cards stacked above this one hide all of it but their cut corners: what
    // they cover need not be drawn (a fan shows only a strip of each card).
    const QWidget* parent = parentWidget();
    if (!parent)
        return region;
    QRegion uncovered = region;
    const QObjectList& siblings = parent->children();
    bool above = false;
    for (const QObject* sibling : siblings) {
        if (sibling == this) {
            above = true;
            continue;
        }
        const auto* card = above ? qobject_cast<const TCardDeck*>(sibling) : nullptr;
        if (!card || !card->geometry().intersects(geometry()))
            continue;
        uncovered -= card->CoverArea().translated(card->pos() - pos());
        if (uncovered.isEmpty())
            break;
    }
    return uncovered;
}

void TCardDeck::paintEvent(QPaintEvent* event)
{
    if (!FVisible)
        return;
    const QRegion uncovered = UncoveredRegion(event->region());
    if (uncovered.isEmpty())
        return;
    QPainter painter(this);
    const qreal ratio = TDevicePixels::Ratio(painter, *this);
    const bool natural = size() == QSize(CardImageWidth, CardImageHeight);
    // The device pixels the card covers where it stands: at a place between
    // pixels, one more or one fewer than its size times the ratio.
    const TDevicePixels exact(painter);
    const QSize device = exact.Exact(ratio) ? exact.DeviceRect(rect()).size()
                                            : QSize(qRound(width() * ratio), qRound(height() * ratio));
    if (FFaces && FFaces->Draws(FValue)) {
        // An installed deck, drawn for these pixels.
        DrawUncovered(painter, FFaces->Pixmap(FValue, size(), ratio, !FStretch, device), uncovered);
    } else if (!FStretch && natural && (ratio == 1.0 || ratio == 2.0)) {
        // The built-in bitmaps, pixel for pixel.
        DrawUncovered(painter, CardPixmap(FValue, ratio > 1.0 ? 2 : 1, true), uncovered);
    } else if (const QPixmap nearest = LiveResize() ? NearestRenderedCard(FValue, device, !FStretch) : QPixmap();
               !nearest.isNull()) {
        // The window's edge is being dragged: a card already drawn stands in,
        // scaled part by part without smoothing, which costs a fraction of a
        // smoothed scale; the card is drawn sharp once the size rests.
        painter.save();
        const qreal sx = nearest.width() / qreal(width()), sy = nearest.height() / qreal(height());
        for (const QRect& part : uncovered)
            painter.drawPixmap(QRectF(part), nearest, QRectF(part.x() * sx, part.y() * sy, part.width() * sx, part.height() * sy));
        painter.restore();
    } else {
        // Any other size or ratio: drawn from the artwork for exactly these pixels.
        DrawUncovered(painter, RenderedCardPixmap(FValue, size(), ratio, !FStretch, device), uncovered);
    }
    if (FShaded || Outlined()) {
        painter.setClipRegion(uncovered);
        PaintMarks(painter);
    }
}

void TCardDeck::DrawUncovered(QPainter& painter, const QPixmap& pixmap, const QRegion& uncovered) const
{
    if (pixmap.isNull())
        return;
    // Only the uncovered strips, copied pixel for pixel where the device allows.
    if (TDevicePixels(painter).Draw(QPoint(), pixmap, uncovered))
        return;
    painter.save();
    painter.setClipRegion(uncovered);
    painter.drawPixmap(0, 0, pixmap);
    painter.restore();
}

void TCardDeck::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        FPressed = true;
    event->accept();
}

void TCardDeck::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = FPressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        FPressed = false;
    event->accept();
    if (!click)
        return;
    // The handler may clear itself (the table disarms a seat's cards on a click).
    QPointer<TCardDeck> self(this);
    if (TClickHandler handler = FOnClick)
        handler(*this);
    if (self)
        emit clicked();
}

void TCardDeck::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}

}  // namespace spades
