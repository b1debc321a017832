#include "Encoder.h"

#include "LzhTree.h"

#include <algorithm>
#include <array>
#include <memory>
#include <utility>

namespace spades::cmpbmp {

namespace {

constexpr std::uint8_t kRunEscape = 0x94;
constexpr int kLongestRun = 255;

void AppendUInt32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Bits go out most significant first; the last byte is padded with zeros,
// which the expander reads for missing input anyway.
class TBitWriter {
public:
    explicit TBitWriter(std::vector<std::uint8_t>& out) : FOut(out) {}

    void Put(std::uint32_t bits, int count)
    {
        FPending = (FPending << count) | bits;
        FCount += count;
        while (FCount >= 8) {
            FCount -= 8;
            FOut.push_back(static_cast<std::uint8_t>(FPending >> FCount));
        }
        FPending &= (1u << FCount) - 1u;
    }

    void Finish()
    {
        if (FCount > 0)
            Put(0, 8 - FCount);
    }

private:
    std::vector<std::uint8_t>& FOut;
    std::uint32_t FPending = 0;
    int FCount = 0;
};

class TLzhEncoder {
public:
    explicit TLzhEncoder(std::vector<std::uint8_t>& out) : FBits(out) {}

    void Literal(std::uint8_t byte) { Symbol(byte); }

    void Match(int length, int distance)
    {
        Symbol(lzh::MatchSymbol(length));
        const int position = distance - 1;
        const int upper = position >> 6;
        const int length8 = lzh::kPositionTables.length[upper];
        FBits.Put(lzh::kPositionTables.code[upper] >> (8 - length8), length8);
        FBits.Put(static_cast<std::uint32_t>(position & 63), 6);
    }

    void Finish() { FBits.Finish(); }

private:
    void Symbol(int symbol)
    {
        // Walk from the leaf to the root, then send the bits root first.
        int depth = 0;
        for (int node = FTree.LeafNode(symbol); node != lzh::kRoot; node = FTree.Parent(node))
            FPath[depth++] = static_cast<std::uint8_t>(node & 1);
        while (depth > 0)
            FBits.Put(FPath[--depth], 1);
        FTree.Update(symbol);
    }

    TBitWriter FBits;
    lzh::TLzhTree FTree;
    std::array<std::uint8_t, lzh::kNodeCount> FPath{};
};

// Hash chains over three-byte prefixes of the window, remembered for the last
// window's worth of positions only; a bounded walk keeps the search linear.
class TMatchFinder {
public:
    explicit TMatchFinder(const std::vector<std::uint8_t>& text) : FText(text)
    {
        FHead.fill(-1);
        FPrevious.fill(-1);
    }

    void Insert(std::size_t position)
    {
        if (position + 2 >= FText.size())
            return;
        const std::size_t h = Hash(position);
        FPrevious[position & lzh::kWindowMask] = FHead[h];
        FHead[h] = static_cast<std::int64_t>(position);
    }

    // Longest earlier copy of the text at position, at most maxLength long.
    std::pair<int, int> Find(std::size_t position, int maxLength) const
    {
        int bestLength = 0;
        int bestDistance = 0;
        if (maxLength <= lzh::kThreshold)
            return {0, 0};
        std::int64_t candidate = FHead[Hash(position)];
        for (int steps = 0; candidate >= 0 && steps < kChainLimit; ++steps) {
            const auto distance = static_cast<std::int64_t>(position) - candidate;
            if (distance > lzh::kWindowSize)
                break;
            const auto from = static_cast<std::size_t>(candidate);
            if (FText[from + bestLength] == FText[position + bestLength]) {
                int length = 0;
                while (length < maxLength && FText[from + length] == FText[position + length])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = static_cast<int>(distance);
                    if (length == maxLength)
                        break;
                }
            }
            candidate = FPrevious[from & lzh::kWindowMask];
        }
        return {bestLength, bestDistance};
    }

private:
    static constexpr int kHashBits = 15;
    static constexpr int kChainLimit = 256;

    std::size_t Hash(std::size_t p) const
    {
        const std::uint32_t key = FText[p] | (FText[p + 1] << 8) | (std::uint32_t(FText[p + 2]) << 16);
        return (key * 2654435761u) >> (32 - kHashBits);
    }

    const std::vector<std::uint8_t>& FText;
    std::array<std::int64_t, 1u << kHashBits> FHead{};
    std::array<std::int64_t, lzh::kWindowSize> FPrevious{};
};

}  // namespace

std::optional<TMethod> MethodFromName(std::string_view name)
{
    if (name == "NON")
        return TMethod::Stored;
    if (name == "RLE")
        return TMethod::RunLength;
    if (name == "LZH")
        return TMethod::Lzh;
    return std::nullopt;
}

std::uint32_t ByteSum(std::span<const std::uint8_t> data)
{
    std::uint32_t sum = 0;
    for (const std::uint8_t byte : data)
        sum += byte;
    return sum;
}

std::vector<std::uint8_t> EncodeHeader(TMethod method, std::uint32_t expandedSize, std::uint32_t checksum)
{
    static constexpr std::array<const char*, 3> kNames{"NON", "RLE", "LZH"};
    std::vector<std::uint8_t> out;
    out.reserve(21);
    for (const char c : {'S', 'P', 'I', 'S', '\x1A'})
        out.push_back(static_cast<std::uint8_t>(c));
    const char* name = kNames[static_cast<std::size_t>(method)];
    for (int i = 0; i < 3; ++i)
        out.push_back(static_cast<std::uint8_t>(name[i]));
    AppendUInt32(out, expandedSize);
    out.push_back(0);  // single stream
    AppendUInt32(out, checksum);
    AppendUInt32(out, 0);  // not locked
    return out;
}

std::vector<std::uint8_t> EncodeRunLengthBody(std::span<const std::uint8_t> data)
{
    std::vector<std::uint8_t> out;
    out.reserve(data.size() + data.size() / 64 + 16);
    std::size_t i = 0;
    while (i < data.size()) {
        const std::uint8_t byte = data[i];
        if (byte == kRunEscape) {
            out.push_back(kRunEscape);
            out.push_back(0);
            ++i;
            continue;
        }
        std::size_t run = 1;
        while (i + run < data.size() && data[i + run] == byte && run < kLongestRun)
            ++run;
        out.push_back(byte);
        if (run >= 3) {
            out.push_back(kRunEscape);
            out.push_back(static_cast<std::uint8_t>(run));
            i += run;
        } else {
            ++i;
        }
    }
    return out;
}

std::vector<std::uint8_t> EncodeLzhBody(std::span<const std::uint8_t> data)
{
    // The window starts out as spaces, so the text to match against is those
    // spaces followed by the data.
    std::vector<std::uint8_t> text;
    text.reserve(lzh::kFirstWritePosition + data.size());
    text.resize(lzh::kFirstWritePosition, lzh::kWindowFill);
    for (const std::uint8_t byte : data)
        text.push_back(byte);

    std::vector<std::uint8_t> out;
    out.reserve(data.size() / 2 + 16);
    TLzhEncoder encoder(out);
    auto finder = std::make_unique<TMatchFinder>(text);
    for (std::size_t p = 0; p < std::size_t(lzh::kFirstWritePosition); ++p)
        finder->Insert(p);

    std::size_t position = lzh::kFirstWritePosition;
    while (position < text.size()) {
        const int maxLength = static_cast<int>(std::min<std::size_t>(lzh::kLongestMatch, text.size() - position));
        const auto [length, distance] = finder->Find(position, maxLength);
        if (length > lzh::kThreshold) {
            encoder.Match(length, distance);
            for (int k = 0; k < length; ++k)
                finder->Insert(position + std::size_t(k));
            position += std::size_t(length);
        } else {
            encoder.Literal(text[position]);
            finder->Insert(position);
            ++position;
        }
    }
    encoder.Finish();
    if (out.empty())
        out.push_back(0);  // a header alone would be taken for raw data
    return out;
}

std::vector<std::uint8_t> EncodeStream(std::span<const std::uint8_t> data, TMethod method)
{
    if (data.empty() && method != TMethod::Lzh)
        return {};
    std::vector<std::uint8_t> body;
    switch (method) {
    case TMethod::Stored:
        body.assign(data.begin(), data.end());
        break;
    case TMethod::RunLength:
        body = EncodeRunLengthBody(data);
        break;
    case TMethod::Lzh:
        body = EncodeLzhBody(data);
        break;
    }
    std::vector<std::uint8_t> out = EncodeHeader(method, static_cast<std::uint32_t>(data.size()), ByteSum(data));
    out.resize(out.size() + body.size());
    std::copy(body.begin(), body.end(), out.end() - std::ptrdiff_t(body.size()));
    return out;
}

}  // namespace spades::cmpbmp
