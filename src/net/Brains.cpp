#include "Brains.h"

#include <memory>

#include "ClassicRules.h"
#include "Expert.h"
#include "ExpertView.h"

namespace spades::net {

TSeatBrain ClassicBrain()
{
    TSeatBrain brain;
    brain.Bid = [](TPlayer& seat) {
        seat.ComputeBid();
        return seat.FBid;
    };
    // At the table's own rules exactly ChooseCard; at others the partner's card and Nil count.
    brain.ChooseSlot = [](TPlayer& seat) { return ClassicSlot(seat); };
    return brain;
}

TSeatBrain ExpertBrain(const TExpertSettings& settings)
{
    TSeatBrain brain = ClassicBrain();
    auto expert = std::make_shared<TExpertPlayer>(settings);
    brain.ViewBid = [expert](const TExpertView& view) { return expert->ChooseBid(view); };
    brain.ViewCard = [expert](const TExpertView& view) { return expert->ChooseCard(view); };
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
