// Hosting and joining from the window: the joined table takes the window's
// place, plays at the window's pace and leaves its games in the window's history.
#include <gmock/gmock.h>

#include <QComboBox>
#include <QLineEdit>

#include "HistoryQueries.h"
#include "JoinedDriver.h"
#include "LblEffct.h"
#include "NetDialogs.h"
#include "NetTestSupport.h"
#include "RuleText.h"
#include "TableHarness.h"
#include "TableHistory.h"
#include "TableScene.h"

using namespace spades;
using namespace spades::testing;
using namespace spades::net;
using spades::net::testing::AnswerBid;
using spades::net::testing::ClickStrip;
using spades::net::testing::GameMs;
using spades::net::testing::OwnCard;
using spades::net::testing::SlotWhere;
using spades::net::testing::TJoined;
using spades::net::testing::WaitUntil;

namespace {

// Opens "Host a Table..." and chooses the seats: 0 open, 1 Computer, 2 Expert, 3 here.
THostTableDialog& HostFrom(TfrmMain& window, std::array<int, 4> kinds)
{
    window.findChild<QAction*>("mniNetHost")->trigger();
    auto* dialog = window.findChild<THostTableDialog*>();
    for (int seat = 1; seat <= 4; ++seat)
        dialog->findChild<QComboBox*>(QStringLiteral("cbxSeat%1").arg(seat))->setCurrentIndex(kinds[static_cast<size_t>(seat - 1)]);
    return *dialog;
}

TEST(NetTable, AHostedGameIsPlayedByTheRulesOfThePreferences)
{
    TTableHarness harness({false, false, false, true, false},
                          "\"Speed\"=\"Bullet\"\n\"MusicOn\"=dword:00000000\n\"Rules\"=\"variant=partnership bags=ten\"\n");
    TfrmMain& window = harness.Open();
    THostTableDialog& dialog = HostFrom(window, {1, 1, 3, 1});
    ASSERT_TRUE(dialog.StartHosting());
    EXPECT_EQ(HouseRulesText(dialog.Host()->Game().Rules()), "variant=partnership bags=ten");
    const TTableMirror& mirror = window.JoinedTable()->Client().Mirror();
    ASSERT_TRUE(WaitUntil([&] { return mirror.Rules().Partnership(); }, GameMs)) << "the own seat's table plays them too";
    EXPECT_EQ(mirror.Rules().Bags, TBagRule::TenBags);
}

TEST(NetTable, AGameHostedFromTheWindowIsPlayedInItsPlaceAndRecordedInItsHistory)
{
    TTableHarness harness;
    TfrmMain& window = harness.Open();
    window.mniGameNewClick();  // a game of the window's own, waiting for South's card
    ASSERT_TRUE(WaitUntil([&] { return harness.WaitingSeat() == South; }, GameMs));

    THostTableDialog& dialog = HostFrom(window, {0, 1, 3, 1});
    dialog.findChild<QLineEdit*>("edtOwnName")->setText("Zoë");
    ASSERT_TRUE(dialog.StartHosting());
    TJoinedTable* table = window.JoinedTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table, dialog.OwnTable());
    EXPECT_EQ(window.centralWidget(), table) << "in the window, in place of its own table";
    EXPECT_FALSE(harness.Card(South, 1).isVisible()) << "the own table is put away";
    EXPECT_EQ(dialog.Host()->PauseLength(), window.GameSleeper().Interval());

    bool finished = false;
    QObject::connect(dialog.Host(), &TNetHost::Finished, [&] { finished = true; });
    TNetClientOptions bob;
    bob.Port = dialog.Host()->Port();
    bob.Code = dialog.Host()->Code();
    bob.Name = "Bob";
    bob.Brain = ClassicBrain();
    TJoined client(bob);

    const TTableMirror& m = table->Client().Mirror();
    int cards = 0;
    while (!finished) {
        ASSERT_TRUE(WaitUntil([&] { return m.PendingTurn().has_value() || finished; }, GameMs));
        if (finished)
            break;
        const uint32_t turn = m.PendingTurn()->Turn;
        QCoreApplication::processEvents();  // the table is drawn at the next turn of the loop
        if (m.PendingTurn()->Kind == TTurnKind::Bid) {
            ASSERT_TRUE(WaitUntil([&] { return AnswerBid(*table, 2); }, GameMs));
        } else {
            const int slot = SlotWhere(*table, true);
            ASSERT_NE(slot, 0);
            if (const QByteArray dir = qgetenv("SPADES_GRAB_DIR"); !dir.isEmpty() && cards == 17)
                window.grab().save(QString::fromLocal8Bit(dir) + "/window.png");
            ASSERT_TRUE(ClickStrip(*table, *OwnCard(*table, slot)));
            ++cards;
        }
        ASSERT_TRUE(WaitUntil([&] { return finished || !m.PendingTurn() || m.PendingTurn()->Turn != turn; }, GameMs));
    }
    const int hands = dialog.Host()->Game().HandNumber();
    EXPECT_EQ(cards, 13 * hands);

    const QSqlDatabase db = window.History().Store().Database();
    const auto games = GameList(db);
    ASSERT_EQ(games.size(), 2u) << "the window's own game, and the hosted one";
    EXPECT_EQ(games.back().Outcome, TGameOutcome::Abandoned) << "given up for the hosted game";
    const auto hosted = LoadGame(db, games.front().Id);
    ASSERT_TRUE(hosted);
    EXPECT_EQ(hosted->Seats[North], (TGameSeat{"Bob", TSeatType::Person}));
    EXPECT_EQ(hosted->Seats[East], (TGameSeat{"East", TSeatType::Computer}));
    EXPECT_EQ(hosted->Seats[South], (TGameSeat{"Zoë", TSeatType::Person}));
    EXPECT_EQ(hosted->Outcome, TGameOutcome::Won);
    EXPECT_EQ(ScoredHands(db, hosted->Id), hands);
    const auto last = LoadHand(db, hosted->Id, hands);
    ASSERT_TRUE(last);
    EXPECT_TRUE(IsWholeDeck(last->Deal));
    EXPECT_EQ(last->Plays.size(), 52u) << "every trick, card by card";
    EXPECT_EQ(last->Scores[South], dialog.Host()->Game().Game().Table.Player(South).FScore);

    // New Game brings the window's own table back, and plays on it.
    const int bidsBefore = harness.Prompts.BidCaptions.size();
    window.findChild<QAction*>("mniGameNew")->trigger();
    EXPECT_EQ(window.JoinedTable(), nullptr);
    EXPECT_EQ(window.centralWidget()->objectName(), "bmpBackGround");
    ASSERT_TRUE(WaitUntil([&] { return harness.WaitingSeat() == South; }, GameMs));
    EXPECT_GT(harness.Prompts.BidCaptions.size(), bidsBefore);
    EXPECT_TRUE(harness.Card(South, 1).isVisible());
}

TEST(NetTable, TheHostPausesAsThePlaySpeedSaysAndTheJoinedTableFollowsThePreferences)
{
    TTableHarness harness({false, false, false, false, false}, "\"Speed\"=\"Fast\"\n\"MusicOn\"=dword:00000000\n");
    TfrmMain& window = harness.Open();
    window.ApplyPreferences();  // the harness shortened the pause; the preference again
    EXPECT_EQ(window.PlayPause(), 500);
    THostTableDialog& dialog = HostFrom(window, {3, 0, 1, 1});
    ASSERT_TRUE(dialog.StartHosting());
    EXPECT_EQ(dialog.Host()->PauseLength(), 500);
    window.GameDefaults()->SetSpeed(0);  // Slow
    window.GameDefaults()->SetCardBack(3);
    window.ApplyPreferences();
    EXPECT_EQ(dialog.Host()->PauseLength(), 1500) << "a changed speed counts from the next pause";
    ASSERT_NE(window.JoinedTable(), nullptr);
    EXPECT_EQ(window.JoinedTable()->Scene().Pile(North).Value(), window.Table().CardBack);
    window.LeaveJoinedTable();
    EXPECT_EQ(window.centralWidget()->objectName(), "bmpBackGround");
    EXPECT_EQ(harness.Find<TLabelEffect>("LabelEffect1")->Caption(), "Press the F2 key to start a game");
}

TEST(NetTable, JoiningFromTheWindowShowsTheTableInItsPlaceUntilTheTableIsLeft)
{
    TTableHarness harness;
    TfrmMain& window = harness.Open();
    TNetHostOptions options;
    options.Kinds = {TSeatKind::Remote, TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Computer};
    spades::net::testing::THosted hosted(options);
    harness.Prompts.OnDialog = [&](QDialog& dialog) {
        auto* join = qobject_cast<TJoinTableDialog*>(&dialog);
        if (!join)
            return int(QDialog::Rejected);
        join->FPortBox->setValue(hosted.Host->Port());
        join->FCodeEdit->setText(QString::fromStdString(hosted.Host->Code()));
        join->FName->setText("Cy");
        return int(QDialog::Accepted);
    };
    window.mniGameNewClick();  // a game of the window's own, given up for the joined one
    window.findChild<QAction*>("mniNetJoin")->trigger();
    TJoinedTable* table = window.JoinedTable();
    const auto games = GameList(window.History().Store().Database());
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games.front().Outcome, TGameOutcome::Abandoned) << "as a new game gives it up";
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(window.centralWidget(), table);
    ASSERT_TRUE(WaitUntil([&] { return table->Client().Mirror().HandNumber() == 1; }, GameMs));
    QCoreApplication::processEvents();  // the table is drawn at the next turn of the loop
    // North joined: North's name at the bottom, East on the left.
    EXPECT_EQ(table->Scene().SeatLabel(South).Caption(), "Cy");
    EXPECT_EQ(table->Scene().SeatLabel(West).Caption(), "East");
    ASSERT_TRUE(WaitUntil([&] { return table->BidDialog() != nullptr; }, GameMs));
    EXPECT_EQ(table->BidDialog()->parent(), &window) << "the bid dialog stands over the window";

    window.LeaveJoinedTable();
    EXPECT_EQ(window.JoinedTable(), nullptr);
    EXPECT_EQ(window.centralWidget()->objectName(), "bmpBackGround");
    EXPECT_TRUE(WaitUntil([&] { return hosted.Host->Roster().At(North).State == TSeatState::Dropped; }, GameMs))
        << "the seat left goes to the computer";
}

}  // namespace
