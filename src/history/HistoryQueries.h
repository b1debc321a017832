// What the statistics window, the chart and the replay read from the history.
#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <optional>
#include <vector>

#include "HistoryRecords.h"

namespace spades {

// Which games a query reads: those started at or after since (all when since is
// invalid) played by the given rules (the stored house-rules text, '' for the
// table's own; nothing: by any rules).
using TRulesFilter = std::optional<QString>;

// Each seat name with its type, over the games started at or after since;
// most games first.
std::vector<TSeatFigures> SeatFigures(const QSqlDatabase& db, const QDateTime& since = {},
                                      const TRulesFilter& rules = std::nullopt);

// Every rules text the games were played by, with how many games; most games first.
struct TRulesPlayed {
    QString Rules;
    long long Games = 0;
    bool operator==(const TRulesPlayed&) const = default;
};
std::vector<TRulesPlayed> RulesPlayed(const QSqlDatabase& db, const QDateTime& since = {});

// The finished partnership games: how often each side won, and each pair of
// partners (by name, in either seats) with its games and wins, most games first.
struct TPairFigures {
    QString First, Second;  // in order of name
    long long Games = 0;
    long long Won = 0;
    bool operator==(const TPairFigures&) const = default;
};
struct TPartnershipFigures {
    long long Games = 0;
    std::array<long long, 3> SideWon{};  // by side: 1 North-South, 2 East-West
    std::vector<TPairFigures> Pairs;
};
TPartnershipFigures PartnershipFigures(const QSqlDatabase& db, const QDateTime& since = {},
                                       const TRulesFilter& rules = std::nullopt);

struct TGameSummary {
    qint64 Id = 0;
    QDateTime Started;
    std::array<QString, 5> Names;
    TGameOutcome Outcome = TGameOutcome::Unfinished;
    int Winner = 0;
    int Undos = 0;  // steps the people took back
    QString Rules;  // as stored: '' for the table's own
};
// The games started at or after since, the latest first.
std::vector<TGameSummary> GameList(const QSqlDatabase& db, const QDateTime& since = {},
                                   const TRulesFilter& rules = std::nullopt);

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
