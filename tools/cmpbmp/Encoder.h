// Writes the program's compressed resource streams (header and body) offline;
// the game itself only ever expands them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace spades::cmpbmp {

enum class TMethod { Stored, RunLength, Lzh };

std::optional<TMethod> MethodFromName(std::string_view name);

// Sum of the bytes, each 0..255, modulo 2^32.
std::uint32_t ByteSum(std::span<const std::uint8_t> data);

// The 21-byte header for a single, unlocked stream.
std::vector<std::uint8_t> EncodeHeader(TMethod method, std::uint32_t expandedSize, std::uint32_t checksum);

std::vector<std::uint8_t> EncodeRunLengthBody(std::span<const std::uint8_t> data);
std::vector<std::uint8_t> EncodeLzhBody(std::span<const std::uint8_t> data);

// Header and body. A stream of 21 bytes or fewer would be taken for raw data,
// so empty input gives an LZH stream with one padding byte, or for the other
// methods an empty stream, which expands to nothing as it is.
std::vector<std::uint8_t> EncodeStream(std::span<const std::uint8_t> data, TMethod method);

}  // namespace spades::cmpbmp
