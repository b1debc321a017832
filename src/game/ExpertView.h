// What one seat may know during a hand: its own cards, the bids made so far,
// every card played and by whom, the tricks and the game's scores. It is built
// from the game without reading any other seat's hand.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "PlayerU.h"
#include "RuleSet.h"
#include "Rules.h"
#include "SeatKind.h"

namespace spades {

class TSpadesGame;

// Sets of cards: bit v-1 stands for card value v (1..52).
using TCardSet = uint64_t;
constexpr TCardSet CardBit(int card) { return TCardSet{1} << (card - 1); }
constexpr TCardSet SuitCards(int suit) { return TCardSet{0x1FFF} << (13 * (suit - 1)); }
constexpr TCardSet AllCards = (TCardSet{1} << 52) - 1;
constexpr int CountCards(TCardSet set) { return std::popcount(set); }

struct TExpertView {
    int Seat = South;
    std::array<TSeatKind, 5> Kind{};
    TCardSet Held = 0;                 // the seat's cards still in hand
    TTurnOrder Order = NewGameOrder;   // the bidding order; its first seat leads
    int BidCount = 0;                  // seats Order[1..BidCount] have bid
    std::array<int, 5> Bid{};          // 0 is Nil; meaningful once the seat has bid
    std::array<int, 5> Tricks{};
    std::array<int, 5> Score{};
    std::array<int, 5> TotalBags{};
    using TPlay = TPlayRecord;
    std::array<TPlay, 52> Plays{};
    int PlayCount = 0;
    int WinScore = 250;
    uint32_t GameSeed = 0;  // the table generator's state, the root of the seat's own stream
    // The game's rules; the score to win is WinScore's.
    TRuleSet Rules;
    std::array<bool, 5> BlindNil{};  // by seat: its Nil was bid blind

    bool HasBid(int seat) const;
    // The table's own rules, whatever the score to win: the Expert's first game.
    bool OwnRules() const { return Rules == TRuleSet::WithWinScore(Rules.WinScore); }
    TRuleSet GameRules() const
    {
        TRuleSet rules = Rules;
        rules.WinScore = WinScore;
        return rules;
    }
};

// The view of seat from the game as it stands.
TExpertView ViewOf(const TSpadesGame& game, int seat);

// What follows from a view: who may still hold what.
struct TKnowledge {
    std::array<TCardSet, 5> PlayedBy{};   // cards each seat has laid this hand
    std::array<uint8_t, 5> VoidSuits{};   // bit s: the seat has shown it holds no suit s
    std::array<int, 5> HeldCount{};       // cards each seat still holds
    TCardSet Dealt = 0;                   // the viewing seat's thirteen cards
    TCardSet Unseen = 0;                  // cards the viewing seat cannot place
    int TrickStart = 0;                   // index into Plays of the current trick's lead
    int Leader = 0;                       // seat leading the current trick
    int ToPlay = 0;                       // seat whose turn it is
    bool SpadesBroken = false;
};
TKnowledge KnowledgeOf(const TExpertView& view);

// The cards the seat may lay now, by the rules a person obeys at the table's
// own lead and first trick (TPlayoutTable::Lawful for the others).
TCardSet LegalCards(const TExpertView& view, const TKnowledge& known);

}  // namespace spades
