// The classic computer at a table of other rules. At the table's own rules it
// bids and plays exactly as ComputeBid and ChooseCard say; otherwise it starts
// from them and then does what the bidding variant forces and what a partner
// asks for: it counts the partner's bid, never bids a second Nil, lets a
// partner's winning card stand, covers a partner's Nil and sets the other
// side's Nil while its own contract is safe.
#pragma once

#include "PlayerU.h"

namespace spades {

class TSpadesGame;

// The seat's bid (BlindNilBid for Blind Nil); player.FBid is left at its own count.
int ClassicBid(const TSpadesGame& game, TPlayer& player);
// The same for a seat on any table, told whether its partner has bid (the
// partner's FBid then holds that bid).
int ClassicBidBeside(TPlayer& player, bool mateHasBid);
int ClassicSlotUnderRules(TPlayer& player);
// The slot of the card the seat plays now. The table's own rules, by far the
// most played, take the short way.
inline int ClassicSlot(TPlayer& player)
{
    return player.FTable.Rules == TTableRules{} ? player.ChooseCard() : ClassicSlotUnderRules(player);
}

}  // namespace spades
