#include "ExtListView.h"
#include "GfxTestSupport.h"

#include <gmock/gmock.h>

#include <QHeaderView>

namespace spades {
namespace {

using X = TLVExtendedStyle;

TEST(ExtListViewDefaults, NewViewHasNoExtendedStyleAndAReportHeader)
{
    TExtListView view;
    EXPECT_EQ(view.ExtendedStyleBits(), 0u);
    EXPECT_FALSE(view.showGrid());
    EXPECT_FALSE(view.horizontalHeader()->isHidden());
    EXPECT_TRUE(view.verticalHeader()->isHidden());
    EXPECT_FALSE(view.isSortingEnabled());
}

struct TStyleCase {
    TLVExtendedStyles Styles;
    uint32_t Bits;
};

class ExtListViewStyles : public ::testing::TestWithParam<TStyleCase> {};

TEST_P(ExtListViewStyles, SetRoundTripsThroughTheControl)
{
    TExtListView view;
    view.SetExtendedStyles(GetParam().Styles);
    EXPECT_EQ(view.ExtendedStyleBits(), GetParam().Bits);
    EXPECT_EQ(view.GetExtendedStyles(), GetParam().Styles);
    EXPECT_EQ(view.ExtendedStyles(), GetParam().Styles);
}

INSTANTIATE_TEST_SUITE_P(
    Sets, ExtListViewStyles,
    ::testing::Values(TStyleCase{{}, 0x00}, TStyleCase{X::lvxGridLines, 0x01},
                      TStyleCase{X::lvxSubItemImages, 0x02}, TStyleCase{X::lvxCheckboxes, 0x04},
                      TStyleCase{X::lvxTrackSelect, 0x08}, TStyleCase{X::lvxHeaderDragDrop, 0x10},
                      TStyleCase{X::lvxFullRowSelect, 0x20},
                      TStyleCase{X::lvxOneClickActivate, 0x40},
                      TStyleCase{X::lvxTwoClickActivate, 0x80},
                      TStyleCase{X::lvxGridLines | X::lvxFullRowSelect, 0x21},
                      TStyleCase{TLVExtendedStyles::fromInt(0xff), 0xff}),
    [](const auto& info) { return "Bits" + std::to_string(info.param.Bits); });

TEST(ExtListViewStyles, BitsOutsideTheEightFlagsAreIgnored)
{
    TExtListView view;
    view.SetExtendedStyles(TLVExtendedStyles::fromInt(0x1f21));
    EXPECT_EQ(view.ExtendedStyleBits(), 0x21u);
}

TEST(ExtListViewStyles, NewSetReplacesTheOldOneWhole)
{
    TExtListView view;
    view.SetExtendedStyles(X::lvxGridLines | X::lvxCheckboxes | X::lvxTrackSelect);
    view.SetExtendedStyles(X::lvxFullRowSelect);
    EXPECT_EQ(view.ExtendedStyleBits(), 0x20u);
    EXPECT_FALSE(view.showGrid());
}

TEST(ExtListViewStyles, EmptySetAlsoTurnsOffWhatWasSwitchedOnDirectly)
{
    TExtListView view;
    view.setShowGrid(true);
    view.horizontalHeader()->setSectionsMovable(true);
    EXPECT_EQ(view.ExtendedStyleBits(), 0x11u);
    view.SetExtendedStyles({});
    EXPECT_FALSE(view.showGrid());
    EXPECT_FALSE(view.horizontalHeader()->sectionsMovable());
    EXPECT_EQ(view.ExtendedStyleBits(), 0u);
}

TEST(ExtListViewEffects, GridLinesAndHeaderDragFollowTheirFlags)
{
    TExtListView view;
    view.SetExtendedStyles(X::lvxGridLines | X::lvxHeaderDragDrop);
    EXPECT_TRUE(view.showGrid());
    EXPECT_TRUE(view.horizontalHeader()->sectionsMovable());
}

TEST(ExtListViewEffects, CheckBoxesComeAndGoOnEveryRow)
{
    TExtListView view;
    view.SetColumns({{"", 64}, {"Bid", 44}});
    view.AddRow("North");
    view.SetExtendedStyles(X::lvxCheckboxes);
    const int east = view.AddRow("East");
    for (int row : {0, east}) {
        EXPECT_TRUE(view.item(row, 0)->flags() & Qt::ItemIsUserCheckable);
        EXPECT_EQ(view.item(row, 0)->checkState(), Qt::Unchecked);
    }
    view.SetChecked(east, true);
    EXPECT_TRUE(view.Checked(east));
    EXPECT_FALSE(view.Checked(0));
    view.SetExtendedStyles({});
    EXPECT_FALSE(view.item(0, 0)->data(Qt::CheckStateRole).isValid());
    EXPECT_FALSE(view.item(0, 0)->flags() & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(view.Checked(east));
}

// The colour in the middle of a cell's empty right part.
QRgb CellColour(TExtListView& view, const QImage& image, int row, int column)
{
    const QRect cell = view.visualRect(view.model()->index(row, column));
    const QPoint inViewport(cell.right() - 3, cell.center().y());
    return image.pixel(view.viewport()->mapTo(&view, inViewport));
}

class ExtListViewSelection : public ::testing::Test {
protected:
    void SetUp() override
    {
        FView.resize(300, 150);
        FView.SetColumns({{"", 64}, {"Bid", 60}, {"Made", 60}});
        for (const char* seat : {"North", "East"}) {
            const int row = FView.AddRow(seat);
            FView.SetCell(row, 1, "3");
        }
        ASSERT_TRUE(test::ShowAndExpose(FView));
    }
    void ClickCell(int row, int column)
    {
        const QRect cell = FView.visualRect(FView.model()->index(row, column));
        QTest::mouseClick(FView.viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseMove(FView.viewport(), QPoint(290, 140));   // no hover mark
    }
    // Whether a cell of the first row looks different from the same cell below it.
    bool Marked(int column)
    {
        const QImage image = FView.grab().toImage();
        return CellColour(FView, image, 0, column) != CellColour(FView, image, 1, column);
    }
    TExtListView FView;
};

TEST_F(ExtListViewSelection, FullRowSelectHighlightsTheWholeRow)
{
    FView.SetExtendedStyles(X::lvxFullRowSelect);
    ClickCell(0, 2);
    EXPECT_TRUE(Marked(0));
    EXPECT_TRUE(Marked(2));
    EXPECT_EQ(FView.selectionModel()->selectedRows().size(), 1);
}

TEST_F(ExtListViewSelection, WithoutFullRowSelectAClickMarksTheRowsCaptionOnly)
{
    ClickCell(0, 2);
    EXPECT_TRUE(Marked(0));
    EXPECT_FALSE(Marked(2));
    EXPECT_EQ(FView.currentRow(), 0);
}

TEST_F(ExtListViewSelection, SwitchingTheFlagKeepsTheSelectedRow)
{
    FView.SetExtendedStyles(X::lvxFullRowSelect);
    ClickCell(0, 1);
    FView.SetExtendedStyles({});
    EXPECT_TRUE(Marked(0));
    EXPECT_FALSE(Marked(2));
    FView.SetExtendedStyles(X::lvxFullRowSelect);
    EXPECT_TRUE(Marked(2));
}

TEST(ExtListViewRows, CellsAreWrittenReadAndFoundByCaption)
{
    TExtListView view;
    view.SetColumns({{"", 64}, {"Bid", 44, Qt::AlignHCenter}});
    const int north = view.AddRow("North");
    const int east = view.AddRow("East");
    view.SetCell(east, 1, "Nil");
    view.SetCell(east, 1, "4");
    EXPECT_EQ(view.RowCount(), 2);
    EXPECT_EQ(view.FindRow("East"), east);
    EXPECT_EQ(view.FindRow("North"), north);
    EXPECT_EQ(view.FindRow("South"), -1);
    EXPECT_EQ(view.Cell(east, 1), "4");
    EXPECT_EQ(view.Cell(north, 1), "");
    EXPECT_EQ(view.item(east, 1)->textAlignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    view.ClearRows();
    EXPECT_EQ(view.RowCount(), 0);
}

TEST(ExtListViewRows, CellsOutsideTheTableAreIgnored)
{
    TExtListView view;
    view.SetColumns({{"", 64}});
    view.AddRow("North");
    view.SetCell(5, 0, "x");
    view.SetCell(0, 3, "x");
    view.SetCell(-1, -1, "x");
    EXPECT_EQ(view.Cell(5, 0), "");
    EXPECT_EQ(view.RowCount(), 1);
    EXPECT_EQ(view.ColumnCount(), 1);
}

TEST(ExtListViewRows, CellsCannotBeEditedInPlace)
{
    TExtListView view;
    view.SetColumns({{"", 64}});
    view.AddRow("North");
    EXPECT_FALSE(view.item(0, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(view.editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST(BidsTable, HasTheFourColumnsGridLinesAndBoldSmallType)
{
    TExtListView view;
    ConfigureBidsTable(view);
    ASSERT_EQ(view.ColumnCount(), 4);
    const std::array<const char*, 4> titles = {"", "Bid", "Made", "Bags"};
    const std::array<int, 4> widths = {64, 44, 44, 44};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(view.horizontalHeaderItem(c)->text(), titles[static_cast<size_t>(c)]);
        EXPECT_EQ(view.columnWidth(c), widths[static_cast<size_t>(c)]);
    }
    for (int c = 1; c < 4; ++c)
        EXPECT_EQ(view.horizontalHeaderItem(c)->textAlignment() & Qt::AlignHorizontal_Mask,
                  Qt::AlignHCenter);
    EXPECT_EQ(view.GetExtendedStyles(), TLVExtendedStyles(X::lvxGridLines));
    EXPECT_TRUE(view.font().bold());
    EXPECT_EQ(view.font().pointSize(), 8);
    EXPECT_EQ(view.palette().color(QPalette::Text), QColor(Qt::black));
    EXPECT_EQ(view.focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(view.geometry(), QRect(4, 367, 200, 90));
}

TEST(BidsTable, FourSeatRowsFitWithoutScrolling)
{
    TExtListView view;
    ConfigureBidsTable(view);
    for (const char* seat : {"North", "East", "South", "West"})
        view.AddRow(seat);
    ASSERT_TRUE(test::ShowAndExpose(view));
    const QRect last = view.visualRect(view.model()->index(3, 3));
    EXPECT_LE(last.bottom(), view.viewport()->height());
    EXPECT_LE(last.right(), view.viewport()->width());
}

}  // namespace
}  // namespace spades
