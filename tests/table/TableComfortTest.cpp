// Playing comfort on the real window: the lifted card is the card a click plays,
// refused cards are shaded by the rules, a whole hand goes by keyboard alone,
// and the last trick shows while its pile or key is held.
#include <gmock/gmock.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTimer>

#include "AboutBox.h"
#include "BidDialog.h"
#include "HelpViewer.h"
#include "ScoreDialog.h"
#include "CardHover.h"
#include "CardMotion.h"
#include "LastTrick.h"
#include "PlayComfort.h"
#include "TableAccessibility.h"
#include "TableHarness.h"
#include "TableScene.h"
#include "Tilemap.h"

using namespace spades;
using namespace spades::testing;

namespace {

constexpr int Timeout = 20000;

// Where the pointer finds a card of the fan: in its own strip, half-way down.
QPoint StripPoint(TfrmMain& window, const TCardDeck& card, bool last)
{
    const QRect home = window.Scene().TableRect(card);
    const QPointF table(home.left() + (last ? 40 : 7), home.top() + 48);
    return window.Scene().ToWindow(table).toPoint();
}

std::vector<TCardDeck*> HeldCards(TTableHarness& table, int seat)
{
    std::vector<TCardDeck*> cards;
    const TPlayer& player = table.Window->Game().Table.Player(seat);
    for (int slot = 1; slot <= 13; ++slot)
        if (player.FHand[static_cast<size_t>(slot)] != NoCard)
            cards.push_back(&table.Card(seat, slot));
    return cards;
}

// Counts the pointer's presses and releases anywhere in the program.
class TEventCounter : public QObject {
public:
    explicit TEventCounter(int& count) : FCount(count) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease)
            ++FCount;
        return false;
    }

private:
    int& FCount;
};

// ---- Hover and click --------------------------------------------------------------------------------

struct THoverCase {
    const char* Name;
    uint32_t Seed;
    bool ClickLastLegal;  // else the first legal card of the fan
};

class TableHover : public ::testing::TestWithParam<THoverCase> {};

TEST_P(TableHover, TheLiftedCardIsTheOneAClickPlays)
{
    TTableHarness table;
    TfrmMain& window = table.Open(GetParam().Seed);
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));
    // The deal has fanned out.
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Comfort().Motion().Running() == 0; }, Timeout));
    QWidget& surface = window.Scene().Surface();
    const std::vector<TCardDeck*> fan = HeldCards(table, South);
    ASSERT_EQ(fan.size(), 13u);
    const int lift = static_cast<int>(std::lround(TCardHover::Lift * window.Scene().Scale()));

    // Every card lifts when the pointer is over it, and only that one; a shaded card stays down.
    for (size_t i = 0; i < fan.size(); ++i) {
        QTest::mouseMove(&surface, StripPoint(window, *fan[i], i + 1 == fan.size()));
        const bool lifts = !fan[i]->Shaded();
        ASSERT_EQ(window.Comfort().Hover().Lifted(), lifts ? fan[i] : nullptr) << "card " << i;
        EXPECT_EQ(fan[i]->geometry().top(),
                  window.Scene().ToWindow(window.Scene().TableRect(*fan[i])).top() - (lifts ? lift : 0));
        for (size_t other = 0; other < fan.size(); ++other)
            if (other != i) {
                EXPECT_EQ(fan[other]->geometry(), window.Scene().ToWindow(window.Scene().TableRect(*fan[other])));
            }
    }

    // Point at a legal card and click where the pointer is: that card goes to the table.
    std::vector<size_t> legal;
    for (size_t i = 0; i < fan.size(); ++i)
        if (window.Game().CheckPersonCard(South, fan[i]->objectName().mid(10).toInt()) == TPlayVerdict::Legal)
            legal.push_back(i);
    ASSERT_FALSE(legal.empty());
    const size_t chosen = GetParam().ClickLastLegal ? legal.back() : legal.front();
    const QPoint point = StripPoint(window, *fan[chosen], chosen + 1 == fan.size());
    QTest::mouseMove(&surface, point);
    ASSERT_EQ(window.Comfort().Hover().Lifted(), fan[chosen]);
    const int value = fan[chosen]->Value();
    const int place = window.Game().Table.FirstEmptyPlace();
    QWidget* target = surface.childAt(point);
    ASSERT_NE(target, nullptr);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&surface, point));
    EXPECT_EQ(window.Game().Table.Place(place).FValue, value);
    EXPECT_EQ(window.Game().Table.Place(place).FSeat, South);
    EXPECT_TRUE(table.Prompts.Notices.empty());
}

INSTANTIATE_TEST_SUITE_P(Fans, TableHover,
                         ::testing::Values(THoverCase{"FirstLegal", 7, false}, THoverCase{"LastLegal", 7, true},
                                           THoverCase{"OtherDealFirst", 31337, false},
                                           THoverCase{"OtherDealLast", 31337, true}),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- Shaded cards follow the rules -----------------------------------------------------------------

struct TShadeCase {
    const char* Name;
    std::vector<int> Hand;       // South's cards, in slot order
    int Led;                     // the card on place 1, or 0 when South leads
    bool SpadesBroken;
    bool Mark;                   // the preference
    std::vector<bool> Playable;  // what the rules take, card by card
    const char* Refusal;         // the message a refused card gives
};

class TableShade : public ::testing::TestWithParam<TShadeCase> {};

TEST_P(TableShade, RefusedCardsAreShadedAndStillRefused)
{
    const TShadeCase& c = GetParam();
    QByteArray options = "\"Speed\"=\"Bullet\"\n\"MusicOn\"=dword:00000000\n";
    if (!c.Mark)
        options += "\"Mark Playable\"=dword:00000000\n";
    TTableHarness table({false, false, false, true, false}, options);
    TfrmMain& window = table.Open(5);
    window.Steps().Request(TTableRequest::NewGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, Timeout));

    // South's hand and the trick become the case's.
    TSpadesGame& game = window.Game();
    TPlayer& south = game.Table.Player(South);
    south.FSuitCount = {};
    for (int slot = 1; slot <= 13; ++slot) {
        const size_t index = static_cast<size_t>(slot - 1);
        const int card = index < c.Hand.size() ? c.Hand[index] : NoCard;
        south.FHand[static_cast<size_t>(slot)] = card;
        if (card != NoCard)
            ++south.FSuitCount[static_cast<size_t>(CardSuit(static_cast<uint8_t>(card)))];
        else
            table.Card(South, slot).SetVisible(false);
    }
    south.FCardCount = static_cast<int>(c.Hand.size());
    south.RefreshCards("imgPlayer3");
    for (int place = 1; place <= 4; ++place)
        game.Table.Place(place).Clear();
    if (c.Led) {
        game.Table.Place(1).SetValue(c.Led);
        game.Table.Place(1).SetSeat(West);
    }
    game.Table.SpadesBroken = c.SpadesBroken;
    window.Comfort().SeatArmed(South, [&](TCardDeck& card) { window.CardClick(card); });

    for (size_t i = 0; i < c.Hand.size(); ++i) {
        TCardDeck& card = table.Card(South, static_cast<int>(i) + 1);
        EXPECT_EQ(card.Shaded(), c.Mark && !c.Playable[i]) << "card " << c.Hand[i];
        // The pointer on its strip lifts a playable card, never a shaded one.
        QTest::mouseMove(&card, QPoint(4, card.height() / 2));
        EXPECT_EQ(window.Comfort().Hover().Lifted() == &card, !card.Shaded()) << "card " << c.Hand[i];
    }
    // The option, changed while the fan waits, shades or clears it at once.
    const bool animate = window.GameDefaults()->AnimateCards();
    window.Comfort().SetOptions(!c.Mark, animate);
    for (size_t i = 0; i < c.Hand.size(); ++i)
        EXPECT_EQ(table.Card(South, static_cast<int>(i) + 1).Shaded(), !c.Mark && !c.Playable[i]);
    window.Comfort().SetOptions(c.Mark, animate);
    // A refused card, shaded or not, gives the rules' message and stays in the hand.
    for (size_t i = 0; i < c.Hand.size(); ++i) {
        if (c.Playable[i])
            continue;
        TCardDeck& card = table.Card(South, static_cast<int>(i) + 1);
        window.Comfort().Hover().LiftCard(&card);
        ASSERT_TRUE(window.Comfort().Hover().PlayLifted());
        ASSERT_FALSE(table.Prompts.Notices.empty());
        EXPECT_EQ(table.Prompts.Notices.back().Text, c.Refusal);
        EXPECT_EQ(south.FHand[i + 1], c.Hand[i]);
    }
}

// Spades 1..13, hearts 14..26, clubs 27..39, diamonds 40..52; the Ace is 1 in each.
INSTANTIATE_TEST_SUITE_P(
    Rules, TableShade,
    ::testing::Values(
        TShadeCase{"LeadSpadesClosed", {5, 13, 15, 29}, 0, false, true, {false, false, true, true},
                   "Spades have not been opened!"},
        TShadeCase{"LeadSpadesBroken", {5, 13, 15, 29}, 0, true, true, {true, true, true, true}, ""},
        TShadeCase{"LeadOnlySpades", {5, 13}, 0, false, true, {true, true}, ""},
        TShadeCase{"FollowLedSuitHeld", {5, 15, 26, 29}, 20, false, true, {false, true, true, false},
                   "You must follow suit"},
        TShadeCase{"FollowLedSuitHeldSpadesBroken", {1, 15, 30}, 29, true, true, {false, false, true},
                   "You must follow suit"},
        TShadeCase{"FollowVoidMayTrump", {5, 29, 48}, 20, false, true, {true, true, true}, ""},
        TShadeCase{"MarkingOffShadesNothing", {5, 13, 15, 29}, 0, false, false, {false, false, true, true},
                   "Spades have not been opened!"}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- Keyboard alone ----------------------------------------------------------------------------------

struct TBidKeysCase {
    const char* Name;
    std::vector<int> Keys;
    int Bid;
};

class BidByKeys : public ::testing::TestWithParam<TBidKeysCase> {};

TEST_P(BidByKeys, DigitsAndNChooseEnterConfirms)
{
    TdlgBid dialog;
    dialog.SetPlayerCaption("South Bid");
    QTimer::singleShot(0, &dialog, [&] {
        QWidget* focus = dialog.focusWidget() ? dialog.focusWidget() : &dialog;
        for (int key : GetParam().Keys)
            QTest::keyClick(focus, static_cast<Qt::Key>(key));
        QTest::keyClick(focus, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.exec(), GetParam().Bid + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, BidByKeys,
    ::testing::Values(TBidKeysCase{"EnterAlone", {}, 1}, TBidKeysCase{"Seven", {Qt::Key_7}, 7},
                      TBidKeysCase{"N", {Qt::Key_N}, 0}, TBidKeysCase{"Zero", {Qt::Key_0}, 0},
                      TBidKeysCase{"OneThree", {Qt::Key_1, Qt::Key_3}, 13},
                      TBidKeysCase{"OneZero", {Qt::Key_1, Qt::Key_0}, 10},
                      TBidKeysCase{"OneFour", {Qt::Key_1, Qt::Key_4}, 4},
                      TBidKeysCase{"NineThenN", {Qt::Key_9, Qt::Key_N}, 0},
                      TBidKeysCase{"ArrowUp", {Qt::Key_Up}, 2}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TKeyPlayCase {
    const char* Name;
    Qt::Key Step;
    Qt::Key Play;
};

class TableKeyboard : public ::testing::TestWithParam<TKeyPlayCase> {};

TEST_P(TableKeyboard, AWholeHandIsBidAndPlayedWithKeysAlone)
{
    TTableHarness table;
    TfrmMain& window = table.Open(2024);
    QSignalSpy scored(&window, &TfrmMain::handScored);
    int pointerEvents = 0;
    TEventCounter counter(pointerEvents);
    qApp->installEventFilter(&counter);
    // The person's bid goes through the real dialog, by keys.
    table.Prompts.OnBid = [&] {
        TdlgBid dialog(&window);
        QTimer::singleShot(0, &dialog, [&] {
            QTest::keyClick(dialog.focusWidget(), Qt::Key_4);
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
        });
        table.Prompts.Bids.push_back(dialog.exec() - 1);
    };
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }));
    QTest::keyClick(&window, Qt::Key_F2);
    int plays = 0;
    while (scored.isEmpty()) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !scored.isEmpty() || table.WaitingSeat() == South; }, Timeout));
        if (!scored.isEmpty())
            break;
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : &window;
        const int held = window.Game().Table.Player(South).FCardCount;
        QTest::keyClick(focus, GetParam().Step);
        ASSERT_NE(window.Comfort().Hover().Lifted(), nullptr);
        EXPECT_TRUE(window.Comfort().Hover().Lifted()->Outlined());
        QTest::keyClick(focus, GetParam().Play);
        ASSERT_EQ(window.Game().Table.Player(South).FCardCount, held - 1) << "play " << plays;
        ++plays;
    }
    qApp->removeEventFilter(&counter);
    EXPECT_EQ(plays, 13);
    EXPECT_EQ(window.Table().Player(South).FBid, 4);
    EXPECT_TRUE(table.Prompts.Notices.empty());
    EXPECT_EQ(pointerEvents, 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, TableKeyboard,
                         ::testing::Values(TKeyPlayCase{"RightEnter", Qt::Key_Right, Qt::Key_Return},
                                           TKeyPlayCase{"LeftSpace", Qt::Key_Left, Qt::Key_Space}),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- The last trick --------------------------------------------------------------------------------------

struct TLastTrickCase {
    const char* Name;
    bool ByKey;
};

class TableLastTrick : public ::testing::TestWithParam<TLastTrickCase> {};

TEST_P(TableLastTrick, ShowsWhileHeld)
{
    TTableHarness table(AllComputer);
    TfrmMain& window = table.Open(77);
    std::array<int, 4> trick{};
    TSpadesGame& game = window.Game();
    window.Steps().Request(TTableRequest::NewGame);
    // Catch the first trick as it lies complete.
    ASSERT_TRUE(QTest::qWaitFor([&] { return game.TrickFull(); }, Timeout));
    for (int place = 1; place <= 4; ++place)
        trick[static_cast<size_t>(place - 1)] = game.Table.Place(place).FValue;
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Comfort().LastTrick().HasTrick(); }, Timeout));
    window.Table().StopRequested = true;  // the table rests after the next trick
    int winnerPile = 0;
    for (int seat = North; seat <= West; ++seat)
        if (window.Scene().Pile(seat).Visible() || window.Table().Player(seat).FTricks > 0)
            winnerPile = seat;
    ASSERT_NE(winnerPile, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Scene().Pile(winnerPile).Visible(); }, Timeout));

    TLastTrick& last = window.Comfort().LastTrick();
    TCardDeck& pile = window.Scene().Pile(winnerPile);
    QWidget& surface = window.Scene().Surface();
    if (GetParam().ByKey)
        QTest::keyPress(&surface, Qt::Key_L);
    else
        QTest::mousePress(&pile, Qt::LeftButton, {}, QPoint(3, 3));
    ASSERT_TRUE(last.Showing());
    for (int place = 1; place <= 4; ++place) {
        EXPECT_TRUE(last.ShownCard(place).Visible());
        EXPECT_TRUE(last.ShownCard(place).isVisible());
    }
    // The trick then on show is the last completed one, which is at least the first.
    const int tricks = [&] {
        int sum = 0;
        for (int seat = North; seat <= West; ++seat)
            sum += window.Table().Player(seat).FTricks;
        return sum;
    }();
    if (tricks == 1) {
        for (int place = 1; place <= 4; ++place)
            EXPECT_EQ(last.ShownCard(place).Value(), trick[static_cast<size_t>(place - 1)]);
    }
    if (GetParam().ByKey)
        QTest::keyRelease(&surface, Qt::Key_L);
    else
        QTest::mouseRelease(&pile, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_FALSE(last.Showing());
    for (int place = 1; place <= 4; ++place)
        EXPECT_FALSE(last.ShownCard(place).isVisible());
}

INSTANTIATE_TEST_SUITE_P(Ways, TableLastTrick,
                         ::testing::Values(TLastTrickCase{"PilePressed", false}, TLastTrickCase{"KeyL", true}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace

namespace {

// ---- Every window closes from the keyboard ----------------------------------------------------------------

struct TEscapeCase {
    const char* Name;
    std::function<std::unique_ptr<QWidget>()> Make;
};

class EscapeCloses : public ::testing::TestWithParam<TEscapeCase> {};

TEST_P(EscapeCloses, TheWindow)
{
    std::unique_ptr<QWidget> window = GetParam().Make();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == window.get(); }));
    QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
    QTest::keyClick(focus, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 2000));
}

INSTANTIATE_TEST_SUITE_P(
    Windows, EscapeCloses,
    ::testing::Values(TEscapeCase{"ScoreCard", [] { return std::unique_ptr<QWidget>(new TdlgScores); }},
                      TEscapeCase{"About", [] { return std::unique_ptr<QWidget>(new TAboutBox); }},
                      TEscapeCase{"Manual", [] { return std::unique_ptr<QWidget>(new THelpViewer); }}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace

namespace {

// ---- The menu from the keyboard ------------------------------------------------------------------------------

struct TMenuKeyCase {
    const char* Name;
    Qt::Key Key;
    Qt::KeyboardModifiers Modifiers;
    const char* Menu;
};

class MenuByKeys : public ::testing::TestWithParam<TMenuKeyCase> {};

TEST_P(MenuByKeys, OpensAndEscapeClosesIt)
{
    TTableHarness table;
    TfrmMain& window = table.Open();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }));
    QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : &window;
    QTest::keyClick(focus, GetParam().Key, GetParam().Modifiers);
    QMenu* menu = window.findChild<QMenu*>(GetParam().Menu);
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
    QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !menu->isVisible(); }, 2000));
}

INSTANTIATE_TEST_SUITE_P(Keys, MenuByKeys,
                         ::testing::Values(TMenuKeyCase{"F10", Qt::Key_F10, Qt::NoModifier, "mniGame"},
                                           TMenuKeyCase{"AltG", Qt::Key_G, Qt::AltModifier, "mniGame"},
                                           TMenuKeyCase{"AltO", Qt::Key_O, Qt::AltModifier, "mniOptions"},
                                           TMenuKeyCase{"AltH", Qt::Key_H, Qt::AltModifier, "mniHelp"}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
