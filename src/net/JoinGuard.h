// The join code and the guard against guessing it.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace spades::net {

// A fresh code from the system's secure generator: letters and digits that
// cannot be mistaken for one another when read aloud or retyped.
std::string MakeJoinCode(size_t length = 10);

// Compares without stopping at the first difference, so the time taken tells
// nothing about how much of a guess was right.
bool SameCode(std::string_view a, std::string_view b);

// Counts wrong codes per address. After Limit wrong codes within Window, the
// address is refused outright for LockFor, whatever code it sends.
class TJoinGuard {
public:
    using TClock = std::chrono::steady_clock;
    struct TLimits {
        int Limit = 5;
        std::chrono::milliseconds Window{60000};
        std::chrono::milliseconds LockFor{30000};
    };

    TJoinGuard() = default;
    explicit TJoinGuard(TLimits limits) : FLimits(limits) {}

    bool Locked(const std::string& address, TClock::time_point now);
    void WrongCode(const std::string& address, TClock::time_point now);
    void RightCode(const std::string& address) { FAddresses.erase(address); }
    size_t Tracked() const { return FAddresses.size(); }

private:
    struct TRecord {
        int Count = 0;
        TClock::time_point First;
        TClock::time_point LockedUntil;
    };
    void Forget(TClock::time_point now);

    TLimits FLimits;
    std::map<std::string, TRecord> FAddresses;
};

}  // namespace spades::net
