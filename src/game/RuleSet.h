// The rules a game is played by, in the one place the hand cycle asks them:
// which bids stand, whose cards the table checks and how, who takes a trick,
// how a hand scores and when the game is won.
#pragma once

#include "Rules.h"
#include "SeatKind.h"

namespace spades {

struct TRuleSet {
    int WinScore = 250;

    // Nil (0) up to thirteen tricks, whatever the others bid.
    static constexpr bool BidAllowed(int bid) { return bid >= 0 && bid <= 13; }
    // The table checks a person's cards; a computer seat's strategy is trusted.
    static constexpr bool ChecksCards(TSeatKind kind) { return IsPerson(kind); }
    TPlayVerdict Check(const TTableState& table, const TPlayer& seat, int card) const
    {
        return CheckPlay(table, seat, card);
    }
    int TrickTaker(const TTableState& table) const { return TrickWinner(table); }
    TScoreResult Score(TTableState& table) const { return ScoreHand(table, WinScore); }
};

}  // namespace spades
