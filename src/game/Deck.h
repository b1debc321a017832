// The deck the table shuffles and deals. It is filled once per run; every
// shuffle permutes the order the previous hand left behind.
#pragma once

#include <array>
#include <cstdint>

#include "Random.h"

namespace spades {

struct TTableState;

class TDeck {
public:
    TDeck() { Fill(); }

    // FDeck[i] = i for i = 1..52.
    void Fill();
    // Ten passes; each swaps every position with one of 1..51 (never 52).
    void ShuffleDeck(TRandom& random);
    // Shuffles, then gives one card at a time to North, East, South and West.
    void DealHands(TRandom& random, TTableState& table);
    // Gives out the deck in its present order, one card at a time from North.
    void Deal(TTableState& table);

    std::array<uint8_t, 53> FDeck{};  // positions 1..52
    int FDealPos = 1;
};

}  // namespace spades
