#include "SpadesU.h"

#include "ExpertSeat.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>
#include <exception>

#include "CardDeck.h"
#include "Cmpint32.h"
#include "Defaults.h"
#include "ExtListView.h"
#include "HelpViewer.h"
#include "LblEffct.h"
#include "MusicSequencer.h"
#include "OptDialog.h"
#include "RegErrors.h"
#include "RegFile.h"
#include "Shape.h"
#include "Sleeper.h"
#include "FluidEngine.h"
#include "FluidPlayer.h"
#include "Tilemap.h"

namespace spades {

// ---- The card controls as the seats see them ----------------------------------------------------

class TfrmMain::TDeckControl : public TCardControl {
public:
    explicit TDeckControl(TCardDeck& card) : FCard(&card) {}
    std::string Name() const override { return FCard->objectName().toStdString(); }
    int Value() const override { return FCard->Value(); }
    void SetValue(int value) override { FCard->SetValue(static_cast<uint8_t>(value)); }
    void SetVisible(bool visible) override { FCard->SetVisible(visible); }
    void MoveTo(int left, int top) override { FCard->move(left, top); }
    void BringToFront() override { FCard->raise(); }
    void ClearClickHandler() override { FCard->ClearClickHandler(); }
    void LayOut(const TCardRect& bounds, int value) override
    {
        FCard->ClearClickHandler();
        FCard->setGeometry(bounds.Left, bounds.Top, bounds.Width, bounds.Height);
        FCard->SetValue(static_cast<uint8_t>(value));
        FCard->SetVisible(true);
        FCard->raise();
    }

private:
    TCardDeck* FCard;
};

namespace {

constexpr int TableWidth = 769;
constexpr int TableHeight = 461;
constexpr const char* StartPrompt = "Press the F2 key to start a game";

struct TPlace {
    int Left, Top, Width, Height;
};
constexpr std::array<TPlace, 5> SeatLabelPlaces = {{{0, 0, 0, 0},
                                                    {352, 6, 169, 33},
                                                    {609, 142, 97, 33},
                                                    {352, 318, 137, 33},
                                                    {88, 142, 97, 33}}};
constexpr std::array<TPlace, 5> TrickPilePlaces = {{{0, 0, 0, 0},
                                                    {204, 40, 43, 58},
                                                    {712, 112, 43, 58},
                                                    {214, 391, 43, 58},
                                                    {12, 112, 43, 58}}};
constexpr std::array<const char*, 5> SeatNames = {"", "North", "East", "South", "West"};

QFont SerifFont(int pixels, bool italic = false)
{
    QFont font("Times New Roman");
    font.setPixelSize(pixels);
    font.setItalic(italic);
    return font;
}

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
    if (FEnvironment.Prompts) {
        FPrompts = FEnvironment.Prompts;
    } else {
        FOwnPrompts = std::make_unique<TDialogPrompts>(this);
        FPrompts = FOwnPrompts.get();
    }
    FSteps.Perform = [this](TTableRequest request) { Perform(request); };
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    // The seats keep pointers into the card controls: drop them before the widgets go.
    for (int place = 1; place <= 4; ++place)
        FGame.Table.Place(place).Clear();
}

void TfrmMain::FormCreate()
{
    setObjectName("frmMain");
    setWindowTitle("Quelbrin Spades");
    QPalette olive = palette();
    olive.setColor(QPalette::Window, QColor(0x80, 0x80, 0x00));
    setPalette(olive);
    QFont small("MS Sans Serif");
    small.setPointSize(8);
    setFont(small);

    CreateMenu();
    CreateControls();
    resize(TableWidth, TableHeight + menuBar()->sizeHint().height());

    FMusic.SetDefaults(FEnvironment.ProgramDir);
    StartMusic();
    FGame.Table.PlayInProgress = false;
}

void TfrmMain::CreateMenu()
{
    QMenu* game = menuBar()->addMenu("&Game");
    game->setObjectName("mniGame");
    // Menu commands ask; the steps run them now, or once the running step has returned.
    mniGameNew = game->addAction("&New", this, [this] { FSteps.Request(TTableRequest::NewGame); });
    mniGameNew->setObjectName("mniGameNew");
    mniGameNew->setShortcut(Qt::Key_F2);
    mniGameNew->setShortcutContext(Qt::ApplicationShortcut);
    mniGameHint = game->addAction("&Hint", this, [this] { mniGameHintClick(); });
    mniGameHint->setObjectName("mniGameHint");
    mniGameHint->setShortcut(Qt::Key_H);
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
        FGame.Table.Player(South).SetNetDealer(checked);
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

void TfrmMain::CreateControls()
{
    bmpBackGround = new TTiledBitmap(this);
    bmpBackGround->setObjectName("bmpBackGround");
    bmpBackGround->setMinimumSize(TableWidth, TableHeight);
    setCentralWidget(bmpBackGround);

    shpPlay = new TShape(bmpBackGround);
    shpPlay->setObjectName("shpPlay");
    shpPlay->setGeometry(246, 166, 269, 133);
    shpPlay->SetShape(TShape::TKind::RoundRect);
    shpPlay->SetBrush(QColor(0x00, 0x80, 0x00));
    shpPlay->SetPen(Qt::black, 1);

    for (int seat = North; seat <= West; ++seat) {
        const TPlace& place = SeatLabelPlaces[static_cast<size_t>(seat)];
        auto* label = new TLabelEffect(bmpBackGround);
        label->setObjectName(QString("lblPlayer%1").arg(seat));
        label->setGeometry(place.Left, place.Top, place.Width, place.Height);
        label->setFont(SerifFont(27));
        label->SetFontColour(QColor(0x80, 0x80, 0x80));
        label->SetCaption(SeatNames[static_cast<size_t>(seat)]);
        lblPlayer[static_cast<size_t>(seat)] = label;
    }

    lblWaitFor = new TLabelEffect(bmpBackGround);
    lblWaitFor->setObjectName("lblWaitFor");
    lblWaitFor->setGeometry(8, 8, 257, 33);
    lblWaitFor->setFont(SerifFont(21, true));
    lblWaitFor->SetFontColour(QColor(0xC0, 0xC0, 0xC0));

    lblWhoWon = new TLabelEffect(bmpBackGround);
    lblWhoWon->setObjectName("lblWhoWon");
    lblWhoWon->setGeometry(584, 6, 175, 33);
    lblWhoWon->setFont(SerifFont(21));
    lblWhoWon->SetFontColour(QColor(0xFF, 0xFF, 0x00));
    lblWhoWon->setAlignment(Qt::AlignRight | Qt::AlignTop);

    LabelEffect1 = new TLabelEffect(bmpBackGround);
    LabelEffect1->setObjectName("LabelEffect1");
    LabelEffect1->setGeometry(296, 414, 449, 33);
    LabelEffect1->setFont(SerifFont(27));
    LabelEffect1->SetFontColour(QColor(0xFF, 0xFF, 0x00));
    LabelEffect1->setAlignment(Qt::AlignRight | Qt::AlignTop);
    LabelEffect1->SetCaption(StartPrompt);

    lvwBids = new TExtListView(bmpBackGround);
    lvwBids->setObjectName("lvwBids");
    ConfigureBidsTable(*lvwBids);

    btnInterrupt = new QToolButton(bmpBackGround);
    btnInterrupt->setObjectName("btnInterrupt");
    btnInterrupt->setGeometry(716, 408, 50, 50);
    btnInterrupt->setToolTip("Click to Stop.");
    btnInterrupt->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    btnInterrupt->setIconSize(QSize(32, 32));
    btnInterrupt->setFocusPolicy(Qt::NoFocus);
    btnInterrupt->hide();
    connect(btnInterrupt, &QToolButton::clicked, this, [this] { btnInterruptClick(); });

    for (int seat = North; seat <= West; ++seat) {
        const TPlace& place = TrickPilePlaces[static_cast<size_t>(seat)];
        auto* pile = new TCardDeck(bmpBackGround);
        pile->setObjectName(QString("crdStack%1").arg(seat));
        pile->SetStretch(true);
        pile->setGeometry(place.Left, place.Top, place.Width, place.Height);
        pile->SetVisible(false);
        crdStack[static_cast<size_t>(seat)] = pile;
    }

    for (int seat = North; seat <= West; ++seat) {
        for (int slot = 1; slot <= 13; ++slot) {
            auto* card = new TCardDeck(bmpBackGround);
            card->setObjectName(QString::fromUtf8(TCardName(seat, slot).View().data(),
                                                  static_cast<int>(TCardName(seat, slot).View().size())));
            card->move(SeatLabelPlaces[static_cast<size_t>(seat)].Left, SeatLabelPlaces[static_cast<size_t>(seat)].Top + 44);
            card->SetVisible(false);
            FDeckControls.emplace(card, std::make_unique<TDeckControl>(*card));
        }
    }

    Timer4 = new QTimer(this);
    Timer4->setObjectName("Timer4");
    Timer4->setInterval(400);
    connect(Timer4, &QTimer::timeout, this, [this] { Timer4Timer(); });
}

void TfrmMain::StartMusic()
{
    if (FEnvironment.MusicPlayer) {
        MediaPlayer1 = FEnvironment.MusicPlayer;
    } else {
        FOwnPlayer = std::make_unique<TFluidPlayer>(MusicEngine());
        MediaPlayer1 = FOwnPlayer.get();
    }
    FOwnSequencer = std::make_unique<TMusicSequencer>(FMusic, *MediaPlayer1);
    FSequencer = FOwnSequencer.get();
    connect(FSequencer, &TMusicSequencer::errorOccurred, this,
            [this](const QString& message) { FPrompts->Notice(TNoticeKind::Error, message); });
    connect(FSequencer, &TMusicSequencer::soundUnavailable, this, [this](const QString& message) {
        if (FSoundNoticeShown)
            return;
        FSoundNoticeShown = true;
        FPrompts->Notice(TNoticeKind::Warning, message + "\r\rThe game goes on without music.");
    });
}

template <typename TWork>
void TfrmMain::Guarded(TWork&& work)
{
    try {
        work();
    } catch (const std::exception& error) {
        FPrompts->Notice(TNoticeKind::Error, QString::fromUtf8(error.what()));
    }
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
    LoadDefaults();
    ApplyPreferences();
    Guarded([this] {
        QImage glyph;
        LoadCompressedBitmap("IDB_INTERRUPT", glyph);
        btnInterrupt->setIcon(QIcon(QPixmap::fromImage(glyph)));
    });
    FillBidsTable();
    const QRect area = shpPlay->geometry();
    for (int place = 1; place <= 4; ++place)
        FGame.Table.Place(place) = TPlayStack(TrickPlaceRect(place, area.left(), area.top()));
    FGame.Deck.Fill();
    FGame.Random.SetSeed(TRandom::SeedFromClock());
}

void TfrmMain::LoadDefaults()
{
    QString why;
    QString filePath = RegFilePathFor(SpadesKeyPath);
    try {
        FDefaults = std::make_unique<TDefaults>(FMusic);
        return;
    } catch (const ERegFileDamaged& error) {
        why = error.Text();
        filePath = error.FilePath();
    } catch (const ERegistryException& error) {
        why = error.Text();  // a value of the wrong type, or a file that cannot be read
    }
    // Keep the file aside, say where, and start from the defaults.
    QString copy;
    try {
        copy = TRegFile(filePath).KeepDamagedCopy();
    } catch (const ERegistryException& keepError) {
        why += "\r" + keepError.Text();
    }
    FMusic.SetDefaults(FEnvironment.ProgramDir);
    QString text = "Your preferences could not be loaded:\r" + why + "\r\r";
    if (!copy.isEmpty())
        text += "The file was kept as " + QDir::toNativeSeparators(copy) + ".\r";
    text += "The game starts with the default preferences.";
    FPrompts->Notice(TNoticeKind::Warning, text);
    try {
        FDefaults = std::make_unique<TDefaults>(FMusic);
    } catch (const ERegistryException&) {
        // The file could not be moved either: play with the built-in preferences,
        // which are never saved over it.
        FDefaults = std::make_unique<TDefaults>(FMusic, TDefaults::TBuiltIn{});
        FDefaultsUnsaveable = true;
    }
}

void TfrmMain::ReloadDefaults()
{
    // The new set replaces the old in one step: nothing ever meets the table without one.
    LoadDefaults();
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
    if (FSteps.Busy()) {
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
        } catch (const std::exception& error) {
            FPrompts->Notice(TNoticeKind::Error,
                             "Your preferences could not be saved:\r" + QString::fromUtf8(error.what()));
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
    }
}

// ---- The card controls ---------------------------------------------------------------------------------

TCardDeck* TfrmMain::CardDeck(const QString& name) const
{
    return bmpBackGround->findChild<TCardDeck*>(name, Qt::FindDirectChildrenOnly);
}

TCardControl* TfrmMain::FindCard(std::string_view name)
{
    TCardDeck* card = CardDeck(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    if (!card)
        return nullptr;
    auto found = FDeckControls.find(card);
    return found == FDeckControls.end() ? nullptr : found->second.get();
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

// ---- Preferences onto the table ---------------------------------------------------------------------------

void TfrmMain::ApplyPreferences()
{
    TTableState& table = FGame.Table;
    table.CardBack = FDefaults->CardBack();
    for (const auto& [card, control] : FDeckControls) {
        if (card->Value() >= 54 && card->Value() <= 60)
            control->SetValue(table.CardBack);
    }
    for (int seat = North; seat <= West; ++seat)
        crdStack[static_cast<size_t>(seat)]->SetValue(table.CardBack);

    FGame.FWinScore = FDefaults->WinScore();

    Guarded([this] {
        // A surface the preferences do not know shows green cloth.
        const QString surface = FDefaults->Table().isEmpty() ? QString("IDB_GREENCLOTH") : FDefaults->Table();
        LoadCompressedBitmap(surface, bmpBackGround->BitMap());
        bmpBackGround->update();
    });

    FSleeper->SetInterval(FDefaults->Delay());
    table.AllComputer = true;
    for (int seat = North; seat <= West; ++seat) {
        const TPlayerRecord record = FDefaults->GetPlayer(seat);
        TLabelEffect* label = SeatLabel(seat);
        label->SetCaption(record.Name);
        TPlayer& player = table.Player(seat);
        player.SetSeat(seat);
        player.SetName(record.Name.toStdString());
        player.FExpert = record.PlayerType == ExpertPlayer;
        if (record.PlayerType == HumanPlayer) {
            player.SetHuman(true);
            table.AllComputer = false;
            table.StopRequested = false;
            btnInterrupt->hide();
        }
        player.SetHandRect({label->x(), label->y() + label->height() + 11, CardWidth, CardHeight});
    }
}

TLabelEffect* TfrmMain::SeatLabel(int seat) const
{
    return bmpBackGround->findChild<TLabelEffect*>(QString("lblPlayer%1").arg(seat), Qt::FindDirectChildrenOnly);
}

void TfrmMain::FillBidsTable()
{
    lvwBids->ClearRows();
    for (int seat = North; seat <= West; ++seat)
        lvwBids->AddRow(SeatLabel(seat)->Caption());
}

void TfrmMain::UpdateBidsRow(int seat)
{
    const TPlayer& player = FGame.Table.Player(seat);
    const int row = lvwBids->FindRow(Text(player.FName));
    if (row < 0)
        return;
    lvwBids->SetCell(row, 1, player.FBid == 0 ? QString("NIL") : QString::number(player.FBid));
    lvwBids->SetCell(row, 2, QString::number(player.FTricks));
    lvwBids->SetCell(row, 3, QString::number(player.FBags));
}

// ---- Menu ------------------------------------------------------------------------------------------------

void TfrmMain::mniGameExitClick() { close(); }

void TfrmMain::mniOptLogClick() { mniOptLog->setChecked(!mniOptLog->isChecked()); }

bool TfrmMain::LogPlay() const { return mniOptLog->isChecked(); }

void TfrmMain::mniAboutClick() { FPrompts->ShowAbout(); }

void TfrmMain::QuelbrinSpadesManual1Click() { Help().ShowContents(); }

std::shared_ptr<TFluidEngine> TfrmMain::MusicEngine()
{
    if (!FEngine)
        FEngine = FEnvironment.Engine ? FEnvironment.Engine : std::make_shared<TFluidEngine>();
    return FEngine;
}

THelpViewer& TfrmMain::Help()
{
    if (!FHelp)
        FHelp = new THelpViewer(this);
    return *FHelp;
}

// ---- The hand cycle -----------------------------------------------------------------------------------------

bool TfrmMain::IsHuman(int seat) const { return FGame.Table.Player(seat).FHuman; }

void TfrmMain::Pause()
{
    emit paused();
    FExpertSeat->ThinkAhead(FGame, FSteps.Serial());  // the Expert's thinking counts in the pause
    FSleeper->Wait();
}

void TfrmMain::PostGameStep(int step)
{
    QCoreApplication::postEvent(this, new TGameStepEvent(step, FSteps.Serial()));
}

bool TfrmMain::event(QEvent* event)
{
    if (event->type() == static_cast<QEvent::Type>(WM_GAMESTEP)) {
        WMGameStep(static_cast<const TGameStepEvent&>(*event));
        return true;
    }
    return QMainWindow::event(event);
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

void TfrmMain::mniGameNewClick()
{
    FSteps.Supersede();  // whatever the old game still has queued is void
    LabelEffect1->SetCaption({});
    // A stopped all-computer table must be able to play again.
    FGame.Table.StopRequested = false;
    std::array<bool, 5> human{};
    for (int seat = North; seat <= West; ++seat)
        human[static_cast<size_t>(seat)] = FDefaults->GetPlayer(seat).PlayerType == HumanPlayer;
    FGame.NewGame(human);
    StartHand();
}

void TfrmMain::StartHand()
{
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
    FillBidsTable();

    for (int i = 1; i <= 4; ++i) {
        const int seat = FGame.Bidder(i);
        if (IsHuman(seat)) {
            FPrompts->BidSuggestion = FExpertSeat->SuggestBid(FGame, seat);
            const int result = FPrompts->AskBid(Text(FGame.Table.Player(seat).FName) + " Bid");
            FPrompts->BidSuggestion = nullptr;
            if (step.Superseded())
                return;
            FGame.PersonBid(seat, result - 1);
        } else if (FGame.Table.Player(seat).FExpert) {
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
            PostGameStep(STEP_TRICK_DONE);
            return;
        }
        const int seat = FGame.SeatToPlay();
        if (IsHuman(seat)) {
            lblWaitFor->SetCaption("Waiting for " + Text(FGame.Table.Player(seat).FName));
            Timer4->start();
            ArmSeat(seat);
            return;
        }
        if (FGame.Table.Player(seat).FExpert) {
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
            PostGameStep(STEP_TRICK_DONE);  // no pause after the fourth card
            return;
        }
        Pause();
        if (step.Superseded())
            return;
    }
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
            TCardDeck* deck = player.FHand[static_cast<size_t>(slot)] == card
                                  ? CardDeck(QString("imgPlayer%1%2").arg(seat).arg(slot))
                                  : nullptr;
            // The card lifts out of the fan until the hand is laid out again.
            if (deck && deck->property("hintTop") != deck->y()) {
                deck->move(deck->x(), deck->y() - HintLift);
                deck->setProperty("hintTop", deck->y());
            }
        }
    });
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
        FPrompts->Notice(TNoticeKind::Error, Text(std::string(VerdictText(verdict))));
        return;
    }
    SuspendDrawing();
    FGame.PlayPersonCard(seat, slot);
    ResumeDrawing();
    Timer4->stop();
    lblWaitFor->SetCaption({});
    lblWaitFor->show();
    Pause();
    if (step.Superseded())
        return;
    const bool wasPlaying = FGame.Table.PlayInProgress;
    FGame.Table.PlayInProgress = true;
    PlayTurns();
    FGame.Table.PlayInProgress = wasPlaying;
}

void TfrmMain::FinishTrick()
{
    TTableSteps::TScope step(FSteps);
    QCoreApplication::processEvents();
    if (step.Superseded() || FGame.Table.StopRequested)
        return;
    LogTrick();
    const int winner = FGame.ResolveTrick();
    lblWhoWon->SetCaption(SeatLabel(winner)->Caption() + " Won");
    UpdateBidsRow(winner);
    Pause();
    if (step.Superseded())
        return;

    SuspendDrawing();
    FGame.HideTrickCards();
    QCoreApplication::processEvents();
    ResumeDrawing();
    if (step.Superseded())
        return;
    crdStack[static_cast<size_t>(winner)]->SetVisible(true);

    if (!FGame.HandOver()) {
        FGame.ClearTrick();
        Pause();
        if (step.Superseded())
            return;
        FGame.StartNextTrick(winner);
        const bool wasPlaying = FGame.Table.PlayInProgress;
        FGame.Table.PlayInProgress = true;
        PlayTurns();
        FGame.Table.PlayInProgress = wasPlaying;
        return;
    }

    lblWhoWon->SetCaption({});
    LogHandEnd();
    const TScoreResult result = FGame.ScoreHand();
    for (const auto& notice : result.Notices) {
        FPrompts->Notice(TNoticeKind::Information, Text(notice));
        if (step.Superseded())
            return;
    }
    FPrompts->ShowScores(FGame.Table);
    if (step.Superseded())
        return;
    emit handScored();
    if (result.WinnerSeat == 0) {
        FGame.PrepareNextHand();
        PostGameStep(STEP_NEXT_HAND);
        return;
    }
    FPrompts->Notice(TNoticeKind::Information, Text(WinnerNotice(result.WinnerName)));
    emit gameOver(Text(result.WinnerName));
}

void TfrmMain::btnInterruptClick() { FGame.Table.StopRequested = true; }

void TfrmMain::Timer4Timer() { lblWaitFor->setVisible(!lblWaitFor->isVisible()); }

// ---- The play log ------------------------------------------------------------------------------------------

void TfrmMain::LogHandStart()
{
    FLogThisHand = false;
    if (!LogPlay())
        return;
    QString error;
    if (!FLogFile.Open(&error)) {
        if (!FLogFailureShown) {
            FLogFailureShown = true;
            FPrompts->Notice(TNoticeKind::Warning, error);
        }
        return;
    }
    FLogThisHand = true;
    FLogFile.Log().LogHandStart(FGame.Table);
    CheckLogWrites();
}

void TfrmMain::LogTrick()
{
    if (!FLogThisHand || !LogPlay() || !FLogFile.IsOpen())
        return;
    FLogFile.Log().LogTrick(FGame.Table);
    CheckLogWrites();
}

void TfrmMain::LogHandEnd()
{
    if (!FLogThisHand || !LogPlay() || !FLogFile.IsOpen())
        return;
    FLogFile.Log().LogHandEnd(FGame.Table);
    CheckLogWrites();
}

void TfrmMain::CheckLogWrites()
{
    FLogFile.Flush();
    if (FLogFile.Good())
        return;
    const QString path = FLogFile.Path();
    FLogFile.Close();
    FLogThisHand = false;
    if (!FLogFailureShown) {
        FLogFailureShown = true;
        FPrompts->Notice(TNoticeKind::Warning, "The play log " + QDir::toNativeSeparators(path) +
                                                   " could not be written. Play goes on without a log.");
    }
}

// ---- Preferences ---------------------------------------------------------------------------------------------

void TfrmMain::mniPrefsClick()
{
    RunPreferences(*this);
}

}  // namespace spades
