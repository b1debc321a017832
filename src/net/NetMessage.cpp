#include "NetMessage.h"

#include <algorithm>

#include "RuleText.h"
#include "WireFields.h"

namespace spades::net {

namespace {

using wire::TReader;
using wire::TWriter;

bool IsSeat(uint8_t seat) { return seat >= 1 && seat <= 4; }
bool IsCard(uint8_t card) { return card >= 1 && card <= 52; }
bool IsSeatState(uint8_t s) { return s >= 1 && s <= 5; }

bool ValidSlots(const THandSlots& handSlots)
{
    std::array<bool, 53> seen{};
    for (uint8_t card : handSlots) {
        if (card == NoSlotCard)
            continue;
        if (!IsCard(card) || seen[card])
            return false;
        seen[card] = true;
    }
    return true;
}

TDecodeError Bad(std::string text) { return {TErrorCode::Malformed, std::move(text)}; }

template <class T>
constexpr TMsgType TypeFor();
template <> constexpr TMsgType TypeFor<THello>() { return TMsgType::Hello; }
template <> constexpr TMsgType TypeFor<TBidMsg>() { return TMsgType::Bid; }
template <> constexpr TMsgType TypeFor<TPlayMsg>() { return TMsgType::Play; }
template <> constexpr TMsgType TypeFor<TWelcome>() { return TMsgType::Welcome; }
template <> constexpr TMsgType TypeFor<TRefused>() { return TMsgType::Refused; }
template <> constexpr TMsgType TypeFor<TErrorMsg>() { return TMsgType::Error; }
template <> constexpr TMsgType TypeFor<TSeatsMsg>() { return TMsgType::Seats; }
template <> constexpr TMsgType TypeFor<THandMsg>() { return TMsgType::Hand; }
template <> constexpr TMsgType TypeFor<TTurnMsg>() { return TMsgType::Turn; }
template <> constexpr TMsgType TypeFor<TBidMadeMsg>() { return TMsgType::BidMade; }
template <> constexpr TMsgType TypeFor<TCardPlayedMsg>() { return TMsgType::CardPlayed; }
template <> constexpr TMsgType TypeFor<TTrickWonMsg>() { return TMsgType::TrickWon; }
template <> constexpr TMsgType TypeFor<THandScoredMsg>() { return TMsgType::HandScored; }
template <> constexpr TMsgType TypeFor<TSyncMsg>() { return TMsgType::Sync; }
template <> constexpr TMsgType TypeFor<TGameOverMsg>() { return TMsgType::GameOver; }
template <> constexpr TMsgType TypeFor<TSeatKindsMsg>() { return TMsgType::SeatKinds; }
template <> constexpr TMsgType TypeFor<THistoryMsg>() { return TMsgType::History; }
template <> constexpr TMsgType TypeFor<TSeatSecretMsg>() { return TMsgType::SeatSecret; }
template <> constexpr TMsgType TypeFor<TBackMsg>() { return TMsgType::Back; }
template <> constexpr TMsgType TypeFor<TNoticeMsg>() { return TMsgType::Notice; }
template <> constexpr TMsgType TypeFor<TRulesMsg>() { return TMsgType::Rules; }

// The version that brought a type in, which its frames carry.
uint8_t VersionOf(TMsgType type)
{
    if (type == TMsgType::SeatSecret)
        return SecretVersion;
    if (type == TMsgType::Back || type == TMsgType::Notice)
        return NoticeVersion;
    if (type == TMsgType::Rules)
        return RulesVersion;
    return type == TMsgType::SeatKinds || type == TMsgType::History ? HistoryVersion : ProtocolVersion;
}

void Put(TWriter& w, const THello& m)
{
    w.Str(m.Code);
    w.Str(m.Name);
    w.U8(m.WantSeat);
    if (m.Version >= SecretVersion)
        for (uint8_t b : m.Secret)
            w.U8(b);
}
void Put(TWriter& w, const TBidMsg& m)
{
    w.U32(m.Turn);
    w.U8(m.Seat);
    w.U8(m.Bid);
}
void Put(TWriter& w, const TPlayMsg& m)
{
    w.U32(m.Turn);
    w.U8(m.Seat);
    w.U8(m.Card);
}
void Put(TWriter& w, const TWelcome& m)
{
    w.U8(m.Seat);
    w.U16(m.WinScore);
}
void Put(TWriter& w, const TRefused& m)
{
    w.U8(static_cast<uint8_t>(m.Code));
    w.Str(m.Text);
}
void Put(TWriter& w, const TErrorMsg& m)
{
    w.U8(static_cast<uint8_t>(m.Code));
    w.Str(m.Text);
}
void Put(TWriter& w, const TSeatsMsg& m)
{
    for (size_t i = 0; i < 4; ++i) {
        w.U8(static_cast<uint8_t>(m.States[i]));
        w.Str(m.Names[i]);
    }
}
void Put(TWriter& w, const THandMsg& m)
{
    w.U16(m.HandNumber);
    w.U8(m.FirstSeat);
    for (uint8_t c : m.Slots)
        w.U8(c);
}
void Put(TWriter& w, const TTurnMsg& m)
{
    w.U32(m.Turn);
    w.U8(static_cast<uint8_t>(m.Kind));
    w.U8(m.Seat);
    w.U32(m.TimeoutMs);
}
void Put(TWriter& w, const TBidMadeMsg& m)
{
    w.U8(m.Seat);
    w.U8(m.Bid);
}
void Put(TWriter& w, const TCardPlayedMsg& m)
{
    w.U8(m.Seat);
    w.U8(m.Card);
    w.U8(m.Place);
}
void Put(TWriter& w, const TTrickWonMsg& m)
{
    w.U8(m.Winner);
    for (uint8_t t : m.Tricks)
        w.U8(t);
}
void Put(TWriter& w, const THandScoredMsg& m)
{
    for (const TSeatScore& s : m.Seats) {
        w.I32(s.Score);
        w.U8(s.Bid);
        w.U8(s.Tricks);
        w.U8(s.Bags);
        w.U16(s.TotalBags);
    }
    w.U8(m.Winner);
}
void Put(TWriter& w, const TSyncMsg& m)
{
    w.U16(m.HandNumber);
    w.U8(static_cast<uint8_t>(m.Phase));
    for (uint8_t c : m.Slots)
        w.U8(c);
    for (size_t i = 0; i < 4; ++i) {
        w.U8(m.Bids[i]);
        w.U8(m.Tricks[i]);
        w.I32(m.Scores[i]);
        w.U16(m.TotalBags[i]);
    }
    w.U8(m.SpadesBroken ? 1 : 0);
    for (size_t i = 0; i < 4; ++i) {
        w.U8(m.PlaceSeats[i]);
        w.U8(m.PlaceCards[i]);
    }
    // Cards 1..52 as bits, card 1 in the top bit of the first byte.
    for (size_t byte = 0; byte < 7; ++byte) {
        uint8_t bits = 0;
        for (size_t bit = 0; bit < 8; ++bit) {
            const size_t card = byte * 8 + bit + 1;
            if (card <= 52 && m.CardsPlayed[card])
                bits = static_cast<uint8_t>(bits | (0x80 >> bit));
        }
        w.U8(bits);
    }
}
void Put(TWriter& w, const TGameOverMsg& m)
{
    w.U8(m.Winner);
    w.Str(m.Name);
}
void Put(TWriter& w, const TSeatKindsMsg& m)
{
    for (TSeatPlayer kind : m.Kinds)
        w.U8(static_cast<uint8_t>(kind));
}
void Put(TWriter& w, const TSeatSecretMsg& m)
{
    for (uint8_t b : m.Secret)
        w.U8(b);
}
void Put(TWriter&, const TBackMsg&) {}
void Put(TWriter& w, const TNoticeMsg& m) { w.U8(static_cast<uint8_t>(m.Kind)); }
void Put(TWriter& w, const TRulesMsg& m) { w.Str(m.Text); }
void Put(TWriter& w, const THistoryMsg& m)
{
    const size_t n = std::min<size_t>(m.Plays.size(), 52);
    w.U8(m.FirstSeat);
    w.U8(static_cast<uint8_t>(n));
    for (size_t i = 0; i < n; ++i) {
        w.U8(m.Plays[i].Seat);
        w.U8(m.Plays[i].Card);
    }
}

std::optional<TMessage> Get(TReader& r, TMsgType type, uint8_t version, std::string& why)
{
    switch (type) {
    case TMsgType::Hello: {
        THello m;
        m.Version = version;
        m.Code = r.Str();
        m.Name = r.Str();
        m.WantSeat = r.U8();
        if (version >= SecretVersion)
            m.Secret = r.Fixed<SeatSecretBytes>();
        if (r.Done() && (m.WantSeat > 4 || !ValidCode(m.Code) || !ValidName(m.Name)))
            why = "bad code, name or seat";
        return m;
    }
    case TMsgType::Bid: {
        TBidMsg m;
        m.Turn = r.U32();
        m.Seat = r.U8();
        m.Bid = r.U8();
        // The bid's range is the game's to judge: it answers with its own error.
        if (r.Done() && !IsSeat(m.Seat))
            why = "no such seat";
        return m;
    }
    case TMsgType::Play: {
        TPlayMsg m;
        m.Turn = r.U32();
        m.Seat = r.U8();
        m.Card = r.U8();
        if (r.Done() && !IsSeat(m.Seat))
            why = "no such seat";
        return m;
    }
    case TMsgType::Welcome: {
        TWelcome m;
        m.Seat = r.U8();
        m.WinScore = r.U16();
        if (r.Done() && (!IsSeat(m.Seat) || m.WinScore == 0))
            why = "bad seat or score";
        return m;
    }
    case TMsgType::Refused:
    case TMsgType::Error: {
        const uint8_t code = r.U8();
        std::string text = r.Str();
        if (r.Done() && (code < 1 || code > static_cast<uint8_t>(TErrorCode::Removed)))
            why = "unknown error code";
        if (type == TMsgType::Refused)
            return TRefused{static_cast<TErrorCode>(code), std::move(text)};
        return TErrorMsg{static_cast<TErrorCode>(code), std::move(text)};
    }
    case TMsgType::Seats: {
        TSeatsMsg m;
        for (size_t i = 0; i < 4; ++i) {
            const uint8_t state = r.U8();
            m.Names[i] = r.Str();
            m.States[i] = static_cast<TSeatState>(state);
            if (!IsSeatState(state) || !ValidName(m.Names[i]))
                why = "bad seat state or name";
        }
        return m;
    }
    case TMsgType::Hand: {
        THandMsg m;
        m.HandNumber = r.U16();
        m.FirstSeat = r.U8();
        for (size_t i = 0; i < m.Slots.size(); ++i)
            m.Slots[i] = r.U8();
        if (r.Done() && (!IsSeat(m.FirstSeat) || !ValidSlots(m.Slots)))
            why = "bad seat or cards";
        return m;
    }
    case TMsgType::Turn: {
        TTurnMsg m;
        m.Turn = r.U32();
        const uint8_t kind = r.U8();
        m.Kind = static_cast<TTurnKind>(kind);
        m.Seat = r.U8();
        m.TimeoutMs = r.U32();
        if (r.Done() && (kind < 1 || kind > 2 || !IsSeat(m.Seat)))
            why = "bad turn";
        return m;
    }
    case TMsgType::BidMade: {
        TBidMadeMsg m;
        m.Seat = r.U8();
        m.Bid = r.U8();
        if (r.Done() && (!IsSeat(m.Seat) || m.Bid > 13))
            why = "bad bid";
        return m;
    }
    case TMsgType::CardPlayed: {
        TCardPlayedMsg m;
        m.Seat = r.U8();
        m.Card = r.U8();
        m.Place = r.U8();
        if (r.Done() && (!IsSeat(m.Seat) || !IsCard(m.Card) || m.Place < 1 || m.Place > 4))
            why = "bad card";
        return m;
    }
    case TMsgType::TrickWon: {
        TTrickWonMsg m;
        m.Winner = r.U8();
        for (size_t i = 0; i < m.Tricks.size(); ++i)
            m.Tricks[i] = r.U8();
        if (r.Done() && (!IsSeat(m.Winner) || std::any_of(m.Tricks.begin(), m.Tricks.end(),
                                                          [](uint8_t t) { return t > 13; })))
            why = "bad trick";
        return m;
    }
    case TMsgType::HandScored: {
        THandScoredMsg m;
        for (TSeatScore& s : m.Seats) {
            s.Score = r.I32();
            s.Bid = r.U8();
            s.Tricks = r.U8();
            s.Bags = r.U8();
            s.TotalBags = r.U16();
            if (s.Bid > 13 || s.Tricks > 13 || s.Bags > 13)
                why = "bad score";
        }
        m.Winner = r.U8();
        if (m.Winner > 4)
            why = "bad winner";
        return m;
    }
    case TMsgType::Sync: {
        TSyncMsg m;
        m.HandNumber = r.U16();
        const uint8_t phase = r.U8();
        m.Phase = static_cast<TPhase>(phase);
        for (uint8_t& c : m.Slots)
            c = r.U8();
        for (size_t i = 0; i < 4; ++i) {
            m.Bids[i] = r.U8();
            m.Tricks[i] = r.U8();
            m.Scores[i] = r.I32();
            m.TotalBags[i] = r.U16();
            if ((m.Bids[i] > 13 && m.Bids[i] != NoBid) || m.Tricks[i] > 13)
                why = "bad bid or tricks";
        }
        const uint8_t broken = r.U8();
        m.SpadesBroken = broken == 1;
        for (size_t i = 0; i < 4; ++i) {
            m.PlaceSeats[i] = r.U8();
            m.PlaceCards[i] = r.U8();
            const bool empty = m.PlaceSeats[i] == 0 && m.PlaceCards[i] == 0;
            if (!empty && (!IsSeat(m.PlaceSeats[i]) || !IsCard(m.PlaceCards[i])))
                why = "bad trick place";
        }
        for (size_t byte = 0; byte < 7; ++byte) {
            const uint8_t bits = r.U8();
            for (size_t bit = 0; bit < 8; ++bit) {
                const size_t card = byte * 8 + bit + 1;
                const bool set = (bits & (0x80 >> bit)) != 0;
                if (card <= 52)
                    m.CardsPlayed[card] = set;
                else if (set)
                    why = "bits past the last card";
            }
        }
        if (phase > 3 || broken > 1 || !ValidSlots(m.Slots))
            why = "bad phase or cards";
        return m;
    }
    case TMsgType::GameOver: {
        TGameOverMsg m;
        m.Winner = r.U8();
        m.Name = r.Str();
        if (r.Done() && (!IsSeat(m.Winner) || !ValidName(m.Name)))
            why = "bad winner";
        return m;
    }
    case TMsgType::SeatKinds: {
        TSeatKindsMsg m;
        for (TSeatPlayer& kind : m.Kinds) {
            const uint8_t k = r.U8();
            kind = static_cast<TSeatPlayer>(k);
            if (k < 1 || k > 3)
                why = "bad seat kind";
        }
        return m;
    }
    case TMsgType::SeatSecret: {
        TSeatSecretMsg m;
        m.Secret = r.Fixed<SeatSecretBytes>();
        if (r.Done() && m.Secret == TSeatSecret{})
            why = "an empty seat secret";
        return m;
    }
    case TMsgType::Back:
        return TBackMsg{};
    case TMsgType::Notice: {
        const uint8_t kind = r.U8();
        if (r.Done() && (kind < 1 || kind > 3))
            why = "unknown notice";
        return TNoticeMsg{static_cast<TSeatNotice>(kind)};
    }
    case TMsgType::Rules: {
        TRulesMsg m{r.Str()};
        if (r.Done())
            why = RulesTextProblem(m.Text);
        return m;
    }
    case TMsgType::History: {
        THistoryMsg m;
        m.FirstSeat = r.U8();
        const uint8_t n = r.U8();
        if (n > 52) {
            why = "more than 52 cards laid";
            return m;
        }
        std::array<bool, 53> seen{};
        for (uint8_t i = 0; i < n; ++i) {
            TLaidCard play{r.U8(), r.U8()};
            if (!IsSeat(play.Seat) || !IsCard(play.Card) || seen[play.Card])
                why = "bad or repeated card";
            else
                seen[play.Card] = true;
            m.Plays.push_back(play);
        }
        if (!IsSeat(m.FirstSeat))
            why = "bad first seat";
        return m;
    }
    }
    return std::nullopt;
}

bool ForHost(TMsgType type) { return static_cast<uint8_t>(type) < 0x40; }

}  // namespace

TMsgType TypeOf(const TMessage& message)
{
    return std::visit([](const auto& m) { return TypeFor<std::decay_t<decltype(m)>>(); }, message);
}

std::vector<uint8_t> Encode(const TMessage& message)
{
    TWriter w;
    w.U16(0);  // the length, filled in below
    const TMsgType type = TypeOf(message);
    const auto* hello = std::get_if<THello>(&message);
    w.U8(hello ? hello->Version : VersionOf(type));
    w.U8(static_cast<uint8_t>(type));
    std::visit([&](const auto& m) { Put(w, m); }, message);
    const size_t body = w.FOut.size() - 2;
    w.FOut[0] = static_cast<uint8_t>(body >> 8);
    w.FOut[1] = static_cast<uint8_t>(body);
    return std::move(w.FOut);
}

bool ValidName(std::string_view name)
{
    if (name.empty() || name.size() > NameMaxBytes)
        return false;
    if (name.find_first_not_of(' ') == std::string_view::npos)
        return false;
    size_t i = 0;
    while (i < name.size()) {
        const auto c = static_cast<uint8_t>(name[i]);
        size_t extra = 0;
        uint32_t cp = 0;
        if (c < 0x80) {
            if (c < 0x20 || c == 0x7F)
                return false;
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (name.size() - i <= extra)
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            const auto cc = static_cast<uint8_t>(name[i + k]);
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = cp << 6 | (cc & 0x3F);
        }
        static constexpr std::array<uint32_t, 4> least = {0, 0x80, 0x800, 0x10000};
        if (cp < least[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF) || (cp >= 0x80 && cp < 0xA0))
            return false;
        i += extra + 1;
    }
    return true;
}

bool ValidCode(std::string_view code)
{
    if (code.size() < CodeMinChars || code.size() > CodeMaxChars)
        return false;
    return std::all_of(code.begin(), code.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
}

std::string RulesTextProblem(std::string_view text)
{
    if (text.size() > RulesTextMax)
        return "house rules of " + std::to_string(text.size()) + " bytes, over the limit of " +
               std::to_string(RulesTextMax);
    TRuleSet rules;
    if (std::string problem = ParseRules(rules, text); !problem.empty())
        return "house rules that do not parse: " + problem;
    if (rules.WinScore != TRuleSet{}.WinScore || text.find("winscore") != std::string_view::npos)
        return "house rules that name the score to win, which comes with the welcome";
    return {};
}

TDecoded DecodeBody(const uint8_t* body, size_t size, TDirection direction)
{
    if (size < 2)
        return Bad("message too short");
    const uint8_t version = body[0];
    const auto badVersion = [&] {
        return TDecodeError{TErrorCode::BadVersion, "protocol version " + std::to_string(version) +
                                                        " is not spoken here (versions " +
                                                        std::to_string(ProtocolVersion) + " to " +
                                                        std::to_string(NewestVersion) + ")"};
    };
    if (version < ProtocolVersion || version > NewestVersion)
        return badVersion();
    const auto type = static_cast<TMsgType>(body[1]);
    TReader r(body + 2, size - 2);
    std::string why;
    std::optional<TMessage> message = Get(r, type, version, why);
    if (!message || ForHost(type) != (direction == TDirection::ToHost))
        return TDecodeError{TErrorCode::UnknownType, "unknown message type " + std::to_string(body[1])};
    if (type != TMsgType::Hello && version != VersionOf(type))
        return badVersion();
    if (!r.Done())
        return Bad("message length does not match its type");
    if (!why.empty())
        return Bad(why);
    return std::move(*message);
}

}  // namespace spades::net
