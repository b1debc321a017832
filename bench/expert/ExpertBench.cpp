// Time of the Expert's decisions: one Expert seat against three classic seats,
// the Expert at each seat in turn, every bid and card timed on its own.
// Usage: bench_expert [games per seat, default 10] [seed, default 2027]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "Simulator.h"
#include "../ThreadTimes.h"

using namespace spades;

namespace {

// Times the Expert's answers by asking it again outside the simulator: same
// view, same answer, so the game is the one the simulator plays.
class TTimer : public TGameObserver {
public:
    explicit TTimer(int expertSeat) : FSeat(expertSeat) {}

    void HandDealt(const TSpadesGame&, int) override { FBidTimed = false; }

    void CardChosen(const TSpadesGame& game, int seat, int) override
    {
        if (seat != FSeat)
            return;
        if (!FBidTimed) {
            // The bid is timed from a view with the bids of the seats before it.
            FBidTimed = true;
            TExpertView view = ViewOf(game, seat);
            view.PlayCount = 0;
            int before = 0;
            while (before < 4 && view.Order[static_cast<size_t>(before + 1)] != seat)
                ++before;
            view.BidCount = before;
            view.Tricks = {};
            view.Held = 0;
            for (int slot = 1; slot <= 13; ++slot) {
                const int card = game.Table.Player(seat).FHand[static_cast<size_t>(slot)];
                if (card >= 1 && card <= 52)
                    view.Held |= CardBit(card);
            }
            Time(Bids, [&] { return FExpert.ChooseBid(view); });
        }
        const TExpertView view = ViewOf(game, seat);
        Time(Cards, [&] { return FExpert.ChooseCard(view); });
    }

    template <typename F>
    void Time(std::vector<double>& into, F decide)
    {
        const double start = bench::CpuMilliseconds();
        volatile int answer = decide();
        (void)answer;
        into.push_back(bench::CpuMilliseconds() - start);
    }

    std::vector<double> Bids, Cards;

private:
    int FSeat;
    bool FBidTimed = false;
    TExpertPlayer FExpert;
};

void Report(const char* what, std::vector<double> times)
{
    bench::ReportTimes(what, "decisions", std::move(times));
}

}  // namespace

int main(int argc, char** argv)
{
    const int games = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const auto seed = static_cast<uint32_t>(argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 2027);
    std::vector<double> bids, cards;
    for (int seat = North; seat <= West; ++seat) {
        std::ostringstream out;
        TSimulator simulator(seed + static_cast<uint32_t>(seat), 250, out);
        std::array<TSeatKind, 5> seats{};
        seats[static_cast<size_t>(seat)] = TSeatKind::Expert;
        simulator.SetSeats(seats);
        TTimer timer(seat);
        simulator.AddObserver(&timer);
        simulator.Run(games);
        bids.insert(bids.end(), timer.Bids.begin(), timer.Bids.end());
        cards.insert(cards.end(), timer.Cards.begin(), timer.Cards.end());
    }
    std::printf("Expert decision times (processor time of one thread), %d games with the Expert at each seat\n", games);
    Report("bid", bids);
    Report("card", cards);
    std::vector<double> all = bids;
    all.insert(all.end(), cards.begin(), cards.end());
    Report("all", all);
    return 0;
}
