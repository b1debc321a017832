#include "JoinGuard.h"

#include <QRandomGenerator>

namespace spades::net {

std::string MakeJoinCode(size_t length)
{
    // 32 symbols, no 0/O or 1/I: five bits each, taken evenly.
    static constexpr std::string_view symbols = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    std::string code;
    code.reserve(length);
    QRandomGenerator* random = QRandomGenerator::system();
    for (size_t i = 0; i < length; ++i)
        code += symbols[random->bounded(static_cast<quint32>(symbols.size()))];
    return code;
}

bool SameCode(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    unsigned diff = 0;
    for (size_t i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i]) ^ static_cast<unsigned char>(b[i]);
    return diff == 0;
}

void TJoinGuard::Forget(TClock::time_point now)
{
    // Keeps the table small however many addresses try.
    for (auto it = FAddresses.begin(); it != FAddresses.end();) {
        const TRecord& r = it->second;
        if (now >= r.LockedUntil && now - r.First > FLimits.Window)
            it = FAddresses.erase(it);
        else
            ++it;
    }
}

bool TJoinGuard::Locked(const std::string& address, TClock::time_point now)
{
    const auto it = FAddresses.find(address);
    return it != FAddresses.end() && now < it->second.LockedUntil;
}

void TJoinGuard::WrongCode(const std::string& address, TClock::time_point now)
{
    if (FAddresses.size() > 1000)
        Forget(now);
    TRecord& r = FAddresses[address];
    if (r.Count == 0 || now - r.First > FLimits.Window) {
        r.Count = 0;
        r.First = now;
    }
    if (++r.Count >= FLimits.Limit) {
        r.LockedUntil = now + FLimits.LockFor;
        r.Count = 0;
    }
}

}  // namespace spades::net
