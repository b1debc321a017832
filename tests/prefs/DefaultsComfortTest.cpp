// The table's switches: marking and motion on unless stored off, the table's own
// lines for refusals and the no-sound notice (and that notice given) off unless
// stored on; all kept by a save. The play checker's switch is written only once
// switched on, so that files that never had it keep their layout.
#include "Defaults.h"
#include "PrefsTestSupport.h"
#include "RuleText.h"

#include <gmock/gmock.h>

using namespace spades;
using namespace spades::test;
using ::testing::HasSubstr;
using ::testing::Not;

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

struct TCheckCase {
    const char* Label;
    QByteArray Stored;     // the Options key's lines; empty for no file
    int Set;               // -1 leaves it as loaded
    bool Loaded;
    const char* Expected;  // the line in the saved file; nullptr for none
};

class CheckPlaysPreference : public PrefsTest, public ::testing::WithParamInterface<TCheckCase> {};

TEST_P(CheckPlaysPreference, StoredOnlyOnceChanged)
{
    const TCheckCase& c = GetParam();
    if (!c.Stored.isEmpty())
        Config.WriteStoreKey("Options", c.Stored);
    TMusicSettings music;
    TDefaults defaults(music);
    EXPECT_EQ(defaults.CheckPlays(), c.Loaded);
    if (c.Set >= 0)
        defaults.SetCheckPlays(c.Set == 1);
    defaults.Save();
    const std::string saved = Config.ReadStore().toStdString();
    if (c.Expected)
        EXPECT_THAT(saved, HasSubstr(c.Expected));
    else
        EXPECT_THAT(saved, Not(HasSubstr("Check Plays")));
    EXPECT_EQ(TDefaults(music).CheckPlays(), c.Set >= 0 ? c.Set == 1 : c.Loaded);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckPlaysPreference,
    ::testing::Values(TCheckCase{"NoFileNoLine", "", -1, false, nullptr},
                      TCheckCase{"OldFileNoLine", "\"Speed\"=\"Fast\"\n", 0, false, nullptr},
                      TCheckCase{"SwitchedOnIsWritten", "", 1, false, "\"Check Plays\"=dword:00000001\n"},
                      TCheckCase{"StoredOnIsRead", "\"Check Plays\"=dword:00000001\n", -1, true,
                                 "\"Check Plays\"=dword:00000001\n"},
                      TCheckCase{"SwitchedOffIsWritten", "\"Check Plays\"=dword:00000001\n", 0, true,
                                 "\"Check Plays\"=dword:00000000\n"}),
    [](const auto& info) { return std::string(info.param.Label); });

struct TRulesCase {
    const char* Label;
    QByteArray Stored;     // the Options key's lines
    const char* Set;       // rules text to choose, nullptr to leave them
    const char* Loaded;    // the house rules read, as text
    bool Problem;          // the stored text could not be read
    const char* Expected;  // the line in the saved file; nullptr for none
};

class RulesPreference : public PrefsTest, public ::testing::WithParamInterface<TRulesCase> {};

TEST_P(RulesPreference, StoredOnlyOnceChangedAndNeverLostUnread)
{
    const TRulesCase& c = GetParam();
    Config.WriteStoreKey("Options", c.Stored + "\"WinScore\"=dword:000001f4\n");
    TMusicSettings music;
    TDefaults defaults(music);
    EXPECT_EQ(HouseRulesText(defaults.Rules()), c.Loaded);
    EXPECT_EQ(defaults.Rules().WinScore, 500) << "the score to win stays its own setting";
    EXPECT_EQ(defaults.RulesProblem().isEmpty(), !c.Problem) << defaults.RulesProblem().toStdString();
    if (c.Set) {
        TRuleSet rules;
        ASSERT_EQ(ParseRules(rules, c.Set), "");
        defaults.SetRules(rules);
    }
    defaults.Save();
    const std::string saved = Config.ReadStore().toStdString();
    if (c.Expected)
        EXPECT_THAT(saved, HasSubstr(c.Expected));
    else
        EXPECT_THAT(saved, Not(HasSubstr("\"Rules\"")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RulesPreference,
    ::testing::Values(
        TRulesCase{"OldFileKeepsItsLayout", "\"Speed\"=\"Fast\"\n", nullptr, "", false, nullptr},
        TRulesCase{"TheTablesOwnChosenWritesNothing", "", "bags=table", "", false, nullptr},
        TRulesCase{"ChosenRulesAreWritten", "", "variant=partnership bags=ten", "", false,
                   "\"Rules\"=\"variant=partnership bags=ten\""},
        TRulesCase{"StoredRulesAreRead", "\"Rules\"=\"variant=partnership nil=50\"\n", nullptr,
                   "variant=partnership nil=50", false, "\"Rules\"=\"variant=partnership nil=50\""},
        TRulesCase{"BackToTheTablesOwnIsWritten", "\"Rules\"=\"nil=50\"\n", "", "nil=50", false,
                   "\"Rules\"=\"\""},
        TRulesCase{"UnreadableRulesAreKept", "\"Rules\"=\"bags=lots\"\n", nullptr, "", true,
                   "\"Rules\"=\"bags=lots\""},
        TRulesCase{"UnreadableRulesGoOnlyWhenOthersAreChosen", "\"Rules\"=\"bidding=suicide\"\n", "nil=50", "",
                   true, "\"Rules\"=\"nil=50\""}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST(DefaultsComfortBuiltIn, BothOn)
{
    TMusicSettings music;
    const TDefaults defaults(music, TDefaults::TBuiltIn{});
    EXPECT_TRUE(defaults.MarkPlayable());
    EXPECT_TRUE(defaults.AnimateCards());
}

}  // namespace
