// A connection's bytes cut into frames, each decoded as it completes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "NetMessage.h"

namespace spades::net {

// Cuts a byte stream into frames and decodes them. Holds at most one body at a
// time; a frame longer than MaxBody is skipped as it arrives and reported once.
class TFrameReader {
public:
    explicit TFrameReader(TDirection direction) : FDirection(direction) {}

    void Feed(const uint8_t* data, size_t size);
    // The next complete message or error; nullopt when more bytes are needed.
    std::optional<TDecoded> Next();
    size_t Buffered() const { return FBuffer.size() - FRead; }

private:
    TDirection FDirection;
    std::vector<uint8_t> FBuffer;
    size_t FRead = 0;
    size_t FSkip = 0;  // bytes of an oversized body still to be thrown away
};

}  // namespace spades::net
