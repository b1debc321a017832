// Steps back and the same deal again: the person's last card or bid taken back
// through the game, and a new game dealt as the present hand was.
#include "SpadesU.h"

#include <QTimer>

#include "LblEffct.h"
#include "PlayComfort.h"
#include "TableHistory.h"

namespace spades {

void TfrmMain::mniGameDealAgainClick()
{
    if (FGame.HandsDealt() > 0 && !JoinedTable() && !FHistory->Replaying())
        FSteps.Request(TTableRequest::DealAgain);
}

bool TfrmMain::CanUndo() const
{
    // The window's own game only: a joined table's seats are the host's to answer for.
    return !JoinedTable() && !FHistory->Replaying() && FTakeBack.Possible(FGame);
}

void TfrmMain::mniGameUndoClick()
{
    if (CanUndo())
        FSteps.Request(TTableRequest::Undo);
}

void TfrmMain::TakeBack()
{
    if (!CanUndo())
        return;
    FSteps.Supersede();  // a trick step or a seat's answer posted since is void
    TTableSteps::TScope step(FSteps);
    FComfort->TableRestoring();
    CancelSeatAnswers();
    const std::optional<TTakeBack::TUndone> undone = FTakeBack.TakeBack(FGame, *this);
    if (!undone)
        return;
    FHistory->Undone(undone->Kind == TTakeBack::TKind::Card ? undone->Value : 0);
    Timer4->stop();
    lblWaitFor->SetCaption({});
    lblWaitFor->show();
    lblWhoWon->SetCaption({});
    ClearRefusal();
    FillBidsTable();
    for (int i = 1; i <= FGame.FBidCount && i <= 4; ++i)
        UpdateBidsRow(FGame.FHandOrder[static_cast<size_t>(i)]);
    FComfort->TableRestored(false);
    // The cycle asks that seat again.
    const bool bid = undone->Kind == TTakeBack::TKind::Bid;
    FCycle.TakeUp(bid ? THandCycle::TTakeUp::Bidding : THandCycle::TTakeUp::Playing);
    FStage = {bid ? TCycleStage::Bidding : TCycleStage::Turns};
    Drive();
}

}  // namespace spades
