#include "CardMotion.h"

#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

#include "CardDeck.h"
#include "Shape.h"
#include "TableScene.h"
#include "Tilemap.h"

namespace spades {

struct TCardMotion::TMove {
    std::vector<TTrack> Tracks;
    std::unique_ptr<QVariantAnimation> Animation;
};

TCardMotion::TCardMotion(TTableScene& scene) : QObject(&scene), FScene(scene) {}

TCardMotion::~TCardMotion()
{
    for (auto& move : FMoves)
        move->Animation->disconnect();
}

int TCardMotion::Duration(int pauseMs)
{
    // Two fifths of the pause, at most a third of a second: 40 ms at Bullet.
    return std::clamp(pauseMs * 2 / 5, 0, 320);
}

void TCardMotion::SetEnabled(bool enabled)
{
    FEnabled = enabled;
    if (!enabled)
        Finish();
}

TCardDeck* TCardMotion::Ghost(size_t index)
{
    if (!FGhosts[index]) {
        auto* ghost = new TCardDeck(&FScene.Surface());
        ghost->setObjectName(QString("crdMoving%1").arg(index + 1));
        ghost->setAttribute(Qt::WA_TransparentForMouseEvents);
        ghost->SetStretch(true);
        ghost->hide();
        FGhosts[index] = ghost;
    }
    return FGhosts[index];
}

void TCardMotion::Glide(TCardDeck& card, const QRectF& fromTable)
{
    const QRectF to = FScene.TableRect(card);
    if (!FEnabled || Duration(Pause()) <= 0 || fromTable == to)
        return;
    Run({TTrack{&card, fromTable, to, 0, 1, false}});
}

void TCardMotion::Deal(const std::vector<TCardDeck*>& cards)
{
    if (!FEnabled || Duration(Pause()) <= 0 || cards.empty())
        return;
    const QRect area = FScene.TableRect(FScene.PlayArea());
    std::vector<TTrack> tracks;
    const qreal count = static_cast<qreal>(cards.size());
    for (size_t i = 0; i < cards.size(); ++i) {
        const QRectF to = FScene.TableRect(*cards[i]);
        QRectF from(QPointF(), to.size());
        from.moveCenter(QRectF(area).center());
        // Each card starts a little after the one before and all arrive by the end.
        const qreal start = 0.6 * static_cast<qreal>(i) / count;
        tracks.push_back({cards[i], from, to, start, start + 0.4, false});
    }
    Run(std::move(tracks));
}

void TCardMotion::Sweep(const std::vector<std::pair<int, QRect>>& cards, const QRect& pileTable)
{
    if (!FEnabled || Duration(Pause()) <= 0)
        return;
    std::vector<TTrack> tracks;
    for (size_t i = 0; i < cards.size() && i < FGhosts.size(); ++i) {
        TCardDeck* ghost = Ghost(i);
        ghost->SetValue(static_cast<uint8_t>(cards[i].first));
        ghost->SetVisible(true);
        ghost->show();
        ghost->raise();
        tracks.push_back({ghost, cards[i].second, pileTable, 0, 1, true});
    }
    Run(std::move(tracks));
}

void TCardMotion::Run(std::vector<TTrack> tracks)
{
    auto move = std::make_unique<TMove>();
    move->Tracks = std::move(tracks);
    move->Animation = std::make_unique<QVariantAnimation>();
    move->Animation->setStartValue(0.0);
    move->Animation->setEndValue(1.0);
    move->Animation->setDuration(Duration(Pause()));
    move->Animation->setEasingCurve(QEasingCurve::OutCubic);
    TMove* raw = move.get();
    connect(move->Animation.get(), &QVariantAnimation::valueChanged, this,
            [this, raw](const QVariant& value) { Step(*raw, value.toReal()); });
    connect(move->Animation.get(), &QVariantAnimation::finished, this, [this, raw] { End(*raw); });
    Step(*raw, 0.0);
    FMoves.push_back(std::move(move));
    raw->Animation->start();
}

void TCardMotion::Step(TMove& move, qreal progress)
{
    for (TTrack& track : move.Tracks) {
        if (!track.Card)
            continue;
        // A real card the game has since put elsewhere is the game's again.
        if (!track.Ghost && QRectF(FScene.TableRect(*track.Card)) != track.To) {
            track.Card = nullptr;
            continue;
        }
        const qreal share = std::clamp((progress - track.Start) / (track.End - track.Start), 0.0, 1.0);
        const QRectF at(track.From.topLeft() + (track.To.topLeft() - track.From.topLeft()) * share,
                        track.From.size() + (track.To.size() - track.From.size()) * share);
        const QRectF window(FScene.ToWindow(at.topLeft()), at.size() * FScene.Scale());
        track.Card->setGeometry(window.toRect());
    }
}

void TCardMotion::End(TMove& move)
{
    for (TTrack& track : move.Tracks) {
        if (!track.Card)
            continue;
        if (track.Ghost) {
            track.Card->SetVisible(false);
            track.Card->hide();
        } else {
            track.Card->setGeometry(FScene.ToWindow(FScene.TableRect(*track.Card)));
        }
    }
    const auto found = std::find_if(FMoves.begin(), FMoves.end(), [&](const auto& m) { return m.get() == &move; });
    if (found != FMoves.end()) {
        std::unique_ptr<TMove> done = std::move(*found);
        FMoves.erase(found);
        done->Animation->disconnect();
        done->Animation.release()->deleteLater();
    }
    if (FMoves.empty())
        emit finished();
}

void TCardMotion::Finish()
{
    while (!FMoves.empty()) {
        FMoves.front()->Animation->stop();
        End(*FMoves.front());
    }
}

}  // namespace spades
