// The window's size, place and maximised state: kept in the settings file and put
// back within the screens that are there now.
#include <gmock/gmock.h>

#include <QGuiApplication>
#include <QScreen>

#include "TableHarness.h"
#include "WinReg.h"
#include "WindowState.h"

using namespace spades;
using namespace spades::testing;

namespace {

const QSize Minimum(769, 481);
const QRect Left(-1920, 0, 1920, 1050);  // usable areas
const QRect Main(0, 0, 1600, 870);

struct TFitCase {
    const char* Name;
    QList<QRect> Screens;
    QRect Stored;
    QRect Expected;
};

class WindowFit : public ::testing::TestWithParam<TFitCase> {};

TEST_P(WindowFit, StaysWhereItCanBeSeen)
{
    const TFitCase& c = GetParam();
    const TWindowPlacement fitted = FitToScreens({c.Stored, true}, c.Screens, Minimum);
    EXPECT_EQ(fitted.Geometry, c.Expected);
    EXPECT_TRUE(fitted.Maximized);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, WindowFit,
    ::testing::Values(
        TFitCase{"OnTheScreen", {Main}, {100, 80, 1000, 700}, {100, 80, 1000, 700}},
        TFitCase{"OnTheLeftScreen", {Main, Left}, {-1500, 40, 900, 600}, {-1500, 40, 900, 600}},
        TFitCase{"LeftScreenGone", {Main}, {-1500, 40, 900, 600}, {350, 135, 900, 600}},
        TFitCase{"FarOffToTheRight", {Main}, {5000, 4000, 800, 500}, {400, 185, 800, 500}},
        TFitCase{"TitleAboveTheScreen", {Main}, {200, -300, 900, 600}, {350, 135, 900, 600}},
        TFitCase{"HangingOffTheRightEdge", {Main}, {1200, 100, 900, 600}, {700, 100, 900, 600}},
        TFitCase{"LargerThanTheScreen", {Main}, {10, 10, 3000, 2000}, {0, 0, 1600, 870}},
        TFitCase{"SmallerThanTheTable", {Main}, {10, 10, 300, 200}, {10, 10, 769, 481}}),
    [](const ::testing::TestParamInfo<TFitCase>& info) { return std::string(info.param.Name); });

// The first start: most of the screen at the table's own proportions, never below the table.
TEST(WindowFit, FirstStartIsAComfortableSizeForTheScreen)
{
    const QSize table(769, 461);
    EXPECT_EQ(ComfortableSize(table, 20, Main), QSize(1127, 696)) << "height-bound";
    EXPECT_EQ(ComfortableSize(table, 20, QRect(0, 0, 1024, 768)), QSize(819, 511)) << "width-bound";
    EXPECT_EQ(ComfortableSize(table, 20, QRect(0, 0, 800, 600)), QSize(769, 481)) << "never smaller";
}

// A window as large as the usable area stays within the screen's device pixels, at
// every ratio Qt rounds the screen's logical size for.
TEST(WindowFit, AsLargeAsTheScreenRoundsToNoMorePixelsThanItHas)
{
    for (const qreal ratio : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5})
        for (const QSize device : {QSize(2560, 1600), QSize(1920, 1080), QSize(1366, 768), QSize(1280, 1024)}) {
            const QRect logical(0, 0, qRound(device.width() / ratio), qRound(device.height() / ratio));
            const QRect usable = UsableForWindows(logical, ratio);
            EXPECT_LE(qRound(usable.width() * ratio), device.width()) << ratio << " " << device.width();
            EXPECT_LE(qRound(usable.height() * ratio), device.height()) << ratio << " " << device.height();
            EXPECT_GE(usable.width(), logical.width() - 1) << "at most one logical pixel given up";
            EXPECT_GE(usable.height(), logical.height() - 1);
        }
    EXPECT_EQ(UsableForWindows(QRect(0, 0, 1280, 800), 2.0), QRect(0, 0, 1280, 800)) << "whole ratios keep it all";
}

TEST(WindowStore, RoundTripsThroughTheSettingsFile)
{
    TTableHarness table;
    const TWindowPlacement placement{{-40, 25, 1234, 765}, true};
    {
        TWinRegistry registry{QLatin1StringView(SpadesKeyPath)};
        SaveWindowPlacement(registry, placement);
    }
    const TWinRegistry registry{QLatin1StringView(SpadesKeyPath)};
    EXPECT_EQ(LoadWindowPlacement(registry), placement);
    QFile file(table.SettingsPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Window]"));
}

TEST(WindowStore, NothingStoredIsNothing)
{
    TTableHarness table;
    const TWinRegistry registry{QLatin1StringView(SpadesKeyPath)};
    EXPECT_EQ(LoadWindowPlacement(registry), std::nullopt);
}

// The real window: closed in one state, opened again in the same.
struct TWindowCase {
    const char* Name;
    QRect Geometry;
    bool Maximize;
};

class WindowRestore : public ::testing::TestWithParam<TWindowCase> {};

TEST_P(WindowRestore, ClosedAndOpenedAgain)
{
    const TWindowCase& c = GetParam();
    TTableHarness table;
    TfrmMain& first = table.Open();
    first.setGeometry(c.Geometry);
    if (c.Maximize)
        first.setWindowState(Qt::WindowMaximized);
    QTest::qWait(20);
    const QRect normal = c.Maximize ? first.normalGeometry() : first.geometry();
    first.close();

    TfrmMain& second = table.Open();
    EXPECT_EQ(second.isMaximized(), c.Maximize);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect restored = c.Maximize ? second.normalGeometry() : second.geometry();
    EXPECT_EQ(restored.size(), normal.size().boundedTo(screen.size()).expandedTo(QSize(769, 461)));
    EXPECT_TRUE(screen.contains(restored)) << "within the screen that is there now";
}

INSTANTIATE_TEST_SUITE_P(States, WindowRestore,
                         ::testing::Values(TWindowCase{"Normal", {10, 30, 780, 520}, false},
                                           TWindowCase{"Maximised", {10, 30, 780, 520}, true},
                                           TWindowCase{"OffTheScreen", {4000, 3000, 790, 500}, false}),
                         [](const ::testing::TestParamInfo<TWindowCase>& info) { return std::string(info.param.Name); });

}  // namespace
