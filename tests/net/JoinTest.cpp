#include <gmock/gmock.h>

#include <set>

#include "JoinGuard.h"
#include "SeatRoster.h"

using namespace spades;
using namespace spades::net;
using namespace std::chrono_literals;

namespace {

TEST(JoinCode, IsLongEnoughFromItsAlphabetAndNeverRepeats)
{
    std::set<std::string> seen;
    for (int i = 0; i < 2000; ++i) {
        const std::string code = MakeJoinCode();
        EXPECT_GE(code.size(), 8u);
        EXPECT_TRUE(ValidCode(code)) << code;
        EXPECT_EQ(code.find_first_of("01IO"), std::string::npos) << "no look-alike symbols: " << code;
        seen.insert(code);
    }
    EXPECT_EQ(seen.size(), 2000u);
}

TEST(JoinCode, UsesEverySymbolEvenly)
{
    std::map<char, int> counts;
    for (int i = 0; i < 3200; ++i)
        for (char c : MakeJoinCode(10))
            ++counts[c];
    EXPECT_EQ(counts.size(), 32u);
    for (const auto& [symbol, count] : counts) {
        EXPECT_GT(count, 700) << symbol;  // 1000 expected each
        EXPECT_LT(count, 1300) << symbol;
    }
}

struct TCompare {
    const char* A;
    const char* B;
    bool Same;
};
class CodeCompare : public ::testing::TestWithParam<TCompare> {};
TEST_P(CodeCompare, MatchesExactly)
{
    EXPECT_EQ(SameCode(GetParam().A, GetParam().B), GetParam().Same);
}
INSTANTIATE_TEST_SUITE_P(Codes, CodeCompare,
                         ::testing::Values(TCompare{"ABCDEFGH", "ABCDEFGH", true},
                                           TCompare{"ABCDEFGH", "ABCDEFGh", false},
                                           TCompare{"ABCDEFGH", "ABCDEFGHJ", false},
                                           TCompare{"ABCDEFGH", "BBCDEFGH", false}, TCompare{"", "", true}));

TNetPrefix P(const char* address) { return PrefixOf(QHostAddress(QString::fromLatin1(address))); }
TNetPrefix Net(int i) { return PrefixOf(QHostAddress(static_cast<quint32>(0x0A000000 + (i << 8)))); }

TEST(JoinGuard, LocksAPrefixAfterTooManyWrongCodesOnly)
{
    TJoinGuard guard({3, 60s, 30s});
    const auto t0 = TJoinGuard::TClock::time_point{} + 1000s;
    guard.WrongCode(P("10.0.0.1"), t0);
    guard.WrongCode(P("10.0.0.7"), t0 + 1s);
    EXPECT_FALSE(guard.Locked(P("10.0.0.1"), t0 + 2s));
    guard.WrongCode(P("10.0.0.1"), t0 + 2s);
    EXPECT_TRUE(guard.Locked(P("10.0.0.200"), t0 + 2s)) << "the whole /24";
    EXPECT_TRUE(guard.Locked(P("10.0.0.1"), t0 + 31s));
    EXPECT_FALSE(guard.Locked(P("10.0.1.1"), t0 + 3s)) << "other prefixes go on";
    EXPECT_FALSE(guard.Locked(P("10.0.0.1"), t0 + 33s)) << "the lock ends";
}

struct TPrefixCase {
    const char* Name;
    const char* A;
    const char* B;
    bool Same;
};
class Prefixes : public ::testing::TestWithParam<TPrefixCase> {};
TEST_P(Prefixes, GroupAddressesByNetwork)
{
    EXPECT_EQ(P(GetParam().A) == P(GetParam().B), GetParam().Same);
}
INSTANTIATE_TEST_SUITE_P(
    JoinGuard, Prefixes,
    ::testing::Values(TPrefixCase{"SameV4Net", "192.168.1.2", "192.168.1.250", true},
                      TPrefixCase{"NextV4Net", "192.168.1.2", "192.168.2.2", false},
                      TPrefixCase{"MappedIsV4", "::ffff:192.168.1.9", "192.168.1.2", true},
                      TPrefixCase{"LoopbacksAlike", "::1", "127.0.0.1", true},
                      TPrefixCase{"SameV6Net", "2001:db8:1:2::1", "2001:db8:1:2:ffff::9", true},
                      TPrefixCase{"NextV6Net", "2001:db8:1:2::1", "2001:db8:1:3::1", false},
                      TPrefixCase{"V4IsNotV6", "10.0.0.1", "a00:1::", false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(JoinGuard, ForgetsWrongCodesOutsideTheWindow)
{
    TJoinGuard guard({3, 10s, 30s});
    const auto t0 = TJoinGuard::TClock::time_point{} + 1000s;
    guard.WrongCode(P("10.0.0.1"), t0);
    guard.WrongCode(P("10.0.0.1"), t0 + 1s);
    guard.WrongCode(P("10.0.0.1"), t0 + 12s);  // the window began again
    EXPECT_FALSE(guard.Locked(P("10.0.0.1"), t0 + 12s));
    guard.WrongCode(P("10.0.0.1"), t0 + 13s);
    guard.WrongCode(P("10.0.0.1"), t0 + 14s);
    EXPECT_TRUE(guard.Locked(P("10.0.0.1"), t0 + 14s));
}

TEST(JoinGuard, ARightCodeClearsTheCount)
{
    TJoinGuard guard({2, 60s, 30s});
    const auto t0 = TJoinGuard::TClock::time_point{} + 1000s;
    guard.WrongCode(P("10.0.0.1"), t0);
    guard.RightCode(P("10.0.0.1"));
    guard.WrongCode(P("10.0.0.1"), t0 + 1s);
    EXPECT_FALSE(guard.Locked(P("10.0.0.1"), t0 + 1s));
}

TEST(JoinGuard, KeepsItsTableSmallUnderManyPrefixes)
{
    TJoinGuard::TLimits limits{5, 1s, 1s};
    limits.MaxTracked = 500;
    TJoinGuard guard(limits);
    auto t = TJoinGuard::TClock::time_point{} + 1000s;
    for (int i = 0; i < 20000; ++i) {
        guard.WrongCode(Net(i), t);
        t += i < 10000 ? 1ms : 10us;  // then faster than the window forgets
    }
    EXPECT_LE(guard.Tracked(), 500u);
    EXPECT_GT(guard.Tracked(), 400u) << "the newest are kept";
}

// Table-wide wrong codes from ever new prefixes: past the limit every handshake
// waits, twice as long with each more, and the wait fades as they stop.
struct TBackoffCase {
    const char* Name;
    int WrongCodes;  // all at t0, each from a prefix of its own
    std::chrono::milliseconds After;
    std::chrono::milliseconds Wait;
};
class Backoffs : public ::testing::TestWithParam<TBackoffCase> {};
TEST_P(Backoffs, GrowAndDecay)
{
    TJoinGuard::TLimits limits{5, 60s, 30s};
    limits.TableLimit = 10;  // one leaks away every 6 s
    limits.BackoffBase = 100ms;
    limits.BackoffMax = 3000ms;
    TJoinGuard guard(limits);
    const auto t0 = TJoinGuard::TClock::time_point{} + 1000s;
    for (int i = 0; i < GetParam().WrongCodes; ++i)
        guard.WrongCode(Net(i), t0);
    EXPECT_EQ(guard.Backoff(t0 + GetParam().After), GetParam().Wait);
}
INSTANTIATE_TEST_SUITE_P(JoinGuard, Backoffs,
                         ::testing::Values(TBackoffCase{"UnderTheLimit", 9, 0ms, 0ms},
                                           TBackoffCase{"AtTheLimit", 10, 0ms, 100ms},
                                           TBackoffCase{"ThreeMore", 13, 0ms, 800ms},
                                           TBackoffCase{"Capped", 40, 0ms, 3000ms},
                                           TBackoffCase{"HalvedAsOneLeaks", 13, 6s, 400ms},
                                           TBackoffCase{"GoneWhenUnder", 13, 25s, 0ms}),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- Seats ----

TSeatRoster Table(std::array<TSeatKind, 4> kinds)
{
    return TSeatRoster(kinds, {"North", "East", "South", "West"});
}
constexpr auto R = TSeatKind::Remote;
constexpr auto K = TSeatKind::Computer;
constexpr auto X = TSeatKind::Expert;

struct TJoinCase {
    const char* Name;
    std::array<TSeatKind, 4> Kinds;
    std::vector<std::pair<std::string, int>> Joins;  // name, wanted seat
    std::vector<int> Seats;                          // 0: refused
};
class Joining : public ::testing::TestWithParam<TJoinCase> {};
TEST_P(Joining, GivesOpenSeatsOnly)
{
    TSeatRoster roster = Table(GetParam().Kinds);
    std::vector<int> got;
    uint64_t conn = 1;
    for (const auto& [name, want] : GetParam().Joins)
        got.push_back(roster.Join(name, want, conn++).Seat);
    EXPECT_EQ(got, GetParam().Seats);
}
INSTANTIATE_TEST_SUITE_P(
    Roster, Joining,
    ::testing::Values(TJoinCase{"FirstOpenInOrder", {K, R, K, R}, {{"a", 0}, {"b", 0}, {"c", 0}}, {2, 4, 0}},
                      TJoinCase{"WantedSeat", {R, R, R, R}, {{"a", 3}, {"b", 3}, {"c", 0}}, {3, 1, 2}},
                      TJoinCase{"WantedComputerSeatIgnored", {R, K, X, K}, {{"a", 2}, {"b", 3}}, {1, 0}},
                      TJoinCase{"NoRemoteSeats", {K, K, X, K}, {{"a", 0}}, {0}},
                      TJoinCase{"SameNameTwice", {R, R, K, K}, {{"a", 0}, {"a", 0}}, {1, 0}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Roster, ADroppedSeatGoesBackOnlyToTheHolderOfItsSecret)
{
    TSeatRoster roster = Table({R, K, R, K});
    EXPECT_EQ(roster.Join("Ann", 0, 11).Seat, 1);
    EXPECT_EQ(roster.Join("Bo", 0, 12).Seat, 3);
    const TSeatSecret ann = roster.At(1).Secret;
    EXPECT_NE(ann, TSeatSecret{});
    EXPECT_NE(ann, roster.At(3).Secret);
    EXPECT_TRUE(roster.Full());
    EXPECT_EQ(roster.Leave(11), 1);
    EXPECT_EQ(roster.At(1).State, TSeatState::Dropped);
    EXPECT_FALSE(roster.Connected(1));
    EXPECT_FALSE(roster.Full());
    EXPECT_EQ(roster.Join("Cy", 0, 13).Seat, 0) << "the seat is kept for Ann";
    EXPECT_EQ(roster.Join("Ann", 0, 13).Refusal, TErrorCode::NameInUse) << "her name is not enough";
    TSeatSecret guess = ann;
    guess[15] ^= 1;
    EXPECT_EQ(roster.Join("Zed", 0, 13, guess).Seat, 0) << "nor a secret one bit off";
    const auto back = roster.Join("anyone", 3, 14, ann);
    EXPECT_EQ(back.Seat, 1);
    EXPECT_TRUE(back.Returning);
    EXPECT_EQ(back.Replaced, 0u);
    EXPECT_EQ(roster.At(1).State, TSeatState::Remote);
    EXPECT_EQ(roster.At(1).Name, "Ann");
    EXPECT_EQ(roster.SeatOf(14), 1);
    EXPECT_EQ(roster.Join("again", 0, 15, ann).Replaced, 14u) << "the secret's holder takes over a stale connection";
    EXPECT_EQ(roster.Leave(99), 0);
}

// Names as the host keeps and compares them. Look-alikes: case, accents,
// spaces, Cyrillic and Greek letters like Latin ones, 0 like O, 1 and I like l.
struct TNameCase {
    const char* Name;
    const char* Seated;  // already at the table
    const char* Joining;
    TErrorCode Refusal;  // TableFull: taken
};
class SeatNames : public ::testing::TestWithParam<TNameCase> {};
TEST_P(SeatNames, AreRefusedWhenTheyPassForAnother)
{
    TSeatRoster roster = Table({R, R, K, K});
    ASSERT_EQ(roster.Join(GetParam().Seated, 0, 1).Seat, 1);
    const auto join = roster.Join(GetParam().Joining, 0, 2);
    if (GetParam().Refusal == TErrorCode::TableFull) {
        EXPECT_EQ(join.Seat, 2) << join.Text;
    } else {
        EXPECT_EQ(join.Seat, 0);
        EXPECT_EQ(join.Refusal, GetParam().Refusal);
        EXPECT_FALSE(join.Text.empty());
    }
}
constexpr auto Taken = TErrorCode::TableFull;
constexpr auto Alike = TErrorCode::NameInUse;
constexpr auto Bad = TErrorCode::BadName;
INSTANTIATE_TEST_SUITE_P(
    Roster, SeatNames,
    ::testing::Values(TNameCase{"Different", "Ann", "Bo", Taken}, TNameCase{"Same", "Ann", "Ann", Alike},
                      TNameCase{"Case", "Ann", "aNN", Alike}, TNameCase{"Accent", "Ann", "\u00c1nn", Alike},
                      TNameCase{"Spaces", "Ann Lee", "AnnLee", Alike},
                      TNameCase{"CyrillicA", "Ann", "\u0410nn", Alike}, TNameCase{"GreekO", "Bob", "B\u03bfb", Alike},
                      TNameCase{"ZeroForO", "Bob", "B0b", Alike}, TNameCase{"OneForL", "Lil", "1i1", Alike},
                      TNameCase{"CapitalIForL", "Ali", "AlI", Alike}, TNameCase{"Fullwidth", "Ann", "\uff21nn", Alike},
                      TNameCase{"SeatName", "Ann", "South", Bad}, TNameCase{"SeatNameLookAlike", "Ann", "N0RTH", Bad},
                      TNameCase{"SeatNameCyrillic", "Ann", "\u0415ast", Bad},
                      TNameCase{"RightToLeftOverride", "Ann", "Bo\u202eb", Bad},
                      TNameCase{"ZeroWidthJoiner", "Ann", "Bo\u200db", Bad},
                      TNameCase{"SoftHyphen", "Ann", "Bo\u00adb", Bad}, TNameCase{"Tab", "Ann", "Bo\tb", Bad}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Roster, KeepsANameInItsNormalForm)
{
    TSeatRoster roster = Table({R, K, K, K});
    ASSERT_EQ(roster.Join("\uff21nn\u2460", 0, 1).Seat, 1);  // fullwidth A, circled one
    EXPECT_EQ(roster.At(1).Name, "Ann1");
}

TEST(Roster, MessageShowsStatesAndNames)
{
    TSeatRoster roster = Table({R, K, X, R});
    roster.Join("Ann", 4, 1);
    const TSeatsMsg m = roster.Message();
    EXPECT_THAT(m.States, ::testing::ElementsAre(TSeatState::Open, TSeatState::Computer, TSeatState::Computer,
                                                 TSeatState::Remote));
    EXPECT_THAT(m.Names, ::testing::ElementsAre("North", "East", "South", "Ann"));
}

struct TKindWord {
    const char* Word;
    std::optional<TSeatKind> Kind;
};
class KindWords : public ::testing::TestWithParam<TKindWord> {};
TEST_P(KindWords, Parse)
{
    EXPECT_EQ(HostSeatKindNamed(GetParam().Word), GetParam().Kind);
}
INSTANTIATE_TEST_SUITE_P(Roster, KindWords,
                         ::testing::Values(TKindWord{"remote", R}, TKindWord{"classic", K}, TKindWord{"computer", K},
                                           TKindWord{"expert", X}, TKindWord{"Remote", std::nullopt},
                                           TKindWord{"", std::nullopt}));

}  // namespace
