// The benchmarks' history file of 10,000 simulated games, made once in the
// working folder (a real disk, not memory) and kept for later runs.
#pragma once

#include <QSqlQuery>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "HistoryStore.h"
#include "SimHistory.h"

namespace spades::bench {

inline constexpr int Games = 10000;
inline const QString FilePath = "bench-history-10000.sqlite";

inline THistoryStore& Store()
{
    static THistoryStore store(FilePath);
    static bool ready = [] {
        if (!store.Open()) {
            std::fprintf(stderr, "%s\n", qPrintable(store.Problem()));
            std::exit(1);
        }
        QSqlQuery count(store.Database());
        count.exec("SELECT COUNT(*) FROM games WHERE outcome = 1");
        if (count.next() && count.value(0).toInt() >= Games)
            return true;
        count.finish();
        store.Reset();
        std::ostringstream out;
        const auto start = std::chrono::steady_clock::now();
        {
            TSimHistory history(store);
            TSimulator simulator(20261208, 250, out);
            simulator.AddObserver(&history);
            simulator.Run(Games);
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        store.SetDurable(true);
        std::fprintf(stderr, "filled %d games in %.1f s (one transaction per game)\n", Games, seconds);
        return true;
    }();
    (void)ready;
    return store;
}

}  // namespace spades::bench
