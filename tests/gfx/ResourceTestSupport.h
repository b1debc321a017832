// Small helpers shared by the resource tests: streams built byte by byte and
// bit by bit, and expansion of a byte array in memory.
#pragma once

#include "Cmpres32.h"

#include <QBuffer>
#include <QByteArray>

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

namespace spades::test {

inline QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (const int v : values)
        out.append(static_cast<char>(v));
    return out;
}

inline void AppendUInt32(QByteArray& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>(value >> (8 * i)));
}

// A 21-byte stream header with the given fields.
inline QByteArray Header(const char* method, std::uint32_t expandedSize, std::uint32_t checksum,
                         std::int32_t lock = 0, std::uint8_t archiveType = 0)
{
    QByteArray out("SPIS\x1A", 5);
    out.append(method, 3);
    AppendUInt32(out, expandedSize);
    out.append(static_cast<char>(archiveType));
    AppendUInt32(out, checksum);
    AppendUInt32(out, static_cast<std::uint32_t>(lock));
    return out;
}

// Bits written as '0' and '1' (anything else is ignored), most significant
// first, padded with zero bits to a whole byte.
inline QByteArray FromBits(std::string_view bits)
{
    QByteArray out;
    int count = 0;
    unsigned pending = 0;
    for (const char c : bits) {
        if (c != '0' && c != '1')
            continue;
        pending = (pending << 1) | unsigned(c == '1');
        if (++count == 8) {
            out.append(static_cast<char>(pending));
            count = 0;
            pending = 0;
        }
    }
    if (count > 0)
        out.append(static_cast<char>(pending << (8 - count)));
    return out;
}

inline std::uint32_t Sum(const QByteArray& bytes)
{
    std::uint32_t sum = 0;
    for (const char c : bytes)
        sum += static_cast<std::uint8_t>(c);
    return sum;
}

inline QByteArray Expand(const QByteArray& source, const TResCompress& expander = TResCompress())
{
    QByteArray out;
    QBuffer dest(&out);
    dest.open(QIODevice::WriteOnly);
    QBuffer in;
    in.setData(source);
    in.open(QIODevice::ReadOnly);
    expander.Expand(dest, in);
    return out;
}

inline std::span<const std::uint8_t> AsSpan(const QByteArray& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())};
}

inline QByteArray ToQByteArray(const std::vector<std::uint8_t>& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

}  // namespace spades::test
