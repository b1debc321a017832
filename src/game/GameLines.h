// The running account of a game, one line per hand and one for its end, as the
// simulator prints it and the host reports it.
#pragma once

#include <string>

#include "PlayerU.h"

namespace spades {

// "hand 3.7 scores 120 -40 251 87": the scores of seats 1..4 after the hand.
std::string HandScoresLine(int gameNumber, int handNumber, const TTableState& table);
// "game 3 winner South after 7 hands"
std::string GameWinnerLine(int gameNumber, const std::string& winnerName, int hands);

}  // namespace spades
