// A count that leaks away at a steady rate, like water from a bucket: recent
// events weigh, old ones fade, and nothing needs to be kept of each event.
#pragma once

#include <algorithm>
#include <chrono>

namespace spades::net {

class TLeakyCount {
public:
    using TClock = std::chrono::steady_clock;

    TLeakyCount() = default;
    // One unit leaks away every leak.
    explicit TLeakyCount(std::chrono::milliseconds leak) : FLeak(std::max<std::chrono::milliseconds>(leak, std::chrono::milliseconds(1))) {}

    double Value(TClock::time_point now) const
    {
        if (now <= FAt)
            return FValue;
        const double gone = std::chrono::duration<double>(now - FAt) / FLeak;
        return std::max(0.0, FValue - gone);
    }
    double Add(TClock::time_point now, double n = 1)
    {
        FValue = Value(now) + n;
        FAt = std::max(FAt, now);
        return FValue;
    }
    void Reset() { FValue = 0; }

private:
    std::chrono::duration<double> FLeak{1.0};
    double FValue = 0;
    TClock::time_point FAt{};
};

}  // namespace spades::net
