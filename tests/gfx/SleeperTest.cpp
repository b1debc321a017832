#include "CardDeck.h"
#include "GfxTestSupport.h"
#include "Sleeper.h"

#include <gmock/gmock.h>

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <ctime>
#include <string>
#include <vector>

namespace spades {
namespace {

using test::ShowAndExpose;
using test::TPaintCounter;

qint64 TimedWait(TSleeper& sleeper)
{
    QElapsedTimer clock;
    clock.start();
    sleeper.Wait();
    return clock.elapsed();
}

TEST(SleeperInterval, NewSleeperWaitsASecondAndIsIdle)
{
    TSleeper sleeper;
    EXPECT_EQ(sleeper.Interval(), 1000);
    EXPECT_EQ(sleeper.GetInterval(), 1000);
    EXPECT_FALSE(sleeper.Waiting());
}

TEST(SleeperInterval, IntervalIsTheTimersOwn)
{
    TSleeper sleeper;
    for (int interval : {100, 500, 1000, 1500, 0}) {
        sleeper.SetInterval(interval);
        EXPECT_EQ(sleeper.Interval(), interval);
    }
}

class SleeperWaitLength : public ::testing::TestWithParam<int> {};

TEST_P(SleeperWaitLength, ReturnsAfterOneTickAndStopsItsTimer)
{
    TSleeper sleeper;
    sleeper.SetInterval(GetParam());
    const qint64 elapsed = TimedWait(sleeper);
    EXPECT_GE(elapsed, GetParam() - 5);
    EXPECT_LT(elapsed, GetParam() + 400);
    EXPECT_FALSE(sleeper.Waiting());
}

INSTANTIATE_TEST_SUITE_P(PlaySpeeds, SleeperWaitLength, ::testing::Values(100, 250));

class SleeperNoLength : public ::testing::TestWithParam<int> {};

TEST_P(SleeperNoLength, HandlesPendingEventsAndReturnsAtOnce)
{
    TSleeper sleeper;
    sleeper.SetInterval(GetParam());
    bool handled = false;
    QTimer::singleShot(0, &sleeper, [&] { handled = true; });
    EXPECT_LT(TimedWait(sleeper), 100);
    EXPECT_TRUE(handled);
    EXPECT_FALSE(sleeper.Waiting());
}

INSTANTIATE_TEST_SUITE_P(Intervals, SleeperNoLength, ::testing::Values(0, -1, -1000));

TEST(SleeperEvents, TimersRepaintsAndClicksRunDuringAWait)
{
    QWidget table;
    table.resize(200, 200);
    auto* card = new TCardDeck(&table);
    card->SetVisible(true);
    ASSERT_TRUE(ShowAndExpose(table));
    TPaintCounter paints(*card);
    int clicks = 0;
    card->SetClickHandler([&](TCardDeck&) { ++clicks; });
    bool timerRan = false;
    TSleeper sleeper;
    sleeper.SetInterval(400);
    QTimer::singleShot(50, &sleeper, [&] { timerRan = true; });
    QTimer::singleShot(100, &sleeper, [&] { card->update(); });
    QTimer::singleShot(150, &sleeper, [&] { QTest::mouseClick(card, Qt::LeftButton); });
    sleeper.Wait();
    EXPECT_TRUE(timerRan);
    EXPECT_GE(paints.Count, 1);
    EXPECT_EQ(clicks, 1);
}

TEST(SleeperEvents, WaitCostsAlmostNoProcessorTime)
{
    TSleeper sleeper;
    sleeper.SetInterval(500);
    const std::clock_t before = std::clock();
    const qint64 elapsed = TimedWait(sleeper);
    const double cpuMs = 1000.0 * static_cast<double>(std::clock() - before) / CLOCKS_PER_SEC;
    EXPECT_GE(elapsed, 495);
    EXPECT_LT(cpuMs, 50.0) << "a 500 ms wait used " << cpuMs << " ms of processor time";
}

TEST(SleeperNesting, InnerWaitSharesTheTickAndEndsFirst)
{
    TSleeper sleeper;
    sleeper.SetInterval(300);
    std::vector<std::string> order;
    qint64 innerEnd = 0;
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(250, &sleeper, [&] {
        sleeper.Wait();
        innerEnd = clock.elapsed();
        order.push_back("inner");
    });
    sleeper.Wait();
    const qint64 outerEnd = clock.elapsed();
    order.push_back("outer");
    EXPECT_THAT(order, ::testing::ElementsAre("inner", "outer"));
    // The inner wait ends at the outer wait's tick (300 ms), not a whole interval
    // after it began (550 ms); the gap leaves room for a loaded machine.
    EXPECT_GE(innerEnd, 295);
    EXPECT_LT(innerEnd, 500);
    EXPECT_LT(outerEnd - innerEnd, 50);
    EXPECT_FALSE(sleeper.Waiting());
}

TEST(SleeperNesting, WaitBegunAfterTheTickWaitsForTheNextOne)
{
    TSleeper sleeper;
    sleeper.SetInterval(150);
    sleeper.Wait();
    const qint64 second = TimedWait(sleeper);
    EXPECT_GE(second, 145);
}

TEST(SleeperLifetime, SleeperFreedDuringItsWaitEndsTheWait)
{
    QPointer<TSleeper> sleeper = new TSleeper;
    sleeper->SetInterval(5000);
    QTimer::singleShot(50, [&] { delete sleeper.data(); });
    QElapsedTimer clock;
    clock.start();
    sleeper->Wait();
    EXPECT_TRUE(sleeper.isNull());
    EXPECT_LT(clock.elapsed(), 2000);
}

TEST(SleeperLifetime, OwnerFreesTheSleeper)
{
    auto* owner = new QObject;
    QPointer<TSleeper> sleeper = new TSleeper(owner);
    delete owner;
    EXPECT_TRUE(sleeper.isNull());
}

}  // namespace
}  // namespace spades
