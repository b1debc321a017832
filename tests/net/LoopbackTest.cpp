// Hosts and players talking over 127.0.0.1 in one event loop.
#include <gmock/gmock.h>

#include <QTcpSocket>

#include <chrono>
#include <random>

#include "NetTestSupport.h"
#include "RuleText.h"

using namespace spades;
using namespace spades::net;
using namespace spades::net::testing;

namespace {

struct TGameCase {
    const char* Name;
    std::array<TSeatKind, 4> Kinds;
    uint32_t Seed;
    int Games;
};

class WholeGames : public ::testing::TestWithParam<TGameCase> {};

// Players as long-named as their seats and playing the classic way give the very
// log four computer seats give, but for the word "Remote".
TEST_P(WholeGames, MatchTheComputersGameMoveForMove)
{
    TNetHostOptions options;
    options.Kinds = GetParam().Kinds;
    options.Seed = GetParam().Seed;
    options.Games = GetParam().Games;
    THosted hosted(options);
    ASSERT_TRUE(hosted.Ok);
    std::vector<std::unique_ptr<TJoined>> players;
    for (int seat = 1; seat <= 4; ++seat)
        if (GetParam().Kinds[static_cast<size_t>(seat - 1)] == TSeatKind::Remote)
            players.push_back(std::make_unique<TJoined>(
                Playing(hosted.Client(PlayerAt[static_cast<size_t>(seat)], static_cast<uint8_t>(seat)))));
    ASSERT_TRUE(WaitUntil([&] { return hosted.Finished; }, GameMs));
    EXPECT_EQ(AsComputers(hosted.Log.str()), SimulatedLog(GetParam().Seed, GetParam().Games));
    for (const auto& p : players) {
        EXPECT_TRUE(WaitUntil([&] { return p->Closed; }, GameMs));
        EXPECT_TRUE(p->Why.empty()) << p->Why;
        EXPECT_EQ(p->Winners.size(), static_cast<size_t>(GetParam().Games));
        EXPECT_THAT(p->Errors, ::testing::IsEmpty());
    }
}

constexpr auto R = TSeatKind::Remote;
constexpr auto K = TSeatKind::Computer;
constexpr auto X = TSeatKind::Expert;

INSTANTIATE_TEST_SUITE_P(Loopback, WholeGames,
                         ::testing::Values(TGameCase{"TwoRemote", {R, K, R, K}, 11, 1},
                                           TGameCase{"ThreeRemote", {R, R, K, R}, 12, 2},
                                           TGameCase{"FourRemote", {R, R, R, R}, 13, 1}),
                         [](const auto& info) { return std::string(info.param.Name); });

// A table of the version before the rules, or of this one, at a host of the
// table's own rules or of house rules: the older table plays the table's own
// game as before and is told to update for any other; this one plays the
// host's rules to the end and names the winning side.
struct TVersionCase {
    const char* Name;
    const char* Rules;
    uint8_t Version;
    bool Plays;
};

class Versions : public ::testing::TestWithParam<TVersionCase> {};

TEST_P(Versions, JoinOnlyWhereTheyKnowTheRules)
{
    const TVersionCase& c = GetParam();
    TNetHostOptions options;
    options.Kinds = {R, K, R, K};
    options.Seed = 21;
    ASSERT_EQ(ParseRules(options.Rules, c.Rules), "");
    THosted hosted(options);
    ASSERT_TRUE(hosted.Ok);
    TNetClientOptions older = Playing(hosted.Client("Norah", 1));
    older.Version = c.Version;
    TJoined player(older);
    ASSERT_TRUE(WaitUntil([&] { return player.Seat != 0 || player.Closed; }, GameMs));
    std::unique_ptr<TJoined> updated;  // takes the seat the older table was refused
    if (c.Plays) {
        EXPECT_EQ(player.Seat, 1);
        EXPECT_EQ(player.Refusal, 0) << player.RefusalText;
    } else {
        EXPECT_EQ(player.Seat, 0);
        EXPECT_EQ(player.Refusal, static_cast<int>(TErrorCode::BadVersion));
        EXPECT_EQ(player.RefusalText, OlderThanRulesText(c.Rules));
        EXPECT_NE(player.RefusalText.find("update Quelbrin Spades"), std::string::npos);
        updated = std::make_unique<TJoined>(Playing(hosted.Client("Norah", 1)));
    }
    TJoined& north = updated ? *updated : player;
    TJoined partner(Playing(hosted.Client("Sally", 3)));
    ASSERT_TRUE(WaitUntil([&] { return north.Closed && partner.Closed; }, GameMs));
    for (const TJoined* p : {&north, &partner}) {
        EXPECT_TRUE(p->Why.empty()) << p->Why;
        ASSERT_EQ(p->Winners.size(), 1u);
        EXPECT_THAT(p->Errors, ::testing::IsEmpty());
    }
    EXPECT_EQ(north.Winners, partner.Winners);
    EXPECT_EQ(partner.Client->Mirror().Rules(), options.Rules);
    const std::string winner = options.Rules.Partnership() ? SideName(SideOf(partner.Winners[0]))
                                                           : partner.Client->Mirror().Player(partner.Winners[0]).FName;
    EXPECT_EQ(partner.Client->Mirror().WinnerName(), winner);
    ASSERT_FALSE(hosted.Reports.empty());
    EXPECT_NE(hosted.Reports.back().find("winner " + winner + " after"), std::string::npos) << hosted.Reports.back();
}

INSTANTIATE_TEST_SUITE_P(Loopback, Versions,
                         ::testing::Values(TVersionCase{"OlderAtTheTablesOwn", "", 5, true},
                                           TVersionCase{"OlderAtAPartnership", "variant=partnership", 5, false},
                                           TVersionCase{"OlderAtHouseRules", "bags=ten nil=50", 5, false},
                                           TVersionCase{"ThisAtAPartnership", "variant=partnership bidding=whiz", 6,
                                                        true}),
                         [](const auto& info) { return std::string(info.param.Name); });

// An Expert seat at the host plays its own game beside the players from afar:
// the game ends, the players see it end without errors, and the log names it.
TEST(Loopback, AnExpertSeatPlaysBesideRemoteSeats)
{
    TNetHostOptions options;
    options.Kinds = {R, K, R, X};
    options.Seed = 11;
    options.Games = 1;
    THosted hosted(options);
    ASSERT_TRUE(hosted.Ok);
    std::vector<std::unique_ptr<TJoined>> players;
    for (int seat : {1, 3})
        players.push_back(std::make_unique<TJoined>(
            Playing(hosted.Client(PlayerAt[static_cast<size_t>(seat)], static_cast<uint8_t>(seat)))));
    ASSERT_TRUE(WaitUntil([&] { return hosted.Finished; }, GameMs));
    EXPECT_NE(hosted.Log.str().find("West - Expert"), std::string::npos);
    for (const auto& p : players) {
        EXPECT_TRUE(WaitUntil([&] { return p->Closed; }, GameMs));
        EXPECT_EQ(p->Winners.size(), 1u);
        EXPECT_THAT(p->Errors, ::testing::IsEmpty());
    }
}

TEST(Loopback, AClientKilledMidTrickGetsItsSeatBack)
{
    TNetHostOptions options;
    options.Kinds = {R, K, R, K};
    options.Seed = 31;
    options.PauseMs = 3;  // time for the player to come back before the game ends
    THosted hosted(options);
    TJoined south(Playing(hosted.Client("Sally", 3)));
    auto north = std::make_unique<TJoined>(Playing(hosted.Client("Norah", 1)));
    // Killed as the tenth card of the first hand lands: two cards of its third
    // trick lie on the table.
    bool killed = false;
    QObject::connect(north->Client.get(), &TNetClient::Received, [&] {
        const TTableMirror& m = north->Client->Mirror();
        if (!killed && m.HandNumber() == 1 && m.CardsPlayedThisHand() == 10) {
            killed = true;
            EXPECT_EQ(m.Table().FirstEmptyPlace(), 3);
            north->Client->Abort();
        }
    });
    ASSERT_TRUE(WaitUntil([&] { return killed; }, GameMs));
    ASSERT_TRUE(WaitUntil([&] { return hosted.Host->Roster().At(1).State == TSeatState::Dropped; }, GameMs));
    const auto& southView = south.Client->Mirror();
    EXPECT_TRUE(WaitUntil([&] { return southView.State(1) == TSeatState::Dropped; }, GameMs))
        << "the others see the seat dropped";
    int cardsSeen = 0;  // across hands: the seats may be told a moment later
    QObject::connect(south.Client.get(), &TNetClient::Received,
                     [&](int type) { cardsSeen += type == static_cast<int>(TMsgType::CardPlayed); });

    ASSERT_TRUE(WaitUntil([&] { return cardsSeen >= 8; }, GameMs))
        << "the computer plays on for the missing player";
    TJoined thief(Playing(hosted.Client("Norah", 2)));
    ASSERT_TRUE(WaitUntil([&] { return thief.Closed; }, GameMs));
    EXPECT_EQ(thief.Refusal, static_cast<int>(TErrorCode::NameInUse)) << "a name takes no seat back";
    TNetClientOptions again = Playing(hosted.Client("Whoever", 2));
    again.Secret = north->Client->Secret();
    ASSERT_NE(again.Secret, TSeatSecret{});
    TJoined back(again);
    ASSERT_TRUE(WaitUntil([&] { return back.Seat != 0; }, GameMs));
    EXPECT_EQ(back.Seat, 1) << "the seat of its secret, whatever seat was asked for";
    EXPECT_EQ(back.Client->Secret(), again.Secret);
    EXPECT_EQ(hosted.Host->Roster().At(1).State, TSeatState::Remote);
    EXPECT_FALSE(hosted.Finished) << "the player came back during the game";
    EXPECT_EQ(back.Client->Mirror().Player(1).FCardCount, hosted.Host->Game().Game().Table.Player(1).FCardCount);

    ASSERT_TRUE(WaitUntil([&] { return hosted.Finished && back.Closed; }, GameMs));
    // The computer and the returning player both play the classic way from what
    // they know, so the game is the computer's game throughout.
    EXPECT_EQ(AsComputers(hosted.Log.str()), SimulatedLog(31));
    EXPECT_EQ(back.Winners.size(), 1u) << "closed: " << back.Why;
}

TEST(Loopback, AClientThatNeverAnswersIsPlayedForWhenTimeIsUp)
{
    TNetHostOptions options;
    options.Kinds = {R, K, K, K};
    options.Seed = 32;
    options.TurnTimeoutMs = 5;
    THosted hosted(options);
    TJoined silent(hosted.Client("Norah", 1));  // no brain: it never answers
    ASSERT_TRUE(WaitUntil([&] { return hosted.Finished && silent.Closed; }, GameMs));
    EXPECT_EQ(AsComputers(hosted.Log.str()), SimulatedLog(32));
    EXPECT_EQ(silent.Winners.size(), 1u) << "it stayed at the table to the end";
}

struct TCodeCase {
    const char* Name;
    std::vector<std::string> Codes;  // tried one after the other from one address
    std::vector<int> Outcomes;       // seat joined, or -refusal code
};

class JoinCodes : public ::testing::TestWithParam<TCodeCase> {};

TEST_P(JoinCodes, WrongOnesAreRefusedAndRepeatedOnesLockTheAddress)
{
    TNetHostOptions options;
    options.Kinds = {R, R, R, R};
    options.Guard = {3, std::chrono::milliseconds(60000), std::chrono::milliseconds(60000)};
    THosted hosted(options);
    std::vector<int> outcomes;
    int n = 0;
    std::vector<std::unique_ptr<TJoined>> kept;
    for (const std::string& code : GetParam().Codes) {
        TNetClientOptions o = hosted.Client("P" + std::to_string(++n));
        o.Code = code == "right" ? hosted.Host->Code() : code;
        auto joined = std::make_unique<TJoined>(o);
        TJoined* j = joined.get();
        EXPECT_TRUE(WaitUntil([&] { return j->Seat != 0 || j->Refusal != 0; }, GameMs));
        outcomes.push_back(j->Seat != 0 ? j->Seat : -j->Refusal);
        kept.push_back(std::move(joined));
    }
    EXPECT_EQ(outcomes, GetParam().Outcomes);
}

constexpr int Wrong = -static_cast<int>(TErrorCode::WrongCode);
constexpr int Locked = -static_cast<int>(TErrorCode::Throttled);

INSTANTIATE_TEST_SUITE_P(
    Loopback, JoinCodes,
    ::testing::Values(TCodeCase{"Right", {"right"}, {1}},
                      TCodeCase{"WrongThenRight", {"WRONGCODE1", "right"}, {Wrong, 1}},
                      TCodeCase{"CaseMatters", {"testcode42", "right"}, {Wrong, 1}},
                      TCodeCase{"ThirdWrongLocks", {"WRONGCODE1", "WRONGCODE2", "WRONGCODE3", "right", "right"},
                                {Wrong, Wrong, Wrong, Locked, Locked}},
                      TCodeCase{"ARightCodeClearsTheCount",
                                {"WRONGCODE1", "WRONGCODE2", "right", "WRONGCODE3", "right"}, {Wrong, Wrong, 1, Wrong, 2}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Loopback, SecondPlayerWithTheSameNameIsRefused)
{
    TNetHostOptions options;
    options.Kinds = {R, R, K, K};
    THosted hosted(options);
    TJoined first(hosted.Client("Ann"));
    ASSERT_TRUE(WaitUntil([&] { return first.Seat != 0; }, GameMs));
    TJoined second(hosted.Client("Ann"));
    ASSERT_TRUE(WaitUntil([&] { return second.Refusal != 0; }, GameMs));
    EXPECT_EQ(second.Refusal, static_cast<int>(TErrorCode::NameInUse));
}

TEST(Loopback, AHostClosedInTheMiddleOfAGameLetsItsPlayersGo)
{
    TNetHostOptions options;
    options.Kinds = {R, K, R, K};
    options.PauseMs = 5;
    auto hosted = std::make_unique<THosted>(options);
    TJoined north(Playing(hosted->Client("Norah", 1)));
    TJoined south(Playing(hosted->Client("Sally", 3)));
    ASSERT_TRUE(WaitUntil([&] { return north.Client->Mirror().CardsPlayedThisHand() > 4; }, GameMs));
    hosted.reset();
    ASSERT_TRUE(WaitUntil([&] { return north.Closed && south.Closed; }, GameMs));
    EXPECT_THAT(north.Winners, ::testing::IsEmpty());
}

}  // namespace

namespace {

TEST(Loopback, ASeatLeftAndTakenBackInALoopIsToldTheOthersAFewTimesASecond)
{
    TNetHostOptions options;
    options.Kinds = {R, R, R, K};  // never full: the game waits
    options.SeatsEveryMs = 250;
    options.Conduct.Rejoins = 1000;  // the rationing of returns is not what is told here
    THosted hosted(options);
    TJoined watcher(hosted.Client("Bo", 2));
    int seatsHeard = 0;
    QObject::connect(watcher.Client.get(), &TNetClient::Received, [&](int type) {
        seatsHeard += type == static_cast<int>(TMsgType::Seats);
    });
    ASSERT_TRUE(WaitUntil([&] { return watcher.Seat == 2; }, GameMs));
    const auto begun = std::chrono::steady_clock::now();
    seatsHeard = 0;
    auto player = std::make_unique<TJoined>(hosted.Client("Ann", 1));
    constexpr int Rounds = 30;
    for (int round = 0; round < Rounds; ++round) {
        ASSERT_TRUE(WaitUntil([&] { return player->Seat == 1; }, GameMs)) << "round " << round;
        TNetClientOptions again = hosted.Client("Ann", 1);
        again.Secret = player->Client->Secret();
        player->Client->Abort();
        player = std::make_unique<TJoined>(again);
    }
    ASSERT_TRUE(WaitUntil([&] { return player->Seat == 1; }, GameMs));
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begun).count();
    ASSERT_TRUE(WaitUntil([&] { return watcher.Client->Mirror().State(1) == TSeatState::Remote; }, GameMs));
    WaitUntil([] { return false; }, 400);  // the last word on the seats
    EXPECT_EQ(watcher.Client->Mirror().State(1), TSeatState::Remote);
    // Told once for every coming and going, it would be twice a round.
    EXPECT_LE(seatsHeard, 3 + static_cast<int>(ms / 250)) << Rounds << " rounds in " << ms << " ms";
}

}  // namespace
