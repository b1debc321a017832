#include "JoinGuard.h"

#include <QRandomGenerator>

#include <algorithm>

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

TNetPrefix PrefixOf(const QHostAddress& address, int v4Bits, int v6Bits)
{
    TNetPrefix p;
    bool v4 = false;
    quint32 ip4 = address.toIPv4Address(&v4);  // also reads an IPv4-mapped address
    if (!v4 && address.isLoopback() && address.protocol() == QAbstractSocket::IPv6Protocol) {
        ip4 = 0x7F000001;
        v4 = true;
    }
    const auto keep = [&p](size_t bytes, int bits) {
        for (size_t i = 0; i < bytes; ++i) {
            const int left = bits - static_cast<int>(i) * 8;
            const int mask = left >= 8 ? 0xFF : left <= 0 ? 0 : (0xFF << (8 - left)) & 0xFF;
            p.Bytes[1 + i] &= static_cast<uint8_t>(mask);
        }
    };
    if (v4) {
        p.Bytes[0] = 4;
        for (size_t i = 0; i < 4; ++i)
            p.Bytes[1 + i] = static_cast<uint8_t>(ip4 >> (24 - 8 * i));
        keep(4, v4Bits);
    } else {
        p.Bytes[0] = 6;
        const Q_IPV6ADDR ip6 = address.toIPv6Address();
        for (size_t i = 0; i < 8; ++i)
            p.Bytes[1 + i] = ip6[i];
        keep(8, v6Bits);
    }
    return p;
}

bool TJoinGuard::Locked(const TNetPrefix& prefix, TClock::time_point now) const
{
    const auto it = FPrefixes.find(prefix);
    return it != FPrefixes.end() && now < it->second.LockedUntil;
}

void TJoinGuard::WrongCode(const TNetPrefix& prefix, TClock::time_point now)
{
    FTable.Add(now);
    // Each record is dropped once: what is spent goes from the front as it is
    // passed, and the table never holds more than MaxTracked.
    while (!FOrder.empty() && Spent(FPrefixes.at(FOrder.front()), now)) {
        FPrefixes.erase(FOrder.front());
        FOrder.pop_front();
    }
    auto [it, added] = FPrefixes.try_emplace(prefix);
    TRecord& r = it->second;
    if (added) {
        r.Place = FOrder.insert(FOrder.end(), prefix);
        if (FPrefixes.size() > std::max<size_t>(FLimits.MaxTracked, 1)) {
            FPrefixes.erase(FOrder.front());
            FOrder.pop_front();
        }
    } else {
        FOrder.splice(FOrder.end(), FOrder, r.Place);
    }
    if (r.Count == 0 || now - r.First > FLimits.Window) {
        r.Count = 0;
        r.First = now;
    }
    if (++r.Count >= FLimits.Limit) {
        r.LockedUntil = now + FLimits.LockFor;
        r.Count = 0;
    }
}

void TJoinGuard::RightCode(const TNetPrefix& prefix)
{
    const auto it = FPrefixes.find(prefix);
    if (it == FPrefixes.end())
        return;
    FOrder.erase(it->second.Place);
    FPrefixes.erase(it);
}

std::chrono::milliseconds TJoinGuard::Backoff(TClock::time_point now) const
{
    const double over = FTable.Value(now) - FLimits.TableLimit;
    if (over < 0)
        return std::chrono::milliseconds(0);
    const int doublings = static_cast<int>(std::min(over, 30.0));
    const auto wait = FLimits.BackoffBase * (int64_t{1} << doublings);
    return std::min<std::chrono::milliseconds>(wait, FLimits.BackoffMax);
}

}  // namespace spades::net
