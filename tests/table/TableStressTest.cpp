// New Game, preference changes and close requests fired at random moments of
// computer games: nothing may crash or leak, and every hand that is scored must
// be whole.
#include <gmock/gmock.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>
#include <random>

#include "OptDialog.h"
#include "TableHarness.h"

using namespace spades;
using namespace spades::testing;

namespace {

void CheckScoredHand(TfrmMain& window)
{
    const TTableState& table = window.Table();
    int tricks = 0;
    for (int seat = 1; seat <= 4; ++seat) {
        tricks += table.Player(seat).FTricks;
        EXPECT_EQ(table.Player(seat).FCardCount, 0) << "seat " << seat;
        EXPECT_GE(table.Player(seat).FBags, 0);
    }
    EXPECT_EQ(tricks, 13);
    for (int card = 1; card <= 52; ++card)
        EXPECT_TRUE(table.CardsPlayed[static_cast<size_t>(card)]) << card;
}

TEST(TableStress, RandomRequestsDuringComputerGames)
{
    TTableHarness table(AllComputer);
    std::mt19937 random(20261208);
    int windows = 0, hands = 0, newGames = 0, preferences = 0, closes = 0;

    table.Prompts.OnDialog = [&](QDialog& dialog) {
        auto& options = static_cast<TdlgOptions&>(dialog);
        options.cbxSpeed()->setCurrentIndex(static_cast<int>(random() % 4));
        options.ScoreButton(static_cast<int>(random() % 2))->setChecked(true);
        options.pgeOptions()->setCurrentIndex(static_cast<int>(random() % 5));
        return random() % 2 ? QDialog::Accepted : QDialog::Rejected;
    };

    QElapsedTimer clock;
    clock.start();
    const qint64 budget = qEnvironmentVariableIsSet("ASAN_OPTIONS") ? 30000 : 15000;
    while (clock.elapsed() < budget) {
        TfrmMain& window = table.Open(static_cast<uint32_t>(random()), 1);
        ++windows;
        int windowHands = 0;
        QObject::connect(&window, &TfrmMain::handScored, [&] {
            ++hands;
            ++windowHands;
            CheckScoredHand(window);
        });
        // After a burst of requests the table is left alone to finish a hand, so
        // that hands played on after the chaos are checked whatever the machine's speed.
        int burst = 1 + static_cast<int>(random() % 24);
        QTimer chaos;
        chaos.setSingleShot(true);
        QObject::connect(&chaos, &QTimer::timeout, [&] {
            const unsigned roll = random() % 100;
            if (roll < 45) {
                ++newGames;
                window.Steps().Request(TTableRequest::NewGame);
            } else if (roll < 85) {
                ++preferences;
                window.Steps().Request(TTableRequest::Preferences);
            } else {
                ++closes;
                window.close();
            }
            window.GameSleeper().SetInterval(1);
            if (window.isVisible() && --burst > 0)
                chaos.start(static_cast<int>(random() % 150));
        });
        window.Steps().Request(TTableRequest::NewGame);
        chaos.start(5);
        // Until a close gets through (it waits for the running step to end), or
        // the calm table has scored a hand.
        const bool closed =
            QTest::qWaitFor([&] { return !window.isVisible() || (burst <= 0 && windowHands > 0); }, 60000) &&
            !window.isVisible();
        chaos.stop();
        if (!closed) {
            window.close();
            ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 10000));
        }
        table.Window.reset();
        if (::testing::Test::HasFailure())
            break;
    }
    EXPECT_GT(windows, 1);
    EXPECT_GT(hands, 0);
    EXPECT_GT(newGames, 0);
    EXPECT_GT(preferences, 0);
    EXPECT_GT(closes, 0);
    std::printf("windows %d, hands scored %d, new games %d, preference changes %d, close requests %d\n", windows,
                hands, newGames, preferences, closes);
}

}  // namespace
