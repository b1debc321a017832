// Where a hand's deal comes from when it must not come from the table's own
// generator: a game with players at other machines, who must not be able to
// work the other hands out from their own.
#pragma once

#include <array>
#include <cstdint>

namespace spades {

using TDeckOrder = std::array<uint8_t, 53>;  // positions 1..52, as the deck holds them

class TDealSource {
public:
    virtual ~TDealSource() = default;
    // A fresh order of all 52 cards for the next hand.
    virtual TDeckOrder NextDeck() = 0;
};

// A uniform Fisher-Yates shuffle of a full deck, from uniform 32-bit words.
class TShuffledDeals : public TDealSource {
public:
    TDeckOrder NextDeck() override;

protected:
    virtual uint32_t Word() = 0;

private:
    // 0..n-1, every value equally likely: words past the last whole multiple of n are drawn again.
    uint32_t Below(uint32_t n);
};

}  // namespace spades
