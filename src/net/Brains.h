// Who decides for a seat that the computer plays: asked for a bid or for the
// slot of the card to play, given the seat (whose table is its FTable).
#pragma once

#include <functional>
#include <string_view>

#include "PlayerU.h"

namespace spades::net {

struct TSeatBrain {
    std::function<int(TPlayer&)> Bid;         // 0 (Nil)..13
    std::function<int(TPlayer&)> ChooseSlot;  // 1..13
};

TSeatBrain ClassicBrain();
// The stronger player. Until its engine is wired in here, it plays the classic way.
TSeatBrain ExpertBrain();
// "classic" or "expert"; an empty brain for any other word.
TSeatBrain BrainNamed(std::string_view name);

}  // namespace spades::net
