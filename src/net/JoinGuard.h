// The join code and the guard against guessing it.
#pragma once

#include <QHostAddress>

#include <array>
#include <chrono>
#include <cstdint>
#include <list>
#include <map>
#include <string>
#include <string_view>

#include "LeakyCount.h"

namespace spades::net {

// A fresh code from the system's secure generator: letters and digits that
// cannot be mistaken for one another when read aloud or retyped.
std::string MakeJoinCode(size_t length = 10);

// Compares without stopping at the first difference, so the time taken tells
// nothing about how much of a guess was right.
bool SameCode(std::string_view a, std::string_view b);

// The network an address belongs to: what one household or one machine can
// easily hold many addresses of. An IPv4-mapped IPv6 address is its IPv4
// address; ::1 is 127.0.0.1.
struct TNetPrefix {
    std::array<uint8_t, 9> Bytes{};  // 4 or 6, then the prefix's bytes, the rest zero
    auto operator<=>(const TNetPrefix&) const = default;
};
TNetPrefix PrefixOf(const QHostAddress& address, int v4Bits = 24, int v6Bits = 64);

// Counts wrong codes per prefix. After Limit wrong codes within Window, the
// prefix is refused outright for LockFor, whatever code it sends. Table-wide,
// past TableLimit wrong codes a Window (leaking away at that rate), every
// handshake waits: BackoffBase, doubled with every wrong code beyond, at most
// BackoffMax, so many prefixes together guess no faster.
class TJoinGuard {
public:
    using TClock = std::chrono::steady_clock;
    struct TLimits {
        int Limit = 5;
        std::chrono::milliseconds Window{60000};
        std::chrono::milliseconds LockFor{30000};
        int TableLimit = 30;
        std::chrono::milliseconds BackoffBase{250};
        std::chrono::milliseconds BackoffMax{4000};  // well inside the time a greeting is given
        size_t MaxTracked = 4096;                    // past this the prefix heard of longest ago is forgotten
        int V4Bits = 24;
        int V6Bits = 64;
    };

    TJoinGuard() = default;
    explicit TJoinGuard(TLimits limits) : FLimits(limits), FTable(Leak(limits)) {}

    TNetPrefix Prefix(const QHostAddress& address) const { return PrefixOf(address, FLimits.V4Bits, FLimits.V6Bits); }
    bool Locked(const TNetPrefix& prefix, TClock::time_point now) const;
    void WrongCode(const TNetPrefix& prefix, TClock::time_point now);
    void RightCode(const TNetPrefix& prefix);
    // How long handshakes are spaced now; zero while the table is not being guessed at.
    std::chrono::milliseconds Backoff(TClock::time_point now) const;
    size_t Tracked() const { return FPrefixes.size(); }

private:
    struct TRecord {
        int Count = 0;
        TClock::time_point First;
        TClock::time_point LockedUntil;
        std::list<TNetPrefix>::iterator Place;  // in FOrder
    };
    static std::chrono::milliseconds Leak(const TLimits& limits)
    {
        return limits.Window / std::max(limits.TableLimit, 1);
    }
    bool Spent(const TRecord& r, TClock::time_point now) const
    {
        return now >= r.LockedUntil && now - r.First > FLimits.Window;
    }

    TLimits FLimits;
    TLeakyCount FTable{Leak(FLimits)};
    std::map<TNetPrefix, TRecord> FPrefixes;
    std::list<TNetPrefix> FOrder;  // heard of longest ago first
};

}  // namespace spades::net
