// The chosen card deck on the real table: from the settings file at start-up,
// from the preferences dialog, and the one message when the deck cannot be used.
#include <gmock/gmock.h>

#include <QTabWidget>

#include "DeckChooser.h"
#include "InstalledDecks.h"
#include "OptDialog.h"
#include "SvgCardDeck.h"
#include "TableHarness.h"

using namespace spades;
using namespace spades::testing;
using ::testing::HasSubstr;

namespace {

// The last card of South's fan lies open on top of the others.
QImage TopSouthCard(TTableHarness& table)
{
    TCardDeck& card = table.Card(South, 13);
    card.repaint();
    return card.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The same picture, drawn straight from its source, over the same surface colour
// at its corners (the test compares the middle only).
bool SameMiddle(const QImage& shown, const QImage& expected)
{
    const QImage flat = expected.convertToFormat(QImage::Format_RGB32);
    for (int y = 20; y < 76; y += 5)
        for (int x = 15; x < 56; x += 5)
            if (shown.pixel(x, y) != flat.pixel(x, y))
                return false;
    return true;
}

QImage DeckImage(const QString& id, uint8_t value)
{
    const auto info = FindDeck(FindInstalledDecks(DefaultDeckRoots()), id);
    if (!info)
        return {};
    TSvgCardDeck deck(*info);
    return deck.Image(value, {71, 96});
}

struct TStoredDeck {
    const char* Name;
    QByteArray Line;      // the "Card Deck" line, if any
    const char* Deck;     // the installed deck the cards come from; empty for ours
    const char* Message;  // part of the one warning; empty for none
};

class StoredDeck : public ::testing::TestWithParam<TStoredDeck> {};

TEST_P(StoredDeck, ShowsOnTheTableAtStartUp)
{
    const TStoredDeck& c = GetParam();
    TTableHarness table({false, false, false, true, false},
                        "\"Speed\"=\"Bullet\"\n\"MusicOn\"=dword:00000000\n" + c.Line);
    TfrmMain& window = table.Open();
    window.Steps().Request(TTableRequest::NewGame);
    QCoreApplication::processEvents();
    const auto value = static_cast<uint8_t>(table.Card(South, 13).Value());
    ASSERT_GE(value, 1);
    ASSERT_LE(value, 52);
    const QImage expected = QString(c.Deck).isEmpty() ? CardPixmap(value, 1, true).toImage()
                                                       : DeckImage(c.Deck, value);
    ASSERT_FALSE(expected.isNull()) << c.Deck << " is not installed; scripts/setup.sh installs it";
    EXPECT_TRUE(SameMiddle(TopSouthCard(table), expected));
    int warnings = 0;
    for (const auto& notice : table.Prompts.Notices)
        if (notice.Kind == TNoticeKind::Warning) {
            ++warnings;
            EXPECT_THAT(notice.Text.toStdString(), HasSubstr(c.Message));
        }
    EXPECT_EQ(warnings, QString(c.Message).isEmpty() ? 0 : 1);
    // The preferences applied again bring no second message.
    window.ApplyPreferences();
    int again = 0;
    for (const auto& notice : table.Prompts.Notices)
        again += notice.Kind == TNoticeKind::Warning;
    EXPECT_EQ(again, warnings);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, StoredDeck,
    ::testing::Values(
        TStoredDeck{"BuiltIn", "", "", ""},
        TStoredDeck{"SharedDeck", "\"Card Deck\"=\"carddecks/svg-standard\"\n", "carddecks/svg-standard", ""},
        TStoredDeck{"AisleriotDeck", "\"Card Deck\"=\"aisleriot/anglo.svgz\"\n", "aisleriot/anglo.svgz", ""},
        TStoredDeck{"GoneDeck", "\"Card Deck\"=\"carddecks/svg-long-gone\"\n", "",
                    "\"/usr/share/carddecks/svg-long-gone/index.desktop\" is not installed"}),
    [](const ::testing::TestParamInfo<TStoredDeck>& info) { return std::string(info.param.Name); });

TEST(DeckOnTheAppearancePage, ChosenInTheDialogIsSavedAndDrawn)
{
    TTableHarness table;
    TfrmMain& window = table.Open();
    window.Steps().Request(TTableRequest::NewGame);
    QCoreApplication::processEvents();
    table.Prompts.OnDialog = [](QDialog& shown) {
        auto& dialog = static_cast<TdlgOptions&>(shown);
        dialog.show();
        dialog.pgeOptions()->setCurrentIndex(TdlgOptions::tabTable);
        TDeckChooser* chooser = dialog.cbxDeck();
        EXPECT_EQ(chooser->Chosen(), "") << "the built-in cards are the default";
        EXPECT_EQ(chooser->itemText(0), "Built-in");
        const int index = chooser->findData(QStringLiteral("aisleriot/anglo.svgz"));
        EXPECT_GT(index, 0);
        chooser->setCurrentIndex(index);
        emit chooser->activated(index);
        dialog.accept();
        return dialog.result();
    };
    window.Steps().Request(TTableRequest::Preferences);
    EXPECT_EQ(window.GameDefaults()->CardDeck(), "aisleriot/anglo.svgz");
    QFile file(table.SettingsPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\"Card Deck\"=\"aisleriot/anglo.svgz\""));
    const auto value = static_cast<uint8_t>(table.Card(South, 13).Value());
    EXPECT_TRUE(SameMiddle(TopSouthCard(table), DeckImage("aisleriot/anglo.svgz", value)));
    // A card face down at North shows the deck's back.
    EXPECT_TRUE(SameMiddle(table.Card(North, 13).grab().toImage().convertToFormat(QImage::Format_RGB32),
                           DeckImage("aisleriot/anglo.svgz", FirstBackValue)));
}

}  // namespace
