// The person's fan at their turn: the card under the pointer (or the keyboard's
// mark) stands lifted, and a click anywhere on the fan plays exactly that card.
// Cards the rules would refuse can be shaded. A hint may lift and outline a card
// through the same calls.
#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>

#include "CardDeck.h"

#include <array>
#include <functional>
#include <vector>

namespace spades {

class TTableScene;

class TCardHover : public QObject {
    Q_OBJECT
public:
    // How far a card stands out of the fan, in table pixels: an eighth of its height.
    static constexpr int Lift = 12;

    using TPlay = std::function<void(TCardDeck&)>;

    explicit TCardHover(TTableScene& scene);
    ~TCardHover() override;

    // The held cards of the seat at its turn, in slot order, and whether the
    // rules take each; `shade` dims the others. `play` receives the chosen card.
    void Arm(std::vector<TCardDeck*> cards, std::vector<bool> playable, bool shade, TPlay play);
    // Shades (or no longer) the armed cards the rules refuse.
    void SetShading(bool shade);
    // Back to a plain fan: nothing lifted, shaded or outlined.
    void Disarm();
    bool Armed() const { return !FCards.empty(); }

    // The card that stands lifted, or nullptr.
    TCardDeck* Lifted() const { return FLifted; }
    // Lifts one armed card (nullptr lowers it); `outline` marks it for the keyboard or a hint.
    void LiftCard(TCardDeck* card, TCardDeck::TOutline outline = TCardDeck::TOutline::None);
    // Looks again at what lies under the pointer (after a message box took it away).
    void Recheck();
    // The armed card under a table point: the topmost whose place, stretched up by
    // the lift, holds the point; so the answer does not change with the lift itself.
    TCardDeck* CardAt(QPointF table) const;
    // Moves the keyboard's mark to the next (+1) or previous (-1) playable card.
    void Step(int direction);
    // Plays the lifted card, as a click on it would; false with nothing lifted.
    bool PlayLifted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Lower();
    void Hover(const QPoint& global);
    int IndexOf(const TCardDeck* card) const;

    TTableScene& FScene;
    std::vector<QPointer<TCardDeck>> FCards;
    std::vector<bool> FPlayable;
    TPlay FPlay;
    QPointer<TCardDeck> FLifted;
};

}  // namespace spades
