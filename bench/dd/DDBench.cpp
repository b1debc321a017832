// Time of the double-dummy solver on fixed random positions: positions with 8
// tricks left (some with a trick begun), then whole 13-trick deals, one seat each,
// for as long as a time limit allows, each within a node bound. Each figure is
// printed as soon as it is known.
// Usage: bench_dd [deals, default 400] [seed, default 2027] [table bits, default the solver's]
//                 [seconds for the whole deals, default 60]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "../ThreadTimes.h"
#include "DoubleDummy.h"

using namespace spades;

namespace {

struct TRun {
    std::vector<double> Times;
    std::vector<uint64_t> NodeCounts;
    uint64_t Nodes = 0;
    int Tricks = 0;
    void Add(double ms, uint64_t nodes)
    {
        Times.push_back(ms);
        NodeCounts.push_back(nodes);
        Nodes += nodes;
    }
};

// The play checker's whole budget for one card: positions that alone would spend it.
constexpr uint64_t CheckerNodes = 2000000;

// A whole deal may run for a minute; past this many nodes it is given up.
constexpr uint64_t DealNodes = 100000000;

struct TSolved {
    double Ms = 0;
    uint64_t Nodes = 0;
    bool GaveUp = false;
};

// One position solved, within the solver's bound.
TSolved SolveOne(TDoubleDummy& solver, TRandom& random, int tricksLeft, bool trickBegun, int& tricks)
{
    const int inTrick = trickBegun ? static_cast<int>(random.Below(4)) : 0;
    const TDDPosition position = RandomPosition(random, tricksLeft, inTrick, TLeadRule::AfterBroken);
    const int seat = static_cast<int>(random.Below(4)) + 1;
    const uint64_t nodes = solver.Nodes();
    const double start = bench::CpuMilliseconds();
    TSolved solved;
    try {
        tricks += solver.MostTricks(position, seat);
    } catch (const EDDGaveUp&) {
        solved.GaveUp = true;
    }
    solved.Ms = bench::CpuMilliseconds() - start;
    solved.Nodes = solver.Nodes() - nodes;
    return solved;
}

void Report(const char* what, const TRun& run)
{
    bench::ReportTimes(what, "positions", run.Times);
    double total = 0;
    for (double t : run.Times)
        total += t;
    const auto over = std::count_if(run.NodeCounts.begin(), run.NodeCounts.end(),
                                    [](uint64_t nodes) { return nodes > CheckerNodes; });
    std::printf("       nodes per position %.0f, %.0f nodes per ms, over %llu nodes %zu, tricks taken in all %d\n",
                static_cast<double>(run.Nodes) / static_cast<double>(run.Times.size()),
                total > 0 ? static_cast<double>(run.Nodes) / total : 0.0,
                static_cast<unsigned long long>(CheckerNodes), static_cast<size_t>(over), run.Tricks);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    const int deals = argc > 1 ? std::max(1, std::atoi(argv[1])) : 400;
    const auto seed = static_cast<uint32_t>(argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 2027);
    const int bits = argc > 3 ? std::atoi(argv[3]) : TDoubleDummy::DefaultTableBits;
    const double limitMs = 1000.0 * (argc > 4 ? std::max(1, std::atoi(argv[4])) : 60);
    TDoubleDummy solver(bits);
    std::printf("Double-dummy solver (processor time of one thread), transposition table %zu KiB\n",
                solver.TableBytes() / 1024);
    std::fflush(stdout);

    // The short positions first: they are quick, and their figures do not wait on the slow deals.
    TRandom shortRandom(seed);
    TRun eight;
    for (int i = 0; i < 4 * deals; ++i) {
        const TSolved solved = SolveOne(solver, shortRandom, 8, true, eight.Tricks);
        eight.Add(solved.Ms, solved.Nodes);
    }
    Report("8", eight);

    // Whole deals have a long tail: each is printed as it is solved, one that
    // runs past DealNodes is given up (its time counted as it stood), and the
    // section ends at the time limit.
    TRandom fullRandom(seed + 1);
    TRun full;
    double spent = 0;
    int gaveUp = 0;
    for (int i = 0; i < deals && spent < limitMs; ++i) {
        solver.SetBound({DealNodes, nullptr});
        const TSolved solved = SolveOne(solver, fullRandom, 13, false, full.Tricks);
        full.Add(solved.Ms, solved.Nodes);
        spent += solved.Ms;
        gaveUp += solved.GaveUp ? 1 : 0;
        std::printf("13     deal %3d  %8.2f ms  %10llu nodes%s\n", i + 1, solved.Ms,
                    static_cast<unsigned long long>(solved.Nodes), solved.GaveUp ? "  given up" : "");
        std::fflush(stdout);
    }
    if (full.Times.size() < static_cast<size_t>(deals))
        std::printf("13     stopped at the time limit of %.0f s\n", limitMs / 1000);
    if (gaveUp > 0)
        std::printf("13     %d given up at %llu nodes, their times counted as they stood\n", gaveUp,
                    static_cast<unsigned long long>(DealNodes));
    Report("13", full);
    return 0;
}
