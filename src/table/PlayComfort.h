// Everything that makes the table easier to play, behind the few calls the hand
// cycle makes: the lifted and shaded cards, keys, the last trick, what screen
// readers hear, and the cards' motion.
#pragma once

#include <QObject>
#include <memory>

#include "CardHover.h"

class QMainWindow;

namespace spades {

class TCardMotion;
class TKeyboardPlay;
class TLastTrick;
class TSpadesGame;
class TTableAccessibility;
class TTableScene;
class TTrickTags;

class TPlayComfort : public QObject {
    Q_OBJECT
public:
    TPlayComfort(QMainWindow& window, TTableScene& scene, TSpadesGame& game);
    ~TPlayComfort() override;

    void SetOptions(bool markPlayable, bool animateCards);

    // ---- What the hand cycle tells
    // The hands have been dealt and laid out.
    void HandDealt();
    // The table has been put back as it stood some time ago: nothing moves, nothing is remembered.
    // `forgetTricks` false: the same hand, a step back, so the tricks won stay on show.
    void TableRestored(bool forgetTricks = true);
    // The table is about to be put back: nothing may still move or stand lifted.
    void TableRestoring();
    // A seat is to bid or play (0: nobody).
    void TurnBegins(int seat, bool bidding);
    // A person's seat waits for a card; `play` is what a click on a card does.
    void SeatArmed(int seat, TCardHover::TPlay play);
    // The person's card has been chosen: the fan is plain again.
    void SeatDisarmed();
    void TrickWon(int winner);
    // The trick's cards are about to leave the table for the winner's pile.
    void TrickTaken(int winner);

    TCardHover& Hover() const { return *FHover; }
    TCardMotion& Motion() const { return *FMotion; }
    TLastTrick& LastTrick() const { return *FLastTrick; }
    TTrickTags& TrickTags() const { return *FTags; }
    TTableAccessibility& Accessibility() const { return *FAccessibility; }

private:
    // A hand card moved by the game (to its trick place).
    void CardMoved(QWidget& card, const QRectF& from);
    // The tags over the trick as it lies now; `winner` marks that seat's card.
    void TagTrick(int winner);

    TTableScene& FScene;
    TSpadesGame& FGame;
    bool FMarkPlayable = true;
    std::unique_ptr<TCardHover> FHover;
    std::unique_ptr<TTrickTags> FTags;
    std::unique_ptr<TLastTrick> FLastTrick;
    std::unique_ptr<TCardMotion> FMotion;
    std::unique_ptr<TTableAccessibility> FAccessibility;
    std::unique_ptr<TKeyboardPlay> FKeys;
};

}  // namespace spades
