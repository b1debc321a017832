// A joined table's Expert reads the hand from what the host sends it, as the
// host's own Expert reads it from the game.
#include <gmock/gmock.h>

#include <map>

#include "ExpertView.h"
#include "HostGame.h"
#include "SeatRoster.h"
#include "TableMirror.h"

using namespace spades;
using namespace spades::net;

namespace {

// Few layouts: what the Expert is shown is under test here, not its strength.
constexpr TExpertSettings QuickExpert{24, 8, 4, 4, 0.03};
constexpr auto R = TSeatKind::Remote;
constexpr auto K = TSeatKind::Computer;
constexpr auto X = TSeatKind::Expert;

// One seat played from afar; its copy of the table gets what the sockets would give it.
class TSeatWire : public THostWire {
public:
    TSeatWire(int seat, const std::array<TSeatKind, 4>& kinds, int winScore) : Seat(seat)
    {
        Take(TWelcome{static_cast<uint8_t>(seat), static_cast<uint16_t>(winScore)});
        Take(SeatKindsOf(kinds));
    }
    void SendTo(int seat, const TMessage& m) override
    {
        if (seat == Seat)
            Take(m);
    }
    void Broadcast(const TMessage& m) override { Take(m); }
    bool Connected(int seat) const override { return seat == Seat; }
    void Take(const TMessage& m)
    {
        std::string why;
        if (!Mirror.Apply(m, why))
            Contradictions.push_back(why);
    }

    int Seat;
    TTableMirror Mirror;
    std::vector<std::string> Contradictions;
};

THostGameOptions Options(uint32_t seed, const std::array<TSeatKind, 4>& kinds, int winScore)
{
    THostGameOptions o;
    o.Seed = seed;
    o.Rules.WinScore = winScore;
    o.Kinds = kinds;
    o.Expert = QuickExpert;
    return o;
}

// Everything but the root of the random stream, which a joined table cannot know.
void ExpectSamePublicView(const TExpertView& host, const TExpertView& mine, const std::string& where)
{
    SCOPED_TRACE(where);
    EXPECT_EQ(mine.Seat, host.Seat);
    // The wire tells a person from a computer, not whether the person sits at the host.
    const auto asSent = [](auto kinds) {
        for (auto& kind : kinds)
            if (IsPerson(kind))
                kind = TSeatKind::Human;
        return kinds;
    };
    EXPECT_EQ(asSent(mine.Kind), asSent(host.Kind));
    EXPECT_EQ(mine.Held, host.Held);
    EXPECT_EQ(mine.Order, host.Order);
    EXPECT_EQ(mine.BidCount, host.BidCount);
    EXPECT_EQ(mine.Bid, host.Bid);
    EXPECT_EQ(mine.Tricks, host.Tricks);
    EXPECT_EQ(mine.Score, host.Score);
    EXPECT_EQ(mine.TotalBags, host.TotalBags);
    EXPECT_EQ(mine.WinScore, host.WinScore);
    ASSERT_EQ(mine.PlayCount, host.PlayCount);
    for (int i = 0; i < host.PlayCount; ++i) {
        EXPECT_EQ(mine.Plays[static_cast<size_t>(i)].Seat, host.Plays[static_cast<size_t>(i)].Seat) << "play " << i;
        EXPECT_EQ(mine.Plays[static_cast<size_t>(i)].Card, host.Plays[static_cast<size_t>(i)].Card) << "play " << i;
    }
    const TKnowledge a = KnowledgeOf(host), b = KnowledgeOf(mine);
    EXPECT_EQ(b.VoidSuits, a.VoidSuits);
    EXPECT_EQ(b.PlayedBy, a.PlayedBy);
    EXPECT_EQ(b.Unseen, a.Unseen);
    EXPECT_EQ(b.ToPlay, a.ToPlay);
    EXPECT_EQ(b.SpadesBroken, a.SpadesBroken);
}

struct TViewCase {
    const char* Name;
    int Seat;
    std::array<TSeatKind, 4> Kinds;
    uint32_t Seed;
};

class MirrorView : public ::testing::TestWithParam<TViewCase> {};

// At every turn of the joined seat, over whole hands: the view built from the
// messages is the host's view of that seat, and a table joining at that moment
// (Sync, then the history) builds the same one.
TEST_P(MirrorView, IsTheHostsViewAtEveryTurn)
{
    const TViewCase& c = GetParam();
    constexpr int WinScore = 120;
    TSeatWire wire(c.Seat, c.Kinds, WinScore);
    THostGame game(wire, Options(c.Seed, c.Kinds, WinScore));
    const TSeatBrain brain = ExpertBrain(QuickExpert);
    game.NewGame(1);
    std::map<int, int> checkpoints;  // per hand
    for (int guard = 0; guard < 10000; ++guard) {
        const TStep step = game.Step();
        if (step == TStep::GameEnded)
            break;
        if (step != TStep::WaitRemote)
            continue;
        const TExpertView host = ViewOf(game.Game(), c.Seat);
        const std::string where = "hand " + std::to_string(game.HandNumber()) + " play " + std::to_string(host.PlayCount);
        const auto mine = wire.Mirror.ExpertView();
        ASSERT_TRUE(mine.has_value()) << where;
        ExpectSamePublicView(host, *mine, where);
        EXPECT_NE(mine->GameSeed, 0u);

        TTableMirror rejoined;
        std::string why;
        ASSERT_TRUE(rejoined.Apply(TWelcome{static_cast<uint8_t>(c.Seat), WinScore}, why));
        ASSERT_TRUE(rejoined.Apply(SeatKindsOf(c.Kinds), why));
        ASSERT_TRUE(rejoined.Apply(game.SyncFor(c.Seat), why)) << why;
        EXPECT_FALSE(rejoined.ExpertView().has_value()) << "no order of plays yet";
        ASSERT_TRUE(rejoined.Apply(game.History(), why)) << why << " at " << where;
        const auto again = rejoined.ExpertView();
        ASSERT_TRUE(again.has_value()) << where;
        ExpectSamePublicView(host, *again, where + " after rejoining");
        EXPECT_EQ(again->GameSeed, mine->GameSeed) << "the stream depends on what the seat knows, not when it came";

        ++checkpoints[game.HandNumber()];
        const auto answer = wire.Mirror.Decide(brain);
        ASSERT_TRUE(answer.has_value());
        std::optional<TErrorMsg> error;
        if (const auto* bid = std::get_if<TBidMsg>(&*answer))
            error = game.Bid(bid->Seat, bid->Turn, bid->Bid);
        else if (const auto* play = std::get_if<TPlayMsg>(&*answer))
            error = game.Play(play->Seat, play->Turn, play->Card);
        ASSERT_FALSE(error.has_value()) << error->Text << " at " << where;
        if (HasFatalFailure())
            return;
    }
    EXPECT_NE(game.WinnerSeat(), 0) << "the game ended";
    ASSERT_GE(checkpoints.size(), 2u);
    for (const auto& [hand, count] : checkpoints)
        EXPECT_EQ(count, 14) << "a bid and thirteen cards in hand " << hand;
    EXPECT_THAT(wire.Contradictions, ::testing::IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Hands, MirrorView,
                         ::testing::Values(TViewCase{"NorthAmongClassics", North, {R, K, K, K}, 3},
                                           TViewCase{"EastBesideAnExpert", East, {K, R, X, K}, 8},
                                           TViewCase{"WestBesideTwoExperts", West, {X, K, X, R}, 19}),
                         [](const auto& info) { return std::string(info.param.Name); });

// Messages from a host that does not hang together: the table refuses them or
// its Expert stands down for the classic way; it never takes them as a hand.
struct TCrafted {
    const char* Name;
    std::vector<TMessage> Messages;  // after the welcome
    bool Refused;                    // Apply says no to one of them
    const char* Why = "";            // in the reason given
};

std::vector<TMessage> Bids()
{
    return {TBidMadeMsg{South, 3}, TBidMadeMsg{West, 3}, TBidMadeMsg{North, 3}, TBidMadeMsg{East, 3}};
}
std::vector<TMessage> With(std::vector<TMessage> head, const std::vector<TMessage>& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}
TSyncMsg MidTrick()
{
    TSyncMsg m;
    m.HandNumber = 1;
    m.Phase = TPhase::Playing;
    m.Slots = {1, 2, 3, 14, 15, 16, 27, 28, 29, 40, 41, 42, 0};
    m.Bids = {3, 3, 3, 3};
    m.PlaceSeats = {South, West, 0, 0};
    m.PlaceCards = {43, 44, 0, 0};
    m.CardsPlayed[43] = m.CardsPlayed[44] = true;
    return m;
}
const TTurnMsg NorthTurnCard{9, TTurnKind::Card, North, 0};

class CraftedHistory : public ::testing::TestWithParam<TCrafted> {};

TEST_P(CraftedHistory, IsRefusedOrLeftToTheClassicWay)
{
    TTableMirror mirror;
    std::string why;
    ASSERT_TRUE(mirror.Apply(TWelcome{North, 250}, why));
    bool refused = false;
    for (const TMessage& m : GetParam().Messages)
        refused = !mirror.Apply(m, why) || refused;
    EXPECT_EQ(refused, GetParam().Refused) << why;
    if (refused) {
        EXPECT_THAT(why, ::testing::HasSubstr(GetParam().Why));
        return;
    }
    EXPECT_FALSE(mirror.ExpertView().has_value());
    const auto answer = mirror.Decide(ExpertBrain(QuickExpert));
    ASSERT_TRUE(answer.has_value());
    const auto* play = std::get_if<TPlayMsg>(&*answer);
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(CheckPlay(mirror.Table(), mirror.Player(North), play->Card), TPlayVerdict::Legal);
}

THandMsg NorthHand() { return THandMsg{1, South, {4, 5, 6, 17, 18, 19, 30, 31, 32, 45, 46, 47, 48}}; }

INSTANTIATE_TEST_SUITE_P(
    Host, CraftedHistory,
    ::testing::Values(
        TCrafted{"OutOfTurn",
                 With(With({NorthHand()}, Bids()),
                      {TCardPlayedMsg{East, 43, 1}, TCardPlayedMsg{West, 44, 2}, NorthTurnCard}),
                 false},
        TCrafted{"TricksToTheWrongSeat",
                 With(With({NorthHand()}, Bids()),
                      {TCardPlayedMsg{South, 43, 1}, TCardPlayedMsg{West, 44, 2}, TCardPlayedMsg{North, 45, 3},
                       TCardPlayedMsg{East, 49, 4}, TTrickWonMsg{North, {1, 0, 0, 0}}, TTurnMsg{9, TTurnKind::Card, North, 0}}),
                 false},
        TCrafted{"TurnTheHistoryGivesAnother",
                 With(With({NorthHand()}, Bids()), {TCardPlayedMsg{South, 43, 1}, NorthTurnCard}), false},
        TCrafted{"OwnCardLaidByAnother",
                 {[] {
                      TSyncMsg m = MidTrick();
                      m.Slots = {4, 5, 6, 17, 18, 19, 30, 31, 32, 45, 46, 47, 43};
                      return m;
                  }(),
                  THistoryMsg{South, {{South, 43}, {West, 44}}}, NorthTurnCard},
                 false},
        TCrafted{"HistoryOfOtherCards",
                 {MidTrick(), THistoryMsg{South, {{South, 43}, {West, 45}}}}, true},
        TCrafted{"HistoryInAnotherOrder",
                 {MidTrick(), THistoryMsg{South, {{West, 44}, {South, 43}}}}, true},
        TCrafted{"HistoryOfMoreCards",
                 {MidTrick(), THistoryMsg{South, {{South, 43}, {West, 44}, {North, 45}}}}, true},
        TCrafted{"ASecondWelcome", {NorthHand(), TWelcome{East, 250}}, true, "a second welcome"},
        TCrafted{"AnotherSeatLaysACardHeldHere",
                 With(With({NorthHand()}, Bids()), {TCardPlayedMsg{South, 4, 1}}), true, "laid a card this table holds"},
        TCrafted{"MoreTricksThanPlayed",
                 With(With({NorthHand()}, Bids()),
                      {TCardPlayedMsg{South, 43, 1}, TCardPlayedMsg{West, 44, 2}, TCardPlayedMsg{North, 45, 3},
                       TCardPlayedMsg{East, 49, 4}, TTrickWonMsg{East, {0, 13, 0, 0}}}),
                 true, "13 tricks of 1 played"},
        TCrafted{"ATrickToEverySeat",
                 With(With({NorthHand()}, Bids()),
                      {TCardPlayedMsg{South, 43, 1}, TCardPlayedMsg{West, 44, 2}, TCardPlayedMsg{North, 45, 3},
                       TCardPlayedMsg{East, 49, 4}, TTrickWonMsg{East, {1, 1, 1, 1}}}),
                 true, "4 tricks are given of 1 played"},
        TCrafted{"SyncWithMoreTricksThanPlayed",
                 {[] {
                     TSyncMsg m = MidTrick();
                     m.Tricks = {13, 13, 13, 13};
                     return m;
                 }()},
                 true, "tricks of 0 played"},
        TCrafted{"ScoresWithMoreTricksThanAHand",
                 {THandScoredMsg{{TSeatScore{10, 3, 13}, TSeatScore{10, 3, 13}, TSeatScore{}, TSeatScore{}}, 0}}, true,
                 "26 tricks are given of 13"}),
    [](const auto& info) { return std::string(info.param.Name); });

// The control for the cases above: the same kind of messages, hanging together.
TEST(CraftedHistory, ThatHangsTogetherGivesTheExpertItsView)
{
    TTableMirror mirror;
    std::string why;
    for (const TMessage& m : With(With({TWelcome{North, 250}, NorthHand()}, Bids()),
                                  {TCardPlayedMsg{South, 43, 1}, TCardPlayedMsg{West, 44, 2}, NorthTurnCard}))
        ASSERT_TRUE(mirror.Apply(m, why)) << why;
    const auto view = mirror.ExpertView();
    ASSERT_TRUE(view.has_value());
    EXPECT_EQ(view->PlayCount, 2);
    EXPECT_EQ(view->Kind[South], TSeatKind::Human) << "a seat the host has not described may be a person";
    EXPECT_EQ(KnowledgeOf(*view).ToPlay, North);
    ASSERT_TRUE(mirror.Apply(SeatKindsOf({R, X, K, K}), why));
    EXPECT_EQ(mirror.ExpertView()->Kind[East], TSeatKind::Expert);
    EXPECT_EQ(mirror.ExpertView()->Kind[South], TSeatKind::Computer);
}

}  // namespace
