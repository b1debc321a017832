// The table as it is drawn: every control laid out in the table's own 769 x 461
// coordinates and shown at one uniform scale, the largest that fits the window,
// centred, with the surface tiling the whole window. Drawing order is the
// controls' stacking order; hit tests and the card fans work in table coordinates.
#pragma once

#include <QImage>
#include <QObject>
#include <QRect>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "ExtListView.h"
#include "PlayerU.h"
#include "SpadesGame.h"

class QFont;
class QToolButton;
class QWidget;

namespace spades {

class TCardDeck;
class TLabelEffect;
class TShape;
class TTiledBitmap;

// Keeps a control in the style's colours whatever its parent's palette says.
void KeepOwnPalette(QWidget& widget);

class TTableScene : public QObject {
    Q_OBJECT
public:
    static constexpr int Width = 769;
    static constexpr int Height = 461;

    // Builds the table's controls on the surface, which fills the window.
    explicit TTableScene(TTiledBitmap& surface);
    ~TTableScene() override;

    // ---- The controls
    TTiledBitmap& Surface() const { return FSurface; }
    TShape& PlayArea() const { return *shpPlay; }
    TLabelEffect& SeatLabel(int seat) const { return *lblPlayer[static_cast<size_t>(seat)]; }
    TLabelEffect& WaitFor() const { return *lblWaitFor; }
    TLabelEffect& WhoWon() const { return *lblWhoWon; }
    TLabelEffect& Prompt() const { return *LabelEffect1; }
    TExtListView& Bids() const { return *lvwBids; }
    QToolButton& StopButton() const { return *btnInterrupt; }
    TCardDeck& Pile(int seat) const { return *crdStack[static_cast<size_t>(seat)]; }
    // A line for what the table tells without a box (a refused play, no sound).
    TLabelEffect& Notice() const { return *lblNotice; }
    // Puts one line there, shortened to fit, the whole text in its tooltip; empty clears it.
    void SetNotice(const QString& text);

    // ---- Seat names: shortened to fit their label, the whole name in its tooltip
    void SetSeatName(int seat, const QString& name);
    // The whole name of the seat as last given (or the caption, if someone else set it).
    QString SeatName(int seat) const;
    // "<name> Won" for the winner's label, the name shortened so that it fits one line.
    QString WinnerCaption(int seat) const;
    // The stop button's picture, drawn at its natural size and scaled with the table.
    void SetStopPicture(const QImage& picture);
    // Other columns for the bids list, their widths at scale 1.
    void SetBidColumns(std::initializer_list<TListColumn> columns);
    // Room in the bids list for the seats, and for the two sides of a partnership
    // under them (the list grows upwards).
    void SetBidRows(bool withSides);
    // A hand card by its control name ("imgPlayer" + seat + slot), or nullptr.
    TCardDeck* Card(const QString& name) const;
    // The same card as the seats see it.
    TCardControl* FindCard(std::string_view name) const;
    // Every hand card, for the card back to be switched.
    void ForEachCard(const std::function<void(const TCardDeck&, TCardControl&)>& visit) const;

    // ---- Table coordinates
    qreal Scale() const { return FScale; }
    QPointF Origin() const { return FOrigin; }
    // A rectangle of the table in the surface's (the window's) pixels.
    QRect ToWindow(const QRect& table) const;
    QPointF ToWindow(QPointF table) const;
    QPointF ToTable(QPointF window) const;
    // Where a control stands on the table.
    QRect TableRect(const QWidget& control) const;
    // Puts a control at a table rectangle, now and at every later scale.
    void Place(QWidget& control, const QRect& table);
    void Move(QWidget& control, QPoint tableTopLeft);
    // The topmost control at a table point, or nullptr.
    QWidget* HitTest(QPointF table) const;
    // Lays everything out again for the surface's present size.
    void Relayout();

    // Told when the game moves a hand card (to the trick), with where it stood, in table coordinates.
    std::function<void(QWidget& card, const QRectF& from)> CardMoved;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class TSceneCard;
    void CreateControls();
    void Apply(QWidget& control);
    void ResizeRested();
    // The status texts stay readable above the cards whatever the game raises.
    void RaiseTexts();
    // The table's texts that stand above its cards.
    std::array<TLabelEffect*, 4> Texts() const;
    // The text, shortened to the label's width, the whole of it in the tooltip when shortened.
    void ShowFitted(TLabelEffect& label, const QString& text);

    TTiledBitmap& FSurface;
    QTimer FResting;  // runs while the window is being resized
    qreal FScale = 1.0;
    QPointF FOrigin;
    std::map<const QWidget*, QRect> FPlaces;
    std::map<const QWidget*, QFont> FFonts;  // at scale 1

    TShape* shpPlay = nullptr;
    std::array<TLabelEffect*, 5> lblPlayer{};
    TLabelEffect* lblWaitFor = nullptr;
    TLabelEffect* lblWhoWon = nullptr;
    TLabelEffect* LabelEffect1 = nullptr;
    TExtListView* lvwBids = nullptr;
    std::vector<int> FBidColumns;  // widths at scale 1
    TLabelEffect* lblNotice = nullptr;
    std::array<QString, 5> FSeatNames;
    QImage FStopPicture;
    QToolButton* btnInterrupt = nullptr;
    std::array<TCardDeck*, 5> crdStack{};
    std::map<const TCardDeck*, std::unique_ptr<TSceneCard>> FCards;
};

}  // namespace spades
