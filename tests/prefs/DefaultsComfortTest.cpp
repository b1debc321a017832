// The two table comfort switches: on unless stored off, and kept by a save.
#include "Defaults.h"
#include "PrefsTestSupport.h"

#include <gmock/gmock.h>

using namespace spades;
using namespace spades::test;

namespace {

struct TSwitchCase {
    const char* Label;
    QByteArray Lines;
    bool Mark;
    bool Animate;
};

class DefaultsComfort : public PrefsTest, public ::testing::WithParamInterface<TSwitchCase> {};

TEST_P(DefaultsComfort, LoadAndSurviveASave)
{
    Config.WriteStoreKey("Options", GetParam().Lines);
    TMusicSettings music;
    {
        const TDefaults defaults(music);
        EXPECT_EQ(defaults.MarkPlayable(), GetParam().Mark);
        EXPECT_EQ(defaults.AnimateCards(), GetParam().Animate);
        defaults.Save();
    }
    const TDefaults again(music);
    EXPECT_EQ(again.MarkPlayable(), GetParam().Mark);
    EXPECT_EQ(again.AnimateCards(), GetParam().Animate);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DefaultsComfort,
    ::testing::Values(TSwitchCase{"NothingStored", "\"Speed\"=\"Fast\"\n", true, true},
                      TSwitchCase{"MarkOff", "\"Mark Playable\"=dword:00000000\n", false, true},
                      TSwitchCase{"AnimateOff", "\"Animate Cards\"=dword:00000000\n", true, false},
                      TSwitchCase{"BothOff", "\"Mark Playable\"=dword:00000000\n\"Animate Cards\"=dword:00000000\n",
                                  false, false},
                      TSwitchCase{"BothOn", "\"Mark Playable\"=dword:00000001\n\"Animate Cards\"=dword:00000001\n",
                                  true, true}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST(DefaultsComfortBuiltIn, BothOn)
{
    TMusicSettings music;
    const TDefaults defaults(music, TDefaults::TBuiltIn{});
    EXPECT_TRUE(defaults.MarkPlayable());
    EXPECT_TRUE(defaults.AnimateCards());
}

}  // namespace
