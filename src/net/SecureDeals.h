// Deals for a table with players at other machines: shuffled from the system's
// secure generator, so that no hand tells anything of another.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "DealSource.h"

namespace spades::net {

class TSecureDeals : public TShuffledDeals {
protected:
    uint32_t Word() override;

private:
    std::array<uint32_t, 64> FWords{};
    size_t FNext = 64;  // FWords used up
};

// Bytes from the system's secure generator (getrandom); never returns short.
void SecureRandomBytes(void* data, size_t size);

}  // namespace spades::net
