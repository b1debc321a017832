#include <gmock/gmock.h>

#include <QCoreApplication>
#include <QTest>

#include "TableSteps.h"

using namespace spades;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class TableSteps : public ::testing::Test {
protected:
    TTableSteps steps;
    std::vector<TTableRequest> performed;

    void SetUp() override
    {
        steps.Perform = [this](TTableRequest request) { performed.push_back(request); };
    }
};

TEST_F(TableSteps, AtTheTopLevelARequestRunsAtOnce)
{
    steps.Request(TTableRequest::NewGame);
    EXPECT_THAT(performed, ElementsAre(TTableRequest::NewGame));
}

TEST_F(TableSteps, InsideAStepItWaitsForTheTopLevel)
{
    {
        TTableSteps::TScope step(steps);
        steps.Request(TTableRequest::NewGame);
        EXPECT_TRUE(step.Superseded()) << "the running hand stops at its next resume point";
        QCoreApplication::processEvents();  // a pause inside the step
        EXPECT_THAT(performed, IsEmpty());
    }
    EXPECT_THAT(performed, IsEmpty()) << "not from inside the unwinding step either";
    QCoreApplication::processEvents();
    EXPECT_THAT(performed, ElementsAre(TTableRequest::NewGame));
}

TEST_F(TableSteps, NestedStepsWaitForTheOutermost)
{
    {
        TTableSteps::TScope outer(steps);
        {
            TTableSteps::TScope inner(steps);
            steps.Request(TTableRequest::Close);
        }
        QCoreApplication::processEvents();
        EXPECT_THAT(performed, IsEmpty());
        EXPECT_TRUE(outer.Superseded());
    }
    QCoreApplication::processEvents();
    EXPECT_THAT(performed, ElementsAre(TTableRequest::Close));
}

TEST_F(TableSteps, PreferencesOpenAtOnceInsideAStepAndDoNotStopTheGame)
{
    TTableSteps::TScope step(steps);
    steps.Request(TTableRequest::Preferences);
    EXPECT_THAT(performed, ElementsAre(TTableRequest::Preferences));
    EXPECT_FALSE(step.Superseded());
    EXPECT_FALSE(steps.Held()) << "the hold ends with the dialog";
}

TEST_F(TableSteps, PreferencesAskedForWhileOpenAreNotOpenedTwice)
{
    std::vector<bool> heldWhenPerformed;
    steps.Perform = [&](TTableRequest request) {
        performed.push_back(request);
        heldWhenPerformed.push_back(steps.Held());
        steps.Request(TTableRequest::Preferences);
    };
    const unsigned holds = steps.Holds();
    steps.Request(TTableRequest::Preferences);
    EXPECT_THAT(performed, ElementsAre(TTableRequest::Preferences));
    EXPECT_THAT(heldWhenPerformed, ElementsAre(true));
    EXPECT_EQ(steps.Holds(), holds + 1);
}

// New Game and Close chosen while the preferences hold the game wait for the hold to end.
TEST_F(TableSteps, RequestsDuringAHoldWaitForItsEnd)
{
    int released = 0;
    steps.Released = [&] { ++released; };
    steps.Perform = [&](TTableRequest request) {
        performed.push_back(request);
        if (request == TTableRequest::Preferences) {
            steps.Request(TTableRequest::NewGame);
            QCoreApplication::processEvents();
            EXPECT_THAT(performed, ElementsAre(TTableRequest::Preferences));
        }
    };
    const unsigned serial = steps.Serial();
    steps.Request(TTableRequest::Preferences);
    EXPECT_EQ(released, 1);
    EXPECT_NE(steps.Serial(), serial) << "whatever the held game had parked is void";
    QCoreApplication::processEvents();
    EXPECT_THAT(performed, ElementsAre(TTableRequest::Preferences, TTableRequest::NewGame));
}

TEST_F(TableSteps, CloseMakesTheOthersMoot)
{
    {
        TTableSteps::TScope step(steps);
        steps.Request(TTableRequest::Preferences);
        steps.Request(TTableRequest::Close);
        steps.Request(TTableRequest::NewGame);
    }
    QCoreApplication::processEvents();
    EXPECT_THAT(performed, ElementsAre(TTableRequest::Preferences, TTableRequest::Close));
}

TEST_F(TableSteps, RequestsKeepTheirOrder)
{
    {
        TTableSteps::TScope step(steps);
        steps.Request(TTableRequest::Preferences);
        steps.Request(TTableRequest::NewGame);
    }
    QCoreApplication::processEvents();
    EXPECT_THAT(performed, ElementsAre(TTableRequest::Preferences, TTableRequest::NewGame));
}

TEST_F(TableSteps, AStepBegunByARequestDefersTheRest)
{
    std::vector<bool> busyWhenPerformed;
    steps.Perform = [&](TTableRequest request) {
        busyWhenPerformed.push_back(steps.Busy());
        performed.push_back(request);
        if (request == TTableRequest::NewGame) {
            TTableSteps::TScope hand(steps);  // the new hand's bidding runs a dialog...
            steps.Request(TTableRequest::Preferences);  // ...and the user asks for preferences
            QCoreApplication::processEvents();
        }
    };
    {
        TTableSteps::TScope step(steps);
        steps.Request(TTableRequest::NewGame);
    }
    QTest::qWait(10);
    EXPECT_THAT(performed, ElementsAre(TTableRequest::NewGame, TTableRequest::Preferences));
    EXPECT_THAT(busyWhenPerformed, ElementsAre(false, true)) << "the preferences open inside the new hand";
}

TEST_F(TableSteps, SerialMovesOnWithEveryNewHand)
{
    const unsigned first = steps.Serial();
    TTableSteps::TScope step(steps);
    EXPECT_FALSE(step.Superseded());
    steps.Supersede();
    EXPECT_NE(steps.Serial(), first);
    EXPECT_TRUE(step.Superseded());
    TTableSteps::TScope later(steps);
    EXPECT_FALSE(later.Superseded());
}

}  // namespace

namespace {

TEST_F(TableSteps, IdleIsSignalledOnlyWhenTheOutermostStepReturns)
{
    int idles = 0;
    QObject::connect(&steps, &TTableSteps::idle, [&] { ++idles; });
    {
        TTableSteps::TScope outer(steps);
        {
            TTableSteps::TScope inner(steps);
        }
        EXPECT_EQ(idles, 0) << "a nested step returning leaves the outer one running";
    }
    EXPECT_EQ(idles, 1);
    {
        TTableSteps::TScope again(steps);
    }
    EXPECT_EQ(idles, 2);
}

}  // namespace
