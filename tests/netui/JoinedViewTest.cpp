#include <gmock/gmock.h>

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "CardDeck.h"
#include "ExtListView.h"
#include "HistoryQueries.h"
#include "HostHistory.h"
#include "JoinedDriver.h"
#include "JoinedTable.h"
#include "LblEffct.h"
#include "NetTestSupport.h"
#include "TableScene.h"

using namespace spades;
using namespace spades::net;
using namespace spades::net::testing;

namespace {

// The names on the table's four places (North, East, South, West) when Ann sits at Own.
struct TTurned {
    int Own;
    std::array<const char*, 4> Names;
};
class JoinedView : public ::testing::TestWithParam<TTurned> {};

TEST_P(JoinedView, ShowsTheOwnHandAtTheBottomAndTheOthersTurnedRoundIt)
{
    const TTurned& turned = GetParam();
    TNetHostOptions options;
    options.Kinds = {TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Computer};
    options.Kinds[static_cast<size_t>(turned.Own - 1)] = TSeatKind::Remote;
    options.Seed = 5;
    THosted hosted(options);
    TJoinedTable table(hosted.Client("Ann", static_cast<uint8_t>(turned.Own)));
    table.resize(TTableScene::Width, TTableScene::Height);
    table.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&table));
    // The first hand is dealt; somebody's bid is awaited or made.
    const TTableMirror& m = table.Client().Mirror();
    ASSERT_TRUE(WaitUntil([&] { return m.Seat() == turned.Own && m.HandNumber() == 1; }, GameMs));
    QCoreApplication::processEvents();

    const TTableScene& scene = table.Scene();
    for (int place = North; place <= West; ++place)
        EXPECT_EQ(scene.SeatLabel(place).Caption(), turned.Names[static_cast<size_t>(place - 1)]) << "place " << place;
    // The bids list keeps the seats' own order.
    EXPECT_EQ(scene.Bids().Cell(turned.Own - 1, 0), "Ann");

    const TPlayer& dealt = hosted.Host->Game().Game().Table.Player(turned.Own);
    const int bottom = scene.TableRect(scene.SeatLabel(South)).bottom() + 1 + 11;
    for (int slot = 1; slot <= 13; ++slot) {
        const TCardDeck& card = *OwnCard(table, slot);
        EXPECT_TRUE(card.Visible());
        EXPECT_EQ(card.Value(), dealt.FHand[static_cast<size_t>(slot)]) << "own hand, face up, in its order";
        EXPECT_EQ(scene.TableRect(card).top(), bottom);
    }
    // Thirteen steps of the fan, as the window's own table lays out a hand.
    EXPECT_EQ(scene.TableRect(*OwnCard(table, 2)).left() - scene.TableRect(*OwnCard(table, 1)).left(), 14);
    for (int place : {North, East, West})
        for (int slot = 1; slot <= 13; ++slot) {
            const TCardDeck& back = *scene.Card(QStringLiteral("imgPlayer%1%2").arg(place).arg(slot));
            EXPECT_TRUE(back.Visible());
            EXPECT_EQ(back.Value(), FirstBackValue) << "place " << place;
        }
    if (const QByteArray dir = qgetenv("SPADES_GRAB_DIR"); !dir.isEmpty())
        table.grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("joined%1.png").arg(turned.Own)));
}
INSTANTIATE_TEST_SUITE_P(NetWindow, JoinedView,
                         ::testing::Values(TTurned{North, {"South", "West", "Ann", "East"}},
                                           TTurned{East, {"West", "North", "Ann", "South"}},
                                           TTurned{South, {"North", "East", "Ann", "West"}},
                                           TTurned{West, {"East", "South", "Ann", "North"}}),
                         [](const auto& info) { return std::string("At") + "NESW"[info.param.Own - 1]; });

// A trick taken stays on the table with its winner named for a pause, then goes.
TEST(JoinedView, ShowsTheTakenTrickAndItsWinnerForAPause)
{
    TNetHostOptions options;
    options.Kinds = {TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Remote, TSeatKind::Computer};
    options.PauseMs = 150;  // the host waits while the table shows the trick
    options.Seed = 9;
    THosted hosted(options);
    TJoinedTable table(Playing(hosted.Client("Ann")));
    table.SetPauseSource([] { return 100; });
    table.resize(TTableScene::Width, TTableScene::Height);
    table.show();
    const TTableMirror& m = table.Client().Mirror();
    ASSERT_TRUE(WaitUntil([&] { return m.Player(North).FTricks + m.Player(East).FTricks + m.Player(South).FTricks +
                                           m.Player(West).FTricks == 1; },
                          GameMs));
    QCoreApplication::processEvents();  // the table is drawn at the next turn of the loop
    const TTableScene& scene = table.Scene();
    EXPECT_THAT(scene.WhoWon().Caption().toStdString(), ::testing::EndsWith(" Won"));
    int shown = 0;
    for (int place = 1; place <= 4; ++place)
        shown += table.findChild<TCardDeck*>(QStringLiteral("imgTrick%1").arg(place))->Visible();
    EXPECT_EQ(shown, 4) << "the trick stays while its winner is named";
    int winner = 0;
    for (int seat = North; seat <= West; ++seat)
        if (m.Player(seat).FTricks == 1)
            winner = seat;
    EXPECT_TRUE(scene.Pile(TJoinedTable::SeatPlace(winner, South)).Visible());
    ASSERT_TRUE(WaitUntil([&] { return !table.findChild<TCardDeck*>("imgTrick1")->Visible(); }, GameMs));
}

TEST(JoinedView, CountsDownTheTurnAndTellsWhenTheComputerTakesTheSeatUntilACardIsClicked)
{
    TNetHostOptions options;
    options.Kinds = {TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Remote, TSeatKind::Computer};
    options.TurnTimeoutMs = 2000;
    options.PauseMs = 20;
    options.Seed = 11;
    THosted hosted(options);
    TJoinedTable table(hosted.Client("Ann"));  // nobody answers here
    table.resize(TTableScene::Width, TTableScene::Height);
    table.show();
    EXPECT_EQ(table.TurnClock(), QString()) << "no turn runs yet";
    const TTableMirror& m = table.Client().Mirror();
    ASSERT_TRUE(WaitUntil([&] { return m.PendingTurn().has_value(); }, GameMs));
    QCoreApplication::processEvents();
    EXPECT_EQ(table.TurnClock(), "2");
    const QString away = NoticeText(TSeatNotice::Away);
    ASSERT_TRUE(WaitUntil([&] { return table.Status() == away; }, GameMs));
    int slot = 1;
    while (slot < 13 && !OwnCard(table, slot)->Visible())
        ++slot;
    ASSERT_TRUE(WaitUntil([&] { return ClickStrip(table, *OwnCard(table, slot)); }, GameMs));
    ASSERT_TRUE(WaitUntil([&] { return table.Status() == NoticeText(TSeatNotice::Back); }, GameMs));
    EXPECT_FALSE(hosted.Host->Away(South));
}

// ---- Hosted games in the history ----------------------------------------------------------------------

struct THistoryFile {
    THistoryFile() : Store(Dir.filePath("history.sqlite")) { Ok = Store.Open(); }
    QTemporaryDir Dir;
    THistoryStore Store;
    bool Ok = false;
};

TEST(HostHistory, AGameLeftWhenHostingEndsIsAbandonedNotOfferedToContinue)
{
    THistoryFile file;
    ASSERT_TRUE(file.Ok);
    TNetHostOptions options;
    options.Kinds = {TSeatKind::Remote, TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Computer};
    options.PauseMs = 2;
    auto hosted = std::make_unique<THosted>(options);
    auto history = std::make_unique<THostHistory>(*hosted->Host, file.Store);
    TJoined bob(Playing(hosted->Client("Bob")));
    ASSERT_TRUE(WaitUntil([&] { return hosted->Host->Game().HandNumber() >= 2; }, GameMs));
    history.reset();
    hosted.reset();
    const auto games = GameList(file.Store.Database());
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(LoadGame(file.Store.Database(), games.front().Id)->Outcome, TGameOutcome::Abandoned);
    EXPECT_FALSE(file.Store.Unfinished());
}

}  // namespace
