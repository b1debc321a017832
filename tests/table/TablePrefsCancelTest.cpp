// A seat name typed in the preferences and then cancelled never reaches the seats.
#include <gmock/gmock.h>

#include <QApplication>
#include <QComboBox>
#include <QTabWidget>
#include <QLineEdit>
#include <QPushButton>

#include "LblEffct.h"
#include "OptDialog.h"
#include "TableHarness.h"

using namespace spades;
using namespace spades::testing;

namespace {

enum class TLeave { Escape, CancelButton, CloseBox, Ok };

struct TLeaveCase {
    const char* Name;
    TLeave Leave;
    const char* SouthAfter;  // the seat's name afterwards
};

class TablePrefsLeave : public ::testing::TestWithParam<TLeaveCase> {};

TEST_P(TablePrefsLeave, TypedNameReachesTheSeatOnlyWithOk)
{
    TTableHarness table;  // South is a person
    TfrmMain& window = table.Open();
    table.Prompts.OnDialog = [](QDialog& dialog) {
        auto& options = static_cast<TdlgOptions&>(dialog);
        dialog.show();
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialog; }));
        options.pgeOptions()->setCurrentIndex(TdlgOptions::tabPlayers);
        options.cbxPlayers()->setCurrentIndex(2);
        emit options.cbxPlayers()->activated(2);
        options.edtPlayerName()->setFocus();
        options.edtPlayerName()->selectAll();
        QTest::keyClicks(options.edtPlayerName(), "Zed");
        // Leaving the edit for another control stores the name in the seat at once.
        options.cbxPlayers()->setFocus();
        options.edtPlayerName()->setFocus();
        switch (GetParam().Leave) {
        case TLeave::Escape:
            QTest::keyClick(options.edtPlayerName(), Qt::Key_Escape);
            break;
        case TLeave::CancelButton:
            QTest::mouseClick(options.btnCancel(), Qt::LeftButton);
            break;
        case TLeave::CloseBox:
            dialog.close();
            break;
        case TLeave::Ok:
            QTest::mouseClick(options.btnOk(), Qt::LeftButton);
            break;
        }
        EXPECT_FALSE(dialog.isVisible());
        return dialog.result();
    };
    window.Steps().Request(TTableRequest::Preferences);
    ASSERT_EQ(table.Prompts.Dialogs, 1);

    const std::string expected = GetParam().SouthAfter;
    EXPECT_EQ(window.Table().Player(South).FName, expected);
    EXPECT_EQ(table.Find<TLabelEffect>("lblPlayer3")->Caption().toStdString(), expected);
    // The bid dialog and the table name the seat alike.
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_FALSE(table.Prompts.BidCaptions.isEmpty());
    EXPECT_EQ(table.Prompts.BidCaptions.front().toStdString(), expected + " Bid");
}

INSTANTIATE_TEST_SUITE_P(Ways, TablePrefsLeave,
                         ::testing::Values(TLeaveCase{"Escape", TLeave::Escape, "South"},
                                           TLeaveCase{"CancelButton", TLeave::CancelButton, "South"},
                                           TLeaveCase{"CloseBox", TLeave::CloseBox, "South"},
                                           TLeaveCase{"Ok", TLeave::Ok, "Zed"}),
                         [](const ::testing::TestParamInfo<TLeaveCase>& info) { return std::string(info.param.Name); });

}  // namespace
