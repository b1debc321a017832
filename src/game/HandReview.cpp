#include "HandReview.h"

#include <algorithm>

namespace spades {

namespace {
size_t At(int index) { return static_cast<size_t>(index); }
int SuitOf(int card) { return CardSuit(static_cast<uint8_t>(card)); }

// A card's strength within its suit: the Ace above the King.
int StrengthOf(int card)
{
    const int rank = CardRank(static_cast<uint8_t>(card));
    return rank == Ace ? 14 : rank;
}

}  // namespace

bool PlaysAlike(int a, int b, TCardSet settled)
{
    if (a == b)
        return true;
    if (SuitOf(a) != SuitOf(b))
        return false;
    const int low = std::min(StrengthOf(a), StrengthOf(b));
    const int high = std::max(StrengthOf(a), StrengthOf(b));
    for (TCardSet rest = SuitCards(SuitOf(a)); rest; rest &= rest - 1) {
        const int card = std::countr_zero(rest) + 1;
        const int strength = StrengthOf(card);
        if (strength > low && strength < high && !(settled & CardBit(card)))
            return false;
    }
    return true;
}

namespace {
// The card laid; a trick it ends goes to its winner.
void AdvanceTrick(TDDPosition& position, const TPlayReview& entry, std::array<int, 5>& won, TReview& review)
{
    const bool ends = position.TrickCount == 3;
    position = After(position, entry.Play.Card);
    if (ends) {
        ++won[At(position.Leader)];
        review.TrickWinners[At(entry.Trick)] = position.Leader;
    }
}

TDDPosition StartOf(const TReviewHand& hand)
{
    TDDPosition position;
    position.Hands = hand.Dealt;
    position.Leader = hand.FirstSeat;
    position.Rule = hand.Rule;
    return position;
}
}  // namespace

std::array<TCardSet, 5> DealtHands(const std::array<int, 52>& deal)
{
    std::array<TCardSet, 5> hands{};
    for (size_t i = 0; i < deal.size(); ++i)
        if (deal[i] >= 1 && deal[i] <= 52)
            hands[i % 4 + 1] |= CardBit(deal[i]);
    return hands;
}

std::string CheckReviewHand(const TReviewHand& hand)
{
    if (hand.FirstSeat < North || hand.FirstSeat > West)
        return "The hand has no first seat.";
    TCardSet all = 0;
    const int cards = CountCards(hand.Dealt[North]);
    for (int seat = North; seat <= West; ++seat) {
        const TCardSet dealt = hand.Dealt[At(seat)];
        if (cards < 1 || CountCards(dealt) != cards || (all & dealt))
            return "The deal does not give every seat as many different cards.";
        all |= dealt;
        if (hand.Bids[At(seat)] < 0 || hand.Bids[At(seat)] > 13)
            return "A bid is out of range.";
    }
    if (hand.Plays.size() > static_cast<size_t>(4 * cards))
        return "The hand has more plays than cards.";
    TDDPosition position = StartOf(hand);
    for (const TPlayRecord& play : hand.Plays) {
        if (play.Seat != position.ToPlay() || play.Card < 1 || play.Card > 52 ||
            !(LegalPlays(position) & CardBit(play.Card)))
            return "A card of the record does not follow the rules.";
        position = After(position, play.Card);
    }
    return {};
}

TExpertView ReviewViewAt(const TReviewHand& hand, int seat, int playIndex)
{
    TExpertView view;
    view.Seat = seat;
    view.Kind = hand.Kinds;
    view.Order = TurnOrderFrom(hand.FirstSeat);
    view.Score = hand.ScoresBefore;
    view.TotalBags = hand.BagsBefore;
    view.WinScore = hand.WinScore;
    view.Held = hand.Dealt[At(seat)];
    if (playIndex < 0) {
        while (view.BidCount < 4 && view.Order[At(view.BidCount + 1)] != seat)
            ++view.BidCount;
    } else {
        view.BidCount = 4;
    }
    for (int s = North; s <= West; ++s)
        if (view.HasBid(s))
            view.Bid[At(s)] = hand.Bids[At(s)];
    TDDPosition position = StartOf(hand);
    const int plays = std::clamp(playIndex, 0, static_cast<int>(hand.Plays.size()));
    for (int i = 0; i < plays; ++i) {
        const TPlayRecord play = hand.Plays[At(i)];
        view.Plays[At(i)] = play;
        if (play.Seat == seat)
            view.Held &= ~CardBit(play.Card);
        const bool ends = position.TrickCount == 3;
        position = After(position, play.Card);
        if (ends)
            ++view.Tricks[At(position.Leader)];
    }
    view.PlayCount = plays;
    return view;
}

TReview THandReviewer::Review(const TReviewHand& hand, const std::atomic<bool>* stop,
                              const std::function<void(int, int)>& progress, const TReviewScope& scope)
{
    TReview review;
    const auto person = [&](int seat) { return scope.CompareExpert && IsPerson(hand.Kinds[At(seat)]); };
    const auto looked = [&](int seat) { return (scope.Seats >> seat & 1u) != 0; };
    int total = 0;
    for (int seat = North; seat <= West; ++seat)
        total += scope.Bids ? 1 + person(seat) : 0;
    for (const TPlayRecord& play : hand.Plays)
        total += looked(play.Seat) ? 1 + person(play.Seat) : 0;
    int done = 0;
    const auto stepDone = [&] {
        if (progress)
            progress(++done, total);
        return !(stop && stop->load());
    };

    // Each step's searches under the scope's bound, and stopped at once by a request.
    const TDDBound bound{scope.StepNodes, stop};
    const TDDPosition start = StartOf(hand);
    for (int seat = North; seat <= West && scope.Bids; ++seat) {
        TBidReview& bid = review.Bids[At(seat)];
        bid.Bid = hand.Bids[At(seat)];
        try {
            const TDDBoundScope bounded(FSolver, bound);
            bid.Makeable =
                bid.Bid == 0 ? (FSolver.CanAvoidEveryTrick(start, seat) ? 0 : 1) : FSolver.MostTricks(start, seat);
        } catch (const EDDGaveUp&) {
            bid.Makeable = -1;
        }
        if (!stepDone())
            return review;
        if (person(seat)) {
            bid.ExpertBid = FExpert.ChooseBid(ReviewViewAt(hand, seat, -1));
            if (!stepDone())
                return review;
        }
    }

    TDDPosition position = start;
    std::array<int, 5> won{};
    TCardSet played = 0;
    for (size_t i = 0; i < hand.Plays.size(); ++i) {
        const TPlayRecord play = hand.Plays[i];
        TPlayReview entry;
        entry.Play = play;
        entry.Trick = static_cast<int>(i / 4) + 1;
        entry.Nil = hand.Bids[At(play.Seat)] == 0;
        if (looked(play.Seat)) {
            const TDDGoal goal = entry.Nil ? TDDGoal::Nil(play.Seat) : TDDGoal::Seat(play.Seat);
            try {
                const TDDBoundScope bounded(FSolver, bound);
                const std::vector<TDDCardValue> values = FSolver.CardValues(position, goal);
                const auto better = [&](const TDDCardValue& a, const TDDCardValue& b) {
                    return entry.Nil ? a.Tricks < b.Tricks : a.Tricks > b.Tricks;
                };
                const auto best = std::min_element(values.begin(), values.end(), better);
                const auto chosen = std::find_if(values.begin(), values.end(),
                                                 [&](const TDDCardValue& v) { return v.Card == play.Card; });
                entry.Before = won[At(play.Seat)] + best->Tricks;
                entry.After = won[At(play.Seat)] + chosen->Tricks;
            } catch (const EDDGaveUp&) {
                entry.Solved = false;
            }
            if (!stepDone())
                return review;
            if (person(play.Seat)) {
                const TExpertView view = ReviewViewAt(hand, play.Seat, static_cast<int>(i));
                const int card = FExpert.ChooseCard(view);
                // What the person could not tell apart is no different choice.
                // The trick in play's cards still tell two cards apart.
                TCardSet trick = 0;
                for (int k = 0; k < position.TrickCount; ++k)
                    trick |= CardBit(position.Trick[At(k)].Card);
                if (!PlaysAlike(card, play.Card, (played & ~trick) | view.Held))
                    entry.ExpertCard = card;
                if (!stepDone())
                    return review;
            }
        }
        review.Plays.push_back(entry);
        AdvanceTrick(position, entry, won, review);
        played |= CardBit(play.Card);
    }
    review.Complete = true;
    return review;
}

}  // namespace spades
