// The Expert: bids and plays by guessing the unseen cards many times over and
// playing each guess out with the classic choices, weighing each guess by how
// well it explains the bids and plays it has seen, and scoring the ends of the
// hand in game terms. Deterministic: the same view always gives the same answer.
#pragma once

#include <array>
#include <vector>

#include "ExpertPlayout.h"
#include "ExpertSampler.h"
#include "ExpertValue.h"
#include "ExpertView.h"

namespace spades {

struct TExpertSettings {
    int Proposals = 2400;     // guessed layouts weighed per decision
    int BidSamples = 800;     // layouts played out per bid
    int PlaySamples = 320;    // layouts per candidate card
    int CloseSamples = 640;   // more layouts for the candidates still close
    double CloseMargin = 0.03;  // in chances to win the game
    // Beside the chance to win, the hand's margin over the table (in hundreds of
    // points): a win by a wide margin is worth more than a narrow one, and the
    // chance alone grows reckless or timid near the end of a game.
    double PointsWeight = 0.3;
    // Swaps of two cards between two seats tried on each drawn layout, each kept as
    // often as the weights ask: the bids and plays seen leave few proposals with any
    // weight, and the swaps spread the many copies of those few over their neighbours.
    int SwapSteps = 4;
};

class TExpertPlayer {
public:
    explicit TExpertPlayer(TExpertSettings settings = {}) : FSettings(settings) {}
    void SetSettings(const TExpertSettings& settings) { FSettings = settings; }

    // Nil (0) or 1..13, or BlindNilBid where the rules let it.
    int ChooseBid(const TExpertView& view);
    // A card value the seat holds and may lay.
    int ChooseCard(const TExpertView& view);

    // One guessed layout: every seat's cards in hand now, and every seat's bid
    // (seats still to bid as a classic seat would).
    struct TSample {
        TLayout Held{};
        std::array<int, 5> Bids{};
    };
    // count layouts drawn from the proposals in proportion to their weight.
    std::vector<TSample> DrawSamples(const TExpertView& view, const TKnowledge& known, TExpertRandom& random,
                                     int count);

private:
    // Sets the bids of the seats still to bid; returns how well the layout explains
    // the bids and plays seen, as a logarithm.
    double Weigh(const TExpertView& view, const TKnowledge& known, uint8_t classicSeats, TSample& sample);
    // The bids' part of the weight under other rules: each seat's classic bid
    // beside its partner's, in the order of bidding.
    double WeighBidsUnderRules(const TExpertView& view, uint8_t classicSeats, const TLayout& dealt,
                               TSample& sample);
    int ChooseBidUnderRules(const TExpertView& view, TExpertRandom& random);
    // Blind Nil against bidding by sight, both judged over deals the seat has
    // not seen, as it must decide before it looks.
    bool BlindNilPays(const TExpertView& view, TExpertRandom& random, int layouts);
    void Rejuvenate(const TExpertView& view, const TKnowledge& known, const TDealNeeds& needs, uint8_t classicSeats,
                    TExpertRandom& random, TSample& sample, double& logWeight, int steps);
    double Value(const TExpertView& view, const std::array<int, 5>& bids, const std::array<int, 5>& tricks,
                 bool ownBlind = false);
    void SetLawfulSeats(const TExpertView& view);

    TExpertSettings FSettings;
    TPlayoutTable FTable;
    THandScorer FScorer;
    bool FOwnRules = true;  // the view's rules are the table's own
};

// Legal cards that are worth trying: of cards that no unseen card separates,
// only the lowest.
std::vector<int> DistinctCandidates(TCardSet legal, TCardSet unseen);

}  // namespace spades
