// The table's game history: every game and hand recorded as the hand cycle
// plays it, the offer to continue an unfinished game at start-up, the
// statistics window, and past hands played again on the table.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "GameRecorder.h"
#include "HistoryStore.h"
#include "SpadesU.h"

namespace spades {

class TfrmMain;

class TTableHistory : public QObject, public TGameObserver {
    Q_OBJECT
public:
    // path: the history file; empty for the user's own.
    TTableHistory(TfrmMain& window, const QString& path);
    ~TTableHistory() override;

    // Start-up: opens the file (one message when it cannot be used), then
    // offers to continue the last game if it never ended.
    void Open();
    void Close();
    THistoryStore& Store() { return FStore; }
    const TGameRecorder& Recorder() const { return FRecorder; }
    bool Replaying() const { return FReplaying; }
    // A game waits, left for the replay, to be gone back to.
    bool GameWaiting() const { return FLeftGame.has_value(); }
    // Ends the replay now; the game left for it goes on where it stood.
    void LeaveReplay();
    // The game left for the replay is given up: the next game closes it as abandoned.
    void DropWaitingGame();

    // ---- What the history hears of the game
    // A new game of the window's own (not one continued or replayed).
    void GameStarted();
    void HandDealt(const TSpadesGame& game, int handNumber) override;
    // Before the trick is counted: its four cards are on the table.
    void TrickFull(const TSpadesGame& game) override;
    void HandScored(const TSpadesGame& game, const TScoreResult& result) override;
    // A person's step taken back: the card, or 0 for a bid.
    void Undone(int card);
    // After the score card; true when the cycle stops here (a replayed hand is over).
    bool StopAfterHand();
    // The table leaves its game for another (one joined over the network): it is abandoned.
    void GameGivenUp();

    // ---- What the user asks for
    // Asks whether to continue the unfinished game, and does.
    void OfferResume();
    void Resume(const TResumePoint& point);
    // Plays a recorded hand again with the table's pauses; false (and a message)
    // when it cannot be read.
    bool StartReplay(qint64 game, int hand);
    void mniGameStatsClick();
    // The hand just scored, looked at again; none in a replay or without a history.
    bool CanReviewLastHand() const;
    void ReviewLastHand();

signals:
    void replayFinished();

private:
    struct TStart {
        std::array<TGameSeat, 5> Seats;
        TSeatInts Scores{}, TotalBags{};
        int FirstSeat = 3;
        std::optional<std::array<int, 52>> Deal;
        bool Replay = false;
        // A game taken up is played by its own rules; the games begun after it by the table's.
        std::optional<TRuleSet> Rules;
    };
    void StartFrom(const TStart& start, std::optional<TSpadesGame::TScript> script);
    TSpadesGame& Game() { return FWindow.Game(); }
    // The hands of a continued game back onto the score sheet.
    void RestoreScoreSheet(qint64 gameId, int handsScored);
    // Runs the work once the running game steps have returned to the event loop.
    // Work that is no longer wanted by then (`still` false) is dropped, and stops nothing.
    void WhenIdle(std::function<void()> work, std::function<bool()> still = {});
    void ShowProblem(const QString& problem);
    // Back to the game left for the replay, or the table at rest when there is none.
    void BackFromReplay();

    TfrmMain& FWindow;
    THistoryStore FStore;
    TGameRecorder FRecorder;
    bool FReplaying = false;
    struct TLeftGame {
        TTableMoment Table;
        TGameRecorder::TPosition Recording;
    };
    std::optional<TLeftGame> FLeftGame;
    bool FProblemShown = false;
    unsigned FReplays = 0;  // replays begun in this run
};

// "North 120, East 95, South 130, West -40"
QString ScoreLine(const std::array<TGameSeat, 5>& seats, const TSeatInts& scores);

}  // namespace spades
