// The table's key, from its join code: scrypt, slow and memory-hard, so that a
// recorded handshake cannot be used to try codes quickly. A fresh random salt
// per table makes every table's key its own; the host derives it once.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace spades::net {

constexpr size_t TableSaltBytes = 16;
constexpr size_t TableKeyBytes = 32;
using TTableSalt = std::array<uint8_t, TableSaltBytes>;
using TTableKey = std::array<uint8_t, TableKeyBytes>;

// Fixed by the protocol: a host may not lower the cost for its players.
struct TKeyCost {
    uint64_t N = uint64_t{1} << 15;  // 32 MiB with R = 8
    uint64_t R = 8;
    uint64_t P = 1;
};

// Nullopt only when the library cannot (out of memory).
std::optional<TTableKey> DeriveTableKey(std::string_view code, const TTableSalt& salt, TKeyCost cost = {});
// The same on a pool thread that will not use the library again.
std::optional<TTableKey> DeriveTableKeyOnWorker(std::string_view code, const TTableSalt& salt);
TTableSalt FreshSalt();

}  // namespace spades::net
