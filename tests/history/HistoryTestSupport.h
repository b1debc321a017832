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

// Runs games by those rules into an open store; returns the simulator's printed output.
inline std::string SimulateInto(THistoryStore& store, uint32_t seed, int games, const TRuleSet& rules,
                                TGameObserver* watcher = nullptr, int handLimit = 100000)
{
    std::ostringstream out;
    TSimHistory history(store);
    TSimulator simulator(seed, rules, out);
    simulator.SetHandLimit(handLimit);
    simulator.AddObserver(&history);
    simulator.AddObserver(watcher);
    simulator.Run(games);
    EXPECT_TRUE(history.Problem().isEmpty()) << history.Problem().toStdString();
    return out.str();
}

inline std::string SimulateInto(THistoryStore& store, uint32_t seed, int games, int winScore = 250,
                                TGameObserver* watcher = nullptr, int handLimit = 100000)
{
    return SimulateInto(store, seed, games, TRuleSet::WithWinScore(winScore), watcher, handLimit);
}

inline QVariant Scalar(const QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql) || !query.next())
        return {};
    return query.value(0);
}

}  // namespace spades::testing
