// Everything that follows a game hears of it here, in the order it happens: the
// play log, the history, the host's messages, the table's drawing, sounds and
// announcements, the simulator's lines. Each event comes after the game's state
// has changed, unless its name says it comes before.
#pragma once

#include <cstdint>

#include "Rules.h"

namespace spades {

class TSpadesGame;

// What the hand cycle waits for.
enum class TWaitKind : uint8_t {
    Nothing,   // no game has begun
    Bid,       // Seat's bid for Turn
    Card,      // Seat's card for Turn
    Pause,     // a pause of the given kind, ended by Resume(Turn)
    HandOver,  // the hand is scored; NextHand deals the next one
    GameOver,  // a seat has won, or the game was given up
};

// Card: after a card, with more of the trick to come. LastCard: after the fourth.
// TrickWon: the winner is known and shown. TrickCleared: the cards have left the
// table, before the winner leads.
enum class TPauseKind : uint8_t { Card, LastCard, TrickWon, TrickCleared };

struct TWait {
    TWaitKind Kind = TWaitKind::Nothing;
    int Seat = 0;         // who must answer, or who played the card before a pause
    uint32_t Turn = 0;    // every question and pause has its own number
    TPauseKind Pause = TPauseKind::Card;
};

// The events, one bit each, for an observer that hears only some of them.
enum class TGameEvent : uint8_t {
    GameStarted, HandDealt, TurnBegins, BidMade, PlayBegins, CardChosen, CardPlayed,
    TrickFull, TrickWon, TrickCleared, HandEnded, HandScored, GameOver, Count
};
using TGameEvents = uint32_t;
constexpr TGameEvents EventBit(TGameEvent event) { return TGameEvents{1} << static_cast<unsigned>(event); }
constexpr TGameEvents AllGameEvents = EventBit(TGameEvent::Count) - 1;

class TGameObserver {
public:
    virtual ~TGameObserver() = default;
    // After New Game, before the first deal.
    virtual void GameStarted(const TSpadesGame&, int /*gameNumber*/) {}
    // Dealt and sorted, before the bidding.
    virtual void HandDealt(const TSpadesGame&, int /*handNumber*/) {}
    // A seat is asked for its bid or its card.
    virtual void TurnBegins(const TSpadesGame&, const TWait&) {}
    virtual void BidMade(const TSpadesGame&, int /*seat*/) {}
    // Every seat has bid; the first seat leads.
    virtual void PlayBegins(const TSpadesGame&) {}
    // Before: the card is accepted and still in the seat's hand.
    virtual void CardChosen(const TSpadesGame&, int /*seat*/, int /*card*/) {}
    // The card lies on the place (1..4) of the trick.
    virtual void CardPlayed(const TSpadesGame&, int /*seat*/, int /*card*/, int /*place*/) {}
    // Four cards on the table, before the trick is counted.
    virtual void TrickFull(const TSpadesGame&) {}
    // The trick is counted for the winner; its cards still lie there.
    virtual void TrickWon(const TSpadesGame&, int /*winner*/) {}
    // The four cards have been turned over and taken off the table.
    virtual void TrickCleared(const TSpadesGame&, int /*winner*/) {}
    // The thirteenth trick is taken; before the scoring.
    virtual void HandEnded(const TSpadesGame&) {}
    virtual void HandScored(const TSpadesGame&, const TScoreResult&) {}
    // winnerSeat 0: the game was given up before anyone won.
    virtual void GameOver(const TSpadesGame&, int /*winnerSeat*/) {}
};

}  // namespace spades
