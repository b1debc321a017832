#include <gmock/gmock.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "HandReviewDialog.h"
#include "ReviewHands.h"
#include "ScoreDialog.h"

using namespace spades;
using namespace spades::testing;

namespace {

const std::array<QString, 5> Names{"", "Norah", "Eddy", "Sam", "Wren"};

TEST(HandReviewDialog, MarksTheCostlyCardAndShowsTheHandsTrickByTrick)
{
    TdlgHandReview dialog(DuckedEnding(), Names);
    dialog.show();
    QTRY_VERIFY_WITH_TIMEOUT(dialog.Finished(), 20000);
    QTableWidget* tricks = dialog.lvwTricks();
    ASSERT_EQ(tricks->rowCount(), 2);
    QTableWidgetItem* ducked = tricks->item(0, North);
    EXPECT_THAT(ducked->text().toStdString(), ::testing::StartsWith("2\u2666"));
    EXPECT_THAT(ducked->text().toStdString(), ::testing::HasSubstr("-2"));
    EXPECT_THAT(ducked->data(Qt::AccessibleTextRole).toString().toStdString(),
                ::testing::HasSubstr("Could take 2 tricks before it, 0 tricks after it. It cost 2 tricks."));
    EXPECT_EQ(tricks->item(0, East)->background().color(), tricks->item(1, East)->background().color())
        << "only the costly card is marked";
    EXPECT_NE(ducked->background().color(), tricks->item(0, East)->background().color());
    EXPECT_EQ(tricks->item(0, 5)->text(), "Eddy");
    EXPECT_EQ(tricks->item(1, 5)->text(), "Wren");
    EXPECT_EQ(dialog.lvwBids()->item(South - 1, 1)->text(), "Nil");
    EXPECT_EQ(dialog.lvwBids()->item(South - 1, 2)->text(), "Nil") << "South can duck both tricks";
    EXPECT_EQ(dialog.lvwBids()->item(North - 1, 2)->text(), "0");

    EXPECT_THAT(dialog.lblHands()->text().toStdString(), ::testing::HasSubstr("Norah: \u2666 A 2"));
    tricks->setCurrentCell(1, 0);
    EXPECT_THAT(dialog.lblHands()->text().toStdString(), ::testing::HasSubstr("trick 2"));
    EXPECT_THAT(dialog.lblHands()->text().toStdString(), ::testing::HasSubstr("Norah: \u2666 A\n"));
}

TEST(HandReviewDialog, ClosingStopsTheWorkAtOnce)
{
    // A whole deal takes long to work out with every card open; closing must not wait for it.
    TReviewHand hand;
    std::array<int, 52> deal{};
    for (int i = 0; i < 52; ++i)
        deal[static_cast<size_t>(i)] = i + 1;
    hand.Dealt = DealtHands(deal);
    hand.Kinds[South] = TSeatKind::Human;
    QElapsedTimer timer;
    timer.start();
    {
        TdlgHandReview dialog(hand, Names);
        dialog.show();
        QTest::qWait(50);
    }
    EXPECT_LT(timer.elapsed(), 5000);
}

TEST(HandReviewDialog, TheScoreCardOffersItOnlyWhenThereIsAHand)
{
    TdlgScores card;
    EXPECT_TRUE(card.ReviewBtn()->isHidden());
    int opened = 0;
    card.SetReviewAction([&] { ++opened; });
    card.show();
    ASSERT_TRUE(card.ReviewBtn()->isVisible());
    QTest::mouseClick(card.ReviewBtn(), Qt::LeftButton);
    EXPECT_EQ(opened, 1);
    card.SetReviewAction(nullptr);
    EXPECT_FALSE(card.ReviewBtn()->isVisible());
}

}  // namespace
