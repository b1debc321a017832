// The last completed trick, shown over the play area for as long as a won-trick
// pile is pressed or the key is held.
#pragma once

#include <QObject>
#include <array>

namespace spades {

class TCardDeck;
class TTableScene;
struct TTableState;

class TLastTrick : public QObject {
    Q_OBJECT
public:
    explicit TLastTrick(TTableScene& scene);

    // Keeps the four cards now on the table (before they are taken away).
    void Record(const TTableState& table);
    // Forgets the trick: a new hand has nothing to show yet.
    void Forget();
    bool HasTrick() const { return FCards[0] != 0; }

    void Show();
    void Hide();
    bool Showing() const { return FShowing; }
    // The cards that show it, for tests and readers.
    TCardDeck& ShownCard(int place) const { return *FShown[static_cast<size_t>(place - 1)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TTableScene& FScene;
    std::array<int, 4> FCards{};
    std::array<int, 4> FSeats{};
    std::array<TCardDeck*, 4> FShown{};
    bool FShowing = false;
};

}  // namespace spades
