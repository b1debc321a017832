// The card table: the main window, its controls, and the hand cycle that runs a
// game on them from New Game to the winner. The rules and the seats live in the
// game; this window drives them, draws them and asks the people at the machine.
#pragma once

#include <QEvent>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "GameSnapshot.h"
#include "HandCycle.h"
#include "MusicSettings.h"
#include "NetTableHost.h"
#include "PreferencesHost.h"
#include "RegErrors.h"
#include "PlayLogFile.h"
#include "SeatController.h"
#include "SpadesGame.h"
#include "TakeBack.h"
#include "TablePrompts.h"
#include "TableSteps.h"

class QAction;
class QMenu;
class QTimer;
class QToolButton;

namespace spades {

class TCardDeck;
class TCardFaces;
class TClaimCheck;
class TExpertSeat;
class TExpertSeatController;
class TDefaults;
class TExtListView;
class TFluidEngine;
class THelpViewer;
class TLabelEffect;
class TMediaPlayer;
class TMusicSequencer;
class TPlayChecker;
class TPlayComfort;
class TShape;
class TSleeper;
class TTableHistory;
class TTableScene;
class TTableScoreSheet;
class TTiledBitmap;

// The posted event that advances the game: a finished trick, or the next hand.
constexpr int WM_GAMESTEP = 1124;
constexpr int STEP_TRICK_DONE = 1;
constexpr int STEP_NEXT_HAND = 2;
constexpr int STEP_SEAT_ANSWER = 3;  // an answer worked out away from the table (the Expert's)
// How far a hinted card rises out of its fan, in pixels.

class TGameStepEvent : public QEvent {
public:
    TGameStepEvent(int step, unsigned serial)
        : QEvent(static_cast<QEvent::Type>(WM_GAMESTEP)), Step(step), Serial(serial)
    {
    }
    const int Step;
    const unsigned Serial;  // the hand it belongs to; a stale one is ignored
};

// Where the hand cycle stands, so that a game left for a while goes on from there.
enum class TCycleStage { Rest, Bidding, Turns, TrickFull, TrickWon, TrickCleared, Scored, NextHand, Stopped, Over };
struct TCyclePoint {
    TCyclePoint() = default;
    TCyclePoint(TCycleStage stage, int winner = 0, TScoreResult result = {})
        : Stage(stage), Winner(winner), Result(std::move(result))
    {
    }
    TCycleStage Stage = TCycleStage::Rest;
    int Winner = 0;       // of the trick still on the table or just cleared
    TScoreResult Result;  // of the hand just scored
};
struct TTableMoment {
    TGameSnapshot Game;
    TCyclePoint Point;
};

// Where the window finds what lies outside it; tests point these elsewhere.
struct TTableEnvironment {
    QString ProgramDir;          // the program's folder, with a trailing '/'
    QString LogFallbackDir;      // where the log goes when the program's folder is closed
    TTablePrompts* Prompts = nullptr;  // nullptr: the real dialogs
    TMediaPlayer* MusicPlayer = nullptr;  // nullptr: FluidSynth
    TMediaPlayer* PreviewPlayer = nullptr;  // nullptr: FluidSynth, for the preferences' Preview
    std::shared_ptr<TFluidEngine> Engine;  // nullptr: the system's sound output
    bool CheckScreenWidth = true;
    QString HistoryPath;         // empty: the user's own game history
};

class TfrmMain : public QMainWindow,
                 public TCardHost,
                 public TPreferencesHost,
                 public net::TNetTableHost,
                 private TGameObserver {
    Q_OBJECT
public:
    explicit TfrmMain(TTableEnvironment environment = {}, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // ---- The seam to the seats' card controls
    TCardControl* FindCard(std::string_view name) override;
    TCardControl* CardAt(int seat, int slot) override;
    void ShowMessage(const std::string& text) override;
    void SuspendDrawing() override;
    void ResumeDrawing() override;

    // ---- Menu commands (the menu asks through Steps(); these carry them out)
    void mniGameNewClick();
    // Takes back the person's last card or bid, while nothing has followed it.
    void mniGameUndoClick();
    bool CanUndo() const;
    // A new game dealt as the present hand was.
    void mniGameDealAgainClick();
    void mniGameExitClick();
    void mniGameHintClick();
    // The person to play takes every trick left: the hand ends with them.
    void mniGameClaimClick();
    bool CanClaim() const;
    void mniOptLogClick();
    void mniPrefsClick();
    void mniAboutClick();
    void QuelbrinSpadesManual1Click();

    // ---- The hand cycle: the window paces the game's one cycle
    void StartHand();
    void PlayTurns();
    void FinishTrick();
    // A new game taken up from a record (a game continued, a hand played again);
    // a replay plays every seat from its script, face up.
    void StartFrom(const THandCycle::TStartPoint& start, const std::array<TSeatKind, 5>& kinds,
                   std::optional<TSpadesGame::TScript> script);
    // The game as it stands, and back to such a moment: the table as it was, play going on.
    TTableMoment Moment() const;
    void ReturnTo(const TTableMoment& moment);
    // The window's own table at rest, its game given up.
    void ClearTable();
    void CardClick(TCardDeck& card);
    void btnInterruptClick();
    void Timer4Timer();

    // ---- Putting the preferences and the bids on the table
    void ApplyPreferences() override;
    // The deck chosen in the preferences onto every card control.
    void ApplyCardDeck();
    void FillBidsTable();
    void UpdateBidsRow(int seat);
    void UpdateSideRow(int side);
    void ShowHandFaceUp(int seat);

    // What tests and the preferences dialog look at.
    TSpadesGame& Game() { return FGame; }
    THandCycle& Cycle() { return FCycle; }
    TTableState& Table() override { return FGame.Table; }
    TDefaults* GameDefaults() const override { return FDefaults.get(); }
    // Replaces the preferences object (a cancelled preferences dialog reloads it).
    void ReloadDefaults() override;
    TSleeper& GameSleeper() const { return *FSleeper; }
    TExpertSeat& ExpertSeat() const { return *FExpertSeat; }
    TMusicSettings& Music() override { return FMusic; }
    TMusicSequencer* Sequencer() const override { return FSequencer; }
    TMediaPlayer* Player() const { return MediaPlayer1; }
    // The synthesizer every song player of the run shares.
    std::shared_ptr<TFluidEngine> MusicEngine() override;
    TTablePrompts& Prompts() override { return *FPrompts; }
    TTableSteps& Steps() { return FSteps; }
    TTableScene& Scene() const { return *FScene; }
    // The lifted and shaded cards, keys, last trick, screen reader texts and motion.
    TPlayComfort& Comfort() const { return *FComfort; }
    TTableScoreSheet& ScoreSheet() const { return *FScoreSheet; }
    TPlayChecker& Checker() const { return *FChecker; }
    TClaimCheck& ClaimCheck() const { return *FClaimCheck; }
    bool LogPlay() const;
    const TPlayLogFile& LogFile() const { return FLogFile; }
    THelpViewer& Help();
    // ---- What the preferences dialog asks of the window
    QWidget* DialogOwner() override { return this; }
    TMediaPlayer* PreviewPlayer() const override { return FEnvironment.PreviewPlayer; }
    QString ProgramFolder() const override { return FEnvironment.ProgramDir; }
    void ShowPreferencesHelp() override;
    const TTableEnvironment& Environment() const { return FEnvironment; }
    TTableHistory& History() { return *FHistory; }
    // ---- What play over the network asks of the window
    QWidget* NetWindow() override { return this; }
    net::TTableLook Look() const override;
    int PlayPause() const override;
    TRuleSet NextRules() const override { return FCycle.NextRules(); }
    THistoryStore* GameHistory() override;
    void ShowJoinedTable(net::TJoinedTable* table) override;
    void LeaveJoinedTable() override;
    net::TJoinedTable* JoinedTable() const override;

signals:
    // A hand has been scored (the score card closed); for tests and observers.
    void handScored();
    void gameOver(const QString& winner);
    // The table holds still for the play speed's pause.
    void paused();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The person at the machine: bids in the dialog, plays by clicks and keys.
    class TPersonSeat final : public TSeatController {
    public:
        explicit TPersonSeat(TfrmMain& window) : FWindow(window) {}
        TSeatKind Kind() const override { return TSeatKind::Human; }
        void Ask(TSpadesGame& game, const TWait& wait, TSeatAnswers& answers) override;

    private:
        TfrmMain& FWindow;
    };
    // The play log follows the game.
    class TLogFollower final : public TGameObserver {
    public:
        explicit TLogFollower(TfrmMain& window) : FWindow(window) {}
        void PlayBegins(const TSpadesGame&) override { FWindow.LogHandStart(); }
        void TrickFull(const TSpadesGame&) override { FWindow.LogTrick(); }
        void HandEnded(const TSpadesGame&) override { FWindow.LogHandEnd(); }

    private:
        TfrmMain& FWindow;
    };

    void FormCreate();
    void FormShow();
    bool FormClose();
    void CreateControls();
    void CreateMenu();
    void LoadDefaults();
    // The window's size, place and maximised state, in the settings file.
    void RestorePlacement();
    void SavePlacement();
    void Perform(TTableRequest request);
    void StartGame(bool sameDeal);
    void TakeBack();
    void WMGameStep(const TGameStepEvent& step);
    void PostGameStep(int step);
    void ReleaseParkedSteps();
    void Pause();
    // Runs the cycle on from where it waits, pausing and asking as the table
    // does, until it waits for a person, a posted step or the score card's end.
    void Drive();
    // One pause of the cycle; false when the cycle stops here for now (the hand
    // given up meanwhile, or the trick left to a posted step).
    bool PacePause(const TWait& wait, const TTableSteps::TScope& step);
    void ShowScoresAndGoOn(const TScoreResult& result);
    TSeatController& SeatFor(int seat);
    void AskPersonBid(const TWait& wait, TSeatAnswers& answers);
    // The answer worked out for a seat arrives; the cycle goes on unless its turn is over.
    void SeatAnswered();
    // Whatever a seat still works out belongs to a hand given up or taken back.
    void CancelSeatAnswers();
    void ArmPerson(int seat);
    void ArmSeat(int seat);
    // What the table shows and says as the game goes.
    void HandDealt(const TSpadesGame&, int handNumber) override;
    void TurnBegins(const TSpadesGame&, const TWait& wait) override;
    void BidMade(const TSpadesGame&, int seat) override;
    void CardChosen(const TSpadesGame&, int seat, int card) override;
    void TrickWon(const TSpadesGame&, int winner) override;
    void TrickCleared(const TSpadesGame&, int winner) override;
    void HandEnded(const TSpadesGame&) override;
    void HandScored(const TSpadesGame&, const TScoreResult& result) override;
    bool IsHuman(int seat) const;
    TLabelEffect* SeatLabel(int seat) const;
    TCardDeck* CardDeck(const QString& name) const;
    void LogHandStart();
    void LogTrick();
    void LogHandEnd();
    void CheckLogWrites();
    void StartMusic();
    void ShowSoundNotice();
    // A refused play written on the table goes once a card is played.
    void ClearRefusal();
    // "Check my plays": a person's card and the hand once over go to the checker,
    // whose notes are shown on the table and announced.
    bool ChecksPlays() const;
    void CheckCard(int seat, int card);
    void CheckHand();
    void ShowCheckNote(const QString& note);
    // The table moved on: pending checks are dropped, the note goes.
    void ResetChecker();
    // Hosting and joined tables end before the history and prompts they use.
    void EndNetPlay();
    // Runs an event's work, turning a failure of the file, resource or media
    // layers into a message; the event ends and the program goes on.
    template <typename TWork>
    void Guarded(TWork&& work)
    {
        try {
            work();
        } catch (const std::exception& error) {
            FPrompts->Notice(TNoticeKind::Error, ErrorMessage(error));
        }
    }

    TTableEnvironment FEnvironment;
    std::unique_ptr<TTablePrompts> FOwnPrompts;
    std::unique_ptr<TCountedPrompts> FCountedPrompts;
    TTablePrompts* FPrompts = nullptr;
    TSpadesGame FGame;
    THandCycle FCycle{FGame};
    int FGamesStarted = 0;
    TTableSteps FSteps;
    TPersonSeat FPersonSeat{*this};
    TLogFollower FLogFollower{*this};
    TClassicController FClassicSeat;
    std::unique_ptr<TExpertSeatController> FExpertController;
    std::optional<TScriptedController> FScriptedSeat;  // a replay's seats
    struct TSeatAnswer {
        TWait Wait;
        int Value = 0;
    };
    std::optional<TSeatAnswer> FSeatAnswer;  // posted, not yet handed to the cycle
    TMusicSettings FMusic;
    std::unique_ptr<TDefaults> FDefaults;
    std::unique_ptr<TTableHistory> FHistory;
    std::shared_ptr<TCardFaces> FCardFaces;  // the chosen deck, shared by the card controls
    bool FDefaultsUnsaveable = false;  // the stored file could be neither read nor moved
    TPlayLogFile FLogFile;
    bool FLogThisHand = false;
    bool FLogFailureShown = false;
    bool FShown = false;
    bool FClosed = false;
    int FDrawingSuspended = 0;
    TCyclePoint FStage;
    TTakeBack FTakeBack;
    struct TParkedStep {
        int Step;
        unsigned Serial;
    };
    std::vector<TParkedStep> FParkedSteps;  // game steps that arrived while the game was held

    // Controls: the scene owns and places them; these name them for the hand cycle.
    TTiledBitmap* bmpBackGround = nullptr;
    TTableScene* FScene = nullptr;
    TShape* shpPlay = nullptr;
    std::array<TLabelEffect*, 5> lblPlayer{};
    TLabelEffect* lblWaitFor = nullptr;
    TLabelEffect* lblWhoWon = nullptr;
    TLabelEffect* LabelEffect1 = nullptr;
    TExtListView* lvwBids = nullptr;
    QToolButton* btnInterrupt = nullptr;
    std::array<TCardDeck*, 5> crdStack{};
    QTimer* Timer4 = nullptr;
    TSleeper* FSleeper = nullptr;
    TExpertSeat* FExpertSeat = nullptr;  // asks Expert seats on a worker thread
    QPointer<THelpViewer> FHelp;
    QPointer<QWidget> FJoined;  // the joined table, shown in place of the own table
    std::unique_ptr<TPlayComfort> FComfort;
    std::unique_ptr<TTableScoreSheet> FScoreSheet;
    std::unique_ptr<TPlayChecker> FChecker;  // stopped first on destruction
    std::unique_ptr<TClaimCheck> FClaimCheck;

    // Menu
    QAction* mniGameNew = nullptr;
    QAction* mniGameUndo = nullptr;
    QAction* mniGameDealAgain = nullptr;
    QAction* mniGameStats = nullptr;
    QAction* mniGameSheet = nullptr;
    QAction* mniGameExit = nullptr;
    QAction* mniGameHint = nullptr;
    QAction* mniGameClaim = nullptr;
    QAction* mniOptLog = nullptr;
    QAction* mniNetDealer = nullptr;
    QAction* mniOptJoin = nullptr;
    QAction* mniPrefs = nullptr;
    QAction* mniAbout = nullptr;
    QAction* QuelbrinSpadesManual1 = nullptr;

    // Music
    std::shared_ptr<TFluidEngine> FEngine;
    // Declared in this order so that the sequencer goes before the player it drives.
    std::unique_ptr<TMediaPlayer> FOwnPlayer;
    TMediaPlayer* MediaPlayer1 = nullptr;
    std::unique_ptr<TMusicSequencer> FOwnSequencer;
    TMusicSequencer* FSequencer = nullptr;
    bool FSoundNoticeShown = false;
    bool FRefusalShown = false;
    bool FCheckNoteShown = false;
    QString FSoundNotice;  // waits until the table is up and no other dialog is open
};

}  // namespace spades
