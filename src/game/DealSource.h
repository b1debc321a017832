// Where the order of a hand's deck comes from. The table shuffles with its own
// generator; a replay lays a recorded order; a hosted game may bring its own.
#pragma once

#include <array>
#include <cstdint>

#include "Deck.h"
#include "Random.h"

namespace spades {

class TDealSource {
public:
    virtual ~TDealSource() = default;
    // Puts the deck in the order the next hand is dealt from (positions 1..52).
    virtual void Order(TDeck& deck) = 0;
};

// The table's own shuffle, which permutes the order the last hand left behind.
class TTableShuffle final : public TDealSource {
public:
    explicit TTableShuffle(TRandom& random) : FRandom(random) {}
    void Order(TDeck& deck) override { deck.ShuffleDeck(FRandom); }

private:
    TRandom& FRandom;
};

// A deck order given in full, as a hand was once dealt.
class TFixedDeal final : public TDealSource {
public:
    explicit TFixedDeal(const std::array<uint8_t, 53>& order) : FOrder(order) {}
    void Order(TDeck& deck) override { deck.FDeck = FOrder; }

private:
    std::array<uint8_t, 53> FOrder;
};

}  // namespace spades
