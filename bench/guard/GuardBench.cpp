// What one wrong code costs the host while it tracks many prefixes: every
// guess from a prefix of its own, so the oldest is forgotten as each comes in.
#include <benchmark/benchmark.h>

#include <vector>

#include "JoinGuard.h"

using namespace spades::net;
using namespace std::chrono_literals;

namespace {

std::vector<TNetPrefix> Prefixes(size_t n)
{
    std::vector<TNetPrefix> all;
    all.reserve(n);
    for (size_t i = 0; i < n; ++i)
        all.push_back(PrefixOf(QHostAddress(static_cast<quint32>(0x0A000000u + (i << 8)))));
    return all;
}

void WrongCodeAt(benchmark::State& state)
{
    const auto tracked = static_cast<size_t>(state.range(0));
    TJoinGuard::TLimits limits;
    limits.Window = 3600s;  // nothing leaves by age: the table stays full
    limits.MaxTracked = tracked;
    TJoinGuard guard(limits);
    const std::vector<TNetPrefix> prefixes = Prefixes(tracked * 2);
    auto now = TJoinGuard::TClock::time_point{} + 1000s;
    for (size_t i = 0; i < tracked; ++i)
        guard.WrongCode(prefixes[i], now);
    size_t next = tracked;
    for (auto _ : state) {
        now += 1us;
        guard.WrongCode(prefixes[next], now);
        benchmark::DoNotOptimize(guard.Locked(prefixes[next], now));
        next = next + 1 == prefixes.size() ? 0 : next + 1;
    }
    state.counters["tracked"] = static_cast<double>(guard.Tracked());
}
BENCHMARK(WrongCodeAt)->Arg(1000)->Arg(16000)->Arg(100000);

}  // namespace

BENCHMARK_MAIN();
