// Back to a game the table left for a while (to watch a recorded hand): the
// table as it stood, and the hand cycle going on from the step it had reached.
#include "SpadesU.h"

#include <QTimer>
#include <QToolButton>

#include "CardDeck.h"
#include "ExtListView.h"
#include "LblEffct.h"
#include "PlayComfort.h"
#include "TableScene.h"

namespace spades {

TTableMoment TfrmMain::Moment() const { return {TakeSnapshot(FGame), FStage}; }

void TfrmMain::ReturnTo(const TTableMoment& moment)
{
    FSteps.Supersede();
    LeaveJoinedTable();
    TTableSteps::TScope step(FSteps);
    FComfort->TableRestored();
    CancelSeatAnswers();
    RestoreSnapshot(FGame, *this, moment.Game);
    FStage = moment.Point;
    const TCycleStage stage = FStage.Stage;

    for (int seat = North; seat <= West; ++seat) {
        const TPlayer& player = FGame.Table.Player(seat);
        FScene->SetSeatName(seat, QString::fromStdString(player.FName));
        crdStack[static_cast<size_t>(seat)]->SetVisible(player.FTricks > 0);
    }
    FillBidsTable();
    for (int i = 1; i <= FGame.FBidCount && i <= 4; ++i)
        UpdateBidsRow(FGame.FHandOrder[static_cast<size_t>(i)]);
    Timer4->stop();
    lblWaitFor->SetCaption({});
    lblWaitFor->show();
    lblWhoWon->SetCaption(stage == TCycleStage::TrickWon ? FScene->WinnerCaption(FStage.Winner) : QString());
    const bool resting = stage == TCycleStage::Rest || stage == TCycleStage::Stopped || stage == TCycleStage::Over;
    LabelEffect1->SetCaption(resting ? QStringLiteral("Press the F2 key to start a game") : QString());
    // The stop button is only ever an all-computer game's.
    btnInterrupt->setVisible(FGame.Table.AllComputer && !resting);
    btnInterrupt->setEnabled(FGame.Table.AllComputer && !resting);

    using TTakeUp = THandCycle::TTakeUp;
    switch (stage) {
    case TCycleStage::Bidding:
        FCycle.TakeUp(TTakeUp::Bidding);
        Drive();
        break;
    case TCycleStage::Turns:
        FCycle.TakeUp(TTakeUp::Playing);
        Drive();
        break;
    case TCycleStage::TrickFull:
    case TCycleStage::Stopped:
        FCycle.TakeUp(TTakeUp::TrickFull, FGame.Table.Place(4).FSeat);
        if (stage == TCycleStage::TrickFull)
            PostGameStep(STEP_TRICK_DONE);
        break;
    case TCycleStage::TrickWon:
        // The trick is seen once more before it goes.
        FCycle.TakeUp(TTakeUp::TrickWon, FStage.Winner);
        Drive();
        break;
    case TCycleStage::TrickCleared:
        FCycle.TakeUp(TTakeUp::TrickCleared, FStage.Winner);
        FCycle.Resume(FCycle.Waiting().Turn);
        Drive();
        break;
    case TCycleStage::Scored: {
        const TScoreResult result = FStage.Result;
        FCycle.TakeUp(result.WinnerSeat ? TTakeUp::GameOver : TTakeUp::HandOver, result.WinnerSeat);
        ShowScoresAndGoOn(result);
        break;
    }
    case TCycleStage::NextHand:
        FCycle.TakeUp(TTakeUp::HandOver);
        PostGameStep(STEP_NEXT_HAND);
        break;
    case TCycleStage::Over:
        FCycle.TakeUp(TTakeUp::GameOver);
        break;
    case TCycleStage::Rest:
        break;
    }
}

}  // namespace spades
