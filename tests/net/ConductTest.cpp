// A seat's player who lets turns run out, sends junk or leaves and comes back
// in a loop costs only itself; the host can send a player away.
#include <gmock/gmock.h>

#include "ExpertView.h"
#include "NetTestSupport.h"
#include "SeatConduct.h"

using namespace spades;
using namespace spades::net;
using namespace spades::net::testing;
using namespace std::chrono_literals;

namespace {

constexpr auto R = TSeatKind::Remote;
constexpr auto K = TSeatKind::Computer;

// T a turn timed out (1: the seat became away), A the player acted (1: it was
// away), E a refused message (1: the player must go), J a return (the wait in
// seconds, 0 when allowed). At is the second it happens.
struct TStep {
    char What;
    int At;
    long Expect;
};
struct TConductCase {
    const char* Name;
    std::vector<TStep> Steps;
};
class Conduct : public ::testing::TestWithParam<TConductCase> {};

TEST_P(Conduct, DecidesAsTheLimitsSay)
{
    TSeatConduct::TLimits limits;  // away after 2, 8 errors (one leaks every 30 s), 3 returns (one every 20 s), bar 30 s
    TSeatConduct conduct(limits);
    const auto t0 = TSeatConduct::TClock::time_point{} + 1000s;
    int n = 0;
    for (const TStep& step : GetParam().Steps) {
        const auto now = t0 + std::chrono::seconds(step.At);
        long got = 0;
        switch (step.What) {
        case 'T': got = conduct.TimedOut(2); break;
        case 'A': got = conduct.Acted(2); break;
        case 'E': got = conduct.Refused(2, now); break;
        case 'J': got = static_cast<long>(std::chrono::ceil<std::chrono::seconds>(conduct.Return(2, now)).count()); break;
        }
        EXPECT_EQ(got, step.Expect) << "step " << n << " (" << step.What << ")";
        ++n;
    }
    EXPECT_FALSE(conduct.Away(1)) << "other seats are untouched";
}

std::vector<TStep> Repeat(TStep step, int times)
{
    return std::vector<TStep>(static_cast<size_t>(times), step);
}
std::vector<TStep> Then(std::vector<TStep> a, const std::vector<TStep>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

INSTANTIATE_TEST_SUITE_P(
    SeatConduct, Conduct,
    ::testing::Values(
        TConductCase{"AwayAfterTwoTimeOutsInARow", {{'T', 0, 0}, {'T', 0, 1}, {'T', 0, 0}, {'A', 0, 1}, {'A', 0, 0}}},
        TConductCase{"AnActBetweenResetsTheRun", {{'T', 0, 0}, {'A', 0, 0}, {'T', 0, 0}, {'T', 0, 1}}},
        TConductCase{"ReturnsAreRationed", {{'J', 0, 0}, {'J', 0, 0}, {'J', 0, 0}, {'J', 0, 20}, {'J', 20, 0}, {'J', 21, 19}}},
        TConductCase{"JunkDropsAtTheLimitThenBars",
                     Then(Then(Repeat({'E', 0, 0}, 7), {{'E', 0, 1}, {'J', 1, 29}, {'J', 30, 0}}),
                          Then(Repeat({'E', 40, 0}, 7), {{'E', 40, 1}, {'J', 41, 59}}))},
        TConductCase{"JunkLeaksAway", Then(Repeat({'E', 0, 0}, 7), {{'E', 30, 0}, {'E', 30, 1}})},
        TConductCase{"AReturnBringsTheSeatBack", {{'T', 0, 0}, {'T', 0, 1}, {'J', 0, 0}, {'T', 0, 0}}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Conduct, ASeatWhoseTurnsRunOutIsPlayedAtOnceUntilItsPlayerIsBack)
{
    TNetHostOptions options;
    options.Kinds = {R, K, K, K};
    options.Seed = 61;
    options.TurnTimeoutMs = 150;
    options.PauseMs = 10;  // a hand takes a while even when the computer plays every seat
    THosted hosted(options);
    TJoined silent(hosted.Client("Norah", 1));  // no brain: it never answers
    std::vector<int> notices;
    QObject::connect(silent.Client.get(), &TNetClient::Noticed, [&](int kind) { notices.push_back(kind); });
    ASSERT_TRUE(WaitUntil([&] { return notices.size() >= 2; }, GameMs));
    EXPECT_TRUE(hosted.Host->Away(1));
    EXPECT_TRUE(silent.Client->Mirror().Away());
    const int hand = silent.Client->Mirror().HandNumber();
    // Played at once now: the rest of the hand goes by without another time-out.
    ASSERT_TRUE(WaitUntil([&] { return silent.Client->Mirror().HandNumber() > hand; }, GameMs));
    EXPECT_THAT(notices, ::testing::ElementsAre(static_cast<int>(TSeatNotice::TurnPlayed), static_cast<int>(TSeatNotice::Away)));
    silent.Client->Send(TBackMsg{});
    ASSERT_TRUE(WaitUntil([&] { return notices.size() >= 3; }, GameMs));
    EXPECT_EQ(notices[2], static_cast<int>(TSeatNotice::Back));
    EXPECT_FALSE(hosted.Host->Away(1));
    ASSERT_TRUE(WaitUntil([&] { return notices.size() >= 4; }, GameMs));
    EXPECT_EQ(notices[3], static_cast<int>(TSeatNotice::TurnPlayed)) << "waited for again, for the full time";
}

TEST(Conduct, ARemovedPlayerCannotTakeItsSeatBackAndTheComputerPlaysOn)
{
    TNetHostOptions options;
    options.Kinds = {R, K, R, K};
    options.Seed = 62;
    options.PauseMs = 2;
    THosted hosted(options);
    TJoined south(Playing(hosted.Client("Sally", 3)));
    TJoined north(Playing(hosted.Client("Norah", 1)));
    ASSERT_TRUE(WaitUntil([&] { return north.Client->Mirror().CardsPlayedThisHand() > 4; }, GameMs));
    EXPECT_FALSE(hosted.Host->RemovePlayer(2)) << "a computer's seat";
    ASSERT_TRUE(hosted.Host->RemovePlayer(1));
    ASSERT_TRUE(WaitUntil([&] { return north.Closed; }, GameMs));
    EXPECT_EQ(north.Refusal, static_cast<int>(TErrorCode::Removed));
    EXPECT_EQ(hosted.Host->Roster().At(1).State, TSeatState::Computer);
    TNetClientOptions again = Playing(hosted.Client("Norah", 1));
    again.Secret = north.Client->Secret();
    TJoined back(again);
    ASSERT_TRUE(WaitUntil([&] { return back.Closed; }, GameMs));
    EXPECT_EQ(back.Refusal, static_cast<int>(TErrorCode::TableFull)) << "its secret is void";
    ASSERT_TRUE(WaitUntil([&] { return hosted.Finished && south.Closed; }, GameMs));
    EXPECT_EQ(south.Winners.size(), 1u);
}

// Once the computer's for good, the seat is the computer's to every Expert:
// the host's own and those of the tables still there.
TEST(Conduct, ARemovedPlayersSeatIsDescribedAsTheComputer)
{
    TNetHostOptions options;
    options.Kinds = {R, K, R, K};
    options.Seed = 62;
    options.PauseMs = 2;
    THosted hosted(options);
    TJoined south(Playing(hosted.Client("Sally", 3)));
    TJoined north(Playing(hosted.Client("Norah", 1)));
    ASSERT_TRUE(WaitUntil([&] { return north.Client->Mirror().CardsPlayedThisHand() > 4; }, GameMs));
    EXPECT_TRUE(IsPerson(south.Client->Mirror().History().Kind(North)));
    EXPECT_TRUE(IsPerson(ViewOf(hosted.Host->Game().Game(), East).Kind[North]));
    ASSERT_TRUE(hosted.Host->RemovePlayer(1));
    ASSERT_TRUE(WaitUntil([&] { return south.Client->Mirror().History().Kind(North) == TSeatKind::Computer; }, GameMs));
    EXPECT_EQ(ViewOf(hosted.Host->Game().Game(), East).Kind[North], TSeatKind::Computer);
    EXPECT_TRUE(IsPerson(south.Client->Mirror().History().Kind(South)));
    ASSERT_TRUE(WaitUntil([&] { return hosted.Finished && south.Closed; }, GameMs));
}

TEST(Conduct, ASeatTakenBackTooOftenWaits)
{
    TNetHostOptions options;
    options.Kinds = {R, R, K, K};  // never full: the game waits
    options.Conduct.Rejoins = 2;
    options.Conduct.RejoinLeak = 60s;
    THosted hosted(options);
    auto player = std::make_unique<TJoined>(hosted.Client("Ann", 1));
    ASSERT_TRUE(WaitUntil([&] { return player->Seat == 1; }, GameMs));
    const TSeatSecret secret = player->Client->Secret();
    std::vector<int> outcomes;
    for (int round = 0; round < 3; ++round) {
        TNetClientOptions again = hosted.Client("Ann", 1);
        again.Secret = secret;
        player->Client->Abort();
        player = std::make_unique<TJoined>(again);
        ASSERT_TRUE(WaitUntil([&] { return player->Seat != 0 || player->Refusal != 0; }, GameMs));
        outcomes.push_back(player->Seat != 0 ? player->Seat : -player->Refusal);
    }
    EXPECT_THAT(outcomes, ::testing::ElementsAre(1, 1, -static_cast<int>(TErrorCode::Throttled)));
}

}  // namespace
