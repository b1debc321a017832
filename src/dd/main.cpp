// spades-dd: reads positions one a line and prints, for each, the most tricks
// each seat can take of those left against the other three, and the time taken.
// A line that is not a position is reported, and the next line read.
#include <cstdio>
#include <ctime>
#include <iostream>
#include <string>

#include "PositionLine.h"

using namespace spades;

namespace {
double CpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}
}  // namespace

int main()
{
    TDoubleDummy solver;
    bool refused = false;
    std::string line;
    for (long number = 1; std::getline(std::cin, line); ++number) {
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        const TLineResult result = ParsePositionLine(line);
        if (!result.Error.empty()) {
            std::fprintf(stderr, "line %ld: %s\n", number, result.Error.c_str());
            refused = true;
            continue;
        }
        const double start = CpuMilliseconds();
        std::string answer;
        for (int seat = North; seat <= West; ++seat)
        {
            answer += " NESW"[seat];
            answer += '=';
            answer += std::to_string(solver.MostTricks(result.Position, seat));
            answer += ' ';
        }
        std::printf("%stime=%.3fms\n", answer.c_str(), CpuMilliseconds() - start);
        std::fflush(stdout);
    }
    return refused ? 1 : 0;
}
