// Whether a person's card is likely to cost a trick, judged only from what that
// person could see: the layouts of the unseen cards the Expert finds likely are
// each played out with every card open, and the card is set against the best
// card over all of them.
#pragma once

#include "DoubleDummy.h"
#include "Expert.h"
#include "ExpertView.h"

namespace spades {

struct TPlayCheck {
    int Card = 0;
    // Tricks lost on average over the layouts against the best card; for a Nil
    // bidder, tricks more taken.
    double ExpectedLoss = 0;
    int BestCard = 0;    // the best card over the layouts
    int ExpertCard = 0;  // what the Expert plays there
    bool GaveUp = false;  // the solver reached its bound: no judgement
    // Costly when it loses half a trick or more and the Expert plays otherwise.
    bool Costly() const { return ExpertCard != 0 && ExpectedLoss >= 0.5; }
};

// view: the person's seat just before card, one of its legal cards. The bound
// covers the whole check; past it the check gives up.
TPlayCheck CheckPlayFromView(const TExpertView& view, int card, TExpertPlayer& expert, TDoubleDummy& solver,
                             int layouts = 24, const TDDBound& bound = {});

}  // namespace spades
