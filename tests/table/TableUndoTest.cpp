// Steps taken back and the same deal again on the window; the trick's name tags;
// refusals where the player chose; the end of a game with the next one at hand.
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

std::vector<TGameSummary> Games(TfrmMain& window) { return GameList(window.History().Store().Database()); }

enum class TWhen { InThePauseAfterTheCard, AfterTheNextCard, WhileWestBids };
struct TUndoCase {
    const char* Name;
    TWhen When;
    bool TakenBack;
};

class TableUndo : public ::testing::TestWithParam<TUndoCase> {};

TEST_P(TableUndo, OnlyTheLastStepAndOnlyWhileNothingFollowed)
{
    const TUndoCase& c = GetParam();
    TTableHarness table;
    if (c.When == TWhen::WhileWestBids) {
        QFile file(table.SettingsPath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        table.WriteSettings(file.readAll().replace("West\"\n\"Type\"=\"Computer\"", "West\"\n\"Type\"=\"Expert\""));
    }
    TfrmMain& window = table.Open(31, 150);
    TSpadesGame& game = window.Game();
    int pauses = 0, thoughts = 0;
    QObject::connect(&window, &TfrmMain::paused, &window, [&] {
        if (c.When == TWhen::AfterTheNextCard && ++pauses == 2)
            window.mniGameUndoClick();
    });
    QObject::connect(&window.ExpertSeat(), &TExpertSeat::waiting, &window, [&] {
        if (c.When == TWhen::WhileWestBids && game.FPlayCount == 0 && thoughts++ == 0)
            window.mniGameUndoClick();
    });
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));
    const auto hand = game.Table.Player(South).FHand;
    if (c.When == TWhen::InThePauseAfterTheCard)
        QTimer::singleShot(40, &window, [&] { window.mniGameUndoClick(); });
    table.PlayLegalCard();
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));

    EXPECT_EQ(Games(window).front().Undos, c.TakenBack ? 1 : 0);
    if (c.When == TWhen::WhileWestBids)
        EXPECT_EQ(table.Prompts.BidCaptions.size(), c.TakenBack ? 2u : 1u) << "South is asked again";
    else
        EXPECT_EQ(game.Table.Player(South).FHand == hand && game.FPlayCount == 0, c.TakenBack);
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
    EXPECT_EQ(Games(window).size(), 2u);
}

TEST(TableTrickTags, NameEveryCardMarkTheWinnerAndComeBackWithItsPile)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open(88, 30);
    TSpadesGame& game = window.Game();
    TTrickTags& tags = window.Comfort().TrickTags();
    static const QStringList names = {"", "North", "East", "South", "West"};
    QStringList expected, tagged;
    int winner = 0;
    // The first pause after the fourth card: the winner's label is up.
    QObject::connect(&window, &TfrmMain::paused, &window, [&] {
        if (winner != 0 || window.Scene().WhoWon().Caption().isEmpty())
            return;
        winner = tags.Current().Winner;
        for (int place = 1; place <= 4; ++place) {
            const TPlayStack& stack = game.Table.Place(place);
            expected << names[stack.FSeat];
            tagged << (tags.Tag(place).isVisible() ? tags.Tag(place).text() : "");
            const TCardDeck* card = window.Scene().Card(QString::fromStdString(stack.FCard->Name()));
            EXPECT_EQ(card->Outline() == TCardDeck::TOutline::Hint, stack.FSeat == winner) << "place " << place;
        }
        window.Table().StopRequested = true;
    });
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return winner && game.Table.StopRequested && !window.Steps().Busy(); }, Timeout));
    EXPECT_EQ(tagged, expected);
    QTest::mousePress(&window.Scene().Pile(winner), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(window.Comfort().LastTrick().Showing());
    for (int place = 1; place <= 4; ++place)
        EXPECT_EQ(tags.Tag(place).toolTip(), expected[place - 1]) << "the trick that seat won";
    QTest::mouseRelease(&window.Scene().Pile(winner), Qt::LeftButton, {}, QPoint(3, 3));
}

class TableRefusal : public ::testing::TestWithParam<bool> {};

TEST_P(TableRefusal, IsToldInABoxOrOnTheTable)
{
    const bool onTable = GetParam();
    TTableHarness table({false, false, false, true, false},
                        QByteArray("\"Speed\"=\"Bullet\"\n\"MusicOn\"=dword:00000000\n\"Refusals On Table\"=dword:0000000") +
                            (onTable ? "1" : "0") + "\n");
    TfrmMain& window = table.Open(99);
    TSpadesGame& game = window.Game();
    window.Steps().Request(TTableRequest::NewGame);
    for (int tries = 0; tries < 200; ++tries) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));
        for (int slot = 1; slot <= 13; ++slot) {
            const TPlayVerdict verdict = game.CheckPersonCard(South, slot);
            if (game.Table.Player(South).FHand[static_cast<size_t>(slot)] == NoCard || verdict == TPlayVerdict::Legal)
                continue;
            window.CardClick(table.Card(South, slot));
            const QString text = QString::fromUtf8(VerdictText(verdict).data());
            EXPECT_EQ(window.Scene().Notice().Caption(), onTable ? text : QString());
            EXPECT_EQ(table.Prompts.CountNotices(text), onTable ? 0 : 1);
            table.PlayLegalCard();
            EXPECT_TRUE(window.Scene().Notice().Caption().isEmpty()) << "gone with the next card";
            return;
        }
        table.PlayLegalCard();
    }
    FAIL() << "no refused card came up";
}

INSTANTIATE_TEST_SUITE_P(Where, TableRefusal, ::testing::Bool());

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
    environment.Prompts = &prompts;
    environment.MusicPlayer = &table.Music;
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
    EXPECT_TRUE(QTest::qWaitFor([&] { return Games(window).size() == 2; }, Timeout)) << "the next game at once";
    window.Table().StopRequested = true;
    table.Window.reset();
}

}  // namespace
