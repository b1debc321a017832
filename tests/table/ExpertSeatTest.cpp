// Expert seats on the real window: decisions on a worker thread while the
// window repaints, the hint at a person's turn, the bid dialog's suggestion.
#include <gmock/gmock.h>

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>

#include "BidDialog.h"
#include "Expert.h"
#include "CardHover.h"
#include "ExpertSeat.h"
#include "PlayComfort.h"
#include "TableHarness.h"

using namespace spades;
using namespace spades::testing;

namespace {

constexpr int Timeout = 60000;

// Counts the paint events the window gets while the table waits for the Expert.
class TPaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && Deciding)
            ++Paints;
        return false;
    }
    bool Deciding = false;
    int Paints = 0;
};

TEST(ExpertSeat, PlaysAHandWhileTheWindowRepaints)
{
    TTableHarness table;
    table.WriteSettings(SeatSettings({"", "Computer", "Computer", "Expert", "Computer"}));
    TfrmMain& window = table.Open(2468);
    ASSERT_TRUE(window.Table().Player(South).FExpert);
    ASSERT_FALSE(window.Table().Player(South).FHuman);

    TPaintCounter counter;
    qApp->installEventFilter(&counter);
    int waits = 0;
    QObject::connect(&window.ExpertSeat(), &TExpertSeat::waiting, &window, [&] {
        ++waits;
        counter.Deciding = true;
        window.update();  // something to draw while the worker thinks
    });
    QObject::connect(&window.ExpertSeat(), &TExpertSeat::answered, &window, [&] { counter.Deciding = false; });

    QSignalSpy scored(&window, &TfrmMain::handScored);
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(scored.wait(Timeout));
    qApp->removeEventFilter(&counter);

    const TPlayer& south = window.Table().Player(South);
    EXPECT_EQ(south.FCardCount, 0) << "the Expert played its thirteen cards";
    EXPECT_GE(south.FBid, 0);
    EXPECT_LE(south.FBid, 13);
    EXPECT_GE(window.ExpertSeat().Started(), 14);  // its bid and its cards
    EXPECT_GT(waits, 0);
    EXPECT_GT(counter.Paints, 0) << "the window repainted while the Expert thought";
    EXPECT_TRUE(table.Prompts.BidCaptions.isEmpty()) << "nobody was asked";
}

TEST(ExpertSeat, NewGameDuringADecisionAbandonsItCleanly)
{
    TTableHarness table;
    table.WriteSettings(SeatSettings({"", "Expert", "Expert", "Expert", "Expert"}));
    TfrmMain& window = table.Open(97);
    int news = 0;
    QObject::connect(&window.ExpertSeat(), &TExpertSeat::waiting, &window, [&] {
        if (news < 3) {
            ++news;
            window.Steps().Request(TTableRequest::NewGame);
        }
    });
    QSignalSpy scored(&window, &TfrmMain::handScored);
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(scored.wait(Timeout));
    EXPECT_EQ(news, 3);
    int cards = 0;
    for (int seat = North; seat <= West; ++seat)
        cards += window.Table().Player(seat).FCardCount;
    EXPECT_EQ(cards, 0) << "the last game's hand was played out whole";
    EXPECT_EQ(window.Game().FPlayCount, 52);
}

TEST(ExpertSeat, HintLiftsTheExpertsCardAndPlaysNothing)
{
    TTableHarness table;  // South is a person
    TfrmMain& window = table.Open(1357);
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));

    const TPlayer& south = window.Table().Player(South);
    const int plays = window.Game().FPlayCount;
    auto* hint = table.Find<QAction>("mniGameHint");
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->shortcut(), QKeySequence(Qt::Key_H));
    hint->trigger();
    int lifted = 0;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (int slot = 1; slot <= 13; ++slot)
                if (south.FHand[static_cast<size_t>(slot)] != NoCard &&
                    window.Comfort().Hover().Lifted() == &table.Card(South, slot))
                    lifted = slot;
            return lifted != 0;
        },
        Timeout));
    EXPECT_EQ(window.Game().FPlayCount, plays) << "the hint never plays for the person";
    EXPECT_EQ(window.Game().CheckPersonCard(South, lifted), TPlayVerdict::Legal);
    EXPECT_EQ(table.WaitingSeat(), South);
    // Asking again does not lift it further.
    hint->trigger();
    QTest::qWait(200);
    EXPECT_EQ(window.Comfort().Hover().Lifted(), &table.Card(South, lifted));
    EXPECT_EQ(table.Card(South, lifted).Outline(), TCardDeck::TOutline::Hint) << "told apart from the keyboard's mark";

    // The very card the Expert would play there.
    TExpertPlayer expert;
    EXPECT_EQ(expert.ChooseCard(ViewOf(window.Game(), South)), south.FHand[static_cast<size_t>(lifted)]);
}

TEST(ExpertSeat, PersonsBidComesWithTheExpertsSuggestion)
{
    TTableHarness table;
    TfrmMain& window = table.Open(8080);
    std::vector<int> suggested, expected;
    table.Prompts.OnBid = [&] {
        ASSERT_TRUE(table.Prompts.BidSuggestion);
        suggested.push_back(table.Prompts.BidSuggestion());
        expected.push_back(TExpertPlayer().ChooseBid(ViewOf(window.Game(), South)));
    };
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() != 0 || !suggested.empty(); }, Timeout));
    ASSERT_EQ(suggested.size(), 1u);
    EXPECT_EQ(suggested, expected);
    EXPECT_FALSE(table.Prompts.BidSuggestion) << "only while the bid is asked";
}

struct TSuggestCase {
    const char* name;
    int suggestion;
};

class BidDialogSuggest : public ::testing::TestWithParam<TSuggestCase> {};

TEST_P(BidDialogSuggest, SetsTheSpinEditAndLeavesOkToThePerson)
{
    TdlgBid dialog;
    EXPECT_FALSE(dialog.SuggestBtn()->isVisibleTo(&dialog)) << "no button without a suggestion";
    dialog.SetSuggestion([&] { return GetParam().suggestion; });
    EXPECT_TRUE(dialog.SuggestBtn()->isVisibleTo(&dialog));
    EXPECT_EQ(dialog.SuggestBtn()->text(), "Suggest");
    dialog.show();
    QTest::mouseClick(dialog.SuggestBtn(), Qt::LeftButton);
    EXPECT_EQ(dialog.edtBid()->value(), GetParam().suggestion);
    EXPECT_TRUE(dialog.Button(GetParam().suggestion)->isChecked());
    EXPECT_TRUE(dialog.isVisible()) << "the bid is still the person's to confirm";
    QTest::mouseClick(dialog.OKBtn(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), GetParam().suggestion + 1);
}

INSTANTIATE_TEST_SUITE_P(Bids, BidDialogSuggest,
                         ::testing::Values(TSuggestCase{"Nil", 0}, TSuggestCase{"Four", 4},
                                           TSuggestCase{"Thirteen", 13}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
