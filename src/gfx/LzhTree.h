// The parts of the LZH resource coding that the expander and the offline encoder
// must agree on bit for bit: the constants, the fixed position code and the
// adaptive Huffman tree of literals and match lengths.
#pragma once

#include <array>
#include <cstdint>

namespace spades::lzh {

inline constexpr int kWindowSize = 4096;
inline constexpr int kWindowMask = kWindowSize - 1;
inline constexpr int kLongestMatch = 60;
inline constexpr int kThreshold = 2;  // matches are longer than this
inline constexpr int kFirstWritePosition = kWindowSize - kLongestMatch;  // 4036
inline constexpr std::uint8_t kWindowFill = 0x20;

inline constexpr int kLiteralCount = 256;
inline constexpr int kSymbolCount = kLiteralCount + kLongestMatch - kThreshold;  // 314
inline constexpr int kNodeCount = 2 * kSymbolCount - 1;  // 627
inline constexpr int kRoot = kNodeCount - 1;  // 626
inline constexpr std::uint16_t kFrequencyLimit = 0x8000;

// Symbol for a match of the given length (3..60), and back.
constexpr int MatchSymbol(int length) { return length + kLiteralCount - kThreshold - 1; }
constexpr int MatchLength(int symbol) { return symbol - kLiteralCount + kThreshold + 1; }

// Code length (3..8 bits) of the upper six bits of a match position.
constexpr int PositionCodeLength(int upper)
{
    if (upper < 1) return 3;
    if (upper < 4) return 4;
    if (upper < 12) return 5;
    if (upper < 24) return 6;
    if (upper < 48) return 7;
    return 8;
}

struct TPositionTables {
    // Indexed by upper part: the code, left-aligned in a byte, and its length.
    std::array<std::uint8_t, 64> code{};
    std::array<std::uint8_t, 64> length{};
    // Indexed by the next eight input bits: the upper part they begin with, and its length.
    std::array<std::uint8_t, 256> decodeUpper{};
    std::array<std::uint8_t, 256> decodeLength{};
};

// Canonical assignment in increasing order of the upper part.
constexpr TPositionTables MakePositionTables()
{
    TPositionTables tables;
    int next = 0;
    for (int upper = 0; upper < 64; ++upper) {
        const int length = PositionCodeLength(upper);
        const int span = 1 << (8 - length);
        tables.code[upper] = static_cast<std::uint8_t>(next);
        tables.length[upper] = static_cast<std::uint8_t>(length);
        for (int i = 0; i < span; ++i) {
            tables.decodeUpper[next + i] = static_cast<std::uint8_t>(upper);
            tables.decodeLength[next + i] = static_cast<std::uint8_t>(length);
        }
        next += span;
    }
    return tables;
}

inline constexpr TPositionTables kPositionTables = MakePositionTables();

// Adaptive Huffman tree over the 314 symbols. Node 626 is the root; a child
// value of 627 or more is a leaf for symbol (value - 627); siblings sit at an
// even index and the odd index after it, so a node's own bit is its index & 1.
class TLzhTree {
public:
    TLzhTree() { Reset(); }

    void Reset();
    // Counts one more occurrence of the symbol, rebuilding first at the limit.
    void Update(int symbol);

    std::uint16_t Frequency(int node) const { return FFrequency[node]; }
    int Child(int node) const { return FChild[node]; }
    int Parent(int node) const { return FParent[node]; }
    int LeafNode(int symbol) const { return FParent[symbol + kNodeCount]; }

private:
    void Rebuild();

    std::array<std::uint16_t, kNodeCount + 1> FFrequency{};  // plus the sentinel
    std::array<std::int16_t, kNodeCount> FChild{};
    std::array<std::int16_t, kNodeCount + kSymbolCount> FParent{};
};

}  // namespace spades::lzh
