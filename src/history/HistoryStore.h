// The history file: opened once per run, written one transaction per hand.
// A file that cannot be used is moved aside (never overwritten), and the game
// goes on without history; a file another running copy holds is left alone.
#pragma once

#include <QLockFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <memory>
#include <optional>

#include "HistoryRecords.h"
#include "HistorySchema.h"

namespace spades {

// Where the game keeps its history: Tarnwell/Spades/history.sqlite under the
// user's data folder.
QString DefaultHistoryPath();

enum class THistoryState {
    Closed,     // not opened yet, or closed
    Open,
    InUse,      // another running copy holds the file
    SetAside,   // the file could not be used and was moved aside
    Unusable,   // the file could not be used and stays where it is
};

class THistoryStore {
public:
    explicit THistoryStore(QString path);
    ~THistoryStore();
    THistoryStore(const THistoryStore&) = delete;
    THistoryStore& operator=(const THistoryStore&) = delete;

    // Opens or creates the file and brings its schema up to date. False when the
    // history cannot be used; Problem() then holds the one message for the user.
    bool Open();
    void Close();
    bool IsOpen() const { return FState == THistoryState::Open; }
    THistoryState State() const { return FState; }
    const QString& Problem() const { return FProblem; }
    // Where the unusable file went; empty when it was not moved.
    const QString& KeptAs() const { return FKeptAs; }
    const QString& Path() const { return FPath; }
    QSqlDatabase Database() const;

    // Gives up the history after a failed write: the file is moved aside and
    // Problem() holds the message. Safe to call when closed.
    void Fail(const QString& why);

    // Writes: each throws EHistoryError when the file refuses.
    // A new game; any game still unfinished is closed as abandoned.
    qint64 BeginGame(const TGameRecord& game);
    // A dealt hand, or a scored one with the winner (0: none yet), in one transaction.
    // partner: the winner's partner, who wins with it (0: the winner alone).
    void WriteHand(qint64 game, const THandRecord& hand, int winner = 0, int partner = 0);
    void AbandonUnfinished();
    // One more step taken back in the game.
    void CountUndo(qint64 game);
    // Every game but the one given (0: every game) is forgotten.
    void Reset(qint64 keepGame = 0);

    // The last game when it never ended, with where it stands.
    std::optional<TResumePoint> Unfinished() const;

    // Many games in one transaction, for the simulator: far fewer syncs.
    void BeginBatch();
    void EndBatch();
    // False: a commit waits for the disk only at checkpoints (a power cut may
    // lose the last games, a crash loses nothing).
    void SetDurable(bool durable);

private:
    class TTransaction;
    void OpenFile();
    void ApplyFault(const QString& why, bool moveAside);
    QString MoveAside();

    QString FPath;
    QString FConnection;
    std::unique_ptr<QLockFile> FLock;
    THistoryState FState = THistoryState::Closed;
    QString FProblem;
    QString FKeptAs;
    bool FInBatch = false;
    std::unique_ptr<QSqlQuery> FWriteHand, FTallyHand;
};

}  // namespace spades
