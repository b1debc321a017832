#include <gmock/gmock.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "CardDeck.h"
#include "JoinedTable.h"
#include "NetDialogs.h"
#include "NetTestSupport.h"
#include "Rules.h"

using namespace spades;
using namespace spades::net;
using namespace spades::net::testing;

namespace {

struct TSide {
    int Seat, Own, Side;
};
class Sides : public ::testing::TestWithParam<TSide> {};
TEST_P(Sides, PutTheJoinedSeatAtTheBottomAndTheNextOnTheLeft)
{
    EXPECT_EQ(TJoinedTable::Side(GetParam().Seat, GetParam().Own), GetParam().Side);
}
INSTANTIATE_TEST_SUITE_P(NetWindow, Sides,
                         ::testing::Values(TSide{3, 3, 0}, TSide{4, 3, 1}, TSide{1, 3, 2}, TSide{2, 3, 3},
                                           TSide{1, 1, 0}, TSide{2, 1, 1}, TSide{3, 1, 2}, TSide{4, 1, 3},
                                           TSide{1, 2, 3}, TSide{4, 4, 0}));

TEST(NetWindow, TheNetworkSubmenuShowsHostAndJoin)
{
    QWidget window;
    QMenu options;
    QMenu* network = options.addMenu("&Network");
    network->menuAction()->setVisible(false);
    AddNetworkItems(network, &window);
    EXPECT_TRUE(network->menuAction()->isVisible());
    QStringList texts;
    for (QAction* a : network->actions())
        texts << a->text();
    EXPECT_EQ(texts, QStringList({"&Host a Table...", "&Join a Table..."}));
}

TEST(NetWindow, HostingShowsWhereTheCodeAndEachSeatsState)
{
    THostTableDialog dialog;
    dialog.findChild<QComboBox*>("cbxSeat1")->setCurrentIndex(0);  // open
    dialog.findChild<QComboBox*>("cbxSeat2")->setCurrentIndex(1);  // computer
    dialog.findChild<QComboBox*>("cbxSeat3")->setCurrentIndex(2);  // expert
    dialog.findChild<QComboBox*>("cbxSeat4")->setCurrentIndex(1);
    ASSERT_TRUE(dialog.StartHosting());
    const QString code = dialog.findChild<QLabel*>("lblCode")->text();
    EXPECT_TRUE(ValidCode(code.toStdString()));
    EXPECT_GE(code.size(), 8);
    EXPECT_THAT(dialog.findChild<QLabel*>("lblWhere")->text().toStdString(),
                ::testing::HasSubstr("port " + std::to_string(dialog.Host()->Port())));
    EXPECT_FALSE(dialog.findChild<QComboBox*>("cbxSeat1")->isEnabled());
    EXPECT_THAT(dialog.SeatText(1).toStdString(), ::testing::StartsWith("open"));
    EXPECT_EQ(dialog.SeatText(2), "Computer");
    EXPECT_EQ(dialog.SeatText(3), "Expert");

    TNetClientOptions o;
    o.Port = dialog.Host()->Port();
    o.Code = code.toStdString();
    o.Name = "Ann";
    TJoined ann(o);
    ASSERT_TRUE(WaitUntil([&] { return dialog.SeatText(1) == "taken by Ann"; }, GameMs));
    ann.Client->Abort();
    ASSERT_TRUE(WaitUntil([&] { return dialog.SeatText(1).startsWith("Ann left"); }, GameMs));
}

TEST(NetWindow, TheHostsOwnSeatIsPlayedFromATableHere)
{
    THostTableDialog dialog;
    dialog.findChild<QComboBox*>("cbxSeat1")->setCurrentIndex(1);
    dialog.findChild<QComboBox*>("cbxSeat2")->setCurrentIndex(2);
    dialog.findChild<QComboBox*>("cbxSeat3")->setCurrentIndex(3);  // you, here
    dialog.findChild<QComboBox*>("cbxSeat4")->setCurrentIndex(1);
    dialog.findChild<QLineEdit*>("edtOwnName")->setText("Zoë");
    ASSERT_TRUE(dialog.StartHosting());
    ASSERT_NE(dialog.OwnTable(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return dialog.SeatText(3) == "taken by Zoë"; }, GameMs));
    // Nobody else is awaited: the game starts and asks the seat here for its bid.
    ASSERT_TRUE(WaitUntil([&] { return dialog.OwnTable()->Status() == "Your bid"; }, GameMs));
    EXPECT_EQ(dialog.OwnTable()->Client().Mirror().Seat(), 3);
}

TEST(NetWindow, HostingWithASeatHereNeedsAName)
{
    THostTableDialog dialog;
    dialog.findChild<QComboBox*>("cbxSeat1")->setCurrentIndex(3);
    dialog.findChild<QLineEdit*>("edtOwnName")->setText("  ");
    EXPECT_FALSE(dialog.StartHosting());
    EXPECT_EQ(dialog.Host(), nullptr);
    EXPECT_TRUE(dialog.findChild<QComboBox*>("cbxSeat1")->isEnabled()) << "the choices can still be changed";
}

struct TJoinInput {
    const char* Name;
    const char* Address;
    const char* Code;
    const char* Player;
    const char* Problem;  // empty: accepted
};
class JoinInput : public ::testing::TestWithParam<TJoinInput> {};
TEST_P(JoinInput, IsCheckedBeforeConnecting)
{
    TJoinTableDialog dialog;
    dialog.FAddress->setText(GetParam().Address);
    dialog.FCodeEdit->setText(GetParam().Code);
    dialog.FName->setText(QString::fromUtf8(GetParam().Player));
    QString why;
    const auto options = dialog.Options(&why);
    EXPECT_EQ(options.has_value(), std::string(GetParam().Problem).empty());
    EXPECT_THAT(why.toStdString(), ::testing::HasSubstr(GetParam().Problem));
}
INSTANTIATE_TEST_SUITE_P(NetWindow, JoinInput,
                         ::testing::Values(TJoinInput{"Complete", "10.0.0.5", "ABCDEFGH23", "Zoë", ""},
                                           TJoinInput{"NoAddress", "  ", "ABCDEFGH23", "Ann", "address"},
                                           TJoinInput{"ShortCode", "h", "ABC", "Ann", "join code"},
                                           TJoinInput{"CodeWithDash", "h", "ABCD-EFGH", "Ann", "join code"},
                                           TJoinInput{"NoName", "h", "ABCDEFGH23", "   ", "your name"}),
                         [](const auto& info) { return std::string(info.param.Name); });

// A person at a joined table plays a whole game by clicking, from South's side.
TEST(NetWindow, AJoinedTableIsPlayedByClickingAndRefusesBrokenRulesAtOnce)
{
    TNetHostOptions options;
    options.Kinds = {THostSeatKind::Classic, THostSeatKind::Classic, THostSeatKind::Remote, THostSeatKind::Classic};
    options.Seed = 71;
    THosted hosted(options);
    TJoinedTable table(hosted.Client("Ann"));
    table.show();
    TNetClient& client = table.Client();
    const TTableMirror& m = client.Mirror();
    int bids = 0, cards = 0, refusedHere = 0;
    for (int guard = 0; guard < 2000 && !hosted.Finished; ++guard) {
        if (!WaitUntil([&] { return m.PendingTurn().has_value() || hosted.Finished; }, GameMs))
            break;
        if (hosted.Finished)
            break;
        const TTurnMsg turn = *m.PendingTurn();
        if (turn.Kind == TTurnKind::Bid) {
            EXPECT_EQ(table.Status(), "Your bid");
            EXPECT_TRUE(table.findChild<QPushButton*>("btnBid")->isEnabled());
            table.findChild<QSpinBox*>("spnBid")->setValue(3);
            QTest::mouseClick(table.findChild<QPushButton*>("btnBid"), Qt::LeftButton);
            ++bids;
        } else {
            for (int seat : {North, East, West}) {
                int shown = 0;
                for (int k = 1; k <= 13; ++k)
                    shown += table.findChild<TCardDeck*>(
                                      QStringLiteral("imgBack%1_%2").arg(TJoinedTable::Side(seat, South)).arg(k))
                                 ->Visible();
                EXPECT_EQ(shown, hosted.Host->Game().Game().Table.Player(seat).FCardCount) << "seat " << seat;
            }
            const TPlayer& own = m.Player(m.Seat());
            int legal = 0, illegal = 0;
            for (int slot = 1; slot <= 13; ++slot) {
                const int card = own.FHand[static_cast<size_t>(slot)];
                if (card == NoCard)
                    continue;
                if (CheckPlay(m.Table(), own, card) == TPlayVerdict::Legal) {
                    if (legal == 0)
                        legal = slot;
                } else if (illegal == 0) {
                    illegal = slot;
                }
            }
            if (illegal != 0) {
                QTest::mouseClick(table.findChild<TCardDeck*>(QStringLiteral("imgHand%1").arg(illegal)), Qt::LeftButton);
                EXPECT_THAT(table.Status().toStdString(),
                            ::testing::AnyOf("You must follow suit", "Spades have not been opened!"));
                EXPECT_TRUE(m.PendingTurn().has_value()) << "nothing was sent";
                ++refusedHere;
            }
            ASSERT_NE(legal, 0);
            QTest::mouseClick(table.findChild<TCardDeck*>(QStringLiteral("imgHand%1").arg(legal)), Qt::LeftButton);
            ++cards;
        }
        ASSERT_TRUE(WaitUntil([&] { return !m.PendingTurn() || m.PendingTurn()->Turn != turn.Turn; }, GameMs));
    }
    ASSERT_TRUE(WaitUntil([&] { return hosted.Finished; }, GameMs));
    EXPECT_GE(bids, 1);
    EXPECT_EQ(cards, 13 * bids) << "every card of every hand was clicked";
    EXPECT_GT(refusedHere, 0);
    ASSERT_TRUE(WaitUntil([&] { return table.Status() == "The host has closed the table."; }, GameMs));
    EXPECT_NE(hosted.Log.str().find("Player 3:  Ann - Remote"), std::string::npos);
}

}  // namespace
