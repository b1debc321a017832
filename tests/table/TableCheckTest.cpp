// "Check my plays" at the table: the review's crafted hand, in which South, a
// person, ducks the King of diamonds under its Ace late in the hand. With the option on the
// note is written on the table and announced, and play never waits for it; with
// it off nothing is said. The early cards' checks run past the bound, unsaid.
#include <QSignalSpy>

#include "LblEffct.h"
#include "PlayComfort.h"
#include "ReviewHands.h"
#include "TableAccessibility.h"
#include "TableHarness.h"
#include "TableScene.h"

using namespace spades;
using namespace spades::testing;

namespace {

constexpr int Timeout = 60000;
const QString Note = "Your 2 of Diamonds may have cost a trick; the Expert would have played the Ace of Diamonds.";

// The review's crafted hand as the table plays it: the deck dealt a card at a
// time from North, the other seats' cards as a script, South's to be clicked.
struct TCraftedHand {
    std::array<uint8_t, 53> Deal{};
    std::vector<int> ComputerPlays;
    std::vector<int> SouthPlays;
};

TCraftedHand Crafted()
{
    const TReviewHand hand = KingDuckedLate();
    TCraftedHand crafted;
    for (int seat = North; seat <= West; ++seat) {
        size_t k = 0;
        for (TCardSet rest = hand.Dealt[static_cast<size_t>(seat)]; rest; rest &= rest - 1, ++k)
            crafted.Deal[4 * k + static_cast<size_t>(seat)] = static_cast<uint8_t>(std::countr_zero(rest) + 1);
    }
    for (const TPlayRecord& play : hand.Plays)
        (play.Seat == South ? crafted.SouthPlays : crafted.ComputerPlays).push_back(play.Card);
    return crafted;
}

void ClickSouth(TTableHarness& table, int card)
{
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout)) << "card " << card;
    const int slot = table.Window->Game().Table.Player(South).SlotOf(card);
    ASSERT_GE(slot, 1) << card;
    QTest::mouseClick(&table.Card(South, slot), Qt::LeftButton, {}, QPoint(5, 5));
}

class TableCheck : public ::testing::TestWithParam<bool> {};

TEST_P(TableCheck, ACostlyCardIsNotedOnTheTableOnlyWhenAsked)
{
    const bool on = GetParam();
    QByteArray options = "\"Speed\"=\"Bullet\"\n\"MusicOn\"=dword:00000000\n";
    if (on)
        options += "\"Check Plays\"=dword:00000001\n";
    TTableHarness table({false, false, false, true, false}, options);
    table.Prompts.Bids = {1};
    TfrmMain& window = table.Open();
    QStringList said;
    QObject::connect(&window.Comfort().Accessibility(), &TTableAccessibility::announced, &window,
                     [&](const QString& text) { said << text; });
    QSignalSpy scored(&window, &TfrmMain::handScored);

    const TCraftedHand hand = Crafted();
    THandCycle::TStartPoint start;
    start.Names = {"", "North", "East", "South", "West"};
    start.FirstSeat = North;
    start.Deal = hand.Deal;
    TSpadesGame::TScript script;
    script.Bids = KingDuckedLate().Bids;
    script.Plays = hand.ComputerPlays;
    window.StartFrom(start, {TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Human,
                             TSeatKind::Computer},
                     script);

    for (size_t i = 0; i + 1 < hand.SouthPlays.size(); ++i)
        ClickSouth(table, hand.SouthPlays[i]);
    // South waits to lead its Ace at trick 13: the table is still.
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));
    const TLabelEffect& line = window.Scene().Notice();
    if (on) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return said.contains(Note); }, Timeout)) << said.join("\n").toStdString();
        EXPECT_TRUE(line.Caption() == Note || line.toolTip() == Note) << line.Caption().toStdString();
        EXPECT_EQ(said.filter("may have cost").size(), 1) << "the early cards' checks are skipped or say nothing";
    }
    ClickSouth(table, hand.SouthPlays.back());
    ASSERT_TRUE(QTest::qWaitFor([&] { return scored.count() == 1; }, Timeout));
    if (!on) {
        QTest::qWait(100);
        EXPECT_TRUE(said.filter("cost").isEmpty()) << said.join("\n").toStdString();
        EXPECT_TRUE(line.Caption().isEmpty()) << line.Caption().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Option, TableCheck, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "On" : "Off"; });

}  // namespace
