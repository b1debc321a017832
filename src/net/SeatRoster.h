// Who sits where at a hosted table: which seats are open to players at other
// machines, who has taken them, and whose connection has dropped.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "NetMessage.h"
#include "SeatKind.h"

namespace spades::net {

// The host's words for its seats: the game's ("remote", "classic", "expert",
// "person"), and "computer" for the classic one; nullopt for any other word.
std::optional<TSeatKind> HostSeatKindNamed(std::string_view word);
// How the host's Expert reads each seat, as told to joined tables: a seat played
// from another machine, or by a person here, is read as a person.
TSeatKindsMsg SeatKindsOf(const std::array<TSeatKind, 4>& kinds);

class TSeatRoster {
public:
    using TConnId = uint64_t;
    struct TSeat {
        TSeatKind Kind = TSeatKind::Computer;
        TSeatState State = TSeatState::Computer;
        std::string Name;    // shown at the table
        std::string Player;  // who took it; kept after a drop
        TSeatSecret Secret{};  // its player's proof, the one way back after a drop
        TConnId Conn = 0;
    };
    struct TJoin {
        int Seat = 0;  // 0: refused
        TErrorCode Refusal = TErrorCode::TableFull;
        bool Returning = false;
        TConnId Replaced = 0;  // the seat's connection before, which its secret's holder takes over
        std::string Text;      // why it was refused
    };

    TSeatRoster(const std::array<TSeatKind, 4>& kinds, const std::array<std::string, 4>& names);

    // A player with a right code: back to the seat whose secret it presents,
    // else, under a name like no other at the table, the wanted seat or the
    // first open one, with a fresh secret.
    TJoin Join(const std::string& name, int wantSeat, TConnId conn, const TSeatSecret& secret = {});
    // The connection is gone; its seat (or 0) passes to the computer for now.
    int Leave(TConnId conn);
    // The seat a secret would take back (0: none), without taking it.
    int SecretSeat(const TSeatSecret& secret) const;
    // The host sends the seat's player away: its secret is void, the computer
    // plays the seat from now on. The player's connection, if any, to close.
    TConnId Remove(int seat);

    int SeatOf(TConnId conn) const;
    TConnId ConnAt(int seat) const { return At(seat).Conn; }
    bool Connected(int seat) const { return At(seat).Conn != 0; }
    const TSeat& At(int seat) const { return FSeats[static_cast<size_t>(seat - 1)]; }
    // Every seat open to others has been taken.
    bool Full() const;
    TSeatsMsg Message() const;

private:
    TSeat& Seat(int seat) { return FSeats[static_cast<size_t>(seat - 1)]; }
    std::array<TSeat, 4> FSeats;
    std::array<std::string, 4> FSeatNames;
};

}  // namespace spades::net
