#include <gmock/gmock.h>

#include <QHeaderView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTableWidget>
#include <QTreeWidget>

#include "ScoreDialog.h"
#include "ScoreSheet.h"
#include "ScoreSheetDialog.h"
#include "TestTable.h"

using namespace spades;

namespace {

TEST(ScoreCard, ListsTheFourSeatsInOrder)
{
    TdlgScores dialog;
    dialog.SetScores({{{"North", 120}, {"East", -40}, {"Zoë", 0}, {"West", 262}}});
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTreeWidget* list = dialog.lvwScores();
    ASSERT_EQ(list->topLevelItemCount(), 4);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "North");
    EXPECT_EQ(list->topLevelItem(0)->text(1), "120");
    EXPECT_EQ(list->topLevelItem(1)->text(1), "-40");
    EXPECT_EQ(list->topLevelItem(2)->text(0), "Zoë");
    EXPECT_EQ(list->topLevelItem(3)->text(1), "262");
    EXPECT_TRUE(list->topLevelItem(3)->textAlignment(1) & Qt::AlignRight);

    // Shown again after another hand: the list is rebuilt, not appended to.
    dialog.hide();
    dialog.SetScores({{{"North", 1}, {"East", 2}, {"South", 3}, {"West", 4}}});
    dialog.show();
    ASSERT_EQ(list->topLevelItemCount(), 4);
    EXPECT_EQ(list->topLevelItem(2)->text(0), "South");
}

TEST(ScoreCard, ContinueClosesIt)
{
    TdlgScores dialog;
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();
    QTest::mouseClick(dialog.OKBtn(), Qt::LeftButton);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(ScoreCard, LayoutMatchesTheTable)
{
    TdlgScores dialog;
    EXPECT_EQ(dialog.windowTitle(), "Score Card");
    EXPECT_EQ(dialog.size(), QSize(196, 195));
    EXPECT_EQ(dialog.lvwScores()->geometry(), QRect(0, 0, 196, 150));
    EXPECT_EQ(dialog.lvwScores()->headerItem()->text(0), "Player");
    EXPECT_EQ(dialog.lvwScores()->headerItem()->text(1), "Score");
    EXPECT_EQ(dialog.lvwScores()->columnWidth(0), 130);
    EXPECT_EQ(dialog.lvwScores()->columnWidth(1), 60);
    EXPECT_FALSE(dialog.lvwScores()->header()->sectionsClickable());
    EXPECT_EQ(dialog.OKBtn()->text(), "Continue");
    EXPECT_EQ(dialog.OKBtn()->geometry(), QRect(61, 160, 75, 25));
    EXPECT_TRUE(dialog.OKBtn()->isDefault());
}

TEST(ScoreCard, SheetButtonOnlyWithASheetAndItOpensIt)
{
    TdlgScores dialog;
    EXPECT_TRUE(dialog.SheetBtn()->isHidden());
    int opened = 0;
    dialog.SetSheetAction([&] { ++opened; });
    dialog.show();
    ASSERT_TRUE(dialog.SheetBtn()->isVisible());
    EXPECT_FALSE(dialog.SheetBtn()->geometry().intersects(dialog.OKBtn()->geometry()));
    QTest::mouseClick(dialog.SheetBtn(), Qt::LeftButton);
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(dialog.isVisible()) << "the card stays up under the sheet";
}

struct TSheetTextCase {
    TSheetEntry Entry;
    const char* Text;
};

class ScoreSheetText : public ::testing::TestWithParam<TSheetTextCase> {};

TEST_P(ScoreSheetText, ReadsAsAScoreSheetLine)
{
    EXPECT_EQ(TdlgScoreSheet::EntryText(GetParam().Entry).toStdString(), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ScoreSheetText,
    ::testing::Values(TSheetTextCase{{4, 5, 41, 0, 1, 1, 41}, "Bid 4, took 5\n+41 points\n1 bag, 1 in the game\nScore 41"},
                      TSheetTextCase{{0, 1, -100, 0, 0, 3, -60}, "Nil, took 1\n\u2212100 points\n0 bags, 3 in the game\nScore -60"},
                      TSheetTextCase{{3, 4, 31, -100, 1, 100, 12},
                                     "Bid 3, took 4\n+31 points, \u2212100 for bags\n1 bag, 100 in the game\nScore 12"}));

TEST(ScoreSheet, ShowsAHandPerRowAndASeatPerColumn)
{
    TScoreSheet sheet;
    sheet.AddHand({3, 0, 4, 2}, {3, 0, 6, 4}, {0, 0, 2, 2}, {30, 100, 42, 22});
    sheet.AddHand({1, 2, 3, 4}, {2, 2, 3, 6}, {1, 0, 0, 2}, {41, 120, 72, 64});
    TdlgScoreSheet dialog;
    dialog.SetSheet(sheet, {"North", "East", "Zoë", "West"});
    QTableWidget* table = dialog.lvwSheet();
    ASSERT_EQ(table->rowCount(), 2);
    ASSERT_EQ(table->columnCount(), 4);
    EXPECT_EQ(table->horizontalHeaderItem(2)->text(), "Zoë");
    EXPECT_EQ(table->verticalHeaderItem(1)->text(), "Hand 2");
    EXPECT_EQ(table->item(1, 3)->text(), TdlgScoreSheet::EntryText(sheet.Hands()[1].Seat(West)));
    EXPECT_THAT(table->item(1, 3)->data(Qt::AccessibleTextRole).toString().toStdString(),
                ::testing::StartsWith("West, hand 2: Bid 4, took 6, +42 points, 2 bags, 4 in the game"));
}

}  // namespace

namespace {

TEST(ScoreCard, APartnershipListsEachSideOverItsSeats)
{
    spades::testing::TTestTable table;
    table.Table.Rules.Variant = TVariant::Partnership;
    const std::array<int, 5> bids{0, 4, 3, 0, 2}, tricks{0, 3, 4, 1, 5}, scores{0, 120, -40, 120, -40};
    for (int seat = North; seat <= West; ++seat) {
        TPlayer& p = table.Seat(seat);
        p.FBid = bids[static_cast<size_t>(seat)];
        p.FTricks = tricks[static_cast<size_t>(seat)];
        p.FScore = scores[static_cast<size_t>(seat)];
    }
    TdlgScores dialog;
    dialog.SetSeats(table.Table);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTreeWidget* list = dialog.lvwScores();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    const QTreeWidgetItem* northSouth = list->topLevelItem(0);
    EXPECT_EQ(QStringList({northSouth->text(0), northSouth->text(1), northSouth->text(2), northSouth->text(3),
                           northSouth->text(4)}),
              QStringList({"North-South", "4+NIL", "4", "0", "120"}));
    ASSERT_EQ(northSouth->childCount(), 2);
    EXPECT_EQ(northSouth->child(1)->text(0), "South");
    EXPECT_EQ(northSouth->child(1)->text(1), "NIL");
    const QTreeWidgetItem* eastWest = list->topLevelItem(1);
    EXPECT_EQ(eastWest->text(1), "5");
    EXPECT_EQ(eastWest->text(3), "4") << "nine tricks on a bid of five";
    EXPECT_EQ(eastWest->text(4), "-40");
    EXPECT_EQ(dialog.width(), 316);
}

}  // namespace
