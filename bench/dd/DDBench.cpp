// Time of the double-dummy solver on fixed random positions: whole 13-trick
// deals, one seat each, and positions with 8 tricks left (some with a trick begun).
// Usage: bench_dd [deals, default 400] [seed, default 2027] [table bits, default the solver's]
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "../ThreadTimes.h"
#include "DoubleDummy.h"

using namespace spades;

namespace {

struct TRun {
    std::vector<double> Times;
    uint64_t Nodes = 0;
    int Tricks = 0;
};

TRun Time(TDoubleDummy& solver, TRandom& random, int count, int tricksLeft, bool trickBegun)
{
    TRun run;
    for (int i = 0; i < count; ++i) {
        const int inTrick = trickBegun ? static_cast<int>(random.Below(4)) : 0;
        const TDDPosition position = RandomPosition(random, tricksLeft, inTrick, TLeadRule::AfterBroken);
        const int seat = static_cast<int>(random.Below(4)) + 1;
        const uint64_t nodes = solver.Nodes();
        const double start = bench::CpuMilliseconds();
        run.Tricks += solver.MostTricks(position, seat);
        run.Times.push_back(bench::CpuMilliseconds() - start);
        run.Nodes += solver.Nodes() - nodes;
    }
    return run;
}

void Report(const char* what, const TRun& run)
{
    bench::ReportTimes(what, "positions", run.Times);
    std::printf("       nodes per position %.0f, tricks taken in all %d\n",
                static_cast<double>(run.Nodes) / static_cast<double>(run.Times.size()), run.Tricks);
}

}  // namespace

int main(int argc, char** argv)
{
    const int deals = argc > 1 ? std::max(1, std::atoi(argv[1])) : 400;
    const auto seed = static_cast<uint32_t>(argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 2027);
    const int bits = argc > 3 ? std::atoi(argv[3]) : TDoubleDummy::DefaultTableBits;
    TDoubleDummy solver(bits);
    std::printf("Double-dummy solver (processor time of one thread), transposition table %zu KiB\n",
                solver.TableBytes() / 1024);
    TRandom random(seed);
    Report("13", Time(solver, random, deals, 13, false));
    Report("8", Time(solver, random, 4 * deals, 8, true));
    return 0;
}
