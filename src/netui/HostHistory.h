// Records a hosted game in the game history as the table records its own: the
// game when it begins, each hand when it is dealt and when it is scored. A seat
// played from another machine is kept as a person's seat under the player's
// name: the file knows persons, the computer and the Expert, and a remote
// player is a person, so every reader of the file, old or new, reads it right.
#pragma once

#include <QObject>
#include <QString>

#include "GameRecorder.h"

namespace spades::net {

class TNetHost;

class THostHistory : public QObject {
    Q_OBJECT
public:
    THostHistory(TNetHost& host, THistoryStore& store, QObject* parent = nullptr);
    // A game still unfinished when hosting ends is closed as abandoned: nobody
    // can go on with it at this table.
    ~THostHistory() override;

    const TGameRecorder& Recorder() const { return FRecorder; }

signals:
    // The history could not be written; it is given up for the run.
    void Failed(const QString& problem);

private:
    void Check();

    TNetHost& FHost;
    TGameRecorder FRecorder;
};

}  // namespace spades::net
