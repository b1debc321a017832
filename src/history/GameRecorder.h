// Turns the game's steps into history records: a game when it starts, a hand
// when it is dealt and again when it is scored, the cards trick by trick.
// A write the file refuses ends the history for the run; the one message for
// the user is handed out once.
#pragma once

#include <QString>
#include <optional>

#include "HistoryStore.h"
#include "SpadesGame.h"

namespace spades {

// The deck as it was dealt.
std::array<int, 52> DealOf(const TDeck& deck);
// And back, as the game wants it for the next deal.
std::array<uint8_t, 53> DeckOrder(const std::array<int, 52>& deal);

class TGameRecorder {
public:
    explicit TGameRecorder(THistoryStore& store) : FStore(store) {}

    bool Recording() const { return FStore.IsOpen() && FGame != 0; }
    qint64 GameId() const { return FGame; }

    // A new game with these seats; any unfinished one is closed as abandoned.
    void GameStarted(const TSpadesGame& game, const std::array<TGameSeat, 5>& seats);
    // Goes on recording a game already in the file (a resumed one).
    void Continue(qint64 gameId, int handsScored);
    // Where the recording stands: the game and its open hand.
    struct TPosition {
        qint64 Game = 0;
        THandRecord Hand;
        bool HandOpen = false;
    };
    TPosition Position() const { return {FGame, FHand, FHandOpen}; }
    // Stops recording without touching the file (the table leaves the game).
    void Detach() { FGame = 0; }
    // Goes on recording from a position left earlier.
    void Reattach(const TPosition& position)
    {
        FGame = FStore.IsOpen() ? position.Game : 0;
        FHand = position.Hand;
        FHandOpen = position.HandOpen;
    }
    void HandDealt(const TSpadesGame& game);
    // The four cards of a full trick, before they leave the table.
    void TrickDone(const TTableState& table);
    void HandScored(const TSpadesGame& game, int winnerSeat);
    // A person took a step back: the card, or 0 for a bid. The game is marked at once.
    void Undone(int card);
    void GameAbandoned();

    // The message for the user after the history failed; empty once taken.
    QString TakeProblem();

private:
    template <typename TWork>
    void Write(TWork&& work);

    THistoryStore& FStore;
    qint64 FGame = 0;
    THandRecord FHand;
    bool FHandOpen = false;
    QString FProblem;
};

// The seat names and types of a table, as a game record wants them.
std::array<TGameSeat, 5> SeatsOf(const TTableState& table);

}  // namespace spades
