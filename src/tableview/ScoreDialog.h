// The score card shown after every hand: the four seats and their game scores;
// in a partnership each side with its bid, tricks, bags and score, its two
// seats under it.
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <utility>
#include <vector>

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
    void SetScores(const std::array<std::pair<QString, int>, 4>& scores)
    {
        FScores = scores;
        FSides.clear();
    }

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
    void ShowSides();

    QTreeWidget* FList = nullptr;
    QPushButton* FOk = nullptr;
    QPushButton* FSheet = nullptr;
    QPushButton* FReview = nullptr;
    std::array<std::pair<QString, int>, 4> FScores;
    // A partnership's rows, the side's first, then its seats'; empty otherwise.
    struct TSideRow {
        QStringList Cells;  // name, bid, made, bags, score
        bool Side = false;
    };
    std::vector<TSideRow> FSides;
};

// A side's bid as the bids list and the score card show it: "7", "4+NIL", "NIL".
QString SideBidCellText(const TTableState& table, int side);

}  // namespace spades
