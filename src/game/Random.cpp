#include "Random.h"

#include <chrono>

namespace spades {

uint32_t TRandom::SeedFromClock()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto midnight = floor<days>(now);
    return static_cast<uint32_t>(duration_cast<milliseconds>(now - midnight).count());
}

}  // namespace spades
