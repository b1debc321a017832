#include "GfxTestSupport.h"
#include "LblEffct.h"

#include <gmock/gmock.h>

#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>

#include <functional>

namespace spades {
namespace {

using test::BoundsOf;
using test::RenderOver;
using D = TEffectDirection;
using S = TEffectStyle;
using K = TColourScheme;

const QColor Ground(0xff, 0x00, 0xff);
const QColor Invisible(0, 0, 0, 0);
const QColor ShadowInk(0xff, 0x00, 0x00), HighlightInk(0x00, 0xff, 0x00), FaceInk(0x00, 0x00, 0xff);

// A label whose text is drawn without smoothing, so each pixel is one copy's colour.
void Prepare(TLabelEffect& label, const QString& caption = QStringLiteral("Hg"))
{
    QFont font = label.font();
    font.setStyleStrategy(QFont::NoAntialias);
    label.setFont(font);
    label.SetCaption(caption);
    label.resize(200, 80);
}

// Renders the label showing one of its copies only.
QImage OnlyCopy(TLabelEffect& label, int copy)
{
    const QColor shadow = label.ColourShadow(), highlight = label.ColourHighlight();
    const QColor face = label.FontColour();
    label.SetColourShadow(copy == 0 ? ShadowInk : Invisible);
    label.SetColourHighlight(copy == 1 ? HighlightInk : Invisible);
    label.SetFontColour(copy == 2 ? FaceInk : Invisible);
    const QImage image = RenderOver(label, Ground);
    label.SetColourShadow(shadow);
    label.SetColourHighlight(highlight);
    label.SetFontColour(face);
    return image;
}

// Where the caption lands when drawn plainly at (0, 0) in the label's font.
QRect PlainTextBounds(const TLabelEffect& label)
{
    QImage image(label.size(), QImage::Format_ARGB32);
    image.fill(Ground);
    QPainter painter(&image);
    painter.setFont(label.font());
    painter.setPen(FaceInk);
    painter.drawText(QRect(QPoint(0, 0), label.size()),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs |
                         Qt::TextShowMnemonic,
                     label.Caption());
    painter.end();
    return BoundsOf(image, FaceInk.rgb());
}

// ---- Defaults ------------------------------------------------------------------

TEST(LabelEffectDefaults, NewLabelIsRaisedWindowsGrayTimes20AndTransparent)
{
    TLabelEffect label;
    EXPECT_EQ(label.size(), QSize(142, 33));
    EXPECT_TRUE(label.Transparent());
    EXPECT_EQ(label.EffectStyle(), S::esRaised);
    EXPECT_EQ(label.ColourScheme(), K::csWindows);
    EXPECT_EQ(label.ColourHighlight(), QColor(0xff, 0xff, 0xff));
    EXPECT_EQ(label.ColourShadow(), QColor(0x00, 0x00, 0x00));
    EXPECT_EQ(label.FontColour(), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(label.font().family(), "Times New Roman");
    EXPECT_EQ(label.font().pointSize(), 20);
    EXPECT_EQ(label.DepthHighlight(), 1);
    EXPECT_EQ(label.DepthShadow(), 1);
    EXPECT_EQ(label.DirectionHighlight(), D::edUpLeft);
    EXPECT_EQ(label.DirectionShadow(), D::edDownRight);
    EXPECT_FALSE(label.AsButton());
    EXPECT_EQ(label.Angle(), 0);
    EXPECT_EQ(label.AngleCos(), 1.0);
    EXPECT_EQ(label.AngleSin(), 0.0);
    EXPECT_EQ(label.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

TEST(LabelEffectDefaults, SchemeTableHoldsTheSixSchemes)
{
    TLabelEffect label;
    const std::array<std::pair<K, TSchemeColours>, 6> expected = {{
        {K::csCustom, {QColor::fromRgb(0xffffff), QColor::fromRgb(0x000000), QColor::fromRgb(0x808080)}},
        {K::csText, {QColor::fromRgb(0xffffff), QColor::fromRgb(0x808080), QColor::fromRgb(0x000000)}},
        {K::csWindows, {QColor::fromRgb(0xffffff), QColor::fromRgb(0x000000), QColor::fromRgb(0x808080)}},
        {K::csEmbossed, {QColor::fromRgb(0xffffff), QColor::fromRgb(0x000000), QColor::fromRgb(0xc0c0c0)}},
        {K::csGold, {QColor::fromRgb(0xffff00), QColor::fromRgb(0x000000), QColor::fromRgb(0x808000)}},
        {K::csSteel, {QColor::fromRgb(0x00ffff), QColor::fromRgb(0x000080), QColor::fromRgb(0x008080)}},
    }};
    for (const auto& [scheme, colours] : expected)
        EXPECT_EQ(label.SchemeColours(scheme), colours) << static_cast<int>(scheme);
}

TEST(LabelEffectDefaults, DirectionStepsPointWhereTheirNamesSay)
{
    EXPECT_EQ(DirectionStep(D::edNone), QPoint(0, 0));
    EXPECT_EQ(DirectionStep(D::edUp), QPoint(0, -1));
    EXPECT_EQ(DirectionStep(D::edUpRight), QPoint(1, -1));
    EXPECT_EQ(DirectionStep(D::edRight), QPoint(1, 0));
    EXPECT_EQ(DirectionStep(D::edDownRight), QPoint(1, 1));
    EXPECT_EQ(DirectionStep(D::edDown), QPoint(0, 1));
    EXPECT_EQ(DirectionStep(D::edDownLeft), QPoint(-1, 1));
    EXPECT_EQ(DirectionStep(D::edLeft), QPoint(-1, 0));
    EXPECT_EQ(DirectionStep(D::edUpLeft), QPoint(-1, -1));
}

// ---- Offsets of the three copies, on rendered pixels ----------------------------------

struct TOffsetCase {
    const char* Name;
    std::function<void(TLabelEffect&)> Setup;
    TEffectOffsets Expected;
};

class LabelOffsets : public ::testing::TestWithParam<TOffsetCase> {};

TEST_P(LabelOffsets, EachCopyLandsAtItsOffset)
{
    TLabelEffect label;
    Prepare(label);
    GetParam().Setup(label);
    const TEffectOffsets expected = GetParam().Expected;
    EXPECT_EQ(label.Offsets(), expected);
    const QRect plain = PlainTextBounds(label);
    ASSERT_FALSE(plain.isNull());
    EXPECT_EQ(BoundsOf(OnlyCopy(label, 0), ShadowInk.rgb()), plain.translated(expected.Shadow));
    EXPECT_EQ(BoundsOf(OnlyCopy(label, 1), HighlightInk.rgb()),
              plain.translated(expected.Highlight));
    EXPECT_EQ(BoundsOf(OnlyCopy(label, 2), FaceInk.rgb()), plain.translated(expected.Face));
}

INSTANTIATE_TEST_SUITE_P(
    Styles, LabelOffsets,
    ::testing::Values(
        TOffsetCase{"Raised", [](TLabelEffect&) {}, {{2, 2}, {0, 0}, {1, 1}}},
        TOffsetCase{"None", [](TLabelEffect& l) { l.SetEffectStyle(S::esNone); },
                    {{0, 0}, {0, 0}, {0, 0}}},
        TOffsetCase{"Sunken", [](TLabelEffect& l) { l.SetEffectStyle(S::esSunken); },
                    {{0, 0}, {2, 2}, {1, 1}}},
        TOffsetCase{"Shadow", [](TLabelEffect& l) { l.SetEffectStyle(S::esShadow); },
                    {{2, 2}, {0, 0}, {0, 0}}},
        TOffsetCase{"Flying", [](TLabelEffect& l) { l.SetEffectStyle(S::esFlying); },
                    {{5, 5}, {1, 1}, {0, 0}}},
        TOffsetCase{"ShadowUpLeftDepth3",
                    [](TLabelEffect& l) {
                        l.SetDirectionHighlight(D::edNone);
                        l.SetDirectionShadow(D::edUpLeft);
                        l.SetDepthShadow(3);
                    },
                    {{0, 0}, {3, 3}, {3, 3}}},
        TOffsetCase{"HighlightLeftDepth4ShadowDown",
                    [](TLabelEffect& l) {
                        l.SetDirectionHighlight(D::edLeft);
                        l.SetDepthHighlight(4);
                        l.SetDirectionShadow(D::edDown);
                        l.SetDepthShadow(2);
                    },
                    {{4, 6}, {0, 4}, {4, 4}}},
        TOffsetCase{"UpRightDepth10",
                    [](TLabelEffect& l) {
                        l.SetDirectionShadow(D::edUpRight);
                        l.SetDepthShadow(10);
                    },
                    {{20, 0}, {9, 9}, {10, 10}}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(LabelEffectPaint, WithNoEffectTheFaceCoversBothOtherCopies)
{
    TLabelEffect label;
    Prepare(label);
    label.SetEffectStyle(S::esNone);
    label.SetColourShadow(ShadowInk);
    label.SetColourHighlight(HighlightInk);
    label.SetFontColour(FaceInk);
    const QImage image = RenderOver(label, Ground);
    EXPECT_GT(test::CountOf(image, FaceInk.rgb()), 20);
    EXPECT_EQ(test::CountOf(image, ShadowInk.rgb()), 0);
    EXPECT_EQ(test::CountOf(image, HighlightInk.rgb()), 0);
}

TEST(LabelEffectPaint, FlyingUnderSteelDrawsTheHighlightInNavy)
{
    TLabelEffect label;
    Prepare(label);
    label.SetColourScheme(K::csSteel);
    label.SetEffectStyle(S::esFlying);
    EXPECT_EQ(label.ColourHighlight(), QColor(0x00, 0x00, 0x80));
    EXPECT_EQ(label.ColourShadow(), QColor(0x00, 0x00, 0x80));
    EXPECT_EQ(label.ColourScheme(), K::csSteel);
    EXPECT_EQ(label.EffectStyle(), S::esFlying);
    const QRect plain = PlainTextBounds(label);
    label.SetFontColour(Invisible);
    const QImage image = RenderOver(label, Ground);
    // Both copies are navy: together they cover the text at +1 and at +5.
    EXPECT_EQ(BoundsOf(image, 0x000080), plain.translated(1, 1) | plain.translated(5, 5));
}

TEST(LabelEffectPaint, OpaqueLabelFillsItsRectangle)
{
    TLabelEffect label;
    label.SetCaption("x");
    label.SetTransparent(false);
    label.SetColor(QColor(0x12, 0x34, 0x56));
    const QImage image = RenderOver(label, Ground);
    EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(QColor(image.pixel(141, 32)), QColor(0x12, 0x34, 0x56));
    label.SetTransparent(true);
    EXPECT_EQ(QColor(RenderOver(label, Ground).pixel(0, 0)), Ground);
}

TEST(LabelEffectPaint, AlignmentPlacesTheText)
{
    TLabelEffect label;
    Prepare(label, "Hg");
    label.SetEffectStyle(S::esNone);
    label.SetFontColour(FaceInk);
    const QRect left = BoundsOf(RenderOver(label, Ground), FaceInk.rgb());
    label.setAlignment(Qt::AlignRight | Qt::AlignTop);
    const QRect right = BoundsOf(RenderOver(label, Ground), FaceInk.rgb());
    label.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    const QRect centre = BoundsOf(RenderOver(label, Ground), FaceInk.rgb());
    EXPECT_LT(left.left(), 5);
    EXPECT_GT(right.right(), 193);
    EXPECT_NEAR(centre.center().x(), 100, 3);
    EXPECT_EQ(left.top(), right.top());
}

TEST(LabelEffectPaint, LongCaptionsBreakIntoLines)
{
    TLabelEffect label;
    Prepare(label, "Wait for West");
    label.resize(90, 100);
    label.SetFontColour(FaceInk);
    const QRect ink = BoundsOf(RenderOver(label, Ground), FaceInk.rgb());
    EXPECT_GT(ink.height(), label.fontMetrics().height());
}

// ---- Turned captions --------------------------------------------------------------

struct TTurnCase {
    int Angle;
    bool TopsToTheRight;   // where the tops of the letters point
};

class LabelTurned : public ::testing::TestWithParam<TTurnCase> {};

TEST_P(LabelTurned, TextRunsUpOrDownCentredAtTheRotationCentre)
{
    TLabelEffect label;
    label.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Prepare(label, "PPPP");
    label.SetAngle(GetParam().Angle);
    EXPECT_EQ(label.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    const int w2 = label.RotationCentre();
    label.resize(2 * w2 + 10, 2 * w2 + 10);
    label.SetFontColour(FaceInk);
    const QImage image = RenderOver(label, Ground);
    const QRect ink = BoundsOf(image, FaceInk.rgb());
    ASSERT_FALSE(ink.isNull());
    EXPECT_GT(ink.height(), 2 * ink.width());   // the text runs vertically
    // The face copy sits one pixel down-right of the rotated text's centre.
    EXPECT_NEAR(ink.center().x(), w2 + 1, 4);
    EXPECT_NEAR(ink.center().y(), w2 + 1, 4);
    // A 'P' carries its bowl at the top: the half its tops point to holds more ink.
    int left = 0, right = 0;
    for (int y = ink.top(); y <= ink.bottom(); ++y)
        for (int x = ink.left(); x <= ink.right(); ++x)
            if ((image.pixel(x, y) & 0xffffff) == (FaceInk.rgb() & 0xffffff))
                (x <= ink.center().x() ? left : right) += 1;
    if (GetParam().TopsToTheRight)
        EXPECT_GT(right, left * 5 / 4);
    else
        EXPECT_GT(left, right * 5 / 4);
}

INSTANTIATE_TEST_SUITE_P(Angles, LabelTurned,
                         ::testing::Values(TTurnCase{270, true}, TTurnCase{90, false}),
                         [](const auto& info) { return "Angle" + std::to_string(info.param.Angle); });

TEST(LabelTurnedGeometry, ReferencePointFollowsTheTruncatedProducts)
{
    TLabelEffect label;
    label.SetCaption("West");
    label.SetAngle(270);
    EXPECT_NEAR(label.AngleCos(), 0.0, 1e-12);
    EXPECT_DOUBLE_EQ(label.AngleSin(), -1.0);
    const QFontMetrics metrics = label.fontMetrics();
    const int w2 = metrics.horizontalAdvance("West   ") / 2;
    const int tw = metrics.horizontalAdvance("West"), th = metrics.height();
    EXPECT_EQ(label.RotationCentre(), w2);
    EXPECT_EQ(label.RotatedOrigin(), QPoint(w2 + static_cast<int>(th / 2.0),
                                            w2 - static_cast<int>(tw / 2.0)));
}

TEST(LabelTurnedGeometry, AngleIsKeptWithinAFullTurn)
{
    TLabelEffect label;
    label.SetAngle(400);
    EXPECT_EQ(label.Angle(), 360);
    label.SetAngle(-5);
    EXPECT_EQ(label.Angle(), 0);
    EXPECT_EQ(label.AngleCos(), 1.0);
    EXPECT_EQ(label.RotatedOrigin(), QPoint(0, 0));
}

TEST(LabelTurnedGeometry, OpaqueTurnedLabelFillsOnlyTheTurnedBox)
{
    TLabelEffect label;
    label.SetCaption("West");
    label.SetAngle(45);
    label.SetTransparent(false);
    label.SetColor(QColor(0x12, 0x34, 0x56));
    const int w2 = label.RotationCentre();
    label.resize(2 * w2, 2 * w2);
    label.SetColourShadow(Invisible);
    label.SetColourHighlight(Invisible);
    label.SetFontColour(Invisible);
    const QImage image = RenderOver(label, Ground);
    EXPECT_EQ(QColor(image.pixel(w2, w2)), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(QColor(image.pixel(0, 0)), Ground);
    EXPECT_EQ(QColor(image.pixel(2 * w2 - 1, 2 * w2 - 1)), Ground);
}

// ---- Presets and guards ---------------------------------------------------------------

TEST(LabelEffectPresets, DepthChangeTurnsTheStyleCustomAndClearsTheButton)
{
    TLabelEffect label;
    label.SetAsButton(true);
    label.SetDepthShadow(3);
    EXPECT_EQ(label.EffectStyle(), S::esCustom);
    EXPECT_EQ(label.DirectionHighlight(), D::edUpLeft);
    EXPECT_EQ(label.DirectionShadow(), D::edDownRight);
    EXPECT_EQ(label.DepthHighlight(), 1);
    EXPECT_EQ(label.DepthShadow(), 3);
    EXPECT_FALSE(label.AsButton());
}

TEST(LabelEffectPresets, DirectionChangeTurnsTheStyleCustom)
{
    TLabelEffect label;
    label.SetDirectionHighlight(D::edUp);
    EXPECT_EQ(label.EffectStyle(), S::esCustom);
    label.SetEffectStyle(S::esRaised);
    EXPECT_EQ(label.DirectionHighlight(), D::edUpLeft);
    EXPECT_EQ(label.EffectStyle(), S::esRaised);
}

TEST(LabelEffectPresets, UnchangedValuesChangeNothing)
{
    TLabelEffect label;
    label.SetDepthShadow(1);
    label.SetDirectionShadow(D::edDownRight);
    label.SetColourShadow(QColor(0, 0, 0));
    EXPECT_EQ(label.EffectStyle(), S::esRaised);
    EXPECT_EQ(label.ColourScheme(), K::csWindows);
}

TEST(LabelEffectPresets, DepthsAreKeptWithinTen)
{
    TLabelEffect label;
    label.SetDepthHighlight(25);
    label.SetDepthShadow(-3);
    EXPECT_EQ(label.DepthHighlight(), 10);
    EXPECT_EQ(label.DepthShadow(), 0);
}

TEST(LabelEffectSchemes, ColourChangeTurnsTheSchemeCustom)
{
    TLabelEffect label;
    label.SetColourShadow(QColor(0xff, 0, 0));
    EXPECT_EQ(label.ColourScheme(), K::csCustom);
    EXPECT_EQ(label.SchemeColours(K::csCustom).Shadow, QColor(0xff, 0, 0));
    EXPECT_EQ(label.ColourShadow(), QColor(0xff, 0, 0));
    EXPECT_EQ(label.EffectStyle(), S::esRaised);
}

TEST(LabelEffectSchemes, CustomAfterGoldReproducesGold)
{
    TLabelEffect label;
    label.SetColourShadow(QColor(0xff, 0, 0));
    label.SetColourScheme(K::csGold);
    EXPECT_EQ(label.SchemeColours(K::csCustom), label.SchemeColours(K::csGold));
    label.SetColourScheme(K::csCustom);
    EXPECT_EQ(label.ColourHighlight(), QColor(0xff, 0xff, 0x00));
    EXPECT_EQ(label.ColourShadow(), QColor(0x00, 0x00, 0x00));
    EXPECT_EQ(label.FontColour(), QColor(0x80, 0x80, 0x00));
}

TEST(LabelEffectSchemes, HighlightChangeIsKeptInTheCustomEntry)
{
    TLabelEffect label;
    label.SetColourScheme(K::csSteel);
    label.SetColourHighlight(QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(label.ColourScheme(), K::csCustom);
    const TSchemeColours custom = label.SchemeColours(K::csCustom);
    EXPECT_EQ(custom.Highlight, QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(custom.Shadow, QColor(0x00, 0x00, 0x80));
    EXPECT_EQ(label.SchemeColours(K::csSteel).Highlight, QColor(0x00, 0xff, 0xff));
}

TEST(LabelEffectSchemes, StyleTakesTheSchemesHighlightWithoutLeavingTheScheme)
{
    TLabelEffect label;
    label.SetColourScheme(K::csGold);
    label.SetEffectStyle(S::esFlying);
    EXPECT_EQ(label.ColourHighlight(), QColor(0, 0, 0));
    label.SetEffectStyle(S::esShadow);
    EXPECT_EQ(label.ColourHighlight(), QColor(0xff, 0xff, 0x00));
    EXPECT_EQ(label.ColourScheme(), K::csGold);
}

// ---- As a button --------------------------------------------------------------------------

void Move(TLabelEffect& label, QPoint at, Qt::MouseButtons buttons,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(at), label.mapToGlobal(QPointF(at)),
                     Qt::NoButton, buttons, modifiers);
    QCoreApplication::sendEvent(&label, &move);
}

TEST(LabelEffectButton, BecomingAButtonSelectsRaised)
{
    TLabelEffect label;
    label.SetEffectStyle(S::esShadow);
    label.SetAsButton(true);
    EXPECT_EQ(label.EffectStyle(), S::esRaised);
    label.SetAsButton(false);
    EXPECT_EQ(label.EffectStyle(), S::esRaised);
}

TEST(LabelEffectButton, PressSinksDragOutRaisesDragBackSinksReleaseRaises)
{
    TLabelEffect label;
    label.SetAsButton(true);
    QSignalSpy clicks(&label, &TLabelEffect::clicked);
    QSignalSpy downs(&label, &TLabelEffect::mouseDown);
    QSignalSpy ups(&label, &TLabelEffect::mouseUp);
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(label.EffectStyle(), S::esSunken);
    Move(label, QPoint(-3, 10), Qt::LeftButton);
    EXPECT_EQ(label.EffectStyle(), S::esRaised);
    Move(label, QPoint(142, 33), Qt::LeftButton);   // the far edge still counts as inside
    EXPECT_EQ(label.EffectStyle(), S::esSunken);
    Move(label, QPoint(20, 40), Qt::LeftButton | Qt::RightButton);   // not the left alone
    EXPECT_EQ(label.EffectStyle(), S::esSunken);
    Move(label, QPoint(20, 40), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(label.EffectStyle(), S::esSunken);
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(label.EffectStyle(), S::esRaised);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(downs.count(), 0);
    EXPECT_EQ(ups.count(), 0);
    EXPECT_TRUE(label.AsButton());
}

TEST(LabelEffectButton, ReleaseOutsideLeavesItSunkAndIsNoClick)
{
    TLabelEffect label;
    label.SetAsButton(true);
    QSignalSpy clicks(&label, &TLabelEffect::clicked);
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_EQ(label.EffectStyle(), S::esSunken);
    EXPECT_EQ(clicks.count(), 0);
}

TEST(LabelEffectButton, RightPressDoesNotSink)
{
    TLabelEffect label;
    label.SetAsButton(true);
    QTest::mousePress(&label, Qt::RightButton, {}, QPoint(20, 10));
    EXPECT_EQ(label.EffectStyle(), S::esRaised);
}

TEST(LabelEffectButton, PlainLabelRaisesItsMouseEventsAndKeepsItsStyle)
{
    TLabelEffect label;
    QSignalSpy clicks(&label, &TLabelEffect::clicked);
    QSignalSpy downs(&label, &TLabelEffect::mouseDown);
    QSignalSpy moves(&label, &TLabelEffect::mouseMove);
    QSignalSpy ups(&label, &TLabelEffect::mouseUp);
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(20, 10));
    Move(label, QPoint(25, 12), Qt::LeftButton);
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(25, 12));
    EXPECT_EQ(label.EffectStyle(), S::esRaised);
    EXPECT_EQ(downs.count(), 1);
    EXPECT_EQ(moves.count(), 1);
    EXPECT_EQ(ups.count(), 1);
    EXPECT_EQ(clicks.count(), 1);
}

}  // namespace
}  // namespace spades
