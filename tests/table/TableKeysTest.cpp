// F2 starts a game from the table window, and only from there.
#include <gmock/gmock.h>

#include <QApplication>

#include "HelpViewer.h"
#include "LblEffct.h"
#include "TableHarness.h"

using namespace spades;
using namespace spades::testing;

namespace {

struct TF2Case {
    const char* Name;
    bool InManual;
    bool Starts;
};

class TableF2 : public ::testing::TestWithParam<TF2Case> {};

TEST_P(TableF2, StartsAGameOnlyFromTheTable)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open();
    QWidget* target = &window;
    if (GetParam().InManual) {
        window.Help().ShowContents();
        target = &window.Help();
    }
    target->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == target; }));
    QTest::keyClick(target, Qt::Key_F2);
    EXPECT_EQ(table.Find<TLabelEffect>("LabelEffect1")->Caption().isEmpty(), GetParam().Starts);
    EXPECT_EQ(table.Card(North, 1).Visible(), GetParam().Starts);
}

INSTANTIATE_TEST_SUITE_P(Windows, TableF2,
                         ::testing::Values(TF2Case{"Table", false, true}, TF2Case{"Manual", true, false}),
                         [](const ::testing::TestParamInfo<TF2Case>& info) { return std::string(info.param.Name); });

}  // namespace
