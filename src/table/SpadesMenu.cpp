// The table window's menu and the commands behind it.
#include "SpadesU.h"

#include "ExpertSeat.h"

#include <QActionGroup>
#include <QMenuBar>
#include <QShortcut>

#include "Application.h"
#include "CardDeck.h"
#include "ClaimCheck.h"
#include "HelpViewer.h"
#include "LblEffct.h"
#include "NetDialogs.h"
#include "PlayComfort.h"
#include "TableHistory.h"
#include "TableAccessibility.h"
#include "TableScene.h"
#include "TableScoreSheet.h"

namespace spades {

void TfrmMain::CreateMenu()
{
    KeepOwnPalette(*menuBar());
    QMenu* game = menuBar()->addMenu("&Game");
    game->setObjectName("mniGame");
    // Menu commands ask; the steps run them now, or once the running step has returned.
    mniGameNew = game->addAction("&New", this, [this] { FSteps.Request(TTableRequest::NewGame); });
    mniGameNew->setObjectName("mniGameNew");
    mniGameNew->setShortcut(Qt::Key_F2);
    mniGameNew->setShortcutContext(Qt::WindowShortcut);  // not in the manual window
    mniGameUndo = game->addAction("&Undo", this, [this] { mniGameUndoClick(); });
    mniGameUndo->setObjectName("mniGameUndo");
    mniGameUndo->setShortcut(QKeySequence::Undo);
    mniGameUndo->setShortcutContext(Qt::WindowShortcut);
    mniGameDealAgain = game->addAction("&Deal Again", this, [this] { mniGameDealAgainClick(); });
    mniGameDealAgain->setObjectName("mniGameDealAgain");
    // Shown greyed while there is nothing to do; the keys stay live between menus.
    connect(game, &QMenu::aboutToShow, this, [this] {
        mniGameUndo->setEnabled(CanUndo());
        mniGameClaim->setEnabled(CanClaim());
        mniGameDealAgain->setEnabled(FGame.HandsDealt() > 0 && !JoinedTable() && !FHistory->Replaying());
    });
    connect(game, &QMenu::aboutToHide, this, [this] {
        mniGameUndo->setEnabled(true);
        mniGameClaim->setEnabled(true);
        mniGameDealAgain->setEnabled(true);
    });
    game->addSeparator();
    mniGameStats = game->addAction("&Statistics ...", this, [this] { FHistory->mniGameStatsClick(); });
    mniGameStats->setObjectName("mniGameStats");
    mniGameSheet = game->addAction("Sc&ore Sheet ...", this, [this] { FScoreSheet->ShowBeside(FGame.Table); });
    mniGameSheet->setObjectName("mniGameSheet");
    mniGameHint = game->addAction("&Hint", this, [this] { mniGameHintClick(); });
    mniGameHint->setObjectName("mniGameHint");
    mniGameHint->setShortcut(Qt::Key_H);
    mniGameHint->setShortcutContext(Qt::WindowShortcut);
    mniGameClaim = game->addAction("&Claim the rest", this, [this] { mniGameClaimClick(); });
    mniGameClaim->setObjectName("mniGameClaim");
    mniGameClaim->setShortcut(Qt::Key_C);
    mniGameClaim->setShortcutContext(Qt::WindowShortcut);
    game->addSeparator();
    mniGameExit = game->addAction("E&xit", this, [this] { mniGameExitClick(); });
    mniGameExit->setObjectName("mniGameExit");

    QMenu* options = menuBar()->addMenu("&Options");
    options->setObjectName("mniOptions");
    mniOptLog = options->addAction("&Log Play");
    mniOptLog->setObjectName("mniOptLog");
    mniOptLog->setCheckable(true);
    mniOptLog->setVisible(false);
    // A hidden item takes no shortcut of its own: the window carries it.
    auto* logKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L), this);
    connect(logKey, &QShortcut::activated, this, [this] { mniOptLogClick(); });

    QMenu* network = options->addMenu("&Network");
    network->setObjectName("mniOptNet");
    network->menuAction()->setVisible(false);
    mniNetDealer = network->addAction("&Dealer");
    mniNetDealer->setObjectName("mniNetDealer");
    mniNetDealer->setCheckable(true);
    connect(mniNetDealer, &QAction::toggled, this, [this](bool checked) {
        if (!checked)
            ApplyPreferences();
    });
    mniOptJoin = network->addAction("&Join");
    mniOptJoin->setObjectName("mniOptJoin");
    mniOptJoin->setCheckable(true);
    connect(mniOptJoin, &QAction::toggled, this, [this](bool checked) {
        if (!checked)
            ApplyPreferences();
    });
    // The old switches stay hidden; hosting and joining replace them.
    mniNetDealer->setVisible(false);
    mniOptJoin->setVisible(false);
    net::AddNetworkItems(network, *this);

    mniPrefs = options->addAction("&Preferences ...", this, [this] { FSteps.Request(TTableRequest::Preferences); });
    mniPrefs->setObjectName("mniPrefs");

    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("mniHelp");
    mniAbout = help->addAction("&About Quelbrin Spades", this, [this] { mniAboutClick(); });
    mniAbout->setObjectName("mniAbout");
    help->addSeparator();
    QuelbrinSpadesManual1 = help->addAction("Quelbrin Spades &Manual", this, [this] { QuelbrinSpadesManual1Click(); });
    QuelbrinSpadesManual1->setObjectName("QuelbrinSpadesManual1");

    auto* helpKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(helpKey, &QShortcut::activated, this, [this] { Help().ShowContext(HelpContextTable); });
}

void TfrmMain::mniGameExitClick() { close(); }

void TfrmMain::mniOptLogClick() { mniOptLog->setChecked(!mniOptLog->isChecked()); }

bool TfrmMain::LogPlay() const { return mniOptLog->isChecked(); }

void TfrmMain::mniAboutClick() { FPrompts->ShowAbout(); }

void TfrmMain::QuelbrinSpadesManual1Click() { Help().ShowContents(); }

void TfrmMain::ShowPreferencesHelp() { Help().ShowContext(HelpContextPreferences); }

THelpViewer& TfrmMain::Help()
{
    if (!FHelp)
        FHelp = new THelpViewer(this);
    return *FHelp;
}

void TfrmMain::mniGameHintClick()
{
    // Only while a person's seat waits for its card (the label blinks then).
    const int seat = FGame.SeatToPlay();
    if (FGame.TrickFull() || !IsHuman(seat) || !Timer4->isActive())
        return;
    const unsigned serial = FSteps.Serial();
    const int plays = FGame.FPlayCount;
    const auto still = [this, serial, plays] {
        return FSteps.Serial() == serial && FGame.FPlayCount == plays && Timer4->isActive();
    };
    FExpertSeat->Hint(FGame, seat, still, [this, seat](int card) {
        const TPlayer& player = FGame.Table.Player(seat);
        for (int slot = 1; slot <= 13; ++slot) {
            if (player.FHand[static_cast<size_t>(slot)] != card)
                continue;
            // The card stands out of the fan, outlined, until it is played or another is chosen.
            if (TCardDeck* deck = CardDeck(QString("imgPlayer%1%2").arg(seat).arg(slot)))
                FComfort->Hover().LiftCard(deck, TCardDeck::TOutline::Hint);
        }
    });
}

bool TfrmMain::CanClaim() const
{
    const TWait& wait = FCycle.Waiting();
    return wait.Kind == TWaitKind::Card && IsHuman(wait.Seat) && Timer4->isActive() &&
           !FClaimCheck->Line(wait.Turn).empty();
}

void TfrmMain::mniGameClaimClick()
{
    const TWait wait = FCycle.Waiting();
    if (wait.Kind != TWaitKind::Card || !IsHuman(wait.Seat) || !Timer4->isActive())
        return;
    const std::vector<TPlayRecord> line = FClaimCheck->Line(wait.Turn);
    if (line.empty()) {
        if (!FClaimCheck->Known(wait.Turn))
            return;  // not worked out yet
        const QString why = QStringLiteral("The others can still take a trick.");
        FScene->SetNotice(why);
        FRefusalShown = true;  // goes with the person's card, as a refusal does
        FComfort->Accessibility().Announce(why);
        return;
    }
    TTableSteps::TScope step(FSteps);
    Timer4->stop();
    lblWaitFor->SetCaption({});
    lblWaitFor->show();
    SuspendDrawing();
    const TRefusal refusal = FCycle.AnswerClaim(wait.Seat, wait.Turn, line);
    ResumeDrawing();
    if (refusal || step.Superseded())
        return;
    const QString claimed = FScene->SeatName(wait.Seat) + " claims the rest";
    FScene->SetNotice(claimed);
    FRefusalShown = true;  // goes with the next hand's first card, as a refusal does
    FComfort->Accessibility().Announce(claimed);
    Drive();
}

}  // namespace spades
