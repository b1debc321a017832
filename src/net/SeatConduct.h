// How each seat's player has behaved: turns let run out, refused messages sent,
// times the seat was left and taken back. It decides when the computer plays a
// seat at once, when junk costs its sender the seat for a while, and when a
// player may come back. Plain C++: the host asks it and acts.
#pragma once

#include <array>
#include <chrono>

#include "LeakyCount.h"

namespace spades::net {

class TSeatConduct {
public:
    using TClock = std::chrono::steady_clock;
    using ms = std::chrono::milliseconds;
    struct TLimits {
        int AwayAfter = 2;        // turns timed out in a row before the computer plays the seat at once
        int MaxErrors = 8;        // refused messages, one leaking away every ErrorLeak, before a drop
        ms ErrorLeak{30000};
        int Rejoins = 3;          // the seat may be taken back this often at once, once more every RejoinLeak
        ms RejoinLeak{20000};
        ms BarFor{30000};         // a player dropped for junk stays out this long, twice as long each time
        ms BarMax{600000};
    };

    TSeatConduct();
    explicit TSeatConduct(TLimits limits);

    // A turn ran out. True when the seat has just become away.
    bool TimedOut(int seat);
    // The player answered or said it is back. True when the seat was away.
    bool Acted(int seat);
    bool Away(int seat) const { return At(seat).Away; }
    // A refused message from the seat. True when its player must go for it;
    // the seat is then barred for a while.
    bool Refused(int seat, TClock::time_point now);
    // How long before the seat's player may take it back; zero when it may now,
    // and then the return is counted.
    ms Return(int seat, TClock::time_point now);
    // A new player, or none: nothing of the last one is held against the seat.
    void Clear(int seat);

private:
    struct TSeat {
        int TimeOuts = 0;
        bool Away = false;
        TLeakyCount Errors;
        TLeakyCount Returns;
        int Bars = 0;
        TClock::time_point BarredUntil{};
    };
    TSeat& At(int seat) { return FSeats[static_cast<size_t>(seat - 1) & 3]; }
    const TSeat& At(int seat) const { return FSeats[static_cast<size_t>(seat - 1) & 3]; }

    TLimits FLimits;
    std::array<TSeat, 4> FSeats;
};

}  // namespace spades::net
