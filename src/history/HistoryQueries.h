// What the statistics window, the chart and the replay read from the history.
#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <optional>
#include <vector>

#include "HistoryRecords.h"

namespace spades {

// Each seat name with its type, over the games started at or after since (all
// games when since is invalid); most games first.
std::vector<TSeatFigures> SeatFigures(const QSqlDatabase& db, const QDateTime& since = {});

struct TGameSummary {
    qint64 Id = 0;
    QDateTime Started;
    std::array<QString, 5> Names;
    TGameOutcome Outcome = TGameOutcome::Unfinished;
    int Winner = 0;
    int Undos = 0;  // steps the people took back
};
// The games started at or after since, the latest first.
std::vector<TGameSummary> GameList(const QSqlDatabase& db, const QDateTime& since = {});

std::optional<TGameRecord> LoadGame(const QSqlDatabase& db, qint64 id);
// The four scores after each scored hand of the game, hand 1 first.
std::vector<TSeatInts> ScoreSeries(const QSqlDatabase& db, qint64 game);
// A scored hand in full; nothing when it is missing or its record unreadable.
std::optional<THandRecord> LoadHand(const QSqlDatabase& db, qint64 game, int number);
// The game's scores before the hand, and the bags gathered up to it.
struct TBeforeHand {
    TSeatInts Scores{};
    TSeatInts TotalBags{};
};
TBeforeHand BeforeHand(const QSqlDatabase& db, qint64 game, int number);
// The number of scored hands of a game.
int ScoredHands(const QSqlDatabase& db, qint64 game);

}  // namespace spades
