// "Claim the rest" at the table: offered only once the solver shows the person
// takes every trick left, and then the hand ends with those tricks.
#include <QSignalSpy>

#include "ClaimCheck.h"
#include "LblEffct.h"
#include "PlayComfort.h"
#include "TableAccessibility.h"
#include "TableHarness.h"
#include "TableScene.h"

using namespace spades;
using namespace spades::testing;

namespace {

constexpr int Timeout = 60000;

// Every spade to South, the rest dealt round the other seats.
std::array<uint8_t, 53> SouthHoldsEverySpade()
{
    std::array<uint8_t, 53> deal{};
    size_t spade = 3, other = 1;
    for (int card = 1; card <= 52; ++card) {
        size_t& at = CardSuit(static_cast<uint8_t>(card)) == Spades ? spade : other;
        deal[at] = static_cast<uint8_t>(card);
        at += at == spade ? 4 : (at % 4 == 2 ? 2 : 1);
    }
    return deal;
}

struct TClaimCase {
    const char* Name;
    bool SpadesToSouth;
    bool Claims;
};

class TableClaim : public ::testing::TestWithParam<TClaimCase> {};

TEST_P(TableClaim, OfferedOnlyWhenEveryTrickIsSure)
{
    const TClaimCase& c = GetParam();
    TTableHarness table;  // South is a person
    TfrmMain& window = table.Open(4242);
    QStringList said;
    QObject::connect(&window.Comfort().Accessibility(), &TTableAccessibility::announced, &window,
                     [&](const QString& text) { said << text; });
    QSignalSpy scored(&window, &TfrmMain::handScored);
    THandCycle::TStartPoint start;
    start.Names = {"", "North", "East", "South", "West"};
    start.FirstSeat = West;  // North leads
    if (c.SpadesToSouth)
        start.Deal = SouthHoldsEverySpade();
    window.StartFrom(start, {TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Human,
                             TSeatKind::Computer},
                     std::nullopt);
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));
    const uint32_t turn = window.Cycle().Waiting().Turn;
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.ClaimCheck().Known(turn); }, Timeout));
    EXPECT_EQ(window.CanClaim(), c.Claims);

    const int played = window.Game().FPlayCount;
    auto* claim = table.Find<QAction>("mniGameClaim");
    ASSERT_NE(claim, nullptr);
    EXPECT_EQ(claim->shortcut(), QKeySequence(Qt::Key_C));
    claim->trigger();
    if (c.Claims) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return scored.count() == 1; }, Timeout));
        EXPECT_EQ(window.Game().Table.Player(South).FTricks, 13 - played / 4);
        EXPECT_TRUE(said.contains("South claims the rest")) << said.join("\n").toStdString();
    } else {
        EXPECT_EQ(window.Game().FPlayCount, played) << "nothing is played for the person";
        EXPECT_EQ(table.WaitingSeat(), South);
        EXPECT_EQ(window.Scene().Notice().Caption(), "The others can still take a trick.");
    }
}

INSTANTIATE_TEST_SUITE_P(Deals, TableClaim,
                         ::testing::Values(TClaimCase{"EverySpade", true, true}, TClaimCase{"Dealt", false, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
