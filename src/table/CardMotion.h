// Cards that move rather than jump: a played card glides to its trick place, a
// won trick to the winner's pile, a new deal fans out from the middle. Every
// move ends within the play speed's pause, so no game gets slower, and when
// switched off the cards jump as they always did. Nothing ticks between moves.
#pragma once

#include <QObject>
#include <QPointer>
#include <QRectF>

#include "CardDeck.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QVariantAnimation;

namespace spades {

class TTableScene;

class TCardMotion : public QObject {
    Q_OBJECT
public:
    explicit TCardMotion(TTableScene& scene);
    ~TCardMotion() override;

    void SetEnabled(bool enabled);
    bool Enabled() const { return FEnabled; }
    // Where the pause now in force is read, in milliseconds; moves take a share of it.
    void SetPauseSource(std::function<int()> pause) { FPause = std::move(pause); }
    int Pause() const { return FPause ? FPause() : 0; }
    // How long a move lasts at a pause: well inside it, and shorter the faster the game.
    static int Duration(int pauseMs);

    // The card is already at its new place in the scene; it glides there from `fromTable`.
    void Glide(TCardDeck& card, const QRectF& fromTable);
    // Cards just laid out in their fans come from the middle of the table, one after another.
    void Deal(const std::vector<TCardDeck*>& cards);
    // Copies of these cards (faces as given) glide from their places into the pile, then vanish.
    void Sweep(const std::vector<std::pair<int, QRect>>& cards, const QRect& pileTable);

    // Moves under way; every move ends by itself.
    int Running() const { return static_cast<int>(FMoves.size()); }
    // Ends every move at once, each card at its place.
    void Finish();

signals:
    void finished();

private:
    struct TTrack {
        QPointer<TCardDeck> Card;
        QRectF From, To;
        qreal Start = 0, End = 1;  // the share of the move's time this card travels in
        bool Ghost = false;        // a copy that vanishes at the end
    };
    struct TMove;
    void Run(std::vector<TTrack> tracks);
    void Step(TMove& move, qreal progress);
    void End(TMove& move);
    TCardDeck* Ghost(size_t index);

    TTableScene& FScene;
    bool FEnabled = true;
    std::function<int()> FPause;
    std::vector<std::unique_ptr<TMove>> FMoves;
    std::array<TCardDeck*, 4> FGhosts{};
};

}  // namespace spades
