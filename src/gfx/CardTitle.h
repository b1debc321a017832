// What a card is called when it is read aloud: "Queen of Hearts", "card back".
#pragma once

#include <QString>
#include <cstdint>

namespace spades {

// A face by rank and suit, "Joker", "card back" for the backs, empty for no card.
QString CardTitle(uint8_t value);

}  // namespace spades
