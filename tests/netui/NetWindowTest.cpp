#include <gmock/gmock.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "CardDeck.h"
#include "JoinedDriver.h"
#include "JoinedTable.h"
#include "NetDialogs.h"
#include "NetTestSupport.h"
#include "NetWindowFake.h"
#include "Rules.h"

using namespace spades;
using namespace spades::net;
using namespace spades::net::testing;

namespace {

struct TPlace {
    int Seat, Own, Place;
};
class Places : public ::testing::TestWithParam<TPlace> {};
TEST_P(Places, PutTheJoinedSeatInSouthsPlaceAndTheNextClockwiseInWests)
{
    EXPECT_EQ(TJoinedTable::SeatPlace(GetParam().Seat, GetParam().Own), GetParam().Place);
}
INSTANTIATE_TEST_SUITE_P(NetWindow, Places,
                         ::testing::Values(TPlace{3, 3, South}, TPlace{4, 3, West}, TPlace{1, 3, North},
                                           TPlace{2, 3, East}, TPlace{1, 1, South}, TPlace{2, 1, West},
                                           TPlace{3, 1, North}, TPlace{4, 1, East}, TPlace{2, 2, South},
                                           TPlace{3, 2, West}, TPlace{1, 2, East}, TPlace{4, 4, South},
                                           TPlace{1, 4, West}, TPlace{3, 4, East}));

TEST(NetWindow, TheNetworkSubmenuShowsHostJoinAndLeave)
{
    TFakeWindow window;
    QMenu options;
    QMenu* network = options.addMenu("&Network");
    network->menuAction()->setVisible(false);
    AddNetworkItems(network, window);
    EXPECT_TRUE(network->menuAction()->isVisible());
    QStringList texts;
    for (QAction* a : network->actions())
        texts << a->text();
    EXPECT_EQ(texts, QStringList({"&Host a Table...", "&Join a Table...", "&Leave the Table"}));
    QAction* leave = network->actions().back();
    emit network->aboutToShow();
    EXPECT_FALSE(leave->isEnabled()) << "no table joined";
    window.ShowJoinedTable(new TJoinedTable(TNetClientOptions{}, &window.Notices));
    emit network->aboutToShow();
    EXPECT_TRUE(leave->isEnabled());
    leave->trigger();
    EXPECT_EQ(window.JoinedTable(), nullptr);
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
    EXPECT_FALSE(dialog.findChild<QPushButton*>("btnRemove2")->isEnabled()) << "only a player from elsewhere";
    ann.Client->Abort();
    ASSERT_TRUE(WaitUntil([&] { return dialog.SeatText(1).startsWith("Ann left"); }, GameMs));
    QPushButton* remove = dialog.findChild<QPushButton*>("btnRemove1");
    ASSERT_TRUE(remove->isEnabled());
    remove->click();
    EXPECT_EQ(dialog.SeatText(1), "Computer") << "sent away for good";
    EXPECT_FALSE(remove->isEnabled());
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
    ASSERT_TRUE(WaitUntil([&] { return dialog.OwnTable()->BidDialog() != nullptr; }, GameMs));
    EXPECT_EQ(dialog.OwnTable()->BidDialog()->PlayerCaption(), "Zoë Bid");
    EXPECT_EQ(dialog.OwnTable()->Client().Mirror().Seat(), 3);
}

// In a window the seat here is shown in the window, the game keeps the window's
// pause and is written to its history.
TEST(NetWindow, InAWindowTheHostsSeatTakesTheWindowsTable)
{
    TFakeWindow window;
    window.Pause = 7;
    THostTableDialog dialog(&window);
    dialog.findChild<QComboBox*>("cbxSeat1")->setCurrentIndex(3);  // you, here
    for (const char* other : {"cbxSeat2", "cbxSeat3", "cbxSeat4"})
        dialog.findChild<QComboBox*>(other)->setCurrentIndex(1);
    ASSERT_TRUE(dialog.StartHosting());
    EXPECT_EQ(window.JoinedTable(), dialog.OwnTable());
    EXPECT_EQ(window.centralWidget(), dialog.OwnTable());
    EXPECT_EQ(dialog.Host()->PauseLength(), 7);
    window.Pause = 1500;
    EXPECT_EQ(dialog.Host()->PauseLength(), 1500) << "asked again at every pause";
    EXPECT_EQ(dialog.History(), nullptr) << "this window keeps no history";
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

TEST(NetWindow, TheJoinDialogOffersTheTableLastJoined)
{
    QTemporaryDir config;
    const QByteArray before = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    {
        TJoinTableDialog first;
        first.FAddress->setText(" 10.0.0.9 ");
        first.FPortBox->setValue(7600);
        first.FName->setText("Ann");
        first.accept();
    }
    TJoinTableDialog second;
    EXPECT_EQ(second.FAddress->text(), "10.0.0.9");
    EXPECT_EQ(second.FPortBox->value(), 7600);
    EXPECT_EQ(second.FName->text(), "Ann");
    EXPECT_TRUE(second.FCodeEdit->text().isEmpty()) << "a join code is asked each time";
    qputenv("XDG_CONFIG_HOME", before);
}

// A person at a joined table plays a whole game by clicking, from South's side:
// the bid in the table's bid dialog, each card on its strip of the fan.
TEST(NetWindow, AJoinedTableIsPlayedByClickingAndRefusesBrokenRulesAtOnce)
{
    TNetHostOptions options;
    options.Kinds = {TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Remote, TSeatKind::Computer};
    options.Seed = 71;
    THosted hosted(options);
    TRecordedNotices notices;
    TJoinedTable table(hosted.Client("Ann"), &notices);
    TTableLook look;
    look.MarkPlayable = true;
    table.ApplyLook(look);
    table.resize(TTableScene::Width, TTableScene::Height);
    table.show();
    TNetClient& client = table.Client();
    const TTableMirror& m = client.Mirror();
    const TSpadesGame& game = hosted.Host->Game().Game();
    int bids = 0, cards = 0, refusedHere = 0;
    for (int guard = 0; guard < 2000 && !hosted.Finished; ++guard) {
        if (!WaitUntil([&] { return m.PendingTurn().has_value() || hosted.Finished; }, GameMs))
            break;
        if (hosted.Finished)
            break;
        const TTurnMsg turn = *m.PendingTurn();
        QCoreApplication::processEvents();  // the table is drawn at the next turn of the loop
        if (turn.Kind == TTurnKind::Bid) {
            ASSERT_TRUE(WaitUntil([&] { return AnswerBid(table, 3); }, GameMs));
            ++bids;
        } else {
            // The others' fans show as many backs as they hold, and never a face.
            for (int seat : {North, East, West}) {
                int shown = 0;
                for (int k = 1; k <= 13; ++k) {
                    const TCardDeck* back = table.Scene().Card(QStringLiteral("imgPlayer%1%2").arg(seat).arg(k));
                    shown += back->Visible();
                    EXPECT_TRUE(!back->Visible() || back->Value() >= FirstBackValue);
                }
                EXPECT_EQ(shown, game.Table.Player(seat).FCardCount) << "seat " << seat;
            }
            const int illegal = SlotWhere(table, false), legal = SlotWhere(table, true);
            ASSERT_NE(legal, 0);
            EXPECT_FALSE(OwnCard(table, legal)->Shaded());
            if (illegal != 0) {
                EXPECT_TRUE(OwnCard(table, illegal)->Shaded()) << "the rules refuse it";
                const size_t before = notices.Texts.size();
                ASSERT_TRUE(ClickStrip(table, *OwnCard(table, illegal)));
                ASSERT_EQ(notices.Texts.size(), before + 1);
                EXPECT_THAT(notices.Texts.back().toStdString(),
                            ::testing::AnyOf("You must follow suit", "Spades have not been opened!"));
                EXPECT_TRUE(m.PendingTurn().has_value()) << "nothing was sent";
                ++refusedHere;
            }
            ASSERT_NE(legal, 0);
            const int value = m.Player(South).FHand[static_cast<size_t>(legal)];
            ASSERT_TRUE(ClickStrip(table, *OwnCard(table, legal)));
            const int hand = m.HandNumber();
            ASSERT_TRUE(WaitUntil(
                [&] { return m.HandNumber() != hand || m.Player(South).FHand[static_cast<size_t>(legal)] == NoCard; },
                GameMs));
            if (hosted.Host->Game().HandNumber() == hand) {
                EXPECT_TRUE(game.Table.CardsPlayed[static_cast<size_t>(value)]) << "the host took the card clicked";
            }
            ++cards;
        }
        ASSERT_TRUE(WaitUntil([&] { return !m.PendingTurn() || m.PendingTurn()->Turn != turn.Turn; }, GameMs));
    }
    ASSERT_TRUE(WaitUntil([&] { return hosted.Finished; }, GameMs));
    EXPECT_GE(bids, 1);
    EXPECT_EQ(cards, 13 * bids) << "every card of every hand was clicked";
    EXPECT_GT(refusedHere, 0);
    ASSERT_TRUE(WaitUntil([&] { return !client.Connected(); }, GameMs));
    const int winner = hosted.Host->Game().WinnerSeat();
    ASSERT_NE(winner, 0);
    EXPECT_EQ(table.Status().toStdString(), WinnerNotice(game.Table.Player(winner).FName))
        << "the winner's line outlasts the end of the connection";
    EXPECT_NE(hosted.Log.str().find("Player 3:  Ann - Remote"), std::string::npos);
    ASSERT_NE(table.ScoreCard(), nullptr) << "the last hand's scores stay up";
}

}  // namespace
