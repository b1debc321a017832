// The bid of a person's seat: fourteen exclusive buttons (1..13 and Nil) kept in
// step with a spin edit; the dialog ends with the bid + 1 as its result.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

class QAbstractButton;
class QButtonGroup;
class QFrame;
class QLabel;
class QPushButton;
class QSpinBox;

namespace spades {

// A caption drawn twice: a maroon shadow one pixel down-right, the text on top.
class TShadowLabel;

class TdlgBid : public QDialog {
    Q_OBJECT
public:
    explicit TdlgBid(QWidget* owner = nullptr);

    // The caller names the seat: "South Bid".
    void SetPlayerCaption(const QString& caption);
    QString PlayerCaption() const;
    // 0 is Nil; the result of exec() is this + 1.
    int FBidValue = 0;

    QSpinBox* edtBid() const { return FEdit; }
    QPushButton* OKBtn() const { return FOk; }
    // A "Suggest" button that sets the spin edit to what suggest() says; no
    // button without one. The bid stays the person's: OK still ends it.
    void SetSuggestion(std::function<int()> suggest);
    QPushButton* SuggestBtn() const { return FSuggest; }
    QAbstractButton* Button(int value) const;
    // Only these bids can be chosen (bit b for b tricks, bit 0 for Nil); the
    // others are greyed, and the note under the buttons says why.
    void SetChoices(unsigned bids, const QString& note);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void FormShow();
    void BidClick(QAbstractButton* button);
    void edtBidChange(const QString& text);
    void OKBtnClick();

    QFrame* FPanel = nullptr;
    TShadowLabel* FLabel = nullptr;
    QButtonGroup* FGroup = nullptr;
    std::array<QAbstractButton*, 14> FButtons{};
    QSpinBox* FEdit = nullptr;
    QPushButton* FOk = nullptr;
    QPushButton* FSuggest = nullptr;
    std::function<int()> FSuggestion;
    unsigned FChoices = (1u << 14) - 1;
    QLabel* FNote = nullptr;
    bool FClosing = false;
};

}  // namespace spades
