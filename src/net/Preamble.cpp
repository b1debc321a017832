#include "Preamble.h"

#include <algorithm>

namespace spades::net {

namespace {

std::vector<uint8_t> Frame(uint8_t type, const uint8_t* fields, size_t size, uint8_t version)
{
    const size_t body = 2 + size;
    std::vector<uint8_t> frame(2 + body);
    frame[0] = static_cast<uint8_t>(body >> 8);
    frame[1] = static_cast<uint8_t>(body);
    frame[2] = version;
    frame[3] = type;
    std::copy(fields, fields + size, frame.begin() + 4);
    return frame;
}

// The body's length when a whole frame is there, 0 when more is needed; an
// oversized length counts as whole (and bad) at once.
size_t BodyLength(const uint8_t* data, size_t size, bool& whole)
{
    whole = false;
    if (size < 2)
        return 0;
    const size_t length = static_cast<size_t>(data[0]) << 8 | data[1];
    whole = length > MaxBody || size >= 2 + length;
    return length;
}

}  // namespace

std::vector<uint8_t> KnockFrame(uint8_t version) { return Frame(KnockType, nullptr, 0, version); }

std::vector<uint8_t> SaltFrame(const TTableSalt& salt, uint8_t version)
{
    return Frame(SaltType, salt.data(), salt.size(), version);
}

TKnockRead ReadKnock(const uint8_t* data, size_t size)
{
    using K = TKnockRead::TKind;
    bool whole = false;
    const size_t length = BodyLength(data, size, whole);
    if (!whole)
        return {};
    if (length > MaxBody || length < 2)
        return {K::Bad, std::min(size, 2 + length)};
    const uint8_t version = data[2];
    const size_t used = 2 + length;
    // An older table says Hello in its version first: whatever it sent, it is refused in words it reads.
    // From OldestJoinVersion on the knock is the same; the Hello says the rest.
    if (version < OldestJoinVersion)
        return {K::Older, used};
    if (version > NewestVersion)
        return {K::Newer, used};
    return {data[3] == KnockType && length == 2 ? K::Knock : K::Bad, used, version};
}

TAnswerRead ReadAnswer(const uint8_t* data, size_t size, uint8_t version)
{
    TAnswerRead read;
    bool whole = false;
    const size_t length = BodyLength(data, size, whole);
    if (!whole)
        return read;
    read.Used = std::min(size, 2 + length);
    read.Kind = TAnswerRead::TKind::Bad;
    if (length > MaxBody || length < 2)
        return read;
    const uint8_t* body = data + 2;
    if (body[0] == version && body[1] == SaltType) {
        if (length == 2 + TableSaltBytes) {
            std::copy(body + 2, body + 2 + TableSaltBytes, read.Salt.begin());
            read.Kind = TAnswerRead::TKind::Salt;
        }
        return read;
    }
    // A refusal is read as every version writes it.
    TDecoded decoded = DecodeBody(body, length, TDirection::ToClient);
    if (auto* message = std::get_if<TMessage>(&decoded)) {
        if (auto* refused = std::get_if<TRefused>(message)) {
            read.Refusal = std::move(*refused);
            read.Kind = TAnswerRead::TKind::Refused;
        }
    }
    return read;
}

}  // namespace spades::net
