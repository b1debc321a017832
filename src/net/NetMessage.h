// The messages between a hosting table and the tables that join it, and their
// bytes on the wire. Plain C++: the reader is fuzzed without Qt.
//
// A frame is a two-byte big-endian body length followed by the body; the body
// starts with the protocol version and the message type. docs/protocol.md
// describes every message.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace spades::net {

// Every frame carries the version that brought its message type in: 1 for the
// first set, HistoryVersion for SeatKinds and History. Hello alone carries the
// newest version the joining table speaks. Version 3 brought the secure
// channel (Preamble.h): every message now goes through it. SecretVersion
// brought the seat secret: only the player holding it takes a dropped seat back.
// NoticeVersion brought the host's notices to a seat and the seat's word that
// its player is back. RulesVersion brought the table's rules (Rules, after the
// welcome) and the bid byte for Blind Nil.
constexpr uint8_t ProtocolVersion = 1;
constexpr uint8_t HistoryVersion = 2;
constexpr uint8_t SecretVersion = 4;
constexpr uint8_t NoticeVersion = 5;
constexpr uint8_t RulesVersion = 6;
constexpr uint8_t NewestVersion = 6;
// The oldest joining table a host lets knock: it plays the table's own rules only.
constexpr uint8_t OldestJoinVersion = NoticeVersion;
constexpr size_t SeatSecretBytes = 16;
// Bodies longer than this are refused unread; the longest real message is far shorter.
constexpr size_t MaxBody = 512;
constexpr size_t NameMaxBytes = 32;
constexpr size_t CodeMinChars = 8;
constexpr size_t CodeMaxChars = 32;
constexpr uint8_t NoBid = 0xFF;
// Version 6 on: the Bid message's byte for Blind Nil (the hand cycle's BlindNilBid).
constexpr uint8_t BlindNilByte = 0xFE;
// The house rules text ("variant=partnership bags=ten"); every option written
// out takes well under this.
constexpr size_t RulesTextMax = 160;
constexpr uint8_t NoSlotCard = 0;  // a hand slot whose card has been played

enum class TMsgType : uint8_t {
    // From a joining table to the host.
    Hello = 0x01,
    Bid = 0x02,
    Play = 0x03,
    Back = 0x04,  // version 5
    // From the host.
    Welcome = 0x41,
    Refused = 0x42,
    Error = 0x43,
    Seats = 0x44,
    Hand = 0x45,
    Turn = 0x46,
    BidMade = 0x47,
    CardPlayed = 0x48,
    TrickWon = 0x49,
    HandScored = 0x4A,
    Sync = 0x4B,
    GameOver = 0x4C,
    // Version 2.
    SeatKinds = 0x4D,
    History = 0x4E,
    // Version 4.
    SeatSecret = 0x4F,
    // Version 5.
    Notice = 0x50,
    // Version 6.
    Rules = 0x51,
};

// Why the host refused a message or a join; sent as one byte with a text.
enum class TErrorCode : uint8_t {
    Malformed = 1,
    Oversized = 2,
    UnknownType = 3,
    BadVersion = 4,
    NotJoined = 5,
    AlreadyJoined = 6,
    WrongCode = 7,
    Throttled = 8,
    TableFull = 9,
    NameInUse = 10,
    WrongSeat = 11,
    OutOfTurn = 12,
    BidOutOfRange = 13,
    CardNotHeld = 14,
    MustFollowSuit = 15,
    SpadesNotOpened = 16,
    TooLate = 17,
    TooManyErrors = 18,
    BadName = 19,
    Removed = 20,
};

enum class TSeatState : uint8_t {
    Open = 1,      // waiting for a player from another machine; the computer plays it
    Remote = 2,    // taken by a player from another machine
    Computer = 3,  // always played by the computer
    Person = 4,    // played by a person at the host's keyboard
    Dropped = 5,   // its player's connection was lost; the computer plays it until they return
};

// How the host's own Expert reads a seat's choices; a joined Expert reads them alike.
enum class TSeatPlayer : uint8_t {
    Person = 1,   // a person, here or at another machine (whoever plays it now)
    Classic = 2,  // the classic computer
    Expert = 3,   // the Expert
};

// What the host tells a seat's player about its own seat.
enum class TSeatNotice : uint8_t {
    TurnPlayed = 1,  // the time ran out: the computer played the turn
    Away = 2,        // the computer plays the seat's turns at once until its player acts again
    Back = 3,        // the seat is its player's again
};

enum class TTurnKind : uint8_t { Bid = 1, Card = 2 };
enum class TPhase : uint8_t { Idle = 0, Bidding = 1, Playing = 2, Over = 3 };

using THandSlots = std::array<uint8_t, 13>;
// Given to a seat's player alone; all zero: none.
using TSeatSecret = std::array<uint8_t, SeatSecretBytes>;  // card values in slot order, NoSlotCard once played

// ---- From a joining table ----
struct THello {
    std::string Code;
    std::string Name;
    uint8_t WantSeat = 0;  // 0: any open seat
    uint8_t Version = ProtocolVersion;  // carried in the frame: the newest version the table speaks
    TSeatSecret Secret{};               // version 4 on: the secret of the seat held before
    bool operator==(const THello&) const = default;
};
struct TBidMsg {
    uint32_t Turn = 0;
    uint8_t Seat = 0;
    uint8_t Bid = 0;  // 0 (Nil)..13, or BlindNilByte from a table of version 6 on
    bool operator==(const TBidMsg&) const = default;
};
struct TPlayMsg {
    uint32_t Turn = 0;
    uint8_t Seat = 0;
    uint8_t Card = 0;
    bool operator==(const TPlayMsg&) const = default;
};

// Version 5: the player is here again, to take back a seat the computer plays for it.
struct TBackMsg {
    bool operator==(const TBackMsg&) const = default;
};

// ---- From the host ----
struct TWelcome {
    uint8_t Seat = 0;
    uint16_t WinScore = 250;
    bool operator==(const TWelcome&) const = default;
};
struct TRefused {
    TErrorCode Code = TErrorCode::Malformed;
    std::string Text;
    bool operator==(const TRefused&) const = default;
};
struct TErrorMsg {
    TErrorCode Code = TErrorCode::Malformed;
    std::string Text;
    bool operator==(const TErrorMsg&) const = default;
};
struct TSeatsMsg {
    std::array<TSeatState, 4> States{};
    std::array<std::string, 4> Names;
    bool operator==(const TSeatsMsg&) const = default;
};
struct THandMsg {
    uint16_t HandNumber = 0;
    uint8_t FirstSeat = 0;
    THandSlots Slots{};
    bool operator==(const THandMsg&) const = default;
};
struct TTurnMsg {
    uint32_t Turn = 0;
    TTurnKind Kind = TTurnKind::Bid;
    uint8_t Seat = 0;
    uint32_t TimeoutMs = 0;
    bool operator==(const TTurnMsg&) const = default;
};
struct TBidMadeMsg {
    uint8_t Seat = 0;
    uint8_t Bid = 0;
    bool operator==(const TBidMadeMsg&) const = default;
};
struct TCardPlayedMsg {
    uint8_t Seat = 0;
    uint8_t Card = 0;
    uint8_t Place = 0;
    bool operator==(const TCardPlayedMsg&) const = default;
};
struct TTrickWonMsg {
    uint8_t Winner = 0;
    std::array<uint8_t, 4> Tricks{};
    bool operator==(const TTrickWonMsg&) const = default;
};
struct TSeatScore {
    int32_t Score = 0;
    uint8_t Bid = 0;
    uint8_t Tricks = 0;
    uint8_t Bags = 0;
    uint16_t TotalBags = 0;
    bool operator==(const TSeatScore&) const = default;
};
struct THandScoredMsg {
    std::array<TSeatScore, 4> Seats{};
    uint8_t Winner = 0;  // 0: the game goes on
    bool operator==(const THandScoredMsg&) const = default;
};
struct TSyncMsg {
    uint16_t HandNumber = 0;
    TPhase Phase = TPhase::Idle;
    THandSlots Slots{};
    std::array<uint8_t, 4> Bids{};    // NoBid while a seat has not bid
    std::array<uint8_t, 4> Tricks{};
    std::array<int32_t, 4> Scores{};
    std::array<uint16_t, 4> TotalBags{};
    bool SpadesBroken = false;
    std::array<uint8_t, 4> PlaceSeats{};  // the current trick in order of play; 0 empty
    std::array<uint8_t, 4> PlaceCards{};
    std::array<bool, 53> CardsPlayed{};   // by card value 1..52
    bool operator==(const TSyncMsg&) const = default;
};
struct TGameOverMsg {
    uint8_t Winner = 0;
    std::string Name;
    bool operator==(const TGameOverMsg&) const = default;
};

// ---- From the host, version 2 ----
struct TSeatKindsMsg {
    std::array<TSeatPlayer, 4> Kinds{TSeatPlayer::Person, TSeatPlayer::Person, TSeatPlayer::Person,
                                     TSeatPlayer::Person};
    bool operator==(const TSeatKindsMsg&) const = default;
};
struct TLaidCard {
    uint8_t Seat = 0;
    uint8_t Card = 0;
    bool operator==(const TLaidCard&) const = default;
};
// The hand's first seat and every card laid on the table so far, in order: all
// of it was shown to every table as it happened.
struct THistoryMsg {
    uint8_t FirstSeat = 0;
    std::vector<TLaidCard> Plays;  // at most 52
    bool operator==(const THistoryMsg&) const = default;
};

// ---- From the host, version 4 ----
// The seat's own secret: the one proof that takes the seat back after a drop.
struct TSeatSecretMsg {
    TSeatSecret Secret{};
    bool operator==(const TSeatSecretMsg&) const = default;
};

// ---- From the host, version 5 ----
struct TNoticeMsg {
    TSeatNotice Kind = TSeatNotice::TurnPlayed;
    bool operator==(const TNoticeMsg&) const = default;
};

// ---- From the host, version 6 ----
// Right after the welcome, to a table of version 6 on: the options the table
// plays that differ from the table's own (HouseRulesText: empty for the
// table's own, the score to win never in it; that comes with the welcome). A
// text over RulesTextMax, or one that does not parse, is refused unread.
struct TRulesMsg {
    std::string Text;
    bool operator==(const TRulesMsg&) const = default;
};

using TMessage = std::variant<THello, TBidMsg, TPlayMsg, TWelcome, TRefused, TErrorMsg, TSeatsMsg, THandMsg,
                              TTurnMsg, TBidMadeMsg, TCardPlayedMsg, TTrickWonMsg, THandScoredMsg, TSyncMsg,
                              TGameOverMsg, TSeatKindsMsg, THistoryMsg, TSeatSecretMsg, TBackMsg, TNoticeMsg,
                              TRulesMsg>;

TMsgType TypeOf(const TMessage& message);
// The whole frame: length, version, type, fields.
std::vector<uint8_t> Encode(const TMessage& message);

// Which end reads: each end accepts only the messages meant for it.
enum class TDirection { ToHost, ToClient };

struct TDecodeError {
    TErrorCode Code = TErrorCode::Malformed;
    std::string Text;
};
using TDecoded = std::variant<TMessage, TDecodeError>;

// One body (without its length), checked strictly: exact length, fields in range.
TDecoded DecodeBody(const uint8_t* body, size_t size, TDirection direction);

// Valid UTF-8 with no control characters, 1..NameMaxBytes bytes, not only spaces.
bool ValidName(std::string_view name);
// CodeMinChars..CodeMaxChars letters and digits.
bool ValidCode(std::string_view code);
// Why a Rules text cannot be the table's house rules (too long, does not
// parse, names the score to win), or empty.
std::string RulesTextProblem(std::string_view text);

}  // namespace spades::net
