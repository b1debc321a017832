#include <gmock/gmock.h>

#include "FrameReader.h"
#include "NetMessage.h"

using namespace spades::net;

namespace {

std::vector<uint8_t> Body(const std::vector<uint8_t>& frame) { return {frame.begin() + 2, frame.end()}; }

TDecoded DecodeFrame(const std::vector<uint8_t>& frame, TDirection direction)
{
    TFrameReader reader(direction);
    reader.Feed(frame.data(), frame.size());
    auto next = reader.Next();
    EXPECT_TRUE(next.has_value());
    return next ? *next : TDecoded{TDecodeError{}};
}

TSyncMsg SampleSync()
{
    TSyncMsg m;
    m.HandNumber = 300;
    m.Phase = TPhase::Playing;
    m.Slots = {1, 0, 14, 27, 40, 52, 0, 0, 5, 6, 7, 8, 9};
    m.Bids = {0, 13, NoBid, 4};
    m.Tricks = {1, 2, 3, 0};
    m.Scores = {-120, 0, 250, 99999};
    m.TotalBags = {0, 7, 100, 65535};
    m.SpadesBroken = true;
    m.PlaceSeats = {2, 3, 0, 0};
    m.PlaceCards = {20, 21, 0, 0};
    for (int card : {1, 8, 9, 20, 21, 52})
        m.CardsPlayed[static_cast<size_t>(card)] = true;
    return m;
}

struct TRoundTrip {
    const char* Name;
    TMessage Message;
    TDirection Reader;
};

class RoundTrip : public ::testing::TestWithParam<TRoundTrip> {};

TEST_P(RoundTrip, DecodesToWhatWasEncoded)
{
    const auto& param = GetParam();
    const std::vector<uint8_t> frame = Encode(param.Message);
    ASSERT_GE(frame.size(), 4u);
    EXPECT_EQ(static_cast<size_t>(frame[0] << 8 | frame[1]), frame.size() - 2) << "length prefix";
    EXPECT_EQ(frame[2], ProtocolVersion);
    EXPECT_EQ(frame[3], static_cast<uint8_t>(TypeOf(param.Message)));
    EXPECT_LE(frame.size() - 2, MaxBody);
    const TDecoded decoded = DecodeFrame(frame, param.Reader);
    ASSERT_TRUE(std::holds_alternative<TMessage>(decoded)) << std::get<TDecodeError>(decoded).Text;
    EXPECT_TRUE(std::get<TMessage>(decoded) == param.Message);
}

TEST_P(RoundTrip, IsRefusedByTheOtherEnd)
{
    const auto& param = GetParam();
    const TDirection other = param.Reader == TDirection::ToHost ? TDirection::ToClient : TDirection::ToHost;
    const TDecoded decoded = DecodeFrame(Encode(param.Message), other);
    ASSERT_TRUE(std::holds_alternative<TDecodeError>(decoded));
    EXPECT_EQ(std::get<TDecodeError>(decoded).Code, TErrorCode::UnknownType);
}

TEST_P(RoundTrip, EveryShorterOrLongerBodyIsMalformed)
{
    const std::vector<uint8_t> body = Body(Encode(GetParam().Message));
    for (size_t cut = 2; cut < body.size(); ++cut) {
        const TDecoded decoded = DecodeBody(body.data(), cut, GetParam().Reader);
        ASSERT_TRUE(std::holds_alternative<TDecodeError>(decoded)) << "cut at " << cut;
        EXPECT_EQ(std::get<TDecodeError>(decoded).Code, TErrorCode::Malformed);
    }
    std::vector<uint8_t> longer = body;
    longer.push_back(0);
    const TDecoded decoded = DecodeBody(longer.data(), longer.size(), GetParam().Reader);
    ASSERT_TRUE(std::holds_alternative<TDecodeError>(decoded));
    EXPECT_EQ(std::get<TDecodeError>(decoded).Code, TErrorCode::Malformed);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, RoundTrip,
    ::testing::Values(
        TRoundTrip{"Hello", THello{"ABCDEFGH23", "Zoë", 3}, TDirection::ToHost},
        TRoundTrip{"Bid", TBidMsg{0xFFFFFFF0u, 4, 13}, TDirection::ToHost},
        TRoundTrip{"Play", TPlayMsg{7, 1, 52}, TDirection::ToHost},
        TRoundTrip{"Welcome", TWelcome{2, 500}, TDirection::ToClient},
        TRoundTrip{"Refused", TRefused{TErrorCode::WrongCode, "wrong join code"}, TDirection::ToClient},
        TRoundTrip{"Error", TErrorMsg{TErrorCode::MustFollowSuit, "You must follow suit"}, TDirection::ToClient},
        TRoundTrip{"Seats",
                   TSeatsMsg{{TSeatState::Open, TSeatState::Remote, TSeatState::Computer, TSeatState::Dropped},
                             {"North", "Ann", "South", "Bo"}},
                   TDirection::ToClient},
        TRoundTrip{"Hand", THandMsg{12, 3, {1, 2, 3, 14, 15, 16, 27, 28, 29, 40, 41, 42, 52}}, TDirection::ToClient},
        TRoundTrip{"Turn", TTurnMsg{99, TTurnKind::Card, 4, 60000}, TDirection::ToClient},
        TRoundTrip{"BidMade", TBidMadeMsg{1, 0}, TDirection::ToClient},
        TRoundTrip{"CardPlayed", TCardPlayedMsg{2, 40, 4}, TDirection::ToClient},
        TRoundTrip{"TrickWon", TTrickWonMsg{3, {1, 2, 13, 0}}, TDirection::ToClient},
        TRoundTrip{"HandScored", THandScoredMsg{{{{-100, 0, 2, 0, 3}, {51, 5, 6, 1, 9}, {0, 1, 0, 0, 0}, {250, 13, 13, 0, 100}}}, 4},
                   TDirection::ToClient},
        TRoundTrip{"Sync", SampleSync(), TDirection::ToClient},
        TRoundTrip{"GameOver", TGameOverMsg{2, "East"}, TDirection::ToClient}),
    [](const auto& info) { return std::string(info.param.Name); });

// Bodies that are whole frames but say something impossible.
struct TBadBody {
    const char* Name;
    std::vector<uint8_t> Body;
    TDirection Reader;
    TErrorCode Code;
};

class BadBody : public ::testing::TestWithParam<TBadBody> {};

TEST_P(BadBody, IsRefusedWithItsReason)
{
    const auto& param = GetParam();
    const TDecoded decoded = DecodeBody(param.Body.data(), param.Body.size(), param.Reader);
    ASSERT_TRUE(std::holds_alternative<TDecodeError>(decoded));
    EXPECT_EQ(std::get<TDecodeError>(decoded).Code, param.Code);
    EXPECT_FALSE(std::get<TDecodeError>(decoded).Text.empty());
}

constexpr auto H = TDirection::ToHost;
constexpr auto C = TDirection::ToClient;

INSTANTIATE_TEST_SUITE_P(
    Bodies, BadBody,
    ::testing::Values(
        TBadBody{"Empty", {}, H, TErrorCode::Malformed},
        TBadBody{"VersionOnly", {1}, H, TErrorCode::Malformed},
        TBadBody{"FutureVersion", {2, 0x02, 0, 0, 0, 1, 1, 1}, H, TErrorCode::BadVersion},
        TBadBody{"VersionZero", {0, 0x02, 0, 0, 0, 1, 1, 1}, H, TErrorCode::BadVersion},
        TBadBody{"UnknownType", {1, 0x30}, H, TErrorCode::UnknownType},
        TBadBody{"UnknownHostType", {1, 0x7F, 0}, C, TErrorCode::UnknownType},
        TBadBody{"BidSeatZero", {1, 0x02, 0, 0, 0, 1, 0, 3}, H, TErrorCode::Malformed},
        TBadBody{"PlaySeatFive", {1, 0x03, 0, 0, 0, 1, 5, 3}, H, TErrorCode::Malformed},
        TBadBody{"HelloShortCode", {1, 0x01, 3, 'A', 'B', 'C', 1, 'x', 0}, H, TErrorCode::Malformed},
        TBadBody{"HelloCodeWithSpace", {1, 0x01, 8, 'A', 'B', 'C', 'D', ' ', 'F', 'G', 'H', 1, 'x', 0}, H,
                 TErrorCode::Malformed},
        TBadBody{"HelloEmptyName", {1, 0x01, 8, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 0, 0}, H, TErrorCode::Malformed},
        TBadBody{"HelloNameControl", {1, 0x01, 8, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 2, 'a', '\n', 0}, H,
                 TErrorCode::Malformed},
        TBadBody{"HelloNameBadUtf8", {1, 0x01, 8, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 2, 'a', 0xC3, 0}, H,
                 TErrorCode::Malformed},
        TBadBody{"HelloSeatSix", {1, 0x01, 8, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 1, 'a', 6}, H,
                 TErrorCode::Malformed},
        TBadBody{"HelloStringPastEnd", {1, 0x01, 200, 'A'}, H, TErrorCode::Malformed},
        TBadBody{"CardZero", {1, 0x48, 1, 0, 1}, C, TErrorCode::Malformed},
        TBadBody{"CardJoker", {1, 0x48, 1, 53, 1}, C, TErrorCode::Malformed},
        TBadBody{"PlaceFive", {1, 0x48, 1, 3, 5}, C, TErrorCode::Malformed},
        TBadBody{"HandTwice", {1, 0x45, 0, 1, 3, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, C, TErrorCode::Malformed},
        TBadBody{"BidFourteen", {1, 0x47, 1, 14}, C, TErrorCode::Malformed},
        TBadBody{"TurnKindThree", {1, 0x46, 0, 0, 0, 1, 3, 1, 0, 0, 0, 0}, C, TErrorCode::Malformed},
        TBadBody{"ErrorCodeZero", {1, 0x43, 0, 0}, C, TErrorCode::Malformed}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(FrameReader, GivesTheSameMessagesHoweverTheBytesArrive)
{
    std::vector<uint8_t> stream;
    const std::vector<TMessage> sent = {TWelcome{1, 250}, SampleSync(), TBidMadeMsg{2, 5},
                                        TCardPlayedMsg{3, 9, 1}, TGameOverMsg{1, "Ann"}};
    for (const auto& m : sent) {
        const auto frame = Encode(m);
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    for (size_t piece : {1u, 2u, 3u, 7u, 64u, 4096u}) {
        TFrameReader reader(TDirection::ToClient);
        std::vector<TMessage> got;
        for (size_t at = 0; at < stream.size(); at += piece) {
            reader.Feed(stream.data() + at, std::min(piece, stream.size() - at));
            while (auto next = reader.Next()) {
                ASSERT_TRUE(std::holds_alternative<TMessage>(*next)) << "piece " << piece;
                got.push_back(std::get<TMessage>(*next));
            }
        }
        EXPECT_EQ(got, sent) << "piece " << piece;
        EXPECT_EQ(reader.Buffered(), 0u);
    }
}

TEST(FrameReader, SkipsAnOversizedFrameAndReadsOnAfterIt)
{
    for (size_t piece : {1u, 5u, 100u, 70000u}) {
        std::vector<uint8_t> stream = {0xFF, 0xFF};
        stream.resize(2 + 0xFFFF, 0xAB);
        const auto good = Encode(TBidMsg{5, 2, 4});
        stream.insert(stream.end(), good.begin(), good.end());

        TFrameReader reader(TDirection::ToHost);
        int oversized = 0;
        std::vector<TMessage> got;
        size_t mostBuffered = 0;
        for (size_t at = 0; at < stream.size(); at += piece) {
            reader.Feed(stream.data() + at, std::min(piece, stream.size() - at));
            mostBuffered = std::max(mostBuffered, reader.Buffered());
            while (auto next = reader.Next()) {
                if (auto* e = std::get_if<TDecodeError>(&*next)) {
                    EXPECT_EQ(e->Code, TErrorCode::Oversized);
                    ++oversized;
                } else {
                    got.push_back(std::get<TMessage>(*next));
                }
            }
        }
        EXPECT_EQ(oversized, 1) << "piece " << piece;
        ASSERT_EQ(got.size(), 1u) << "piece " << piece;
        EXPECT_TRUE(got[0] == TMessage(TBidMsg{5, 2, 4}));
        if (piece < 1000) {
            EXPECT_LE(mostBuffered, MaxBody + 2 + piece) << "never holds the big frame";
        }
    }
}

TEST(FrameReader, LimitIsInclusive)
{
    std::vector<uint8_t> frame = {static_cast<uint8_t>(MaxBody >> 8), static_cast<uint8_t>(MaxBody & 0xFF)};
    frame.resize(2 + MaxBody, 0);
    frame[2] = ProtocolVersion;
    frame[3] = 0x02;  // a bid, far too long
    TFrameReader reader(TDirection::ToHost);
    reader.Feed(frame.data(), frame.size());
    auto at = reader.Next();
    ASSERT_TRUE(at && std::holds_alternative<TDecodeError>(*at));
    EXPECT_EQ(std::get<TDecodeError>(*at).Code, TErrorCode::Malformed) << "read, then refused for its shape";

    frame[0] = static_cast<uint8_t>((MaxBody + 1) >> 8);
    frame[1] = static_cast<uint8_t>((MaxBody + 1) & 0xFF);
    frame.push_back(0);
    TFrameReader again(TDirection::ToHost);
    again.Feed(frame.data(), frame.size());
    at = again.Next();
    ASSERT_TRUE(at && std::holds_alternative<TDecodeError>(*at));
    EXPECT_EQ(std::get<TDecodeError>(*at).Code, TErrorCode::Oversized);
}

struct TText {
    const char* Text;
    bool Valid;
};

class Names : public ::testing::TestWithParam<TText> {};
TEST_P(Names, AreCheckedAsShownText)
{
    EXPECT_EQ(ValidName(GetParam().Text), GetParam().Valid) << GetParam().Text;
}
INSTANTIATE_TEST_SUITE_P(Text, Names,
                         ::testing::Values(TText{"Ann", true}, TText{"Zoë", true}, TText{"李", true},
                                           TText{"😀 ok", true}, TText{"", false}, TText{"   ", false},
                                           TText{"tab\there", false}, TText{"del\x7f", false},
                                           TText{"\xC3", false}, TText{"\xC0\xAF", false},  // overlong '/'
                                           TText{"\xED\xA0\x80", false},                    // a surrogate
                                           TText{"\xC2\x85", false},                        // C1 control
                                           TText{"abcdefghijklmnopqrstuvwxyz012345", true},
                                           TText{"abcdefghijklmnopqrstuvwxyz0123456", false}));

class Codes : public ::testing::TestWithParam<TText> {};
TEST_P(Codes, AreLettersAndDigits)
{
    EXPECT_EQ(ValidCode(GetParam().Text), GetParam().Valid) << GetParam().Text;
}
INSTANTIATE_TEST_SUITE_P(Text, Codes,
                         ::testing::Values(TText{"ABCDEFGH", true}, TText{"abc12345", true}, TText{"ABCDEFG", false},
                                           TText{"ABCD-FGH", false}, TText{"ABCDEFGHÉ", false},
                                           TText{"0123456789012345678901234567890A", true},
                                           TText{"0123456789012345678901234567890AB", false}));

}  // namespace

namespace {

// Version 2: the seat kinds and the history of the hand, and a Hello that says
// which version its table speaks. Each frame carries the version of its type.
struct TLater {
    const char* Name;
    TMessage Message;
    TDirection Reader;
    uint8_t Version;
};

class LaterVersion : public ::testing::TestWithParam<TLater> {};

TEST_P(LaterVersion, RoundTripsInTheVersionOfItsType)
{
    const auto& param = GetParam();
    std::vector<uint8_t> frame = Encode(param.Message);
    EXPECT_EQ(frame[2], param.Version);
    const TDecoded decoded = DecodeFrame(frame, param.Reader);
    ASSERT_TRUE(std::holds_alternative<TMessage>(decoded)) << std::get<TDecodeError>(decoded).Text;
    EXPECT_TRUE(std::get<TMessage>(decoded) == param.Message);
    // In another version's frame it is refused: an older table never takes it for something else.
    frame[2] = param.Version == 1 ? 2 : 1;
    if (!std::holds_alternative<THello>(param.Message)) {
        const TDecoded other = DecodeFrame(frame, param.Reader);
        ASSERT_TRUE(std::holds_alternative<TDecodeError>(other));
        EXPECT_EQ(std::get<TDecodeError>(other).Code, TErrorCode::BadVersion);
    }
}

THistoryMsg FullHistory()
{
    THistoryMsg m{4, {}};
    for (uint8_t card = 1; card <= 52; ++card)
        m.Plays.push_back({static_cast<uint8_t>((card + 2) % 4 + 1), card});
    return m;
}

INSTANTIATE_TEST_SUITE_P(
    Messages, LaterVersion,
    ::testing::Values(
        TLater{"SeatKinds",
               TSeatKindsMsg{{TSeatPlayer::Person, TSeatPlayer::Classic, TSeatPlayer::Expert, TSeatPlayer::Person}},
               TDirection::ToClient, 2},
        TLater{"HistoryEmpty", THistoryMsg{3, {}}, TDirection::ToClient, 2},
        TLater{"HistoryMidTrick", THistoryMsg{2, {{2, 14}, {3, 15}, {4, 1}}}, TDirection::ToClient, 2},
        TLater{"HistoryWhole", FullHistory(), TDirection::ToClient, 2},
        TLater{"HelloVersion1", THello{"ABCDEFGH", "Ann", 0, 1}, TDirection::ToHost, 1},
        TLater{"HelloVersion2", THello{"ABCDEFGH", "Ann", 2, 2}, TDirection::ToHost, 2},
        TLater{"HelloVersion3", THello{"ABCDEFGH", "Ann", 1, 3}, TDirection::ToHost, 3},
        TLater{"HelloWithASecret", THello{"ABCDEFGH", "Ann", 1, 4, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
               TDirection::ToHost, 4},
        TLater{"SeatSecret", TSeatSecretMsg{{9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0, 0, 0, 0, 0, 255}}, TDirection::ToClient, 4},
        TLater{"HelloVersion5", THello{"ABCDEFGH", "Ann", 1, 5, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
               TDirection::ToHost, 5},
        TLater{"Back", TBackMsg{}, TDirection::ToHost, 5},
        TLater{"NoticeAway", TNoticeMsg{TSeatNotice::Away}, TDirection::ToClient, 5},
        TLater{"ErrorRemoved", TRefused{TErrorCode::Removed, "gone"}, TDirection::ToClient, 1},
        TLater{"HelloVersion6", THello{"ABCDEFGH", "Ann", 1, 6, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
               TDirection::ToHost, 6},
        TLater{"RulesOfTheTable", TRulesMsg{""}, TDirection::ToClient, 6},
        TLater{"RulesHouse", TRulesMsg{"variant=partnership bags=ten blindnil=behind bidding=suicide"},
               TDirection::ToClient, 6},
        TLater{"RulesEveryOption",
               TRulesMsg{"variant=partnership bags=none nil=50 blindnil=behind losescore=-200 spades=anytime "
                         "firsttrick=clean bidding=suicide"},
               TDirection::ToClient, 6},
        TLater{"BidBlindNil", TBidMsg{5, 3, BlindNilByte}, TDirection::ToHost, 1}),
    [](const auto& info) { return std::string(info.param.Name); });

std::vector<uint8_t> RulesBody(uint8_t version, const std::string& text)
{
    std::vector<uint8_t> body{version, 0x51, static_cast<uint8_t>(text.size())};
    body.insert(body.end(), text.begin(), text.end());
    return body;
}

INSTANTIATE_TEST_SUITE_P(
    LaterBodies, BadBody,
    ::testing::Values(
        TBadBody{"HelloVersion7", {7, 0x01, 8, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 1, 'a', 0}, H,
                 TErrorCode::BadVersion},
        TBadBody{"HelloVersion6WithoutSecret", {6, 0x01, 8, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 1, 'a', 0}, H,
                 TErrorCode::Malformed},
        TBadBody{"RulesInVersion5", RulesBody(5, "variant=partnership"), C, TErrorCode::BadVersion},
        TBadBody{"RulesInVersion1", RulesBody(1, ""), C, TErrorCode::BadVersion},
        TBadBody{"RulesToTheHost", RulesBody(6, ""), H, TErrorCode::UnknownType},
        TBadBody{"RulesOversize", RulesBody(6, std::string(RulesTextMax + 1, ' ')), C, TErrorCode::Malformed},
        TBadBody{"RulesUnknownOption", RulesBody(6, "variant=partnership colour=red"), C, TErrorCode::Malformed},
        TBadBody{"RulesUnknownValue", RulesBody(6, "bags=eleven"), C, TErrorCode::Malformed},
        TBadBody{"RulesNotNameValue", RulesBody(6, "partnership"), C, TErrorCode::Malformed},
        TBadBody{"RulesUnplayable", RulesBody(6, "bidding=suicide"), C, TErrorCode::Malformed},
        TBadBody{"RulesWithTheScoreToWin", RulesBody(6, "variant=partnership winscore=500"), C, TErrorCode::Malformed},
        TBadBody{"RulesWithTheTablesScoreToWin", RulesBody(6, "winscore=250"), C, TErrorCode::Malformed},
        TBadBody{"RulesPastTheirLength", {6, 0x51, 20, 'b', 'a', 'g', 's'}, C, TErrorCode::Malformed},
        TBadBody{"HelloVersion4WithoutSecret", {4, 0x01, 8, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 1, 'a', 0}, H,
                 TErrorCode::Malformed},
        TBadBody{"SeatSecretShort", {4, 0x4F, 1, 2, 3}, C, TErrorCode::Malformed},
        TBadBody{"NoticeKindZero", {5, 0x50, 0}, C, TErrorCode::Malformed},
        TBadBody{"NoticeKindFour", {5, 0x50, 4}, C, TErrorCode::Malformed},
        TBadBody{"NoticeToTheHost", {5, 0x50, 1}, H, TErrorCode::UnknownType},
        TBadBody{"BackWithAField", {5, 0x04, 0}, H, TErrorCode::Malformed},
        TBadBody{"BackToATable", {5, 0x04}, C, TErrorCode::UnknownType},
        TBadBody{"ErrorCodePastTheLast", {1, 0x43, 21, 0}, C, TErrorCode::Malformed},
        TBadBody{"SeatSecretEmpty", {4, 0x4F, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, C, TErrorCode::Malformed},
        TBadBody{"SeatSecretToTheHost", {4, 0x4F, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, H,
                 TErrorCode::UnknownType},
        TBadBody{"SeatKindZero", {2, 0x4D, 1, 2, 0, 3}, C, TErrorCode::Malformed},
        TBadBody{"SeatKindFour", {2, 0x4D, 1, 2, 4, 3}, C, TErrorCode::Malformed},
        TBadBody{"SeatKindsShort", {2, 0x4D, 1, 2, 3}, C, TErrorCode::Malformed},
        TBadBody{"HistoryFirstSeatFive", {2, 0x4E, 5, 0}, C, TErrorCode::Malformed},
        TBadBody{"HistoryOver52", {2, 0x4E, 1, 53}, C, TErrorCode::Malformed},
        TBadBody{"HistoryCardTwice", {2, 0x4E, 1, 2, 1, 7, 2, 7}, C, TErrorCode::Malformed},
        TBadBody{"HistorySeatZero", {2, 0x4E, 1, 1, 0, 7}, C, TErrorCode::Malformed},
        TBadBody{"HistoryCardJoker", {2, 0x4E, 1, 1, 1, 53}, C, TErrorCode::Malformed},
        TBadBody{"HistoryShorterThanItsCount", {2, 0x4E, 1, 2, 1, 7}, C, TErrorCode::Malformed},
        TBadBody{"HistoryToTheHost", {2, 0x4E, 1, 0}, H, TErrorCode::UnknownType}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
