#include "Brains.h"

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
    return ClassicBrain();
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
