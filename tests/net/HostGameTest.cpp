#include <gmock/gmock.h>

#include <cctype>
#include <set>
#include <sstream>

#include "ExpertView.h"
#include "HostGame.h"
#include "RuleText.h"
#include "Simulator.h"
#include "TableMirror.h"

using namespace spades;
using namespace spades::net;

namespace {

// Delivers the game's messages straight to four table copies, as the sockets would.
class TWire : public THostWire {
public:
    explicit TWire(std::set<int> remote, const std::string& houseRules = {}) : Remote(std::move(remote))
    {
        for (int seat = 1; seat <= 4; ++seat) {
            std::string why;
            Mirrors[static_cast<size_t>(seat)] = std::make_unique<TTableMirror>();
            Mirror(seat).Apply(TWelcome{static_cast<uint8_t>(seat), 250}, why);
            EXPECT_TRUE(Mirror(seat).Apply(TRulesMsg{houseRules}, why)) << why;
        }
    }
    void SendTo(int seat, const TMessage& m) override
    {
        Private[static_cast<size_t>(seat)].push_back(m);
        Deliver(seat, m);
    }
    void Broadcast(const TMessage& m) override
    {
        Public.push_back(m);
        for (int seat = 1; seat <= 4; ++seat)
            Deliver(seat, m);
    }
    bool Connected(int seat) const override { return Remote.count(seat) > 0; }
    void Report(const std::string& line) override { Reports.push_back(line); }

    TTableMirror& Mirror(int seat) { return *Mirrors[static_cast<size_t>(seat)]; }

    std::set<int> Remote;
    std::array<std::unique_ptr<TTableMirror>, 5> Mirrors;
    std::array<std::vector<TMessage>, 5> Private;
    std::vector<TMessage> Public;
    std::vector<std::string> Reports;
    std::vector<std::string> Contradictions;

private:
    void Deliver(int seat, const TMessage& m)
    {
        std::string why;
        if (!Mirror(seat).Apply(m, why))
            Contradictions.push_back(why);
    }
};

TRuleSet RulesOf(const std::string& houseRules)
{
    TRuleSet rules;
    EXPECT_EQ(ParseRules(rules, houseRules), "");
    return rules;
}

THostGameOptions Options(uint32_t seed, const std::set<int>& remote, const std::string& houseRules = {})
{
    THostGameOptions o;
    o.Seed = seed;
    o.Rules = RulesOf(houseRules);
    for (int seat : remote)
        o.Kinds[static_cast<size_t>(seat - 1)] = TSeatKind::Remote;
    return o;
}

// Answers every remote turn from the seat's own copy of the table.
int PlayOut(THostGame& game, TWire& wire)
{
    int answers = 0;
    for (int guard = 0; guard < 100000; ++guard) {
        const TStep step = game.Step();
        if (step == TStep::GameEnded)
            return answers;
        if (step != TStep::WaitRemote)
            continue;
        const int seat = game.Waiting()->Seat;
        const auto answer = wire.Mirror(seat).Decide(ClassicBrain());
        EXPECT_TRUE(answer.has_value());
        if (!answer)
            return answers;
        std::optional<TErrorMsg> error;
        if (const auto* bid = std::get_if<TBidMsg>(&*answer))
            error = game.Bid(bid->Seat, bid->Turn, bid->Bid);
        else if (const auto* play = std::get_if<TPlayMsg>(&*answer))
            error = game.Play(play->Seat, play->Turn, play->Card);
        EXPECT_FALSE(error.has_value()) << error->Text;
        ++answers;
    }
    ADD_FAILURE() << "the game did not end";
    return answers;
}

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::vector<std::string> AccountOf(const std::string& simOut)
{
    std::vector<std::string> lines;
    std::istringstream in(simOut);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("hand ", 0) == 0 || line.rfind("game ", 0) == 0)
            lines.push_back(line);
    return lines;
}

// The Expert reads a remote seat as a person's, so it sits only among computers here.
struct TSeatsCase {
    std::set<int> Remote;
    int Expert = 0;  // a seat the Expert plays, or none
    std::string Rules = {};  // the house rules the host plays and sends
};

class RemoteSeats : public ::testing::TestWithParam<TSeatsCase> {};

// Remote seats that play the classic way from their copies of the table play
// exactly the game the computer plays: the copies hold all the strategy reads.
// The host's log and running account are the simulator's, line for line.
// Under house rules a joined seat bids its own way within them (it does not
// see the partner's bid as the host's computer does): the game is played to its
// end by the rules, and every copy names the side that won as the host does.
TEST_P(RemoteSeats, PlayTheSameGameAsTheComputerFromWhatTheyAreSent)
{
    const TSeatsCase& c = GetParam();
    for (uint32_t seed : {1u, 77u, 4242u}) {
        std::ostringstream hostLog;
        TWire wire(c.Remote, c.Rules);
        THostGameOptions options = Options(seed, c.Remote, c.Rules);
        std::array<TSeatKind, 5> simSeats{TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Computer,
                                          TSeatKind::Computer, TSeatKind::Computer};
        if (c.Expert != 0) {
            options.Kinds[static_cast<size_t>(c.Expert - 1)] = TSeatKind::Expert;
            simSeats[static_cast<size_t>(c.Expert)] = TSeatKind::Expert;
        }
        THostGame game(wire, options, &hostLog);
        game.NewGame(1);
        const int answers = PlayOut(game, wire);
        EXPECT_EQ(answers > 0, !c.Remote.empty());
        EXPECT_THAT(wire.Contradictions, ::testing::IsEmpty());
        ASSERT_NE(game.WinnerSeat(), 0);
        const TRuleSet rules = RulesOf(c.Rules);
        const std::string winner = rules.Partnership() ? SideName(SideOf(game.WinnerSeat()))
                                                       : game.Game().Table.Player(game.WinnerSeat()).FName;
        for (int seat = 1; seat <= 4; ++seat) {
            EXPECT_EQ(wire.Mirror(seat).Rules(), rules);
            EXPECT_EQ(wire.Mirror(seat).WinnerName(), winner) << "seat " << seat;
        }
        ASSERT_FALSE(wire.Reports.empty());
        EXPECT_EQ(wire.Reports.back().rfind("game 1 winner " + winner + " after ", 0), 0u) << wire.Reports.back();
        if (!c.Rules.empty())
            continue;

        std::ostringstream simOut, simLog;
        TSimulator sim(seed, 250, simOut, &simLog);
        sim.SetSeats(simSeats);
        sim.PlayGame(1);
        EXPECT_EQ(Replace(hostLog.str(), " - Remote", " - Computer"), simLog.str()) << "seed " << seed;
        EXPECT_EQ(hostLog.str().find(" - Remote") != std::string::npos, !c.Remote.empty());
        if (c.Expert != 0) {
            EXPECT_NE(hostLog.str().find(options.Names[static_cast<size_t>(c.Expert - 1)] + " - Expert"),
                      std::string::npos);
        }
        EXPECT_EQ(wire.Reports, AccountOf(simOut.str())) << "seed " << seed;
    }
}

INSTANTIATE_TEST_SUITE_P(Game, RemoteSeats,
                         ::testing::Values(TSeatsCase{{1}}, TSeatsCase{{3}}, TSeatsCase{{1, 3, 4}},
                                           TSeatsCase{{1, 2, 3, 4}}, TSeatsCase{{}, East},
                                           TSeatsCase{{1, 3}, 0, "variant=partnership"},
                                           TSeatsCase{{3}, 0, "variant=partnership blindnil=behind bags=ten"},
                                           TSeatsCase{{2, 3}, 0, "variant=partnership bidding=suicide losescore=-200"},
                                           TSeatsCase{{1, 2, 3, 4}, 0, "bidding=mirror firsttrick=clean"}),
                         [](const auto& info) {
                             std::string name = info.param.Expert != 0 ? "Expert" + std::to_string(info.param.Expert) : "";
                             for (int seat : info.param.Remote)
                                 name += "Remote" + std::to_string(seat);
                             for (char c : info.param.Rules)
                                 if (std::isalnum(static_cast<unsigned char>(c)))
                                     name += c;
                             return name;
                         });

// Only seat's own cards ever go to seat: nothing private is broadcast, and a
// card of another seat appears only once it lies on the table.
TEST(HostGame, SendsEachSeatOnlyItsOwnHand)
{
    TWire wire({1, 2, 3, 4});
    THostGame game(wire, Options(99, {1, 2, 3, 4}));
    game.NewGame(1);
    PlayOut(game, wire);
    for (const auto& m : wire.Public) {
        EXPECT_FALSE(std::holds_alternative<THandMsg>(m));
        EXPECT_FALSE(std::holds_alternative<TSyncMsg>(m));
    }
    for (int seat = 1; seat <= 4; ++seat) {
        int hands = 0;
        for (const auto& m : wire.Private[static_cast<size_t>(seat)]) {
            ASSERT_TRUE(std::holds_alternative<THandMsg>(m));
            ++hands;
        }
        EXPECT_EQ(hands, game.HandNumber());
    }
}

// A remote South's bid under the table's rules, asked when South's side first
// trails by BlindNilBehind (Behind) or at the first bid: the host takes exactly
// the bids the rules open to the seat.
struct TRuledBid {
    const char* Name;
    const char* Rules;
    bool Behind;
    std::function<int(const TPlayer& south)> Bid;
    bool Taken;
};

class BidUnderTheRules : public ::testing::TestWithParam<TRuledBid> {};

// Plays the game on, South answering from its copy, up to a bid of South's
// when its side trails by BlindNilBehind or not, as asked; false when the game ends first.
bool PlayUpToSouthsBid(THostGame& game, TWire& wire, bool behind)
{
    for (int guard = 0; guard < 100000; ++guard) {
        const TStep step = game.Step();
        if (step == TStep::GameEnded)
            return false;
        if (step != TStep::WaitRemote)
            continue;
        const TTableState& table = game.Game().Table;
        const bool trails = PointsBehind(table, South, game.Rules().Partnership()) >= BlindNilBehind;
        if (game.Waiting()->Kind == TTurnKind::Bid && trails == behind)
            return true;
        const auto answer = wire.Mirror(South).Decide(ClassicBrain());
        if (!answer)
            return false;
        const auto error = std::holds_alternative<TBidMsg>(*answer)
                               ? game.Bid(South, std::get<TBidMsg>(*answer).Turn, std::get<TBidMsg>(*answer).Bid)
                               : game.Play(South, std::get<TPlayMsg>(*answer).Turn, std::get<TPlayMsg>(*answer).Card);
        if (error)
            return false;
    }
    return false;
}

TEST_P(BidUnderTheRules, IsTakenOnlyWhenTheRulesOpenIt)
{
    const TRuledBid& c = GetParam();
    std::unique_ptr<TWire> at;
    std::unique_ptr<THostGame> hosted;
    for (uint32_t seed = 1; seed <= 40 && !hosted; ++seed) {
        at = std::make_unique<TWire>(std::set<int>{3}, c.Rules);
        hosted = std::make_unique<THostGame>(*at, Options(seed, {3}, c.Rules));
        hosted->NewGame(1);
        if (!PlayUpToSouthsBid(*hosted, *at, c.Behind))
            hosted.reset();
    }
    ASSERT_TRUE(hosted) << "South's side never fell behind";
    THostGame& game = *hosted;
    TWire& wire = *at;
    const TPlayer& south = game.Game().Table.Player(South);
    const int bid = c.Bid(south);
    const size_t sent = wire.Public.size();
    const auto error = game.Bid(South, game.Waiting()->Turn, bid);
    EXPECT_EQ(!error, c.Taken) << (error ? error->Text : "taken");
    if (error) {
        EXPECT_EQ(error->Code, TErrorCode::BidOutOfRange);
        EXPECT_EQ(wire.Public.size(), sent);
        EXPECT_TRUE(game.Waiting().has_value());
        return;
    }
    ASSERT_GT(wire.Public.size(), sent);
    const auto* made = std::get_if<TBidMadeMsg>(&wire.Public[sent]);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->Seat, South);
    EXPECT_EQ(made->Bid, std::max(bid, 0)) << "Blind Nil is told as Nil";
    EXPECT_EQ(game.Game().Table.BlindNil[South], bid == BlindNilBid);
}

int SpadesHeld(const TPlayer& p) { return p.FSuitCount[Spades]; }

INSTANTIATE_TEST_SUITE_P(
    HostGame, BidUnderTheRules,
    ::testing::Values(
        TRuledBid{"BlindNilBehind", "variant=partnership blindnil=behind", true, [](auto&) { return BlindNilBid; }, true},
        TRuledBid{"BlindNilNotBehind", "variant=partnership blindnil=behind", false, [](auto&) { return BlindNilBid; },
                  false},
        TRuledBid{"BlindNilOff", "variant=partnership", true, [](auto&) { return BlindNilBid; }, false},
        TRuledBid{"BlindNilAlone", "blindnil=behind", true, [](auto&) { return BlindNilBid; }, true},
        TRuledBid{"MirrorSpades", "bidding=mirror", false, [](const TPlayer& p) { return SpadesHeld(p); }, true},
        TRuledBid{"MirrorOther", "bidding=mirror", false, [](const TPlayer& p) { return (SpadesHeld(p) + 1) % 14; }, false},
        TRuledBid{"WhizNil", "bidding=whiz", false, [](auto&) { return 0; }, true},
        TRuledBid{"WhizOther", "bidding=whiz", false,
                  [](const TPlayer& p) { return SpadesHeld(p) == 1 ? 2 : 1; }, false},
        TRuledBid{"NormalFourteen", "variant=partnership", false, [](auto&) { return 14; }, false}),
    [](const auto& info) { return std::string(info.param.Name); });

// A game waiting for South's first bid, with South and West played remotely.
struct TWaitingGame {
    explicit TWaitingGame(uint32_t seed) : wire({3, 4}), game(wire, Options(seed, {3, 4}))
    {
        game.NewGame(1);
        EXPECT_EQ(game.Step(), TStep::WaitRemote);
    }
    TWire wire;
    THostGame game;
};

struct TRefusal {
    const char* Name;
    std::function<std::optional<TErrorMsg>(THostGame&)> Send;
    TErrorCode Code;
};

class RefusedAtTheBid : public ::testing::TestWithParam<TRefusal> {};

TEST_P(RefusedAtTheBid, ChangesNothing)
{
    TWaitingGame t(5);
    const auto before = *t.game.Waiting();
    const auto hand = t.game.Game().Table.Player(South).FHand;
    const auto error = GetParam().Send(t.game);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->Code, GetParam().Code);
    EXPECT_FALSE(error->Text.empty());
    ASSERT_TRUE(t.game.Waiting().has_value());
    EXPECT_EQ(t.game.Waiting()->Turn, before.Turn);
    EXPECT_EQ(t.game.Game().Table.Player(South).FHand, hand);
    EXPECT_EQ(t.game.Step(), TStep::WaitRemote);
    EXPECT_FALSE(t.game.Bid(South, before.Turn, 3).has_value()) << "the right answer still counts";
}

INSTANTIATE_TEST_SUITE_P(
    HostGame, RefusedAtTheBid,
    ::testing::Values(
        TRefusal{"BidFourteen", [](THostGame& g) { return g.Bid(South, g.Waiting()->Turn, 14); },
                 TErrorCode::BidOutOfRange},
        TRefusal{"BidNegative", [](THostGame& g) { return g.Bid(South, g.Waiting()->Turn, -1); },
                 TErrorCode::BidOutOfRange},
        TRefusal{"BidOfAnotherSeat", [](THostGame& g) { return g.Bid(West, g.Waiting()->Turn, 3); },
                 TErrorCode::OutOfTurn},
        TRefusal{"BidWithAFutureTurn", [](THostGame& g) { return g.Bid(South, g.Waiting()->Turn + 1, 3); },
                 TErrorCode::OutOfTurn},
        TRefusal{"CardWhileBidding",
                 [](THostGame& g) {
                     return g.Play(South, g.Waiting()->Turn, g.Game().Table.Player(South).FHand[1]);
                 },
                 TErrorCode::OutOfTurn}),
    [](const auto& info) { return std::string(info.param.Name); });

// Plays on to the first card a remote seat must choose in a position where test
// has something to try; returns false when this deal offers none.
bool PlayUntil(TWaitingGame& t, const std::function<bool(const THostGame&)>& test)
{
    for (int guard = 0; guard < 2000; ++guard) {
        if (t.game.Step() != TStep::WaitRemote)
            return false;
        if (t.game.Waiting()->Kind == TTurnKind::Card && test(t.game))
            return true;
        const int seat = t.game.Waiting()->Seat;
        const auto answer = t.wire.Mirror(seat).Decide(ClassicBrain());
        if (const auto* bid = std::get_if<TBidMsg>(&*answer))
            t.game.Bid(bid->Seat, bid->Turn, bid->Bid);
        else if (const auto* play = std::get_if<TPlayMsg>(&*answer))
            t.game.Play(play->Seat, play->Turn, play->Card);
    }
    return false;
}

// A card the waiting seat holds that breaks the given rule, or 0.
int BreakingCard(const THostGame& g, TPlayVerdict rule)
{
    const int seat = g.Waiting()->Seat;
    const TPlayer& p = g.Game().Table.Player(seat);
    for (int slot = 1; slot <= 13; ++slot) {
        const int card = p.FHand[static_cast<size_t>(slot)];
        if (card != NoCard && CheckPlay(g.Game().Table, p, card) == rule)
            return card;
    }
    return 0;
}

struct TCardRefusal {
    const char* Name;
    std::function<int(const THostGame&)> Card;  // 0: not possible here
    TErrorCode Code;
};

class RefusedCard : public ::testing::TestWithParam<TCardRefusal> {};

TEST_P(RefusedCard, LeavesHandAndTableAsTheyWere)
{
    bool tried = false;
    for (uint32_t seed = 1; seed <= 40 && !tried; ++seed) {
        TWaitingGame t(seed);
        if (!PlayUntil(t, [&](const THostGame& g) { return GetParam().Card(g) != 0; }))
            continue;
        tried = true;
        const int seat = t.game.Waiting()->Seat;
        const auto hand = t.game.Game().Table.Player(seat).FHand;
        const int place = t.game.Game().Table.FirstEmptyPlace();
        const auto error = t.game.Play(seat, t.game.Waiting()->Turn, GetParam().Card(t.game));
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->Code, GetParam().Code);
        EXPECT_EQ(t.game.Game().Table.Player(seat).FHand, hand);
        EXPECT_EQ(t.game.Game().Table.FirstEmptyPlace(), place);
        ASSERT_TRUE(t.game.Waiting().has_value());
    }
    EXPECT_TRUE(tried) << "no deal in 40 offered the position";
}

INSTANTIATE_TEST_SUITE_P(
    HostGame, RefusedCard,
    ::testing::Values(
        TCardRefusal{"NotFollowingSuit", [](const THostGame& g) { return BreakingCard(g, TPlayVerdict::MustFollowSuit); },
                     TErrorCode::MustFollowSuit},
        TCardRefusal{"LeadingUnbrokenSpades",
                     [](const THostGame& g) { return BreakingCard(g, TPlayVerdict::SpadesNotOpened); },
                     TErrorCode::SpadesNotOpened},
        TCardRefusal{"AnotherSeatsCard",
                     [](const THostGame& g) {
                         const int other = g.Waiting()->Seat % 4 + 1;
                         for (int card : g.Game().Table.Player(other).FHand)
                             if (card >= 1 && card <= 52)
                                 return card;
                         return 0;
                     },
                     TErrorCode::CardNotHeld},
        TCardRefusal{"CardOnTheTable",
                     [](const THostGame& g) { return g.Game().Table.Place(1).HasCard() ? g.Game().Table.Place(1).FValue : 0; },
                     TErrorCode::CardNotHeld},
        TCardRefusal{"NoSuchCard", [](const THostGame&) { return 53; }, TErrorCode::CardNotHeld}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(HostGame, AnAnswerAfterTheComputerTookTheTurnIsTooLate)
{
    TWaitingGame t(8);
    const uint32_t turn = t.game.Waiting()->Turn;
    t.game.PlayAbsent();
    EXPECT_FALSE(t.game.Waiting().has_value());
    const auto* made = std::get_if<TBidMadeMsg>(&t.wire.Public.back());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->Seat, South);
    const auto error = t.game.Bid(South, turn, 2);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->Code, TErrorCode::TooLate);
}

TEST(HostGame, SyncGivesAReturningSeatWhatItsCopyHad)
{
    TWaitingGame t(21);
    ASSERT_TRUE(PlayUntil(t, [](const THostGame& g) {
        return g.Waiting()->Seat == West && g.Game().Table.Player(West).FCardCount == 9 &&
               g.Game().Table.Place(1).HasCard();
    }));
    TTableMirror fresh;
    std::string why;
    ASSERT_TRUE(fresh.Apply(TWelcome{West, 250}, why));
    ASSERT_TRUE(fresh.Apply(t.game.SyncFor(West), why)) << why;
    const TTableMirror& kept = t.wire.Mirror(West);
    EXPECT_EQ(fresh.Player(West).FHand, kept.Player(West).FHand);
    EXPECT_EQ(fresh.Player(West).FSuitCount, kept.Player(West).FSuitCount);
    EXPECT_EQ(fresh.Table().CardsPlayed, kept.Table().CardsPlayed);
    EXPECT_EQ(fresh.Table().SpadesBroken, kept.Table().SpadesBroken);
    EXPECT_EQ(fresh.Table().NilInPlay, kept.Table().NilInPlay);
    for (int seat = 1; seat <= 4; ++seat) {
        EXPECT_EQ(fresh.Player(seat).FBid, kept.Player(seat).FBid);
        EXPECT_EQ(fresh.Player(seat).FTricks, kept.Player(seat).FTricks);
        EXPECT_EQ(fresh.Player(seat).FCardCount, t.game.Game().Table.Player(seat).FCardCount) << "seat " << seat;
        EXPECT_EQ(kept.Player(seat).FCardCount, t.game.Game().Table.Player(seat).FCardCount) << "seat " << seat;
        EXPECT_EQ(fresh.Table().Place(seat).FValue, kept.Table().Place(seat).FValue);
    }
    const TSyncMsg sync = t.game.SyncFor(West);
    for (uint8_t card : sync.Slots) {
        if (card != NoSlotCard) {
            EXPECT_FALSE(sync.CardsPlayed[card]);
        }
    }
}

}  // namespace

namespace {

// The host holds joined seats to the rules the computer's own choices are not
// checked against; a seat playing the classic way must still never be refused.
TEST(HostGame, SeatsPlayingTheClassicWayAreNeverRefused)
{
    for (uint32_t seed = 1; seed <= 10; ++seed) {
        TWire wire({1, 2, 3, 4});
        THostGame game(wire, Options(seed, {1, 2, 3, 4}));
        for (int g = 1; g <= 10; ++g) {
            game.NewGame(g);
            PlayOut(game, wire);  // fails on any refusal
        }
        EXPECT_THAT(wire.Contradictions, ::testing::IsEmpty());
        ASSERT_FALSE(HasFailure()) << "seed " << seed;
    }
}

}  // namespace

// A seat played from afar may be a person: the Expert reads nothing into its choices.
TEST(HostGame, AnExpertSeesARemoteSeatAsAPerson)
{
    const std::set<int> remote{South};
    TWire wire(remote);
    THostGameOptions options = Options(5, remote);
    options.Kinds[East - 1] = TSeatKind::Expert;
    THostGame game(wire, options);
    game.NewGame(1);
    const TExpertView view = ViewOf(game.Game(), East);
    EXPECT_TRUE(IsPerson(view.Kind[static_cast<size_t>(South)]));
    EXPECT_EQ(view.Kind[static_cast<size_t>(North)], TSeatKind::Computer);
}
