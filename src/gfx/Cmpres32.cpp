#include "Cmpres32.h"

#include "LzhTree.h"

#include <QBuffer>
#include <QIODevice>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <thread>

namespace spades {

EInvalidHeaderArchiveType::EInvalidHeaderArchiveType()
    : EResourceError("Expand can't handle caMulti archive type in compressed header") {}

EUnrecognizedCompressionMethod::EUnrecognizedCompressionMethod()
    : EResourceError("Unrecognized compression method in header") {}

EInvalidKey::EInvalidKey() : EResourceError("File locked -- valid key required") {}

EBadChecksum::EBadChecksum() : EResourceError("Bad checksum during expansion -- data may be invalid") {}

namespace {

constexpr qint64 kHeaderSize = 21;
constexpr std::array<char, 5> kMagic{'S', 'P', 'I', 'S', '\x1A'};
constexpr std::size_t kBufferSize = 8192;
constexpr std::uint8_t kRunEscape = 0x94;

// Codes in the order of the format's name table; "CUS" is known but not handled.
enum class TMethod { Stored = 0, RunLength = 1, Lzh = 2, Custom = 3 };
constexpr std::array<const char*, 4> kMethodNames{"NON", "RLE", "LZH", "CUS"};

struct TStreamInfo {
    TMethod method = TMethod::Stored;
    std::uint32_t expandedSize = 0;
    std::uint32_t checksum = 0;
    bool locked = false;
    qint64 bodySize = 0;
};

std::uint32_t ReadUInt32(const char* bytes)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[i]);
    return value;
}

TMethod MethodFromName(const char* letters)
{
    for (std::size_t code = 0; code < kMethodNames.size(); ++code) {
        if (std::memcmp(letters, kMethodNames[code], 3) == 0) {
            const auto method = static_cast<TMethod>(code);
            if (method == TMethod::Custom)
                break;
            return method;
        }
    }
    throw EUnrecognizedCompressionMethod();
}

// Lets other threads and processes run during a long expansion; the program's
// own event loop does not run here.
void YieldTimeSlice() { std::this_thread::yield(); }

std::string SizeLimitText(std::uint32_t limit)
{
    return "Expanded size in compressed header exceeds the limit of " + std::to_string(limit) + " bytes";
}

// The body, read through a fixed buffer; past its end every byte reads as 0.
class TBodyReader {
public:
    TBodyReader(QIODevice& source, qint64 bodySize) : FSource(source), FRemaining(bodySize) {}

    std::uint8_t Next()
    {
        if (FPosition == FLength && !Refill())
            return 0;
        return FBuffer[FPosition++];
    }

    bool AtEnd() const { return FAtEnd; }

private:
    bool Refill()
    {
        if (FAtEnd)
            return false;
        const qint64 wanted = std::min<qint64>(FRemaining, kBufferSize);
        const qint64 got = wanted > 0 ? FSource.read(reinterpret_cast<char*>(FBuffer.data()), wanted) : 0;
        if (got <= 0) {
            FAtEnd = true;
            return false;
        }
        FRemaining -= got;
        FPosition = 0;
        FLength = static_cast<std::size_t>(got);
        YieldTimeSlice();
        return true;
    }

    QIODevice& FSource;
    qint64 FRemaining;
    std::array<std::uint8_t, kBufferSize> FBuffer{};
    std::size_t FPosition = 0;
    std::size_t FLength = 0;
    bool FAtEnd = false;
};

// The produced bytes, written through a fixed buffer and summed on the way.
class TBodyWriter {
public:
    explicit TBodyWriter(QIODevice& dest) : FDest(dest) {}

    void Put(std::uint8_t byte)
    {
        FSum += byte;
        ++FCount;
        FBuffer[FLength++] = byte;
        if (FLength == kBufferSize) {
            YieldTimeSlice();
            Flush();
        }
    }

    void Flush()
    {
        if (FLength > 0 && FDest.write(reinterpret_cast<const char*>(FBuffer.data()), qint64(FLength)) != qint64(FLength))
            throw EStreamError("Stream write error");
        FLength = 0;
    }

    std::uint32_t Sum() const { return FSum; }
    std::uint64_t Count() const { return FCount; }

private:
    QIODevice& FDest;
    std::array<std::uint8_t, kBufferSize> FBuffer{};
    std::size_t FLength = 0;
    std::uint32_t FSum = 0;
    std::uint64_t FCount = 0;
};

// Everything one body stage needs; lives on the heap for that stage only.
struct TBodyState {
    TBodyState(QIODevice& dest, QIODevice& source, qint64 bodySize) : input(source, bodySize), output(dest) {}
    TBodyReader input;
    TBodyWriter output;
};

void ExpandRunLength(TBodyState& state, std::uint32_t sizeLimit)
{
    const auto ensureRoom = [&](std::uint64_t more) {
        if (state.output.Count() + more > sizeLimit)
            throw EExpandedSizeTooLarge("Expanded data exceeds the limit of " + std::to_string(sizeLimit) + " bytes");
    };
    std::uint8_t previous = 0;
    for (;;) {
        const std::uint8_t a = state.input.Next();
        if (state.input.AtEnd())
            break;
        if (a == kRunEscape) {
            const std::uint8_t n = state.input.Next();
            if (n == 0) {
                ensureRoom(1);
                state.output.Put(kRunEscape);
            } else {
                ensureRoom(n - 1u);
                for (int i = 1; i < n; ++i)
                    state.output.Put(previous);
            }
        } else {
            ensureRoom(1);
            state.output.Put(a);
        }
        previous = a;
    }
}

class TLzhDecoder {
public:
    explicit TLzhDecoder(TBodyState& state) : FInput(state.input), FOutput(state.output)
    {
        FWindow.fill(0);
        std::fill_n(FWindow.begin(), lzh::kFirstWritePosition, lzh::kWindowFill);
    }

    void Run(std::uint32_t expandedSize)
    {
        int r = lzh::kFirstWritePosition;
        std::uint64_t count = 0;
        while (count < expandedSize) {
            const int symbol = DecodeSymbol();
            if (symbol < lzh::kLiteralCount) {
                Produce(static_cast<std::uint8_t>(symbol), r);
                ++count;
            } else {
                // A match is copied whole, even past the expanded size; the window
                // wraps, so the copy can never leave it.
                const int start = (r - DecodePosition() - 1) & lzh::kWindowMask;
                const int length = lzh::MatchLength(symbol);
                for (int k = 0; k < length; ++k)
                    Produce(FWindow[(start + k) & lzh::kWindowMask], r);
                count += std::uint64_t(length);
            }
        }
    }

private:
    void Produce(std::uint8_t byte, int& r)
    {
        FOutput.Put(byte);
        FWindow[r] = byte;
        r = (r + 1) & lzh::kWindowMask;
    }

    void FillBits()
    {
        if (FBitCount <= 8) {
            FBitBuffer = static_cast<std::uint16_t>(FBitBuffer | (unsigned(FInput.Next()) << (8 - FBitCount)));
            FBitCount += 8;
        }
    }

    int GetBits(int n)
    {
        FillBits();
        const int bits = FBitBuffer >> (16 - n);
        FBitBuffer = static_cast<std::uint16_t>(FBitBuffer << n);
        FBitCount -= n;
        return bits;
    }

    int DecodeSymbol()
    {
        int x = FTree.Child(lzh::kRoot);
        while (x < lzh::kNodeCount)
            x = FTree.Child(x + GetBits(1));
        const int symbol = x - lzh::kNodeCount;
        FTree.Update(symbol);
        return symbol;
    }

    int DecodePosition()
    {
        const int i = GetBits(8);
        const int upper = lzh::kPositionTables.decodeUpper[i];
        const int extra = lzh::kPositionTables.decodeLength[i] - 2;
        const int lower = ((i << extra) | GetBits(extra)) & 63;
        return upper * 64 + lower;
    }

    TBodyReader& FInput;
    TBodyWriter& FOutput;
    lzh::TLzhTree FTree;
    std::array<std::uint8_t, lzh::kWindowSize> FWindow{};
    std::uint16_t FBitBuffer = 0;
    int FBitCount = 0;
};

void CopyStored(QIODevice& dest, QIODevice& source, qint64 count)
{
    auto buffer = std::make_unique<std::array<char, kBufferSize>>();
    while (count > 0) {
        const qint64 chunk = std::min<qint64>(count, kBufferSize);
        if (source.read(buffer->data(), chunk) != chunk)
            throw EStreamError("Stream read error");
        if (dest.write(buffer->data(), chunk) != chunk)
            throw EStreamError("Stream write error");
        count -= chunk;
    }
}

}  // namespace

void TResCompress::Expand(QIODevice& dest, QIODevice& source) const
{
    // Header stage: checks magic, archive type, method and size, in that order.
    const qint64 start = source.pos();
    TStreamInfo info;
    info.bodySize = std::max<qint64>(0, source.size() - start);
    if (info.bodySize > kHeaderSize) {
        std::array<char, kHeaderSize> header{};
        if (source.read(header.data(), kHeaderSize) != kHeaderSize)
            throw EStreamError("Stream read error");
        if (std::memcmp(header.data(), kMagic.data(), kMagic.size()) != 0) {
            // Not ours: hand the stream on unchanged, header bytes included.
            if (!source.seek(start))
                throw EStreamError("Stream seek error");
        } else {
            if (header[12] != 0)
                throw EInvalidHeaderArchiveType();
            info.method = MethodFromName(header.data() + 5);
            info.expandedSize = ReadUInt32(header.data() + 8);
            if (info.expandedSize > FSizeLimit)
                throw EExpandedSizeTooLarge(SizeLimitText(FSizeLimit));
            info.checksum = ReadUInt32(header.data() + 13);
            info.locked = static_cast<std::int32_t>(ReadUInt32(header.data() + 17)) > 0;
            info.bodySize -= kHeaderSize;
            // Room up front, so that the buffer does not grow while bytes arrive. Only
            // capacity: the destination holds exactly the bytes that are produced.
            if (auto* buffer = qobject_cast<QBuffer*>(&dest))
                buffer->buffer().reserve(buffer->pos() + qint64(info.expandedSize));
        }
    }

    // Body stage: lock, then the body, then the checksum.
    if (info.locked && Key == 0)
        throw EInvalidKey();
    if (info.method == TMethod::Stored) {
        CopyStored(dest, source, info.bodySize);
        return;
    }

    std::uint32_t sum = 0;
    {
        auto state = std::make_unique<TBodyState>(dest, source, info.bodySize);
        if (info.method == TMethod::RunLength) {
            ExpandRunLength(*state, FSizeLimit);
        } else {
            auto decoder = std::make_unique<TLzhDecoder>(*state);
            decoder->Run(info.expandedSize);
        }
        state->output.Flush();
        sum = state->output.Sum();
    }
    if (sum != info.checksum) {
        if (!info.locked)
            throw EBadChecksum();
        if (info.checksum != sum + static_cast<std::uint32_t>(Key))
            throw EInvalidKey();
    }
}

}  // namespace spades
