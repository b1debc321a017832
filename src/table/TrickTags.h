// Whose card is whose on the trick: a small name tag over each trick place, the
// winner's tag (and card) marked while the won trick is shown.
#pragma once

#include <QObject>
#include <QPointer>
#include <array>

class QLabel;

namespace spades {

class TCardDeck;
class TTableScene;

class TTrickTags : public QObject {
    Q_OBJECT
public:
    // One trick as the tags show it: the seat on each place 1..4 (0: empty), the winner's seat.
    struct TTrick {
        std::array<int, 4> Seats{};
        int Winner = 0;
        bool operator==(const TTrick&) const = default;
    };

    explicit TTrickTags(TTableScene& scene);

    // The trick on the table; its winner's card, if given, stands outlined.
    void SetCurrent(const TTrick& trick, TCardDeck* winnerCard = nullptr);
    // Another trick (the last one) shown over the table for a while; an empty one ends that.
    void SetShown(const TTrick& trick);
    const TTrick& Current() const { return FCurrent; }
    QLabel& Tag(int place) const { return *FTags[static_cast<size_t>(place - 1)]; }

private:
    void Draw();

    TTableScene& FScene;
    std::array<QLabel*, 4> FTags{};
    TTrick FCurrent;
    TTrick FShown;
    QPointer<TCardDeck> FOutlined;
};

}  // namespace spades
