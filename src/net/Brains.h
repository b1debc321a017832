// Who decides for a seat at a joined table, from the table's copy of the game:
// asked for a bid or for the slot of the card to play, given the seat (whose
// table is its FTable). The host's own seats have seat controllers instead.
#pragma once

#include <functional>
#include <string_view>

#include "Expert.h"
#include "ExpertView.h"
#include "PlayerU.h"

namespace spades::net {

struct TSeatBrain {
    std::function<int(TPlayer&)> Bid;         // 0 (Nil)..13
    std::function<int(TPlayer&)> ChooseSlot;  // 1..13
    // Where only what the seat has seen is at hand (a joined table), a brain may
    // read it as the Expert's view: the bid, or the card value to play.
    std::function<int(const TExpertView&)> ViewBid;
    std::function<int(const TExpertView&)> ViewCard;
};

TSeatBrain ClassicBrain();
// The sampling player, over the view a joined table builds from what the host
// sent it. One decision at a time: the player's playout table is not shared
// between threads.
TSeatBrain ExpertBrain(const TExpertSettings& settings = {});
// "classic" or "expert"; an empty brain for any other word.
TSeatBrain BrainNamed(std::string_view name);

}  // namespace spades::net
