#include <gmock/gmock.h>

#include <set>
#include <sstream>

#include "ExpertPlayout.h"
#include "Simulator.h"

using namespace spades;
using ::testing::HasSubstr;

namespace {

// Few layouts: the rules and the bookkeeping are under test here, not the strength.
constexpr TExpertSettings QuickExpert{24, 8, 4, 4, 0.03};

// Unoptimised builds (the sanitizer runs) play a fifth of the soak.
#ifdef NDEBUG
constexpr int SoakShare = 1;
#else
constexpr int SoakShare = 5;
#endif

std::array<TSeatKind, 5> Seats(const std::string& types)
{
    std::array<TSeatKind, 5> seats{};
    for (size_t i = 0; i < 4 && i < types.size(); ++i)
        seats[i + 1] = types[i] == 'E' ? TSeatKind::Expert : TSeatKind::Computer;
    return seats;
}

// Every play checked against the rules, every score against the hand.
class TExpertReferee : public TGameObserver {
public:
    explicit TExpertReferee(std::array<TSeatKind, 5> seats) : FSeats(seats) {}

    void HandDealt(const TSpadesGame& game, int) override
    {
        played.clear();
        for (int seat = North; seat <= West; ++seat)
            scoreBefore[static_cast<size_t>(seat)] = game.Table.Player(seat).FScore;
    }

    void CardChosen(const TSpadesGame& game, int seat, int card) override
    {
        const TPlayer& player = game.Table.Player(seat);
        ASSERT_NE(player.SlotOf(card), -1) << "a held card";
        EXPECT_TRUE(played.insert(card).second);
        // Every seat, classic ones beside an Expert's nils included.
        EXPECT_EQ(CheckPlay(game.Table, player, card), TPlayVerdict::Legal) << "seat " << seat;
        if (FSeats[static_cast<size_t>(seat)] == TSeatKind::Expert) {
            EXPECT_TRUE(player.FExpert);
            ++expertPlays;
        }
    }

    void HandScored(const TSpadesGame& game, const TScoreResult& result) override
    {
        EXPECT_EQ(played.size(), 52u);
        int tricks = 0;
        for (int seat = North; seat <= West; ++seat) {
            const TPlayer& player = game.Table.Player(seat);
            tricks += player.FTricks;
            EXPECT_GE(player.FBid, 0);
            EXPECT_LE(player.FBid, 13);
            int points = 0;
            if (player.FBid == 0)
                points = player.FTricks == 0 ? 100 : -100;
            else if (player.FTricks < player.FBid)
                points = -10 * player.FBid;
            else
                points = 10 * player.FBid + player.FTricks - player.FBid;
            if (player.FTotalBags >= 100)
                points -= 100;
            EXPECT_EQ(player.FScore - scoreBefore[static_cast<size_t>(seat)], points) << "seat " << seat;
        }
        EXPECT_EQ(tricks, 13);
        (void)result;
        ++hands;
    }

    std::array<TSeatKind, 5> FSeats;
    std::set<int> played;
    std::array<int, 5> scoreBefore{};
    long hands = 0;
    long expertPlays = 0;
};

struct TSoakCase {
    const char* seats;
    uint32_t seed;
    int games;
};

std::string SoakName(const ::testing::TestParamInfo<TSoakCase>& info) { return info.param.seats; }

class ExpertSoak : public ::testing::TestWithParam<TSoakCase> {};

TEST_P(ExpertSoak, EveryPlayLawfulEveryScoreRight)
{
    const TSoakCase& c = GetParam();
    std::ostringstream out;
    TSimulator simulator(c.seed, 250, out);
    simulator.SetSeats(Seats(c.seats));
    simulator.SetExpertSettings(QuickExpert);
    TExpertReferee referee(Seats(c.seats));
    simulator.AddObserver(&referee);
    const int games = c.games / SoakShare;
    simulator.Run(games);
    EXPECT_EQ(simulator.Stats().Games, games);
    EXPECT_EQ(simulator.Stats().UnfinishedGames, 0);
    EXPECT_GT(referee.expertPlays, 0);
    EXPECT_THAT(out.str(), ::testing::Not(HasSubstr("message "))) << "no internal error from any seat";
}

INSTANTIATE_TEST_SUITE_P(Seats, ExpertSoak,
                         ::testing::Values(TSoakCase{"Eccc", 11, 200}, TSoakCase{"cEcc", 12, 200},
                                           TSoakCase{"ccEc", 13, 200}, TSoakCase{"cccE", 14, 200},
                                           TSoakCase{"EcEc", 15, 100}, TSoakCase{"EEEE", 16, 100}),
                         SoakName);

TEST(ExpertSim, SameSeedSameGames)
{
    const auto run = [](uint32_t seed) {
        std::ostringstream out, log;
        TSimulator simulator(seed, 250, out, &log);
        simulator.SetSeats(Seats("cEcE"));
        simulator.SetExpertSettings(QuickExpert);
        simulator.Run(5);
        std::string text = out.str();
        text.erase(text.find("summary"));  // the timing differs
        return text + log.str();
    };
    const std::string first = run(99);
    EXPECT_EQ(first, run(99));
    EXPECT_NE(first, run(100));
    EXPECT_THAT(first, HasSubstr(" - Expert\r\n"));
    EXPECT_THAT(first, HasSubstr(" - Computer\r\n"));
}

TEST(ExpertSim, SeatSummaryNamesTypesAndPointsPerHand)
{
    std::ostringstream out;
    TSimulator simulator(3, 250, out);
    simulator.SetSeats(Seats("ccEc"));
    simulator.SetExpertSettings(QuickExpert);
    simulator.Run(2);
    simulator.WriteSeatSummary();
    const std::string text = out.str();
    EXPECT_THAT(text, HasSubstr("seats North=classic East=classic South=expert West=classic points_per_hand North="));
    EXPECT_THAT(text, HasSubstr(" expert_decisions "));
    // Points per hand times hands gives back each seat's final score of a one-game run.
    std::ostringstream single;
    TSimulator one(3, 250, single);
    one.SetSeats(Seats("cccc"));
    one.Run(1);
    one.WriteSeatSummary();
    const auto& stats = one.Stats();
    for (int seat = North; seat <= West; ++seat)
        EXPECT_EQ(stats.Points[static_cast<size_t>(seat)], one.Game().Table.Player(seat).FScore);
    EXPECT_THAT(single.str(), ::testing::Not(HasSubstr("expert_decisions")));
}

// The private table plays exactly as the classic seats do: given the true cards,
// a playout from any point of a classic hand ends with the hand's real tricks,
// and a replay of the plays so far meets no surprise.
class TFidelityCheck : public TGameObserver {
public:
    void HandDealt(const TSpadesGame& game, int) override
    {
        predictions.clear();
        for (int seat = North; seat <= West; ++seat) {
            dealt[static_cast<size_t>(seat)] = 0;
            for (int slot = 1; slot <= 13; ++slot)
                dealt[static_cast<size_t>(seat)] |= CardBit(game.Table.Player(seat).FHand[static_cast<size_t>(slot)]);
        }
    }

    void CardChosen(const TSpadesGame& game, int seat, int) override
    {
        const TExpertView view = ViewOf(game, seat);
        const TKnowledge known = KnowledgeOf(view);
        TLayout held{};
        std::array<int, 5> bids{};
        for (int s = North; s <= West; ++s) {
            held[static_cast<size_t>(s)] = dealt[static_cast<size_t>(s)] & ~known.PlayedBy[static_cast<size_t>(s)];
            bids[static_cast<size_t>(s)] = game.Table.Player(s).FBid;
        }
        EXPECT_EQ(held[static_cast<size_t>(seat)], view.Held);
        EXPECT_EQ(known.ToPlay, seat);
        predictions.push_back(table.PlayOut(view, known, held, bids, 0));
        const auto surprises = table.CountSurprises(view, dealt, bids, 0x1E);
        EXPECT_EQ(surprises, (std::array<int, 5>{}));
        ++checks;
    }

    void HandScored(const TSpadesGame& game, const TScoreResult&) override
    {
        std::array<int, 5> real{};
        for (int s = North; s <= West; ++s)
            real[static_cast<size_t>(s)] = game.Table.Player(s).FTricks;
        for (const auto& predicted : predictions)
            EXPECT_EQ(predicted, real);
    }

    TPlayoutTable table;
    TLayout dealt{};
    std::vector<std::array<int, 5>> predictions;
    long checks = 0;
};

TEST(ExpertPlayout, ReproducesClassicHands)
{
    std::ostringstream out;
    TSimulator simulator(2024, 250, out);
    TFidelityCheck check;
    simulator.AddObserver(&check);
    simulator.Run(20);
    EXPECT_GT(check.checks, 20 * 5 * 52);
}

TEST(ExpertPlayout, ClassicBidMatchesTheSeat)
{
    std::ostringstream out;
    TSimulator simulator(77, 250, out);
    struct TBids : TGameObserver {
        void HandScored(const TSpadesGame&, const TScoreResult&) override {}
        void HandDealt(const TSpadesGame& game, int) override
        {
            for (int seat = North; seat <= West; ++seat) {
                TCardSet hand = 0;
                for (int slot = 1; slot <= 13; ++slot)
                    hand |= CardBit(game.Table.Player(seat).FHand[static_cast<size_t>(slot)]);
                TPlayer copy(host, scratch);
                copy.FHand = game.Table.Player(seat).FHand;
                copy.FSuitCount = game.Table.Player(seat).FSuitCount;
                copy.ComputeBid();
                EXPECT_EQ(table.ClassicBid(hand), copy.FBid);
                ++count;
            }
        }
        THeadlessHost host;
        TTableState scratch;
        TPlayoutTable table;
        int count = 0;
    } bids;
    simulator.AddObserver(&bids);
    simulator.Run(10);
    EXPECT_GT(bids.count, 100);
}

// Layouts drawn in the middle of classic hands, seen from the seat to play as if
// it were an Expert: every layout keeps the rules of a deal, and with the swaps
// they explain what the classic seats bid and played, spread over many layouts.
class TLayoutCheck : public TGameObserver {
public:
    explicit TLayoutCheck(int swapSteps) : FExpert(Settings(swapSteps)) {}

    void CardChosen(const TSpadesGame& game, int seat, int) override
    {
        if (game.FPlayCount % 7 != 3)
            return;  // a spread of points in the hand, at a fraction of the cost
        TExpertView view = ViewOf(game, seat);
        view.Kind[static_cast<size_t>(seat)] = TSeatKind::Expert;
        const TKnowledge known = KnowledgeOf(view);
        TExpertRandom random(MixSeed({game.Random.Seed(), static_cast<uint64_t>(game.FPlayCount)}));
        const auto samples = FExpert.DrawSamples(view, known, random, 32);
        ASSERT_EQ(samples.size(), 32u);
        std::set<TLayout> distinct;
        for (const auto& sample : samples) {
            TCardSet others = 0;
            for (int s = North; s <= West; ++s) {
                const TCardSet held = sample.Held[static_cast<size_t>(s)];
                if (s == seat) {
                    ASSERT_EQ(held, view.Held);
                    continue;
                }
                ASSERT_EQ(CountCards(held), known.HeldCount[static_cast<size_t>(s)]) << "seat " << s;
                ASSERT_EQ(others & held, 0u) << "a card dealt twice";
                others |= held;
                for (int suit = Spades; suit <= Diamonds; ++suit) {
                    if (known.VoidSuits[static_cast<size_t>(s)] & (1u << suit)) {
                        ASSERT_EQ(held & SuitCards(suit), 0u) << "a void seat got suit " << suit;
                    }
                }
                // A classic seat's bid, given the cards it was dealt in this layout.
                const TCardSet dealt = held | known.PlayedBy[static_cast<size_t>(s)];
                ++bids;
                explained += table.ClassicBid(dealt) == game.Table.Player(s).FBid;
            }
            ASSERT_EQ(others, known.Unseen) << "every unseen card placed once";
            distinct.insert(sample.Held);
        }
        distinctTotal += static_cast<long>(distinct.size());
        ++views;
    }

    static TExpertSettings Settings(int swapSteps)
    {
        TExpertSettings settings;
        settings.Proposals = 400;
        settings.SwapSteps = swapSteps;
        return settings;
    }

    TExpertPlayer FExpert;
    TPlayoutTable table;
    long views = 0, bids = 0, explained = 0, distinctTotal = 0;
};

TEST(ExpertLayouts, KeepTheDealAndExplainTheBidsSeen)
{
    std::array<double, 2> spread{};
    for (int swaps : {0, 8}) {
        std::ostringstream out;
        TSimulator simulator(31, 250, out);
        TLayoutCheck check(swaps);
        simulator.AddObserver(&check);
        simulator.SetHandLimit(3);
        simulator.PlayGame(1);
        ASSERT_GT(check.views, 15);
        const double share = static_cast<double>(check.explained) / static_cast<double>(check.bids);
        EXPECT_GT(share, 0.9) << "swaps " << swaps << ": layouts whose classic bids are the bids seen";
        spread[swaps ? 1 : 0] = static_cast<double>(check.distinctTotal) / static_cast<double>(check.views);
    }
    EXPECT_GT(spread[1], 2 * spread[0]) << "the swaps spread the copies of the few weighty proposals";
}

}  // namespace
