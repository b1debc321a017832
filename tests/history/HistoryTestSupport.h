// A history file in a folder of its own, filled by the simulator when asked.
#pragma once

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <sstream>

#include "HistoryStore.h"
#include "SimHistory.h"
#include "Simulator.h"

namespace spades::testing {

class THistoryFolder {
public:
    QString Path(const QString& name = "history.sqlite") const { return Dir.filePath(name); }
    QByteArray Read(const QString& name) const
    {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void Write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QStringList Files() const { return QDir(Dir.path()).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir Dir;
};

// Watches the simulator beside the history writer, so both see the same games.
class TFanOut : public TSimObserver {
public:
    TFanOut(TSimObserver& a, TSimObserver& b) : A(a), B(b) {}
    void GameStarted(const TSpadesGame& g, int n) override { A.GameStarted(g, n), B.GameStarted(g, n); }
    void HandDealt(const TSpadesGame& g) override { A.HandDealt(g), B.HandDealt(g); }
    void CardChosen(const TSpadesGame& g, int s, int k) override { A.CardChosen(g, s, k), B.CardChosen(g, s, k); }
    void TrickDone(const TSpadesGame& g, int w) override { A.TrickDone(g, w), B.TrickDone(g, w); }
    void HandScored(const TSpadesGame& g, const TScoreResult& r) override { A.HandScored(g, r), B.HandScored(g, r); }
    void GameEnded(const TSpadesGame& g, int n, int w) override { A.GameEnded(g, n, w), B.GameEnded(g, n, w); }
    TSimObserver &A, &B;
};

// Runs games into an open store; returns the simulator's printed output.
inline std::string SimulateInto(THistoryStore& store, uint32_t seed, int games, int winScore = 250,
                                TSimObserver* watcher = nullptr, int handLimit = 100000)
{
    std::ostringstream out;
    TSimHistory history(store);
    TSimObserver nobody;
    TFanOut both(history, watcher ? *watcher : nobody);
    TSimulator simulator(seed, winScore, out);
    simulator.SetHandLimit(handLimit);
    simulator.SetObserver(&both);
    simulator.Run(games);
    EXPECT_TRUE(history.Problem().isEmpty()) << history.Problem().toStdString();
    return out.str();
}

inline QVariant Scalar(const QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql) || !query.next())
        return {};
    return query.value(0);
}

}  // namespace spades::testing
