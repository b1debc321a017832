// Steps taken back and the same deal again on the real window: only while
// nothing has followed the step, through the game, and marked in the history.
#include <QLabel>
#include <QSignalSpy>
#include <QTimer>

#include "ExpertSeat.h"
#include "HistoryQueries.h"
#include "LastTrick.h"
#include "LblEffct.h"
#include "PlayComfort.h"
#include "TableHarness.h"
#include "TableHistory.h"
#include "TableScene.h"
#include "TrickTags.h"

using namespace spades;
using namespace spades::testing;

namespace {

constexpr int Timeout = 60000;

int Undos(TfrmMain& window)
{
    const std::vector<TGameSummary> games = GameList(window.History().Store().Database());
    return games.empty() ? -1 : games.front().Undos;
}

enum class TWhen { InThePauseAfterTheCard, AfterTheNextCard, WhileWestBids };
struct TUndoCase {
    const char* Name;
    TWhen When;
    bool TakenBack;
};

class TableUndo : public ::testing::TestWithParam<TUndoCase> {};

TEST_P(TableUndo, OnlyTheLastStepAndOnlyWhileNothingFollowed)
{
    const TUndoCase& param = GetParam();
    TTableHarness table;
    if (param.When == TWhen::WhileWestBids) {
        QByteArray text = "Windows Registry Editor Version 5.00\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Options]\n"
                          "\"Speed\"=\"Bullet\"\n\"MusicOn\"=dword:00000000\n\n" +
                          SeatLines(North, "North", false) + SeatLines(East, "East", false) +
                          SeatLines(South, "South", true) + SeatLines(West, "West", false);
        table.WriteSettings(text.replace("West\"\n\"Type\"=\"Computer\"", "West\"\n\"Type\"=\"Expert\""));
    }
    TfrmMain& window = table.Open(31, 150);
    TSpadesGame& game = window.Game();
    int pauses = 0;
    bool asked = false;
    QObject::connect(&window, &TfrmMain::paused, &window, [&] {
        if (param.When == TWhen::AfterTheNextCard && ++pauses == 2)
            window.mniGameUndoClick();
    });
    QObject::connect(&window.ExpertSeat(), &TExpertSeat::waiting, &window, [&] {
        if (param.When == TWhen::WhileWestBids && game.FPlayCount == 0 && !asked) {
            asked = true;
            window.mniGameUndoClick();
        }
    });
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));
    const auto hand = game.Table.Player(South).FHand;
    if (param.When == TWhen::InThePauseAfterTheCard)
        QTimer::singleShot(40, &window, [&] { window.mniGameUndoClick(); });
    table.PlayLegalCard();
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));

    EXPECT_EQ(Undos(window), param.TakenBack ? 1 : 0);
    if (param.When == TWhen::WhileWestBids) {
        EXPECT_EQ(table.Prompts.BidCaptions.size(), param.TakenBack ? 2u : 1u) << "South is asked again";
        return;
    }
    EXPECT_EQ(game.Table.Player(South).FHand == hand, param.TakenBack);
    EXPECT_EQ(game.FPlayCount == 0, param.TakenBack) << "South leads the hand";
}

INSTANTIATE_TEST_SUITE_P(Cases, TableUndo,
                         ::testing::Values(TUndoCase{"CardInItsPause", TWhen::InThePauseAfterTheCard, true},
                                           TUndoCase{"CardAfterTheNextCard", TWhen::AfterTheNextCard, false},
                                           TUndoCase{"BidWhileWestThinks", TWhen::WhileWestBids, true}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(TableDealAgain, IsANewGameOfTheSameHand)
{
    TTableHarness table;
    TfrmMain& window = table.Open(57);
    TSpadesGame& game = window.Game();
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));
    std::array<std::array<int, 14>, 5> hands{};
    for (int seat = North; seat <= West; ++seat)
        hands[static_cast<size_t>(seat)] = game.Table.Player(seat).FHand;
    table.PlayLegalCard();
    window.mniGameDealAgainClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South && game.FPlayCount == 0; }, Timeout));
    for (int seat = North; seat <= West; ++seat)
        EXPECT_EQ(game.Table.Player(seat).FHand, hands[static_cast<size_t>(seat)]) << "seat " << seat;
    EXPECT_EQ(GameList(window.History().Store().Database()).size(), 2u);
}

// ---- Whose card is whose on the trick --------------------------------------------------------------

TEST(TableTrickTags, NameEveryCardAndMarkTheWinner)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open(88, 30);
    TSpadesGame& game = window.Game();
    TTrickTags& tags = window.Comfort().TrickTags();
    std::array<QString, 4> tagged;
    std::array<int, 4> seats{};
    int winner = 0;
    bool winnerMarked = false;
    // The first pause after the fourth card: the winner's label is up.
    QObject::connect(&window, &TfrmMain::paused, &window, [&] {
        if (winner != 0 || window.Scene().WhoWon().Caption().isEmpty())
            return;
        for (int place = 1; place <= 4; ++place) {
            seats[static_cast<size_t>(place - 1)] = game.Table.Place(place).FSeat;
            tagged[static_cast<size_t>(place - 1)] = tags.Tag(place).isVisible() ? tags.Tag(place).text() : "";
        }
        winner = tags.Current().Winner;
        for (int place = 1; place <= 4; ++place)
            if (game.Table.Place(place).FSeat == winner)
                winnerMarked = window.Scene().Card(QString::fromStdString(game.Table.Place(place).FCard->Name()))
                                   ->Outline() == TCardDeck::TOutline::Hint;
        window.Table().StopRequested = true;
    });
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Scene().Pile(winner > 0 ? winner : 1).Visible() && winner; },
                                Timeout));
    static const char* names[] = {"", "North", "East", "South", "West"};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(tagged[i], names[seats[i]]) << "place " << i + 1;
    EXPECT_NE(winner, 0);
    EXPECT_TRUE(winnerMarked);

    // The winner's pile shows that trick with its tags again.
    ASSERT_TRUE(QTest::qWaitFor([&] { return game.Table.StopRequested && !window.Steps().Busy(); }, Timeout));
    QTest::mousePress(&window.Scene().Pile(winner), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(window.Comfort().LastTrick().Showing());
    for (int place = 1; place <= 4; ++place)
        EXPECT_EQ(tags.Tag(place).toolTip(), names[seats[static_cast<size_t>(place - 1)]]);
    QTest::mouseRelease(&window.Scene().Pile(winner), Qt::LeftButton, {}, QPoint(3, 3));
}

// ---- A refused play, in a box or on the table ------------------------------------------------------

struct TRefusalCase {
    const char* Name;
    bool OnTable;
};

class TableRefusal : public ::testing::TestWithParam<TRefusalCase> {};

TEST_P(TableRefusal, IsToldWhereThePlayerChose)
{
    TTableHarness table({false, false, false, true, false},
                        QByteArray("\"Speed\"=\"Bullet\"\n\"MusicOn\"=dword:00000000\n\"Refusals On Table\"=dword:0000000") +
                            (GetParam().OnTable ? "1" : "0") + "\n");
    TfrmMain& window = table.Open(99);
    TSpadesGame& game = window.Game();
    window.Steps().Request(TTableRequest::NewGame);
    for (int tries = 0; tries < 200; ++tries) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));
        for (int slot = 1; slot <= 13; ++slot) {
            if (game.Table.Player(South).FHand[static_cast<size_t>(slot)] == NoCard)
                continue;
            const TPlayVerdict verdict = game.CheckPersonCard(South, slot);
            if (verdict == TPlayVerdict::Legal)
                continue;
            window.CardClick(table.Card(South, slot));
            const QString text = QString::fromUtf8(VerdictText(verdict).data());
            EXPECT_EQ(window.Scene().Notice().Caption(), GetParam().OnTable ? text : QString());
            EXPECT_EQ(table.Prompts.CountNotices(text), GetParam().OnTable ? 0 : 1);
            table.PlayLegalCard();
            EXPECT_TRUE(window.Scene().Notice().Caption().isEmpty()) << "gone with the next card";
            return;
        }
        table.PlayLegalCard();
    }
    FAIL() << "no refused card came up";
}

INSTANTIATE_TEST_SUITE_P(Where, TableRefusal,
                         ::testing::Values(TRefusalCase{"InABox", false}, TRefusalCase{"OnTheTable", true}),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- The end of a game -----------------------------------------------------------------------------

class TNewGamePrompts : public TScriptedPrompts {
public:
    bool GameOver(const QString& text, const QString& standings) override
    {
        Notice(TNoticeKind::Information, text);
        Standings.push_back(standings);
        return true;
    }
    QStringList Standings;
};

TEST(TableGameOver, ShowsTheStandingsAndCanStartTheNextGame)
{
    TTableHarness table(AllComputer);
    TNewGamePrompts prompts;
    TTableEnvironment environment;
    environment.ProgramDir = table.ProgramFolder();
    environment.LogFallbackDir = table.Data.path();
    environment.Prompts = &prompts;
    environment.MusicPlayer = &table.Music;
    environment.PreviewPlayer = &table.Preview;
    environment.CheckScreenWidth = false;
    table.Window = std::make_unique<TfrmMain>(environment);
    TfrmMain& window = *table.Window;
    window.show();
    window.GameSleeper().SetInterval(1);
    QSignalSpy over(&window, &TfrmMain::gameOver);
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !over.isEmpty(); }, 4 * Timeout));
    ASSERT_EQ(prompts.Standings.size(), 1u);
    EXPECT_TRUE(prompts.Standings[0].startsWith("Final standings:\r1. " + over.at(0).at(0).toString() + ": "));
    // The next game is under way at once.
    EXPECT_TRUE(QTest::qWaitFor([&] { return GameList(window.History().Store().Database()).size() == 2; }, Timeout));
    window.Table().StopRequested = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.Steps().Busy(); }, Timeout));
    table.Window.reset();
}

}  // namespace
