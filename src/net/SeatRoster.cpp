#include "SeatRoster.h"

#include "JoinGuard.h"
#include "PlayerNames.h"
#include "SecureDeals.h"

namespace spades::net {

std::optional<TSeatKind> HostSeatKindNamed(std::string_view word)
{
    return word == "computer" ? TSeatKind::Computer : SeatKindNamed(word);
}

TSeatKindsMsg SeatKindsOf(const std::array<TSeatKind, 4>& kinds)
{
    TSeatKindsMsg m;
    for (size_t i = 0; i < 4; ++i)
        m.Kinds[i] = static_cast<TSeatPlayer>(WireValue(kinds[i]));
    return m;
}

TSeatRoster::TSeatRoster(const std::array<TSeatKind, 4>& kinds, const std::array<std::string, 4>& names)
    : FSeatNames(names)
{
    for (size_t i = 0; i < 4; ++i) {
        FSeats[i].Kind = kinds[i];
        FSeats[i].Name = names[i];
        switch (kinds[i]) {
        case TSeatKind::Remote:
            FSeats[i].State = TSeatState::Open;
            break;
        case TSeatKind::Human:
            FSeats[i].State = TSeatState::Person;
            break;
        case TSeatKind::Computer:
        case TSeatKind::Expert:
            FSeats[i].State = TSeatState::Computer;
            break;
        }
    }
}

TSeatRoster::TJoin TSeatRoster::Join(const std::string& name, int wantSeat, TConnId conn, const TSeatSecret& secret)
{
    const auto refuse = [](TErrorCode code, std::string text) { return TJoin{0, code, false, 0, std::move(text)}; };
    if (const int seat = SecretSeat(secret); seat != 0) {
        // Whoever holds the secret is the seat's player: a connection the
        // host has not yet seen die gives way to it.
        TSeat& s = Seat(seat);
        const TConnId before = s.Conn;
        s.Conn = conn;
        s.State = TSeatState::Remote;
        return {seat, TErrorCode::TableFull, true, before, {}};
    }
    // A secret of another table, or of a game over: a new player.
    std::string why;
    const std::optional<std::string> normal = NormalName(name, &why);
    if (!normal)
        return refuse(TErrorCode::BadName, why);
    if (LooksLikeSeatName(*normal))
        return refuse(TErrorCode::BadName, "a name may not look like a seat's name");
    const QString look = NameLook(*normal);
    for (const TSeat& s : FSeats)
        if (!s.Player.empty() && NameLook(s.Player) == look)
            return refuse(TErrorCode::NameInUse, "that name is too like the name of a player at the table");
    const auto open = [&](int seat) { return At(seat).Kind == TSeatKind::Remote && At(seat).State == TSeatState::Open; };
    int seat = wantSeat >= 1 && wantSeat <= 4 && open(wantSeat) ? wantSeat : 0;
    for (int s = 1; s <= 4 && seat == 0; ++s)
        if (open(s))
            seat = s;
    if (seat == 0)
        return refuse(TErrorCode::TableFull, "no open seat");
    TSeat& taken = Seat(seat);
    taken.Conn = conn;
    taken.Player = *normal;
    taken.Name = *normal;
    taken.State = TSeatState::Remote;
    do
        SecureRandomBytes(taken.Secret.data(), taken.Secret.size());
    while (taken.Secret == TSeatSecret{});
    return {seat, TErrorCode::TableFull, false, 0, {}};
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

int TSeatRoster::SecretSeat(const TSeatSecret& secret) const
{
    if (secret == TSeatSecret{})
        return 0;
    int found = 0;
    for (int seat = 1; seat <= 4; ++seat) {
        const TSeat& s = At(seat);
        if (s.Kind == TSeatKind::Remote && !s.Player.empty() &&
            SameCode({reinterpret_cast<const char*>(s.Secret.data()), s.Secret.size()},
                     {reinterpret_cast<const char*>(secret.data()), secret.size()}))
            found = seat;
    }
    return found;
}

TSeatRoster::TConnId TSeatRoster::Remove(int seat)
{
    TSeat& s = Seat(seat);
    const TConnId conn = s.Conn;
    s.Kind = TSeatKind::Computer;
    s.State = TSeatState::Computer;
    s.Name = FSeatNames[static_cast<size_t>(seat - 1)];
    s.Player.clear();
    s.Secret = {};
    s.Conn = 0;
    return conn;
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
        if (s.Kind == TSeatKind::Remote && s.Conn == 0)
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
