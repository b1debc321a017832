// Who decides for a seat that the computer plays: asked for a bid or for the
// slot of the card to play, given the seat (whose table is its FTable).
#pragma once

#include <functional>
#include <string_view>

#include "PlayerU.h"

namespace spades {
class TSpadesGame;
}

namespace spades::net {

struct TSeatBrain {
    std::function<int(TPlayer&)> Bid;         // 0 (Nil)..13
    std::function<int(TPlayer&)> ChooseSlot;  // 1..13
    // Where the whole game is at hand (the host), a brain may read what the seat
    // has seen of it: the bid, or the card value to play.
    std::function<int(const TSpadesGame&, int seat)> GameBid;
    std::function<int(const TSpadesGame&, int seat)> GameCard;
};

TSeatBrain ClassicBrain();
// The sampling player. The host, which holds the game, lets it read what its seat
// has seen; a joined table, which holds only its copy of the table, plays the
// classic way.
TSeatBrain ExpertBrain();
// "classic" or "expert"; an empty brain for any other word.
TSeatBrain BrainNamed(std::string_view name);

}  // namespace spades::net
