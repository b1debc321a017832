#include <gmock/gmock.h>

#include <QHeaderView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include "ScoreDialog.h"

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

}  // namespace
