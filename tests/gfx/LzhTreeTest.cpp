#include "LzhTree.h"

#include <gmock/gmock.h>

#include <array>
#include <cstdint>

namespace spades::lzh {
namespace {

// The shape every adaptive tree must keep: counts ordered by index, each inner
// node the sum of its two children, parents and children pointing at each other
// and every symbol on exactly one leaf.
void ExpectSound(const TLzhTree& tree)
{
    std::array<int, kSymbolCount> leaves{};
    std::uint32_t leafTotal = 0;
    ASSERT_EQ(tree.Frequency(kNodeCount), 0xFFFF);
    ASSERT_LE(tree.Frequency(kRoot), kFrequencyLimit);
    for (int n = 0; n < kNodeCount; ++n) {
        if (n + 1 < kNodeCount) {
            ASSERT_LE(tree.Frequency(n), tree.Frequency(n + 1)) << "node " << n;
        }
        const int c = tree.Child(n);
        if (c >= kNodeCount) {
            ++leaves[std::size_t(c - kNodeCount)];
            ASSERT_EQ(tree.LeafNode(c - kNodeCount), n);
            ASSERT_GE(tree.Frequency(n), 1);
            leafTotal += tree.Frequency(n);
        } else {
            ASSERT_EQ(c % 2, 0) << "first child of " << n;
            ASSERT_LT(c, n);
            ASSERT_EQ(tree.Frequency(n), tree.Frequency(c) + tree.Frequency(c + 1)) << "node " << n;
            ASSERT_EQ(tree.Parent(c), n);
            ASSERT_EQ(tree.Parent(c + 1), n);
        }
    }
    for (int s = 0; s < kSymbolCount; ++s)
        ASSERT_EQ(leaves[std::size_t(s)], 1) << "symbol " << s;
    ASSERT_EQ(leafTotal, tree.Frequency(kRoot));
}

TEST(LzhTree, StartsBalancedOverAllSymbols)
{
    const TLzhTree tree;
    ExpectSound(tree);
    EXPECT_EQ(tree.Frequency(kRoot), kSymbolCount);
    EXPECT_EQ(tree.Child(kRoot), 624);
    for (int s = 0; s < kSymbolCount; ++s)
        EXPECT_EQ(tree.LeafNode(s), s);
}

TEST(LzhTree, FirstUseOfALiteralTradesPlacesWithTheLastLeaf)
{
    TLzhTree tree;
    tree.Update('A');
    EXPECT_EQ(tree.LeafNode('A'), 313);
    EXPECT_EQ(tree.LeafNode(313), 'A');
    EXPECT_EQ(tree.Frequency(313), 2);
    EXPECT_EQ(tree.Frequency('A'), 1);
    EXPECT_EQ(tree.Frequency(kRoot), kSymbolCount + 1);
    ExpectSound(tree);
}

TEST(LzhTree, StaysSoundThroughManyRebuilds)
{
    TLzhTree tree;
    std::uint32_t seed = 7;
    int rebuilds = 0;
    std::uint16_t lastRoot = tree.Frequency(kRoot);
    for (int n = 0; n < 400000; ++n) {
        seed = seed * 1103515245u + 12345u;
        // Skewed towards a few symbols, as real data is.
        const int pick = int((seed >> 16) % 1000);
        const int symbol = pick < 600 ? pick % 8 : pick < 900 ? 256 + pick % 58 : pick % kSymbolCount;
        tree.Update(symbol);
        if (tree.Frequency(kRoot) < lastRoot)
            ++rebuilds;
        lastRoot = tree.Frequency(kRoot);
        if (n % 4099 == 0 || tree.Frequency(kRoot) >= kFrequencyLimit - 1) {
            ExpectSound(tree);
            if (HasFatalFailure())
                return;
        }
    }
    ExpectSound(tree);
    EXPECT_GE(rebuilds, 10);
}

TEST(LzhTree, RebuildHalvesEveryCountRoundingUp)
{
    TLzhTree tree;
    for (int n = 0; tree.Frequency(kRoot) < kFrequencyLimit; ++n)
        tree.Update(n % 5 == 0 ? 300 : n % 7);
    std::array<std::uint16_t, kSymbolCount> before{};
    for (int s = 0; s < kSymbolCount; ++s)
        before[std::size_t(s)] = tree.Frequency(tree.LeafNode(s));
    tree.Update(42);  // rebuilds first, then counts 42
    ExpectSound(tree);
    for (int s = 0; s < kSymbolCount; ++s)
        EXPECT_EQ(tree.Frequency(tree.LeafNode(s)), (before[std::size_t(s)] + 1) / 2 + (s == 42)) << s;
}

TEST(PositionTables, AssignTheFixedPrefixCode)
{
    // Byte ranges of each upper part: 32, then 16, 8, 4, 2 and 1 values each.
    struct TRange {
        int firstUpper, lastUpper, firstByte, perUpper, length;
    };
    const std::array<TRange, 6> ranges{{{0, 0, 0, 32, 3},
                                        {1, 3, 32, 16, 4},
                                        {4, 11, 80, 8, 5},
                                        {12, 23, 144, 4, 6},
                                        {24, 47, 192, 2, 7},
                                        {48, 63, 240, 1, 8}}};
    for (const TRange& r : ranges)
        for (int u = r.firstUpper; u <= r.lastUpper; ++u) {
            const int first = r.firstByte + (u - r.firstUpper) * r.perUpper;
            EXPECT_EQ(kPositionTables.code[u], first) << u;
            EXPECT_EQ(kPositionTables.length[u], r.length) << u;
            for (int b = first; b < first + r.perUpper; ++b) {
                EXPECT_EQ(kPositionTables.decodeUpper[b], u) << b;
                EXPECT_EQ(kPositionTables.decodeLength[b], r.length) << b;
            }
        }
    EXPECT_EQ(kPositionTables.code[5], 0x58);
    EXPECT_EQ(kPositionTables.code[6], 0x60);
}

}  // namespace
}  // namespace spades::lzh
