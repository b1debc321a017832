// The score card shown after every hand: the four seats and their game scores.
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <utility>

class QPushButton;
class QTreeWidget;

namespace spades {

struct TTableState;

class TdlgScores : public QDialog {
    Q_OBJECT
public:
    explicit TdlgScores(QWidget* owner = nullptr);

    // Seat names and scores in seat order, listed when the card is shown.
    void SetSeats(const TTableState& table);
    void SetScores(const std::array<std::pair<QString, int>, 4>& scores) { FScores = scores; }

    // A "Sheet" button beside Continue opens the score sheet, when there is one.
    void SetSheetAction(std::function<void()> action);
    // A "Review" button opens the review of the hand just scored, when there is one.
    void SetReviewAction(std::function<void()> action);

    QTreeWidget* lvwScores() const { return FList; }
    QPushButton* SheetBtn() const { return FSheet; }
    QPushButton* ReviewBtn() const { return FReview; }
    QPushButton* OKBtn() const { return FOk; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    QTreeWidget* FList = nullptr;
    QPushButton* FOk = nullptr;
    QPushButton* FSheet = nullptr;
    QPushButton* FReview = nullptr;
    std::array<std::pair<QString, int>, 4> FScores;
};

}  // namespace spades
