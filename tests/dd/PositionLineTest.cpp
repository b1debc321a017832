#include <gmock/gmock.h>

#include "PositionLine.h"

using namespace spades;
using ::testing::HasSubstr;

namespace {

struct TLineCase {
    const char* line;
    const char* error;  // a part of the message, or empty for a position
};

class LineCases : public ::testing::TestWithParam<TLineCase> {};

TEST_P(LineCases, NamesTheFieldAndWhy)
{
    const TLineResult result = ParsePositionLine(GetParam().line);
    if (*GetParam().error == '\0') {
        EXPECT_EQ(result.Error, "");
        EXPECT_EQ(ParsePositionLine(FormatPositionLine(result.Position)).Position.Hands, result.Position.Hands);
        EXPECT_EQ(FormatPositionLine(ParsePositionLine(FormatPositionLine(result.Position)).Position),
                  FormatPositionLine(result.Position));
    } else {
        EXPECT_THAT(result.Error, HasSubstr(GetParam().error)) << GetParam().line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LineCases,
    ::testing::Values(TLineCase{"N=1,14 E=2,15 S=3,16 W=4,17 lead=1 broken=1", ""},
                      TLineCase{"  W=4 S=3 E=2 N=1\tlead=4 broken=0 ", ""},
                      TLineCase{"N= E= S= W=17 lead=1 broken=0 trick=1:14,2:15,3:27", ""},
                      TLineCase{"N= E= S= W= lead=1 broken=0", ""},
                      TLineCase{"N=1 E=2 S=3 lead=1 broken=0", "field W: missing"},
                      TLineCase{"N=1 E=2 S=3 W=4 broken=0", "field lead: missing"},
                      TLineCase{"N=53 E=2 S=3 W=4 lead=1 broken=0", "field N: '53' is not a card 1..52"},
                      TLineCase{"N=1,,2 E=2 S=3 W=4 lead=1 broken=0", "field N: '' is not a card"},
                      TLineCase{"N=+1 E=2 S=3 W=4 lead=1 broken=0", "field N: '+1' is not a card"},
                      TLineCase{"N=1,1 E=2 S=3 W=4 lead=1 broken=0", "field N: card 1 is listed twice"},
                      TLineCase{"N=1 E=2 S=3 W=4 lead=5 broken=0", "field lead: '5' is not a seat 1..4"},
                      TLineCase{"N=1 E=2 S=3 W=4 lead=1 broken=yes", "field broken: 'yes' is not 0 or 1"},
                      TLineCase{"N=1 N=2 S=3 W=4 lead=1 broken=0", "field N: given twice"},
                      TLineCase{"N=1 E=2 S=3 W=4 lead=1 broken=0 x=1", "'x=1' is not a field"},
                      TLineCase{"N=1 E=2 S=3 W=4 lead=1 broken=0 trick=1", "field trick: '1' is not seat:card"},
                      TLineCase{"N= E= S= W=4 lead=1 broken=0 trick=1:1,2:2,3:3,4:5", "field trick: more than 3"},
                      TLineCase{"N=1 E=1 S=3 W=4 lead=1 broken=0", "position: card 1 is held twice"},
                      TLineCase{"N=1,5 E=2 S=3 W=4 lead=1 broken=0", "position: E should hold 2 cards, not 1"},
                      TLineCase{"N=14 E=2 S=3 W=4 lead=2 broken=0 trick=1:1", "not laid in turn"},
                      TLineCase{"N=14,18 E=15,19 S=16,20 W=17 lead=4 broken=0 trick=4:1", "W led a spade before spades"},
                      TLineCase{"N=14 E=15 S=3,5 W=4,6 lead=1 broken=0 trick=1:16,2:27", "E did not follow suit"}));

TEST(PositionLine, RefusesALongLineBeforeReadingIt)
{
    EXPECT_THAT(ParsePositionLine(std::string(MaxPositionLine + 1, ' ')).Error, HasSubstr("longer than"));
}

}  // namespace
