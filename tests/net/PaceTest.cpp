// The host's pauses: after every card but a computer's fourth, one pause; after a
// trick, two (the winner shown, then the table cleared); the length asked each time.
#include <gmock/gmock.h>

#include <QElapsedTimer>

#include "NetTestSupport.h"

using namespace spades;
using namespace spades::net;
using namespace spades::net::testing;

namespace {

struct TArrival {
    TMsgType Type;
    qint64 Ms;
};

TEST(Pace, TheHostPausesAfterCardsAndTricksForAsLongAsItsSourceSays)
{
    constexpr int Pause = 40;
    int asked = 0;
    TNetHostOptions options;
    options.Kinds = {THostSeatKind::Classic, THostSeatKind::Classic, THostSeatKind::Remote, THostSeatKind::Classic};
    options.PauseSource = [&] {
        ++asked;
        return Pause;
    };
    options.Seed = 21;
    THosted hosted(options);
    TJoined ann(Playing(hosted.Client("Ann")));
    QElapsedTimer clock;
    clock.start();
    std::vector<TArrival> arrivals;
    QObject::connect(ann.Client.get(), &TNetClient::Received,
                     [&](int type) { arrivals.push_back({static_cast<TMsgType>(type), clock.elapsed()}); });
    ASSERT_TRUE(WaitUntil(
        [&] {
            return std::count_if(arrivals.begin(), arrivals.end(),
                                 [](const TArrival& a) { return a.Type == TMsgType::TrickWon; }) >= 3;
        },
        GameMs));
    hosted.Host.reset();

    int cardGaps = 0, trickGaps = 0;
    const TArrival* last = nullptr;
    for (const TArrival& a : arrivals) {
        if (a.Type != TMsgType::CardPlayed && a.Type != TMsgType::TrickWon)
            continue;
        if (last && a.Type == TMsgType::CardPlayed) {
            // A coarse timer may fire up to a twentieth early; the rest is the clock's rounding.
            if (last->Type == TMsgType::CardPlayed) {
                EXPECT_GE(a.Ms - last->Ms, Pause * 9 / 10 - 2) << "between two cards of a trick";
                ++cardGaps;
            } else {
                EXPECT_GE(a.Ms - last->Ms, 2 * Pause * 9 / 10 - 2) << "from a taken trick to the next lead";
                ++trickGaps;
            }
        }
        last = &a;
    }
    EXPECT_GE(cardGaps, 6);
    EXPECT_GE(trickGaps, 2);
    EXPECT_GE(asked, cardGaps + trickGaps);
}

}  // namespace
