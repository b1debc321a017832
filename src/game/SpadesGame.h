// One table's game: the seats, the deck, the turn order and the steps of a hand.
// The window drives these steps with pauses and dialogs between them; the
// simulator drives the very same steps back to back.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "DealSource.h"
#include "Deck.h"
#include "PlayerU.h"
#include "Random.h"
#include "RuleSet.h"
#include "Rules.h"

namespace spades {

// Where the table lays the k-th card of a trick: inside the trick area at
// (246, 166), 60 pixels apart, so consecutive cards overlap.
constexpr int CardWidth = 71, CardHeight = 96;
constexpr TCardRect TrickPlaceRect(int place, int areaLeft = 246, int areaTop = 166)
{
    return {areaLeft + 8 + 60 * (place - 1), areaTop + 18, CardWidth, CardHeight};
}

class TSpadesGame {
public:
    explicit TSpadesGame(TCardHost& host, uint32_t seed = 0);

    // A new game: every seat reset; people's seats face up; South first.
    void NewGame(const std::array<bool, 5>& human);
    // A new game whose first hand is dealt as the present one was, bid first by the same seat.
    void NewGameSameDeal(const std::array<bool, 5>& human);

    // Start of a hand, up to the bidding: table flags and places cleared, the
    // deal, every hand sorted and laid out, the next hand's first seat noted.
    void BeginHand();
    // The same, with the deck ordered by the given source.
    void BeginHand(TDealSource& source);
    // Hands dealt since the table was made: tells one hand from the next.
    uint32_t HandsDealt() const { return FHandsDealt; }
    int Bidder(int i) const { return FTurnOrder[static_cast<size_t>(i)]; }
    void ComputerBid(int seat);
    // A person's bid, kept within Nil..13 (BlindNilBid: Nil, bid blind).
    void PersonBid(int seat, int bid);
    // The first seat of the bidding leads.
    void StartPlay() { FTurn = 1; }

    bool TrickFull() const { return FTurn > 4; }
    int SeatToPlay() const { return FTurnOrder[static_cast<size_t>(FTurn)]; }
    // The seat to play is a computer: it chooses, and its card goes to the table.
    void PlayComputerTurn();
    // The seat to play is a computer and has chosen this slot: its card goes to the table.
    void PlayComputerCard(int slot);
    TPlayVerdict CheckPersonCard(int seat, int slot) const;
    // A person's legal card goes to the table.
    void PlayPersonCard(int seat, int slot);
    // The seat's card of that value goes to the table, as a person's would.
    void PlaySeatCard(int seat, int card);

    // The trick's winner takes it; returns the winner's seat.
    int ResolveTrick();
    // The given seat takes the trick; returns it.
    int GiveTrick(int winner);
    // The four cards leave the table: backs shown, controls hidden.
    void HideTrickCards();
    void ClearTrick();
    // The winner leads the next trick.
    void StartNextTrick(int winner);
    bool HandOver() const { return spades::HandOver(Table); }
    TScoreResult ScoreHand() { return FRules.Score(Table); }
    // After a hand without a winner: the next seat clockwise begins.
    void PrepareNextHand() { FTurnOrder = TurnOrderFrom(FNextFirstSeat); }

    // Who laid which card this hand, in order of play, and how many seats have
    // bid: what every seat has seen, for players that reason about it.
    std::array<TPlayRecord, 52> FPlays{};
    int FPlayCount = 0;
    int FBidCount = 0;
    TTurnOrder FHandOrder = NewGameOrder;  // the bidding order; its first seat leads

    TTableState Table;
    TDeck Deck;
    TRandom Random;
    TTurnOrder FTurnOrder = NewGameOrder;
    int FNextFirstSeat = South;
    TRuleSet FRules;  // of the game in progress: the hand cycle sets them at New Game
    int FTurn = 1;
    // When set, the next BeginHand deals this deck order (positions 1..52) instead
    // of shuffling: a hand played again as it was once dealt.
    std::optional<std::array<uint8_t, 53>> NextDeal;

    // A hand played again from its record: computer seats take their bids and
    // cards from here instead of choosing. New Game drops it.
    struct TScript {
        std::array<int, 5> Bids{};  // by seat, 0 is Nil
        std::vector<int> Plays;     // card values in order of play
        size_t Next = 0;
    };
    std::optional<TScript> Script;

private:
    void LayOnTable(int seat, int slot, int card, TCardControl* control);
    int ScriptedSlot(TPlayer& player);

    TCardHost& FHost;
    uint32_t FHandsDealt = 0;
};

}  // namespace spades
