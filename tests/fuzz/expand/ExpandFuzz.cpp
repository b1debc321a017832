// Feeds arbitrary bytes to the resource expander: it must end in an exception of
// the resource layer or in output that keeps the stream's promises.
#include "Cmpres32.h"

#include <QBuffer>
#include <QByteArray>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::uint32_t kFuzzSizeLimit = 256 * 1024;  // keeps each run short

std::uint32_t UInt32At(const std::uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24; }

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

bool ExpandWithKey(const QByteArray& input, std::int32_t key, QByteArray& out)
{
    QBuffer source;
    source.setData(input);
    source.open(QIODevice::ReadOnly);
    QBuffer dest(&out);
    dest.open(QIODevice::WriteOnly);
    spades::TResCompress expander;
    expander.Key = key;
    expander.SetSizeLimit(kFuzzSizeLimit);
    try {
        expander.Expand(dest, source);
    } catch (const spades::EResourceError&) {
        return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const bool headed = size > 21 && std::memcmp(data, "SPIS\x1A", 5) == 0;
    for (const std::int32_t key : {0, 0x5A5A}) {
        QByteArray out;
        if (!ExpandWithKey(input, key, out))
            continue;
        if (!headed) {
            Check(out == input);
        } else if (std::memcmp(data + 5, "LZH", 3) == 0) {
            // Exactly the size, or past it by less than one longest match.
            const std::uint32_t expanded = UInt32At(data + 8);
            Check(std::uint64_t(out.size()) >= expanded && std::uint64_t(out.size()) < std::uint64_t(expanded) + 60);
        } else if (std::memcmp(data + 5, "NON", 3) == 0) {
            Check(out == input.mid(21));
        }
        if (headed && key == 0)
            Check(static_cast<std::int32_t>(UInt32At(data + 17)) <= 0);  // a locked stream needs a key
        const bool locked = headed && static_cast<std::int32_t>(UInt32At(data + 17)) > 0;
        if (!locked)
            break;  // the key changes nothing for unlocked streams
    }
    return 0;
}
