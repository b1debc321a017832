// The window and play over the network: a joined table takes the place of the
// window's own, whose game is given up as a new game gives it up, until the
// player leaves it or starts a game here again.
#include "SpadesU.h"

#include <QTimer>
#include <QToolButton>

#include "CardDeck.h"
#include "Defaults.h"
#include "ExtListView.h"
#include "JoinedTable.h"
#include "NetDialogs.h"
#include "LblEffct.h"
#include "PlayComfort.h"
#include "Sleeper.h"
#include "TableHistory.h"
#include "TableScene.h"
#include "Tilemap.h"

namespace spades {

net::TTableLook TfrmMain::Look() const
{
    net::TTableLook look;
    if (FDefaults && !FDefaults->Table().isEmpty())
        look.Surface = FDefaults->Table();
    look.CardBack = FGame.Table.CardBack;
    look.Faces = FCardFaces;
    look.MarkPlayable = FDefaults && FDefaults->MarkPlayable();
    return look;
}

int TfrmMain::PlayPause() const
{
    // The pause in force, as the table's own pauses take it.
    return FSleeper ? FSleeper->Interval() : FDefaults ? FDefaults->Delay() : 1000;
}

THistoryStore* TfrmMain::GameHistory()
{
    return FHistory->Store().IsOpen() ? &FHistory->Store() : nullptr;
}

namespace {
// A table given up: the host hears of it now, and it goes once the event that
// gave it up has returned; till then the window keeps it, hidden.
void Discard(net::TJoinedTable& table, QWidget& window)
{
    table.Client().Disconnect();
    table.setParent(&window);
    table.hide();
    table.deleteLater();
}
}  // namespace

void TfrmMain::ShowJoinedTable(net::TJoinedTable* table)
{
    if (!table)
        return;
    if (net::TJoinedTable* old = JoinedTable()) {
        takeCentralWidget();
        Discard(*old, *this);
    } else {
        // The running steps stop at their next resume point; nothing of the game stays on the table.
        FSteps.Supersede();
        FHistory->GameGivenUp();
        ClearTable();
        takeCentralWidget();
        bmpBackGround->setParent(this);  // kept, hidden, for the way back
        bmpBackGround->hide();
    }
    FPrompts->EndInforms();  // a notice of the table left is not left over the one joined
    FJoined = table;
    setCentralWidget(table);
    table->ApplyLook(Look());
    table->setFocus();
}

net::TJoinedTable* TfrmMain::JoinedTable() const
{
    return static_cast<net::TJoinedTable*>(FJoined.data());
}

void TfrmMain::LeaveJoinedTable()
{
    if (!FJoined)
        return;
    net::TJoinedTable* joined = JoinedTable();
    takeCentralWidget();
    FJoined = nullptr;
    Discard(*joined, *this);
    setCentralWidget(bmpBackGround);
    bmpBackGround->show();
}

void TfrmMain::EndNetPlay()
{
    qDeleteAll(findChildren<net::THostTableDialog*>(Qt::FindDirectChildrenOnly));
    delete FJoined.data();
}

void TfrmMain::ClearTable()
{
    CancelSeatAnswers();
    Timer4->stop();
    FComfort->SeatDisarmed();
    FScene->ForEachCard([](const TCardDeck&, TCardControl& card) {
        card.ClearClickHandler();
        card.SetVisible(false);
    });
    for (int place = 1; place <= 4; ++place)
        FGame.Table.Place(place).Clear();
    for (int seat = North; seat <= West; ++seat)
        crdStack[static_cast<size_t>(seat)]->SetVisible(false);
    lblWhoWon->SetCaption({});
    lblWaitFor->SetCaption({});
    lblWaitFor->show();
    btnInterrupt->hide();
    FillBidsTable();
    LabelEffect1->SetCaption("Press the F2 key to start a game");
    FStage = {};
}

}  // namespace spades
