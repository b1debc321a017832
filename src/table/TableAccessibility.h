// What the table tells a screen reader: names and descriptions of its controls,
// the cards on the trick, whose turn it is and who took the trick. The seat whose
// turn it is also shows in its name's colour.
#pragma once

#include <QColor>
#include <QObject>
#include <QString>

namespace spades {

class TSpadesGame;
class TTableScene;

// "East played the Queen of Hearts".
QString PlayedText(const QString& seatName, int card);

class TTableAccessibility : public QObject {
    Q_OBJECT
public:
    static inline const QColor TurnColour{0xFF, 0xFF, 0xFF};

    TTableAccessibility(TTableScene& scene, const TSpadesGame& game);

    // Names and descriptions of the fixed controls; again after names change.
    void NameControls();
    // The trick as it lies: the play area and each card on it.
    void DescribeTrick();
    // Highlights the seat's name (0: nobody) and announces the turn.
    void SetTurn(int seat, bool bidding);
    int Turn() const { return FTurn; }
    void AnnounceWinner(int seat);
    // The bids list with or without a partnership's side rows.
    void DescribeBids(bool withSides);
    // Tells assistive tools through the given label; also a signal for observers.
    void Announce(const QString& text);

signals:
    void announced(const QString& text);

private:
    QString SeatName(int seat) const;

    TTableScene& FScene;
    const TSpadesGame& FGame;
    int FTurn = 0;
    QColor FTurnWas;
};

}  // namespace spades
