// The table's switches: marking and motion on unless stored off, the table's own
// lines for refusals and the no-sound notice (and that notice given) off unless
// stored on; all kept by a save.
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
    bool Refusals = false;
    bool SoundOnTable = false;
    bool SoundShown = false;
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
    EXPECT_EQ(again.RefusalsOnTable(), GetParam().Refusals);
    EXPECT_EQ(again.SoundNoticeOnTable(), GetParam().SoundOnTable);
    EXPECT_EQ(again.SoundNoticeShown(), GetParam().SoundShown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DefaultsComfort,
    ::testing::Values(TSwitchCase{"NothingStored", "\"Speed\"=\"Fast\"\n", true, true},
                      TSwitchCase{"MarkOff", "\"Mark Playable\"=dword:00000000\n", false, true},
                      TSwitchCase{"AnimateOff", "\"Animate Cards\"=dword:00000000\n", true, false},
                      TSwitchCase{"BothOff", "\"Mark Playable\"=dword:00000000\n\"Animate Cards\"=dword:00000000\n",
                                  false, false},
                      TSwitchCase{"BothOn", "\"Mark Playable\"=dword:00000001\n\"Animate Cards\"=dword:00000001\n",
                                  true, true},
                      TSwitchCase{"TableLinesAndNoticeGiven",
                                  "\"Refusals On Table\"=dword:00000001\n\"Sound Notice On Table\"=dword:00000001\n"
                                  "\"Sound Notice Shown\"=dword:00000001\n",
                                  true, true, true, true, true}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST(DefaultsComfortBuiltIn, BothOn)
{
    TMusicSettings music;
    const TDefaults defaults(music, TDefaults::TBuiltIn{});
    EXPECT_TRUE(defaults.MarkPlayable());
    EXPECT_TRUE(defaults.AnimateCards());
}

}  // namespace
