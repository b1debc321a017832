#include <gmock/gmock.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include "BidDialog.h"

using namespace spades;

namespace {

class BidDialog : public ::testing::Test {
protected:
    TdlgBid dialog;
    QSignalSpy finished{&dialog, &QDialog::finished};

    void SetUp() override
    {
        dialog.SetPlayerCaption("South Bid");
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }

    int CheckedButton() const
    {
        int checked = -1;
        for (int value = 0; value <= 13; ++value)
            if (dialog.Button(value)->isChecked()) {
                EXPECT_EQ(checked, -1) << "only one button may be down";
                checked = value;
            }
        return checked;
    }
};

TEST_F(BidDialog, OkAtOnceBidsOne)
{
    EXPECT_EQ(dialog.edtBid()->value(), 1);
    EXPECT_EQ(CheckedButton(), 1);
    QTest::mouseClick(dialog.OKBtn(), Qt::LeftButton);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), 2);
    EXPECT_EQ(dialog.FBidValue, 1);
}

TEST_F(BidDialog, NilBidsZero)
{
    QTest::mouseClick(dialog.Button(0), Qt::LeftButton);
    EXPECT_EQ(dialog.edtBid()->value(), 0);
    EXPECT_EQ(CheckedButton(), 0);
    QTest::mouseClick(dialog.OKBtn(), Qt::LeftButton);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), 1);
}

class BidButtons : public BidDialog, public ::testing::WithParamInterface<int> {};

TEST_P(BidButtons, EachButtonSetsTheNumberAndReturnsIt)
{
    const int value = GetParam();
    QTest::mouseClick(dialog.Button(value), Qt::LeftButton);
    EXPECT_EQ(dialog.edtBid()->value(), value);
    EXPECT_EQ(CheckedButton(), value);
    QTest::mouseClick(dialog.OKBtn(), Qt::LeftButton);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), value + 1);
}

INSTANTIATE_TEST_SUITE_P(AllFourteen, BidButtons, ::testing::Range(0, 14));

// A screen reader checks a button through its own action, with no click.
TEST_P(BidButtons, EachButtonToggledByAnAssistiveToolSetsTheNumber)
{
    const int value = GetParam();
    const int other = value == 1 ? 2 : 1;
    QTest::mouseClick(dialog.Button(other), Qt::LeftButton);
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(dialog.Button(value));
    ASSERT_NE(button, nullptr);
    ASSERT_NE(button->actionInterface(), nullptr);
    ASSERT_TRUE(button->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    button->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(CheckedButton(), value);
    EXPECT_EQ(dialog.edtBid()->value(), value);
    QTest::mouseClick(dialog.OKBtn(), Qt::LeftButton);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), value + 1);
}

TEST_F(BidDialog, SpinningMovesTheButtonAndStopsAtTheEnds)
{
    dialog.edtBid()->setValue(12);
    dialog.edtBid()->stepUp();
    EXPECT_EQ(dialog.edtBid()->value(), 13);
    EXPECT_EQ(CheckedButton(), 13);
    dialog.edtBid()->stepUp();
    EXPECT_EQ(dialog.edtBid()->value(), 13);
    dialog.edtBid()->setValue(0);
    dialog.edtBid()->stepDown();
    EXPECT_EQ(dialog.edtBid()->value(), 0);
    EXPECT_EQ(CheckedButton(), 0);
}

TEST_F(BidDialog, TypedNumbersPressTheirButton)
{
    dialog.edtBid()->setFocus();
    dialog.edtBid()->selectAll();
    QTest::keyClicks(dialog.edtBid(), "7");
    EXPECT_EQ(CheckedButton(), 7);
    dialog.edtBid()->selectAll();
    QTest::keyClicks(dialog.edtBid(), "99");
    EXPECT_LE(dialog.edtBid()->value(), 13);
    QTest::mouseClick(dialog.OKBtn(), Qt::LeftButton);
    ASSERT_EQ(finished.count(), 1);
    const int result = finished.at(0).at(0).toInt();
    EXPECT_GE(result, 1);
    EXPECT_LE(result, 14);
}

TEST_F(BidDialog, EmptyFieldThenOkStillBidsWithinRange)
{
    dialog.edtBid()->setFocus();
    dialog.edtBid()->selectAll();
    QTest::keyClick(dialog.edtBid(), Qt::Key_Backspace);
    QTest::keyClick(dialog.edtBid(), Qt::Key_Return);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_GE(dialog.FBidValue, 0);
    EXPECT_LE(dialog.FBidValue, 13);
}

TEST_F(BidDialog, EnterIsTheSameAsOk)
{
    QTest::mouseClick(dialog.Button(5), Qt::LeftButton);
    dialog.edtBid()->setFocus();
    QTest::keyClick(dialog.edtBid(), Qt::Key_Return);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), 6);
}

TEST_F(BidDialog, NeitherEscapeNorCloseEndsTheBid)
{
    QTest::keyClick(&dialog, Qt::Key_Escape);
    dialog.close();
    EXPECT_EQ(finished.count(), 0);
    EXPECT_TRUE(dialog.isVisible());
}

struct TButtonPlace {
    int value, left, top;
};

TEST_F(BidDialog, LayoutMatchesTheTable)
{
    EXPECT_EQ(dialog.windowTitle(), "Bid");
    EXPECT_EQ(dialog.size(), QSize(238, 184));
    EXPECT_EQ(dialog.findChild<QLabel*>("lblBidPlayer")->text(), "South Bid");
    const TButtonPlace places[] = {{1, 22, 37},  {7, 190, 37},  {8, 22, 69},
                                   {12, 134, 69}, {13, 162, 69}, {0, 190, 69}};
    for (const auto& p : places) {
        auto* button = dialog.findChild<QAbstractButton*>(QString("Button%1").arg(p.value));
        ASSERT_NE(button, nullptr) << p.value;
        EXPECT_EQ(button->geometry(), QRect(p.left, p.top, 25, 25)) << p.value;
        EXPECT_EQ(button->text(), p.value == 0 ? QString("Nil") : QString::number(p.value));
    }
    EXPECT_EQ(dialog.edtBid()->geometry(), QRect(93, 108, 51, 21));
    EXPECT_EQ(dialog.OKBtn()->geometry(), QRect(81, 152, 75, 25));
    EXPECT_TRUE(dialog.OKBtn()->isDefault());
    EXPECT_EQ(dialog.edtBid()->minimum(), 0);
    EXPECT_EQ(dialog.edtBid()->maximum(), 13);
}

TEST_F(BidDialog, ShowingAgainStartsAtOne)
{
    QTest::mouseClick(dialog.Button(9), Qt::LeftButton);
    dialog.hide();
    dialog.show();
    EXPECT_EQ(dialog.edtBid()->value(), 1);
    EXPECT_EQ(CheckedButton(), 1);
}


// The arrow keys always step the number and Enter is OK, whatever button was clicked.
struct TKeyCase {
    const char* Name;
    int Clicked;  // the button clicked first, -1 for none
    std::vector<Qt::Key> Keys;
    int Bid;
};

class BidKeys : public ::testing::TestWithParam<TKeyCase> {};

TEST_P(BidKeys, StepTheNumberAndEnterIsOk)
{
    const TKeyCase& param = GetParam();
    TdlgBid dialog;
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    if (param.Clicked >= 0)
        QTest::mouseClick(dialog.Button(param.Clicked), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), dialog.edtBid()) << "a button took the keyboard";
    for (Qt::Key key : param.Keys)
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &dialog, key);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &dialog, Qt::Key_Return);
    ASSERT_EQ(finished.count(), 1) << "Enter did not end the dialog";
    EXPECT_EQ(finished.at(0).at(0).toInt(), param.Bid + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, BidKeys,
    ::testing::Values(TKeyCase{"NilThenUp", 0, {Qt::Key_Up}, 1},
                      TKeyCase{"SevenThenDown", 7, {Qt::Key_Down}, 6},
                      TKeyCase{"ThirteenThenUp", 13, {Qt::Key_Up}, 13},
                      TKeyCase{"FiveThenRightAndUp", 5, {Qt::Key_Right, Qt::Key_Up}, 6},
                      TKeyCase{"NoClickDownTwice", -1, {Qt::Key_Down, Qt::Key_Down}, 0},
                      TKeyCase{"NoKeys", -1, {}, 1}),
    [](const ::testing::TestParamInfo<TKeyCase>& info) { return std::string(info.param.Name); });

}  // namespace

namespace {

struct TChoiceCase {
    const char* Name;
    unsigned Choices;
    int Starts;  // the bid shown first
    int Typed;   // then typed in
    bool Taken;  // OK takes the typed bid
};

class BidChoices : public ::testing::TestWithParam<TChoiceCase> {};

TEST_P(BidChoices, OnlyTheBidsLeftCanBeMade)
{
    const TChoiceCase& c = GetParam();
    TdlgBid dialog;
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.SetChoices(c.Choices, "Whiz: bid Nil or your number of spades.");
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (int value = 0; value <= 13; ++value)
        EXPECT_EQ(dialog.Button(value)->isEnabled(), ((c.Choices >> value) & 1u) != 0) << value;
    EXPECT_EQ(dialog.edtBid()->value(), c.Starts);
    EXPECT_EQ(dialog.findChild<QLabel*>("lblBidRule")->text(), "Whiz: bid Nil or your number of spades.");
    dialog.edtBid()->setValue(c.Typed);
    EXPECT_EQ(dialog.OKBtn()->isEnabled(), c.Taken);
    dialog.OKBtn()->click();  // a greyed button does nothing
    QTest::keyClick(dialog.edtBid(), Qt::Key_Return);
    EXPECT_EQ(finished.count(), c.Taken ? 1 : 0);
    if (c.Taken) {
        EXPECT_EQ(dialog.FBidValue, c.Typed);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, BidChoices,
                         ::testing::Values(TChoiceCase{"NilOrFour", 1u | 1u << 4, 4, 4, true},
                                           TChoiceCase{"NilOrFourRefusesTwo", 1u | 1u << 4, 4, 2, false},
                                           TChoiceCase{"NilOnly", 1u, 0, 0, true}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
