// The rules a game is played by, in the one place the hand cycle asks them:
// which bids stand, whose cards the table checks and how, who takes a trick,
// how a hand scores and when the game is won.
#pragma once

#include <string>

#include "RuleOptions.h"
#include "Rules.h"
#include "SeatKind.h"

namespace spades {

// The bids a seat may make now: bit b for b tricks (0 is Nil), and BlindNilBit
// when Blind Nil is open to it.
constexpr unsigned BlindNilBit = 1u << 14;
constexpr unsigned EveryBid = (1u << 14) - 1;  // Nil and 1 to 13
constexpr int BlindNilBehind = 100;
unsigned AllowedBids(const TTableRules& rules, const TTableState& table, int seat, bool partnerHasBid);
// The bid of Nil..13 among allowed nearest to wanted, the lower of two as near;
// wanted itself when none is allowed.
int NearestAllowedBid(unsigned allowed, int wanted);
// How far the seat's side trails the best of the others.
int PointsBehind(const TTableState& table, int seat, bool partnership);

struct TRuleSet {
    int WinScore = 250;
    TTableRules Table;  // what the seats see while they bid and play
    TBagRule Bags = TBagRule::TableLimit;
    TNilValue Nil = TNilValue::Hundred;
    TLoseScore Lose = TLoseScore::Off;
    bool operator==(const TRuleSet&) const = default;
    // The table's own rules with another score to win.
    static TRuleSet WithWinScore(int score)
    {
        TRuleSet rules;
        rules.WinScore = score;
        return rules;
    }

    static constexpr int LoseScore = -200;
    static constexpr int BlindNilPoints = 200;
    int NilPoints() const { return Nil == TNilValue::Fifty ? 50 : 100; }
    bool Partnership() const { return Table.Partnership(); }

    bool BidAllowed(const TTableState& table, int seat, bool partnerHasBid, int bid) const
    {
        const unsigned bit = bid == BlindNilBid ? BlindNilBit : bid >= 0 && bid <= 13 ? 1u << bid : 0u;
        return (AllowedBids(Table, table, seat, partnerHasBid) & bit) != 0;
    }
    // The table checks a person's cards; a computer seat's strategy is trusted
    // at the table's own rules, the only ones every strategy knows.
    bool ChecksCards(TSeatKind kind) const { return IsPerson(kind) || !(Table == TTableRules{}); }
    // The lead and first-trick options travel with the table (TTableState::Rules).
    TPlayVerdict Check(const TTableState& table, const TPlayer& seat, int card) const
    {
        return CheckPlay(table, seat, card);
    }
    int TrickTaker(const TTableState& table) const { return TrickWinner(table); }
    TScoreResult Score(TTableState& table) const;

    // What one seat's own bid scores: a contract, Nil or Blind Nil.
    int SeatPoints(int bid, int tricks, bool blind) const;
    // Adds a hand's bags to the total; how many penalties they cost.
    int ChargeBags(int& totalBags) const;
};

// "North-South" (side 1) or "East-West" (side 2).
std::string SideName(int side);

// A side's hand so far: its contract (the partners' non-Nil bids together), the
// tricks of both partners (a Nil bidder's count too) and the bags they make.
struct TSideTally {
    int Bid = 0, Tricks = 0, Bags = 0;
};
TSideTally SideTally(const TTableState& table, int side);

}  // namespace spades
