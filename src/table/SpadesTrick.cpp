// The end of each trick, taken from the event loop after its fourth card, and
// after the last trick the score card and either the next hand or the game's winner.
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
    if (table.Rules.Partnership()) {
        // Both partners carry their side's score.
        const bool eastWestFirst = table.Player(East).FScore > table.Player(North).FScore;
        QString lines = "Final standings:";
        for (int place = 1; place <= 2; ++place) {
            const int side = (place == 1) == eastWestFirst ? 2 : 1;
            lines += QString("\r%1. %2 (%3 and %4): %5")
                         .arg(place)
                         .arg(Text(SideName(side)), Text(table.Player(side).FName), Text(table.Player(PartnerOf(side)).FName))
                         .arg(table.Player(side).FScore);
        }
        return lines;
    }
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
    const TWait& wait = FCycle.Waiting();
    if (wait.Kind == TWaitKind::Pause && wait.Pause == TPauseKind::LastCard)
        FCycle.Resume(wait.Turn);
    Drive();
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
