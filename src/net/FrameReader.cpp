#include "FrameReader.h"

#include <algorithm>
#include <string>

namespace spades::net {

void TFrameReader::Feed(const uint8_t* data, size_t size)
{
    if (FSkip > 0) {
        const size_t n = std::min(FSkip, size);
        FSkip -= n;
        data += n;
        size -= n;
    }
    if (FRead > 0 && FRead * 2 >= FBuffer.size()) {
        FBuffer.erase(FBuffer.begin(), FBuffer.begin() + static_cast<std::ptrdiff_t>(FRead));
        FRead = 0;
    }
    FBuffer.insert(FBuffer.end(), data, data + size);
}

std::optional<TDecoded> TFrameReader::Next()
{
    for (;;) {
        if (FSkip > 0) {
            const size_t n = std::min(FSkip, FBuffer.size() - FRead);
            FSkip -= n;
            FRead += n;
            if (FSkip > 0)
                return std::nullopt;
        }
        const size_t available = FBuffer.size() - FRead;
        if (available < 2)
            return std::nullopt;
        const size_t length = static_cast<size_t>(FBuffer[FRead]) << 8 | FBuffer[FRead + 1];
        if (length > MaxBody) {
            FRead += 2;
            FSkip = length;
            return TDecodeError{TErrorCode::Oversized, "message of " + std::to_string(length) +
                                                           " bytes is over the limit of " +
                                                           std::to_string(MaxBody)};
        }
        if (available < 2 + length)
            return std::nullopt;
        const uint8_t* body = FBuffer.data() + FRead + 2;
        FRead += 2 + length;
        return DecodeBody(body, length, FDirection);
    }
}

}  // namespace spades::net
