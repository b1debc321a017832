// The host dialog stays up while the table is played: it goes where it covers
// the least of the window, and never the middle where the trick lies.
#include "NetDialogs.h"

#include <gmock/gmock.h>

namespace spades::net {
namespace {

struct TAsideCase {
    const char* Name;
    QRect Window;
    QSize Dialog;
    QRect Screen;
    QPoint Expected;
};

class HostDialogAside : public ::testing::TestWithParam<TAsideCase> {};

TEST_P(HostDialogAside, CoversLittleOfTheWindowAndStaysOnTheScreen)
{
    const TAsideCase& c = GetParam();
    const QPoint at = AsidePosition(c.Window, c.Dialog, c.Screen);
    EXPECT_EQ(at, c.Expected);
    const QRect placed(at, c.Dialog);
    EXPECT_TRUE(c.Screen.contains(placed)) << "on the screen";
    EXPECT_FALSE(placed.contains(c.Window.center())) << "the trick stays in view";
}

INSTANTIATE_TEST_SUITE_P(
    Screens, HostDialogAside,
    ::testing::Values(
        TAsideCase{"RoomOnTheRight", {100, 100, 800, 500}, {400, 300}, {0, 0, 1920, 1080}, {900, 100}},
        TAsideCase{"RoomOnTheLeftOnly", {1000, 100, 900, 500}, {400, 300}, {0, 0, 1920, 1080}, {600, 100}},
        TAsideCase{"RoomBelowOnly", {0, 0, 1920, 600}, {400, 300}, {0, 0, 1920, 1080}, {0, 600}},
        // A maximised window: a corner of the screen, over the window's edge.
        TAsideCase{"MaximisedWindow", {0, 0, 1920, 1050}, {400, 300}, {0, 0, 1920, 1080}, {1520, 0}},
        TAsideCase{"SecondScreen", {2000, 50, 800, 600}, {300, 200}, {1920, 0, 1280, 1024}, {2800, 50}}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace spades::net
