// Which cards a seat may lay, on sets of cards of any layout: the rule is the
// same whether a set counts cards by value or by rank within each suit.
#pragma once

#include <cstdint>

namespace spades {

// When a spade may be led: the table's rule waits until spades are broken,
// unless the leader holds nothing else.
enum class TLeadRule : uint8_t { AfterBroken, Anytime };

// held: the seat's cards; ledSuit: the cards of the suit led, or 0 when the seat
// leads; spades: every spade; spadesMayLead: broken, or a rule that never waits.
constexpr uint64_t LegalOf(uint64_t held, uint64_t ledSuit, uint64_t spades, bool spadesMayLead)
{
    if (ledSuit != 0) {
        const uint64_t follow = held & ledSuit;
        return follow ? follow : held;
    }
    const uint64_t side = held & ~spades;
    return spadesMayLead || side == 0 ? held : side;
}

}  // namespace spades
