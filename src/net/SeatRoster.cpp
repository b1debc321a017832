#include "SeatRoster.h"

namespace spades::net {

std::optional<THostSeatKind> SeatKindNamed(std::string_view word)
{
    if (word == "remote")
        return THostSeatKind::Remote;
    if (word == "classic" || word == "computer")
        return THostSeatKind::Classic;
    if (word == "expert")
        return THostSeatKind::Expert;
    if (word == "person")
        return THostSeatKind::Person;
    return std::nullopt;
}

TSeatKindsMsg SeatKindsOf(const std::array<THostSeatKind, 4>& kinds)
{
    TSeatKindsMsg m;
    for (size_t i = 0; i < 4; ++i)
        m.Kinds[i] = kinds[i] == THostSeatKind::Classic  ? TSeatPlayer::Classic
                     : kinds[i] == THostSeatKind::Expert ? TSeatPlayer::Expert
                                                         : TSeatPlayer::Person;
    return m;
}

TSeatRoster::TSeatRoster(const std::array<THostSeatKind, 4>& kinds, const std::array<std::string, 4>& names)
{
    for (size_t i = 0; i < 4; ++i) {
        FSeats[i].Kind = kinds[i];
        FSeats[i].Name = names[i];
        switch (kinds[i]) {
        case THostSeatKind::Remote:
            FSeats[i].State = TSeatState::Open;
            break;
        case THostSeatKind::Person:
            FSeats[i].State = TSeatState::Person;
            break;
        case THostSeatKind::Classic:
        case THostSeatKind::Expert:
            FSeats[i].State = TSeatState::Computer;
            break;
        }
    }
}

TSeatRoster::TJoin TSeatRoster::Join(const std::string& name, int wantSeat, TConnId conn)
{
    for (int seat = 1; seat <= 4; ++seat) {
        const TSeat& s = At(seat);
        if (s.Kind == THostSeatKind::Remote && s.Player == name) {
            if (s.Conn != 0)
                return {0, TErrorCode::NameInUse, false};
            TSeat& taken = Seat(seat);
            taken.Conn = conn;
            taken.State = TSeatState::Remote;
            return {seat, TErrorCode::TableFull, true};
        }
    }
    const auto open = [&](int seat) { return At(seat).Kind == THostSeatKind::Remote && At(seat).State == TSeatState::Open; };
    int seat = wantSeat >= 1 && wantSeat <= 4 && open(wantSeat) ? wantSeat : 0;
    for (int s = 1; s <= 4 && seat == 0; ++s)
        if (open(s))
            seat = s;
    if (seat == 0)
        return {0, TErrorCode::TableFull, false};
    TSeat& taken = Seat(seat);
    taken.Conn = conn;
    taken.Player = name;
    taken.Name = name;
    taken.State = TSeatState::Remote;
    return {seat, TErrorCode::TableFull, false};
}

int TSeatRoster::Leave(TConnId conn)
{
    const int seat = SeatOf(conn);
    if (seat != 0) {
        Seat(seat).Conn = 0;
        Seat(seat).State = TSeatState::Dropped;
    }
    return seat;
}

int TSeatRoster::SeatOf(TConnId conn) const
{
    if (conn == 0)
        return 0;
    for (int seat = 1; seat <= 4; ++seat)
        if (At(seat).Conn == conn)
            return seat;
    return 0;
}

bool TSeatRoster::Full() const
{
    for (const TSeat& s : FSeats)
        if (s.Kind == THostSeatKind::Remote && s.Conn == 0)
            return false;
    return true;
}

TSeatsMsg TSeatRoster::Message() const
{
    TSeatsMsg m;
    for (size_t i = 0; i < 4; ++i) {
        m.States[i] = FSeats[i].State;
        m.Names[i] = FSeats[i].Name;
    }
    return m;
}

}  // namespace spades::net
