// What screen readers are told, and cards that glide without slowing the game.
#include <gmock/gmock.h>

#include <QAccessible>
#include <QElapsedTimer>
#include <QSignalSpy>

#include <algorithm>
#include <array>
#include <cstdio>

#include "CardMotion.h"
#include "CardTitle.h"
#include "ExtListView.h"
#include "LblEffct.h"
#include "PlayComfort.h"
#include "Shape.h"
#include "TableAccessibility.h"
#include "TableHarness.h"
#include "TableScene.h"

using namespace spades;
using namespace spades::testing;

namespace {

constexpr int Timeout = 30000;

QString AccessibleText(QObject* object, QAccessible::Text which)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(which) : QString("<none>");
}

// ---- Names of cards --------------------------------------------------------------------------------

struct TTitleCase {
    int Value;
    const char* Title;
};

class CardAccessibleName : public ::testing::TestWithParam<TTitleCase> {};

TEST_P(CardAccessibleName, IsTheCardsSpokenName)
{
    TCardDeck card;
    card.SetValue(static_cast<uint8_t>(GetParam().Value));
    EXPECT_EQ(AccessibleText(&card, QAccessible::Name), GetParam().Title);
}

INSTANTIATE_TEST_SUITE_P(Values, CardAccessibleName,
                         ::testing::Values(TTitleCase{1, "Ace of Spades"}, TTitleCase{10, "10 of Spades"},
                                           TTitleCase{13, "King of Spades"}, TTitleCase{14, "Ace of Hearts"},
                                           TTitleCase{25, "Queen of Hearts"}, TTitleCase{37, "Jack of Clubs"},
                                           TTitleCase{40, "Ace of Diamonds"}, TTitleCase{42, "3 of Diamonds"},
                                           TTitleCase{52, "King of Diamonds"}, TTitleCase{53, "Joker"},
                                           TTitleCase{54, "card back"}, TTitleCase{62, "card back"},
                                           TTitleCase{0, ""}));

// ---- The table read aloud ---------------------------------------------------------------------------------

TEST(TableAccessibility, TrickBidsAndTurnsAreReadable)
{
    TTableHarness table;
    TfrmMain& window = table.Open(606);
    // What is announced, as the label that carries it tells assistive tools.
    std::vector<QString> heard;
    QObject::connect(&window.Comfort().Accessibility(), &TTableAccessibility::announced, &window, [&] {
        heard.push_back(AccessibleText(&window.Scene().WaitFor(), QAccessible::Description));
    });
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));

    // Every hand card is named by what it shows.
    for (int seat = North; seat <= West; ++seat)
        for (int slot = 1; slot <= 13; ++slot) {
            TCardDeck& card = table.Card(seat, slot);
            EXPECT_EQ(AccessibleText(&card, QAccessible::Name), CardTitle(card.Value()));
        }
    EXPECT_EQ(AccessibleText(&table.Card(North, 1), QAccessible::Name), "card back");

    // The trick, card by card, as "East played the Queen of Hearts".
    TSpadesGame& game = window.Game();
    const auto checkTrick = [&] {
        QStringList expected;
        for (int place = 1; place <= 4; ++place) {
            const TPlayStack& stack = game.Table.Place(place);
            if (stack.HasCard())
                expected << QString::fromStdString(game.Table.Player(stack.FSeat).FName) + " played the " +
                                CardTitle(static_cast<uint8_t>(stack.FValue));
        }
        const QString trick = AccessibleText(&window.Scene().PlayArea(), QAccessible::Description);
        EXPECT_EQ(trick, expected.isEmpty() ? QString("No cards") : expected.join(", "));
        EXPECT_EQ(AccessibleText(&window.Scene().PlayArea(), QAccessible::Name), "Trick");
        for (int place = 1; place <= 4; ++place) {
            const TPlayStack& stack = game.Table.Place(place);
            if (stack.HasCard() && stack.FCard) {
                EXPECT_EQ(AccessibleText(window.Scene().Card(QString::fromStdString(stack.FCard->Name())),
                                         QAccessible::Description),
                          expected.value(place - 1));
            }
        }
        return expected.size();
    };
    checkTrick();
    // Cards still in a hand say nothing of the trick.
    EXPECT_EQ(AccessibleText(&table.Card(South, 1), QAccessible::Description), "");

    // The bids table's rows: the seat, its bid, tricks and bags.
    QAccessibleInterface* bids = QAccessible::queryAccessibleInterface(&window.Scene().Bids());
    ASSERT_NE(bids, nullptr);
    ASSERT_NE(bids->tableInterface(), nullptr);
    ASSERT_EQ(bids->tableInterface()->rowCount(), 4);
    for (int row = 0; row < 4; ++row) {
        const int seat = row + 1;
        const TPlayer& player = game.Table.Player(seat);
        EXPECT_EQ(bids->tableInterface()->cellAt(row, 0)->text(QAccessible::Name),
                  QString::fromStdString(player.FName));
        EXPECT_EQ(bids->tableInterface()->cellAt(row, 1)->text(QAccessible::Name),
                  player.FBid == 0 ? QString("NIL") : QString::number(player.FBid));
    }

    // Turns are announced; so is the winner of a trick.
    const auto said = [&](const QString& text) { return std::find(heard.begin(), heard.end(), text) != heard.end(); };
    EXPECT_TRUE(said("South to bid"));
    EXPECT_TRUE(said("South to play"));
    table.PlayLegalCard();
    // The click runs on to the trick's fourth card, which waits to be taken.
    EXPECT_EQ(checkTrick(), 4);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return std::any_of(heard.begin(), heard.end(), [](const QString& t) { return t.endsWith(" won the trick"); });
        },
        Timeout));
}

// Names given in the preferences are the names read out, on the seat and on its pile.
TEST(TableAccessibility, SeatsAreReadByTheNamesTheyAreGiven)
{
    TTableHarness table;
    TfrmMain& window = table.Open(7);
    const std::array<QString, 4> names = {"Nora", "Eamon", "Zoë", "Wren"};
    for (int seat = North; seat <= West; ++seat)
        window.GameDefaults()->SetPlayerName(seat, names[static_cast<size_t>(seat - North)]);
    window.ApplyPreferences();
    for (int seat = North; seat <= West; ++seat) {
        const QString& name = names[static_cast<size_t>(seat - North)];
        EXPECT_EQ(AccessibleText(&window.Scene().SeatLabel(seat), QAccessible::Name), name);
        EXPECT_EQ(AccessibleText(&window.Scene().Pile(seat), QAccessible::Description),
                  "Tricks won by " + name + "; hold to see the last trick");
    }
}

// ---- Whose turn shows on the table ------------------------------------------------------------------------

TEST(TableTurn, OnlyTheSeatToPlayIsHighlighted)
{
    TTableHarness table;
    TfrmMain& window = table.Open(11);
    window.Steps().Request(TTableRequest::NewGame);
    for (int turn = 0; turn < 5; ++turn) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));
        for (int seat = North; seat <= West; ++seat)
        {
            EXPECT_EQ(window.Scene().SeatLabel(seat).FontColour() == TTableAccessibility::TurnColour, seat == South)
                << "seat " << seat;
            // Told to a screen reader as well as shown.
            EXPECT_EQ(AccessibleText(&window.Scene().SeatLabel(seat), QAccessible::Description),
                      seat == South ? "Seat, to play" : "Seat")
                << "seat " << seat;
        }
        table.PlayLegalCard();
    }
}

// ---- Motion within the pause ---------------------------------------------------------------------------------

TEST(CardMotionDuration, EndsWellWithinEveryPause)
{
    for (const int pause : {1500, 1000, 500, 100}) {
        EXPECT_GT(TCardMotion::Duration(pause), 0) << pause;
        EXPECT_LE(TCardMotion::Duration(pause), pause / 2) << pause;
    }
    EXPECT_LT(TCardMotion::Duration(100), TCardMotion::Duration(500));  // shorter at Bullet
}

struct TSpeedCase {
    const char* Name;
    int Pause;
    bool Animate;
};

class TableMotion : public ::testing::TestWithParam<TSpeedCase> {};

TEST_P(TableMotion, APlayToTheNextCardTakesThePause)
{
    const TSpeedCase& c = GetParam();
    QByteArray options = "\"MusicOn\"=dword:00000000\n";
    if (!c.Animate)
        options += "\"Animate Cards\"=dword:00000000\n";
    TTableHarness table(AllComputer, options);
    TfrmMain& window = table.Open(88, c.Pause);
    TCardMotion& motion = window.Comfort().Motion();
    ASSERT_EQ(motion.Pause(), c.Pause);
    ASSERT_EQ(motion.Enabled(), c.Animate);

    // At each pause after a card, the time since the card before and the moves under way.
    QElapsedTimer clock;
    std::vector<qint64> gaps;
    std::vector<int> running;
    int lastTurn = 0;
    qint64 last = 0;
    int pauses = 0;
    QObject::connect(&window, &TfrmMain::paused, &window, [&] {
        const int turn = window.Game().FTurn;
        const qint64 now = clock.elapsed();
        if (turn == lastTurn + 1 && turn >= 3) {
            gaps.push_back(now - last);
            running.push_back(motion.Running());
        }
        lastTurn = turn;
        last = now;
        ++pauses;
    });
    clock.start();
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return gaps.size() >= 3; }, Timeout));
    window.Table().StopRequested = true;

    std::vector<qint64> sorted = gaps;
    std::sort(sorted.begin(), sorted.end());
    const qint64 median = sorted[sorted.size() / 2];
    RecordProperty("median_gap_ms", static_cast<int>(median));
    std::printf("%s: play to next card %lld ms (pause %d)\n", c.Name, static_cast<long long>(median), c.Pause);
    constexpr int Frame = 17;
    EXPECT_GE(median, c.Pause - 1);
    EXPECT_LE(median, c.Pause + Frame);
    // The card before has landed when the next one is played: only the new card moves.
    for (int moves : running)
        EXPECT_LE(moves, c.Animate ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Speeds, TableMotion,
                         ::testing::Values(TSpeedCase{"Slow", 1500, true}, TSpeedCase{"Normal", 1000, true},
                                           TSpeedCase{"Fast", 500, true}, TSpeedCase{"Bullet", 100, true},
                                           TSpeedCase{"FastStill", 500, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
