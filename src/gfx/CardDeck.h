// The card image control: one card face, the joker or a card back, chosen by
// its value, painted over whatever lies beneath it on the table.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QString>
#include <QWidget>

#include "OpaqueControl.h"

#include <cstdint>
#include <functional>
#include <memory>

class QPainter;

namespace spades {

class TCardFaces;

constexpr int CardImageWidth = 71;
constexpr int CardImageHeight = 96;

// Resource path of a card's image at scale 1 or 2, from its resource name in
// upper case (":/cards/CDACEOFSPADES.png", ":/cards/CDACEOFSPADES@2x.png").
QString CardResourcePath(uint8_t value, int scale);

// The image of a card value at scale 1 or 2; null for values without one
// (0 and above 62).
QImage CardImage(uint8_t value, int scale);

// The image as the control draws it: with `rounded`, the three outer pixels of
// each corner (at scale 2, blocks of 2 x 2) are transparent. Cached.
QPixmap CardPixmap(uint8_t value, int scale, bool rounded);

class TCardDeck : public QWidget, public TOpaqueControl {
    Q_OBJECT

public:
    using TClickHandler = std::function<void(TCardDeck&)>;

    explicit TCardDeck(QWidget* owner = nullptr);

    uint8_t Value() const { return FValue; }
    // Repaints at once when the value changes.
    void SetValue(uint8_t value);

    bool Stretch() const { return FStretch; }
    // Switching stretch off brings the control back to the card's natural size.
    void SetStretch(bool stretch);

    // The card's own visibility: a hidden card paints nothing, yet keeps its place
    // and still takes clicks. The widget itself stays shown.
    bool Visible() const { return FVisible; }
    // All of a drawn card but its corners and outer edge; nothing for a card of
    // an installed deck.
    QRegion OpaqueArea() const override;
    void SetVisible(bool visible);

    // The one click handler the table arms on a person's cards and clears after.
    void SetClickHandler(TClickHandler handler) { FOnClick = std::move(handler); }
    void ClearClickHandler() { FOnClick = nullptr; }
    bool HasClickHandler() const { return static_cast<bool>(FOnClick); }

    // Where the pictures come from: an installed deck chosen by the player, or
    // (without faces) the built-in images.
    void SetFaces(std::shared_ptr<TCardFaces> faces) { FFaces = std::move(faces); }
    // Marks the table puts over a card: a shade for a card the rules refuse, an
    // outline for the card the keyboard (or a hint) points at.
    bool Shaded() const { return FShaded; }
    void SetShaded(bool shaded);
    // The keyboard's mark is a gold rim; a hint's a dashed sky-blue one, so the two are told apart.
    enum class TOutline { None, Mark, Hint };
    TOutline Outline() const { return FOutline; }
    void SetOutline(TOutline outline);
    bool Outlined() const { return FOutline != TOutline::None; }
    void SetOutlined(bool outlined) { SetOutline(outlined ? TOutline::Mark : TOutline::None); }

signals:
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // The part of `region` not hidden under cards stacked above this one.
    QRegion UncoveredRegion(const QRegion& region) const;
    // What this card hides of the cards beneath it in a fan.
    QRegion CoverArea() const;
    void PaintMarks(QPainter& painter) const;
    void DrawUncovered(QPainter& painter, const QPixmap& pixmap, const QRegion& uncovered) const;

    uint8_t FValue = 54;
    bool FStretch = false;
    bool FVisible = false;
    bool FPressed = false;
    bool FShaded = false;
    TOutline FOutline = TOutline::None;
    TClickHandler FOnClick;
    std::shared_ptr<TCardFaces> FFaces;
};

}  // namespace spades
