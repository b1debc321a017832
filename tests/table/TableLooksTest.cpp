// What the table shows between plays: long names shortened with the whole name at
// hand, texts above the cards, the next seat marked in the pause, and a lifted
// card that goes back when the pointer leaves.
#include <QFontMetrics>

#include "CardHover.h"
#include "LblEffct.h"
#include "PlayComfort.h"
#include "TableAccessibility.h"
#include "TableHarness.h"
#include "TableScene.h"
#include "Tilemap.h"

using namespace spades;
using namespace spades::testing;

namespace {

constexpr int Timeout = 60000;

TEST(TableSeatName, FitsItsLabelAndTheWinnersLine)
{
    TTableHarness table(AllComputer);
    TTableScene& scene = table.Open().Scene();
    const std::array<std::pair<int, QString>, 3> names = {
        {{North, "Ann"}, {East, "Bartholomew the Magnificent"}, {North, "Wilhelmina Longname-Smythe of Ayr"}}};
    for (const auto& [seat, name] : names) {
        scene.SetSeatName(seat, name);
        const bool shortened = name.size() > 3;
        EXPECT_EQ(scene.SeatLabel(seat).Caption() != name, shortened) << name.toStdString();
        EXPECT_EQ(scene.SeatLabel(seat).toolTip(), shortened ? name : QString());
        EXPECT_EQ(scene.SeatName(seat), name) << "the whole name for everything else";
        const QString won = scene.WinnerCaption(seat);
        EXPECT_TRUE(won.endsWith(" Won"));
        EXPECT_LE(QFontMetrics(scene.WhoWon().font()).horizontalAdvance(won), scene.WhoWon().width()) << "one line";
    }
}

TEST(TableTexts, StayAboveTheCardsAndTheNextSeatIsMarkedInThePause)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open(5, 20);
    TTableScene& scene = window.Scene();
    bool checked = false;
    QObject::connect(&window, &TfrmMain::paused, &window, [&] {
        if (checked || window.Game().FPlayCount != 1)
            return;
        checked = true;
        const int next = window.Game().SeatToPlay();
        for (int seat = North; seat <= West; ++seat)
            EXPECT_EQ(scene.SeatLabel(seat).FontColour() == TTableAccessibility::TurnColour, seat == next)
                << "seat " << seat;
        const QObjectList& order = scene.Surface().children();
        const qsizetype prompt = order.indexOf(&scene.Prompt());
        for (qsizetype i = 0; i < order.size(); ++i) {
            const auto* card = qobject_cast<TCardDeck*>(order[i]);
            EXPECT_TRUE(!card || !card->objectName().startsWith("imgPlayer") || i < prompt) << i;
        }
        window.Table().StopRequested = true;
    });
    window.Steps().Request(TTableRequest::NewGame);
    EXPECT_TRUE(QTest::qWaitFor([&] { return checked; }, Timeout));
}

TEST(TableLift, ARefusedCardGoesBackWhenThePointerLeavesTheWindow)
{
    TTableHarness table({false, false, false, true, false},
                        "\"Speed\"=\"Bullet\"\n\"MusicOn\"=dword:00000000\n\"Mark Playable\"=dword:00000000\n");
    TfrmMain& window = table.Open(99);
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));
    TCardHover& hover = window.Comfort().Hover();
    for (int slot = 1; slot <= 13; ++slot) {
        if (window.Game().CheckPersonCard(South, slot) == TPlayVerdict::Legal)
            continue;
        hover.LiftCard(&table.Card(South, slot));
        ASSERT_EQ(hover.Lifted(), &table.Card(South, slot));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&window, &leave);
        EXPECT_EQ(hover.Lifted(), nullptr);
        return;
    }
    GTEST_SKIP() << "every card of the lead was legal";
}

}  // namespace
