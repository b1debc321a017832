// The chosen card deck in the settings file: read when there, written once a
// deck has been chosen, and absent from files that never had one, so that
// those keep their old layout.
#include "Defaults.h"
#include "PrefsTestSupport.h"

#include <gmock/gmock.h>

using namespace spades;
using namespace spades::test;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

struct TDeckCase {
    const char* Name;
    QByteArray Stored;    // the Options key's value lines; empty for no file
    QString Chosen;       // set before saving; "-" for unchanged
    QString Loaded;       // what a load sees
    QByteArray Expected;  // in the saved file; empty when no line at all
};

class CardDeckPreference : public PrefsTest, public testing::WithParamInterface<TDeckCase> {
protected:
    TMusicSettings Music;
};

TEST_P(CardDeckPreference, LoadsAndSaves)
{
    const TDeckCase& c = GetParam();
    if (!c.Stored.isEmpty())
        Config.WriteStoreKey("Options", c.Stored);
    TDefaults defaults(Music);
    EXPECT_EQ(defaults.CardDeck(), c.Loaded);
    if (c.Chosen != u"-")
        defaults.SetCardDeck(c.Chosen);
    defaults.Save();
    const std::string saved = Config.ReadStore().toStdString();
    if (c.Expected.isEmpty())
        EXPECT_THAT(saved, Not(HasSubstr("Card Deck")));
    else
        EXPECT_THAT(saved, HasSubstr(c.Expected.toStdString()));
    TDefaults reloaded(Music);
    EXPECT_EQ(reloaded.CardDeck(), c.Chosen == u"-" ? c.Loaded : c.Chosen);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, CardDeckPreference,
    testing::Values(
        TDeckCase{"NoFileStaysWithoutALine", "", "-", "", ""},
        TDeckCase{"OldFileStaysWithoutALine", "\"Card Back\"=dword:00000002\n", "", "", ""},
        TDeckCase{"ChosenDeckIsWritten", "", "carddecks/svg-standard", "",
                  "\"Card Deck\"=\"carddecks/svg-standard\"\n"},
        TDeckCase{"StoredDeckIsRead", "\"Card Deck\"=\"aisleriot/anglo.svgz\"\n", "-",
                  "aisleriot/anglo.svgz", "\"Card Deck\"=\"aisleriot/anglo.svgz\"\n"},
        TDeckCase{"BackToBuiltInClearsTheLine", "\"Card Deck\"=\"aisleriot/anglo.svgz\"\n", "",
                  "aisleriot/anglo.svgz", "\"Card Deck\"=\"\"\n"},
        TDeckCase{"UnicodeFolderRoundTrips", "", "aisleriot/Атласные.svgz", "",
                  "\"Card Deck\"=\"aisleriot/Атласные.svgz\"\n"}),
    [](const testing::TestParamInfo<TDeckCase>& info) { return std::string(info.param.Name); });

TEST_F(PrefsTest, ACardDeckOfTheWrongTypeIsADamagedFile)
{
    Config.WriteStoreKey("Options", "\"Card Deck\"=dword:00000001\n");
    TMusicSettings music;
    EXPECT_THROW(TDefaults defaults(music), ERegistryException);
}

}  // namespace
