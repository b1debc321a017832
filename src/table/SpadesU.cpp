#include "SpadesU.h"

#include "ExpertSeat.h"

#include <QActionGroup>
#include <algorithm>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>

#include "Application.h"
#include "CardDeck.h"
#include "CardFaces.h"
#include "Cmpint32.h"
#include "Defaults.h"
#include "ExtListView.h"
#include "HelpViewer.h"
#include "LblEffct.h"
#include "MusicSequencer.h"
#include "CardHover.h"
#include "CardMotion.h"
#include "PlayComfort.h"
#include "Shape.h"
#include "TableHistory.h"
#include "TableScene.h"
#include "TableScoreSheet.h"
#include "Sleeper.h"
#include "Tilemap.h"

namespace spades {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

// ---- Creation ------------------------------------------------------------------------------------

TfrmMain::TfrmMain(TTableEnvironment environment, QWidget* parent)
    : QMainWindow(parent),
      FEnvironment(std::move(environment)),
      FGame(*this),
      FLogFile(FEnvironment.ProgramDir.isEmpty() ? ProgramDir() : FEnvironment.ProgramDir,
               FEnvironment.LogFallbackDir.isEmpty()
                   ? QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                         .filePath("Tarnwell/Spades")
                   : FEnvironment.LogFallbackDir)
{
    if (FEnvironment.ProgramDir.isEmpty())
        FEnvironment.ProgramDir = ProgramDir();
    FExpertSeat = new TExpertSeat(this);
    TTablePrompts* prompts = FEnvironment.Prompts;
    if (!prompts) {
        FOwnPrompts = std::make_unique<TDialogPrompts>(this);
        prompts = FOwnPrompts.get();
    }
    // A notice that must not stack on another dialog waits for the last one to close.
    FCountedPrompts = std::make_unique<TCountedPrompts>(*prompts, [this] {
        QMetaObject::invokeMethod(this, &TfrmMain::ShowSoundNotice, Qt::QueuedConnection);
    });
    FPrompts = FCountedPrompts.get();
    FScoreSheet = std::make_unique<TTableScoreSheet>(*this);
    FPrompts->ScoreSheet = [this] { FScoreSheet->ShowOver(FGame.Table); };
    FPrompts->CanReviewHand = [this] { return FHistory->CanReviewLastHand(); };
    FPrompts->ReviewHand = [this] { FHistory->ReviewLastHand(); };
    FSteps.Perform = [this](TTableRequest request) { Perform(request); };
    FSteps.Released = [this] { ReleaseParkedSteps(); };
    FHistory = std::make_unique<TTableHistory>(*this, FEnvironment.HistoryPath);
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    EndNetPlay();
    // The seats keep pointers into the card controls: drop them before the widgets go.
    for (int place = 1; place <= 4; ++place)
        FGame.Table.Place(place).Clear();
}

void TfrmMain::FormCreate()
{
    setObjectName("frmMain");
    setWindowTitle(ProgramTitle);
    QPalette olive = palette();
    olive.setColor(QPalette::Window, QColor(0x80, 0x80, 0x00));
    setPalette(olive);
    QFont small("MS Sans Serif");
    small.setPointSize(8);
    setFont(small);

    CreateMenu();
    CreateControls();
    resize(TTableScene::Width, TTableScene::Height + menuBar()->sizeHint().height());
    RestorePlacement();

    FMusic.SetDefaults(FEnvironment.ProgramDir);
    StartMusic();
    FGame.Table.PlayInProgress = false;
}

void TfrmMain::CreateControls()
{
    bmpBackGround = new TTiledBitmap(this);
    bmpBackGround->setObjectName("bmpBackGround");
    bmpBackGround->setMinimumSize(TTableScene::Width, TTableScene::Height);
    setCentralWidget(bmpBackGround);
    // The scene lays the table out and scales it with the window.
    FScene = new TTableScene(*bmpBackGround);
    shpPlay = &FScene->PlayArea();
    for (int seat = North; seat <= West; ++seat) {
        lblPlayer[static_cast<size_t>(seat)] = &FScene->SeatLabel(seat);
        crdStack[static_cast<size_t>(seat)] = &FScene->Pile(seat);
    }
    lblWaitFor = &FScene->WaitFor();
    lblWhoWon = &FScene->WhoWon();
    LabelEffect1 = &FScene->Prompt();
    lvwBids = &FScene->Bids();
    btnInterrupt = &FScene->StopButton();
    connect(btnInterrupt, &QToolButton::clicked, this, [this] { btnInterruptClick(); });
    FComfort = std::make_unique<TPlayComfort>(*this, *FScene, FGame);

    Timer4 = new QTimer(this);
    Timer4->setObjectName("Timer4");
    Timer4->setInterval(400);
    connect(Timer4, &QTimer::timeout, this, [this] { Timer4Timer(); });
}

// ---- Showing and closing -----------------------------------------------------------------------------

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!FShown) {
        FShown = true;
        FormShow();
    }
}

void TfrmMain::FormShow()
{
    if (FEnvironment.CheckScreenWidth && screen() && screen()->geometry().width() < 800) {
        FPrompts->Notice(TNoticeKind::Error, "Sorry:\rQuelbrin Spades requires at least 800 x 600 screen resolution");
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
    FGame.Table.StopRequested = false;
    FGame.Table.AllComputer = true;
    if (!QDir::setCurrent(FEnvironment.ProgramDir))
        FPrompts->Notice(TNoticeKind::Error, "Cannot make " + QDir::toNativeSeparators(FEnvironment.ProgramDir) +
                                                 " the current folder.");
    lblWhoWon->SetCaption({});
    lblWaitFor->SetCaption({});
    Timer4->stop();

    FSleeper = new TSleeper(this);
    FSleeper->setObjectName("GameSleeper");
    // Cards move within the pause actually in force.
    FComfort->Motion().SetPauseSource([this] { return FSleeper->Interval(); });
    LoadDefaults();
    ApplyPreferences();
    Guarded([this] {
        QImage glyph;
        LoadCompressedBitmap("IDB_INTERRUPT", glyph);
        FScene->SetStopPicture(glyph);
    });
    FillBidsTable();
    const QRect area = FScene->TableRect(*shpPlay);
    for (int place = 1; place <= 4; ++place)
        FGame.Table.Place(place) = TPlayStack(TrickPlaceRect(place, area.left(), area.top()));
    FGame.Deck.Fill();
    FGame.Random.SetSeed(TRandom::SeedFromClock());
    if (FSequencer)
        FSequencer->Timer3().start();
    FHistory->Open();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (FClosed) {
        event->accept();
        return;
    }
    // A turn sequence may not be cut short; other steps finish first, then the window closes.
    if (FGame.Table.PlayInProgress) {
        event->ignore();
        return;
    }
    if (FSteps.Busy() || FSteps.Held()) {
        event->ignore();
        FSteps.Request(TTableRequest::Close);
        return;
    }
    if (FormClose())
        event->accept();
    else
        event->ignore();
}

bool TfrmMain::FormClose()
{
    FLogFile.Close();
    FHistory->Close();
    Timer4->stop();
    if (FSequencer) {
        FSequencer->Timer2().stop();
        FSequencer->Timer3().stop();
    }
    if (MediaPlayer1)
        MediaPlayer1->Close();
    if (FDefaults && !FDefaultsUnsaveable) {
        try {
            FDefaults->Save();
            SavePlacement();
        } catch (const std::exception& error) {
            FPrompts->Notice(TNoticeKind::Error,
                             "Your preferences could not be saved:\r" + ErrorMessage(error));
        }
    }
    FClosed = true;
    if (FHelp)
        FHelp->close();
    return true;
}

void TfrmMain::Perform(TTableRequest request)
{
    switch (request) {
    case TTableRequest::NewGame:
        mniGameNewClick();
        break;
    case TTableRequest::Preferences:
        mniPrefsClick();
        break;
    case TTableRequest::Close:
        close();
        break;
    case TTableRequest::Undo:
        TakeBack();
        break;
    case TTableRequest::DealAgain:
        StartGame(true);
        break;
    }
}

// ---- The card controls ---------------------------------------------------------------------------------

TCardDeck* TfrmMain::CardDeck(const QString& name) const
{
    return FScene->Card(name);
}

TCardControl* TfrmMain::FindCard(std::string_view name)
{
    return FScene->FindCard(name);
}

TCardControl* TfrmMain::CardAt(int seat, int slot)
{
    return FindCard(TCardName(seat, slot).View());
}

void TfrmMain::ShowMessage(const std::string& text)
{
    FPrompts->Notice(TNoticeKind::Plain, Text(text));
}

void TfrmMain::SuspendDrawing()
{
    if (FDrawingSuspended++ == 0)
        bmpBackGround->setUpdatesEnabled(false);
}

void TfrmMain::ResumeDrawing()
{
    if (FDrawingSuspended > 0 && --FDrawingSuspended == 0)
        bmpBackGround->setUpdatesEnabled(true);
}

// ---- The bids table ---------------------------------------------------------------------------------------

TLabelEffect* TfrmMain::SeatLabel(int seat) const
{
    return &FScene->SeatLabel(seat);
}

void TfrmMain::FillBidsTable()
{
    lvwBids->ClearRows();
    for (int seat = North; seat <= West; ++seat) {
        const int row = lvwBids->AddRow(FScene->SeatName(seat));
        if (QTableWidgetItem* name = lvwBids->item(row, 0))
            name->setToolTip(FScene->SeatName(seat));  // the narrow column shortens long names
    }
}

void TfrmMain::UpdateBidsRow(int seat)
{
    const TPlayer& player = FGame.Table.Player(seat);
    const int row = lvwBids->FindRow(Text(player.FName));
    if (row < 0)
        return;
    lvwBids->SetCell(row, 1, BidCellText(player.FBid));
    lvwBids->SetCell(row, 2, QString::number(player.FTricks));
    lvwBids->SetCell(row, 3, QString::number(player.FBags));
    const int gameBags = player.FTotalBags + player.FBags;
    const QString tip = Text(player.FName) + ": " + QString::number(gameBags) + (gameBags == 1 ? " bag" : " bags") +
                        " in the game";
    for (int column = 0; column < lvwBids->ColumnCount(); ++column)
        if (QTableWidgetItem* cell = lvwBids->item(row, column))
            cell->setToolTip(tip);
}

// ---- Menu ------------------------------------------------------------------------------------------------

// ---- The hand cycle -----------------------------------------------------------------------------------------

bool TfrmMain::IsHuman(int seat) const { return FGame.Table.Player(seat).FHuman; }

void TfrmMain::Pause()
{
    emit paused();
    FExpertSeat->ThinkAhead(FGame, FSteps.Serial());  // the Expert's thinking counts in the pause
    // The preferences may open inside the pause; the game holds still while they
    // are open, and takes a whole pause again once they close.
    for (;;) {
        const unsigned holds = FSteps.Holds();
        FSleeper->Wait();
        if (FSteps.Holds() == holds && !FSteps.Held())
            break;
        if (FClosed)
            break;
    }
}

void TfrmMain::PostGameStep(int step)
{
    QCoreApplication::postEvent(this, new TGameStepEvent(step, FSteps.Serial()));
}

bool TfrmMain::event(QEvent* event)
{
    if (event->type() == static_cast<QEvent::Type>(WM_GAMESTEP)) {
        const auto& step = static_cast<const TGameStepEvent&>(*event);
        if (FSteps.Held())
            FParkedSteps.push_back({step.Step, step.Serial});  // nothing moves under the preferences
        else
            WMGameStep(step);
        return true;
    }
    return QMainWindow::event(event);
}

void TfrmMain::ReleaseParkedSteps()
{
    std::vector<TParkedStep> parked;
    parked.swap(FParkedSteps);
    for (const TParkedStep& step : parked)
        QCoreApplication::postEvent(this, new TGameStepEvent(step.Step, step.Serial));
}

void TfrmMain::WMGameStep(const TGameStepEvent& step)
{
    if (step.Serial != FSteps.Serial() || FClosed)
        return;  // posted for a hand that has since been given up
    if (step.Step == STEP_TRICK_DONE)
        FinishTrick();
    else if (step.Step == STEP_NEXT_HAND)
        StartHand();
}

void TfrmMain::mniGameNewClick() { StartGame(false); }

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
    std::array<bool, 5> human{};
    for (int seat = North; seat <= West; ++seat)
        human[static_cast<size_t>(seat)] = FDefaults->GetPlayer(seat).PlayerType == HumanPlayer;
    if (sameDeal)
        FGame.NewGameSameDeal(human);
    else
        FGame.NewGame(human);
    FTakeBack.Forget();
    // The stop button is shown by this: a replay before may have left it set.
    FGame.Table.AllComputer = std::none_of(human.begin(), human.end(), [](bool person) { return person; });
    FScoreSheet->Clear();
    FHistory->GameStarted();
    StartHand();
}

void TfrmMain::StartHand()
{
    // A hand of the window's own brings its own table back.
    LeaveJoinedTable();
    TTableSteps::TScope step(FSteps);
    lblWhoWon->SetCaption({});
    lblWaitFor->SetCaption({});
    lblWaitFor->show();
    Timer4->stop();

    btnInterrupt->setVisible(FGame.Table.AllComputer);
    btnInterrupt->setEnabled(FGame.Table.AllComputer);
    for (int seat = North; seat <= West; ++seat)
        crdStack[static_cast<size_t>(seat)]->SetVisible(false);
    FGame.BeginHand();
    FHistory->HandDealt();
    FillBidsTable();
    FComfort->HandDealt();
    BidFrom(1);
}

void TfrmMain::BidFrom(int first)
{
    TTableSteps::TScope step(FSteps);
    FStage = {TCycleStage::Bidding};
    for (int i = first; i <= 4; ++i) {
        const int seat = FGame.Bidder(i);
        FComfort->TurnBegins(seat, true);
        if (IsHuman(seat)) {
            FPrompts->BidSuggestion = FExpertSeat->SuggestBid(FGame, seat);
            const int result = FPrompts->AskBid(Text(FGame.Table.Player(seat).FName) + " Bid");
            FPrompts->BidSuggestion = nullptr;
            if (step.Superseded())
                return;
            FTakeBack.Before(FGame, seat, TTakeBack::TKind::Bid);
            FGame.PersonBid(seat, result - 1);
        } else if (FGame.Table.Player(seat).FExpert && !FGame.Script) {
            const int bid = FExpertSeat->Bid(FGame, seat, step.Serial());
            if (step.Superseded())
                return;
            FGame.PersonBid(seat, bid);
        } else {
            FGame.ComputerBid(seat);
        }
        UpdateBidsRow(seat);
    }
    FGame.StartPlay();
    LogHandStart();
    FStage = {TCycleStage::Turns};

    const bool wasPlaying = FGame.Table.PlayInProgress;
    FGame.Table.PlayInProgress = true;
    PlayTurns();
    FGame.Table.PlayInProgress = wasPlaying;
}

void TfrmMain::PlayTurns()
{
    TTableSteps::TScope step(FSteps);
    lblWhoWon->SetCaption({});
    for (;;) {
        if (FGame.TrickFull()) {
            FStage = {TCycleStage::TrickFull};
            PostGameStep(STEP_TRICK_DONE);
            return;
        }
        const int seat = FGame.SeatToPlay();
        FComfort->TurnBegins(seat, false);
        if (IsHuman(seat)) {
            lblWaitFor->SetCaption("Waiting for " + Text(FGame.Table.Player(seat).FName));
            Timer4->start();
            ArmSeat(seat);
            FComfort->SeatArmed(seat, [this](TCardDeck& card) { CardClick(card); });
            return;
        }
        if (FGame.Table.Player(seat).FExpert && !FGame.Script) {  // a replay plays the record
            const int card = FExpertSeat->Card(FGame, seat, step.Serial());
            if (step.Superseded())
                return;
            SuspendDrawing();
            FGame.PlaySeatCard(seat, card);
            ResumeDrawing();
        } else {
            FGame.PlayComputerTurn();
        }
        if (FGame.TrickFull()) {
            FStage = {TCycleStage::TrickFull};
            PostGameStep(STEP_TRICK_DONE);  // no pause after the fourth card
            return;
        }
        FComfort->TurnBegins(FGame.SeatToPlay(), false);  // the pause already points at who is next
        Pause();
        if (step.Superseded())
            return;
    }
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
    if (FGame.TrickFull() || seat != FGame.SeatToPlay() || slot < 1 || slot > 13)
        return;
    const TPlayVerdict verdict = FGame.CheckPersonCard(seat, slot);
    if (verdict != TPlayVerdict::Legal) {
        const QString refusal = Text(std::string(VerdictText(verdict)));
        if (FDefaults && FDefaults->RefusalsOnTable()) {
            FScene->SetNotice(refusal);
            FRefusalShown = true;
            return;
        }
        FPrompts->Notice(TNoticeKind::Error, refusal);
        // The pointer may have left the card while the message was up.
        if (!step.Superseded())
            FComfort->Hover().Recheck();
        return;
    }
    FComfort->SeatDisarmed();
    ClearRefusal();
    FTakeBack.Before(FGame, seat, TTakeBack::TKind::Card);
    SuspendDrawing();
    FGame.PlayPersonCard(seat, slot);
    ResumeDrawing();
    Timer4->stop();
    lblWaitFor->SetCaption({});
    lblWaitFor->show();
    FComfort->TurnBegins(FGame.TrickFull() ? 0 : FGame.SeatToPlay(), false);
    Pause();
    if (step.Superseded())
        return;
    const bool wasPlaying = FGame.Table.PlayInProgress;
    FGame.Table.PlayInProgress = true;
    PlayTurns();
    FGame.Table.PlayInProgress = wasPlaying;
}

void TfrmMain::ClearRefusal()
{
    if (!FRefusalShown)
        return;
    FRefusalShown = false;
    FScene->SetNotice({});
}

void TfrmMain::btnInterruptClick()
{
    // Stopping a replay goes back to the game it interrupted.
    if (FHistory->Replaying())
        FHistory->LeaveReplay();
    else
        FGame.Table.StopRequested = true;
}

void TfrmMain::Timer4Timer() { lblWaitFor->setVisible(!lblWaitFor->isVisible()); }

}  // namespace spades
