// The options a table is played by. Every default is the table's own game:
// four seats each scoring alone, the 100-bag limit, Nil worth 100.
#pragma once

#include <cstdint>

#include "LeadRule.h"

namespace spades {

// Individual: every seat scores alone. Partnership: North and South against
// East and West, partners sitting opposite.
enum class TVariant : uint8_t { Individual, Partnership };
// TableLimit: from 100 bags on every hand costs 100 points. TenBags: every 10
// bags cost 100 points and are taken off. None: bags cost nothing.
enum class TBagRule : uint8_t { TableLimit, TenBags, None };
enum class TNilValue : uint8_t { Hundred, Fifty };
// Blind Nil (bid before one's cards are seen, worth 200) for a side at least
// 100 points behind.
enum class TBlindNil : uint8_t { Off, WhenBehind };
// Minus200: a score of -200 or less ends the game.
enum class TLoseScore : uint8_t { Off, Minus200 };
// Clean: on the first trick no spade may be played by a seat holding another card.
enum class TFirstTrick : uint8_t { Open, Clean };
// Mirror: bid one's number of spades. Whiz: Nil or one's number of spades.
// Suicide (partnership): exactly one partner of each side bids Nil.
enum class TBidding : uint8_t { Normal, Mirror, Whiz, Suicide };

// What the seats need to know of the rules while they bid and play.
struct TTableRules {
    TVariant Variant = TVariant::Individual;
    TLeadRule Lead = TLeadRule::AfterBroken;
    TFirstTrick FirstTrick = TFirstTrick::Open;
    TBidding Bidding = TBidding::Normal;
    TBlindNil BlindNil = TBlindNil::Off;
    bool operator==(const TTableRules&) const = default;
    bool Partnership() const { return Variant == TVariant::Partnership; }
};

// A bid of Nil made before seeing one's cards; recorded as Nil.
constexpr int BlindNilBid = -1;

constexpr int PartnerOf(int seat) { return (seat + 1) % 4 + 1; }
// North and South are side 1, East and West side 2.
constexpr int SideOf(int seat) { return seat % 2 == 1 ? 1 : 2; }

}  // namespace spades
