// The table's random generator: a 32-bit linear congruential generator, seeded
// once per run from the time of day.
#pragma once

#include <cstdint>

namespace spades {

class TRandom {
public:
    explicit TRandom(uint32_t seed = 0) : FSeed(seed) {}

    static constexpr uint32_t Multiplier = 134775813u;

    // A number 0..n-1: the high 32 bits of the new seed times n.
    uint32_t Below(uint32_t n)
    {
        FSeed = FSeed * Multiplier + 1u;
        return static_cast<uint32_t>((static_cast<uint64_t>(FSeed) * n) >> 32);
    }

    uint32_t Seed() const { return FSeed; }
    void SetSeed(uint32_t seed) { FSeed = seed; }

    // Milliseconds since midnight UTC, the start-up seed.
    static uint32_t SeedFromClock();

private:
    uint32_t FSeed;
};

}  // namespace spades
