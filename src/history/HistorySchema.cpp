#include "HistorySchema.h"

#include <QSqlError>
#include <QVariant>
#include <map>

#include "HistoryRecords.h"

namespace spades {

void Run(QSqlQuery& query)
{
    if (!query.exec())
        throw EHistoryError(query.lastError().text());
}

void Run(QSqlQuery& query, const QString& sql)
{
    if (!query.exec(sql))
        throw EHistoryError(query.lastError().text());
}

void Run(const QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query(db);
    Run(query, sql);
}

int SchemaVersion(const QSqlDatabase& db)
{
    QSqlQuery query(db);
    Run(query, "PRAGMA user_version");
    return query.next() ? query.value(0).toInt() : 0;
}

void CreateFirstVersion(const QSqlDatabase& db)
{
    Run(db,
        "CREATE TABLE games ("
        " id INTEGER PRIMARY KEY,"
        " started INTEGER NOT NULL,"  // seconds since 1970, UTC
        " ended INTEGER,"
        " win_score INTEGER NOT NULL,"
        " name1 TEXT NOT NULL, name2 TEXT NOT NULL, name3 TEXT NOT NULL, name4 TEXT NOT NULL,"
        " type1 INTEGER NOT NULL, type2 INTEGER NOT NULL, type3 INTEGER NOT NULL, type4 INTEGER NOT NULL,"
        " winner INTEGER)");
    Run(db,
        "CREATE TABLE hands ("
        " game INTEGER NOT NULL REFERENCES games(id) ON DELETE CASCADE,"
        " number INTEGER NOT NULL,"
        " first_seat INTEGER NOT NULL,"
        " deal TEXT NOT NULL,"
        " bids TEXT, plays TEXT, tricks TEXT, bags TEXT,"
        " score1 INTEGER, score2 INTEGER, score3 INTEGER, score4 INTEGER,"
        " PRIMARY KEY (game, number))");
    Run(db, "PRAGMA user_version = 1");
}

namespace {

// Version 2: games say how they ended (a game left for a new one is abandoned,
// not merely unfinished), and each seat's figures are kept per game so that the
// statistics never read the hands.
void UpgradeToSecond(const QSqlDatabase& db)
{
    Run(db, "ALTER TABLE games ADD COLUMN outcome INTEGER NOT NULL DEFAULT 0");
    Run(db, "UPDATE games SET outcome = 1 WHERE winner IS NOT NULL");
    // The first version never closed a game that was left: all but the last are.
    Run(db, "UPDATE games SET outcome = 2 WHERE winner IS NULL AND id < (SELECT MAX(id) FROM games)");
    Run(db,
        "CREATE TABLE game_seats ("
        " game INTEGER NOT NULL REFERENCES games(id) ON DELETE CASCADE,"
        " seat INTEGER NOT NULL,"
        " name TEXT NOT NULL, type INTEGER NOT NULL,"
        " hands INTEGER NOT NULL DEFAULT 0, points INTEGER NOT NULL DEFAULT 0,"
        " bids INTEGER NOT NULL DEFAULT 0, made INTEGER NOT NULL DEFAULT 0, exact INTEGER NOT NULL DEFAULT 0,"
        " nils INTEGER NOT NULL DEFAULT 0, nils_won INTEGER NOT NULL DEFAULT 0, bags INTEGER NOT NULL DEFAULT 0,"
        " score INTEGER NOT NULL DEFAULT 0, won INTEGER NOT NULL DEFAULT 0,"
        " PRIMARY KEY (game, seat))");
    Run(db, "CREATE INDEX games_started ON games(started)");
    Run(db, "CREATE INDEX games_outcome ON games(outcome, id)");

    // Every game's seats, with the figures of its scored hands.
    Run(db,
        "INSERT INTO game_seats (game, seat, name, type, won)"
        " SELECT id, 1, name1, type1, COALESCE(winner, 0) = 1 FROM games UNION ALL"
        " SELECT id, 2, name2, type2, COALESCE(winner, 0) = 2 FROM games UNION ALL"
        " SELECT id, 3, name3, type3, COALESCE(winner, 0) = 3 FROM games UNION ALL"
        " SELECT id, 4, name4, type4, COALESCE(winner, 0) = 4 FROM games");

    QSqlQuery hands(db);
    hands.setForwardOnly(true);
    Run(hands,
        "SELECT game, bids, tricks, bags, score1, score2, score3, score4 FROM hands"
        " WHERE score1 IS NOT NULL ORDER BY game, number");
    std::map<qint64, std::array<TSeatTally, 5>> tallies;
    while (hands.next()) {
        THandRecord hand;
        const auto bids = SplitSeats(hands.value(1).toString(), 0, 13);
        const auto tricks = SplitSeats(hands.value(2).toString(), 0, 13);
        const auto bags = SplitSeats(hands.value(3).toString(), 0, 13);
        if (!bids || !tricks || !bags)
            throw EHistoryError("A hand of game " + hands.value(0).toString() + " holds unreadable bids or tricks.");
        hand.Bids = *bids;
        hand.Tricks = *tricks;
        hand.Bags = *bags;
        for (int seat = 1; seat <= 4; ++seat)
            hand.Scores[static_cast<size_t>(seat)] = hands.value(3 + seat).toInt();
        auto& tally = tallies[hands.value(0).toLongLong()];
        for (int seat = 1; seat <= 4; ++seat)
            tally[static_cast<size_t>(seat)].Add(hand, seat, tally[static_cast<size_t>(seat)].Score);
    }
    QSqlQuery update(db);
    update.prepare(
        "UPDATE game_seats SET hands = ?, points = ?, bids = ?, made = ?, exact = ?, nils = ?, nils_won = ?,"
        " bags = ?, score = ? WHERE game = ? AND seat = ?");
    for (const auto& [game, seats] : tallies) {
        for (int seat = 1; seat <= 4; ++seat) {
            const TSeatTally& t = seats[static_cast<size_t>(seat)];
            for (const QVariant& value : {QVariant(t.Hands), QVariant(t.Points), QVariant(t.Bids), QVariant(t.Made),
                                          QVariant(t.Exact), QVariant(t.Nils), QVariant(t.NilsWon), QVariant(t.Bags),
                                          QVariant(t.Score), QVariant(game), QVariant(seat)})
                update.addBindValue(value);
            Run(update);
        }
    }
    Run(db, "PRAGMA user_version = 2");
}

// Version 3: steps taken back. Older files read as games without any.
void UpgradeToThird(const QSqlDatabase& db)
{
    Run(db, "ALTER TABLE games ADD COLUMN undos INTEGER NOT NULL DEFAULT 0");
    Run(db, "ALTER TABLE hands ADD COLUMN undone TEXT");
    Run(db, "PRAGMA user_version = 3");
}

// Version 4: the rules of each game, as the options that differ from the
// table's own; every game before was played by the table's own rules ('').
void UpgradeToFourth(const QSqlDatabase& db)
{
    try {
        Run(db, "ALTER TABLE games ADD COLUMN rules TEXT NOT NULL DEFAULT ''");
    } catch (const EHistoryError& error) {
        throw EHistoryError("The rules of the games cannot be added to the file: " + error.Text());
    }
    Run(db, "PRAGMA user_version = 4");
}

}  // namespace

void UpgradeSchema(const QSqlDatabase& db)
{
    int version = SchemaVersion(db);
    if (version > CurrentSchemaVersion)
        throw EHistoryError(QStringLiteral("The file was written by a newer version of the game (schema %1).")
                                .arg(version));
    if (version == 0) {
        // An empty file, or one that is not ours: refuse a file with tables of its own.
        QSqlQuery tables(db);
        Run(tables, "SELECT COUNT(*) FROM sqlite_master");
        if (tables.next() && tables.value(0).toInt() != 0)
            throw EHistoryError("The file holds tables that are not a game history.");
        CreateFirstVersion(db);
        version = FirstSchemaVersion;
    }
    if (version == 1) {
        UpgradeToSecond(db);
        version = 2;
    }
    if (version == 2) {
        UpgradeToThird(db);
        version = 3;
    }
    if (version == 3)
        UpgradeToFourth(db);
}

}  // namespace spades
