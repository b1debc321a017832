#include "Brains.h"

#include <memory>

#include "Expert.h"
#include "ExpertView.h"
#include "SpadesGame.h"

namespace spades::net {

TSeatBrain ClassicBrain()
{
    return {[](TPlayer& seat) {
                seat.ComputeBid();
                return seat.FBid;
            },
            [](TPlayer& seat) { return seat.ChooseCard(); }};
}

TSeatBrain ExpertBrain()
{
    TSeatBrain brain = ClassicBrain();
    auto expert = std::make_shared<TExpertPlayer>();
    brain.GameBid = [expert](const TSpadesGame& game, int seat) { return expert->ChooseBid(ViewOf(game, seat)); };
    brain.GameCard = [expert](const TSpadesGame& game, int seat) { return expert->ChooseCard(ViewOf(game, seat)); };
    return brain;
}

TSeatBrain BrainNamed(std::string_view name)
{
    if (name == "classic")
        return ClassicBrain();
    if (name == "expert")
        return ExpertBrain();
    return {};
}

}  // namespace spades::net
