// A game halted by the stop button looks halted once its last trick is complete.
#include <gmock/gmock.h>

#include <QSignalSpy>
#include <QToolButton>

#include "LblEffct.h"
#include "TableHarness.h"

using namespace spades;
using namespace spades::testing;

namespace {

struct TStopCase {
    const char* Name;
    int Trick;  // tricks already taken when the button is pressed
    int Turn;   // the card of the trick to come next
};

class TableStop : public ::testing::TestWithParam<TStopCase> {};

TEST_P(TableStop, ButtonHidesAndThePromptReturns)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open(33, 10);
    auto* stop = table.Find<QToolButton>("btnInterrupt");
    auto* prompt = table.Find<TLabelEffect>("LabelEffect1");
    TSpadesGame& game = window.Game();
    bool pressed = false;
    QObject::connect(&window, &TfrmMain::paused, [&] {
        int taken = 0;
        for (int seat = 1; seat <= 4; ++seat)
            taken += game.Table.Player(seat).FTricks;
        if (!pressed && taken == GetParam().Trick && game.FTurn == GetParam().Turn) {
            pressed = true;
            QTest::mouseClick(stop, Qt::LeftButton);
            EXPECT_TRUE(stop->isVisible()) << "the trick in progress still runs";
            EXPECT_TRUE(prompt->Caption().isEmpty());
        }
    });
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pressed; }, 20000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !stop->isVisible(); }, 20000)) << "the button stays after the halt";
    EXPECT_TRUE(game.TrickFull());
    EXPECT_EQ(prompt->Caption(), "Press the F2 key to start a game");

    // F2 plays again, with the button back and the prompt gone.
    QSignalSpy scored(&window, &TfrmMain::handScored);
    window.Steps().Request(TTableRequest::NewGame);
    EXPECT_TRUE(stop->isVisible());
    EXPECT_TRUE(prompt->Caption().isEmpty());
    EXPECT_TRUE(scored.wait(20000));
}

INSTANTIATE_TEST_SUITE_P(Moments, TableStop,
                         ::testing::Values(TStopCase{"FirstTrickSecondCard", 0, 2},
                                           TStopCase{"FifthTrickFourthCard", 4, 4},
                                           TStopCase{"LastTrickThirdCard", 12, 3}),
                         [](const ::testing::TestParamInfo<TStopCase>& info) { return std::string(info.param.Name); });

}  // namespace
