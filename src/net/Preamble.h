// What the two ends say in clear before the secure channel: the joining table
// knocks, saying which version it speaks, and the host answers with its table's
// salt (the joining table derives the table's key from it and the join code)
// or refuses. Both are frames of the layout every version shares, so an older
// program reads the refusal it is sent, and an older host refuses the knock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "NetMessage.h"
#include "TableKey.h"

namespace spades::net {

constexpr uint8_t KnockType = 0x30;  // to the host: body is the version and the type alone
constexpr uint8_t SaltType = 0x70;   // from the host: the salt follows

inline constexpr const char* NeedsNewerText = "This table needs a newer version of Quelbrin Spades";
inline constexpr const char* RunsOlderText = "This table runs an older version of Quelbrin Spades";

std::vector<uint8_t> KnockFrame(uint8_t version = NewestVersion);
// In the knocking table's version: a table of an older version reads only its own.
std::vector<uint8_t> SaltFrame(const TTableSalt& salt, uint8_t version = NewestVersion);

// What the host makes of a joining table's first bytes.
struct TKnockRead {
    enum class TKind { More, Knock, Older, Newer, Bad };
    TKind Kind = TKind::More;
    size_t Used = 0;  // the bytes of the frame read, when not More
    uint8_t Version = NewestVersion;  // a Knock's: OldestJoinVersion..NewestVersion
};
TKnockRead ReadKnock(const uint8_t* data, size_t size);

// What the joining table makes of the host's first bytes.
struct TAnswerRead {
    enum class TKind { More, Salt, Refused, Bad };
    TKind Kind = TKind::More;
    size_t Used = 0;
    TTableSalt Salt{};
    TRefused Refusal;  // a host of this version or an older one refused
};
// A salt is read in the version the table knocked in.
TAnswerRead ReadAnswer(const uint8_t* data, size_t size, uint8_t version = NewestVersion);

}  // namespace spades::net
