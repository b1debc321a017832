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

namespace spades {

class TfrmMain;

class TTableHistory : public QObject {
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

    // ---- Hooks of the hand cycle
    void GameStarted();
    void HandDealt();
    // Before the trick is resolved: its four cards are on the table.
    void TrickDone();
    void HandScored(int winnerSeat);
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

signals:
    void replayFinished();

private:
    struct TStart {
        std::array<TGameSeat, 5> Seats;
        TSeatInts Scores{}, TotalBags{};
        int FirstSeat = 3;
        std::optional<std::array<int, 52>> Deal;
        bool Replay = false;
    };
    void StartFrom(const TStart& start, std::optional<TSpadesGame::TScript> script);
    // The hands of a continued game back onto the score sheet.
    void RestoreScoreSheet(qint64 gameId, int handsScored);
    // Runs the work once the running game steps have returned to the event loop.
    void WhenIdle(std::function<void()> work);
    void ShowProblem(const QString& problem);

    TfrmMain& FWindow;
    THistoryStore FStore;
    TGameRecorder FRecorder;
    bool FReplaying = false;
    bool FProblemShown = false;
};

// "North 120, East 95, South 130, West -40"
QString ScoreLine(const std::array<TGameSeat, 5>& seats, const TSeatInts& scores);

}  // namespace spades
