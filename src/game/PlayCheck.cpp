#include "PlayCheck.h"

#include <algorithm>

#include "HandReview.h"

namespace spades {

namespace {
size_t At(int index) { return static_cast<size_t>(index); }
}  // namespace

TPlayCheck CheckPlayFromView(const TExpertView& view, int card, TExpertPlayer& expert, TDoubleDummy& solver,
                             int layouts, const TDDBound& bound)
{
    TPlayCheck check;
    check.Card = card;
    const TKnowledge known = KnowledgeOf(view);
    const TCardSet legal = LegalCards(view, known);
    if (!(legal & CardBit(card)) || CountCards(legal) < 2)
        return check;

    TDDPosition position;
    position.Leader = known.Leader;
    position.TrickCount = view.PlayCount - known.TrickStart;
    for (int i = 0; i < position.TrickCount; ++i)
        position.Trick[At(i)] = view.Plays[At(known.TrickStart + i)];
    // Spades broken before the trick in play was led.
    for (int i = 0; i < known.TrickStart; ++i)
        position.SpadesBroken = position.SpadesBroken || CardSuit(view.Plays[At(i)].Card) == Spades;

    const auto stopped = [&bound] { return bound.Stop && bound.Stop->load(); };
    // The Expert's choice first: it also readies the Expert to guess for this view.
    const int choice = expert.ChooseCard(view);
    if (stopped()) {
        check.GaveUp = true;
        return check;
    }
    const bool nil = view.HasBid(view.Seat) && view.Bid[At(view.Seat)] == 0;
    const TDDGoal goal = nil ? TDDGoal::Nil(view.Seat) : TDDGoal::Seat(view.Seat);
    // Each legal card's tricks summed over the layouts, in card order.
    std::vector<TDDCardValue> sums;
    TExpertRandom random(MixSeed({view.GameSeed, view.Held, static_cast<uint64_t>(view.PlayCount), 7}));
    int used = 0;
    const std::vector<TExpertPlayer::TSample> samples = expert.DrawSamples(view, known, random, layouts);
    try {
        const TDDBoundScope bounded(solver, bound);
        for (const TExpertPlayer::TSample& sample : samples) {
            position.Hands = sample.Held;
            if (!CheckPosition(position).empty())
                continue;
            ++used;
            const std::vector<TDDCardValue> values = solver.CardValues(position, goal);
            if (sums.empty())
                sums = values;
            else
                for (size_t i = 0; i < values.size() && i < sums.size(); ++i)
                    sums[i].Tricks += values[i].Tricks;
        }
    } catch (const EDDGaveUp&) {
        check.GaveUp = true;
        return check;
    }
    if (sums.empty())
        return check;
    const auto better = [nil](const TDDCardValue& a, const TDDCardValue& b) {
        return nil ? a.Tricks < b.Tricks : a.Tricks > b.Tricks;
    };
    const auto best = std::min_element(sums.begin(), sums.end(), better);
    const auto played = std::find_if(sums.begin(), sums.end(), [card](const TDDCardValue& v) { return v.Card == card; });
    const double count = static_cast<double>(used);
    check.BestCard = best->Card;
    check.ExpectedLoss = (nil ? played->Tricks - best->Tricks : best->Tricks - played->Tricks) / count;
    // Cards of the trick in play are no settled cards: one laid between the two
    // tells them apart (the Ace beats the King led, the Two does not).
    TCardSet settled = view.Held;
    for (int i = 0; i < known.TrickStart; ++i)
        settled |= CardBit(view.Plays[At(i)].Card);
    if (!PlaysAlike(choice, card, settled))
        check.ExpertCard = choice;
    return check;
}

}  // namespace spades
