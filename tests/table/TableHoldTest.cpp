// Preferences chosen during a game open at once, wherever the game stands, and the
// game holds still beneath them: no card played, no trick resolved, no hand dealt.
#include <gmock/gmock.h>

#include <QAction>
#include <QSignalSpy>
#include <QTimer>

#include "LblEffct.h"
#include "TableHarness.h"

using namespace spades;
using namespace spades::testing;

namespace {

enum class TMoment { PlayPause, WinnerLabel, AfterTrick };

struct THoldCase {
    const char* Name;
    int Pause;  // ms
    TMoment Moment;
    bool Accept;
};

// Everything that moves when the game goes on.
std::vector<int> Snapshot(TfrmMain& window)
{
    const TTableState& table = window.Table();
    std::vector<int> state;
    for (int card = 1; card <= 52; ++card)
        state.push_back(table.CardsPlayed[static_cast<size_t>(card)]);
    for (int place = 1; place <= 4; ++place)
        state.push_back(table.Place(place).FValue);
    for (int seat = 1; seat <= 4; ++seat) {
        state.push_back(table.Player(seat).FTricks);
        state.push_back(table.Player(seat).FCardCount);
        state.push_back(table.Player(seat).FScore);
    }
    return state;
}

bool AtMoment(TfrmMain& window, TMoment moment)
{
    const bool winnerShown = !window.findChild<TLabelEffect*>("lblWhoWon")->Caption().isEmpty();
    const bool trickOnTable = window.Table().Place(1).HasCard();
    switch (moment) {
    case TMoment::PlayPause:
        return !winnerShown && trickOnTable;
    case TMoment::WinnerLabel:
        return winnerShown && trickOnTable;
    case TMoment::AfterTrick:
        return winnerShown && !trickOnTable;
    }
    return false;
}

class TableHold : public ::testing::TestWithParam<THoldCase> {};

TEST_P(TableHold, PreferencesOpenWithinThePauseAndNothingMovesBeneath)
{
    const THoldCase& param = GetParam();
    TTableHarness table(AllComputer, "\"Speed\"=\"Slow\"\n\"MusicOn\"=dword:00000000\n");
    TfrmMain& window = table.Open(4242, param.Pause);
    QAction* prefs = window.findChild<QAction*>("mniPrefs");
    ASSERT_NE(prefs, nullptr);

    bool chosen = false, opened = false;
    std::vector<int> whenChosen, whenOpened;
    QObject::connect(&window, &TfrmMain::paused, &window, [&] {
        if (chosen || !AtMoment(window, param.Moment))
            return;
        chosen = true;
        // The user picks the menu item part way through the pause.
        QTimer::singleShot(param.Pause / 3, &window, [&] {
            whenChosen = Snapshot(window);
            prefs->trigger();
        });
    });
    table.Prompts.OnDialog = [&](QDialog& dialog) {
        opened = true;
        whenOpened = Snapshot(window);
        dialog.show();
        // Open for longer than two whole pauses: the game must not move.
        QTest::qWait(2 * param.Pause + 300);
        EXPECT_EQ(Snapshot(window), whenOpened) << "the game went on beneath the dialog";
        if (param.Accept)
            dialog.accept();
        else
            dialog.reject();
        return dialog.result();
    };

    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return chosen; }, 60000)) << "the moment never came";
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened; }, param.Pause)) << "not open within one pause";
    EXPECT_EQ(whenOpened, whenChosen) << "a card moved before the dialog opened";
    // Once it closes, play goes on.
    EXPECT_TRUE(QTest::qWaitFor([&] { return Snapshot(window) != whenOpened; }, 4 * param.Pause + 2000));
    window.Steps().Request(TTableRequest::NewGame);
}

INSTANTIATE_TEST_SUITE_P(
    Moments, TableHold,
    ::testing::Values(THoldCase{"SlowComputerPlay", 1500, TMoment::PlayPause, false},
                      THoldCase{"BulletComputerPlay", 100, TMoment::PlayPause, true},
                      THoldCase{"WinnerLabel", 200, TMoment::WinnerLabel, false},
                      THoldCase{"AfterTheTrick", 200, TMoment::AfterTrick, true}),
    [](const ::testing::TestParamInfo<THoldCase>& info) { return std::string(info.param.Name); });

// A finished trick's step that is already queued when the dialog opens waits for it.
TEST(TableHoldQueue, AQueuedTrickWaitsForTheDialog)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open(99, 1);
    bool opened = false;
    std::vector<int> whenOpened;
    table.Prompts.OnDialog = [&](QDialog&) {
        opened = true;
        whenOpened = Snapshot(window);
        QTest::qWait(200);
        EXPECT_EQ(Snapshot(window), whenOpened);
        return int(QDialog::Rejected);
    };
    window.Steps().Request(TTableRequest::NewGame);
    // The first trick is full and its step is on the queue.
    ASSERT_TRUE(window.Game().TrickFull());
    window.Steps().Request(TTableRequest::Preferences);
    ASSERT_TRUE(opened);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Snapshot(window) != whenOpened; }, 5000));
}

}  // namespace
