#include "HistoryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QStandardPaths>
#include <QUuid>
#include <QVariant>

namespace spades {

namespace {

// How long a write waits for a lock another program holds before the file counts as locked.
constexpr int BusyTimeoutMs = 300;

// A file that is sound but not for us (a newer schema, no driver): it stays where it is.
class EKeptInPlace : public EHistoryError {
    using EHistoryError::EHistoryError;
};

qint64 Now() { return QDateTime::currentSecsSinceEpoch(); }

bool Occupied(const QString& path) { return QFileInfo::exists(path) || QFileInfo(path).isSymLink(); }

}  // namespace

QString DefaultHistoryPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath("Tarnwell/Spades/history.sqlite");
}

// Begins IMMEDIATE (the write lock at once) unless a batch holds one already;
// rolls back unless committed.
class THistoryStore::TTransaction {
public:
    explicit TTransaction(const THistoryStore& store) : FDb(store.Database()), FOwn(!store.FInBatch)
    {
        if (FOwn)
            Run(FDb, "BEGIN IMMEDIATE");
    }
    ~TTransaction()
    {
        if (FOwn && !FDone) {
            QSqlQuery rollback(FDb);
            rollback.exec("ROLLBACK");
        }
    }
    void Commit()
    {
        if (FOwn)
            Run(FDb, "COMMIT");
        FDone = true;
    }

private:
    QSqlDatabase FDb;
    bool FOwn;
    bool FDone = false;
};

THistoryStore::THistoryStore(QString path) : FPath(std::move(path)) {}

THistoryStore::~THistoryStore() { Close(); }

QSqlDatabase THistoryStore::Database() const { return QSqlDatabase::database(FConnection, false); }

bool THistoryStore::Open()
{
    Close();
    FProblem.clear();
    FKeptAs.clear();
    const QFileInfo info(FPath);
    if (!QDir().mkpath(info.absolutePath())) {
        ApplyFault("The folder " + QDir::toNativeSeparators(info.absolutePath()) + " cannot be made.", false);
        return false;
    }
    FLock = std::make_unique<QLockFile>(FPath + ".lock");
    FLock->setStaleLockTime(0);  // only a dead holder makes a lock stale
    if (!FLock->tryLock(0)) {
        const bool inUse = FLock->error() == QLockFile::LockFailedError;
        FLock.reset();
        if (inUse) {
            FState = THistoryState::InUse;
            FProblem = "Another copy of Quelbrin Spades is keeping its game history in " +
                       QDir::toNativeSeparators(FPath) + ".\rThis copy goes on without history.";
        } else {
            ApplyFault("Its lock file " + QDir::toNativeSeparators(FPath + ".lock") + " cannot be made.", false);
        }
        return false;
    }
    try {
        OpenFile();
    } catch (const EKeptInPlace& error) {
        ApplyFault(error.Text(), false);
        return false;
    } catch (const EHistoryError& error) {
        ApplyFault(error.Text(), true);
        return false;
    }
    FState = THistoryState::Open;
    return true;
}

void THistoryStore::OpenFile()
{
    if (QFileInfo::exists(FPath) && !QFileInfo(FPath).isWritable())
        throw EHistoryError("The file cannot be written.");
    FConnection = "history-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", FConnection);
        if (!db.isValid())
            throw EKeptInPlace("The SQLite driver of Qt SQL is not installed (libqt6sql6-sqlite).");
        db.setDatabaseName(FPath);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
        if (!db.open())
            throw EHistoryError(db.lastError().text());
    }
    const QSqlDatabase db = Database();
    // Checked before anything is written, so that a file we do not take is kept as it was.
    const int version = SchemaVersion(db);
    if (version > CurrentSchemaVersion)
        throw EKeptInPlace(QStringLiteral("The file was written by a newer version of the game (schema %1).")
                                .arg(version));
    Run(db, "PRAGMA foreign_keys = ON");
    {
        // Upgraded in the file's own journal mode: a failed upgrade rolls back to the very same bytes.
        TTransaction transaction(*this);
        UpgradeSchema(db);
        transaction.Commit();
    }
    QSqlQuery mode(db);
    Run(mode, "PRAGMA journal_mode = WAL");
    if (!mode.next() || mode.value(0).toString().compare("wal", Qt::CaseInsensitive) != 0)
        throw EHistoryError("The file cannot be switched to write-ahead logging.");
    mode.finish();
    // A committed hand survives a power cut.
    Run(db, "PRAGMA synchronous = FULL");
    FWriteHand = std::make_unique<QSqlQuery>(db);
    FWriteHand->prepare(
        "INSERT OR REPLACE INTO hands (game, number, first_seat, deal, bids, plays, tricks, bags,"
        " score1, score2, score3, score4, undone) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    FTallyHand = std::make_unique<QSqlQuery>(db);
    FTallyHand->prepare(
        "UPDATE game_seats SET hands = hands + 1, points = points + (? - score), bids = bids + ?,"
        " made = made + ?, exact = exact + ?, nils = nils + ?, nils_won = nils_won + ?, bags = bags + ?,"
        " score = ? WHERE game = ? AND seat = ?");
}

void THistoryStore::Close()
{
    FWriteHand.reset();
    FTallyHand.reset();
    if (!FConnection.isEmpty()) {
        {
            QSqlDatabase db = Database();
            if (db.isOpen())
                db.close();
        }
        QSqlDatabase::removeDatabase(FConnection);
        FConnection.clear();
    }
    FInBatch = false;
    FLock.reset();
    if (FState == THistoryState::Open)
        FState = THistoryState::Closed;
}

QString THistoryStore::MoveAside()
{
    if (!Occupied(FPath))
        return {};
    const QString base = FPath + ".damaged";
    QString target = base;
    for (int n = 2; Occupied(target) || Occupied(target + "-wal"); ++n) {
        if (n > 9999)
            return {};
        target = base + '.' + QString::number(n);
    }
    if (!QFile::rename(FPath, target))
        return {};
    // The write-ahead log belongs to the file: it goes with it, or it would be
    // replayed into the next new file of that name.
    for (const char* suffix : {"-wal", "-shm"}) {
        if (Occupied(FPath + suffix) && !QFile::rename(FPath + suffix, target + suffix))
            QFile::remove(FPath + suffix);
    }
    return target;
}

void THistoryStore::ApplyFault(const QString& why, bool moveAside)
{
    Close();
    FKeptAs.clear();
    // Moved only while no other copy holds it.
    if (moveAside) {
        QLockFile lock(FPath + ".lock");
        if (lock.tryLock(0))
            FKeptAs = MoveAside();
    }
    FState = FKeptAs.isEmpty() ? THistoryState::Unusable : THistoryState::SetAside;
    FProblem = "The game history " + QDir::toNativeSeparators(FPath) + " could not be used:\r" + why + "\r\r";
    if (!FKeptAs.isEmpty())
        FProblem += "The file was kept as " + QDir::toNativeSeparators(FKeptAs) + ".\r";
    FProblem += "The game goes on without history.";
}

void THistoryStore::Fail(const QString& why)
{
    if (FState != THistoryState::Open)
        return;
    ApplyFault(why, true);
}

qint64 THistoryStore::BeginGame(const TGameRecord& game)
{
    const QSqlDatabase db = Database();
    TTransaction transaction(*this);
    QSqlQuery query(db);
    query.prepare("UPDATE games SET outcome = 2, ended = ? WHERE outcome = 0");
    query.addBindValue(Now());
    Run(query);
    query.prepare(
        "INSERT INTO games (started, win_score, name1, name2, name3, name4, type1, type2, type3, type4, outcome,"
        " rules) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0, ?)");
    query.addBindValue(game.Started.isValid() ? game.Started.toSecsSinceEpoch() : Now());
    query.addBindValue(game.WinScore);
    for (int seat = 1; seat <= 4; ++seat)
        query.addBindValue(game.Seats[static_cast<size_t>(seat)].Name);
    for (int seat = 1; seat <= 4; ++seat)
        query.addBindValue(static_cast<int>(game.Seats[static_cast<size_t>(seat)].Type));
    // A null text would be stored as NULL: the table's own rules are ''.
    query.addBindValue(game.Rules.isNull() ? QString("") : game.Rules);
    Run(query);
    const qint64 id = query.lastInsertId().toLongLong();
    query.prepare("INSERT INTO game_seats (game, seat, name, type) VALUES (?, ?, ?, ?)");
    for (int seat = 1; seat <= 4; ++seat) {
        query.addBindValue(id);
        query.addBindValue(seat);
        query.addBindValue(game.Seats[static_cast<size_t>(seat)].Name);
        query.addBindValue(static_cast<int>(game.Seats[static_cast<size_t>(seat)].Type));
        Run(query);
    }
    transaction.Commit();
    return id;
}

void THistoryStore::WriteHand(qint64 game, const THandRecord& hand, int winner, int partner)
{
    const QSqlDatabase db = Database();
    TTransaction transaction(*this);
    QSqlQuery& write = *FWriteHand;
    write.addBindValue(game);
    write.addBindValue(hand.Number);
    write.addBindValue(hand.FirstSeat);
    write.addBindValue(JoinNumbers(hand.Deal.data(), hand.Deal.size()));
    const auto seats = [&](const TSeatInts& values) { return hand.Scored ? QVariant(JoinSeats(values)) : QVariant(); };
    write.addBindValue(seats(hand.Bids));
    write.addBindValue(hand.Scored ? QVariant(JoinNumbers(hand.Plays.data(), hand.Plays.size())) : QVariant());
    write.addBindValue(seats(hand.Tricks));
    write.addBindValue(seats(hand.Bags));
    for (int seat = 1; seat <= 4; ++seat)
        write.addBindValue(hand.Scored ? QVariant(hand.Scores[static_cast<size_t>(seat)]) : QVariant());
    write.addBindValue(hand.Undone.empty() ? QVariant() : QVariant(JoinNumbers(hand.Undone.data(), hand.Undone.size())));
    Run(write);
    if (hand.Scored) {
        QSqlQuery& tally = *FTallyHand;
        for (int seat = 1; seat <= 4; ++seat) {
            const size_t s = static_cast<size_t>(seat);
            const int bid = hand.Bids[s], tricks = hand.Tricks[s];
            tally.addBindValue(hand.Scores[s]);
            tally.addBindValue(bid != 0 ? 1 : 0);
            tally.addBindValue(bid != 0 && tricks >= bid ? 1 : 0);
            tally.addBindValue(bid != 0 && tricks == bid ? 1 : 0);
            tally.addBindValue(bid == 0 ? 1 : 0);
            tally.addBindValue(bid == 0 && tricks == 0 ? 1 : 0);
            tally.addBindValue(hand.Bags[s]);
            tally.addBindValue(hand.Scores[s]);
            tally.addBindValue(game);
            tally.addBindValue(seat);
            Run(tally);
        }
    }
    if (winner >= 1 && winner <= 4) {
        QSqlQuery end(db);
        end.prepare("UPDATE games SET outcome = 1, winner = ?, ended = ? WHERE id = ?");
        end.addBindValue(winner);
        end.addBindValue(Now());
        end.addBindValue(game);
        Run(end);
        end.prepare("UPDATE game_seats SET won = 1 WHERE game = ? AND seat IN (?, ?)");
        end.addBindValue(game);
        end.addBindValue(winner);
        end.addBindValue(partner >= 1 && partner <= 4 ? partner : winner);
        Run(end);
    }
    transaction.Commit();
}

void THistoryStore::CountUndo(qint64 game)
{
    TTransaction transaction(*this);
    QSqlQuery query(Database());
    query.prepare("UPDATE games SET undos = undos + 1 WHERE id = ?");
    query.addBindValue(game);
    Run(query);
    transaction.Commit();
}

void THistoryStore::AbandonUnfinished()
{
    TTransaction transaction(*this);
    QSqlQuery query(Database());
    query.prepare("UPDATE games SET outcome = 2, ended = ? WHERE outcome = 0");
    query.addBindValue(Now());
    Run(query);
    transaction.Commit();
}

void THistoryStore::Reset(qint64 keepGame)
{
    TTransaction transaction(*this);
    QSqlQuery query(Database());
    for (const char* table : {"game_seats", "hands"}) {
        query.prepare(QStringLiteral("DELETE FROM %1 WHERE game <> ?").arg(table));
        query.addBindValue(keepGame);
        Run(query);
    }
    query.prepare("DELETE FROM games WHERE id <> ?");
    query.addBindValue(keepGame);
    Run(query);
    transaction.Commit();
}

std::optional<TResumePoint> THistoryStore::Unfinished() const
{
    const QSqlDatabase db = Database();
    QSqlQuery query(db);
    Run(query,
        "SELECT id, started, win_score, name1, name2, name3, name4, type1, type2, type3, type4, outcome, rules"
        " FROM games ORDER BY id DESC LIMIT 1");
    if (!query.next() || query.value(11).toInt() != static_cast<int>(TGameOutcome::Unfinished))
        return std::nullopt;
    TResumePoint point;
    point.Game.Id = query.value(0).toLongLong();
    point.Game.Started = QDateTime::fromSecsSinceEpoch(query.value(1).toLongLong());
    point.Game.WinScore = query.value(2).toInt();
    for (int seat = 1; seat <= 4; ++seat) {
        auto& record = point.Game.Seats[static_cast<size_t>(seat)];
        record.Name = query.value(2 + seat).toString();
        record.Type = SeatTypeOf(query.value(6 + seat).toInt());
    }
    point.Game.Rules = query.value(12).toString();
    query.finish();

    query.prepare("SELECT number, first_seat, deal, bags, score1, score2, score3, score4 FROM hands"
                  " WHERE game = ? ORDER BY number");
    query.addBindValue(point.Game.Id);
    Run(query);
    int lastFirst = 0;
    while (query.next()) {
        const int first = query.value(1).toInt();
        if (first < 1 || first > 4)
            throw EHistoryError("A hand of the unfinished game has no first seat.");
        if (query.value(4).isNull()) {
            // The hand in play: only the last hand can be unscored.
            const auto deal = SplitNumbers(query.value(2).toString(), 1, 52, 52);
            std::array<int, 52> cards{};
            if (deal)
                std::copy(deal->begin(), deal->end(), cards.begin());
            if (!deal || !IsWholeDeck(cards))
                throw EHistoryError("The deal of the hand in play is unreadable.");
            point.Deal = cards;
            point.FirstSeat = first;
            break;
        }
        const auto bags = SplitSeats(query.value(3).toString(), 0, 13);
        if (!bags)
            throw EHistoryError("A hand of the unfinished game holds unreadable bags.");
        ++point.HandsScored;
        for (int seat = 1; seat <= 4; ++seat) {
            point.Scores[static_cast<size_t>(seat)] = query.value(3 + seat).toInt();
            point.TotalBags[static_cast<size_t>(seat)] += (*bags)[static_cast<size_t>(seat)];
        }
        lastFirst = first;
    }
    if (!point.Deal)
        point.FirstSeat = lastFirst == 0 ? 3 : lastFirst % 4 + 1;
    return point;
}

void THistoryStore::BeginBatch()
{
    if (FInBatch)
        return;
    Run(Database(), "BEGIN IMMEDIATE");
    FInBatch = true;
}

void THistoryStore::SetDurable(bool durable)
{
    Run(Database(), durable ? "PRAGMA synchronous = FULL" : "PRAGMA synchronous = NORMAL");
}

void THistoryStore::EndBatch()
{
    if (!FInBatch)
        return;
    FInBatch = false;
    Run(Database(), "COMMIT");
}

}  // namespace spades
