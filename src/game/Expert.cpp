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

    std::vector<TSample> proposals;
    std::vector<double> logWeights;
    proposals.reserve(At(FSettings.Proposals));
    logWeights.reserve(At(FSettings.Proposals));
    for (int i = 0; i < FSettings.Proposals; ++i) {
        TSample sample;
        if (!DealUnseen(needs, random, sample.Held) && !DealUnseen(looseNeeds, random, sample.Held))
            break;
        sample.Held[At(view.Seat)] = view.Held;
        logWeights.push_back(Weigh(view, known, classicSeats, sample));
        proposals.push_back(sample);
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
    std::vector<double> sampleWeights;
    samples.reserve(At(count));
    sampleWeights.reserve(At(count));
    const double step = total / count;
    double mark = random.Unit() * step;
    double reached = 0;
    size_t i = 0;
    for (int k = 0; k < count; ++k, mark += step) {
        while (i + 1 < weights.size() && reached + weights[i] <= mark)
            reached += weights[i++];
        samples.push_back(proposals[i]);
        sampleWeights.push_back(logWeights[i]);
    }
    if (FSettings.SwapSteps > 0)
        for (size_t k = 0; k < samples.size(); ++k)
            Rejuvenate(view, known, needs, classicSeats, random, samples[k], sampleWeights[k], FSettings.SwapSteps);
    return samples;
}

double TExpertPlayer::Weigh(const TExpertView& view, const TKnowledge& known, uint8_t classicSeats, TSample& sample)
{
    double logWeight = 0;
    TLayout dealt{};
    for (int seat = North; seat <= West; ++seat)
        dealt[At(seat)] = sample.Held[At(seat)] | known.PlayedBy[At(seat)];
    if (!FOwnRules)
        logWeight = WeighBidsUnderRules(view, classicSeats, dealt, sample);
    for (int seat = North; seat <= West && FOwnRules; ++seat) {
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
    if (view.BidCount >= 4 && view.PlayCount > 0 && classicSeats) {
        const auto surprises = FTable.CountSurprises(view, dealt, sample.Bids, classicSeats);
        for (int seat = North; seat <= West; ++seat)
            logWeight += ClassicPlayMiss * surprises[At(seat)];
    }
    return logWeight;
}

double TExpertPlayer::WeighBidsUnderRules(const TExpertView& view, uint8_t classicSeats, const TLayout& dealt,
                                          TSample& sample)
{
    const bool partnership = view.Rules.Partnership();
    double logWeight = 0;
    for (int turn = 1; turn <= 4; ++turn) {
        const int seat = view.Order[At(turn)];
        if (seat == view.Seat) {
            sample.Bids[At(seat)] = view.HasBid(seat) ? view.Bid[At(seat)] : 1;
            continue;
        }
        // Bids go round once: a partner earlier in the order has bid (or is
        // guessed to have) before this seat.
        const int mate = PartnerOf(seat);
        bool mateFirst = false;
        for (int before = 1; before < turn; ++before)
            mateFirst = mateFirst || view.Order[At(before)] == mate;
        int classic = FTable.ClassicBid(view, seat, dealt[At(seat)], sample.Bids[At(mate)], partnership && mateFirst);
        if (classic == BlindNilBid)
            classic = 0;
        if (!view.HasBid(seat)) {
            sample.Bids[At(seat)] = classic;
            continue;
        }
        sample.Bids[At(seat)] = view.Bid[At(seat)];
        if (view.BlindNil[At(seat)])
            continue;  // bid before the cards were seen: it tells nothing of them
        const double miss = (classicSeats & (1u << seat)) ? ClassicBidMiss : OtherBidMiss;
        logWeight += miss * std::abs(classic - view.Bid[At(seat)]);
    }
    return logWeight;
}

namespace {
// A card of the set, each as likely as the others.
int AnyCardOf(TCardSet cards, TExpertRandom& random)
{
    for (uint32_t skip = random.Below(static_cast<uint32_t>(CountCards(cards))); skip > 0; --skip)
        cards &= cards - 1;
    return std::countr_zero(cards) + 1;
}
}  // namespace

void TExpertPlayer::Rejuvenate(const TExpertView& view, const TKnowledge& known, const TDealNeeds& needs,
                               uint8_t classicSeats, TExpertRandom& random, TSample& sample, double& logWeight,
                               int steps)
{
    std::array<int, 4> seats{};
    uint32_t holders = 0;
    for (int seat = North; seat <= West; ++seat)
        if (seat != view.Seat && sample.Held[At(seat)] != 0)
            seats[holders++] = seat;
    if (holders < 2)
        return;
    // Two seats swap one card each; the swap stands as often as the weights ask
    // (Metropolis), so duplicated layouts spread over their likely neighbours.
    for (int step = 0; step < steps; ++step) {
        const uint32_t first = random.Below(holders);
        uint32_t second = random.Below(holders - 1);
        second += second >= first;
        const int a = seats[first], b = seats[second];
        const int give = AnyCardOf(sample.Held[At(a)], random);
        const int take = AnyCardOf(sample.Held[At(b)], random);
        if ((needs.VoidSuits[At(b)] & (1u << CardSuit(static_cast<uint8_t>(give)))) ||
            (needs.VoidSuits[At(a)] & (1u << CardSuit(static_cast<uint8_t>(take)))))
            continue;
        TSample moved = sample;
        moved.Held[At(a)] = (moved.Held[At(a)] & ~CardBit(give)) | CardBit(take);
        moved.Held[At(b)] = (moved.Held[At(b)] & ~CardBit(take)) | CardBit(give);
        const double weight = Weigh(view, known, classicSeats, moved);
        if (weight >= logWeight || random.Unit() < std::exp(weight - logWeight)) {
            sample = moved;
            logWeight = weight;
        }
    }
}

double TExpertPlayer::Value(const TExpertView& view, const std::array<int, 5>& bids, const std::array<int, 5>& tricks,
                            bool ownBlind)
{
    if (FOwnRules)
        return GameValue(view, bids, tricks, view.Seat) +
               FSettings.PointsWeight * PointsLead(view, bids, tricks, view.Seat);
    return FScorer.Value(view, bids, tricks, FSettings.PointsWeight, ownBlind);
}

void TExpertPlayer::SetLawfulSeats(const TExpertView& view)
{
    FOwnRules = view.OwnRules();
    FTable.SetRules(view.Rules.Table);
    uint8_t lawful = 0;
    for (int seat = North; seat <= West; ++seat)
        if (seat == view.Seat || view.Kind[At(seat)] != TSeatKind::Computer)
            lawful |= static_cast<uint8_t>(1u << seat);
    FTable.SetLawfulSeats(lawful);
}

int TExpertPlayer::ChooseBid(const TExpertView& view)
{
    SetLawfulSeats(view);
    if (!FOwnRules) {
        TExpertRandom random(SeedOf(view, 1));
        return ChooseBidUnderRules(view, random);
    }
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
    const TCardSet legal = view.Rules.Table == TTableRules{} ? LegalCards(view, known) : FTable.Lawful(view, known);
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
