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
    // Timed where the host asks, so that a message read late on a busy machine
    // does not shorten the gap the next one is measured by.
    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> asks;
    TNetHostOptions options;
    options.Kinds = {TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Remote, TSeatKind::Computer};
    options.PauseSource = [&] {
        asks.push_back(clock.elapsed());
        return Pause;
    };
    options.Seed = 21;
    THosted hosted(options);
    TJoined ann(Playing(hosted.Client("Ann")));
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
        if (last && a.Type == TMsgType::CardPlayed)
            ++(last->Type == TMsgType::CardPlayed ? cardGaps : trickGaps);
        last = &a;
    }
    EXPECT_GE(cardGaps, 6);
    EXPECT_GE(trickGaps, 2);
    ASSERT_GE(asks.size(), static_cast<size_t>(cardGaps + trickGaps));
    // Each pause runs out before the next is asked for. A coarse timer may fire up to a
    // twentieth early; the rest is the clock's rounding.
    int doubled = 0;
    for (size_t i = 1; i < asks.size(); ++i) {
        EXPECT_GE(asks[i] - asks[i - 1], Pause * 9 / 10 - 2) << "pause " << i;
        doubled += asks[i] - asks[i - 1] >= 2 * Pause * 9 / 10 - 2;
    }
    EXPECT_GE(doubled, trickGaps) << "a taken trick is shown twice as long";
}

}  // namespace
