// "The rest are mine": a seat to play that takes every trick left whatever the
// others do may end the hand with them, played out in the solver's order.
#pragma once

#include <vector>

#include "DoubleDummy.h"

namespace spades {

class TSpadesGame;

// The hand in play as it lies, every seat's cards open.
TDDPosition OpenPosition(const TSpadesGame& game);
// The rest of the hand, card by card, when the seat to play takes every trick
// left against any defence; empty when it cannot, or when it is not its turn.
std::vector<TPlayRecord> ClaimLine(TDoubleDummy& solver, const TSpadesGame& game, int seat);

}  // namespace spades
