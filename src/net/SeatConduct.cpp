#include "SeatConduct.h"

#include <algorithm>
#include <cmath>

namespace spades::net {

namespace {
constexpr double Slack = 1e-6;
}  // namespace

TSeatConduct::TSeatConduct() : TSeatConduct(TLimits{}) {}

TSeatConduct::TSeatConduct(TLimits limits) : FLimits(limits)
{
    for (int seat = 1; seat <= 4; ++seat)
        Clear(seat);
}

void TSeatConduct::Clear(int seat)
{
    At(seat) = TSeat{0, false, TLeakyCount(FLimits.ErrorLeak), TLeakyCount(FLimits.RejoinLeak), 0, {}};
}

bool TSeatConduct::TimedOut(int seat)
{
    TSeat& s = At(seat);
    ++s.TimeOuts;
    if (s.Away || FLimits.AwayAfter <= 0 || s.TimeOuts < FLimits.AwayAfter)
        return false;
    s.Away = true;
    return true;
}

bool TSeatConduct::Acted(int seat)
{
    TSeat& s = At(seat);
    const bool was = s.Away;
    s.TimeOuts = 0;
    s.Away = false;
    return was;
}

bool TSeatConduct::Refused(int seat, TClock::time_point now)
{
    TSeat& s = At(seat);
    // Only whole units leak: what fades in the moments between messages sent
    // together does not buy another one.
    if (s.Errors.Add(now) <= FLimits.MaxErrors - 1)
        return false;
    s.Errors.Reset();
    const int doublings = std::min(s.Bars++, 20);
    s.BarredUntil = now + std::min<ms>(FLimits.BarFor * (1 << doublings), FLimits.BarMax);
    return true;
}

TSeatConduct::ms TSeatConduct::Return(int seat, TClock::time_point now)
{
    TSeat& s = At(seat);
    if (now < s.BarredUntil)
        return std::chrono::ceil<ms>(s.BarredUntil - now);
    const double over = s.Returns.Value(now) + 1 - FLimits.Rejoins;
    if (over > Slack)
        return ms(std::max<long long>(1, std::llround(static_cast<double>(FLimits.RejoinLeak.count()) * over)));
    s.Returns.Add(now);
    // Back at the table: the host waits for its turns again.
    s.TimeOuts = 0;
    s.Away = false;
    return ms(0);
}

}  // namespace spades::net
