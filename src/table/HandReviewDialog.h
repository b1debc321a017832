// A played hand looked at again: every seat's cards, trick by trick, with the
// plays that cost a trick against best play marked, the bids against what each
// hand could make, and a person's choices beside the Expert's. The working out
// runs beside the window; closing the review stops it.
#pragma once

#include <QDialog>
#include <QSqlDatabase>
#include <array>
#include <atomic>
#include <optional>
#include <thread>

#include "HandReview.h"

class QLabel;
class QProgressBar;
class QTableWidget;

namespace spades {

// A scored hand of the history, ready to review; names get the seats' names.
// Nothing when the hand cannot be read.
std::optional<TReviewHand> LoadReviewHand(const QSqlDatabase& db, qint64 game, int number,
                                          std::array<QString, 5>& names);

class TdlgHandReview : public QDialog {
    Q_OBJECT
public:
    TdlgHandReview(const TReviewHand& hand, const std::array<QString, 5>& names, QWidget* owner = nullptr,
                   const TExpertSettings& expert = {});
    ~TdlgHandReview() override;

    QTableWidget* lvwBids() const { return FBids; }
    QTableWidget* lvwTricks() const { return FTricks; }
    QLabel* lblHands() const { return FHands; }
    QProgressBar* Progress() const { return FProgress; }
    bool Finished() const { return FReview.has_value(); }

    // The texts of a card for the trick list: short, and read aloud.
    static QString ShortCard(int card);

private:
    void Show(const TReview& review);
    void ShowHandsAt(int trick);
    QString PlayNote(const TPlayReview& play) const;

    TReviewHand FHand;
    std::array<QString, 5> FNames;
    std::optional<TReview> FReview;
    QTableWidget* FBids = nullptr;
    QTableWidget* FTricks = nullptr;
    QLabel* FHands = nullptr;
    QLabel* FSummary = nullptr;
    QProgressBar* FProgress = nullptr;
    std::atomic<bool> FStop{false};
    std::thread FWorker;
};

}  // namespace spades
