#include "LzhTree.h"

namespace spades::lzh {

void TLzhTree::Reset()
{
    for (int s = 0; s < kSymbolCount; ++s) {
        FFrequency[s] = 1;
        FChild[s] = static_cast<std::int16_t>(s + kNodeCount);
        FParent[s + kNodeCount] = static_cast<std::int16_t>(s);
    }
    for (int i = 0, j = kSymbolCount; j < kNodeCount; i += 2, ++j) {
        FFrequency[j] = static_cast<std::uint16_t>(FFrequency[i] + FFrequency[i + 1]);
        FChild[j] = static_cast<std::int16_t>(i);
        FParent[i] = FParent[i + 1] = static_cast<std::int16_t>(j);
    }
    FFrequency[kNodeCount] = 0xFFFF;
    FParent[kRoot] = 0;
}

void TLzhTree::Update(int symbol)
{
    if (FFrequency[kRoot] == kFrequencyLimit)
        Rebuild();
    int x = FParent[symbol + kNodeCount];
    do {
        const std::uint16_t k = ++FFrequency[x];
        if (k > FFrequency[x + 1]) {
            // Keep the counts ordered: trade places with the last node still below k.
            int l = x + 1;
            while (k > FFrequency[l + 1])
                ++l;
            FFrequency[x] = FFrequency[l];
            FFrequency[l] = k;

            const int i = FChild[x];
            FParent[i] = static_cast<std::int16_t>(l);
            if (i < kNodeCount)
                FParent[i + 1] = static_cast<std::int16_t>(l);

            const int j = FChild[l];
            FChild[l] = static_cast<std::int16_t>(i);
            FParent[j] = static_cast<std::int16_t>(x);
            if (j < kNodeCount)
                FParent[j + 1] = static_cast<std::int16_t>(x);
            FChild[x] = static_cast<std::int16_t>(j);
            x = l;
        }
        x = FParent[x];
    } while (x != 0);
}

void TLzhTree::Rebuild()
{
    // Gather the leaves at the front with halved counts, in their present order.
    int j = 0;
    for (int i = 0; i < kNodeCount; ++i) {
        if (FChild[i] >= kNodeCount) {
            FFrequency[j] = static_cast<std::uint16_t>((FFrequency[i] + 1) / 2);
            FChild[j] = FChild[i];
            ++j;
        }
    }
    // Join pairs again, inserting each new node where its count keeps the order.
    for (int i = 0, n = kSymbolCount; n < kNodeCount; i += 2, ++n) {
        const std::uint16_t f = static_cast<std::uint16_t>(FFrequency[i] + FFrequency[i + 1]);
        int k = n;
        while (f < FFrequency[k - 1])
            --k;
        for (int m = n; m > k; --m) {
            FFrequency[m] = FFrequency[m - 1];
            FChild[m] = FChild[m - 1];
        }
        FFrequency[k] = f;
        FChild[k] = static_cast<std::int16_t>(i);
    }
    for (int i = 0; i < kNodeCount; ++i) {
        const int k = FChild[i];
        FParent[k] = static_cast<std::int16_t>(i);
        if (k < kNodeCount)
            FParent[k + 1] = static_cast<std::int16_t>(i);
    }
}

}  // namespace spades::lzh
