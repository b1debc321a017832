// Drawing installed decks: made-up decks whose cards show which element was
// drawn, broken and hostile files, the faces the table's cards take, the
// chooser on the preferences page, and the real decks installed on this machine.
#include "CardDeck.h"
#include "CardFaces.h"
#include "DeckChooser.h"
#include "DeckTestSupport.h"
#include "SvgCardDeck.h"

#include <gmock/gmock.h>

#include <QPainter>
#include <QSet>
#include <QTest>

#include <cctype>

namespace spades {
namespace {

using test::DeckColour;
using test::DeckSvg;
using test::Gzip;
using test::TDeckFolders;
using ::testing::HasSubstr;

bool Near(QRgb pixel, const QColor& colour)
{
    return std::abs(qRed(pixel) - colour.red()) < 6 && std::abs(qGreen(pixel) - colour.green()) < 6 &&
           std::abs(qBlue(pixel) - colour.blue()) < 6 && qAlpha(pixel) == 255;
}

// ---- Unpacking ---------------------------------------------------------------------

TEST(UnpackDeckFile, GivesPlainTextBackAndUnpacksGzip)
{
    const QByteArray svg = DeckSvg(TDeckFormat::Shared);
    EXPECT_EQ(UnpackDeckFile(svg), svg);
    EXPECT_EQ(UnpackDeckFile(Gzip(svg)), svg);
}

struct TUnpackCase {
    const char* Name;
    QByteArray Data;
    qsizetype Limit;
};

class UnpackRefuses : public testing::TestWithParam<TUnpackCase> {};

TEST_P(UnpackRefuses, DamagedOrTooLargeData)
{
    EXPECT_FALSE(UnpackDeckFile(GetParam().Data, GetParam().Limit).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, UnpackRefuses,
    testing::Values(
        // A megabyte of zeros packs to about a kilobyte: a small bomb.
        TUnpackCase{"UnpacksPastTheLimit", Gzip(QByteArray(1 << 20, '\0')), 64 * 1024},
        TUnpackCase{"UnpacksOneBytePastTheLimit", Gzip(QByteArray(1000, 'a')), 999},
        TUnpackCase{"PlainPastTheLimit", QByteArray(1000, 'a'), 999},
        TUnpackCase{"CutShort", Gzip(QByteArray(5000, 'a')).left(20), MaxDeckSvgBytes},
        TUnpackCase{"HeaderOnly", QByteArray("\x1f\x8b", 2), MaxDeckSvgBytes},
        TUnpackCase{"DamagedBody", [] {
                        QByteArray packed = Gzip(DeckSvg(TDeckFormat::Shared));
                        for (qsizetype i = 12; i < packed.size() - 8; i += 7)
                            packed[i] = static_cast<char>(packed[i] ^ 0x5a);
                        return packed;
                    }(), MaxDeckSvgBytes}),
    [](const testing::TestParamInfo<TUnpackCase>& info) { return std::string(info.param.Name); });

TEST(UnpackDeckFile, KeepsExactlyTheLimit)
{
    EXPECT_EQ(UnpackDeckFile(Gzip(QByteArray(1000, 'a')), 1000)->size(), 1000);
}

// ---- A made-up deck -----------------------------------------------------------------

struct TFormatCase {
    TDeckFormat Format;
    bool Packed;
};

class MadeUpDeck : public testing::TestWithParam<TFormatCase> {
protected:
    TDeckInfo Write(const test::TDeckContent& content = {}) const
    {
        const auto [format, packed] = GetParam();
        QByteArray bytes = DeckSvg(format, content);
        if (packed)
            bytes = Gzip(bytes);
        const QString path = Folders.Aisleriot() + (packed ? "/deck.svgz" : "/deck.svg");
        TDeckFolders::Write(path, bytes);
        return {"test/deck", "Deck", path, format};
    }
    TDeckFolders Folders;
};

TEST_P(MadeUpDeck, DrawsEachValueFromItsOwnElementAtAnySize)
{
    TSvgCardDeck deck(Write({{}, true}));
    ASSERT_TRUE(deck.IsValid()) << deck.Error().toStdString();
    for (const QSize size : {QSize(71, 96), QSize(142, 192), QSize(51, 76)})
        for (int value = 1; value <= LastBackValue; ++value) {
            const QImage image = deck.Image(static_cast<uint8_t>(value), size);
            ASSERT_EQ(image.size(), size) << value;
            // The element fills the whole image: its colour at the centre and
            // near each corner.
            const uint8_t drawn = value >= FirstBackValue ? FirstBackValue : static_cast<uint8_t>(value);
            for (const QPoint p : {QPoint(size.width() / 2, size.height() / 2), QPoint(2, 2),
                                   QPoint(size.width() - 3, size.height() - 3)})
                EXPECT_TRUE(Near(image.pixel(p), DeckColour(drawn)))
                    << "value " << value << " at " << p.x() << "," << p.y();
        }
}

TEST_P(MadeUpDeck, KeepsEachSizeOnce)
{
    TSvgCardDeck deck(Write());
    ASSERT_TRUE(deck.IsValid());
    const QImage first = deck.Image(5, {71, 96});
    EXPECT_EQ(deck.CachedImages(), 1);
    EXPECT_EQ(deck.Image(5, {71, 96}).cacheKey(), first.cacheKey());
    deck.Image(5, {142, 192});
    // Every back is one drawing.
    deck.Image(FirstBackValue, {71, 96});
    deck.Image(LastBackValue, {71, 96});
    EXPECT_EQ(deck.CachedImages(), 3);
}

TEST_P(MadeUpDeck, HasNoImageForValuesWithoutACardOrSizesOutOfBounds)
{
    TSvgCardDeck deck(Write());
    ASSERT_TRUE(deck.IsValid());
    for (int value : {0, JokerValue, 63, 255})
        EXPECT_TRUE(deck.Image(static_cast<uint8_t>(value), {71, 96}).isNull()) << value;
    for (const QSize size : {QSize(0, 96), QSize(71, -1), QSize(5000, 96)})
        EXPECT_TRUE(deck.Image(1, size).isNull());
    EXPECT_FALSE(deck.HasImage(JokerValue));
}

TEST_P(MadeUpDeck, DrawsItsJokerWhenItHasOne)
{
    TSvgCardDeck deck(Write({{}, true}));
    ASSERT_TRUE(deck.HasImage(JokerValue));
    EXPECT_TRUE(Near(deck.Image(JokerValue, {71, 96}).pixel(35, 48), DeckColour(JokerValue)));
}

TEST_P(MadeUpDeck, LackingOneCardIsRefusedNamingTheFileAndTheCard)
{
    for (const int value : {1, 26, 39, 52, int(FirstBackValue)}) {
        const QString element = DeckElementName(GetParam().Format, static_cast<uint8_t>(value));
        const TDeckInfo info = Write({{element}, true});
        TSvgCardDeck deck(info);
        EXPECT_FALSE(deck.IsValid()) << element.toStdString();
        EXPECT_THAT(deck.Error().toStdString(), HasSubstr(info.SvgPath.toStdString()));
        EXPECT_THAT(deck.Error().toStdString(), HasSubstr(element.toStdString()));
    }
}

TEST_P(MadeUpDeck, WithItsIndexWhereAFanHidesItIsRefused)
{
    const TDeckInfo info = Write({{}, false, true});
    TSvgCardDeck deck(info);
    EXPECT_FALSE(deck.IsValid());
    EXPECT_THAT(deck.Error().toStdString(), HasSubstr(info.SvgPath.toStdString()));
    EXPECT_THAT(deck.Error().toStdString(), HasSubstr("fan"));
}

INSTANTIATE_TEST_SUITE_P(Formats, MadeUpDeck,
                         testing::Values(TFormatCase{TDeckFormat::Shared, false},
                                         TFormatCase{TDeckFormat::Shared, true},
                                         TFormatCase{TDeckFormat::Aisleriot, false},
                                         TFormatCase{TDeckFormat::Aisleriot, true}),
                         [](const testing::TestParamInfo<TFormatCase>& info) {
                             return std::string(info.param.Format == TDeckFormat::Shared ? "Shared"
                                                                                        : "Aisleriot") +
                                    (info.param.Packed ? "Packed" : "Plain");
                         });

// ---- Broken files ---------------------------------------------------------------------

struct TBrokenCase {
    const char* Name;
    QByteArray Bytes;  // null: no file at all
};

class BrokenDeckFile : public testing::TestWithParam<TBrokenCase> {};

TEST_P(BrokenDeckFile, IsRefusedWithAMessageNamingTheFile)
{
    TDeckFolders folders;
    const QString path = folders.Aisleriot() + "/broken.svgz";
    if (!GetParam().Bytes.isNull())
        TDeckFolders::Write(path, GetParam().Bytes);
    TSvgCardDeck deck({"aisleriot/broken.svgz", "Broken", path, TDeckFormat::Aisleriot});
    EXPECT_FALSE(deck.IsValid());
    EXPECT_THAT(deck.Error().toStdString(), HasSubstr(QStringLiteral("\"%1\"").arg(path).toStdString()));
    EXPECT_THAT(deck.Error().toStdString(), HasSubstr("the built-in cards are shown"));
    EXPECT_TRUE(deck.Image(1, {71, 96}).isNull());
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenDeckFile,
    testing::Values(
        TBrokenCase{"Missing", QByteArray()}, TBrokenCase{"Empty", QByteArray("")},
        TBrokenCase{"NotSvg", "just some text, no drawing"},
        TBrokenCase{"CutSvg", DeckSvg(TDeckFormat::Aisleriot).left(400)},
        TBrokenCase{"WrongFormat", DeckSvg(TDeckFormat::Shared)},
        TBrokenCase{"CutGzip", Gzip(DeckSvg(TDeckFormat::Aisleriot)).left(300)},
        TBrokenCase{"DeepNesting", QByteArray("<svg xmlns='http://www.w3.org/2000/svg'>") +
                                       QByteArray("<g>").repeated(20000) + "</svg>"}),
    [](const testing::TestParamInfo<TBrokenCase>& info) { return std::string(info.param.Name); });

// ---- The faces the table takes ------------------------------------------------------------

TEST(CardFaces, SwitchesBetweenBuiltInAndADeckAndSaysOnceWhyNot)
{
    TDeckFolders folders;
    folders.AddShared("svg-good", "Good", "good.svg", DeckSvg(TDeckFormat::Shared));
    folders.AddShared("svg-short", "Short", "short.svg",
                      DeckSvg(TDeckFormat::Shared, {{"queen_heart"}, false}));
    TCardFaces faces;
    EXPECT_EQ(faces.InUse(), "");
    const QPixmap builtIn = faces.Pixmap(1, {71, 96}, 1.0, true);
    EXPECT_EQ(builtIn.toImage(), CardPixmap(1, 1, true).toImage());

    EXPECT_EQ(faces.Choose("carddecks/svg-good", folders.Roots()), "");
    EXPECT_EQ(faces.InUse(), "carddecks/svg-good");
    const QPixmap fromDeck = faces.Pixmap(1, {71, 96}, 2.0, true);
    EXPECT_EQ(fromDeck.size(), QSize(142, 192));
    EXPECT_EQ(fromDeck.devicePixelRatio(), 2.0);
    EXPECT_TRUE(Near(fromDeck.toImage().pixel(71, 96), DeckColour(1)));
    // Kept: the next paint takes the same pixmap; another size is drawn anew.
    EXPECT_EQ(faces.Pixmap(1, {71, 96}, 2.0, true).cacheKey(), fromDeck.cacheKey());
    EXPECT_EQ(faces.Pixmap(1, {51, 76}, 1.0, false).size(), QSize(51, 76));
    // The deck has no joker: ours stands in.
    EXPECT_EQ(faces.Pixmap(JokerValue, {71, 96}, 1.0, true).toImage(),
              CardPixmap(JokerValue, 1, true).toImage());

    const QString refusal = faces.Choose("carddecks/svg-short", folders.Roots());
    EXPECT_THAT(refusal.toStdString(), HasSubstr(folders.Shared().toStdString() + "/svg-short/short.svg"));
    EXPECT_THAT(refusal.toStdString(), HasSubstr("queen_heart"));
    EXPECT_EQ(faces.InUse(), "");
    EXPECT_EQ(faces.Pixmap(1, {71, 96}, 1.0, true).toImage(), builtIn.toImage());
    // Asked again (the preferences applied once more): no second message.
    EXPECT_EQ(faces.Choose("carddecks/svg-short", folders.Roots()), "");

    const QString missing = faces.Choose("carddecks/svg-gone", folders.Roots());
    EXPECT_THAT(missing.toStdString(),
                HasSubstr(folders.Shared().toStdString() + "/svg-gone/index.desktop"));
    EXPECT_EQ(faces.Choose("", folders.Roots()), "");
    EXPECT_EQ(faces.Choose("carddecks/svg-good", folders.Roots()), "");
    EXPECT_EQ(faces.InUse(), "carddecks/svg-good");
}

TEST(CardFaces, EveryCardControlUnderTheWindowPaintsTheDeck)
{
    TDeckFolders folders;
    folders.AddAisleriot("made_up.svgz", Gzip(DeckSvg(TDeckFormat::Aisleriot)));
    auto faces = std::make_shared<TCardFaces>();
    ASSERT_EQ(faces->Choose("aisleriot/made_up.svgz", folders.Roots()), "");
    QWidget window;
    window.resize(300, 120);
    window.setAttribute(Qt::WA_DontShowOnScreen);
    auto* holder = new QWidget(&window);  // cards need not be direct children
    holder->resize(300, 120);
    std::vector<TCardDeck*> cards;
    for (int i = 0; i < 3; ++i) {
        auto* card = new TCardDeck(holder);
        card->move(i * 80, 0);
        card->SetValue(static_cast<uint8_t>(i == 2 ? FirstBackValue + 3 : 20 + i));
        card->SetVisible(true);
        cards.push_back(card);
    }
    ShowCardFaces(window, faces);
    window.show();
    const QImage shot = window.grab().toImage();
    EXPECT_TRUE(Near(shot.pixel(35, 48), DeckColour(20)));
    EXPECT_TRUE(Near(shot.pixel(80 + 35, 48), DeckColour(21)));
    EXPECT_TRUE(Near(shot.pixel(160 + 35, 48), DeckColour(FirstBackValue)));
}

// ---- The chooser ------------------------------------------------------------------------

TEST(DeckChooser, OffersBuiltInThenEveryDeckAndReportsThePick)
{
    TDeckFolders folders;
    folders.AddShared("svg-b", "Bravo", "b.svg", DeckSvg(TDeckFormat::Shared));
    folders.AddAisleriot("alpha.svgz", Gzip(DeckSvg(TDeckFormat::Aisleriot)));
    TDeckChooser chooser(nullptr, folders.Roots());
    ASSERT_EQ(chooser.count(), 3);
    EXPECT_EQ(chooser.itemText(0), "Built-in");
    EXPECT_EQ(chooser.itemText(1), "Alpha");
    EXPECT_EQ(chooser.itemText(2), "Bravo");
    QStringList picked;
    chooser.OnChange = [&](const QString& id) { picked << id; };
    chooser.Select("carddecks/svg-b");
    EXPECT_EQ(chooser.Chosen(), "carddecks/svg-b");
    EXPECT_TRUE(picked.isEmpty());  // setting it is not a pick
    chooser.Select("");
    EXPECT_EQ(chooser.currentIndex(), 0);
    chooser.setCurrentIndex(1);
    emit chooser.activated(1);
    EXPECT_EQ(picked.last(), "aisleriot/alpha.svgz");
    // A kept deck that has gone stays listed, so that OK does not drop it unseen.
    chooser.Select("carddecks/svg-gone");
    EXPECT_EQ(chooser.Chosen(), "carddecks/svg-gone");
    EXPECT_EQ(chooser.count(), 4);
}

TEST(DeckChooser, LeavesOutADeckAFanCannotShowOnceItsFileIsRead)
{
    TDeckFolders folders;
    folders.AddShared("svg-a", "Alpha", "a.svg", DeckSvg(TDeckFormat::Shared));
    folders.AddShared("svg-b", "Bravo", "b.svg", DeckSvg(TDeckFormat::Shared, {{}, false, true}));
    folders.AddShared("svg-c", "Charlie", "c.svg", DeckSvg(TDeckFormat::Shared, {{}, false, true}));
    TDeckChooser chooser(nullptr, folders.Roots());
    chooser.Select("carddecks/svg-c");
    ASSERT_TRUE(QTest::qWaitFor([&] { return chooser.Checked(); }, 10000));
    QCoreApplication::processEvents();  // the list is thinned by a queued call
    ASSERT_EQ(chooser.count(), 3);
    EXPECT_EQ(chooser.itemText(1), "Alpha");
    // The choice in force stays, so that OK does not drop it unseen.
    EXPECT_EQ(chooser.Chosen(), "carddecks/svg-c");
    EXPECT_EQ(chooser.itemText(2), "Charlie (cannot be shown)");
    chooser.Select("carddecks/svg-b");
    EXPECT_EQ(chooser.itemText(chooser.currentIndex()), "Bravo (cannot be shown)");
}

// ---- Real decks -------------------------------------------------------------------------

// Every deck the chooser lists, each suit fanned as a hand is: the strip each card
// leaves in sight (the trick shows more of it) tells every card from every other.
TEST(InstalledDecksInAFan, ShowEveryCardsIndex)
{
    const std::vector<TDeckInfo> found = FindInstalledDecks(DefaultDeckRoots());
    if (found.empty())
        GTEST_SKIP() << "no card decks are installed";
    const std::vector<TDeckInfo> listed = ReadableDecks(found);
    EXPECT_FALSE(listed.empty());
    constexpr int Step = 14, Row = 100, Index = 38;  // the top two fifths hold the index
    for (const TDeckInfo& info : listed) {
        auto faces = std::make_shared<TCardFaces>();
        ASSERT_EQ(faces->Choose(info.Id), "") << info.Id.toStdString();
        QWidget table;
        table.setAttribute(Qt::WA_DontShowOnScreen);
        table.resize(12 * Step + 71, 4 * Row);
        for (int suit = 0; suit < 4; ++suit)
            for (int rank = 0; rank < 13; ++rank) {
                auto* card = new TCardDeck(&table);
                card->move(rank * Step, suit * Row);
                card->SetValue(static_cast<uint8_t>(1 + rank + 13 * suit));
                card->SetVisible(true);
            }
        ShowCardFaces(table, faces);
        table.show();
        const QImage shot = table.grab().toImage().convertToFormat(QImage::Format_RGB32);
        std::vector<QImage> strips;
        for (int suit = 0; suit < 4; ++suit)
            for (int rank = 0; rank < 13; ++rank)
                strips.push_back(shot.copy(rank * Step, suit * Row, Step, Index));
        const auto differ = [](const QImage& a, const QImage& b) {
            for (int y = 0; y < a.height(); ++y)
                for (int x = 0; x < a.width(); ++x) {
                    const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
                    if (std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q)) > 96)
                        return true;
                }
            return false;
        };
        for (size_t i = 0; i < strips.size(); ++i)
            for (size_t j = i + 1; j < strips.size(); ++j)
                EXPECT_TRUE(differ(strips[i], strips[j]))
                    << info.Id.toStdString() << ": cards " << i + 1 << " and " << j + 1 << " look alike in a fan";
    }
}

struct TRealCase {
    const char* Id;  // one deck of each format, from the packages the set-up installs
    int Scale;
    bool Joker;
};

class InstalledDeck : public testing::TestWithParam<TRealCase> {};

TEST_P(InstalledDeck, DrawsEveryCardAndTheBack)
{
    const auto [id, scale, joker] = GetParam();
    const auto info = FindDeck(FindInstalledDecks(DefaultDeckRoots()), id);
    ASSERT_TRUE(info.has_value()) << id << " is not installed; scripts/setup.sh installs it";
    TSvgCardDeck deck(*info);
    ASSERT_TRUE(deck.IsValid()) << deck.Error().toStdString();
    const QSize size(71 * scale, 96 * scale);
    QSet<QByteArray> seen;
    for (int value = 1; value <= LastBackValue; ++value) {
        if (value > FirstBackValue)
            break;  // the other backs are the same drawing
        if (value == JokerValue) {
            EXPECT_EQ(deck.HasImage(JokerValue), joker);
            if (!joker)
                continue;
        }
        const QImage image = deck.Image(static_cast<uint8_t>(value), size).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), size) << value;
        // Mostly opaque (a card, not a stray corner of one), and not blank white.
        int opaque = 0, coloured = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                opaque += qAlpha(p) > 200;
                coloured += qAlpha(p) > 200 && qGray(p) < 200;
            }
        EXPECT_GT(opaque, size.width() * size.height() * 8 / 10) << value;
        EXPECT_GT(coloured, size.width() * size.height() / 100) << value;
        // Each value its own picture: the right element, not one drawn twice.
        const QByteArray bytes(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
        EXPECT_FALSE(seen.contains(bytes)) << "value " << value << " looks like an earlier one";
        seen.insert(bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(Desktop, InstalledDeck,
                         testing::Values(TRealCase{"carddecks/svg-standard", 1, false},
                                         TRealCase{"carddecks/svg-standard", 2, false},
                                         TRealCase{"aisleriot/anglo.svgz", 1, true},
                                         TRealCase{"aisleriot/anglo.svgz", 2, true}),
                         [](const testing::TestParamInfo<TRealCase>& info) {
                             std::string name = info.param.Id;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name + "_x" + std::to_string(info.param.Scale);
                         });

}  // namespace
}  // namespace spades
