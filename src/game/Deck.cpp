#include "Deck.h"

#include <utility>

#include "PlayerU.h"

namespace spades {

void TDeck::Fill()
{
    for (int i = 1; i <= 52; ++i)
        FDeck[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    FDealPos = 1;
}

namespace {
constexpr int ShufflePasses = 10;
// The generator's step taken four times at once: x -> Mul4 * x + Add4.
constexpr uint32_t Mul = TRandom::Multiplier;
constexpr uint32_t Mul4 = Mul * Mul * Mul * Mul;
constexpr uint32_t Add4 = Mul * Mul * Mul + Mul * Mul + Mul + 1u;
static_assert(52 % 4 == 0, "a pass is a whole number of rounds of the four streams");
}  // namespace

void TDeck::ShuffleDeck(TRandom& random)
{
    // The draws come from the same sequence of seeds as one Below(51) after
    // another, taken as four interleaved streams so that the multiplications
    // overlap instead of each waiting for the one before, and overlap the swaps.
    std::array<uint32_t, 4> seeds{};
    uint32_t seed = random.Seed();
    for (uint32_t& s : seeds)
        s = seed = seed * Mul + 1u;
    // A local copy: stores into the member could otherwise be taken to alias the seeds.
    std::array<uint8_t, 53> deck = FDeck;
    for (int pass = 0; pass < ShufflePasses; ++pass) {
        for (size_t i = 1; i <= 52; i += 4) {
            for (size_t lane = 0; lane < 4; ++lane) {
                const auto j = static_cast<size_t>(1 + ((static_cast<uint64_t>(seeds[lane]) * 51) >> 32));
                std::swap(deck[i + lane], deck[j]);
            }
            seed = seeds[3];
            for (uint32_t& s : seeds)
                s = s * Mul4 + Add4;
        }
    }
    random.SetSeed(seed);
    FDeck = deck;
    FDealPos = 1;
}

void TDeck::DealHands(TRandom& random, TTableState& table)
{
    ShuffleDeck(random);
    Deal(table);
}

void TDeck::Deal(TTableState& table)
{
    FDealPos = 1;
    while (FDealPos < 53) {
        for (int seat = North; seat <= West && FDealPos < 53; ++seat) {
            table.Player(seat).AddCard(FDeck[static_cast<size_t>(FDealPos)]);
            ++FDealPos;
        }
    }
}

}  // namespace spades
