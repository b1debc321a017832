// The hand cycle as the window paces it: the game's one cycle, with the table's
// pauses between cards and tricks, the person's bid dialog and clicks, the
// Expert's thinking on its worker thread, and the posted steps between tricks
// and hands. The table, the log and the history follow the cycle's events.
#include "SpadesU.h"

#include <QCoreApplication>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "CardDeck.h"
#include "ClaimCheck.h"
#include "Defaults.h"
#include "ExpertSeat.h"
#include "LblEffct.h"
#include "PlayComfort.h"
#include "RuleText.h"
#include "TableHistory.h"
#include "TableScene.h"
#include "TableScoreSheet.h"

namespace spades {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void TfrmMain::StartGame(bool sameDeal)
{
    if (FHistory->Replaying() && FHistory->GameWaiting()) {
        if (!FPrompts->Ask("Leave the replay and start a new game?\r\rThe game you were playing is then given up. "
                           "Choose No to go back to it.")) {
            FHistory->LeaveReplay();
            return;
        }
        FHistory->DropWaitingGame();
    }
    FSteps.Supersede();  // whatever the old game still has queued is void
    LabelEffect1->SetCaption({});
    ClearRefusal();
    FPrompts->EndInforms();
    // A stopped all-computer table must be able to play again.
    FGame.Table.StopRequested = false;
    std::array<TSeatKind, 5> kinds{};  // by seat, 1..4
    for (int seat = North; seat <= West; ++seat)
        kinds[static_cast<size_t>(seat)] = SeatKindFromSettings(FDefaults->GetPlayer(seat).PlayerType);
    // The same deal again: the deck as the present hand was dealt, bid first by the same seat.
    const std::array<uint8_t, 53> deal = FGame.Deck.FDeck;
    const TTurnOrder order = FGame.FHandOrder;
    FScriptedSeat.reset();
    CancelSeatAnswers();
    FCycle.NewGame(++FGamesStarted, kinds);
    if (sameDeal) {
        FGame.NextDeal = deal;
        FGame.FTurnOrder = order;
    }
    FTakeBack.Forget();
    // The stop button is shown by this: a replay before may have left it set.
    FGame.Table.AllComputer = std::none_of(kinds.begin() + 1, kinds.end(), [](TSeatKind kind) { return IsPerson(kind); });
    FScoreSheet->Clear();
    FHistory->GameStarted();
    StartHand();
}

void TfrmMain::StartFrom(const THandCycle::TStartPoint& start, const std::array<TSeatKind, 5>& kinds,
                         std::optional<TSpadesGame::TScript> script)
{
    FSteps.Supersede();
    LabelEffect1->SetCaption({});
    FGame.Table.StopRequested = false;
    FScriptedSeat.reset();
    CancelSeatAnswers();
    FCycle.NewGameFrom(++FGamesStarted, kinds, start);
    FGame.Table.AllComputer = std::none_of(kinds.begin() + 1, kinds.end(), [](TSeatKind kind) { return IsPerson(kind); });
    for (int seat = North; seat <= West; ++seat) {
        FScene->SetSeatName(seat, Text(start.Names[static_cast<size_t>(seat)]));
        if (script)
            FGame.Table.Player(seat).SetFaceUp(true);  // a replay shows every hand
    }
    if (script)
        FScriptedSeat.emplace(script->Bids, script->Plays);
    // Also what tells the Expert's thinking ahead that the record plays.
    FGame.Script = std::move(script);
    StartHand();
}

void TfrmMain::StartHand()
{
    // A hand of the window's own brings its own table back.
    LeaveJoinedTable();
    TTableSteps::TScope step(FSteps);
    ResetChecker();
    lblWhoWon->SetCaption({});
    lblWaitFor->SetCaption({});
    lblWaitFor->show();
    Timer4->stop();

    btnInterrupt->setVisible(FGame.Table.AllComputer);
    btnInterrupt->setEnabled(FGame.Table.AllComputer);
    for (int seat = North; seat <= West; ++seat)
        crdStack[static_cast<size_t>(seat)]->SetVisible(false);
    FCycle.NextHand();
    Drive();
}

TSeatController& TfrmMain::SeatFor(int seat)
{
    // Asked at every turn: the preferences may change a seat in mid-hand.
    const TPlayer& player = FGame.Table.Player(seat);
    if (player.FHuman)
        return FPersonSeat;
    if (FGame.Script && FScriptedSeat)
        return *FScriptedSeat;  // a replay plays the record
    if (player.FExpert)
        return *FExpertController;
    return FClassicSeat;
}

void TfrmMain::Drive()
{
    TTableSteps::TScope step(FSteps);
    // Turns in a row are a turn sequence, which a close may not cut short.
    struct TTurnSequence {
        TTableState& Table;
        bool Was = Table.PlayInProgress;
        bool Begun = false;
        void Begin()
        {
            Begun = true;
            Table.PlayInProgress = true;
        }
        ~TTurnSequence()
        {
            if (Begun)
                Table.PlayInProgress = Was;
        }
    } sequence{FGame.Table};
    TWait wait = FCycle.Advance();
    for (;;) {
        switch (wait.Kind) {
        case TWaitKind::Bid:
            FStage = {TCycleStage::Bidding};
            SeatFor(wait.Seat).Ask(FGame, wait, FCycle);
            break;
        case TWaitKind::Card:
            FStage = {TCycleStage::Turns};
            if (!sequence.Begun)
                sequence.Begin();
            lblWhoWon->SetCaption({});
            SeatFor(wait.Seat).Ask(FGame, wait, FCycle);
            break;
        case TWaitKind::Pause:
            if (!PacePause(wait, step))
                return;
            break;
        case TWaitKind::HandOver:
        case TWaitKind::GameOver:
        {
            const TScoreResult result = FStage.Result;
            for (const auto& notice : result.Notices) {
                FPrompts->Notice(TNoticeKind::Information, Text(notice));
                if (step.Superseded())
                    return;
            }
            ShowScoresAndGoOn(result);
            return;
        }
        case TWaitKind::Nothing:
            return;
        }
        if (step.Superseded())
            return;
        const TWait next = FCycle.Advance();
        if (next.Turn == wait.Turn)
            return;  // the answer comes later: a person's click
        wait = next;
    }
}

bool TfrmMain::PacePause(const TWait& wait, const TTableSteps::TScope& step)
{
    switch (wait.Pause) {
    case TPauseKind::Card:
        FComfort->TurnBegins(FGame.SeatToPlay(), false);  // the pause already points at who is next
        Pause();
        break;
    case TPauseKind::LastCard:
        // No pause after the fourth card: the trick is taken from the event loop.
        FStage = {TCycleStage::TrickFull};
        PostGameStep(STEP_TRICK_DONE);
        return false;
    case TPauseKind::TrickWon:
        Pause();
        if (step.Superseded())
            return false;
        FComfort->TrickTaken(wait.Seat);
        SuspendDrawing();
        QCoreApplication::processEvents();
        if (step.Superseded()) {
            ResumeDrawing();
            return false;
        }
        FCycle.Resume(wait.Turn);
        FCycle.Advance();  // the cards leave the table
        ResumeDrawing();
        return !step.Superseded();
    case TPauseKind::TrickCleared:
        FStage = {TCycleStage::TrickCleared, wait.Seat};
        Pause();
        break;
    }
    if (step.Superseded())
        return false;
    FCycle.Resume(wait.Turn);
    return true;
}

void TfrmMain::PlayTurns()
{
    Drive();
}

void TfrmMain::SeatAnswered()
{
    if (!FSeatAnswer)
        return;
    const TSeatAnswer answer = *FSeatAnswer;
    FSeatAnswer.reset();
    TTableSteps::TScope step(FSteps);
    const TWait& wait = answer.Wait;
    const TRefusal refusal = wait.Kind == TWaitKind::Bid ? FCycle.AnswerBid(wait.Seat, wait.Turn, answer.Value)
                                                         : FCycle.AnswerCard(wait.Seat, wait.Turn, answer.Value);
    if (refusal.Stale())
        return;  // that turn is over
    if (refusal)
        FClassicSeat.Ask(FGame, wait, FCycle);  // a choice the table refuses is the classic strategy's
    Drive();
}

void TfrmMain::CancelSeatAnswers()
{
    FExpertController->Cancel(0);
    FSeatAnswer.reset();
    FClaimCheck->Drop();
    ResetChecker();
}

void TfrmMain::TPersonSeat::Ask(TSpadesGame&, const TWait& wait, TSeatAnswers& answers)
{
    if (wait.Kind == TWaitKind::Bid)
        FWindow.AskPersonBid(wait, answers);
    else if (wait.Kind == TWaitKind::Card)
        FWindow.ArmPerson(wait.Seat);
}

void TfrmMain::AskPersonBid(const TWait& wait, TSeatAnswers& answers)
{
    const TTableSteps::TScope step(FSteps);
    const int seat = wait.Seat;
    TPlayer& player = FGame.Table.Player(seat);
    const unsigned allowed = AllowedBids(FGame.Table.Rules, FGame.Table, seat, FCycle.HasBid(PartnerOf(seat)));
    if (!player.FFaceUp) {
        // Cards held back for a Blind Nil: the choice comes before the cards are seen.
        const bool blind = (allowed & BlindNilBit) &&
                           FPrompts->Ask(Text(player.FName) + ", your side is at least 100 points behind.\r"
                                         "Bid Blind Nil (200 points) before seeing your cards?");
        if (step.Superseded())
            return;
        ShowHandFaceUp(seat);
        if (blind) {
            FTakeBack.Before(FGame, seat, TTakeBack::TKind::Bid);
            answers.AnswerBid(seat, wait.Turn, BlindNilBid);
            return;
        }
    }
    FPrompts->BidSuggestion = FExpertSeat->SuggestBid(FGame, seat);
    FPrompts->BidChoices = allowed & EveryBid;
    FPrompts->BidNote = Text(BiddingNote(FGame.Table.Rules));
    const int result = FPrompts->AskBid(Text(player.FName) + " Bid");
    FPrompts->BidSuggestion = nullptr;
    FPrompts->BidChoices = EveryBid;
    FPrompts->BidNote.clear();
    if (step.Superseded())
        return;
    FTakeBack.Before(FGame, seat, TTakeBack::TKind::Bid);
    answers.AnswerBid(seat, wait.Turn, std::clamp(result - 1, 0, 13));
}

void TfrmMain::ShowHandFaceUp(int seat)
{
    TPlayer& player = FGame.Table.Player(seat);
    if (player.FFaceUp)
        return;
    player.SetFaceUp(true);
    player.RefreshCards("imgPlayer" + std::to_string(seat));
}

void TfrmMain::ArmPerson(int seat)
{
    lblWaitFor->SetCaption("Waiting for " + Text(FGame.Table.Player(seat).FName));
    Timer4->start();
    ArmSeat(seat);
    FComfort->SeatArmed(seat, [this](TCardDeck& card) { CardClick(card); });
    if (!FHistory->Replaying())
        FClaimCheck->Check(FGame, seat, FCycle.Waiting().Turn);
}

void TfrmMain::ArmSeat(int seat)
{
    const TPlayer& player = FGame.Table.Player(seat);
    for (int slot = 1; slot <= 13; ++slot) {
        if (player.FHand[static_cast<size_t>(slot)] == NoCard)
            continue;
        TCardDeck* card = CardDeck(QString("imgPlayer%1%2").arg(seat).arg(slot));
        if (!card) {
            FPrompts->Notice(TNoticeKind::Error, "Bad stuff trying to set OnClick event.");
            continue;
        }
        card->SetClickHandler([this](TCardDeck& clicked) { CardClick(clicked); });
    }
}

void TfrmMain::CardClick(TCardDeck& card)
{
    TTableSteps::TScope step(FSteps);
    const QString name = card.objectName();
    const int seat = name.mid(9, 1).toInt();
    const int slot = name.mid(10).toInt();
    // Only the seat whose turn it is has armed cards; anything else is stale.
    const TWait wait = FCycle.Waiting();
    if (wait.Kind != TWaitKind::Card || seat != wait.Seat || slot < 1 || slot > 13)
        return;
    SuspendDrawing();
    const TRefusal refusal = FCycle.AnswerSlot(seat, wait.Turn, slot);
    ResumeDrawing();
    if (refusal.Stale())
        return;
    if (refusal) {
        const QString text = Text(std::string(refusal.Text()));
        if (FDefaults && FDefaults->RefusalsOnTable()) {
            FScene->SetNotice(text);
            FRefusalShown = true;
            return;
        }
        FPrompts->Notice(TNoticeKind::Error, text);
        // The pointer may have left the card while the message was up.
        if (!step.Superseded())
            FComfort->Hover().Recheck();
        return;
    }
    Timer4->stop();
    lblWaitFor->SetCaption({});
    lblWaitFor->show();
    FComfort->TurnBegins(FGame.TrickFull() ? 0 : FGame.SeatToPlay(), false);
    Pause();
    if (step.Superseded())
        return;
    // After the fourth card the trick is taken from the event loop, without another pause.
    const TWait& paused = FCycle.Waiting();
    if (paused.Kind == TWaitKind::Pause && paused.Pause == TPauseKind::Card)
        FCycle.Resume(paused.Turn);
    PlayTurns();
}

// ---- What the table shows as the game goes ----------------------------------------------------------

void TfrmMain::HandDealt(const TSpadesGame&, int)
{
    // A person who may bid Blind Nil sees the cards only after choosing.
    for (int seat = North; seat <= West; ++seat) {
        TPlayer& player = FGame.Table.Player(seat);
        if (IsHuman(seat) && player.FFaceUp && !FHistory->Replaying() &&
            (AllowedBids(FGame.Table.Rules, FGame.Table, seat, false) & BlindNilBit)) {
            player.SetFaceUp(false);
            player.RefreshCards("imgPlayer" + std::to_string(seat));
        }
    }
    FillBidsTable();
    FComfort->HandDealt();
}

void TfrmMain::TurnBegins(const TSpadesGame&, const TWait& wait)
{
    FComfort->TurnBegins(wait.Seat, wait.Kind == TWaitKind::Bid);
}

void TfrmMain::BidMade(const TSpadesGame&, int seat) { UpdateBidsRow(seat); }

void TfrmMain::CardChosen(const TSpadesGame&, int seat, int card)
{
    if (!IsHuman(seat))
        return;
    // The person's card, before it leaves the hand: the fan is plain again, and
    // the game as it stands is kept to be taken back to.
    FComfort->SeatDisarmed();
    FClaimCheck->Drop();
    ClearRefusal();
    CheckCard(seat, card);
    FTakeBack.Before(FGame, seat, TTakeBack::TKind::Card);
}

void TfrmMain::TrickWon(const TSpadesGame&, int winner)
{
    FStage = {TCycleStage::TrickWon, winner};
    lblWhoWon->SetCaption(FScene->WinnerCaption(winner));
    FComfort->TrickWon(winner);
    UpdateBidsRow(winner);
}

void TfrmMain::TrickCleared(const TSpadesGame&, int winner)
{
    crdStack[static_cast<size_t>(winner)]->SetVisible(true);
}

void TfrmMain::HandEnded(const TSpadesGame&)
{
    lblWhoWon->SetCaption({});
    CheckHand();
}

void TfrmMain::HandScored(const TSpadesGame&, const TScoreResult& result)
{
    FStage = {TCycleStage::Scored, 0, result};
    if (!FHistory->Replaying())
        FScoreSheet->HandScored(FGame.Table);
}

}  // namespace spades
