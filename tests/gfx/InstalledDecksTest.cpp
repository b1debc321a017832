// Finding the installed decks: the index file's text, the two folder layouts
// with broken decks among them, and the element names of each format.
#include "DeckTestSupport.h"
#include "InstalledDecks.h"

#include <gmock/gmock.h>

namespace spades {
namespace {

using test::DeckSvg;
using test::TDeckFolders;
using ::testing::ElementsAre;
using ::testing::Field;

// ---- The index file ---------------------------------------------------------------

struct TIndexCase {
    const char* Name;
    QByteArray Text;
    QString Locale;
    std::optional<TDeckIndex> Expected;
};

class DeckIndexText : public testing::TestWithParam<TIndexCase> {};

TEST_P(DeckIndexText, Parses)
{
    const TIndexCase& c = GetParam();
    const std::optional<TDeckIndex> index = ParseDeckIndex(c.Text, c.Locale);
    ASSERT_EQ(index.has_value(), c.Expected.has_value());
    if (index) {
        EXPECT_EQ(index->Name, c.Expected->Name);
        EXPECT_EQ(index->SvgFile, c.Expected->SvgFile);
    }
}

const QByteArray Standard = "[KDE Backdeck]\nName=Standard\nName[de]=Normal\n"
                            "Name[de_AT]=Gewöhnlich\nComment=A deck\\nGPL\nSVG=standard.svgz\n";

INSTANTIATE_TEST_SUITE_P(
    Decks, DeckIndexText,
    testing::Values(
        TIndexCase{"Plain", Standard, {}, TDeckIndex{"Standard", "standard.svgz"}},
        TIndexCase{"LocaleName", Standard, "de_AT", TDeckIndex{"Gewöhnlich", "standard.svgz"}},
        TIndexCase{"LanguageName", Standard, "de_DE", TDeckIndex{"Normal", "standard.svgz"}},
        TIndexCase{"UnknownLocale", Standard, "fr_FR", TDeckIndex{"Standard", "standard.svgz"}},
        TIndexCase{"NoGroupHeader", "Name=Bare\nSVG=bare.svg\n", {}, TDeckIndex{"Bare", "bare.svg"}},
        TIndexCase{"CrLfAndBlanks", "[KDE Backdeck]\r\n  Name = Spaced \r\n\r\nSVG= s.svgz\r\n", {},
                   TDeckIndex{"Spaced", "s.svgz"}},
        TIndexCase{"CommentsSkipped", "# Name=No\n[KDE Backdeck]\n#SVG=no.svg\nName=Yes\nSVG=yes.svg\n",
                   {}, TDeckIndex{"Yes", "yes.svg"}},
        TIndexCase{"OtherGroupIgnored", "[KDE Backdeck]\nName=Mine\nSVG=a.svg\n[Other]\nName=Theirs\nSVG=b.svg\n",
                   {}, TDeckIndex{"Mine", "a.svg"}},
        TIndexCase{"OnlyOtherGroup", "[Desktop Entry]\nName=X\nSVG=x.svg\n", {}, std::nullopt},
        TIndexCase{"Escapes", "Name=Two\\sWords\\nand\\tmore\nSVG=a.svg\n", {},
                   TDeckIndex{"Two Words and more", "a.svg"}},
        TIndexCase{"ControlCharactersDropped", QByteArray("Name=A\x01\x7f" "B\nSVG=a.svg\n"), {},
                   TDeckIndex{"A B", "a.svg"}},
        TIndexCase{"LongNameCut", "Name=" + QByteArray(200, 'n') + "\nSVG=a.svg\n", {},
                   TDeckIndex{QString(80, u'n'), "a.svg"}},
        TIndexCase{"NoName", "SVG=a.svg\n", {}, std::nullopt},
        TIndexCase{"EmptyName", "Name=  \nSVG=a.svg\n", {}, std::nullopt},
        TIndexCase{"NoSvg", "Name=A\n", {}, std::nullopt},
        TIndexCase{"SvgUpTheTree", "Name=A\nSVG=../a.svg\n", {}, std::nullopt},
        TIndexCase{"SvgAbsolute", "Name=A\nSVG=/etc/passwd\n", {}, std::nullopt},
        TIndexCase{"SvgInSubfolder", "Name=A\nSVG=sub/a.svg\n", {}, std::nullopt},
        TIndexCase{"SvgDotDot", "Name=A\nSVG=..\n", {}, std::nullopt},
        TIndexCase{"SvgBackslash", "Name=A\nSVG=..\\\\a.svg\n", {}, std::nullopt},
        TIndexCase{"KeyWithoutValue", "Name\nName=A\nSVG=a.svg\n=b\n", {}, TDeckIndex{"A", "a.svg"}},
        TIndexCase{"TooLong", "Name=A\nSVG=a.svg\n#" + QByteArray(MaxDeckIndexBytes, 'x'), {},
                   std::nullopt},
        TIndexCase{"NotText", QByteArray("\xff\xfe\x00\x01Name=\xc3", 9), {}, std::nullopt}),
    [](const testing::TestParamInfo<TIndexCase>& info) { return std::string(info.param.Name); });

// ---- The folders ------------------------------------------------------------------

TEST(InstalledDecks, FindsGoodDecksOfBothFormatsAndLeavesOutBrokenOnes)
{
    TDeckFolders folders;
    folders.AddShared("svg-good", "Good", "good.svgz", test::Gzip(DeckSvg(TDeckFormat::Shared)));
    folders.AddShared("svg-missing", "Missing", "gone.svgz", QByteArray());  // index, no file
    TDeckFolders::Write(folders.Shared() + "/svg-noindex/a.svg", DeckSvg(TDeckFormat::Shared));
    TDeckFolders::Write(folders.Shared() + "/svg-badindex/index.desktop", "[KDE Backdeck]\nName=Bad\n");
    TDeckFolders::Write(folders.Shared() + "/stray-file.svg", DeckSvg(TDeckFormat::Shared));
    folders.AddShared("svg-escape", "Escape", "../../aisleriot/anglo_modern.svgz", QByteArray());
    folders.AddAisleriot("anglo_modern.svgz", test::Gzip(DeckSvg(TDeckFormat::Aisleriot)));
    folders.AddAisleriot("plain-deck.svg", DeckSvg(TDeckFormat::Aisleriot));
    folders.AddAisleriot("readme.txt", "not a deck");
    const std::vector<TDeckInfo> decks = FindInstalledDecks(folders.Roots());
    EXPECT_THAT(decks, ElementsAre(
                           TDeckInfo{"aisleriot/anglo_modern.svgz", "Anglo Modern",
                                     folders.Aisleriot() + "/anglo_modern.svgz", TDeckFormat::Aisleriot},
                           TDeckInfo{"carddecks/svg-good", "Good",
                                     folders.Shared() + "/svg-good/good.svgz", TDeckFormat::Shared},
                           TDeckInfo{"aisleriot/plain-deck.svg", "Plain Deck",
                                     folders.Aisleriot() + "/plain-deck.svg", TDeckFormat::Aisleriot}));
}

TEST(InstalledDecks, TellsTwoDecksOfOneNameApartByTheirFiles)
{
    TDeckFolders folders;
    folders.AddShared("svg-dondorf", "Dondorf", "dondorf.svgz", DeckSvg(TDeckFormat::Shared));
    folders.AddAisleriot("dondorf.svgz", DeckSvg(TDeckFormat::Aisleriot));
    const std::vector<TDeckInfo> decks = FindInstalledDecks(folders.Roots());
    EXPECT_THAT(decks, ElementsAre(Field(&TDeckInfo::Name, "Dondorf (dondorf.svgz)"),
                                   Field(&TDeckInfo::Name, "Dondorf (svg-dondorf)")));
}

TEST(InstalledDecks, TheFirstRootWinsForOneFolderName)
{
    TDeckFolders first, second;
    first.AddShared("svg-a", "First", "a.svg", DeckSvg(TDeckFormat::Shared));
    second.AddShared("svg-a", "Second", "a.svg", DeckSvg(TDeckFormat::Shared));
    const std::vector<TDeckInfo> decks =
        FindInstalledDecks({{first.Shared(), second.Shared()}, {}});
    EXPECT_THAT(decks, ElementsAre(Field(&TDeckInfo::Name, "First")));
}

TEST(InstalledDecks, RootsThatDoNotExistGiveNoDecks)
{
    EXPECT_TRUE(FindInstalledDecks({{"/nonexistent/carddecks"}, {"/nonexistent/cards"}}).empty());
    EXPECT_TRUE(FindInstalledDecks({}).empty());
}

TEST(InstalledDecks, FindDeckByItsId)
{
    const std::vector<TDeckInfo> decks = {{"carddecks/a", "A", "/a", TDeckFormat::Shared},
                                          {"aisleriot/b.svgz", "B", "/b", TDeckFormat::Aisleriot}};
    ASSERT_TRUE(FindDeck(decks, "aisleriot/b.svgz").has_value());
    EXPECT_EQ(FindDeck(decks, "aisleriot/b.svgz")->Name, "B");
    EXPECT_FALSE(FindDeck(decks, "carddecks/b").has_value());
    EXPECT_FALSE(FindDeck(decks, "").has_value());
}

// ---- Element names ----------------------------------------------------------------

struct TElementCase {
    int Value;
    const char* Shared;
    const char* Aisleriot;
};

class DeckElement : public testing::TestWithParam<TElementCase> {};

TEST_P(DeckElement, IsNamedByTheFormat)
{
    const TElementCase& c = GetParam();
    const auto value = static_cast<uint8_t>(c.Value);
    EXPECT_EQ(DeckElementName(TDeckFormat::Shared, value), QString(c.Shared));
    EXPECT_EQ(DeckElementName(TDeckFormat::Aisleriot, value), QString(c.Aisleriot));
}

INSTANTIATE_TEST_SUITE_P(Values, DeckElement,
                         testing::Values(TElementCase{1, "1_spade", "spade_1"},
                                         TElementCase{10, "10_spade", "spade_10"},
                                         TElementCase{13, "king_spade", "spade_king"},
                                         TElementCase{14, "1_heart", "heart_1"},
                                         TElementCase{24, "jack_heart", "heart_jack"},
                                         TElementCase{38, "queen_club", "club_queen"},
                                         TElementCase{40, "1_diamond", "diamond_1"},
                                         TElementCase{52, "king_diamond", "diamond_king"},
                                         TElementCase{54, "back", "back"},
                                         TElementCase{62, "back", "back"},
                                         TElementCase{0, "", ""}, TElementCase{53, "", ""},
                                         TElementCase{63, "", ""}, TElementCase{255, "", ""}),
                         [](const testing::TestParamInfo<TElementCase>& info) {
                             return "Value" + std::to_string(info.param.Value);
                         });

}  // namespace
}  // namespace spades
