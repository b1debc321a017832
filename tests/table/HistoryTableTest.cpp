// The game history on the real window: hands recorded as they are played, a
// game cut short at each step of the hand cycle and continued, past hands
// played again, the statistics window, and history files the table cannot use.
#include <gmock/gmock.h>

#include <QAction>
#include <QChart>
#include <QComboBox>
#include <QLineSeries>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QTableWidget>
#include <QToolButton>
#include <QApplication>
#include <set>

#include "HistoryQueries.h"
#include "StatsDialog.h"
#include "TableHarness.h"
#include "TableScoreSheet.h"
#include "TableHistory.h"

using namespace spades;
using namespace spades::testing;
using ::testing::HasSubstr;

namespace {

constexpr int Timeout = 60000;

QSqlDatabase Db(TfrmMain& window) { return window.History().Store().Database(); }

int Count(TfrmMain& window, const QString& sql)
{
    QSqlQuery query(Db(window));
    return query.exec(sql) && query.next() ? query.value(0).toInt() : -1;
}

bool PlayToTheEnd(TTableHarness& table, QSignalSpy& over)
{
    while (over.isEmpty()) {
        if (!QTest::qWaitFor([&] { return !over.isEmpty() || table.WaitingSeat() != 0; }, Timeout))
            return false;
        if (over.isEmpty())
            table.PlayLegalCard();
        if (::testing::Test::HasFatalFailure())
            return false;
    }
    return true;
}

// What a resumed game must look like at the start of its hand.
struct TTableSnapshot {
    TSeatInts Scores{}, TotalBags{};
    std::array<std::set<int>, 5> Hands;
    int FirstSeat = 0;
    std::array<std::string, 5> Names;
    std::array<bool, 5> Human{};

    static TTableSnapshot Of(TSpadesGame& game)
    {
        TTableSnapshot s;
        for (int seat = 1; seat <= 4; ++seat) {
            const TPlayer& p = game.Table.Player(seat);
            const size_t i = static_cast<size_t>(seat);
            s.Scores[i] = p.FScore;
            s.TotalBags[i] = p.FTotalBags;
            for (int slot = 1; slot <= 13; ++slot)
                if (p.FHand[static_cast<size_t>(slot)] > 0)
                    s.Hands[i].insert(p.FHand[static_cast<size_t>(slot)]);
            s.Names[i] = p.FName;
            s.Human[i] = p.FHuman;
        }
        s.FirstSeat = game.FTurnOrder[1];
        return s;
    }
};

TEST(HistoryTable, EveryHandOfAGameIsRecordedAsPlayed)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open(8080);
    QSignalSpy over(&window, &TfrmMain::gameOver);
    QSignalSpy scored(&window, &TfrmMain::handScored);
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !over.isEmpty(); }, Timeout));

    ASSERT_TRUE(window.History().Store().IsOpen());
    EXPECT_TRUE(QFile::exists(table.HistoryFile()));
    EXPECT_EQ(Count(window, "SELECT COUNT(*) FROM games"), 1);
    EXPECT_EQ(Count(window, "SELECT outcome FROM games"), static_cast<int>(TGameOutcome::Won));
    EXPECT_EQ(Count(window, "SELECT COUNT(*) FROM hands WHERE score1 IS NOT NULL"), scored.count());
    const auto series = ScoreSeries(Db(window), 1);
    ASSERT_FALSE(series.empty());
    for (int seat = 1; seat <= 4; ++seat)
        EXPECT_EQ(series.back()[static_cast<size_t>(seat)], window.Table().Player(seat).FScore);
    const auto game = LoadGame(Db(window), 1);
    ASSERT_TRUE(game.has_value());
    EXPECT_EQ(game->Seats[3].Name, "South");
    EXPECT_EQ(game->Seats[3].Type, TSeatType::Computer);
    EXPECT_EQ(game->Winner, Count(window, "SELECT seat FROM game_seats WHERE won = 1"));
    EXPECT_TRUE(table.Prompts.Questions.isEmpty()) << "a finished game offers nothing";
}

enum class TCut { Bidding, MidTrick, ScoreCard };
struct TCutCase {
    const char* Name;
    TCut Cut;
};
void PrintTo(const TCutCase& c, std::ostream* out) { *out << c.Name; }

class HistoryResumeTable : public ::testing::TestWithParam<TCutCase> {};

TEST_P(HistoryResumeTable, AGameCutShortIsContinuedAsItWas)
{
    const TCut cut = GetParam().Cut;
    TTableHarness table;  // a person at South
    TfrmMain& first = table.Open(1357);
    QSignalSpy scored(&first, &TfrmMain::handScored);
    TTableSnapshot expected;
    int bids = 0, scoreCards = 0;
    table.Prompts.OnBid = [&] {
        // South bids last in the second hand: every hand is still whole.
        if (++bids == 2) {
            expected = TTableSnapshot::Of(first.Game());
            if (cut == TCut::Bidding)
                first.close();
        }
    };
    table.Prompts.OnScores = [&] {
        if (++scoreCards == 2 && cut == TCut::ScoreCard) {
            expected = TTableSnapshot::Of(first.Game());
            expected.FirstSeat = first.Game().FNextFirstSeat;
            first.close();
        }
    };
    first.Steps().Request(TTableRequest::NewGame);
    if (cut == TCut::MidTrick) {
        const auto cardsPlayed = [&] {
            const auto& played = first.Table().CardsPlayed;
            return std::count(played.begin(), played.end(), true);
        };
        while (!(bids == 2 && cardsPlayed() >= 6 && table.WaitingSeat() == South)) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));
            if (bids == 2 && cardsPlayed() >= 6)
                break;
            table.PlayLegalCard();
            QTest::qWait(1);
        }
        EXPECT_LT(cardsPlayed(), 52);
        first.close();
    } else {
        while (first.isVisible()) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return !first.isVisible() || table.WaitingSeat() != 0; }, Timeout));
            if (first.isVisible())
                table.PlayLegalCard();
        }
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !first.isVisible(); }, Timeout));
    // A hand is written when it is scored: the one whose score card was open counts too.
    const int handsBefore = scored.count() + (cut == TCut::ScoreCard ? 1 : 0);
    EXPECT_EQ(handsBefore, cut == TCut::ScoreCard ? 2 : 1);
    table.Window.reset();

    // The next start: the offer is answered Yes, and the hand begins again.
    table.Prompts.OnBid = nullptr;
    table.Prompts.OnScores = nullptr;
    table.Prompts.DefaultAnswer = true;
    std::optional<TTableSnapshot> resumed;
    table.Prompts.OnBid = [&] {
        if (!resumed)
            resumed = TTableSnapshot::Of(table.Window->Game());
    };
    TfrmMain& second = table.Open(2468);
    ASSERT_TRUE(QTest::qWaitFor([&] { return resumed.has_value(); }, Timeout));
    ASSERT_EQ(table.Prompts.Questions.size(), 1);
    EXPECT_THAT(table.Prompts.Questions[0].toStdString(), HasSubstr("was not finished"));
    EXPECT_EQ(resumed->Scores, expected.Scores);
    EXPECT_EQ(resumed->TotalBags, expected.TotalBags);
    EXPECT_EQ(resumed->FirstSeat, expected.FirstSeat);
    EXPECT_EQ(resumed->Names, expected.Names);
    EXPECT_EQ(resumed->Human, expected.Human);
    if (cut != TCut::ScoreCard) {
        EXPECT_EQ(resumed->Hands, expected.Hands) << "the interrupted hand is dealt again as it was";
    }
    const auto& sheet = second.ScoreSheet().Sheet().Hands();
    ASSERT_EQ(static_cast<int>(sheet.size()), handsBefore) << "the score sheet comes back with the game";
    for (int seat = North; seat <= West; ++seat)
        EXPECT_EQ(sheet.back().Seat(seat).Score, expected.Scores[static_cast<size_t>(seat)]);

    // The game goes on to its end in the same record.
    QSignalSpy over(&second, &TfrmMain::gameOver);
    QSignalSpy scoredAfter(&second, &TfrmMain::handScored);
    ASSERT_TRUE(PlayToTheEnd(table, over));
    EXPECT_EQ(Count(second, "SELECT COUNT(*) FROM games"), 1);
    EXPECT_EQ(Count(second, "SELECT outcome FROM games"), static_cast<int>(TGameOutcome::Won));
    EXPECT_EQ(Count(second, "SELECT COUNT(*) FROM hands WHERE score1 IS NOT NULL"),
              handsBefore + scoredAfter.count());
    EXPECT_EQ(Count(second, "SELECT COUNT(*) FROM hands WHERE score1 IS NULL"), 0);
    ASSERT_EQ(static_cast<int>(sheet.size()), handsBefore + scoredAfter.count());
    for (int seat = North; seat <= West; ++seat)
        EXPECT_EQ(sheet.back().Seat(seat).Score, second.Table().Player(seat).FScore);
}

INSTANTIATE_TEST_SUITE_P(Cuts, HistoryResumeTable,
                         ::testing::Values(TCutCase{"Bidding", TCut::Bidding}, TCutCase{"MidTrick", TCut::MidTrick},
                                           TCutCase{"ScoreCard", TCut::ScoreCard}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(HistoryTable, DecliningTheOfferLeavesTheGameUntilANewOneStarts)
{
    TTableHarness table(AllComputer);
    TfrmMain& first = table.Open(42);
    QSignalSpy scored(&first, &TfrmMain::handScored);
    first.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return scored.count() >= 1; }, Timeout));
    first.Steps().Request(TTableRequest::Close);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !first.isVisible(); }, Timeout));
    table.Window.reset();

    table.Prompts.DefaultAnswer = false;
    TfrmMain& second = table.Open(43);
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.Prompts.Questions.size() == 1; }, Timeout));
    EXPECT_EQ(Count(second, "SELECT outcome FROM games WHERE id = 1"), static_cast<int>(TGameOutcome::Unfinished));
    QSignalSpy next(&second, &TfrmMain::handScored);
    second.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return next.count() >= 1; }, Timeout));
    EXPECT_EQ(Count(second, "SELECT outcome FROM games WHERE id = 1"), static_cast<int>(TGameOutcome::Abandoned));
    EXPECT_EQ(Count(second, "SELECT outcome FROM games WHERE id = 2"), static_cast<int>(TGameOutcome::Unfinished));
}

TEST(HistoryTable, APastHandIsPlayedAgainAsRecorded)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open(777);
    QSignalSpy over(&window, &TfrmMain::gameOver);
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !over.isEmpty(); }, Timeout));
    const int hands = Count(window, "SELECT COUNT(*) FROM hands");

    for (int number : {1, 3}) {
        const auto record = LoadHand(Db(window), 1, number);
        ASSERT_TRUE(record.has_value());
        QSignalSpy finished(&window.History(), &TTableHistory::replayFinished);
        int pauses = 0;
        QObject::connect(&window, &TfrmMain::paused, &window, [&] { ++pauses; });
        ASSERT_TRUE(window.History().StartReplay(1, number));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !finished.isEmpty(); }, Timeout));
        for (int seat = 1; seat <= 4; ++seat) {
            const TPlayer& p = window.Table().Player(seat);
            EXPECT_EQ(p.FBid, record->Bids[static_cast<size_t>(seat)]) << "hand " << number;
            EXPECT_EQ(p.FTricks, record->Tricks[static_cast<size_t>(seat)]) << "hand " << number;
            EXPECT_EQ(p.FBags, record->Bags[static_cast<size_t>(seat)]) << "hand " << number;
            EXPECT_EQ(p.FScore, record->Scores[static_cast<size_t>(seat)]) << "hand " << number;
            EXPECT_TRUE(p.FFaceUp) << "a replay shows every hand";
        }
        EXPECT_GE(pauses, 13 * 3) << "the table's own pauses";
        EXPECT_FALSE(window.History().Replaying());
    }
    EXPECT_EQ(Count(window, "SELECT COUNT(*) FROM hands"), hands) << "a replay records nothing";
    EXPECT_EQ(Count(window, "SELECT COUNT(*) FROM games"), 1);
}

TEST(HistoryTable, AReplayAskedForInsideARunningHandWaitsForItToStop)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open(606);
    QSignalSpy over(&window, &TfrmMain::gameOver);
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !over.isEmpty(); }, Timeout));
    const auto record = LoadHand(Db(window), 1, 2);
    ASSERT_TRUE(record.has_value());

    TSeatInts replayed{};
    QObject::connect(&window.History(), &TTableHistory::replayFinished, &window, [&] {
        for (int seat = 1; seat <= 4; ++seat)
            replayed[static_cast<size_t>(seat)] = window.Table().Player(seat).FScore;
    });
    bool asked = false;
    const auto connection = QObject::connect(&window, &TfrmMain::paused, &window, [&] {
        if (asked || !window.Steps().Busy())
            return;
        asked = true;  // inside a pause of the new game's first hand
        EXPECT_TRUE(window.History().StartReplay(1, 2));
    });
    over.clear();
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !over.isEmpty(); }, Timeout)) << "the game left goes on to its end";
    QObject::disconnect(connection);
    EXPECT_TRUE(asked);
    for (int seat = 1; seat <= 4; ++seat)
        EXPECT_EQ(replayed[static_cast<size_t>(seat)], record->Scores[static_cast<size_t>(seat)]);
    EXPECT_EQ(Count(window, "SELECT outcome FROM games WHERE id = 2"), static_cast<int>(TGameOutcome::Won));
}

// How the table stands, card by card, at one moment of a hand.
struct TStanding {
    std::array<std::array<int, 14>, 5> Hands{};
    std::array<int, 5> Places{}, Bids{}, Tricks{}, Scores{}, Bags{};
    std::array<bool, 5> Human{}, Piles{};
    std::array<std::string, 5> Names;
    int SeatToPlay = 0, Plays = 0, Visible = 0;
    bool SpadesBroken = false;
    bool operator==(const TStanding&) const = default;

    static TStanding Of(TTableHarness& table)
    {
        TSpadesGame& game = table.Window->Game();
        TStanding s;
        for (int seat = North; seat <= West; ++seat) {
            const TPlayer& p = game.Table.Player(seat);
            const size_t i = static_cast<size_t>(seat);
            s.Hands[i] = p.FHand;
            s.Places[i] = game.Table.Place(seat).FValue;
            s.Bids[i] = p.FBid;
            s.Tricks[i] = p.FTricks;
            s.Scores[i] = p.FScore;
            s.Bags[i] = p.FTotalBags;
            s.Human[i] = p.FHuman;
            s.Names[i] = p.FName;
            s.Piles[i] = table.Find<TCardDeck>(QString("crdStack%1").arg(seat))->Visible();
            for (int slot = 1; slot <= 13; ++slot)
                s.Visible += table.Card(seat, slot).Visible();
        }
        s.SeatToPlay = game.SeatToPlay();
        s.Plays = game.FPlayCount;
        s.SpadesBroken = game.Table.SpadesBroken;
        return s;
    }
};

enum class TLeave { Stop, NewGameNo, End, NewGameYes };
struct TLeaveCase {
    const char* Name;
    TLeave Leave;
};
void PrintTo(const TLeaveCase& c, std::ostream* out) { *out << c.Name; }

class HistoryReplayLeave : public ::testing::TestWithParam<TLeaveCase> {};

TEST_P(HistoryReplayLeave, TheGameLeftForAReplayGoesOnWhereItStood)
{
    const TLeave leave = GetParam().Leave;
    TTableHarness table;  // a person at South
    TfrmMain& window = table.Open(31);
    auto* stop = table.Find<QToolButton>("btnInterrupt");
    QSignalSpy scored(&window, &TfrmMain::handScored);
    QSignalSpy over(&window, &TfrmMain::gameOver);
    window.Steps().Request(TTableRequest::NewGame);
    // Through the first hand, to South's turn in the middle of a trick of the second.
    for (;;) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));
        if (!scored.isEmpty() && window.Game().FPlayCount >= 10 && window.Game().FPlayCount % 4 != 0)
            break;
        table.PlayLegalCard();
    }
    const TStanding before = TStanding::Of(table);
    const int bidsAsked = static_cast<int>(table.Prompts.BidCaptions.size());
    EXPECT_FALSE(stop->isVisible());

    table.Prompts.DefaultAnswer = leave == TLeave::NewGameYes;
    QSignalSpy finished(&window.History(), &TTableHistory::replayFinished);
    ASSERT_TRUE(window.History().StartReplay(1, 1));
    ASSERT_TRUE(window.History().Replaying());
    EXPECT_FALSE(window.Table().Player(South).FHuman) << "nobody is asked during a replay";
    EXPECT_TRUE(stop->isVisible()) << "a replay is an all-computer game";
    QSignalSpy paused(&window, &TfrmMain::paused);
    ASSERT_TRUE(paused.wait(Timeout));
    switch (leave) {
    case TLeave::Stop:
        QTest::mouseClick(stop, Qt::LeftButton);
        break;
    case TLeave::NewGameNo:
    case TLeave::NewGameYes:
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }));
        QTest::keyClick(&window, Qt::Key_F2);
        break;
    case TLeave::End:
        ASSERT_TRUE(finished.wait(Timeout));
        break;
    }
    const int asked = leave == TLeave::NewGameNo || leave == TLeave::NewGameYes;
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));
    EXPECT_FALSE(window.History().Replaying());
    EXPECT_FALSE(window.Game().Script.has_value());
    EXPECT_EQ(table.Prompts.Questions.size(), asked);
    EXPECT_FALSE(stop->isVisible());
    if (leave == TLeave::NewGameYes) {
        EXPECT_EQ(static_cast<int>(table.Prompts.BidCaptions.size()), bidsAsked + 1) << "South bids in the new game";
        EXPECT_EQ(Count(window, "SELECT outcome FROM games WHERE id = 1"), static_cast<int>(TGameOutcome::Abandoned));
        return;
    }
    EXPECT_TRUE(TStanding::Of(table) == before) << "the table as it stood";
    EXPECT_EQ(static_cast<int>(table.Prompts.BidCaptions.size()), bidsAsked);
    EXPECT_EQ(Count(window, "SELECT outcome FROM games WHERE id = 1"), static_cast<int>(TGameOutcome::Unfinished));
    window.GameSleeper().SetInterval(0);
    ASSERT_TRUE(PlayToTheEnd(table, over));
    EXPECT_EQ(Count(window, "SELECT outcome FROM games WHERE id = 1"), static_cast<int>(TGameOutcome::Won));
    EXPECT_EQ(Count(window, "SELECT COUNT(*) FROM hands WHERE game = 1 AND score1 IS NOT NULL"), scored.count() -
                                                                                                     (leave == TLeave::End));
}

INSTANTIATE_TEST_SUITE_P(Ways, HistoryReplayLeave,
                         ::testing::Values(TLeaveCase{"Stop", TLeave::Stop}, TLeaveCase{"NewGameNo", TLeave::NewGameNo},
                                           TLeaveCase{"End", TLeave::End},
                                           TLeaveCase{"NewGameYes", TLeave::NewGameYes}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(HistoryTable, TheStatisticsWindowShowsFiguresChartReplayAndAskedReset)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open(2025);
    QSignalSpy over(&window, &TfrmMain::gameOver);
    QSignalSpy scored(&window, &TfrmMain::handScored);
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !over.isEmpty(); }, Timeout));

    int rows = -1, rowsAfterNo = -1, rowsAfterYes = -1, seriesCount = -1, points = -1, wins = 0;
    QStringList names;
    std::array<qreal, 5> lastScores{};
    table.Prompts.OnDialog = [&](QDialog& dialog) {
        auto* stats = qobject_cast<TdlgStatistics*>(&dialog);
        if (!stats)
            return int(QDialog::Rejected);
        rows = stats->lvwFigures()->rowCount();
        // The table's own rules alone: no choice of rules, no sides.
        EXPECT_TRUE(stats->cbxRules()->isHidden());
        EXPECT_TRUE(stats->lvwSides()->isHidden());
        for (int row = 0; row < rows; ++row) {
            names << stats->lvwFigures()->item(row, 0)->text();
            EXPECT_EQ(stats->lvwFigures()->item(row, 1)->text(), "Computer");
            EXPECT_EQ(stats->lvwFigures()->item(row, 2)->text(), "1");
            wins += stats->lvwFigures()->item(row, 3)->text().toInt();
        }
        const auto series = stats->Chart()->series();
        seriesCount = static_cast<int>(series.size());
        for (int seat = 1; seat <= std::min<int>(4, seriesCount); ++seat) {
            auto* line = qobject_cast<QLineSeries*>(series[seat - 1]);
            points = static_cast<int>(line->count());
            lastScores[static_cast<size_t>(seat)] = line->points().back().y();
        }
        if (stats->edtHand()->maximum() != scored.count())
            ADD_FAILURE() << "hands offered for replay: " << stats->edtHand()->maximum();
        stats->cbxPeriod()->setCurrentIndex(1);
        EXPECT_EQ(stats->lvwFigures()->rowCount(), rows) << "today's game is within the last 30 days";
        table.Prompts.Answers = {false, true};
        stats->btnReset()->click();
        rowsAfterNo = stats->lvwFigures()->rowCount();
        stats->btnReset()->click();
        rowsAfterYes = stats->lvwFigures()->rowCount();
        return int(QDialog::Rejected);
    };
    window.findChild<QAction*>("mniGameStats")->trigger();
    EXPECT_EQ(rows, 4);
    names.sort();
    EXPECT_EQ(names, QStringList({"East", "North", "South", "West"}));
    EXPECT_EQ(wins, 1);
    EXPECT_EQ(seriesCount, 4);
    EXPECT_EQ(points, scored.count() + 1) << "from 0 before the first hand";
    for (int seat = 1; seat <= 4; ++seat)
        EXPECT_EQ(lastScores[static_cast<size_t>(seat)], window.Table().Player(seat).FScore);
    EXPECT_EQ(table.Prompts.Questions.size(), 2) << "the reset asks first";
    EXPECT_EQ(rowsAfterNo, 4) << "No keeps everything";
    EXPECT_EQ(rowsAfterYes, 0);
    EXPECT_EQ(Count(window, "SELECT COUNT(*) FROM games"), 0);
}

// A finished game of one scored hand.
void Played(THistoryStore& store, const QString& rules, const QStringList& names, int winner, int partner = 0)
{
    TGameRecord record;
    record.Rules = rules;
    for (int seat = 1; seat <= 4; ++seat)
        record.Seats[static_cast<size_t>(seat)].Name = names[seat - 1];
    const qint64 id = store.BeginGame(record);
    THandRecord hand{1, 3, {}, std::vector<int>(52), {0, 3, 3, 3, 4}, {0, 3, 3, 3, 4}, {}, {0, 40, 30, 40, 30}, {}, true};
    for (int i = 0; i < 52; ++i)
        hand.Deal[static_cast<size_t>(i)] = hand.Plays[static_cast<size_t>(i)] = i + 1;
    store.WriteHand(id, hand, winner, partner);
}

TEST(HistoryTable, TheStatisticsWindowSplitsTheFiguresByRulesAndSides)
{
    QTemporaryDir folder;
    THistoryStore store(folder.filePath("history.sqlite"));
    ASSERT_TRUE(store.Open());
    Played(store, "", {"Ann", "Bob", "Cid", "Dee"}, 1);
    Played(store, "variant=partnership bags=ten", {"Ann", "Bob", "Cid", "Dee"}, 2, 4);
    Played(store, "variant=partnership bags=ten", {"Ann", "Eve", "Cid", "Bob"}, 3, 1);
    TdlgStatistics stats(store.Database(), 0, [](const QString&) { return false; }, [] {});
    ASSERT_FALSE(stats.cbxRules()->isHidden());
    ASSERT_EQ(stats.cbxRules()->count(), 3);
    EXPECT_EQ(stats.cbxRules()->itemText(0), "All games");
    EXPECT_EQ(stats.cbxRules()->itemText(1), "The table's own rules");
    EXPECT_EQ(stats.cbxRules()->itemText(2), "Partnership, every 10 bags cost 100");

    const struct {
        int Choice;
        int Players, Games;
        QStringList Sides;  // each row: name, games, won
    } cases[] = {
        {0, 5, 3, {"North-South 2 1", "East-West 2 1", "Ann and Cid 2 1", "Bob and Dee 1 1", "Bob and Eve 1 0"}},
        {1, 4, 1, {}},
        {2, 5, 2, {"North-South 2 1", "East-West 2 1", "Ann and Cid 2 1", "Bob and Dee 1 1", "Bob and Eve 1 0"}},
    };
    for (const auto& c : cases) {
        stats.cbxRules()->setCurrentIndex(c.Choice);
        EXPECT_EQ(stats.lvwFigures()->rowCount(), c.Players) << c.Choice;
        EXPECT_EQ(stats.cbxGame()->count(), c.Games) << c.Choice;
        EXPECT_EQ(stats.lvwSides()->isHidden(), c.Sides.isEmpty()) << c.Choice;
        QStringList sides;
        for (int row = 0; row < stats.lvwSides()->rowCount(); ++row)
            sides << QStringList{stats.lvwSides()->item(row, 0)->text(), stats.lvwSides()->item(row, 1)->text(),
                                 stats.lvwSides()->item(row, 2)->text()}
                         .join(' ');
        EXPECT_EQ(sides, c.Sides) << c.Choice;
    }
    // A partnership game is won by a side, and says its rules.
    stats.cbxRules()->setCurrentIndex(2);
    EXPECT_THAT(stats.cbxGame()->itemText(0).toStdString(),
                HasSubstr("won by North-South (Partnership, every 10 bags cost 100)"));
    // The choice stands when the period changes.
    stats.cbxPeriod()->setCurrentIndex(1);
    EXPECT_EQ(stats.cbxRules()->currentIndex(), 2);
    EXPECT_EQ(stats.cbxGame()->count(), 2);
}

TEST(HistoryTable, TheStatisticsWindowStartsAReplay)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open(515);
    QSignalSpy over(&window, &TfrmMain::gameOver);
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !over.isEmpty(); }, Timeout));
    table.Prompts.OnDialog = [&](QDialog& dialog) {
        auto* stats = qobject_cast<TdlgStatistics*>(&dialog);
        stats->edtHand()->setValue(2);
        stats->btnReplay()->click();
        return dialog.result();
    };
    QSignalSpy finished(&window.History(), &TTableHistory::replayFinished);
    window.findChild<QAction*>("mniGameStats")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !finished.isEmpty(); }, Timeout));
    const auto record = LoadHand(Db(window), 1, 2);
    ASSERT_TRUE(record.has_value());
    for (int seat = 1; seat <= 4; ++seat)
        EXPECT_EQ(window.Table().Player(seat).FScore, record->Scores[static_cast<size_t>(seat)]);
}

// ---- Files the table cannot use ----------------------------------------------------------------------

TEST(HistoryTable, ADamagedFileIsKeptAsideWithOneMessageAndPlayGoesOn)
{
    TTableHarness table(AllComputer);
    QDir().mkpath(table.Data.path() + "/Tarnwell/Spades");
    {
        QFile file(table.HistoryFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(2048, '\x5a'));
    }
    TfrmMain& window = table.Open(9);
    ASSERT_EQ(table.Prompts.Notices.size(), 1u);
    EXPECT_EQ(table.Prompts.Notices[0].Kind, TNoticeKind::Warning);
    const std::string text = table.Prompts.Notices[0].Text.toStdString();
    EXPECT_THAT(text, HasSubstr("kept as " + QDir::toNativeSeparators(table.HistoryFile()).toStdString() + ".damaged"));
    EXPECT_THAT(text, HasSubstr("The game goes on without history."));
    EXPECT_EQ(QFile(table.HistoryFile() + ".damaged").size(), 2048);

    QSignalSpy over(&window, &TfrmMain::gameOver);
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !over.isEmpty(); }, Timeout));
    EXPECT_EQ(table.Prompts.Notices.size(), 2u) << "only the winner's notice follows";
    EXPECT_FALSE(QFile::exists(table.HistoryFile())) << "nothing is written this run";
    window.findChild<QAction*>("mniGameStats")->trigger();
    EXPECT_THAT(table.Prompts.Notices.back().Text.toStdString(), HasSubstr("no game history in this run"));
}

TEST(HistoryTable, ASecondCopyPlaysWithoutHistoryAndSaysSo)
{
    TTableHarness first(AllComputer);
    TfrmMain& one = first.Open(1);
    TTableHarness second(AllComputer);
    second.HistoryPath = first.HistoryFile();
    TfrmMain& two = second.Open(2);
    ASSERT_EQ(second.Prompts.Notices.size(), 1u);
    EXPECT_THAT(second.Prompts.Notices[0].Text.toStdString(), HasSubstr("Another copy of Quelbrin Spades"));
    EXPECT_TRUE(first.Prompts.Notices.empty());

    QSignalSpy overOne(&one, &TfrmMain::gameOver), overTwo(&two, &TfrmMain::gameOver);
    one.Steps().Request(TTableRequest::NewGame);
    two.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !overOne.isEmpty() && !overTwo.isEmpty(); }, Timeout));
    EXPECT_EQ(Count(one, "SELECT COUNT(*) FROM games"), 1) << "only the first copy writes";
    EXPECT_EQ(second.Prompts.Notices.size(), 2u);
    EXPECT_EQ(QDir(first.Data.path() + "/Tarnwell/Spades").entryList({"*.damaged*"}).size(), 0);
}

TEST(HistoryTable, ScoreLineNamesEverySeat)
{
    std::array<TGameSeat, 5> seats;
    seats[1].Name = "Ann";
    seats[2].Name = "Bo";
    seats[3].Name = "Zoë";
    seats[4].Name = "Dee";
    EXPECT_EQ(ScoreLine(seats, {0, 120, -40, 0, 250}), "Ann 120, Bo -40, Zoë 0, Dee 250");
    EXPECT_EQ(CountWithRate(3, 4), "3 of 4 (75%)");
    EXPECT_EQ(CountWithRate(0, 0), "none");
    const QDateTime now = QDateTime::fromSecsSinceEpoch(1800000000, Qt::UTC);
    EXPECT_FALSE(PeriodStart(0, now).isValid());
    EXPECT_EQ(PeriodStart(1, now).secsTo(now), 30 * 24 * 3600);
}

}  // namespace
