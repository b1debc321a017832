// Where the order of a hand's deck comes from. The table shuffles with its own
// generator; a replay lays a recorded order; a game with players at other
// machines shuffles from a source none of them can guess.
#pragma once

#include <array>
#include <cstdint>

#include "Deck.h"
#include "Random.h"

namespace spades {

using TDeckOrder = std::array<uint8_t, 53>;  // positions 1..52, as the deck holds them

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
    explicit TFixedDeal(const TDeckOrder& order) : FOrder(order) {}
    void Order(TDeck& deck) override { deck.FDeck = FOrder; }

private:
    TDeckOrder FOrder;
};

// A uniform Fisher-Yates shuffle of a full deck, fresh every hand, from uniform
// 32-bit words; nothing of the last hand's order carries over.
class TShuffledDeals : public TDealSource {
public:
    void Order(TDeck& deck) final { deck.FDeck = NextDeck(); }
    virtual TDeckOrder NextDeck();

protected:
    virtual uint32_t Word() = 0;

private:
    // 0..n-1, every value equally likely: words past the last whole multiple of n are drawn again.
    uint32_t Below(uint32_t n);
};

}  // namespace spades
