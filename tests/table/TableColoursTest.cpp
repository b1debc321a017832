// Olive is the main window's background and nobody else's.
#include <gmock/gmock.h>

#include <QApplication>
#include <QHeaderView>
#include <QMenuBar>
#include <QToolButton>

#include "ExtListView.h"
#include "TableHarness.h"

using namespace spades;
using namespace spades::testing;

namespace {

const QColor Olive(0x80, 0x80, 0x00);

struct TColourCase {
    const char* Name;
    std::function<QWidget*(TfrmMain&)> Find;
};

class TableColours : public ::testing::TestWithParam<TColourCase> {};

TEST_P(TableColours, ControlsKeepTheirOwnPalette)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open();
    window.Steps().Request(TTableRequest::NewGame);  // the stop button shows
    EXPECT_EQ(window.palette().color(QPalette::Window), Olive);
    QWidget* widget = GetParam().Find(window);
    ASSERT_NE(widget, nullptr);
    const QPalette style = QApplication::palette(widget);
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button, QPalette::Mid,
                                     QPalette::Dark, QPalette::Light}) {
        EXPECT_NE(widget->palette().color(role), Olive) << "role " << role;
        EXPECT_EQ(widget->palette().color(role), style.color(role)) << "role " << role;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Controls, TableColours,
    ::testing::Values(
        TColourCase{"MenuBar", [](TfrmMain& w) -> QWidget* { return w.menuBar(); }},
        TColourCase{"BidsList", [](TfrmMain& w) -> QWidget* { return w.findChild<TExtListView*>("lvwBids"); }},
        TColourCase{"BidsListGrid",
                    [](TfrmMain& w) -> QWidget* { return w.findChild<TExtListView*>("lvwBids")->viewport(); }},
        TColourCase{"BidsListHeader",
                    [](TfrmMain& w) -> QWidget* { return w.findChild<TExtListView*>("lvwBids")->horizontalHeader(); }},
        TColourCase{"StopButton", [](TfrmMain& w) -> QWidget* { return w.findChild<QToolButton*>("btnInterrupt"); }}),
    [](const ::testing::TestParamInfo<TColourCase>& info) { return std::string(info.param.Name); });

}  // namespace
