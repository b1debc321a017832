// Who decides for a seat that the computer plays: asked for a bid or for the
// slot of the card to play, given the seat (whose table is its FTable).
#pragma once

#include <functional>
#include <string_view>

#include "Expert.h"
#include "ExpertView.h"
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
    // Where only what the seat has seen is at hand (a joined table), a brain may
    // read it as the Expert's view: the bid, or the card value to play.
    std::function<int(const TExpertView&)> ViewBid;
    std::function<int(const TExpertView&)> ViewCard;
};

TSeatBrain ClassicBrain();
// The sampling player. The host, which holds the game, lets it read what its seat
// has seen; a joined table builds the same view from what the host sent it. One
// decision at a time: the player's playout table is not shared between threads.
TSeatBrain ExpertBrain(const TExpertSettings& settings = {});
// "classic" or "expert"; an empty brain for any other word.
TSeatBrain BrainNamed(std::string_view name);

}  // namespace spades::net
