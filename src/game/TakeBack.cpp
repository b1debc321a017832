#include "TakeBack.h"

namespace spades {

namespace {

int TricksTaken(const TSpadesGame& game)
{
    int tricks = 0;
    for (int seat = North; seat <= West; ++seat)
        tricks += game.Table.Player(seat).FTricks;
    return tricks;
}

}  // namespace

void TTakeBack::Before(const TSpadesGame& game, int seat, TKind kind)
{
    FPoint = TPoint{TakeSnapshot(game), seat, kind, game.HandsDealt(), TricksTaken(game)};
}

bool TTakeBack::Possible(const TSpadesGame& game) const
{
    if (!FPoint || FPoint->Hand != game.HandsDealt())
        return false;
    const TGameSnapshot& before = FPoint->Before;
    if (FPoint->Kind == TKind::Bid)
        return game.FPlayCount == 0 && game.FBidCount > before.BidCount && game.FBidCount < 4;
    // Exactly the person's card since, and its trick not yet taken.
    return game.FPlayCount == before.PlayCount + 1 &&
           game.FPlays[static_cast<size_t>(before.PlayCount)].Seat == FPoint->Seat &&
           TricksTaken(game) == FPoint->Tricks;
}

std::optional<TTakeBack::TUndone> TTakeBack::TakeBack(TSpadesGame& game, TCardHost& host)
{
    if (!Possible(game))
        return std::nullopt;
    const TPoint point = std::move(*FPoint);
    FPoint.reset();
    TUndone undone{point.Seat, point.Kind, 0};
    undone.Value = point.Kind == TKind::Bid ? game.Table.Player(point.Seat).FBid
                                            : game.FPlays[static_cast<size_t>(point.Before.PlayCount)].Card;
    RestoreSnapshot(game, host, point.Before);
    return undone;
}

}  // namespace spades
