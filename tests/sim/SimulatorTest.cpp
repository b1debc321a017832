#include <gmock/gmock.h>

#include <map>
#include <set>
#include <sstream>

#include "Simulator.h"

using namespace spades;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

// Checks the rules from the outside while games run.
class TInvariants : public TGameObserver {
public:
    void HandDealt(const TSpadesGame& game, int) override
    {
        std::set<int> cards;
        for (int seat = 1; seat <= 4; ++seat) {
            const TPlayer& player = game.Table.Player(seat);
            EXPECT_EQ(player.FCardCount, 13);
            for (int slot = 1; slot <= 13; ++slot)
                cards.insert(player.FHand[static_cast<size_t>(slot)]);
        }
        EXPECT_EQ(cards.size(), 52u) << "every card dealt once";
        EXPECT_EQ(*cards.begin(), 1);
        EXPECT_EQ(*cards.rbegin(), 52);
        tricksThisHand = 0;
        playedThisHand.clear();
        ++hands;
    }

    void CardChosen(const TSpadesGame& game, int seat, int card) override
    {
        const TPlayer& player = game.Table.Player(seat);
        ASSERT_NE(player.SlotOf(card), -1) << "a held card";
        EXPECT_EQ(CheckPlay(game.Table, player, card), TPlayVerdict::Legal) << "held to the rules a person is held to";
        EXPECT_TRUE(playedThisHand.insert(card).second);
    }

    void TrickWon(const TSpadesGame& game, int winner) override
    {
        std::set<int> seats;
        for (int place = 1; place <= 4; ++place)
            seats.insert(game.Table.Place(place).FSeat);
        EXPECT_EQ(seats.size(), 4u) << "one card per seat";
        EXPECT_GE(winner, 1);
        EXPECT_LE(winner, 4);
        ++tricksThisHand;
    }

    void HandScored(const TSpadesGame& game, const TScoreResult&) override
    {
        EXPECT_EQ(tricksThisHand, 13);
        EXPECT_EQ(playedThisHand.size(), 52u);
        int tricks = 0;
        for (int seat = 1; seat <= 4; ++seat) {
            const TPlayer& player = game.Table.Player(seat);
            tricks += player.FTricks;
            const int bid = player.FBid;
            int handScore = 0;
            if (bid == 0)
                handScore = player.FTricks == 0 ? 100 : -100;
            else if (player.FTricks < bid)
                handScore = -10 * bid;
            else
                handScore = 10 * bid + player.FTricks - bid;
            const int bags = bid > 0 && player.FTricks > bid ? player.FTricks - bid : 0;
            EXPECT_EQ(player.FBags, bags);
            total[static_cast<size_t>(seat)] += handScore;
            totalBags[static_cast<size_t>(seat)] += bags;
            if (totalBags[static_cast<size_t>(seat)] >= 100)
                total[static_cast<size_t>(seat)] -= 100;
            EXPECT_EQ(player.FScore, total[static_cast<size_t>(seat)]) << "the sum of the hand scores";
        }
        EXPECT_EQ(tricks, 13);
    }

    void NewGame()
    {
        total.fill(0);
        totalBags.fill(0);
    }

    int hands = 0;
    int tricksThisHand = 0;
    std::set<int> playedThisHand;
    std::array<int, 5> total{};
    std::array<int, 5> totalBags{};
};

TEST(Simulator, SoakKeepsEveryRule)
{
    std::ostringstream out;
    TSimulator simulator(987654321u, 250, out);
    TInvariants invariants;
    simulator.AddObserver(&invariants);
    for (int game = 1; game <= 2000; ++game) {
        invariants.NewGame();
        simulator.PlayGame(game);
        if (::testing::Test::HasFailure())
            FAIL() << "after game " << game;
    }
    EXPECT_GT(invariants.hands, 10000);
    EXPECT_THAT(out.str(), ::testing::Not(HasSubstr("message ")));
}

TEST(Simulator, HighWinScoresStillEndAndChargeBagPenalties)
{
    std::ostringstream out;
    TSimulator simulator(42u, 5000, out);
    TInvariants invariants;
    simulator.AddObserver(&invariants);
    invariants.NewGame();
    simulator.PlayGame(1);
    EXPECT_GT(simulator.Stats().BagPenalties, 0) << "a long game reaches the bag limit";
    EXPECT_THAT(out.str(), HasSubstr("notice "));
    EXPECT_THAT(out.str(), HasSubstr(" Exceeded bag limit: You lose 100 points.\n"));
}

std::string RunGames(uint32_t seed, int games, std::string* log = nullptr)
{
    std::ostringstream out, logOut;
    TSimulator simulator(seed, 250, out, log ? &logOut : nullptr);
    simulator.Run(games);
    if (log)
        *log = logOut.str();
    std::string text = out.str();
    return text.substr(0, text.rfind("summary"));  // the summary holds timings
}

TEST(Simulator, SameSeedSameGames)
{
    std::string logA, logB;
    EXPECT_EQ(RunGames(12345, 20, &logA), RunGames(12345, 20, &logB));
    EXPECT_EQ(logA, logB);
    EXPECT_NE(RunGames(12345, 20), RunGames(12346, 20));
}

TEST(Simulator, GamesFollowEachOtherLikeNewGameAgain)
{
    // The second game of a run is not the first game again: deck and generator carry over.
    const std::string two = RunGames(7, 2);
    const std::string one = RunGames(7, 1);
    ASSERT_THAT(two, StartsWith(one));
    std::string second = two.substr(one.size());
    std::string first = one;
    for (auto* text : {&first, &second})
        for (size_t at; (at = text->find("game 2")) != std::string::npos || (at = text->find("hand 2.")) != std::string::npos;)
            text->replace(at, 6, "game 1");
    EXPECT_NE(first, second);
}

TEST(Simulator, PrintsOneLinePerHandAndGame)
{
    std::ostringstream out;
    TSimulator simulator(5u, 250, out);
    simulator.Run(3);
    std::istringstream in(out.str());
    int hands = 0, games = 0, summaries = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("hand ")) {
            int g, h, n, e, s, w;
            char dot;
            std::istringstream fields(line.substr(5));
            std::string word;
            fields >> g >> dot >> h >> word >> n >> e >> s >> w;
            EXPECT_TRUE(fields && dot == '.' && word == "scores") << line;
            ++hands;
        } else if (line.starts_with("game ")) {
            EXPECT_THAT(line, ::testing::MatchesRegex("game [0-9]+ winner (North|East|South|West) after [0-9]+ hands"));
            ++games;
        } else if (line.starts_with("summary ")) {
            EXPECT_THAT(line, HasSubstr("hands_per_second"));
            EXPECT_THAT(line, HasSubstr("wins North="));
            ++summaries;
        } else {
            EXPECT_THAT(line, StartsWith("notice ")) << "unexpected line";
        }
    }
    EXPECT_EQ(games, 3);
    EXPECT_EQ(summaries, 1);
    EXPECT_EQ(hands, simulator.Stats().Hands);
}

TEST(Simulator, LogHoldsEveryHandInTheTablesFormat)
{
    std::string log;
    RunGames(12345, 2, &log);
    std::istringstream in(log);
    int blocks = 0, tricks = 0, separators = 0;
    for (std::string line; std::getline(in, line);) {
        ASSERT_FALSE(line.empty());
        ASSERT_EQ(line.back(), '\r') << "CR LF line ends";
        line.pop_back();
        if (line.starts_with("Player 1:  North - Computer"))
            ++blocks;
        if (line.starts_with("Play: "))
            ++tricks;
        if (line == std::string(50, '-'))
            ++separators;
    }
    EXPECT_GT(blocks, 2);
    EXPECT_EQ(tricks, 13 * blocks);
    EXPECT_EQ(separators, blocks - 1);
    EXPECT_THAT(log, StartsWith("Player 1:  North - Computer\r\n  Cards:"));
}

TEST(HeadlessHost, FindsControlsByNameAndSlot)
{
    THeadlessHost host;
    EXPECT_EQ(host.FindCard("imgPlayer413"), host.CardAt(4, 13));
    EXPECT_EQ(host.CardAt(1, 1)->Name(), "imgPlayer11");
    EXPECT_EQ(host.FindCard("imgPlayer50"), nullptr);
    EXPECT_EQ(host.CardAt(0, 1), nullptr);
    EXPECT_EQ(host.CardAt(1, 14), nullptr);
}

}  // namespace
