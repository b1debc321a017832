#include "Expert.h"

#include <algorithm>
#include <cmath>

#include "ExpertValue.h"

namespace spades {

namespace {
size_t At(int index) { return static_cast<size_t>(index); }

// How much less likely a layout becomes per unit a classic seat's bid is off,
// and per play of a classic seat that its rules would not have made. Not zero:
// a seat marked classic that plays otherwise must not leave no layout at all.
constexpr double ClassicBidMiss = -4.6;   // log 0.01
constexpr double ClassicPlayMiss = -3.9;  // log 0.02
// Anyone else bids like the classic rules only roughly.
constexpr double OtherBidMiss = -0.5;

uint64_t SeedOf(const TExpertView& view, uint64_t purpose)
{
    return MixSeed({view.GameSeed, static_cast<uint64_t>(view.Seat), view.Held, static_cast<uint64_t>(view.PlayCount),
                    static_cast<uint64_t>(view.BidCount), purpose});
}
}  // namespace

std::vector<int> DistinctCandidates(TCardSet legal, TCardSet separators)
{
    std::vector<int> candidates;
    for (int suit = Spades; suit <= Diamonds; ++suit) {
        bool runOpen = false;
        for (int r = 2; r <= 14; ++r) {
            const int card = CardValue(suit, r == 14 ? Ace : r);
            if (legal & CardBit(card)) {
                if (!runOpen)
                    candidates.push_back(card);
                runOpen = true;
            } else if (separators & CardBit(card)) {
                runOpen = false;
            }
        }
    }
    return candidates;
}

std::vector<TExpertPlayer::TSample> TExpertPlayer::DrawSamples(const TExpertView& view, const TKnowledge& known,
                                                               TExpertRandom& random, int count)
{
    const TDealNeeds needs = NeedsOf(view, known);
    // Should the marks contradict each other (a seat that broke the rules), the
    // counts alone still give layouts.
    TDealNeeds looseNeeds = needs;
    looseNeeds.VoidSuits.fill(0);
    uint8_t classicSeats = 0;
    for (int seat = North; seat <= West; ++seat)
        if (seat != view.Seat && view.Kind[At(seat)] == TSeatKind::Computer)
            classicSeats |= static_cast<uint8_t>(1u << seat);
    const bool allBid = view.BidCount >= 4;

    std::vector<TSample> proposals;
    std::vector<double> logWeights;
    proposals.reserve(At(FSettings.Proposals));
    logWeights.reserve(At(FSettings.Proposals));
    for (int i = 0; i < FSettings.Proposals; ++i) {
        TSample sample;
        if (!DealUnseen(needs, random, sample.Held) && !DealUnseen(looseNeeds, random, sample.Held))
            break;
        sample.Held[At(view.Seat)] = view.Held;
        double logWeight = 0;
        TLayout dealt{};
        for (int seat = North; seat <= West; ++seat) {
            dealt[At(seat)] = sample.Held[At(seat)] | known.PlayedBy[At(seat)];
            if (seat == view.Seat) {
                sample.Bids[At(seat)] = view.HasBid(seat) ? view.Bid[At(seat)] : 1;
                continue;
            }
            const int classic = FTable.ClassicBid(dealt[At(seat)]);
            if (view.HasBid(seat)) {
                sample.Bids[At(seat)] = view.Bid[At(seat)];
                const double miss = (classicSeats & (1u << seat)) ? ClassicBidMiss : OtherBidMiss;
                logWeight += miss * std::abs(classic - view.Bid[At(seat)]);
            } else {
                sample.Bids[At(seat)] = classic;
            }
        }
        if (allBid && view.PlayCount > 0 && classicSeats) {
            const auto surprises = FTable.CountSurprises(view, dealt, sample.Bids, classicSeats);
            for (int seat = North; seat <= West; ++seat)
                logWeight += ClassicPlayMiss * surprises[At(seat)];
        }
        proposals.push_back(sample);
        logWeights.push_back(logWeight);
    }
    if (proposals.empty())
        return {};

    // Systematic resampling: count layouts, each proposal as often as its weight asks.
    const double top = *std::max_element(logWeights.begin(), logWeights.end());
    std::vector<double> weights(logWeights.size());
    double total = 0;
    for (size_t i = 0; i < weights.size(); ++i)
        total += weights[i] = std::exp(logWeights[i] - top);
    std::vector<TSample> samples;
    samples.reserve(At(count));
    const double step = total / count;
    double mark = random.Unit() * step;
    double reached = 0;
    size_t i = 0;
    for (int k = 0; k < count; ++k, mark += step) {
        while (i + 1 < weights.size() && reached + weights[i] <= mark)
            reached += weights[i++];
        samples.push_back(proposals[i]);
    }
    return samples;
}

double TExpertPlayer::Value(const TExpertView& view, const std::array<int, 5>& bids,
                            const std::array<int, 5>& tricks) const
{
    return GameValue(view, bids, tricks, view.Seat) +
           FSettings.PointsWeight * PointsLead(view, bids, tricks, view.Seat);
}

void TExpertPlayer::SetLawfulSeats(const TExpertView& view)
{
    uint8_t lawful = 0;
    for (int seat = North; seat <= West; ++seat)
        if (seat == view.Seat || view.Kind[At(seat)] != TSeatKind::Computer)
            lawful |= static_cast<uint8_t>(1u << seat);
    FTable.SetLawfulSeats(lawful);
}

int TExpertPlayer::ChooseBid(const TExpertView& view)
{
    SetLawfulSeats(view);
    const TKnowledge known = KnowledgeOf(view);
    TExpertRandom random(SeedOf(view, 1));
    const std::vector<TSample> samples = DrawSamples(view, known, random, FSettings.BidSamples);
    if (samples.empty())
        return std::max(1, FTable.ClassicBid(view.Held));

    std::array<double, 14> value{};
    for (const TSample& sample : samples) {
        std::array<int, 5> bids = sample.Bids;
        bids[At(view.Seat)] = 1;
        const auto tricks = FTable.PlayHand(sample.Held, bids, view.Order[1]);
        for (int bid = 1; bid <= 13; ++bid) {
            bids[At(view.Seat)] = bid;
            value[At(bid)] += Value(view, bids, tricks);
        }
        bids[At(view.Seat)] = 0;
        const auto nilTricks = FTable.PlayHand(sample.Held, bids, view.Order[1]);
        value[0] += Value(view, bids, nilTricks);
    }
    return static_cast<int>(std::max_element(value.begin(), value.end()) - value.begin());
}

int TExpertPlayer::ChooseCard(const TExpertView& view)
{
    SetLawfulSeats(view);
    const TKnowledge known = KnowledgeOf(view);
    const TCardSet legal = LegalCards(view, known);
    if (legal == 0)
        return 0;
    TCardSet onTable = 0;
    for (int i = known.TrickStart; i < view.PlayCount; ++i)
        onTable |= CardBit(view.Plays[At(i)].Card);
    const std::vector<int> candidates = DistinctCandidates(legal, known.Unseen | onTable);
    if (candidates.size() == 1)
        return candidates.front();

    TExpertRandom random(SeedOf(view, 2));
    std::vector<double> sum(candidates.size(), 0.0);
    std::vector<int> tried(candidates.size(), 0);
    const auto evaluate = [&](const std::vector<TSample>& samples, const std::vector<bool>& open) {
        for (const TSample& sample : samples)
            for (size_t c = 0; c < candidates.size(); ++c) {
                if (!open[c])
                    continue;
                const auto tricks = FTable.PlayOut(view, known, sample.Held, sample.Bids, candidates[c]);
                sum[c] += Value(view, sample.Bids, tricks);
                ++tried[c];
            }
    };
    const auto mean = [&](size_t c) { return tried[c] ? sum[c] / tried[c] : -1.0; };

    std::vector<bool> open(candidates.size(), true);
    const std::vector<TSample> first = DrawSamples(view, known, random, FSettings.PlaySamples);
    if (first.empty())
        return candidates.front();
    evaluate(first, open);

    // Where the leaders are close, more layouts for them alone.
    size_t best = 0;
    for (size_t c = 1; c < candidates.size(); ++c)
        if (mean(c) > mean(best))
            best = c;
    int close = 0;
    for (size_t c = 0; c < candidates.size(); ++c) {
        open[c] = mean(best) - mean(c) < FSettings.CloseMargin;
        close += open[c];
    }
    if (close > 1 && FSettings.CloseSamples > 0) {
        evaluate(DrawSamples(view, known, random, FSettings.CloseSamples), open);
        for (size_t c = 0; c < candidates.size(); ++c)
            if (open[c] && (!open[best] || mean(c) > mean(best)))
                best = c;
    }
    return candidates[best];
}

}  // namespace spades
