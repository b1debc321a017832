// The marks the table puts on a card: a shade darkens the whole face, an outline
// rings its edge, and neither changes what the card is called.
#include "CardDeck.h"
#include "CardTitle.h"

#include <QImage>
#include <QPainter>
#include <gmock/gmock.h>

using namespace spades;

namespace {

QImage Render(TCardDeck& card)
{
    QImage image(card.size(), QImage::Format_ARGB32);
    image.fill(QColor(0x20, 0x80, 0x30));
    card.render(&image);
    return image;
}

int Brightness(const QImage& image, QPoint at)
{
    const QColor c = image.pixelColor(at);
    return c.red() + c.green() + c.blue();
}

struct TMarkCase {
    const char* Name;
    bool Shaded;
    TCardDeck::TOutline Outline;
    bool CentreDarker;  // the face, well inside the card
    bool EdgeGold;      // the keyboard's mark on the left edge
    bool EdgeBlue;      // a hint's
};

class CardMarks : public ::testing::TestWithParam<TMarkCase> {};

TEST_P(CardMarks, PaintOverTheFace)
{
    TCardDeck plain;
    plain.SetVisible(true);
    plain.SetValue(40);  // the Ace of Diamonds: a white face around one pip
    const QImage before = Render(plain);

    TCardDeck marked;
    marked.SetVisible(true);
    marked.SetValue(40);
    marked.SetShaded(GetParam().Shaded);
    marked.SetOutline(GetParam().Outline);
    const QImage after = Render(marked);

    const QPoint face(12, 70);
    EXPECT_EQ(Brightness(after, face) < Brightness(before, face) - 60, GetParam().CentreDarker);
    bool gold = false, blue = false;
    for (int y = 10; y < 86; ++y) {
        const QColor rim = after.pixelColor(1, y);
        gold |= rim.red() > 200 && rim.green() > 160 && rim.blue() < 80;
        blue |= rim.blue() > 200 && rim.red() < 120;
    }
    EXPECT_EQ(gold, GetParam().EdgeGold);
    EXPECT_EQ(blue, GetParam().EdgeBlue);
    EXPECT_EQ(marked.accessibleName(), "Ace of Diamonds");
}

INSTANTIATE_TEST_SUITE_P(Marks, CardMarks,
                         ::testing::Values(TMarkCase{"None", false, TCardDeck::TOutline::None, false, false, false},
                                           TMarkCase{"Shade", true, TCardDeck::TOutline::None, true, false, false},
                                           TMarkCase{"Outline", false, TCardDeck::TOutline::Mark, false, true, false},
                                           TMarkCase{"Hint", false, TCardDeck::TOutline::Hint, false, false, true},
                                           TMarkCase{"Both", true, TCardDeck::TOutline::Mark, true, true, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(CardMarks, ClearingThemGivesThePlainCardBack)
{
    TCardDeck plain, card;
    for (TCardDeck* c : {&plain, &card}) {
        c->SetVisible(true);
        c->SetValue(25);
    }
    card.SetShaded(true);
    card.SetOutlined(true);
    card.SetShaded(false);
    card.SetOutlined(false);
    EXPECT_EQ(Render(card), Render(plain));
}

}  // namespace
