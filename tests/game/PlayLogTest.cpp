#include <gmock/gmock.h>

#include <sstream>

#include "PlayLog.h"
#include "RuleText.h"
#include "TestTable.h"

using namespace spades;
using namespace spades::testing;

namespace {

class PlayLogBytes : public ::testing::Test {
protected:
    TTestTable t;
    std::ostringstream out;
    TPlayLog log{out};

    void SetUp() override
    {
        t.Give(North, "4S 9S QS AS 2H 7H KH 3C 5C JC 6D 8D 10D");
        t.Give(East, "2S 3S 5S 6S 3H 4H 5H 2C 4C 6C 2D 3D 4D");
        t.Give(South, "7S 8S 10S 6H 8H 9H 7C 8C 9C 5D 7D 9D JD");
        t.Give(West, "JS KS 10H JH QH AH 10C QC KC AC QD KD AD");
        t.Seat(South).SetHuman(true);
    }
};

TEST_F(PlayLogBytes, HandBlockListsSeatsAndCards)
{
    log.LogHandStart(t.Table);
    EXPECT_EQ(out.str(),
              "Player 1:  North - Computer\r\n"
              "  Cards:  Spades: 4 9 12 1  Hearts: 2 7 13  Clubs: 3 5 11  Diamonds: 6 8 10\r\n"
              "Player 2:  East - Computer\r\n"
              "  Cards:  Spades: 2 3 5 6  Hearts: 3 4 5  Clubs: 2 4 6  Diamonds: 2 3 4\r\n"
              "Player 3:  South - Human\r\n"
              "  Cards:  Spades: 7 8 10  Hearts: 6 8 9  Clubs: 7 8 9  Diamonds: 5 7 9 11\r\n"
              "Player 4:  West - Computer\r\n"
              "  Cards:  Spades: 11 13  Hearts: 10 11 12 1  Clubs: 10 12 13 1  Diamonds: 12 13 1\r\n"
              " \r\n");
}

TEST_F(PlayLogBytes, SecondBlockBeginsWithASeparator)
{
    log.LogHandStart(t.Table);
    const size_t first = out.str().size();
    log.LogHandStart(t.Table);
    EXPECT_EQ(out.str().substr(first, 58), "\r\n" + std::string(50, '-') + "\r\n" + "Play");
}

TEST_F(PlayLogBytes, TrickLineNamesEachSeatAndCard)
{
    t.Lay(South, "QH");
    t.Lay(West, "3H");
    t.Lay(North, "AH");
    t.Lay(East, "10H");
    log.LogTrick(t.Table);
    EXPECT_EQ(out.str(), "Play: South-12H    West- 3H    North- 1H    East-10H    \r\n");
}

TEST_F(PlayLogBytes, BidsBlockAlignsItsColumns)
{
    t.Seat(North).FBid = 4;
    t.Seat(North).FTricks = 5;
    t.Seat(North).FBags = 1;
    t.Seat(East).FBid = 0;
    t.Seat(South).SetName("A name far too long");
    t.Seat(South).FBid = 13;
    t.Seat(South).FTricks = 8;
    t.Seat(West).SetName("Zoë");
    t.Seat(West).FBid = 2;
    log.LogHandEnd(t.Table);
    EXPECT_EQ(out.str(),
              "\r\n"
              "               Bid   Made  Bags\r\n"
              "North            4      5     1\r\n"
              "East             0      0     0\r\n"
              "A name far too long  13      8     0\r\n"
              "Zoë              2      0     0\r\n");
}

TEST_F(PlayLogBytes, ABlindNilShowsAsSuch)
{
    t.Seat(East).FBid = 0;
    t.Table.BlindNil[East] = true;
    t.Seat(West).FBid = 0;
    log.LogHandEnd(t.Table);
    EXPECT_THAT(out.str(), ::testing::HasSubstr("East            BN      0     0\r\n"));
    EXPECT_THAT(out.str(), ::testing::HasSubstr("West             0      0     0\r\n"));
}

// A game's rules head its first hand, once; the table's own rules write nothing.
TEST_F(PlayLogBytes, AGameByHouseRulesBeginsWithThem)
{
    const struct {
        const char* Rules;
        int WinScore;
        const char* FirstLine;  // of the game's first hand
    } cases[] = {
        {"", 250, "Player 1:  North - Computer"},
        {"", 500, "Player 1:  North - Computer"},
        {"bags=ten variant=partnership", 250, "Rules: variant=partnership bags=ten"},
        {"blindnil=behind", 300, "Rules: blindnil=behind"},
    };
    for (const auto& c : cases) {
        TRuleSet rules = TRuleSet::WithWinScore(c.WinScore);
        ASSERT_EQ(ParseRules(rules, c.Rules), "");
        for (const bool first : {true, false}) {
            out.str({});
            TPlayLog game{out};
            if (!first)
                game.WriteLogLine("the game before");
            game.LogGameStart(rules);
            game.LogHandStart(t.Table);
            game.LogHandStart(t.Table);
            const std::string text = out.str();
            const std::string separator = "\r\n" + std::string(50, '-') + "\r\n";
            const size_t begins = first ? 0 : text.find(separator) + separator.size();
            EXPECT_EQ(text.substr(begins, text.find("\r\n", begins) - begins), c.FirstLine) << c.Rules;
            EXPECT_EQ(text.find("Rules:", begins + 1), std::string::npos) << "only once: " << c.Rules;
        }
    }
}

TEST(PadRight, CountsCharactersNotBytes)
{
    EXPECT_EQ(PadRight("東", 3), "東  ");
    EXPECT_EQ(PadRight("abcd", 2), "abcd");
}

}  // namespace
