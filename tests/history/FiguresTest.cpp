// What is read back from the history: the statistics against figures taken
// straight from the simulator's games, the period filter, the reset, where an
// unfinished game stands, and whole hands that play again as they were played.
#include <map>

#include "GameRecorder.h"
#include "HistoryQueries.h"
#include "HistoryTestSupport.h"

using namespace spades;
using namespace spades::testing;

namespace {

// The statistics computed directly from the games as they are played.
class TDirectFigures : public TGameObserver {
public:
    void GameStarted(const TSpadesGame&, int) override { FScores = {}; }
    void HandScored(const TSpadesGame& game, const TScoreResult& result) override
    {
        for (int seat = 1; seat <= 4; ++seat) {
            const TPlayer& p = game.Table.Player(seat);
            TSeatFigures& f = Figures[seat];
            f.Name = QString::fromStdString(p.FName);
            ++f.Hands;
            f.Points += p.FScore - FScores[static_cast<size_t>(seat)];
            FScores[static_cast<size_t>(seat)] = p.FScore;
            if (p.FBid == 0) {
                ++f.Nils;
                f.NilsWon += p.FTricks == 0;
            } else {
                ++f.Bids;
                f.Made += p.FTricks >= p.FBid;
                f.Exact += p.FTricks == p.FBid;
            }
            f.Bags += p.FBags;
        }
        (void)result;
    }
    void GameOver(const TSpadesGame& game, int winner) override
    {
        for (int seat = 1; seat <= 4; ++seat) {
            TSeatFigures& f = Figures[seat];
            ++f.Games;
            f.Won += seat == winner;
            const int score = game.Table.Player(seat).FScore;
            f.BestScore = f.Games == 1 ? score : std::max(f.BestScore, score);
        }
    }
    std::map<int, TSeatFigures> Figures;

private:
    TSeatInts FScores{};
};

struct TRun {
    uint32_t Seed;
    int Games;
    int WinScore;
};

class HistoryFigures : public ::testing::TestWithParam<TRun> {};

TEST_P(HistoryFigures, EqualTheSimulatorsOwn)
{
    THistoryFolder folder;
    THistoryStore store(folder.Path());
    ASSERT_TRUE(store.Open());
    TDirectFigures direct;
    std::ostringstream unused;
    SimulateInto(store, GetParam().Seed, GetParam().Games, GetParam().WinScore, &direct);

    const std::vector<TSeatFigures> figures = SeatFigures(store.Database());
    ASSERT_EQ(figures.size(), 4u);
    long long wins = 0;
    for (const TSeatFigures& stored : figures) {
        const auto seat = std::find_if(direct.Figures.begin(), direct.Figures.end(),
                                       [&](const auto& d) { return d.second.Name == stored.Name; });
        ASSERT_NE(seat, direct.Figures.end()) << stored.Name.toStdString();
        TSeatFigures expected = seat->second;
        expected.Type = TSeatType::Computer;
        EXPECT_EQ(stored, expected) << stored.Name.toStdString();
        EXPECT_EQ(stored.Games, GetParam().Games);
        wins += stored.Won;
    }
    EXPECT_EQ(wins, GetParam().Games) << "every game has one winner";
    EXPECT_EQ(Scalar(store.Database(), "SELECT COUNT(*) FROM hands WHERE score1 IS NULL").toInt(), 0);
}

INSTANTIATE_TEST_SUITE_P(Runs, HistoryFigures,
                         ::testing::Values(TRun{1, 1, 250}, TRun{2024, 12, 250}, TRun{99, 8, 500}, TRun{7, 30, 100}),
                         [](const auto& info) {
                             return "Seed" + std::to_string(info.param.Seed) + "Games" +
                                    std::to_string(info.param.Games) + "To" + std::to_string(info.param.WinScore);
                         });

TEST(HistoryFigures, TheSimulatorPrintsTheSameWithAndWithoutAHistory)
{
    THistoryFolder folder;
    THistoryStore store(folder.Path());
    ASSERT_TRUE(store.Open());
    std::ostringstream plain;
    TSimulator simulator(31337, 250, plain);
    simulator.Run(5);
    const std::string recorded = SimulateInto(store, 31337, 5);
    // The summary line holds the run time; everything before it must match.
    EXPECT_EQ(recorded.substr(0, recorded.rfind("summary")), plain.str().substr(0, plain.str().rfind("summary")));
}

TEST(HistoryFigures, ThePeriodFilterCountsOnlyRecentGames)
{
    THistoryFolder folder;
    THistoryStore store(folder.Path());
    ASSERT_TRUE(store.Open());
    SimulateInto(store, 5, 6);
    const qint64 old = QDateTime::currentDateTimeUtc().addDays(-45).toSecsSinceEpoch();
    Scalar(store.Database(), QString("UPDATE games SET started = %1 WHERE id <= 4").arg(old));
    const QDateTime cutoff = QDateTime::currentDateTimeUtc().addDays(-30);

    struct TCase {
        QDateTime Since;
        long long Games;
        size_t Listed;
    };
    for (const TCase& c : {TCase{{}, 6, 6}, TCase{cutoff, 2, 2}, TCase{QDateTime::currentDateTimeUtc().addDays(1), 0, 0}}) {
        const auto figures = SeatFigures(store.Database(), c.Since);
        long long games = 0;
        for (const auto& f : figures)
            games = std::max(games, f.Games);
        EXPECT_EQ(games, c.Games);
        EXPECT_EQ(GameList(store.Database(), c.Since).size(), c.Listed);
    }
    const auto recent = GameList(store.Database(), cutoff);
    EXPECT_EQ(recent.front().Id, 6) << "latest first";
    EXPECT_EQ(recent.front().Names[1], "North");

    // Only finished games count: one given up or still in play is listed, not counted.
    Scalar(store.Database(), "UPDATE games SET outcome = 2 WHERE id = 5");
    Scalar(store.Database(), "UPDATE games SET outcome = 0 WHERE id = 6");
    for (const auto& f : SeatFigures(store.Database()))
        EXPECT_EQ(f.Games, 4) << f.Name.toStdString();
    EXPECT_EQ(GameList(store.Database(), {}).size(), 6u);
}

TEST(HistoryFigures, ResetForgetsEveryGameButTheOneInPlay)
{
    THistoryFolder folder;
    THistoryStore store(folder.Path());
    ASSERT_TRUE(store.Open());
    SimulateInto(store, 8, 3);
    SimulateInto(store, 9, 1, 250, nullptr, 2);
    Scalar(store.Database(), "UPDATE games SET outcome = 0 WHERE id = 4");
    const auto kept = ScoreSeries(store.Database(), 4);
    store.Reset(4);
    EXPECT_EQ(Scalar(store.Database(), "SELECT COUNT(*) FROM games").toInt(), 1);
    EXPECT_EQ(Scalar(store.Database(), "SELECT COUNT(*) FROM hands WHERE game <> 4").toInt(), 0);
    EXPECT_EQ(Scalar(store.Database(), "SELECT COUNT(*) FROM game_seats WHERE game <> 4").toInt(), 0);
    EXPECT_EQ(ScoreSeries(store.Database(), 4), kept);
    store.Reset();
    EXPECT_TRUE(SeatFigures(store.Database()).empty());
}

// ---- Where an unfinished game stands --------------------------------------------------------------

struct TCut {
    const char* Name;
    int HandsScored;  // hands played to the end before the cut
    bool Dealt;       // the next hand was dealt when the program stopped
};

void PrintTo(const TCut& cut, std::ostream* out) { *out << cut.Name; }

class HistoryResume : public ::testing::TestWithParam<TCut> {};

TEST_P(HistoryResume, TheLastGameStandsWhereItWasCut)
{
    THistoryFolder folder;
    THistoryStore store(folder.Path());
    ASSERT_TRUE(store.Open());
    THeadlessHost host;
    TSpadesGame game(host, 555);
    TGameRecorder recorder(store);
    game.NewGame({false, false, false, true, false});
    for (int seat = 1; seat <= 4; ++seat)
        game.Table.Player(seat).SetName(std::array{"", "North", "East", "South", "West"}[static_cast<size_t>(seat)]);
    recorder.GameStarted(game, SeatsOf(game.Table));
    TSeatInts bags{};
    std::array<int, 52> lastDeal{};
    int lastFirst = 0;
    for (int hand = 1; hand <= GetParam().HandsScored + (GetParam().Dealt ? 1 : 0); ++hand) {
        game.BeginHand();
        recorder.HandDealt(game);
        lastDeal = DealOf(game.Deck);
        lastFirst = game.FTurnOrder[1];
        if (hand > GetParam().HandsScored)
            break;  // the cut comes in the middle of this hand
        for (int i = 1; i <= 4; ++i)
            game.ComputerBid(game.Bidder(i));
        game.StartPlay();
        for (;;) {
            while (!game.TrickFull())
                game.PlayComputerTurn();
            recorder.TrickDone(game.Table);
            const int winner = game.ResolveTrick();
            if (game.HandOver())
                break;
            game.ClearTrick();
            game.StartNextTrick(winner);
        }
        game.ScoreHand();
        for (int seat = 1; seat <= 4; ++seat)
            bags[static_cast<size_t>(seat)] += game.Table.Player(seat).FBags;
        recorder.HandScored(game, 0);
        game.PrepareNextHand();
    }
    ASSERT_TRUE(recorder.TakeProblem().isEmpty());

    const auto point = store.Unfinished();
    ASSERT_TRUE(point.has_value());
    EXPECT_EQ(point->Game.Id, recorder.GameId());
    EXPECT_EQ(point->Game.Seats[3], (TGameSeat{"South", TSeatType::Person}));
    EXPECT_EQ(point->Game.Seats[4], (TGameSeat{"West", TSeatType::Computer}));
    EXPECT_EQ(point->HandsScored, GetParam().HandsScored);
    for (int seat = 1; seat <= 4; ++seat) {
        EXPECT_EQ(point->Scores[static_cast<size_t>(seat)],
                  GetParam().HandsScored ? game.Table.Player(seat).FScore : 0);
        EXPECT_EQ(point->TotalBags[static_cast<size_t>(seat)], bags[static_cast<size_t>(seat)]);
    }
    EXPECT_EQ(point->Deal.has_value(), GetParam().Dealt);
    if (GetParam().Dealt) {
        EXPECT_EQ(*point->Deal, lastDeal);
        EXPECT_EQ(point->FirstSeat, lastFirst);
    } else {
        // The next hand has not been dealt: it begins with the seat after the last first seat.
        EXPECT_EQ(point->FirstSeat, game.FTurnOrder[1]);
    }

    // A new game closes this one as abandoned: nothing is left to continue.
    recorder.GameStarted(game, SeatsOf(game.Table));
    const auto next = store.Unfinished();
    ASSERT_TRUE(next.has_value());
    EXPECT_EQ(next->Game.Id, recorder.GameId());
    EXPECT_EQ(Scalar(store.Database(), QString("SELECT outcome FROM games WHERE id = %1").arg(point->Game.Id)).toInt(),
              static_cast<int>(TGameOutcome::Abandoned));
}

INSTANTIATE_TEST_SUITE_P(Cuts, HistoryResume,
                         ::testing::Values(TCut{"BeforeTheFirstDeal", 0, false}, TCut{"InTheFirstHand", 0, true},
                                           TCut{"AfterTwoHands", 2, false}, TCut{"InTheFourthHand", 3, true},
                                           TCut{"InTheSixthHand", 5, true}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(HistoryResume, AFinishedGameOffersNothing)
{
    THistoryFolder folder;
    THistoryStore store(folder.Path());
    ASSERT_TRUE(store.Open());
    EXPECT_FALSE(store.Unfinished().has_value());
    SimulateInto(store, 3, 2);
    EXPECT_FALSE(store.Unfinished().has_value());
}

// ---- Whole hands ---------------------------------------------------------------------------------------

// Plays a recorded hand again through the rules from its deal, its bids and its cards.
THandRecord PlayAgain(const THandRecord& record)
{
    THeadlessHost host;
    TSpadesGame game(host);
    game.NewGame({});
    game.FTurnOrder = TurnOrderFrom(record.FirstSeat);
    game.NextDeal = DeckOrder(record.Deal);
    game.BeginHand();
    for (int i = 1; i <= 4; ++i)
        game.PersonBid(game.Bidder(i), record.Bids[static_cast<size_t>(game.Bidder(i))]);
    game.StartPlay();
    THandRecord again = record;
    again.Plays.clear();
    size_t next = 0;
    for (;;) {
        while (!game.TrickFull()) {
            const int seat = game.SeatToPlay();
            const TPlayer& player = game.Table.Player(seat);
            int slot = 0;
            for (int k = 1; k <= 13; ++k)
                if (next < record.Plays.size() && player.FHand[static_cast<size_t>(k)] == record.Plays[next])
                    slot = k;
            if (slot == 0)
                return {};  // the recorded card is not in the seat's hand
            ++next;
            game.PlayPersonCard(seat, slot);
            again.Plays.push_back(game.Table.Place(game.Table.FirstEmptyPlace() - 1).FValue);
        }
        const int winner = game.ResolveTrick();
        if (game.HandOver())
            break;
        game.ClearTrick();
        game.StartNextTrick(winner);
    }
    for (int seat = 1; seat <= 4; ++seat) {
        again.Tricks[static_cast<size_t>(seat)] = game.Table.Player(seat).FTricks;
        again.Bags[static_cast<size_t>(seat)] = game.Table.Player(seat).FBags;
    }
    return again;
}

TEST(HistoryHands, EveryRecordedHandPlaysAgainToTheSameTricks)
{
    THistoryFolder folder;
    THistoryStore store(folder.Path());
    ASSERT_TRUE(store.Open());
    SimulateInto(store, 2718, 3);
    int checked = 0;
    for (qint64 game = 1; game <= 3; ++game) {
        const int hands = ScoredHands(store.Database(), game);
        ASSERT_GT(hands, 0);
        for (int number = 1; number <= hands; ++number) {
            const auto record = LoadHand(store.Database(), game, number);
            ASSERT_TRUE(record.has_value());
            EXPECT_EQ(record->Plays.size(), 52u);
            EXPECT_EQ(record->FirstSeat, (number - 1 + 2) % 4 + 1) << "South, West, North, East, ...";
            EXPECT_EQ(PlayAgain(*record), *record) << "game " << game << " hand " << number;
            ++checked;
        }
        EXPECT_FALSE(LoadHand(store.Database(), game, hands + 1).has_value());
    }
    EXPECT_GT(checked, 10);
}

TEST(HistoryHands, AnUnreadableHandIsRefusedNotGuessed)
{
    THistoryFolder folder;
    THistoryStore store(folder.Path());
    ASSERT_TRUE(store.Open());
    SimulateInto(store, 4, 1);
    struct TDamage {
        const char* Column;
        const char* Value;
    };
    for (const TDamage& d : {TDamage{"deal", "'1 2 3'"}, TDamage{"deal", "(SELECT replace(deal, ' 52', ' 51') FROM hands h2 WHERE h2.game = 1 AND h2.number = 1)"},
                             TDamage{"plays", "'0 1'"}, TDamage{"bids", "'1 2 3 14'"}, TDamage{"first_seat", "9"}}) {
        Scalar(store.Database(), "SAVEPOINT damage");
        Scalar(store.Database(), QString("UPDATE hands SET %1 = %2 WHERE game = 1 AND number = 1").arg(d.Column, d.Value));
        EXPECT_FALSE(LoadHand(store.Database(), 1, 1).has_value()) << d.Column << " = " << d.Value;
        Scalar(store.Database(), "ROLLBACK TO damage");
        Scalar(store.Database(), "RELEASE damage");
        EXPECT_TRUE(LoadHand(store.Database(), 1, 1).has_value());
    }
}

TEST(HistoryRecords, NumberListsRefuseWhatDoesNotFit)
{
    struct TCase {
        const char* Text;
        int Low, High;
        std::optional<size_t> Count;
        bool Fits;
    };
    for (const TCase& c : {TCase{"1 2 3 4", 0, 13, 4, true}, TCase{"1 2 3", 0, 13, 4, false},
                           TCase{"1 2 3 4 5", 0, 13, 4, false}, TCase{"1 -2 3 4", 0, 13, 4, false},
                           TCase{"1 2 3 x", 0, 13, 4, false}, TCase{"", 0, 13, std::nullopt, true},
                           TCase{"-120 4000 7 0", -100000, 100000, 4, true}, TCase{"14", 0, 13, 1, false}}) {
        EXPECT_EQ(SplitNumbers(c.Text, c.Low, c.High, c.Count).has_value(), c.Fits) << c.Text;
    }
    const TSeatInts seats = {0, 3, 0, 13, 7};
    EXPECT_EQ(JoinSeats(seats), "3 0 13 7");
    EXPECT_EQ(SplitSeats(JoinSeats(seats), 0, 13), seats);
    std::array<int, 52> deck{};
    for (int i = 0; i < 52; ++i)
        deck[static_cast<size_t>(i)] = 52 - i;
    EXPECT_TRUE(IsWholeDeck(deck));
    deck[7] = deck[8];
    EXPECT_FALSE(IsWholeDeck(deck));
}

}  // namespace

namespace {

// An Expert seat is kept as an Expert, in the figures and in the game's record,
// so that its results are never mixed with the classic computer's.
TEST(HistorySeatTypes, AnExpertSeatIsRecordedAsAnExpert)
{
    THistoryFolder folder;
    THistoryStore store(folder.Path());
    ASSERT_TRUE(store.Open());
    {
        std::ostringstream out;
        TSimHistory history(store);
        TSimulator simulator(77, 100, out);
        simulator.SetSeats({TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Expert, TSeatKind::Computer, TSeatKind::Computer});
        simulator.AddObserver(&history);
        simulator.Run(1);
        ASSERT_TRUE(history.Problem().isEmpty()) << history.Problem().toStdString();
    }
    const std::vector<TSeatFigures> figures = SeatFigures(store.Database());
    ASSERT_EQ(figures.size(), 4u);
    for (const TSeatFigures& f : figures)
        EXPECT_EQ(f.Type, f.Name == "East" ? TSeatType::Expert : TSeatType::Computer) << f.Name.toStdString();
}

TEST(HistorySeatTypes, StoredTypesReadBackAndUnknownOnesAreTheComputer)
{
    EXPECT_EQ(SeatTypeOf(0), TSeatType::Person);
    EXPECT_EQ(SeatTypeOf(1), TSeatType::Computer);
    EXPECT_EQ(SeatTypeOf(2), TSeatType::Expert);
    EXPECT_EQ(SeatTypeOf(7), TSeatType::Computer);
}

}  // namespace
