// Time of the double-dummy solver on fixed random positions: positions with 8
// tricks left (some with a trick begun), then whole 13-trick deals, one seat each,
// for as long as a time limit allows. Each figure is printed as soon as it is known.
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

// One position solved: its time in ms, its nodes.
std::pair<double, uint64_t> SolveOne(TDoubleDummy& solver, TRandom& random, int tricksLeft, bool trickBegun,
                                     int& tricks)
{
    const int inTrick = trickBegun ? static_cast<int>(random.Below(4)) : 0;
    const TDDPosition position = RandomPosition(random, tricksLeft, inTrick, TLeadRule::AfterBroken);
    const int seat = static_cast<int>(random.Below(4)) + 1;
    const uint64_t nodes = solver.Nodes();
    const double start = bench::CpuMilliseconds();
    tricks += solver.MostTricks(position, seat);
    return {bench::CpuMilliseconds() - start, solver.Nodes() - nodes};
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
        const auto [ms, nodes] = SolveOne(solver, shortRandom, 8, true, eight.Tricks);
        eight.Add(ms, nodes);
    }
    Report("8", eight);

    // Whole deals have a long tail: each is printed as it is solved, and the
    // section ends at the time limit.
    TRandom fullRandom(seed + 1);
    TRun full;
    double spent = 0;
    for (int i = 0; i < deals && spent < limitMs; ++i) {
        const auto [ms, nodes] = SolveOne(solver, fullRandom, 13, false, full.Tricks);
        full.Add(ms, nodes);
        spent += ms;
        std::printf("13     deal %3d  %8.2f ms  %10llu nodes\n", i + 1, ms, static_cast<unsigned long long>(nodes));
        std::fflush(stdout);
    }
    if (full.Times.size() < static_cast<size_t>(deals))
        std::printf("13     stopped at the time limit of %.0f s\n", limitMs / 1000);
    Report("13", full);
    return 0;
}
