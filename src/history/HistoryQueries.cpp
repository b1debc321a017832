#include "HistoryQueries.h"

#include <QSqlQuery>
#include <algorithm>
#include <QVariant>

#include "HistorySchema.h"

namespace spades {

namespace {
qint64 SinceSeconds(const QDateTime& since) { return since.isValid() ? since.toSecsSinceEpoch() : 0; }

// The stored text is written in a fixed order, one NAME=VALUE per option.
const QString PartnershipGame = QStringLiteral("(' ' || g.rules || ' ') LIKE '% variant=partnership %'");

QString RulesCondition(const TRulesFilter& rules) { return rules ? QStringLiteral(" AND g.rules = ?") : QString(); }

void BindRules(QSqlQuery& query, const TRulesFilter& rules)
{
    if (rules)
        query.addBindValue(*rules);
}
}  // namespace

std::vector<TSeatFigures> SeatFigures(const QSqlDatabase& db, const QDateTime& since, const TRulesFilter& rules)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    // Finished games only: one given up or still in play says nothing of how a seat does.
    query.prepare(QStringLiteral(
                      "SELECT s.name, s.type, COUNT(*), SUM(s.won), SUM(s.hands), SUM(s.points), SUM(s.bids),"
                      " SUM(s.made), SUM(s.exact), SUM(s.nils), SUM(s.nils_won), SUM(s.bags), MAX(s.score)"
                      " FROM game_seats s JOIN games g ON g.id = s.game WHERE s.hands > 0 AND g.outcome = ? %1%2"
                      " GROUP BY s.name, s.type ORDER BY COUNT(*) DESC, s.name, s.type")
                      .arg(since.isValid() ? "AND g.started >= ?" : "", RulesCondition(rules)));
    query.addBindValue(static_cast<int>(TGameOutcome::Won));
    if (since.isValid())
        query.addBindValue(SinceSeconds(since));
    BindRules(query, rules);
    Run(query);
    std::vector<TSeatFigures> figures;
    while (query.next()) {
        TSeatFigures f;
        f.Name = query.value(0).toString();
        f.Type = SeatTypeOf(query.value(1).toInt());
        f.Games = query.value(2).toLongLong();
        f.Won = query.value(3).toLongLong();
        f.Hands = query.value(4).toLongLong();
        f.Points = query.value(5).toLongLong();
        f.Bids = query.value(6).toLongLong();
        f.Made = query.value(7).toLongLong();
        f.Exact = query.value(8).toLongLong();
        f.Nils = query.value(9).toLongLong();
        f.NilsWon = query.value(10).toLongLong();
        f.Bags = query.value(11).toLongLong();
        f.BestScore = query.value(12).toInt();
        figures.push_back(std::move(f));
    }
    return figures;
}

std::vector<TRulesPlayed> RulesPlayed(const QSqlDatabase& db, const QDateTime& since)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare("SELECT g.rules, COUNT(*) FROM games g WHERE g.started >= ? GROUP BY g.rules"
                  " ORDER BY COUNT(*) DESC, g.rules");
    query.addBindValue(SinceSeconds(since));
    Run(query);
    std::vector<TRulesPlayed> played;
    while (query.next())
        played.push_back({query.value(0).toString(), query.value(1).toLongLong()});
    return played;
}

TPartnershipFigures PartnershipFigures(const QSqlDatabase& db, const QDateTime& since, const TRulesFilter& rules)
{
    TPartnershipFigures figures;
    const QString games = "FROM games g WHERE g.outcome = ? AND g.started >= ? AND " + PartnershipGame +
                          RulesCondition(rules);
    const auto bind = [&](QSqlQuery& query) {
        query.addBindValue(static_cast<int>(TGameOutcome::Won));
        query.addBindValue(SinceSeconds(since));
        BindRules(query, rules);
    };
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare("SELECT COUNT(*), SUM(g.winner IN (1, 3)), SUM(g.winner IN (2, 4)) " + games);
    bind(query);
    Run(query);
    if (query.next()) {
        figures.Games = query.value(0).toLongLong();
        figures.SideWon[1] = query.value(1).toLongLong();
        figures.SideWon[2] = query.value(2).toLongLong();
    }
    query.finish();
    // Each side of each game as a pair of names, the same pair in whichever seats.
    query.prepare("SELECT MIN(a, b), MAX(a, b), COUNT(*), SUM(won) FROM ("
                  " SELECT g.name1 AS a, g.name3 AS b, g.winner IN (1, 3) AS won " + games +
                  " UNION ALL SELECT g.name2, g.name4, g.winner IN (2, 4) " + games +
                  ") GROUP BY 1, 2 ORDER BY COUNT(*) DESC, 1, 2");
    bind(query);
    bind(query);
    Run(query);
    while (query.next())
        figures.Pairs.push_back(
            {query.value(0).toString(), query.value(1).toString(), query.value(2).toLongLong(), query.value(3).toLongLong()});
    return figures;
}

std::vector<TGameSummary> GameList(const QSqlDatabase& db, const QDateTime& since, const TRulesFilter& rules)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare("SELECT g.id, g.started, g.name1, g.name2, g.name3, g.name4, g.outcome, g.winner, g.undos, g.rules"
                  " FROM games g WHERE g.started >= ?" + RulesCondition(rules) + " ORDER BY g.id DESC");
    query.addBindValue(SinceSeconds(since));
    BindRules(query, rules);
    Run(query);
    std::vector<TGameSummary> games;
    while (query.next()) {
        TGameSummary game;
        game.Id = query.value(0).toLongLong();
        game.Started = QDateTime::fromSecsSinceEpoch(query.value(1).toLongLong());
        for (int seat = 1; seat <= 4; ++seat)
            game.Names[static_cast<size_t>(seat)] = query.value(1 + seat).toString();
        game.Outcome = static_cast<TGameOutcome>(std::clamp(query.value(6).toInt(), 0, 2));
        game.Winner = query.value(7).toInt();
        game.Undos = query.value(8).toInt();
        game.Rules = query.value(9).toString();
        games.push_back(std::move(game));
    }
    return games;
}

std::optional<TGameRecord> LoadGame(const QSqlDatabase& db, qint64 id)
{
    QSqlQuery query(db);
    query.prepare("SELECT started, ended, win_score, name1, name2, name3, name4, type1, type2, type3, type4,"
                  " winner, outcome, undos, rules FROM games WHERE id = ?");
    query.addBindValue(id);
    Run(query);
    if (!query.next())
        return std::nullopt;
    TGameRecord game;
    game.Id = id;
    game.Started = QDateTime::fromSecsSinceEpoch(query.value(0).toLongLong());
    if (!query.value(1).isNull())
        game.Ended = QDateTime::fromSecsSinceEpoch(query.value(1).toLongLong());
    game.WinScore = query.value(2).toInt();
    for (int seat = 1; seat <= 4; ++seat) {
        game.Seats[static_cast<size_t>(seat)].Name = query.value(2 + seat).toString();
        game.Seats[static_cast<size_t>(seat)].Type =
            SeatTypeOf(query.value(6 + seat).toInt());
    }
    game.Winner = query.value(11).toInt();
    game.Outcome = static_cast<TGameOutcome>(std::clamp(query.value(12).toInt(), 0, 2));
    game.Undos = query.value(13).toInt();
    game.Rules = query.value(14).toString();
    return game;
}

std::vector<TSeatInts> ScoreSeries(const QSqlDatabase& db, qint64 game)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare("SELECT score1, score2, score3, score4 FROM hands WHERE game = ? AND score1 IS NOT NULL"
                  " ORDER BY number");
    query.addBindValue(game);
    Run(query);
    std::vector<TSeatInts> series;
    while (query.next()) {
        TSeatInts scores{};
        for (int seat = 1; seat <= 4; ++seat)
            scores[static_cast<size_t>(seat)] = query.value(seat - 1).toInt();
        series.push_back(scores);
    }
    return series;
}

std::optional<THandRecord> LoadHand(const QSqlDatabase& db, qint64 game, int number)
{
    QSqlQuery query(db);
    query.prepare("SELECT first_seat, deal, bids, plays, tricks, bags, score1, score2, score3, score4, undone"
                  " FROM hands WHERE game = ? AND number = ? AND score1 IS NOT NULL");
    query.addBindValue(game);
    query.addBindValue(number);
    Run(query);
    if (!query.next())
        return std::nullopt;
    THandRecord hand;
    hand.Number = number;
    hand.FirstSeat = query.value(0).toInt();
    const auto deal = SplitNumbers(query.value(1).toString(), 1, 52, 52);
    const auto bids = SplitSeats(query.value(2).toString(), 0, 13);
    const auto plays = SplitNumbers(query.value(3).toString(), 1, 52, 52);
    const auto tricks = SplitSeats(query.value(4).toString(), 0, 13);
    const auto bags = SplitSeats(query.value(5).toString(), 0, 13);
    if (hand.FirstSeat < 1 || hand.FirstSeat > 4 || !deal || !bids || !plays || !tricks || !bags)
        return std::nullopt;
    std::copy(deal->begin(), deal->end(), hand.Deal.begin());
    if (!IsWholeDeck(hand.Deal))
        return std::nullopt;
    hand.Plays = *plays;
    hand.Bids = *bids;
    hand.Tricks = *tricks;
    hand.Bags = *bags;
    for (int seat = 1; seat <= 4; ++seat)
        hand.Scores[static_cast<size_t>(seat)] = query.value(5 + seat).toInt();
    // An unreadable mark of steps taken back loses only the mark.
    if (const auto undone = SplitNumbers(query.value(10).toString(), 0, 52))
        hand.Undone = *undone;
    hand.Scored = true;
    return hand;
}

TBeforeHand BeforeHand(const QSqlDatabase& db, qint64 game, int number)
{
    TBeforeHand before;
    for (int earlier = 1; earlier < number; ++earlier)
        if (const auto hand = LoadHand(db, game, earlier)) {
            for (size_t seat = 1; seat <= 4; ++seat)
                before.TotalBags[seat] += hand->Bags[seat];
            if (earlier == number - 1)
                before.Scores = hand->Scores;
        }
    return before;
}

int ScoredHands(const QSqlDatabase& db, qint64 game)
{
    QSqlQuery query(db);
    query.prepare("SELECT COUNT(*) FROM hands WHERE game = ? AND score1 IS NOT NULL");
    query.addBindValue(game);
    Run(query);
    return query.next() ? query.value(0).toInt() : 0;
}

}  // namespace spades
