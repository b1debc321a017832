#include "DealSource.h"

#include <cstddef>
#include <cstdint>
#include <utility>

namespace spades {

uint32_t TShuffledDeals::Below(uint32_t n)
{
    const uint32_t limit = UINT32_MAX - UINT32_MAX % n;
    for (;;) {
        const uint32_t word = Word();
        if (word < limit)
            return word % n;
    }
}

TDeckOrder TShuffledDeals::NextDeck()
{
    TDeckOrder deck{};
    for (size_t i = 1; i <= 52; ++i)
        deck[i] = static_cast<uint8_t>(i);
    for (uint32_t i = 52; i >= 2; --i)
        std::swap(deck[i], deck[1 + Below(i)]);
    return deck;
}

}  // namespace spades
