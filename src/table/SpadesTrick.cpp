// The end of each trick: its winner, the cards to the winner's pile, and after
// the last trick the hand's score and either the next hand or the game's winner.
#include "SpadesU.h"

#include <QCoreApplication>
#include <algorithm>
#include <QToolButton>

#include "CardDeck.h"
#include "LblEffct.h"
#include "PlayComfort.h"
#include "TableHistory.h"
#include "TableScene.h"
#include "TableScoreSheet.h"

namespace spades {

namespace {

constexpr const char* StartPrompt = "Press the F2 key to start a game";

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The seats from the highest score down, one line each.
QString FinalStandings(const TTableState& table)
{
    std::array<int, 4> seats = {North, East, South, West};
    std::stable_sort(seats.begin(), seats.end(),
                     [&](int a, int b) { return table.Player(a).FScore > table.Player(b).FScore; });
    QString lines = "Final standings:";
    for (size_t i = 0; i < seats.size(); ++i) {
        const TPlayer& player = table.Player(seats[i]);
        lines += QString("\r%1. %2: %3").arg(i + 1).arg(Text(player.FName)).arg(player.FScore);
    }
    return lines;
}

}  // namespace

void TfrmMain::FinishTrick()
{
    TTableSteps::TScope step(FSteps);
    QCoreApplication::processEvents();
    if (step.Superseded())
        return;
    if (FGame.Table.StopRequested) {
        // The game rests here: the button can do no more, and F2 starts the next one.
        FStage = {TCycleStage::Stopped};
        btnInterrupt->hide();
        LabelEffect1->SetCaption(StartPrompt);
        ShowSoundNotice();
        return;
    }
    LogTrick();
    FHistory->TrickDone();
    const int winner = FGame.ResolveTrick();
    FStage = {TCycleStage::TrickWon, winner};
    lblWhoWon->SetCaption(FScene->WinnerCaption(winner));
    FComfort->TrickWon(winner);
    UpdateBidsRow(winner);
    Pause();
    if (step.Superseded())
        return;
    TakeTrick(winner);
}

void TfrmMain::TakeTrick(int winner)
{
    TTableSteps::TScope step(FSteps);
    FComfort->TrickTaken(winner);
    SuspendDrawing();
    FGame.HideTrickCards();
    QCoreApplication::processEvents();
    ResumeDrawing();
    if (step.Superseded())
        return;
    crdStack[static_cast<size_t>(winner)]->SetVisible(true);

    if (!FGame.HandOver()) {
        FGame.ClearTrick();
        FStage = {TCycleStage::TrickCleared, winner};
        Pause();
        if (step.Superseded())
            return;
        NextTrick(winner);
        return;
    }

    lblWhoWon->SetCaption({});
    LogHandEnd();
    const TScoreResult result = FGame.ScoreHand();
    FStage = {TCycleStage::Scored, 0, result};
    FHistory->HandScored(result.WinnerSeat);
    if (!FHistory->Replaying())
        FScoreSheet->HandScored(FGame.Table);
    for (const auto& notice : result.Notices) {
        FPrompts->Notice(TNoticeKind::Information, Text(notice));
        if (step.Superseded())
            return;
    }
    ShowScoresAndGoOn(result);
}

void TfrmMain::NextTrick(int winner)
{
    FGame.StartNextTrick(winner);
    FStage = {TCycleStage::Turns};
    const bool wasPlaying = FGame.Table.PlayInProgress;
    FGame.Table.PlayInProgress = true;
    PlayTurns();
    FGame.Table.PlayInProgress = wasPlaying;
}

void TfrmMain::ShowScoresAndGoOn(const TScoreResult& result)
{
    TTableSteps::TScope step(FSteps);
    FPrompts->ShowScores(FGame.Table);
    if (step.Superseded())
        return;
    emit handScored();
    if (FHistory->StopAfterHand())
        return;
    if (result.WinnerSeat == 0) {
        FGame.PrepareNextHand();
        FStage = {TCycleStage::NextHand};
        PostGameStep(STEP_NEXT_HAND);
        return;
    }
    FStage = {TCycleStage::Over};
    const bool again = FPrompts->GameOver(Text(WinnerNotice(result.WinnerName)), FinalStandings(FGame.Table));
    if (step.Superseded())
        return;
    emit gameOver(Text(result.WinnerName));
    if (again)
        FSteps.Request(TTableRequest::NewGame);
    else
        ShowSoundNotice();  // held back while the game was on
}

}  // namespace spades
