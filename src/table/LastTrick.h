// The last completed trick, shown over the play area for as long as the key is
// held; a seat's won-trick pile pressed shows the last trick that seat won. Each
// card's player and the winner are named by the trick's tags.
#pragma once

#include <QObject>
#include <array>

#include "TrickTags.h"

namespace spades {

class TCardDeck;
class TTableScene;
struct TTableState;

class TLastTrick : public QObject {
    Q_OBJECT
public:
    TLastTrick(TTableScene& scene, TTrickTags& tags);

    // Keeps the four cards now on the table (before they are taken away) and who won them.
    void Record(const TTableState& table, int winner);
    // Forgets the tricks: a new hand has nothing to show yet.
    void Forget();
    bool HasTrick() const { return FLast.Cards[0] != 0; }

    // The last trick of the hand, or (seat 1..4) the last one that seat won.
    void Show(int seat = 0);
    void Hide();
    bool Showing() const { return FShowing; }
    // The cards that show it, for tests and readers.
    TCardDeck& ShownCard(int place) const { return *FShown[static_cast<size_t>(place - 1)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TWon {
        std::array<int, 4> Cards{};
        TTrickTags::TTrick Trick;
    };
    TTableScene& FScene;
    TTrickTags& FTags;
    TWon FLast;
    std::array<TWon, 5> FWonBy;  // by seat
    std::array<TCardDeck*, 4> FShown{};
    bool FShowing = false;
};

}  // namespace spades
