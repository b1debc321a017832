// Guessed layouts of the cards a seat cannot see: each other seat gets exactly
// as many cards as it holds, and never a suit it has shown it is out of.
#pragma once

#include <array>
#include <cstdint>

#include "ExpertPlayout.h"
#include "ExpertView.h"

namespace spades {

// The sampling player's own stream (SplitMix64), so that its guesses never move
// the table's generator and the same game always gives the same guesses.
class TExpertRandom {
public:
    explicit TExpertRandom(uint64_t seed) : FState(seed) {}
    uint64_t Next()
    {
        uint64_t z = (FState += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0..n-1
    uint32_t Below(uint32_t n) { return static_cast<uint32_t>(((Next() >> 32) * n) >> 32); }
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

private:
    uint64_t FState;
};

// Mixes numbers into one seed.
uint64_t MixSeed(std::initializer_list<uint64_t> parts);

struct TDealNeeds {
    int Seat = 0;                      // the seat that guesses; it gets nothing
    TCardSet Unseen = 0;               // the cards to place
    std::array<int, 5> Count{};        // how many each seat takes
    std::array<uint8_t, 5> VoidSuits{};  // bit s: no card of suit s for that seat
};
TDealNeeds NeedsOf(const TExpertView& view, const TKnowledge& known);

// Places every unseen card once. False when no layout was found; that needs
// void marks that no real deal can meet.
bool DealUnseen(const TDealNeeds& needs, TExpertRandom& random, TLayout& layout);

}  // namespace spades
