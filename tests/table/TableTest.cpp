// The table window end to end: games played by clicking, computer games, the
// stop button, closing, and the edge cases of the hand cycle.
#include <gmock/gmock.h>

#include <QAction>
#include <QMenuBar>
#include <QSignalSpy>
#include <QToolButton>
#include <set>

#include "ExtListView.h"
#include "LblEffct.h"
#include "Sleeper.h"
#include "TableHarness.h"

using namespace spades;
using namespace spades::testing;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

constexpr int Timeout = 60000;

// Plays the game to its end: people's seats click their first legal card.
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

TEST(TableGame, PersonAtSouthPlaysAGameByClicking)
{
    TTableHarness table;
    TfrmMain& window = table.Open(4242);
    QSignalSpy over(&window, &TfrmMain::gameOver);
    QSignalSpy scored(&window, &TfrmMain::handScored);
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(PlayToTheEnd(table, over));

    EXPECT_GE(scored.count(), 1);
    EXPECT_EQ(table.Prompts.ScoreCards, scored.count());
    EXPECT_EQ(table.Prompts.BidCaptions.size(), static_cast<size_t>(scored.count()));
    EXPECT_EQ(table.Prompts.BidCaptions.value(0), "South Bid");
    const QString winner = over.at(0).at(0).toString();
    EXPECT_EQ(table.Prompts.Notices.back().Text, winner + " has won the game.");
    EXPECT_EQ(table.Prompts.Notices.back().Kind, TNoticeKind::Information);
    int best = -100000;
    for (int seat = 1; seat <= 4; ++seat)
        best = std::max(best, window.Table().Player(seat).FScore);
    EXPECT_GE(best, 250);
}

TEST(TableGame, IllegalClicksAreRefusedAndChangeNothing)
{
    TTableHarness table;
    TfrmMain& window = table.Open(99);
    window.Steps().Request(TTableRequest::NewGame);
    TSpadesGame& game = window.Game();
    bool followRefused = false, spadesRefused = false;
    for (int tries = 0; tries < 400 && !(followRefused && spadesRefused); ++tries) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));
        TPlayer& south = game.Table.Player(South);
        // Find a card the rules refuse, if there is one, and click it.
        for (int slot = 1; slot <= 13; ++slot) {
            if (south.FHand[static_cast<size_t>(slot)] == NoCard)
                continue;
            const TPlayVerdict verdict = game.CheckPersonCard(South, slot);
            if (verdict == TPlayVerdict::Legal)
                continue;
            const auto hand = south.FHand;
            const auto places = game.Table.TrickStacks;
            const int turn = game.FTurn;
            const bool broken = game.Table.SpadesBroken;
            const size_t notices = table.Prompts.Notices.size();
            QTest::mouseClick(&table.Card(South, slot), Qt::LeftButton, {}, QPoint(5, 5));
            ASSERT_EQ(table.Prompts.Notices.size(), notices + 1);
            const auto& notice = table.Prompts.Notices.back();
            EXPECT_EQ(notice.Kind, TNoticeKind::Error);
            if (verdict == TPlayVerdict::MustFollowSuit) {
                EXPECT_EQ(notice.Text, "You must follow suit");
                followRefused = true;
            } else {
                EXPECT_EQ(notice.Text, "Spades have not been opened!");
                spadesRefused = true;
            }
            EXPECT_EQ(south.FHand, hand);
            EXPECT_EQ(game.FTurn, turn);
            EXPECT_EQ(game.Table.SpadesBroken, broken);
            for (int place = 1; place <= 4; ++place)
                EXPECT_EQ(game.Table.Place(place).FValue, places[static_cast<size_t>(place)].FValue);
            EXPECT_TRUE(table.Card(South, slot).HasClickHandler()) << "the person may click again";
            break;
        }
        table.PlayLegalCard();
        if (game.HandOver())
            window.Steps().Request(TTableRequest::NewGame);
    }
    EXPECT_TRUE(followRefused);
    EXPECT_TRUE(spadesRefused);
}

TEST(TableGame, CardsAnswerClicksOnlyDuringTheirSeatsTurn)
{
    TTableHarness table({false, false, true, true, false});  // East and South are people
    TfrmMain& window = table.Open(7);
    window.Steps().Request(TTableRequest::NewGame);
    for (int turn = 0; turn < 12; ++turn) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() != 0; }, Timeout));
        const int seat = table.WaitingSeat();
        const int other = seat == South ? East : South;
        for (int slot = 1; slot <= 13; ++slot) {
            EXPECT_FALSE(table.Card(other, slot).HasClickHandler()) << "seat " << other << " slot " << slot;
            EXPECT_FALSE(table.Card(North, slot).HasClickHandler());
        }
        const TPlayStack before = window.Game().Table.Place(1);
        table.PlayLegalCard();
        // The played card lies on the table and answers no clicks.
        for (int place = 1; place <= 4; ++place)
            if (auto* card = window.Game().Table.Place(place).FCard) {
                EXPECT_FALSE(table.Card(card->Name()[9] - '0', std::stoi(card->Name().substr(10))).HasClickHandler());
            }
        (void)before;
        for (int slot = 1; slot <= 13; ++slot)
            EXPECT_FALSE(table.Card(seat, slot).HasClickHandler()) << "after playing, seat " << seat;
    }
}

TEST(TableGame, AllComputerGameRunsToItsWinner)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open(555);
    QSignalSpy over(&window, &TfrmMain::gameOver);
    auto* stop = table.Find<QToolButton>("btnInterrupt");
    window.Steps().Request(TTableRequest::NewGame);
    EXPECT_TRUE(stop->isVisible());
    EXPECT_TRUE(stop->isEnabled());
    EXPECT_EQ(stop->toolTip(), "Click to Stop.");
    ASSERT_TRUE(over.wait(Timeout));
    EXPECT_TRUE(table.Prompts.BidCaptions.isEmpty());
    EXPECT_EQ(table.Prompts.Notices.back().Text, over.at(0).at(0).toString() + " has won the game.");
}

TEST(TableGame, StopButtonHaltsAfterTheTrickInProgress)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open(21, 20);
    window.Steps().Request(TTableRequest::NewGame);
    TSpadesGame& game = window.Game();
    int tricks = -1;
    QObject::connect(&window, &TfrmMain::paused, [&] {
        // In the pause after the second card of the third trick.
        int taken = 0;
        for (int seat = 1; seat <= 4; ++seat)
            taken += game.Table.Player(seat).FTricks;
        if (tricks < 0 && taken == 2 && game.FTurn == 3) {
            tricks = taken;
            QTest::mouseClick(table.Find<QToolButton>("btnInterrupt"), Qt::LeftButton);
        }
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return tricks >= 0; }, Timeout));
    EXPECT_TRUE(game.Table.StopRequested);
    ASSERT_TRUE(QTest::qWaitFor([&] { return game.TrickFull(); }, Timeout)) << "the trick is completed";
    QTest::qWait(200);
    int after = 0;
    for (int seat = 1; seat <= 4; ++seat)
        after += game.Table.Player(seat).FTricks;
    EXPECT_EQ(after, tricks) << "the completed trick is not counted";
    EXPECT_TRUE(table.Find<TLabelEffect>("lblWhoWon")->Caption().isEmpty());
    for (int place = 1; place <= 4; ++place)
        EXPECT_TRUE(game.Table.Place(place).HasCard()) << "the four cards stay on the table";

    // New Game plays again.
    QSignalSpy scored(&window, &TfrmMain::handScored);
    window.Steps().Request(TTableRequest::NewGame);
    EXPECT_FALSE(game.Table.StopRequested);
    ASSERT_TRUE(scored.wait(Timeout));
}

TEST(TableGame, StopButtonHiddenWithAPersonAtTheTable)
{
    TTableHarness table;
    TfrmMain& window = table.Open();
    window.Steps().Request(TTableRequest::NewGame);
    EXPECT_FALSE(table.Find<QToolButton>("btnInterrupt")->isVisible());
}

TEST(TableClose, RefusedDuringATurnSequenceAllowedWhileWaitingForAPerson)
{
    TTableHarness table;
    TfrmMain& window = table.Open(3, 50);
    window.Steps().Request(TTableRequest::NewGame);
    // South bids first and leads: the window waits for South's click.
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));
    table.PlayLegalCard();  // ...then West, North and East play with pauses between
    bool triedInside = false;
    QObject::connect(&window, &TfrmMain::paused, [&] {
        if (triedInside || !window.Table().PlayInProgress)
            return;
        triedInside = true;
        EXPECT_FALSE(window.close()) << "a turn sequence may not be cut short";
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));
    EXPECT_TRUE(triedInside);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.close()) << "waiting for a person, the window closes";
    EXPECT_TRUE(QFile::exists(table.SettingsPath())) << "the preferences are saved";
}

TEST(TableClose, DuringAPauseBetweenTricksItWaitsForTheStepToEnd)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open(8, 5);
    window.Steps().Request(TTableRequest::NewGame);
    QSignalSpy destroyed(&window, &QObject::destroyed);
    bool asked = false;
    QObject::connect(&window, &TfrmMain::paused, [&] {
        if (!asked && !window.Table().PlayInProgress && window.Steps().Busy()) {
            asked = true;
            window.close();  // inside FinishTrick's pause
            EXPECT_TRUE(window.isVisible()) << "not while the step is on the stack";
        }
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return asked && !window.isVisible(); }, Timeout));
}

// ---- The hand cycle's order --------------------------------------------------------------------------

// Records every play and bid order through the game's state as the window drives it.
struct TPlayOrder {
    std::vector<std::vector<int>> tricks;  // seats in order of play
    std::vector<int> leaders;
};

TEST(TableCycle, FirstSeatRotatesAndTheWinnerLeads)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open(17);
    TSpadesGame& game = window.Game();
    std::vector<int> firstSeats;
    std::vector<std::pair<int, int>> winnerThenLeader;
    int lastWinner = 0;
    QObject::connect(&window, &TfrmMain::paused, [&] {
        // The first card of each trick has just been laid.
        if (game.FTurn == 2) {
            const int leader = game.Table.Place(1).FSeat;
            bool firstTrick = true;
            for (int seat = 1; seat <= 4; ++seat)
                firstTrick = firstTrick && game.Table.Player(seat).FCardCount >= 12;
            if (firstTrick)
                firstSeats.push_back(leader);
            else
                winnerThenLeader.push_back({lastWinner, leader});
        }
    });
    QObject::connect(&window, &TfrmMain::paused, [&] {
        auto* label = table.Find<TLabelEffect>("lblWhoWon");
        if (label->Caption().endsWith(" Won"))
            for (int seat = 1; seat <= 4; ++seat)
                if (label->Caption() == table.Find<TLabelEffect>(QString("lblPlayer%1").arg(seat))->Caption() + " Won")
                    lastWinner = seat;
    });
    QSignalSpy scored(&window, &TfrmMain::handScored);
    window.Steps().Request(TTableRequest::NewGame);
    while (scored.count() < 5)
        ASSERT_TRUE(scored.wait(Timeout));
    ASSERT_GE(firstSeats.size(), 5u);
    EXPECT_THAT(std::vector<int>(firstSeats.begin(), firstSeats.begin() + 5),
                ElementsAre(South, West, North, East, South));
    ASSERT_FALSE(winnerThenLeader.empty());
    for (const auto& [winner, leader] : winnerThenLeader)
        EXPECT_EQ(leader, winner);
}

TEST(TableCycle, PausesAfterEachCardButNotAfterTheFourth)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open(31);
    TSpadesGame& game = window.Game();
    std::vector<int> turnsAtPause;
    QObject::connect(&window, &TfrmMain::paused, [&] { turnsAtPause.push_back(game.FTurn); });
    QSignalSpy scored(&window, &TfrmMain::handScored);
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(scored.wait(Timeout));
    // Per trick: after cards 1, 2 and 3 (FTurn 2, 3, 4), then the winner's label and the
    // cleared table (FTurn 5 twice); the last trick has no pause before scoring.
    std::vector<int> expected;
    for (int trick = 1; trick <= 13; ++trick) {
        expected.insert(expected.end(), {2, 3, 4, 5});
        if (trick < 13)
            expected.push_back(5);
    }
    EXPECT_EQ(std::vector<int>(turnsAtPause.begin(), turnsAtPause.begin() + static_cast<long>(expected.size())),
              expected);
}

TEST(TableCycle, APersonPlayingTheFourthCardGetsOnePauseBeforeTheWinner)
{
    TTableHarness table({false, false, true, false, false});  // East plays fourth in the first trick
    TfrmMain& window = table.Open(5);
    TSpadesGame& game = window.Game();
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == East && game.FTurn == 4; }, Timeout));
    int pausesBeforeWinner = 0;
    bool winnerShown = false;
    QObject::connect(&window, &TfrmMain::paused, [&] {
        if (table.Find<TLabelEffect>("lblWhoWon")->Caption().endsWith(" Won"))
            winnerShown = true;
        else if (!winnerShown)
            ++pausesBeforeWinner;
    });
    table.PlayLegalCard();
    ASSERT_TRUE(QTest::qWaitFor([&] { return winnerShown; }, Timeout));
    EXPECT_EQ(pausesBeforeWinner, 1);
}

TEST(TableCycle, BidsTableShowsEveryBidAndTheTricks)
{
    TTableHarness table;
    table.Prompts.Bids = {0};  // South bids Nil
    TfrmMain& window = table.Open(44);
    auto* bids = table.Find<TExtListView>("lvwBids");
    std::vector<QString> southBidSeen;
    table.Prompts.OnBid = [&] {
        // South bids first: no other bid is in the table yet.
        for (int row = 0; row < 4; ++row)
            southBidSeen.push_back(bids->Cell(row, 1));
    };
    window.Steps().Request(TTableRequest::NewGame);
    EXPECT_THAT(southBidSeen, ElementsAre("", "", "", ""));
    ASSERT_EQ(bids->RowCount(), 4);
    EXPECT_EQ(bids->Cell(2, 0), "South");
    EXPECT_EQ(bids->Cell(2, 1), "NIL");
    EXPECT_TRUE(window.Table().NilInPlay);
    for (int row = 0; row < 4; ++row) {
        const TPlayer& player = window.Table().Player(row + 1);
        if (row != 2) {
            EXPECT_EQ(bids->Cell(row, 1), QString::number(player.FBid));
        }
        EXPECT_EQ(bids->Cell(row, 2), "0");
        EXPECT_EQ(bids->Cell(row, 3), "0");
    }
    QSignalSpy scored(&window, &TfrmMain::handScored);
    while (scored.isEmpty()) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !scored.isEmpty() || table.WaitingSeat(); }, Timeout));
        if (scored.isEmpty())
            table.PlayLegalCard();
        for (int row = 0; row < 4; ++row) {
            const TPlayer& player = window.Table().Player(row + 1);
            EXPECT_EQ(bids->Cell(row, 2), QString::number(player.FTricks));
            EXPECT_EQ(bids->Cell(row, 3), QString::number(player.FBags));
        }
    }
    const TPlayer& south = window.Table().Player(South);
    EXPECT_EQ(south.FBags, 0) << "a nil bidder shows no bags";
}

TEST(TableCycle, PilesShowBesideSeatsThatTookATrick)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open(64);
    QSignalSpy scored(&window, &TfrmMain::handScored);
    bool checked = false;
    table.Prompts.OnScores = [&] {
        for (int seat = 1; seat <= 4; ++seat) {
            auto* pile = table.Find<TCardDeck>(QString("crdStack%1").arg(seat));
            EXPECT_EQ(pile->Visible(), window.Table().Player(seat).FTricks > 0) << seat;
            EXPECT_EQ(pile->Value(), window.Table().CardBack);
        }
        checked = true;
    };
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(scored.wait(Timeout));
    EXPECT_TRUE(checked);
}

// ---- The play log ------------------------------------------------------------------------------------

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(TableLog, SwitchedOnInMidHandWritesFromTheNextHand)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open(2, 2);
    QSignalSpy scored(&window, &TfrmMain::handScored);
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Table().Player(North).FCardCount < 10; }, Timeout));
    window.mniOptLogClick();
    ASSERT_TRUE(scored.wait(Timeout));
    EXPECT_FALSE(QFile::exists(table.ProgramFolder() + "Spades.Log")) << "nothing of the first hand";
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Table().Player(North).FCardCount == 13 ||
                                             QFile::exists(table.ProgramFolder() + "Spades.Log"); },
                                Timeout));
    ASSERT_TRUE(scored.wait(Timeout));
    const QByteArray written = ReadFile(table.ProgramFolder() + "Spades.Log");
    EXPECT_TRUE(written.startsWith("Player 1:  North - Computer\r\n"));
    EXPECT_EQ(written.count("Play: "), 13);
}

TEST(TableLog, UnwritableFoldersGiveOneNoticeAndPlayGoesOn)
{
    TTableHarness table(AllComputer);
    // Files where both folders should be.
    QFile(table.Program.path() + "/blocked").open(QIODevice::WriteOnly);
    TTableEnvironment environment;
    environment.ProgramDir = table.Program.path() + "/blocked/";
    environment.LogFallbackDir = table.Program.path() + "/blocked/data";
    environment.Prompts = &table.Prompts;
    environment.MusicPlayer = &table.Music;
    environment.PreviewPlayer = &table.Preview;
    environment.CheckScreenWidth = false;
    TfrmMain window(environment);
    window.show();
    window.GameSleeper().SetInterval(1);
    window.mniOptLogClick();
    QSignalSpy scored(&window, &TfrmMain::handScored);
    window.Steps().Request(TTableRequest::NewGame);
    while (scored.count() < 2)
        ASSERT_TRUE(scored.wait(Timeout));
    int logNotices = 0;
    for (const auto& notice : table.Prompts.Notices)
        logNotices += notice.Text.contains("Play goes on without a log");
    EXPECT_EQ(logNotices, 1);
}

// ---- Preferences at start-up ------------------------------------------------------------------------

TEST(TableStart, DamagedPreferencesAreKeptAsideAndDefaultsUsed)
{
    TTableHarness table;
    table.WriteSettings("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Tarnwell\n");
    TfrmMain& window = table.Open();
    ASSERT_FALSE(table.Prompts.Notices.empty());
    const QString text = table.Prompts.Notices.front().Text;
    EXPECT_THAT(text.toStdString(), HasSubstr("Spades.reg.damaged"));
    EXPECT_THAT(text.toStdString(), HasSubstr("line 3"));
    EXPECT_EQ(table.Prompts.Notices.size(), 1u);
    EXPECT_TRUE(QFile::exists(table.SettingsPath() + ".damaged"));
    EXPECT_EQ(window.GameDefaults()->GetPlayer(South).PlayerType, HumanPlayer);
    EXPECT_EQ(window.GameDefaults()->Delay(), 1000);
    window.close();
    EXPECT_TRUE(ReadFile(table.SettingsPath()).startsWith("Windows Registry Editor Version 5.00"));
    EXPECT_TRUE(ReadFile(table.SettingsPath() + ".damaged").contains("[HKEY_CURRENT_USER\\Software\\Tarnwell\n"));
}

TEST(TableStart, WrongTypedValueIsReportedAndDefaultsUsed)
{
    TTableHarness table(AllComputer, "\"WinScore\"=\"lots\"\n");
    TfrmMain& window = table.Open();
    ASSERT_EQ(table.Prompts.Notices.size(), 1u);
    EXPECT_THAT(table.Prompts.Notices.front().Text.toStdString(), HasSubstr("Invalid data type for 'WinScore'"));
    EXPECT_EQ(window.GameDefaults()->WinScore(), 250);
}

TEST(TableStart, ShowsTheTableAndItsPrompt)
{
    TTableHarness table;
    TfrmMain& window = table.Open();
    EXPECT_EQ(window.windowTitle(), "Quelbrin Spades");
    EXPECT_EQ(window.centralWidget()->size(), QSize(769, 461));
    EXPECT_EQ(table.Find<TLabelEffect>("LabelEffect1")->Caption(), "Press the F2 key to start a game");
    EXPECT_EQ(table.Find<TLabelEffect>("lblPlayer1")->geometry(), QRect(352, 6, 169, 33));
    EXPECT_EQ(table.Find<TLabelEffect>("lblPlayer2")->geometry(), QRect(609, 142, 97, 33));
    EXPECT_EQ(table.Find<TLabelEffect>("lblPlayer3")->geometry(), QRect(352, 318, 137, 33));
    EXPECT_EQ(table.Find<TLabelEffect>("lblPlayer4")->geometry(), QRect(88, 142, 97, 33));
    EXPECT_EQ(table.Find<QToolButton>("btnInterrupt")->geometry(), QRect(716, 408, 50, 50));
    EXPECT_FALSE(table.Find<QToolButton>("btnInterrupt")->icon().isNull());
    EXPECT_EQ(table.Find<TCardDeck>("crdStack3")->geometry(), QRect(214, 391, 43, 58));
    for (int seat = 1; seat <= 4; ++seat)
        for (int slot = 1; slot <= 13; ++slot)
            EXPECT_FALSE(table.Card(seat, slot).Visible());
    EXPECT_EQ(window.Table().Player(South).FHandRect, (TCardRect{352, 362, 71, 96}));
    EXPECT_EQ(window.Table().Player(East).FHandRect, (TCardRect{609, 186, 71, 96}));
    EXPECT_EQ(window.Table().Place(4).FBounds, (TCardRect{434, 184, 71, 96}));
    EXPECT_EQ(window.GameSleeper().Interval(), 1);
    QStringList menus;
    for (QAction* action : window.menuBar()->actions())
        menus << action->text();
    EXPECT_THAT(menus, ElementsAre("&Game", "&Options", "&Help"));
    auto* log = table.Find<QAction>("mniOptLog");
    EXPECT_FALSE(log->isVisible());
    EXPECT_FALSE(log->isChecked());
    EXPECT_EQ(table.Find<QAction>("mniGameNew")->shortcut(), QKeySequence(Qt::Key_F2));
}

TEST(TableStart, F2StartsAGame)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open();
    QTest::keyClick(&window, Qt::Key_F2);
    EXPECT_TRUE(table.Find<TLabelEffect>("LabelEffect1")->Caption().isEmpty());
    EXPECT_TRUE(table.Card(North, 1).Visible());
}

// ---- Preferences during a hand --------------------------------------------------------------------

TEST(TablePrefs, RenamedSeatShowsAtOnceButTheBidsTableWaits)
{
    TTableHarness table;
    TfrmMain& window = table.Open(9, 30);
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));
    window.GameDefaults()->SetPlayerName(North, "Zoë");
    window.ApplyPreferences();
    EXPECT_EQ(table.Find<TLabelEffect>("lblPlayer1")->Caption(), "Zoë");
    auto* bids = table.Find<TExtListView>("lvwBids");
    EXPECT_EQ(bids->Cell(0, 0), "North");
    const QString before = bids->Cell(0, 2);
    table.PlayLegalCard();
    QSignalSpy scored(&window, &TfrmMain::handScored);
    while (scored.isEmpty()) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !scored.isEmpty() || table.WaitingSeat(); }, Timeout));
        if (scored.isEmpty())
            table.PlayLegalCard();
    }
    EXPECT_EQ(bids->Cell(0, 2), before) << "Zoë's row is not found under the old name";
    ASSERT_TRUE(QTest::qWaitFor([&] { return bids->Cell(0, 0) == "Zoë"; }, Timeout)) << "the next hand";
}

TEST(TablePrefs, SeatMadeHumanInMidHandWaitsWithItsCardsFaceDown)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open(10, 20);
    window.Steps().Request(TTableRequest::NewGame);
    window.GameDefaults()->SetPlayerType(East, HumanPlayer);
    window.ApplyPreferences();
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == East; }, Timeout));
    for (int slot = 1; slot <= 13; ++slot)
        if (window.Table().Player(East).FHand[static_cast<size_t>(slot)] != NoCard) {
            EXPECT_EQ(table.Card(East, slot).Value(), window.Table().CardBack);
        }
    table.PlayLegalCard();
    const TPlayStack* laid = nullptr;
    for (int place = 1; place <= 4; ++place)
        if (window.Table().Place(place).FSeat == East)
            laid = &window.Table().Place(place);
    ASSERT_NE(laid, nullptr);
    EXPECT_GE(laid->FValue, 1);
    EXPECT_LE(laid->FValue, 52) << "the real card, not its back";
}

TEST(TablePrefs, NewCardBackReplacesFaceDownCardsOnly)
{
    TTableHarness table;
    TfrmMain& window = table.Open(11, 20);
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));
    window.GameDefaults()->SetCardBack(5);
    window.ApplyPreferences();
    EXPECT_EQ(window.Table().CardBack, 58);
    EXPECT_EQ(table.Card(North, 1).Value(), 58);
    EXPECT_EQ(table.Card(South, 1).Value(), window.Table().Player(South).FHand[1]) << "faces stay";
    EXPECT_EQ(table.Find<TCardDeck>("crdStack2")->Value(), 58);
}

TEST(TablePrefs, SameNamesUpdateOnlyTheFirstRow)
{
    TTableHarness table(AllComputer);
    table.WriteSettings("Windows Registry Editor Version 5.00\n\n"
                        "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Options]\n\"Speed\"=\"Bullet\"\n"
                        "\"MusicOn\"=dword:00000000\n\n" +
                        SeatLines(1, "Pat", false) + SeatLines(2, "Pat", false) + SeatLines(3, "Lee", false) +
                        SeatLines(4, "Kim", false));
    TfrmMain& window = table.Open(12);
    auto* bids = table.Find<TExtListView>("lvwBids");
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_EQ(bids->RowCount(), 4);
    EXPECT_EQ(bids->Cell(0, 0), "Pat");
    EXPECT_EQ(bids->Cell(1, 0), "Pat");
    EXPECT_EQ(bids->Cell(1, 1), "") << "every update goes to the first row";
}

// ---- Re-entrancy --------------------------------------------------------------------------------

TEST(TableSafety, NewGameDuringTheScoreCardWaitsAndStartsAFreshGame)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open(13);
    bool asked = false;
    table.Prompts.OnScores = [&] {
        if (asked)
            return;
        asked = true;
        window.Table().Player(North).FScore += 1000;  // marks the old game
        window.Steps().Request(TTableRequest::NewGame);
        QCoreApplication::processEvents();
        EXPECT_NE(window.Table().Player(North).FScore, 0) << "not inside the dialog";
    };
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return asked && window.Table().Player(North).FScore < 1000; }, Timeout));
    EXPECT_EQ(window.Table().Player(North).FTotalBags, 0);
}

TEST(TableSafety, NewGameDuringABidStopsTheOldHand)
{
    TTableHarness table;
    TfrmMain& window = table.Open(14);
    int bids = 0;
    table.Prompts.OnBid = [&] {
        if (++bids == 1) {
            window.Steps().Request(TTableRequest::NewGame);
            QCoreApplication::processEvents();
        }
    };
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bids == 2 && table.WaitingSeat() == South; }, Timeout));
    for (int seat = 1; seat <= 4; ++seat)
        EXPECT_EQ(window.Table().Player(seat).FCardCount, 13);
}

}  // namespace
