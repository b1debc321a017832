// The fields of a message body on the wire: big-endian integers and strings
// of up to 255 bytes after a length byte.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace spades::net::wire {

class TWriter {
public:
    void U8(uint8_t v) { FOut.push_back(v); }
    void U16(uint16_t v)
    {
        U8(static_cast<uint8_t>(v >> 8));
        U8(static_cast<uint8_t>(v));
    }
    void U32(uint32_t v)
    {
        U16(static_cast<uint16_t>(v >> 16));
        U16(static_cast<uint16_t>(v));
    }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    // Strings longer than a length byte can say are cut: the host never sends one.
    void Str(std::string_view s)
    {
        const size_t n = std::min<size_t>(s.size(), 255);
        U8(static_cast<uint8_t>(n));
        FOut.insert(FOut.end(), s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n));
    }
    std::vector<uint8_t> FOut;
};

// Reads fields in order; any read past the end marks the whole body bad.
class TReader {
public:
    TReader(const uint8_t* data, size_t size) : FData(data), FSize(size) {}
    uint8_t U8()
    {
        if (FPos >= FSize) {
            FBad = true;
            return 0;
        }
        return FData[FPos++];
    }
    uint16_t U16()
    {
        const uint16_t hi = U8();
        return static_cast<uint16_t>(hi << 8 | U8());
    }
    uint32_t U32()
    {
        const uint32_t hi = U16();
        return hi << 16 | U16();
    }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    std::string Str()
    {
        const size_t n = U8();
        if (FBad || FSize - FPos < n) {
            FBad = true;
            return {};
        }
        std::string s(reinterpret_cast<const char*>(FData + FPos), n);
        FPos += n;
        return s;
    }
    template <size_t N>
    std::array<uint8_t, N> Fixed()
    {
        std::array<uint8_t, N> out{};
        if (FBad || FSize - FPos < N) {
            FBad = true;
            return out;
        }
        std::copy_n(FData + FPos, N, out.begin());
        FPos += N;
        return out;
    }
    bool Done() const { return !FBad && FPos == FSize; }

private:
    const uint8_t* FData;
    size_t FSize;
    size_t FPos = 0;
    bool FBad = false;
};

}  // namespace spades::net::wire
