#include "ExpertSampler.h"

#include <algorithm>

namespace spades {

namespace {
size_t At(int index) { return static_cast<size_t>(index); }
}  // namespace

uint64_t MixSeed(std::initializer_list<uint64_t> parts)
{
    uint64_t seed = 0x2545F4914F6CDD1Dull;
    for (uint64_t part : parts) {
        TExpertRandom step(seed ^ part);
        seed = step.Next();
    }
    return seed;
}

TDealNeeds NeedsOf(const TExpertView& view, const TKnowledge& known)
{
    TDealNeeds needs;
    needs.Seat = view.Seat;
    needs.Unseen = known.Unseen;
    needs.VoidSuits = known.VoidSuits;
    for (int seat = North; seat <= West; ++seat)
        needs.Count[At(seat)] = seat == view.Seat ? 0 : known.HeldCount[At(seat)];
    return needs;
}

bool DealUnseen(const TDealNeeds& needs, TExpertRandom& random, TLayout& layout)
{
    // The suits open to the fewest seats go first, so that a seat which is the
    // only home for a suit still has room for it.
    std::array<int, 4> suits = {Spades, Hearts, Clubs, Diamonds};
    std::array<int, 5> homes{};
    for (int suit : suits)
        for (int seat = North; seat <= West; ++seat)
            homes[At(suit)] += needs.Count[At(seat)] > 0 && !(needs.VoidSuits[At(seat)] & (1u << suit));
    std::stable_sort(suits.begin(), suits.end(), [&](int a, int b) { return homes[At(a)] < homes[At(b)]; });

    for (int attempt = 0; attempt < 64; ++attempt) {
        layout = {};
        std::array<int, 5> room = needs.Count;
        bool stuck = false;
        for (int suit : suits) {
            for (TCardSet cards = needs.Unseen & SuitCards(suit); cards && !stuck; cards &= cards - 1) {
                const int card = std::countr_zero(cards) + 1;
                int total = 0;
                for (int seat = North; seat <= West; ++seat)
                    if (!(needs.VoidSuits[At(seat)] & (1u << suit)))
                        total += room[At(seat)];
                if (total == 0) {
                    stuck = true;
                    break;
                }
                // A seat is chosen in proportion to its room: without voids this
                // is an even deal of the unseen cards.
                int pick = static_cast<int>(random.Below(static_cast<uint32_t>(total)));
                for (int seat = North; seat <= West; ++seat) {
                    if (needs.VoidSuits[At(seat)] & (1u << suit))
                        continue;
                    pick -= room[At(seat)];
                    if (pick < 0) {
                        layout[At(seat)] |= CardBit(card);
                        --room[At(seat)];
                        break;
                    }
                }
            }
        }
        if (!stuck)
            return std::all_of(room.begin() + 1, room.end(), [](int r) { return r == 0; });
    }
    return false;
}

}  // namespace spades
