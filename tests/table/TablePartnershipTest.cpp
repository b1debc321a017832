// Partnerships and house rules at the table: the sides in the bids list and the
// winner's notice, the choices a bidding variant leaves, Blind Nil before the cards.
#include <gmock/gmock.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTimer>

#include "BidDialog.h"
#include "ExtListView.h"
#include "RuleText.h"
#include "TableHarness.h"

using namespace spades;
using namespace spades::testing;
using ::testing::AnyOf;
using ::testing::Eq;

namespace {

constexpr int Timeout = 60000;

QByteArray WithRules(const char* rules)
{
    return QByteArray("\"Speed\"=\"Bullet\"\n\"MusicOn\"=dword:00000000\n\"Rules\"=\"") + rules + "\"\n";
}

TEST(TablePartnership, AGameByKeysShowsTheSidesAndNamesTheWinningSide)
{
    TTableHarness table({false, false, false, true, false}, WithRules("variant=partnership bags=ten"));
    TfrmMain& window = table.Open(2024);
    QSignalSpy over(&window, &TfrmMain::gameOver);
    auto* bids = table.Find<TExtListView>("lvwBids");
    // The person's bid goes through the real dialog, by keys.
    table.Prompts.OnBid = [&] {
        TdlgBid dialog(&window);
        QTimer::singleShot(0, &dialog, [&] {
            QTest::keyClick(dialog.focusWidget(), Qt::Key_3);
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
        });
        table.Prompts.Bids.push_back(dialog.exec() - 1);
    };
    int hands = 0;
    table.Prompts.OnScores = [&] {
        ++hands;
        const TTableState& t = window.Table();
        for (int side = 1; side <= 2; ++side) {
            const TSideTally tally = SideTally(t, side);
            EXPECT_EQ(bids->Cell(3 + side, 0), side == 1 ? "N-S" : "E-W");
            EXPECT_EQ(bids->Cell(3 + side, 2), QString::number(tally.Tricks));
            EXPECT_EQ(bids->Cell(3 + side, 3), QString::number(tally.Bags));
            EXPECT_EQ(t.Player(side).FScore, t.Player(PartnerOf(side)).FScore) << "partners carry one score";
        }
    };
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }));
    QTest::keyClick(&window, Qt::Key_F2);
    while (over.isEmpty()) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !over.isEmpty() || table.WaitingSeat() == South; }, Timeout));
        if (!over.isEmpty())
            break;
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : &window;
        QTest::keyClick(focus, Qt::Key_Right);
        QTest::keyClick(focus, Qt::Key_Return);
    }
    EXPECT_EQ(bids->RowCount(), 6);
    EXPECT_GE(hands, 2);
    const QString winner = over.at(0).at(0).toString();
    EXPECT_THAT(winner.toStdString(), AnyOf(Eq("North-South"), Eq("East-West")));
    EXPECT_EQ(table.Prompts.Notices.back().Text, winner + " has won the game.");
    const int side = winner == "North-South" ? 1 : 2;
    EXPECT_GE(window.Table().Player(side).FScore, 250);
    EXPECT_GT(window.Table().Player(side).FScore, window.Table().Player(3 - side).FScore);
}

TEST(TablePartnership, TheBidDialogOffersOnlyWhatTheBiddingVariantLeaves)
{
    TTableHarness table({false, false, false, true, false}, WithRules("bidding=mirror"));
    TfrmMain& window = table.Open(77);
    QSignalSpy scored(&window, &TfrmMain::handScored);
    unsigned offered = 0;
    QString note;
    table.Prompts.OnBid = [&] {
        offered = table.Prompts.BidChoices;
        note = table.Prompts.BidNote;
        table.Prompts.Bids.push_back(window.Table().Player(South).FSuitCount[Spades]);
    };
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South || !scored.isEmpty(); }, Timeout));
    const int spades = window.Table().Player(South).FSuitCount[Spades];
    EXPECT_EQ(offered, 1u << spades);
    EXPECT_EQ(note, "Mirror: bid your number of spades.");
    EXPECT_EQ(window.Table().Player(South).FBid, spades);
    for (int seat = North; seat <= West; ++seat)
        EXPECT_EQ(window.Table().Player(seat).FBid, window.Table().Player(seat).FSuitCount[Spades]);
    EXPECT_EQ(table.Prompts.BidChoices, EveryBid) << "the choices go with the dialog";
}

struct TBlindCase {
    const char* Name;
    bool Blind;  // the person's answer
};

class TableBlindNil : public ::testing::TestWithParam<TBlindCase> {};

TEST_P(TableBlindNil, IsChosenBeforeTheCardsAreSeen)
{
    TTableHarness table;
    TfrmMain& window = table.Open(4242);
    THandCycle::TStartPoint start;
    start.Names = {"", "North", "East", "South", "West"};
    start.Scores = {0, 0, 200, 0, 200};  // North-South 200 behind
    start.FirstSeat = South;
    start.Rules = TRuleSet{};
    ASSERT_EQ(ParseRules(*start.Rules, "variant=partnership blindnil=behind"), "");
    table.Prompts.Answers = {GetParam().Blind};
    bool faceDownWhenAsked = false;
    table.Prompts.OnAsk = [&] {
        faceDownWhenAsked = !window.Table().Player(South).FFaceUp && table.Card(South, 1).Value() == window.Table().CardBack;
    };
    window.StartFrom(start, {TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Human,
                             TSeatKind::Computer},
                     std::nullopt);
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));
    ASSERT_EQ(table.Prompts.Questions.size(), 1u);
    EXPECT_TRUE(faceDownWhenAsked);
    EXPECT_EQ(table.Prompts.BidCaptions.size(), GetParam().Blind ? 0u : 1u) << "the bid dialog only after a No";
    const TTableState& t = window.Table();
    EXPECT_EQ(t.BlindNil[South], GetParam().Blind);
    EXPECT_EQ(t.Player(South).FBid, GetParam().Blind ? 0 : table.Prompts.DefaultBid);
    EXPECT_TRUE(t.Player(South).FFaceUp) << "the cards are seen once the bid is made";
    EXPECT_NE(table.Card(South, 1).Value(), t.CardBack);
}

INSTANTIATE_TEST_SUITE_P(Answers, TableBlindNil,
                         ::testing::Values(TBlindCase{"Yes", true}, TBlindCase{"No", false}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
