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
#include "ClaimCheck.h"
#include "PlayChecker.h"
#include "CardHover.h"
#include "CardMotion.h"
#include "PlayComfort.h"
#include "ScoreDialog.h"
#include "Shape.h"
#include "TableAccessibility.h"
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
    FExpertController = std::make_unique<TExpertSeatController>(
        *FExpertSeat, [this] { return FSteps.Serial(); },
        [this](const TWait& wait, int value) {
            // Through the event loop like every step, so that nothing moves under the preferences.
            FSeatAnswer = TSeatAnswer{wait, value};
            PostGameStep(STEP_SEAT_ANSWER);
        });
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
    FChecker = std::make_unique<TPlayChecker>([this](const QString& note) { ShowCheckNote(note); });
    FClaimCheck = std::make_unique<TClaimCheck>();
    // The log, then the history, then the table itself: each trick is written
    // down before the table shows who took it.
    FCycle.SetPauses(true);
    FCycle.Watch(FLogFollower, EventBit(TGameEvent::PlayBegins) | EventBit(TGameEvent::TrickFull) |
                                   EventBit(TGameEvent::HandEnded));
    FCycle.Watch(*FHistory, EventBit(TGameEvent::HandDealt) | EventBit(TGameEvent::TrickFull) |
                                EventBit(TGameEvent::HandScored));
    FCycle.Watch(*this, EventBit(TGameEvent::HandDealt) | EventBit(TGameEvent::TurnBegins) |
                            EventBit(TGameEvent::BidMade) | EventBit(TGameEvent::CardChosen) |
                            EventBit(TGameEvent::TrickWon) | EventBit(TGameEvent::TrickCleared) |
                            EventBit(TGameEvent::HandEnded) | EventBit(TGameEvent::HandScored));
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    // Its check at work gives up at once; nothing waits on a slow solve.
    FChecker.reset();
    FClaimCheck.reset();
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

namespace {
// In a partnership the sides' rows follow the seats'.
constexpr int SideRow(int side) { return 3 + side; }
constexpr std::array<const char*, 3> SideShortNames = {"", "N-S", "E-W"};
}  // namespace

void TfrmMain::FillBidsTable()
{
    lvwBids->ClearRows();
    for (int seat = North; seat <= West; ++seat) {
        const int row = lvwBids->AddRow(FScene->SeatName(seat));
        if (QTableWidgetItem* name = lvwBids->item(row, 0))
            name->setToolTip(FScene->SeatName(seat));  // the narrow column shortens long names
    }
    const bool sides = FGame.Table.Rules.Partnership();
    FScene->SetBidRows(sides);
    if (FComfort)
        FComfort->Accessibility().DescribeBids(sides);
    if (!sides)
        return;
    for (int side = 1; side <= 2; ++side) {
        const int row = lvwBids->AddRow(SideShortNames[static_cast<size_t>(side)]);
        if (QTableWidgetItem* name = lvwBids->item(row, 0))
            name->setToolTip(Text(SideName(side)));
    }
}

void TfrmMain::UpdateSideRow(int side)
{
    if (!FGame.Table.Rules.Partnership() || lvwBids->RowCount() <= SideRow(side))
        return;
    const int row = SideRow(side);
    const bool bidDone = FCycle.HasBid(side) && FCycle.HasBid(PartnerOf(side));
    const TSideTally tally = SideTally(FGame.Table, side);
    lvwBids->SetCell(row, 1, bidDone ? SideBidCellText(FGame.Table, side) : QString());
    lvwBids->SetCell(row, 2, QString::number(tally.Tricks));
    lvwBids->SetCell(row, 3, bidDone ? QString::number(tally.Bags) : QString());
    const int gameBags = FGame.Table.Player(side).FTotalBags + (bidDone ? tally.Bags : 0);
    const QString tip = Text(SideName(side)) + ": " + QString::number(gameBags) + (gameBags == 1 ? " bag" : " bags") +
                        " in the game";
    for (int column = 0; column < lvwBids->ColumnCount(); ++column)
        if (QTableWidgetItem* cell = lvwBids->item(row, column))
            cell->setToolTip(tip);
}

void TfrmMain::UpdateBidsRow(int seat)
{
    UpdateSideRow(SideOf(seat));
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
    else if (step.Step == STEP_SEAT_ANSWER)
        SeatAnswered();
}

void TfrmMain::mniGameNewClick() { StartGame(false); }

void TfrmMain::ClearRefusal()
{
    // A play check's note shares the line and goes at the same moments.
    if (!FRefusalShown && !FCheckNoteShown)
        return;
    FRefusalShown = false;
    FCheckNoteShown = false;
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
