// The rules each game is kept with: recorded as played and read back, a stored
// text that cannot be read, and the statistics by rules, by side and by pair.
#include "GameRecorder.h"
#include "HistoryQueries.h"
#include "HistoryRules.h"
#include "HistoryTestSupport.h"
#include "RuleText.h"

using namespace spades;
using namespace spades::testing;
using ::testing::HasSubstr;

namespace {

TRuleSet Rules(const char* text, int winScore = 250)
{
    TRuleSet rules = TRuleSet::WithWinScore(winScore);
    EXPECT_EQ(ParseRules(rules, text), "") << text;
    return rules;
}

struct TRecorded {
    const char* Text;  // as given to the game
    int WinScore;
    const char* Stored;
};

void PrintTo(const TRecorded& c, std::ostream* out) { *out << c.Text; }

class HistoryRules : public ::testing::TestWithParam<TRecorded> {};

TEST_P(HistoryRules, AGameIsRecordedWithItsRulesAndReadBackByThem)
{
    THistoryFolder folder;
    THistoryStore store(folder.Path());
    ASSERT_TRUE(store.Open());
    const TRuleSet rules = Rules(GetParam().Text, GetParam().WinScore);
    SimulateInto(store, 2718, 2, rules);
    // And one cut short, to be continued.
    SimulateInto(store, 2719, 1, rules, nullptr, 1);
    Scalar(store.Database(), "UPDATE games SET outcome = 0 WHERE id = 3");

    for (qint64 id = 1; id <= 3; ++id) {
        const auto game = LoadGame(store.Database(), id);
        ASSERT_TRUE(game.has_value());
        EXPECT_EQ(game->Rules, GetParam().Stored);
        const TGameRules read = GameRules(*game);
        EXPECT_TRUE(read.Problem.isEmpty()) << read.Problem.toStdString();
        EXPECT_EQ(read.Rules, rules);
    }
    const auto point = store.Unfinished();
    ASSERT_TRUE(point.has_value());
    EXPECT_EQ(GameRules(point->Game).Rules, rules);
    EXPECT_EQ(RulesPlayed(store.Database()), (std::vector<TRulesPlayed>{{GetParam().Stored, 3}}));

    // Partners win together.
    long long wins = 0;
    for (const TSeatFigures& f : SeatFigures(store.Database()))
        wins += f.Won;
    EXPECT_EQ(wins, rules.Partnership() ? 4 : 2);
    EXPECT_EQ(PartnershipFigures(store.Database()).Games, rules.Partnership() ? 2 : 0);
}

INSTANTIATE_TEST_SUITE_P(Sets, HistoryRules,
                         ::testing::Values(TRecorded{"", 300, ""},
                                           TRecorded{"variant=partnership bags=ten", 250, "variant=partnership bags=ten"},
                                           TRecorded{"bidding=suicide nil=50 variant=partnership", 500,
                                                     "variant=partnership nil=50 bidding=suicide"},
                                           TRecorded{"losescore=-200 spades=anytime", 250, "losescore=-200 spades=anytime"}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(HistoryRules, AStoredTextThatCannotBeReadIsSaidAndTheGameKeptByTheTablesOwnRules)
{
    THistoryFolder folder;
    THistoryStore store(folder.Path());
    ASSERT_TRUE(store.Open());
    SimulateInto(store, 5, 2, Rules("variant=partnership"));
    Scalar(store.Database(), "UPDATE games SET rules = 'bags=lots' WHERE id = 2");

    const auto game = LoadGame(store.Database(), 2);
    ASSERT_TRUE(game.has_value());
    const TGameRules read = GameRules(*game);
    EXPECT_EQ(read.Rules, TRuleSet{});
    EXPECT_THAT(read.Problem.toStdString(), HasSubstr("rules of game 2"));
    EXPECT_THAT(read.Problem.toStdString(), HasSubstr("bags=lots"));
    EXPECT_THAT(read.Problem.toStdString(), HasSubstr("table's own rules"));
    // Still listed and counted under its own text.
    EXPECT_EQ(GameList(store.Database()).size(), 2u);
    EXPECT_EQ(GameList(store.Database(), {}, QString("bags=lots")).size(), 1u);
    EXPECT_EQ(RulesWords("bags=lots"), "Unreadable rules \"bags=lots\"");
}

TEST(HistoryRules, TheRulesInWords)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", "The table's own rules"},
        {"variant=partnership bags=ten", "Partnership, every 10 bags cost 100"},
        {"bags=none nil=50 blindnil=behind", "Bags cost nothing, Nil worth 50, Blind Nil when 100 behind"},
        {"losescore=-200 spades=anytime firsttrick=clean bidding=whiz",
         "Lost at -200, spades led at any time, no spade on the first trick, Whiz bidding"},
    };
    for (const auto& [text, words] : cases)
        EXPECT_EQ(RulesWords(text), words) << text;
}

// ---- Figures by rules, by side and by pair on a small history made by hand ----------------------

qint64 Played(THistoryStore& store, const QString& rules, std::array<const char*, 4> names, int winner, int partner = 0)
{
    TGameRecord record;
    record.Rules = rules;
    for (size_t seat = 1; seat <= 4; ++seat)
        record.Seats[seat].Name = names[seat - 1];
    const qint64 id = store.BeginGame(record);
    THandRecord hand{1, 3, {}, std::vector<int>(52), {0, 3, 3, 3, 4}, {0, 3, 3, 3, 4}, {}, {0, 40, 30, 40, 30}, {}, true};
    for (int i = 0; i < 52; ++i)
        hand.Deal[static_cast<size_t>(i)] = hand.Plays[static_cast<size_t>(i)] = i + 1;
    store.WriteHand(id, hand, winner, partner);
    return id;
}

struct TByRules {
    const char* Name;
    TRulesFilter Rules;
    long long AnnGames, AnnWon;
    long long Partnership, NorthSouthWon, EastWestWon;
    std::vector<TPairFigures> Pairs;
};

void PrintTo(const TByRules& c, std::ostream* out) { *out << c.Name; }

class HistoryRulesFigures : public ::testing::TestWithParam<TByRules> {};

TEST_P(HistoryRulesFigures, CountOnlyTheGamesOfTheRulesChosen)
{
    THistoryFolder folder;
    THistoryStore store(folder.Path());
    ASSERT_TRUE(store.Open());
    const QString ten = "variant=partnership bags=ten", plain = "variant=partnership";
    Played(store, "", {"Ann", "Bob", "Cid", "Dee"}, 1);
    Played(store, ten, {"Ann", "Bob", "Cid", "Dee"}, 2, 4);
    Played(store, plain, {"Cid", "Bob", "Ann", "Dee"}, 3, 1);  // Ann and Cid the other way round
    Played(store, ten, {"Ann", "Eve", "Cid", "Bob"}, 1, 3);
    {
        // Still in play: listed, never counted.
        TGameRecord open;
        open.Rules = plain;
        for (size_t seat = 1; seat <= 4; ++seat)
            open.Seats[seat].Name = "Ann";
        store.BeginGame(open);
    }

    const auto seats = SeatFigures(store.Database(), {}, GetParam().Rules);
    const auto ann = std::find_if(seats.begin(), seats.end(), [](const TSeatFigures& f) { return f.Name == "Ann"; });
    ASSERT_NE(ann, seats.end());
    EXPECT_EQ(ann->Games, GetParam().AnnGames);
    EXPECT_EQ(ann->Won, GetParam().AnnWon);

    const TPartnershipFigures sides = PartnershipFigures(store.Database(), {}, GetParam().Rules);
    EXPECT_EQ(sides.Games, GetParam().Partnership);
    EXPECT_EQ(sides.SideWon[1], GetParam().NorthSouthWon);
    EXPECT_EQ(sides.SideWon[2], GetParam().EastWestWon);
    EXPECT_EQ(sides.Pairs, GetParam().Pairs);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, HistoryRulesFigures,
    ::testing::Values(
        TByRules{"AllGames", std::nullopt, 4, 3, 3, 2, 1, {{"Ann", "Cid", 3, 2}, {"Bob", "Dee", 2, 1}, {"Bob", "Eve", 1, 0}}},
        TByRules{"TheTablesOwn", QString(""), 1, 1, 0, 0, 0, {}},
        TByRules{"TenBags", QString("variant=partnership bags=ten"), 2, 1, 2, 1, 1,
                 {{"Ann", "Cid", 2, 1}, {"Bob", "Dee", 1, 1}, {"Bob", "Eve", 1, 0}}},
        TByRules{"Partnership", QString("variant=partnership"), 1, 1, 1, 1, 0, {{"Ann", "Cid", 1, 1}, {"Bob", "Dee", 1, 0}}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(HistoryRulesFigures, EveryRulesTextPlayedIsListedWithItsGames)
{
    THistoryFolder folder;
    THistoryStore store(folder.Path());
    ASSERT_TRUE(store.Open());
    Played(store, "nil=50", {"A", "B", "C", "D"}, 1);
    Played(store, "", {"A", "B", "C", "D"}, 1);
    Played(store, "nil=50", {"A", "B", "C", "D"}, 2);
    EXPECT_EQ(RulesPlayed(store.Database()), (std::vector<TRulesPlayed>{{"nil=50", 2}, {"", 1}}));
    EXPECT_EQ(GameList(store.Database(), {}, QString("nil=50")).size(), 2u);
    EXPECT_EQ(GameList(store.Database(), {}, QString("")).front().Rules, "");
}

}  // namespace
