#include <gmock/gmock.h>

#include <numeric>
#include <sstream>

#include "Claim.h"
#include "HandCycle.h"
#include "PlayLogObserver.h"
#include "RuleText.h"
#include "SeatController.h"
#include "TestTable.h"

using namespace spades;
using spades::testing::Card;
using spades::testing::TFakeHost;

namespace {

// The deck in the order 1..52: North holds AS 5S 9S KS ..., East 2S 6S 10S 1H ...,
// South 3S 7S JS 2H ..., West 4S 8S QS 3H ...
std::array<uint8_t, 53> Unshuffled()
{
    std::array<uint8_t, 53> deck{};
    std::iota(deck.begin() + 1, deck.end(), uint8_t{1});
    return deck;
}

constexpr std::array<TSeatKind, 5> People{TSeatKind::Human, TSeatKind::Human, TSeatKind::Human, TSeatKind::Human,
                                          TSeatKind::Human};
constexpr std::array<TSeatKind, 5> Computers{TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Computer,
                                             TSeatKind::Computer, TSeatKind::Computer};

struct TCycleTable {
    explicit TCycleTable(int winScore = 250, const std::array<TSeatKind, 5>& kinds = People)
        : Game(Host, 42), Cycle(Game, TRuleSet::WithWinScore(winScore))
    {
        Cycle.SetDealSource(&Deal);
        Cycle.NewGame(1, kinds);
    }
    // Every seat bids one; South then leads the first trick.
    void BidAll()
    {
        for (int i = 0; i < 4; ++i) {
            const TWait wait = Cycle.Advance();
            ASSERT_EQ(wait.Kind, TWaitKind::Bid);
            ASSERT_FALSE(Cycle.AnswerBid(wait.Seat, wait.Turn, 1));
        }
    }
    TFakeHost Host;
    TSpadesGame Game;
    TFixedDeal Deal{Unshuffled()};
    THandCycle Cycle;
};

enum class TStage { Bid, Lead, Follow };

struct TAnswerCase {
    const char* Name;
    TStage Stage;
    int SeatShift;  // added to the seat asked, round the table
    int TurnShift;  // added to the turn asked
    const char* Answer;  // a card, or a bid as a number
    TRefusalKind Expected;
};

class CycleAnswers : public ::testing::TestWithParam<TAnswerCase> {};

TEST_P(CycleAnswers, RefusesWhatTheTableRefusesAndTakesTheRest)
{
    const TAnswerCase& c = GetParam();
    TCycleTable t;
    if (c.Stage != TStage::Bid)
        t.BidAll();
    if (c.Stage == TStage::Follow) {
        const TWait lead = t.Cycle.Advance();
        ASSERT_FALSE(t.Cycle.AnswerCard(lead.Seat, lead.Turn, Card("2H")));
    }
    const TWait asked = t.Cycle.Advance();
    ASSERT_EQ(asked.Kind, c.Stage == TStage::Bid ? TWaitKind::Bid : TWaitKind::Card);
    const int seat = (asked.Seat - 1 + c.SeatShift) % 4 + 1;
    const uint32_t turn = asked.Turn + static_cast<uint32_t>(c.TurnShift);
    const TRefusal refusal = c.Stage == TStage::Bid ? t.Cycle.AnswerBid(seat, turn, std::atoi(c.Answer))
                                                    : t.Cycle.AnswerCard(seat, turn, Card(c.Answer));
    EXPECT_EQ(refusal.Kind, c.Expected);
    const TWait next = t.Cycle.Advance();
    if (c.Expected == TRefusalKind::None) {
        EXPECT_GT(next.Turn, asked.Turn) << "taken: the game asks the next seat";
    } else {
        EXPECT_EQ(next.Turn, asked.Turn) << "refused: nothing changed";
        EXPECT_EQ(next.Seat, asked.Seat);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CycleAnswers,
    ::testing::Values(TAnswerCase{"BidNil", TStage::Bid, 0, 0, "0", TRefusalKind::None},
                      TAnswerCase{"BidThirteen", TStage::Bid, 0, 0, "13", TRefusalKind::None},
                      TAnswerCase{"BidFourteen", TStage::Bid, 0, 0, "14", TRefusalKind::BidOutOfRange},
                      TAnswerCase{"BidByAnotherSeat", TStage::Bid, 1, 0, "3", TRefusalKind::NotYourTurnToBid},
                      TAnswerCase{"BidForATurnNotAsked", TStage::Bid, 0, 5, "3", TRefusalKind::NotYourTurnToBid},
                      TAnswerCase{"LeadAHeart", TStage::Lead, 0, 0, "2H", TRefusalKind::None},
                      TAnswerCase{"LeadASpadeUnbroken", TStage::Lead, 0, 0, "3S", TRefusalKind::SpadesNotOpened},
                      TAnswerCase{"LeadACardNotHeld", TStage::Lead, 0, 0, "AS", TRefusalKind::CardNotHeld},
                      TAnswerCase{"LeadBySomeoneElse", TStage::Lead, 2, 0, "AS", TRefusalKind::NotYourTurnToPlay},
                      TAnswerCase{"LeadForAnOldTurn", TStage::Lead, 0, -1, "2H", TRefusalKind::TooLate},
                      TAnswerCase{"FollowSuit", TStage::Follow, 0, 0, "3H", TRefusalKind::None},
                      TAnswerCase{"FollowWithASpade", TStage::Follow, 0, 0, "4S", TRefusalKind::MustFollowSuit}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(CycleAnswers, RefusalsSpeakTheTablesWords)
{
    EXPECT_EQ(TRefusal{TRefusalKind::MustFollowSuit}.Text(), "You must follow suit");
    EXPECT_EQ(TRefusal{TRefusalKind::SpadesNotOpened}.Text(), "Spades have not been opened!");
    EXPECT_TRUE(TRefusal{TRefusalKind::TooLate}.Stale());
    EXPECT_FALSE(TRefusal{TRefusalKind::CardNotHeld}.Stale());
}

TEST(CycleRules, TheNextGamesRulesWaitForNewGameWhileTheScoreToWinDoesNot)
{
    TCycleTable t;
    TRuleSet mirror;
    ASSERT_EQ(ParseRules(mirror, "variant=partnership bidding=mirror"), "");
    t.Cycle.SetNextRules(mirror);
    EXPECT_EQ(t.Cycle.Rules(), TRuleSet{}) << "the game in progress keeps its own";
    t.Cycle.SetWinScore(500);
    EXPECT_EQ(t.Cycle.Rules().WinScore, 500);
    EXPECT_EQ(t.Cycle.NextRules().WinScore, 500);

    t.Cycle.NewGame(2, People);
    EXPECT_EQ(t.Game.FRules.Table, mirror.Table);
    EXPECT_EQ(t.Game.Table.Rules, mirror.Table);
    EXPECT_EQ(t.Game.FRules.WinScore, 500);
    // Mirror: only one's number of spades stands, and the refusal says it is the rules.
    const TWait wait = t.Cycle.Advance();
    ASSERT_EQ(wait.Kind, TWaitKind::Bid);
    const int spades = t.Game.Table.Player(wait.Seat).FSuitCount[Spades];
    EXPECT_EQ(t.Cycle.AnswerBid(wait.Seat, wait.Turn, spades + 1).Kind, TRefusalKind::BidNotAllowed);
    EXPECT_EQ(t.Cycle.AnswerBid(wait.Seat, wait.Turn, 14).Kind, TRefusalKind::BidOutOfRange);
    EXPECT_FALSE(t.Cycle.AnswerBid(wait.Seat, wait.Turn, spades));

    // A game taken up from its record keeps the rules it was played by.
    THandCycle::TStartPoint start;
    start.Rules = TRuleSet::WithWinScore(300);
    t.Cycle.NewGameFrom(3, People, start);
    EXPECT_EQ(t.Cycle.Rules(), TRuleSet::WithWinScore(300));
    EXPECT_EQ(t.Cycle.NextRules().Table, mirror.Table);
}

// A controller that keeps its question and answers when the test says so.
class TLateController final : public TSeatController {
public:
    TSeatKind Kind() const override { return TSeatKind::Human; }
    void Ask(TSpadesGame&, const TWait& wait, TSeatAnswers& answers) override
    {
        Asked = wait;
        Answers = &answers;
    }
    void Cancel(uint32_t turn) override { Cancelled = turn; }
    TRefusal Answer(int bid) { return Answers->AnswerBid(Asked.Seat, Asked.Turn, bid); }
    TWait Asked;
    TSeatAnswers* Answers = nullptr;
    uint32_t Cancelled = 0;
};

TEST(CycleTurns, AnAnswerForAGameGivenUpIsDroppedAndChangesNothing)
{
    TCycleTable t;
    TLateController late;
    TSeatControllers seats;
    seats.Set(South, late);
    ASSERT_TRUE(seats.Ask(t.Game, t.Cycle.Advance(), t.Cycle));
    seats.Cancel(late.Asked);
    EXPECT_EQ(late.Cancelled, late.Asked.Turn);
    t.Cycle.NewGame(2, People);
    const TWait fresh = t.Cycle.Advance();
    EXPECT_EQ(late.Answer(5).Kind, TRefusalKind::TooLate);
    EXPECT_EQ(t.Game.Table.Player(South).FBid, 0);
    EXPECT_EQ(t.Cycle.Advance().Turn, fresh.Turn);
    EXPECT_FALSE(t.Cycle.HasBid(South));
}

TEST(CycleTurns, AskedAgainBeforeAnAnswerTheCycleGivesTheSameWait)
{
    TCycleTable t;
    const TWait first = t.Cycle.Advance();
    const TWait again = t.Cycle.Advance();
    EXPECT_EQ(again.Turn, first.Turn);
    EXPECT_EQ(first.Seat, South) << "South bids first in a new game";
}

TEST(CyclePauses, ComeAfterEveryCardAndTwiceAfterATrick)
{
    TCycleTable t(250, Computers);
    t.Cycle.SetPauses(true);
    TSeatControllers seats;  // every seat classic
    std::vector<TPauseKind> pauses;
    while (pauses.size() < 6) {
        const TWait wait = t.Cycle.Advance();
        if (seats.Ask(t.Game, wait, t.Cycle))
            continue;
        ASSERT_EQ(wait.Kind, TWaitKind::Pause);
        EXPECT_FALSE(t.Cycle.Resume(wait.Turn + 1)) << "another turn's pause ends nothing";
        EXPECT_TRUE(t.Cycle.Resume(wait.Turn));
        pauses.push_back(wait.Pause);
    }
    EXPECT_EQ(pauses, (std::vector<TPauseKind>{TPauseKind::Card, TPauseKind::Card, TPauseKind::Card,
                                               TPauseKind::LastCard, TPauseKind::TrickWon, TPauseKind::TrickCleared}));
    EXPECT_EQ(t.Game.Table.Player(North).FTricks + t.Game.Table.Player(East).FTricks +
                  t.Game.Table.Player(South).FTricks + t.Game.Table.Player(West).FTricks,
              1);
}

struct TEndCase {
    const char* Name;
    int WinScore;
    bool GiveUp;
    bool Won;
};

class CycleEnd : public ::testing::TestWithParam<TEndCase> {};

TEST_P(CycleEnd, WaitsAtTheEndOfEachHandAndStaysOverOnceDone)
{
    const TEndCase& c = GetParam();
    TCycleTable t(c.WinScore, Computers);
    TSeatControllers seats;
    TWait wait;
    while ((wait = t.Cycle.Advance()).Kind != TWaitKind::HandOver && wait.Kind != TWaitKind::GameOver)
        ASSERT_TRUE(seats.Ask(t.Game, wait, t.Cycle));
    if (c.GiveUp) {
        ASSERT_EQ(wait.Kind, TWaitKind::HandOver);
        t.Cycle.GiveUp();
    }
    EXPECT_EQ(t.Cycle.Advance().Kind, TWaitKind::GameOver);
    EXPECT_EQ(t.Cycle.WinnerSeat() != 0, c.Won);
    EXPECT_EQ(t.Cycle.HandNumber(), 1);
    t.Cycle.NextHand();
    EXPECT_EQ(t.Cycle.Advance().Kind, TWaitKind::GameOver) << "no hand after the game's end";
}

INSTANTIATE_TEST_SUITE_P(Cases, CycleEnd,
                         ::testing::Values(TEndCase{"WonInTheFirstHand", 1, false, true},
                                           TEndCase{"GivenUp", 100000, true, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

uint64_t Fnv1a(const std::string& text)
{
    uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char c : text)
        hash = (hash ^ c) * 0x100000001b3ull;
    return hash;
}

TEST(CycleGame, AWholeClassicGamePlaysAsRecorded)
{
    // The play log of the first game of seed 42, recorded before the cycle existed.
    TFakeHost host;
    TSpadesGame game(host, 42);
    constexpr std::array<const char*, 5> names{"", "North", "East", "South", "West"};
    for (int seat = North; seat <= West; ++seat)
        game.Table.Player(seat).SetName(names[static_cast<size_t>(seat)]);
    THandCycle cycle(game);
    std::ostringstream log;
    TPlayLogObserver writer(log);
    cycle.Watch(writer, TPlayLogObserver::Events);
    cycle.NewGame(1, Computers);
    TSeatControllers seats;
    for (TWait wait; (wait = cycle.Advance()).Kind != TWaitKind::GameOver;)
        if (!seats.Ask(game, wait, cycle))
            cycle.NextHand();
    EXPECT_EQ(log.str().size(), 9726u);
    EXPECT_EQ(Fnv1a(log.str()), 0xa870256cac4bbcc8ull);
    EXPECT_EQ(cycle.WinnerSeat(), East);
}

// Over the last tricks of many hands, a claim is taken exactly when the seat to
// play takes every trick left against best defence, and then ends the hand
// with all of them for it, every card heard as played.
TEST(CycleClaim, IsTakenExactlyWhenTheRestAreTheSeatsAndEndsTheHandWithThem)
{
    struct TCounter final : TGameObserver {
        void CardPlayed(const TSpadesGame&, int, int, int) override { ++Cards; }
        int Cards = 0;
    };
    TDoubleDummy solver(14);
    int claims = 0, refusals = 0;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        TFakeHost host;
        TSpadesGame game(host, seed);
        THandCycle cycle(game);
        TCounter counter;
        cycle.Watch(counter, EventBit(TGameEvent::CardPlayed));
        cycle.SetPauses(seed % 2 == 0);
        cycle.NewGame(1, Computers);
        TSeatControllers seats;
        for (TWait wait; (wait = cycle.Advance()).Kind != TWaitKind::HandOver;) {
            if (wait.Kind == TWaitKind::Pause) {
                cycle.Resume(wait.Turn);
                continue;
            }
            if (wait.Kind == TWaitKind::Card && game.FPlayCount >= 36) {
                const TDDPosition position = OpenPosition(game);
                const int left = position.TricksLeft();
                const int before = game.Table.Player(wait.Seat).FTricks;
                const bool all = solver.MostTricks(position, wait.Seat) == left;
                const TRefusal refusal = cycle.AnswerClaim(wait.Seat, wait.Turn, solver);
                ASSERT_EQ(!refusal, all) << "seed " << seed << " cards played " << game.FPlayCount;
                if (all) {
                    ++claims;
                    EXPECT_EQ(game.Table.Player(wait.Seat).FTricks, before + left);
                    EXPECT_EQ(counter.Cards, 52);
                    EXPECT_EQ(cycle.AnswerClaim(wait.Seat, wait.Turn, solver).Kind, TRefusalKind::TooLate);
                    continue;
                }
                ++refusals;
                EXPECT_EQ(refusal.Kind, TRefusalKind::CannotClaim);
                // A line worked out elsewhere must be the whole rest, from the seat to play.
                std::vector<TPlayRecord> line = solver.BestLine(position, TDDGoal::Seat(wait.Seat));
                line.pop_back();
                EXPECT_EQ(cycle.AnswerClaim(wait.Seat, wait.Turn, line).Kind, TRefusalKind::CannotClaim);
                EXPECT_EQ(cycle.Waiting().Turn, wait.Turn) << "a refused claim changes nothing";
            }
            seats.Ask(game, wait, cycle);
        }
        EXPECT_EQ(counter.Cards, 52);
    }
    EXPECT_GT(claims, 10);
    EXPECT_GT(refusals, 10);
}

TEST(ScriptedController, ReplaysTheRecordAndChoosesForItselfWhereItDoesNotFit)
{
    TCycleTable t(250, Computers);
    // South's record: bid Nil, lead 2H; West's record names a card it does not hold.
    TScriptedController script({0, 2, 3, 0, 4}, {Card("2H"), Card("AS")});
    TSeatControllers seats;
    for (int seat = North; seat <= West; ++seat)
        seats.Set(seat, script);
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(seats.Ask(t.Game, t.Cycle.Advance(), t.Cycle));
    EXPECT_EQ(t.Game.Table.Player(South).FBid, 0);
    EXPECT_EQ(t.Game.Table.Player(West).FBid, 4);
    EXPECT_EQ(t.Game.Table.Place(1).FValue, Card("2H"));
    EXPECT_EQ(t.Game.Table.Place(2).FSeat, West);
    EXPECT_EQ(CardSuit(static_cast<uint8_t>(t.Game.Table.Place(2).FValue)), Hearts) << "West's own choice follows suit";
}

struct TKindCase {
    TSeatKind Kind;
    int Settings;
    int Wire;
    const char* Log;
    const char* Word;
    TSeatKind FromSettings;  // what the stored value reads back as
};

class SeatKindMappings : public ::testing::TestWithParam<TKindCase> {};

TEST_P(SeatKindMappings, SpellEachKindOnceEverywhere)
{
    const TKindCase& c = GetParam();
    EXPECT_EQ(SettingsValue(c.Kind), c.Settings);
    EXPECT_EQ(HistoryValue(c.Kind), c.Settings);
    EXPECT_EQ(WireValue(c.Kind), c.Wire);
    EXPECT_EQ(LogName(c.Kind), c.Log);
    EXPECT_EQ(SeatKindNamed(c.Word), c.Kind);
    EXPECT_EQ(SeatKindFromSettings(c.Settings), c.FromSettings);
    EXPECT_EQ(SeatKindFromHistory(c.Settings), c.FromSettings);
    EXPECT_EQ(SeatKindFromWire(static_cast<uint8_t>(c.Wire)), c.FromSettings);
    TFakeHost host;
    TTableState table;
    TPlayer player(host, table);
    player.SetSeat(East);
    SetSeatKind(player, c.Kind);
    EXPECT_EQ(SeatKindOf(player), c.Kind);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SeatKindMappings,
    ::testing::Values(TKindCase{TSeatKind::Human, 0, 1, "Human", "person", TSeatKind::Human},
                      TKindCase{TSeatKind::Computer, 1, 2, "Computer", "classic", TSeatKind::Computer},
                      TKindCase{TSeatKind::Expert, 2, 3, "Expert", "expert", TSeatKind::Expert},
                      TKindCase{TSeatKind::Remote, 0, 1, "Remote", "remote", TSeatKind::Human}),
    [](const auto& info) { return std::string(LogName(info.param.Kind)); });

TEST(SeatKindMappings, UnknownValuesReadAsTheComputerOrNothing)
{
    EXPECT_EQ(SeatKindFromSettings(7), TSeatKind::Computer);
    EXPECT_EQ(SeatKindFromWire(9), std::nullopt);
    EXPECT_EQ(SeatKindNamed("robot"), std::nullopt);
}

}  // namespace
