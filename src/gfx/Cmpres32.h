// Expander of the program's compressed resource streams: a 21-byte header
// ("SPIS" 0x1A, method, expanded size, archive type, checksum, lock) and a body
// stored as is ("NON"), run-length coded ("RLE") or LZHUF coded ("LZH").
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

class QIODevice;

namespace spades {

// Every failure of the resource layer: expander, loader and their streams.
class EResourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EInvalidHeaderArchiveType : public EResourceError {
public:
    EInvalidHeaderArchiveType();
};

class EUnrecognizedCompressionMethod : public EResourceError {
public:
    EUnrecognizedCompressionMethod();
};

class EInvalidKey : public EResourceError {
public:
    EInvalidKey();
};

class EBadChecksum : public EResourceError {
public:
    EBadChecksum();
};

// A header, or a run-length body, asking for more bytes than the expander's limit.
class EExpandedSizeTooLarge : public EResourceError {
public:
    using EResourceError::EResourceError;
};

// A source that cannot be read or rewound, or a destination that refuses bytes.
class EStreamError : public EResourceError {
public:
    using EResourceError::EResourceError;
};

class TResCompress {
public:
    // Largest expanded size a header may announce: far above any bitmap of the
    // program, small enough that a damaged header cannot exhaust memory.
    static constexpr std::uint32_t kDefaultSizeLimit = 16u * 1024u * 1024u;

    // Reads Source from its position to its end and writes the expanded bytes to
    // Dest from its position. Failures are exceptions derived from EResourceError.
    void Expand(QIODevice& dest, QIODevice& source) const;

    void SetSizeLimit(std::uint32_t limit) { FSizeLimit = limit; }
    std::uint32_t SizeLimit() const { return FSizeLimit; }

    // Unlocks streams whose checksum is the byte sum plus this key; 0 opens none.
    std::int32_t Key = 0;

private:
    std::uint32_t FSizeLimit = kDefaultSizeLimit;
};

}  // namespace spades
